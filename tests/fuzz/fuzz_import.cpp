// Any bytes as a word list, imported into a fresh store in a temporary folder. Checks that
// nothing appears outside the store and that every entry reads back as its word's meaning.
#include "core/store/WordListImport.h"
#include "core/store/WordStore.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QSet>
#include <QStringDecoder>
#include <QTemporaryDir>

#include <cstdint>
#include <cstdio>
#include <cstdlib>

namespace {

constexpr qsizetype maxLineBytes = 64 * 1024; // longer lines are skipped by the import

void require(bool condition, const char *what)
{
    if (!condition) {
        std::fprintf(stderr, "fuzz_import: %s\n", what);
        std::abort();
    }
}

/// Lines ended by CR LF, LF or CR; a last line without an end counts unless empty.
QList<QByteArray> splitLines(const QByteArray &bytes)
{
    QList<QByteArray> lines;
    qsizetype start = 0;
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        if (bytes[i] != '\r' && bytes[i] != '\n')
            continue;
        lines.append(bytes.mid(start, i - start));
        if (bytes[i] == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n')
            ++i;
        start = i + 1;
    }
    if (start < bytes.size())
        lines.append(bytes.mid(start));
    return lines;
}

bool isSafeName(const QString &word)
{
    return !word.isEmpty() && !word.startsWith(QLatin1Char('.')) && !word.contains(QLatin1Char('/'))
        && !word.contains(QLatin1Char('\\')) && !word.contains(QChar(0)) && word.toUtf8().size() <= 255;
}

/// GB18030 read one character at a time, with code page 936's single byte 0x80 as "€".
QString decodeCodePage936(QByteArrayView line)
{
    QString text;
    QByteArray pending;
    for (const char byte : line) {
        if (pending.isEmpty() && byte == '\x80') {
            text += QChar(0x20AC);
            continue;
        }
        pending += byte;
        QStringDecoder decoder("GB18030", QStringDecoder::Flag::Stateless);
        const QString character = decoder.decode(pending);
        if (!decoder.hasError() || pending.size() == 4) {
            text += character;
            pending.clear();
        }
    }
    return text;
}

/// Each word's meaning when the list is read in one encoding: the last line for a word wins.
QHash<QString, QString> meaningsIn(const QList<QByteArray> &lines, bool utf8)
{
    QHash<QString, QString> meanings;
    for (qsizetype i = 0; i < lines.size(); ++i) {
        QByteArray line = lines[i];
        if (line.size() > maxLineBytes)
            continue;
        if (i == 0 && line.startsWith("\xEF\xBB\xBF"))
            line.remove(0, 3);
        QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
        const QString text = utf8 ? decoder.decode(line) : decodeCodePage936(line);
        const qsizetype space = text.indexOf(QLatin1Char(' '));
        if (space > 0 && isSafeName(text.left(space)))
            meanings.insert(text.left(space), text.mid(space + 1));
    }
    return meanings;
}

/// The list's bytes as the import reads them: UTF-16 after its byte order mark, as UTF-8.
QByteArray asRead(const QByteArray &list)
{
    if (list.startsWith("\xFF\xFE"))
        return QString(QStringDecoder(QStringDecoder::Utf16LE).decode(list)).toUtf8();
    if (list.startsWith("\xFE\xFF"))
        return QString(QStringDecoder(QStringDecoder::Utf16BE).decode(list)).toUtf8();
    return list;
}

/// Where the sandboxes go: tmpfs where there is one, as the import syncs every entry and a
/// disk would make each execution wait for it.
QString sandboxTemplate()
{
    const QString shm = QStringLiteral("/dev/shm");
    const QFileInfo info(shm);
    const QString base = info.isDir() && info.isWritable() ? shm : QDir::tempPath();
    return base + QStringLiteral("/fuzz_import-XXXXXX");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const QByteArray list(reinterpret_cast<const char *>(data), qsizetype(size));
    static const QString sandboxes = sandboxTemplate();
    QTemporaryDir sandbox(sandboxes);
    require(sandbox.isValid(), "no temporary folder");
    // The store sits two folders down, so names that climb out of it land in the sandbox.
    const QString storeParent = sandbox.filePath(QStringLiteral("a/b"));
    require(QDir().mkpath(storeParent), "cannot make the store's parent");
    mirvo::WordStore store(storeParent + QStringLiteral("/words"));
    require(store.create(nullptr), "cannot create the store");
    const QString listPath = sandbox.filePath(QStringLiteral("list.txt"));
    {
        QFile file(listPath);
        require(file.open(QIODevice::WriteOnly) && file.write(list) == list.size(), "cannot write the list");
    }

    const mirvo::ImportReport report = mirvo::importWordList(listPath, store);

    // Only the list, the store's folders and plain entries directly in the store.
    const QSet<QString> allowed = {QStringLiteral("list.txt"), QStringLiteral("a"), QStringLiteral("a/b"),
                                   QStringLiteral("a/b/words")};
    QHash<QString, QString> stored;
    QDirIterator it(sandbox.path(), QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString relative = QDir(sandbox.path()).relativeFilePath(it.next());
        if (allowed.contains(relative))
            continue;
        require(relative.startsWith(QLatin1String("a/b/words/")), "a file outside the store");
        const QString word = relative.mid(10);
        require(!word.contains(QLatin1Char('/')), "a folder inside the store");
        require(!word.startsWith(QLatin1Char('.')), "a hidden or temporary file left in the store");
        require(it.fileInfo().isFile() && !it.fileInfo().isSymLink(), "an entry that is no plain file");
        QString error;
        const auto meaning = store.readMeaning(word, &error);
        require(meaning.has_value(), "an entry that cannot be read back");
        stored.insert(word, *meaning);
    }
    QFile listFile(listPath);
    require(listFile.open(QIODevice::ReadOnly) && listFile.readAll() == list, "the list was changed");

    if (!report.ok) {
        // A fresh store takes every write: only a refusal can fail, and it writes nothing.
        require(report.written == 0 && stored.isEmpty(), "a failed import left entries");
        return 0;
    }
    require(report.written >= stored.size(), "more entries than writes");
    // The import reads the whole list in one encoding; each entry holds its word's last meaning.
    const QList<QByteArray> lines = splitLines(asRead(list));
    require(meaningsIn(lines, true) == stored || meaningsIn(lines, false) == stored,
            "entries differ from what the list gives");
    return 0;
}
