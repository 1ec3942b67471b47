#include "core/store/WordListImport.h"

#include "core/store/LineReader.h"
#include "core/store/WordStore.h"
#include "core/text/SystemError.h"
#include "core/text/TextCodec.h"
#include "core/text/Utf16ToUtf8Device.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <memory>

namespace mirvo {

namespace {

constexpr qsizetype maxLineBytes = 64 * 1024;
constexpr qsizetype reportedSkips = 20;

/// Reads the whole list once to learn its encoding and its count of lines, without keeping it
/// in memory. Line ends never occur inside a UTF-8 or GB18030 character, so lines are checked
/// alone.
std::optional<textcodec::Encoding> detectListEncoding(QIODevice &list, qint64 *lineCount, QString *error)
{
    LineReader reader(list, maxLineBytes);
    textcodec::EncodingSniffer sniffer;
    QByteArray line;
    bool tooLong = false;
    bool first = true;
    bool bom = false;
    while (reader.next(&line, &tooLong)) {
        if (line.contains('\0')) {
            *error = QStringLiteral("文件中含有空字符，不是文本格式的词库。");
            return std::nullopt;
        }
        if (first && line.startsWith("\xEF\xBB\xBF")) {
            bom = true;
            line.remove(0, 3);
        }
        first = false;
        ++*lineCount;
        sniffer.feed(line);
    }
    if (reader.readFailed()) {
        *error = list.errorString();
        return std::nullopt;
    }
    auto encoding = sniffer.result();
    if (bom && sniffer.utf8Valid())
        encoding = textcodec::Encoding::Utf8;
    if (!encoding)
        *error = QStringLiteral("文件既不是 UTF-8 也不是 GBK/GB18030 编码的文本。");
    return encoding;
}

void skip(ImportReport &report, qint64 lineNumber, SkipReason reason, const QString &detail = {})
{
    ++report.skippedCount;
    if (report.firstSkipped.size() < reportedSkips)
        report.firstSkipped.append({lineNumber, reason, detail});
}

ImportReport refuse(const QString &path, const QString &why)
{
    ImportReport report;
    report.ok = false;
    report.error = QStringLiteral("无法导入“%1”：%2").arg(QDir::toNativeSeparators(path), why);
    return report;
}

/// Read step: opens an ordinary file and learns its encoding and its count of lines, leaving
/// it at its start. A UTF-16 list, as Windows' Notepad and Excel save "Unicode" text, is read
/// as UTF-8 through *utf16, made here.
std::optional<textcodec::Encoding> openList(QFile &file, std::unique_ptr<QIODevice> *utf16, qint64 *lineCount,
                                            QString *why)
{
    const QFileInfo info(file.fileName());
    if (info.isDir()) {
        *why = QStringLiteral("这是一个文件夹。");
        return std::nullopt;
    }
    // A pipe may never open and a device never end: only ordinary files are read.
    if (info.exists() && !info.isFile()) {
        *why = QStringLiteral("这不是普通文件。");
        return std::nullopt;
    }
    if (!file.open(QIODevice::ReadOnly)) {
        *why = fileErrorText(file, lastSystemError());
        return std::nullopt;
    }
    const auto utf16Encoding = Utf16ToUtf8Device::utf16Encoding(file.peek(2));
    if (utf16Encoding)
        *utf16 = std::make_unique<Utf16ToUtf8Device>(file, *utf16Encoding);
    const auto encoding = detectListEncoding(*utf16 ? **utf16 : file, lineCount, why);
    if (encoding && !file.seek(0)) {
        *why = file.errorString();
        return std::nullopt;
    }
    if (encoding && utf16Encoding) {
        *utf16 = std::make_unique<Utf16ToUtf8Device>(file, *utf16Encoding);
        return textcodec::Encoding::Utf8;
    }
    return encoding;
}

/// What one line of the list gives: an entry, or the reason it is skipped.
struct ClassifiedLine
{
    std::optional<ListLine> entry;
    SkipReason reason = SkipReason::EmptyLine;
    QString detail;
};

/// Classify step: decodes one line and decides whether it gives an entry.
ClassifiedLine classifyLine(QByteArray bytes, bool tooLong, bool firstLine,
                            textcodec::Encoding encoding)
{
    if (tooLong)
        return {std::nullopt, SkipReason::TooLong, {}};
    // The encoding was learnt without the BOM: whatever follows it is read in that one.
    if (firstLine && bytes.startsWith("\xEF\xBB\xBF"))
        bytes.remove(0, 3);
    const QString line = textcodec::decodeAs(encoding, bytes);
    if (line.isEmpty())
        return {std::nullopt, SkipReason::EmptyLine, {}};
    auto split = splitListLine(line);
    if (!split)
        return {std::nullopt, SkipReason::NoSpace, {}};
    if (split->word.isEmpty())
        return {std::nullopt, SkipReason::EmptyWord, {}};
    QString unsafe;
    if (!WordStore::isSafeWord(split->word, &unsafe))
        return {std::nullopt, SkipReason::UnsafeWord, unsafe};
    return {std::move(split), SkipReason::EmptyLine, {}};
}

/// How the list to import is read.
struct ListSource
{
    QIODevice &device;
    const QString &path;
    textcodec::Encoding encoding;
    qint64 lineCount;
};

/// Write step: writes each line's entry before reading the next; a write error or a cancel
/// stops.
ImportReport writeEntries(const ListSource &list, WordStore &store, const ImportProgress &progress)
{
    ImportReport report;
    WordStore::Writer writer(store);
    LineReader reader(list.device, maxLineBytes);
    QByteArray bytes;
    bool tooLong = false;
    qint64 lineNumber = 0;
    while (reader.next(&bytes, &tooLong)) {
        if (progress && !progress(lineNumber, list.lineCount)) {
            report.ok = false;
            report.error = QStringLiteral("已取消导入“%1”：前 %2 行（共 %3 行）已导入，写入了 %4 个单词；其余的行没有导入。")
                               .arg(QDir::toNativeSeparators(list.path))
                               .arg(lineNumber)
                               .arg(list.lineCount)
                               .arg(report.written);
            return report;
        }
        ++lineNumber;
        const ClassifiedLine line = classifyLine(bytes, tooLong, lineNumber == 1, list.encoding);
        if (!line.entry) {
            skip(report, lineNumber, line.reason, line.detail);
            continue;
        }
        QString writeError;
        if (!writer.write(line.entry->word, line.entry->meaning, &writeError)) {
            report.ok = false;
            report.error = writeError;
            return report;
        }
        ++report.written;
    }
    if (report.written > 0 && !writer.wroteIntoStore(&report.error)) {
        report.ok = false;
        return report;
    }
    if (reader.readFailed()) {
        report.ok = false;
        report.error = QStringLiteral("读取“%1”时出错：%2")
                           .arg(QDir::toNativeSeparators(list.path), list.device.errorString());
    }
    return report;
}

} // namespace

std::optional<ListLine> splitListLine(const QString &line)
{
    const qsizetype space = line.indexOf(QLatin1Char(' '));
    if (space < 0)
        return std::nullopt;
    return ListLine{line.left(space), line.mid(space + 1)};
}

ImportReport importWordList(const QString &listPath, WordStore &store, const ImportProgress &progress)
{
    QFile file(listPath);
    std::unique_ptr<QIODevice> utf16;
    qint64 lineCount = 0;
    QString why;
    const auto encoding = openList(file, &utf16, &lineCount, &why);
    if (!encoding)
        return refuse(listPath, why);

    ImportReport report =
        writeEntries({utf16 ? *utf16 : file, listPath, *encoding, lineCount}, store, progress);
    if (report.written > 0)
        store.syncFolder();
    return report;
}

QString describe(const SkippedLine &line)
{
    switch (line.reason) {
    case SkipReason::EmptyLine: return QStringLiteral("空行");
    case SkipReason::NoSpace: return QStringLiteral("没有空格分隔单词与释义");
    case SkipReason::EmptyWord: return QStringLiteral("行首是空格，单词为空");
    case SkipReason::UnsafeWord: return line.detail;
    case SkipReason::TooLong: return QStringLiteral("这一行太长");
    }
    return {};
}

} // namespace mirvo
