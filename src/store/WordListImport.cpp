#include "store/WordListImport.h"

#include "platform/SystemError.h"
#include "platform/TextCodec.h"
#include "store/LineReader.h"
#include "store/WordStore.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cerrno>

namespace mirvo {

namespace {

constexpr qsizetype maxLineBytes = 64 * 1024;
constexpr qsizetype reportedSkips = 20;

QString native(const QString &path)
{
    return QDir::toNativeSeparators(path);
}

/// Reads the whole file once to learn its encoding, without keeping it in memory.
/// Line ends never occur inside a UTF-8 or GB18030 character, so lines are checked alone.
std::optional<textcodec::Encoding> detectListEncoding(QFile &file, QString *error)
{
    LineReader reader(file, maxLineBytes);
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
        sniffer.feed(line);
    }
    if (reader.readFailed()) {
        *error = file.errorString();
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
    report.error = QStringLiteral("无法导入“%1”：%2").arg(native(path), why);
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

ImportReport importWordList(const QString &listPath, const WordStore &store)
{
    const QFileInfo info(listPath);
    if (info.isDir())
        return refuse(listPath, QStringLiteral("这是一个文件夹。"));
    // A pipe may never open and a device never end: only ordinary files are read.
    if (info.exists() && !info.isFile())
        return refuse(listPath, QStringLiteral("这不是普通文件。"));
    QFile file(listPath);
    if (!file.open(QIODevice::ReadOnly)) {
        const QString why = fileErrorText(file, errno);
        return refuse(listPath, why);
    }

    QString why;
    const auto encoding = detectListEncoding(file, &why);
    if (!encoding)
        return refuse(listPath, why);
    if (!file.seek(0))
        return refuse(listPath, file.errorString());

    ImportReport report;
    LineReader reader(file, maxLineBytes);
    QByteArray bytes;
    bool tooLong = false;
    qint64 lineNumber = 0;
    while (reader.next(&bytes, &tooLong)) {
        ++lineNumber;
        if (tooLong) {
            skip(report, lineNumber, SkipReason::TooLong);
            continue;
        }
        // The encoding was learnt without the BOM: whatever follows it is read in that one.
        if (lineNumber == 1 && bytes.startsWith("\xEF\xBB\xBF"))
            bytes.remove(0, 3);
        const QString line = textcodec::decodeAs(*encoding, bytes);
        if (line.isEmpty()) {
            skip(report, lineNumber, SkipReason::EmptyLine);
            continue;
        }
        const auto split = splitListLine(line);
        if (!split) {
            skip(report, lineNumber, SkipReason::NoSpace);
            continue;
        }
        if (split->word.isEmpty()) {
            skip(report, lineNumber, SkipReason::EmptyWord);
            continue;
        }
        QString unsafe;
        if (!WordStore::isSafeWord(split->word, &unsafe)) {
            skip(report, lineNumber, SkipReason::UnsafeWord, unsafe);
            continue;
        }
        QString writeError;
        if (!store.writeEntry(split->word, split->meaning, &writeError)) {
            report.ok = false;
            report.error = writeError;
            break;
        }
        ++report.written;
    }
    if (report.ok && reader.readFailed()) {
        report.ok = false;
        report.error = QStringLiteral("读取“%1”时出错：%2").arg(native(listPath), file.errorString());
    }
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
