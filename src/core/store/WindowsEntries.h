#pragma once

// What the Windows listing and its change notices share: wide paths, names as UTF-8 bytes, and
// which directory entries are words.

#include <QDir>
#include <QFileInfo>
#include <QString>

#include <string>
#include <string_view>

#include <qt_windows.h>

namespace mirvo {

/// The path as Windows' wide calls take it, with the long-path prefix: a 255-character word in
/// a store folder goes past MAX_PATH.
inline std::wstring widePath(const QString &path)
{
    const QString native = QDir::toNativeSeparators(QDir::cleanPath(QFileInfo(path).absoluteFilePath()));
    if (native.startsWith(QLatin1String("\\\\")))
        return (QStringLiteral("\\\\?\\UNC\\") + native.mid(2)).toStdWString();
    return (QStringLiteral("\\\\?\\") + native).toStdWString();
}

/// Room for any name's UTF-8 bytes: a name is at most 255 UTF-16 units of at most 3 bytes each.
using NameBytes = char[3 * MAX_PATH];

/// A name's UTF-8 bytes, as readWordFiles() gives names on Windows, in buffer.
inline std::string_view utf8Name(const wchar_t *name, size_t units, NameBytes &buffer)
{
    const int bytes = WideCharToMultiByte(CP_UTF8, 0, name, int(units), buffer, int(sizeof buffer), nullptr, nullptr);
    return {buffer, size_t(bytes > 0 ? bytes : 0)};
}

enum class EntryKind { Word, NotWord, Link };

/// What a directory entry is to the word list: an ordinary file not marked hidden or system is
/// a word; a link (a symbolic link or junction, not a placeholder of a cloud drive, which is
/// a file) is what its target is.
inline EntryKind entryKind(const WIN32_FIND_DATAW &entry)
{
    if (entry.dwFileAttributes & (FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM))
        return EntryKind::NotWord;
    if ((entry.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) && IsReparseTagNameSurrogate(entry.dwReserved0))
        return EntryKind::Link;
    return entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY ? EntryKind::NotWord : EntryKind::Word;
}

} // namespace mirvo
