#include "core/update/VersionRules.h"

namespace mirvo::versionrules {

namespace {

bool isAsciiDigit(QChar c)
{
    return c >= QLatin1Char('0') && c <= QLatin1Char('9');
}

/// Length of the longest prefix of text that is a sign, digits and at most one ".";
/// sawDigit tells whether any digit was part of it.
qsizetype scanDecimal(QStringView text, bool *sawDigit)
{
    qsizetype i = 0;
    if (i < text.size() && (text[i] == QLatin1Char('+') || text[i] == QLatin1Char('-')))
        ++i;
    bool point = false;
    *sawDigit = false;
    for (; i < text.size(); ++i) {
        if (isAsciiDigit(text[i]))
            *sawDigit = true;
        else if (text[i] == QLatin1Char('.') && !point)
            point = true;
        else
            break;
    }
    return i;
}

double toDouble(QStringView decimal)
{
    // Always the C locale; an overflow of hundreds of digits comes back as infinity.
    return decimal.toDouble();
}

} // namespace

std::optional<QString> bracketedVersion(const QString &title)
{
    const qsizetype open = title.indexOf(QLatin1Char('['));
    const qsizetype close = title.indexOf(QLatin1Char(']'));
    if (open < 0 || open >= close)
        return std::nullopt;
    return title.mid(open + 1, close - open - 1);
}

double lenientNumber(const QString &text)
{
    QString packed;
    packed.reserve(text.size());
    for (const QChar c : text) {
        if (c != QLatin1Char(' ') && c != QLatin1Char('\t') && c != QLatin1Char('\n'))
            packed.append(c);
    }
    bool sawDigit = false;
    const qsizetype length = scanDecimal(packed, &sawDigit);
    return sawDigit ? toDouble(QStringView(packed).left(length)) : 0.0;
}

std::optional<double> strictNumber(const QString &text)
{
    const QString trimmed = text.trimmed();
    bool sawDigit = false;
    const qsizetype length = scanDecimal(trimmed, &sawDigit);
    if (!sawDigit || length != trimmed.size())
        return std::nullopt;
    return toDouble(trimmed);
}

Order compare(double local, double remote)
{
    if (local < remote)
        return Order::RemoteNewer;
    if (local == remote)
        return Order::Same;
    return Order::LocalNewer;
}

std::optional<Order> announcedOrder(const QString &title, const QString &localVersion)
{
    const auto remote = bracketedVersion(title);
    if (!remote)
        return std::nullopt;
    return compare(lenientNumber(localVersion), lenientNumber(*remote));
}

} // namespace mirvo::versionrules
