#pragma once

#include <QString>

namespace mirvo::appinfo {

inline const QString title = QStringLiteral("Mirvo背单词");

constexpr int versionMajor = MIRVO_VERSION_MAJOR;
constexpr int versionMinor = MIRVO_VERSION_MINOR;
constexpr int versionRevision = MIRVO_VERSION_REVISION;

/// The file name of the default word list beside the program.
inline const QString defaultListName = QStringLiteral("words.txt");

} // namespace mirvo::appinfo
