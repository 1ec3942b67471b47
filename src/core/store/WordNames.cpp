#include "core/store/WordNames.h"

#include <algorithm>
#include <vector>

namespace mirvo::wordnames {

namespace {

int compareListed(const QString &aLower, const QString &a, const QString &bLower, const QString &b)
{
    if (const int byLower = aLower.compare(bLower))
        return byLower;
    return a.compare(b);
}

} // namespace

bool listedBefore(const QString &a, const QString &b)
{
    // toLower() shares the name itself when nothing changes, so plain words cost no copy.
    return compareListed(a.toLower(), a, b.toLower(), b) < 0;
}

void sortListed(QStringList &names)
{
    struct Keyed
    {
        QString lower;
        QString name;
    };
    std::vector<Keyed> keyed;
    keyed.reserve(names.size());
    for (QString &name : names) {
        QString lower = name.toLower();
        keyed.push_back({std::move(lower), std::move(name)});
    }
    std::sort(keyed.begin(), keyed.end(), [](const Keyed &a, const Keyed &b) {
        return compareListed(a.lower, a.name, b.lower, b.name) < 0;
    });
    for (qsizetype i = 0; i < names.size(); ++i)
        names[i] = std::move(keyed[i].name);
}

} // namespace mirvo::wordnames
