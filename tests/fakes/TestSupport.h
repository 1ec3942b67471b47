#pragma once

#include "core/store/WordList.h"
#include "core/store/WordStore.h"
#include "core/text/AnsiCodePage.h"

#include <QByteArray>
#include <QFile>
#include <QMap>
#include <QMetaType>
#include <QString>
#include <QtGlobal>

#include <optional>

namespace mirvo::test {

/// The project's source folder (set by CTest), for data files under test.
inline QString sourceDir()
{
    return qEnvironmentVariable("MIRVO_SOURCE_DIR", QStringLiteral(MIRVO_TEST_SOURCE_DIR));
}

inline bool writeBytes(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(bytes) == bytes.size();
}

inline QByteArray readBytes(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

/// The words a folder holds, as the store's list reads them; none when it cannot be read.
inline QStringList listedWords(const QString &folder)
{
    WordList words(folder);
    return words.reread() ? words.names() : QStringList();
}

/// Whether a leading dot hides a file (Linux) rather than its hidden mark (Windows).
#ifdef Q_OS_WIN
inline constexpr bool dotNamesHidden = false;
#else
inline constexpr bool dotNamesHidden = true;
#endif

/// Sets a file's hidden and system marks as Explorer does; false where files have none.
bool setFileMarks(const QString &path, bool hidden, bool system);

/// Writes a file the system hides: its name starts with a dot, and on Windows it is marked.
inline bool writeHiddenFile(const QString &path, const QByteArray &bytes)
{
    return writeBytes(path, bytes) && (dotNamesHidden || setFileMarks(path, true, false));
}

using Entries = QMap<QString, QString>;

/// Every listed word with what its entry reads back as, or why it cannot be read.
inline Entries storedEntries(const WordStore &store)
{
    Entries entries;
    for (const QString &word : listedWords(store.folder())) {
        QString error;
        entries.insert(word, store.readMeaning(word, &error).value_or(QStringLiteral("<unreadable: %1>").arg(error)));
    }
    return entries;
}

/// What a row expects of text on each system the tests run on: with no ANSI code page (Linux,
/// UTF-8), and under Windows' code pages 936 and 1252.
template <typename T>
struct ByCodePage
{
    T withoutAnsi;
    T cp936;
    T cp1252;

    /// This system's; nothing under another code page.
    std::optional<T> here() const
    {
        switch (ansi::codePage()) {
        case 0: return withoutAnsi;
        case 936: return cp936;
        case 1252: return cp1252;
        }
        return std::nullopt;
    }
};

} // namespace mirvo::test

Q_DECLARE_METATYPE(mirvo::test::ByCodePage<QByteArray>)
Q_DECLARE_METATYPE(mirvo::test::ByCodePage<bool>)
