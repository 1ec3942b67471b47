#pragma once

#include <QString>

#include <string_view>

/// Which files of the store are words, and the order the word list shows them in.
namespace mirvo::wordnames {

/// Whether a file of this name is a word: every name but hidden (dot) names, "." and ".."
/// among them. The folder's reading, its change notices and the import all ask this.
inline bool isWord(std::string_view fileName)
{
    return !fileName.empty() && fileName.front() != '.';
}

inline bool isWord(QStringView name)
{
    return !name.isEmpty() && name.front() != QLatin1Char('.');
}

/// The listing order: names compared lower-cased, as QDir::Name | QDir::IgnoreCase sorts
/// them, and names equal that way in binary order, so the order is total.
bool listedBefore(const QString &a, const QString &b);

} // namespace mirvo::wordnames
