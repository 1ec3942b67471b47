#pragma once

#include <QString>

#include <string_view>

/// Which files of the store are words, and the order the word list shows them in.
namespace mirvo::wordnames {

/// Whether a leading dot hides a file: on Linux, not on Windows, where a file's hidden and
/// system marks hide it (the reading and the notices look at those).
extern const bool leadingDotHides;

/// Whether a file of this name can be a word: every name but "." and "..", and where a leading
/// dot hides a file, no dot name. The folder's reading, its change notices and the import all
/// ask this.
inline bool isWord(std::string_view fileName)
{
    if (fileName.empty() || fileName == "." || fileName == "..")
        return false;
    return !leadingDotHides || fileName.front() != '.';
}

inline bool isWord(QStringView name)
{
    if (name.isEmpty() || name == u"." || name == u"..")
        return false;
    return !leadingDotHides || name.front() != QLatin1Char('.');
}

/// The listing order: names compared lower-cased, as QDir::Name | QDir::IgnoreCase sorts
/// them, and names equal that way in binary order, so the order is total.
bool listedBefore(const QString &a, const QString &b);

} // namespace mirvo::wordnames
