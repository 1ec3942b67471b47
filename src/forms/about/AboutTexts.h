#pragma once

#include <QString>

namespace mirvo::about {

/// The description as designed; its bars become line breaks when the window loads.
inline const QString designedDescription = QStringLiteral("简易的背单词程序||内置大学英语四级词汇3600个");

/// "关于 " and the title.
QString captionText(const QString &title);

/// "版本 " and major.minor.revision in plain decimal digits.
QString versionText(int major, int minor, int revision);

/// Every "|" becomes a line break; nothing else changes.
QString descriptionText(const QString &designed);

} // namespace mirvo::about
