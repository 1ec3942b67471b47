// The lenient and strict number rules on any text (the input read as UTF-8).
#include "core/update/VersionRules.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

namespace {

void require(bool condition, const char *what)
{
    if (!condition) {
        std::fprintf(stderr, "fuzz_number: %s\n", what);
        std::abort();
    }
}

bool sameNumber(double a, double b)
{
    return a == b || (std::isnan(a) && std::isnan(b));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    namespace rules = mirvo::versionrules;
    const QString text = QString::fromUtf8(reinterpret_cast<const char *>(data), qsizetype(size));

    const double lenient = rules::lenientNumber(text);
    require(!std::isnan(lenient), "lenient number is NaN");

    // Spaces, tabs and line feeds do not count wherever they stand.
    const qsizetype middle = text.size() / 2;
    for (const QChar blank : {QLatin1Char(' '), QLatin1Char('\t'), QLatin1Char('\n')}) {
        const QString spaced = text.left(middle) + blank + text.mid(middle) + blank;
        require(sameNumber(rules::lenientNumber(spaced), lenient), "a blank changed the lenient number");
    }

    const auto strict = rules::strictNumber(text);
    if (strict) {
        require(!std::isnan(*strict), "strict number is NaN");
        // Where the only blanks are those the lenient rule drops, both rules read the same.
        const bool plainBlanks = std::none_of(text.cbegin(), text.cend(), [](QChar c) {
            return c.isSpace() && c != QLatin1Char(' ') && c != QLatin1Char('\t') && c != QLatin1Char('\n');
        });
        if (plainBlanks)
            require(sameNumber(*strict, lenient), "strict and lenient numbers differ");
    }

    if (!text.contains(QLatin1Char('[')) && !text.contains(QLatin1Char(']'))) {
        const QString title = QStringLiteral("Mirvo [") + text + QStringLiteral("] new");
        require(rules::bracketedVersion(title) == text, "the bracketed version is not the text");
        require(rules::announcedOrder(title, QStringLiteral("1.1")) == rules::compare(1.1, lenient),
                "the announced order disagrees with the lenient number");
    }
    return 0;
}
