#pragma once

// The store's pieces that each platform does its own way, defined in WordStoreUnix.cpp or
// WordStoreWindows.cpp, and the helpers they share with WordStore.cpp.

#include "core/store/WordStore.h"
#include "core/text/TextCodec.h"

#include <QCoreApplication>
#include <QDir>
#include <QString>

#include <atomic>
#include <cstdio>
#include <string>

namespace mirvo {

/// Whether "\" separates folders in the names a listing can show.
extern const bool separatorInNames;

/// A word's name in the system's encoding, as the folder's reading gives the bytes of a name
/// the store wrote (see FolderReading.h): how the list knows the entries the store writes.
std::string nameBytes(const QString &word);

/// Why the file system cannot take the word as a file name (beyond "/", "\", NUL and dot
/// names, which every platform refuses); empty when it can.
QString platformNameProblem(const QString &word);

/// Why an entry at path could not be deleted or replaced, from the system's error code: on
/// Windows a file marked read-only refuses both.
QString entryChangeProblem(const QString &path, int code);

inline bool fail(QString *error, const QString &message)
{
    if (error)
        *error = message;
    return false;
}

inline QString native(const QString &path)
{
    return QDir::toNativeSeparators(path);
}

/// What a word's entry holds, or false with the message when the word cannot name one: the
/// meaning as the user's text editor shows it and keeps it when saving an edit, and CR LF.
inline bool entryContent(const QString &word, const QString &meaning, QByteArray *content, QString *error)
{
    QString reason;
    if (!WordStore::isSafeWord(word, &reason))
        return fail(error, QStringLiteral("单词“%1”不能写入词库：%2。").arg(word, reason));
    *content = textcodec::encodeReadable(meaning) + "\r\n";
    return true;
}

/// The message for an entry that could not be written.
inline bool writeFailed(QString *error, const QString &word, const QString &why)
{
    return fail(error, QStringLiteral("无法写入单词“%1”：%2").arg(word, why));
}

using TemporaryName = char[64];

/// A new temporary's name: a dot name, which hides it on Linux (Windows makes it with the
/// hidden mark), so a temporary left by a crash is not listed as a word (QSaveFile's
/// temporary is named after its target, visible, so it is not used).
inline void nameTemporary(TemporaryName &name)
{
    static std::atomic<unsigned> counter{0};
    static const qint64 pid = QCoreApplication::applicationPid(); // a system call each time asked
    std::snprintf(name, sizeof name, ".mirvo-%lld-%u.tmp", static_cast<long long>(pid), counter.fetch_add(1));
}

} // namespace mirvo
