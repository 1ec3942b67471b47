#include "core/store/WordNames.h"

namespace mirvo::wordnames {

bool listedBefore(const QString &a, const QString &b)
{
    // toLower() shares the name itself when nothing changes, so plain words cost no copy.
    const QString aLower = a.toLower();
    const QString bLower = b.toLower();
    if (const int byLower = aLower.compare(bLower))
        return byLower < 0;
    return a.compare(b) < 0;
}

} // namespace mirvo::wordnames
