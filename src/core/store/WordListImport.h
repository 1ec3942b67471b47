#pragma once

#include <QList>
#include <QString>

#include <functional>

namespace mirvo {

class WordStore;

enum class SkipReason { EmptyLine, NoSpace, EmptyWord, UnsafeWord, TooLong };

struct SkippedLine
{
    qint64 lineNumber = 0; // counting from 1
    SkipReason reason = SkipReason::EmptyLine;
    QString detail; // why an unsafe word is unsafe
};

/// What an import did; a result to look at, never to drop.
struct [[nodiscard]] ImportReport
{
    bool ok = true;
    QString error; // why the import was refused or stopped, when !ok
    int written = 0;
    qint64 skippedCount = 0;
    QList<SkippedLine> firstSkipped; // the first few skipped lines, in file order
};

/// One line of a word list split at its first space: the word before it, the meaning
/// (unaltered) after it.
struct ListLine
{
    QString word;
    QString meaning;
};

/// How far an import has come: the lines done of the list's lines, told before each line.
/// Returning false cancels the import there, as a failing line would stop it.
using ImportProgress = std::function<bool(qint64 linesDone, qint64 lineCount)>;

/// Splits a line; nothing when it has no space.
std::optional<ListLine> splitListLine(const QString &line);

/// Imports a word list (UTF-8, GB18030, the system's ANSI code page, or UTF-16 after its byte
/// order mark; lines ending in CR LF, LF or CR) into the store,
/// writing each entry before reading the next line. Lines that cannot give an entry are
/// skipped and reported. A file that is no text, or no ordinary file (a pipe, a device), is
/// refused before anything is written; a write error stops the import, keeping the entries
/// written before it, and so does a cancel through progress. The store's list shows the words
/// written, in one batch at the end.
ImportReport importWordList(const QString &listPath, WordStore &store, const ImportProgress &progress = {});

/// The user's words for a skip reason.
QString describe(const SkippedLine &line);

} // namespace mirvo
