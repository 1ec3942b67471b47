// Page bytes with a Content-Type header: the first line of the input is the header, the rest
// the body. Checks the title's white space rule and the version read from it.
#include "core/update/PageTitle.h"
#include "core/update/VersionRules.h"

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

namespace {

void require(bool condition, const char *what)
{
    if (!condition) {
        std::fprintf(stderr, "fuzz_title: %s\n", what);
        std::abort();
    }
}

bool isAsciiSpace(QChar c)
{
    return c == QLatin1Char(' ') || c == QLatin1Char('\t') || c == QLatin1Char('\n') || c == QLatin1Char('\r')
        || c == QLatin1Char('\f');
}

void checkTitle(const QString &title)
{
    require(title.isEmpty() || (!isAsciiSpace(title.front()) && !isAsciiSpace(title.back())),
            "blank at an end of the title");
    for (qsizetype i = 0; i < title.size(); ++i) {
        require(!isAsciiSpace(title[i]) || title[i] == QLatin1Char(' '), "blank other than a space in the title");
        require(i == 0 || title[i] != QLatin1Char(' ') || title[i - 1] != QLatin1Char(' '), "two spaces in a row");
    }

    namespace rules = mirvo::versionrules;
    const auto version = rules::bracketedVersion(title);
    const auto order = rules::announcedOrder(title, QStringLiteral("1.1"));
    require(version.has_value() == order.has_value(), "an order without a version, or the reverse");
    if (!version)
        return;
    const qsizetype open = title.indexOf(QLatin1Char('['));
    require(title.mid(open, version->size() + 2) == QLatin1Char('[') + *version + QLatin1Char(']'),
            "the version is not what the first brackets hold");
    require(!version->contains(QLatin1Char(']')), "a closing bracket inside the version");
    const double remote = rules::lenientNumber(*version);
    require(!std::isnan(remote), "a version read as NaN");
    require(*order == rules::compare(1.1, remote), "the order disagrees with the numbers");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const QByteArray input(reinterpret_cast<const char *>(data), qsizetype(size));
    const qsizetype end = input.indexOf('\n');
    const QByteArray contentType = end < 0 ? QByteArray() : input.left(end);
    const QByteArray body = end < 0 ? input : input.mid(end + 1);

    if (const auto title = mirvo::pagetitle::documentTitle(body, contentType))
        checkTitle(*title);
    if (const auto title = mirvo::pagetitle::documentTitle(input, QByteArray()))
        checkTitle(*title);
    return 0;
}
