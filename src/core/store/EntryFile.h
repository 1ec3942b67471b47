#pragma once

#include "core/store/EntryName.h"

#include <QString>
#include <QtGlobal>

namespace mirvo {

/// An entry open for reading, closed when it goes. Each platform opens it without waiting on
/// what is not an ordinary file, which it refuses: a pipe put in an entry's place would hold
/// the window until someone wrote to it, a device might never end.
class EntryReader
{
public:
    EntryReader() = default;
    EntryReader(const EntryReader &) = delete;
    EntryReader &operator=(const EntryReader &) = delete;
    ~EntryReader();

    /// False, with problem(), when it cannot be opened or is no ordinary file.
    bool open(const QString &folder, const EntryName &name);
    /// Its size as the system told it when it was opened.
    qint64 size() const { return m_size; }
    /// Up to size bytes into buffer: how many, 0 at its end, -1 on an error (problem() says which).
    qint64 read(char *buffer, qint64 size);
    /// Why it could not be opened or read, in the user's words.
    QString problem() const { return m_problem; }

private:
    qintptr m_handle = -1;
    qint64 m_size = 0;
    QString m_problem;
};

/// Deletes an entry's file (a link itself, never its target): 0, or the system's error code.
int removeEntryFile(const QString &folder, const EntryName &name);

/// Whether an error code of removeEntryFile() says there was no such file.
bool meansNoSuchFile(int code);

inline const QString entryIsFolder = QStringLiteral("它是一个文件夹。");
inline const QString entryIsNoFile = QStringLiteral("它不是普通文件。");

} // namespace mirvo
