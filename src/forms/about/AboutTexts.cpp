#include "forms/about/AboutTexts.h"

namespace mirvo::about {

QString captionText(const QString &title)
{
    return QStringLiteral("关于 ") + title;
}

QString versionText(int major, int minor, int revision)
{
    return QStringLiteral("版本 %1.%2.%3").arg(major).arg(minor).arg(revision);
}

QString descriptionText(const QString &designed)
{
    // A bare LF: Qt's labels break on it, while a CR would show as a stray glyph.
    QString text = designed;
    return text.replace(QLatin1Char('|'), QLatin1Char('\n'));
}

} // namespace mirvo::about
