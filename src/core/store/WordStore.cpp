#include "core/store/WordStore.h"

#include "core/store/EntryFile.h"
#include "core/store/WordList.h"
#include "core/store/WordNames.h"
#include "core/store/WordStorePlatform.h"

#include "core/text/TextCodec.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <algorithm>

namespace mirvo {

namespace {

constexpr qsizetype maxMeaningBytes = 64 * 1024; // as much of a first line as is ever shown
// What Ctrl+Z keeps of a deleted entry: a hand-made file of gigabytes must not fill the memory.
constexpr qint64 maxEntryBytes = 16 * 1024 * 1024;
const QString temporaryPattern = QStringLiteral(".mirvo-*.tmp");

} // namespace

WordStore::WordStore(const QString &folder)
    : m_folder(folder)
    , m_words(std::make_unique<WordList>(folder))
{
}

WordStore::~WordStore() = default;

QString WordStore::entryPath(const QString &word) const
{
    return m_folder + QLatin1Char('/') + word;
}

bool WordStore::refresh(QString *error)
{
    return m_words->refresh(error);
}

bool WordStore::reread(QString *error)
{
    return m_words->reread(error);
}

bool WordStore::exists() const
{
    return QFileInfo(m_folder).isDir();
}

bool WordStore::create(QString *error)
{
    if (QDir().mkdir(m_folder))
        return true;
    if (QFileInfo(m_folder).exists() && !QFileInfo(m_folder).isDir())
        return fail(error, QStringLiteral("无法创建词库文件夹“%1”：同名的文件已经存在。")
                               .arg(native(m_folder)));
    return fail(error, QStringLiteral("无法创建词库文件夹“%1”。").arg(native(m_folder)));
}

bool WordStore::isSafeWord(const QString &word, QString *reason)
{
    QString why;
    if (word.isEmpty())
        why = QStringLiteral("单词为空");
    else if (word == QLatin1String(".") || word == QLatin1String(".."))
        why = QStringLiteral("“.”和“..”不能作单词");
    else if (!wordnames::isWord(word))
        why = QStringLiteral("以“.”开头的文件是隐藏文件，不会出现在单词列表中");
    else if (word.contains(QLatin1Char('/')) || word.contains(QLatin1Char('\\')))
        why = QStringLiteral("单词中含有“/”或“\\”");
    else if (word.contains(QChar(0)))
        why = QStringLiteral("单词中含有空字符");
    else
        why = platformNameProblem(word);
    if (why.isEmpty())
        return true;
    if (reason)
        *reason = why;
    return false;
}

bool WordStore::isEntryName(const QString &word, QString *reason)
{
    // Reading and deleting take any name the listing can show (a file put there by hand),
    // as long as it stays inside the folder.
    QString why;
    if (word.isEmpty() || word == QLatin1String(".") || word == QLatin1String(".."))
        why = QStringLiteral("不是单词文件的名字");
    else if (word.contains(QLatin1Char('/')) || word.contains(QChar(0)))
        why = QStringLiteral("名字中含有“/”或空字符");
    else if (separatorInNames && word.contains(QLatin1Char('\\')))
        why = QStringLiteral("名字中含有“\\”");
    if (why.isEmpty())
        return true;
    if (reason)
        *reason = why;
    return false;
}

bool WordStore::writeEntry(const QString &word, const QString &meaning, QString *error)
{
    return Writer(*this).write(word, meaning, error);
}

bool WordStore::Writer::write(const QString &word, const QString &meaning, QString *error)
{
    QByteArray content;
    return entryContent(word, meaning, &content, error)
        && place({word, nameBytes(word)}, content, Existing::Replace, error);
}

bool WordStore::Writer::restore(const EntryName &name, const QByteArray &content, QString *error)
{
    return place(name, content, Existing::Keep, error);
}

WordStore::Writer::Written::~Written()
{
    store.m_words->insertNames(names);
}

EntryName WordStore::entryName(const QString &word) const
{
    return {word, m_words->bytesOf(word)};
}

bool WordStore::openEntry(const EntryName &name, EntryReader &entry, QString *error) const
{
    QString reason;
    if (!isEntryName(name.word, &reason))
        return fail(error, QStringLiteral("无法读取单词“%1”：%2。").arg(name.word, reason));
    if (entry.open(m_folder, name))
        return true;
    return fail(error, QStringLiteral("无法读取单词“%1”：%2").arg(name.word, entry.problem()));
}

std::optional<SavedEntry> WordStore::readEntry(const QString &word, QString *error) const
{
    SavedEntry saved{entryName(word), {}};
    EntryReader entry;
    if (!openEntry(saved.name, entry, error))
        return std::nullopt;
    const auto refused = [&](const QString &why) {
        fail(error, QStringLiteral("无法读取单词“%1”：%2").arg(word, why));
        return std::nullopt;
    };
    const QString tooLarge = QStringLiteral("文件太大（超过 16 MB）。");
    if (entry.size() > maxEntryBytes)
        return refused(tooLarge);
    saved.content.reserve(qsizetype(entry.size()));
    char buffer[16 * 1024];
    // It may grow while it is read: the limit holds for what is read too.
    for (qint64 got; (got = entry.read(buffer, sizeof buffer)) != 0;) {
        if (got < 0)
            return refused(entry.problem());
        if (saved.content.size() + got > maxEntryBytes)
            return refused(tooLarge);
        saved.content.append(buffer, qsizetype(got));
    }
    return saved;
}

bool WordStore::restoreEntry(const SavedEntry &entry, QString *error)
{
    QString reason;
    if (!isEntryName(entry.name.word, &reason))
        return writeFailed(error, entry.name.word, reason);
    return Writer(*this).restore(entry.name, entry.content, error);
}

std::optional<QString> WordStore::readMeaning(const QString &word, QString *error) const
{
    EntryReader entry;
    if (!openEntry(entryName(word), entry, error))
        return std::nullopt;

    // Read in pieces up to the first line end: an entry edited by hand may be long.
    QByteArray line;
    char buffer[4096];
    bool cut = false;
    for (;;) {
        const qint64 got = entry.read(buffer, sizeof buffer);
        if (got < 0) {
            fail(error, QStringLiteral("无法读取单词“%1”：%2").arg(word, entry.problem()));
            return std::nullopt;
        }
        const char *const begin = buffer;
        const char *const end = begin + got;
        const char *const lineEnd = std::find_if(begin, end, [](char c) { return c == '\r' || c == '\n'; });
        line.append(begin, lineEnd - begin);
        cut = line.size() > maxMeaningBytes;
        if (cut || lineEnd != end || got == 0)
            break;
    }
    if (cut) {
        line.truncate(maxMeaningBytes);
        // The limit may split a character: only whole ones are shown.
        if (auto meaning = textcodec::decodeCut(line))
            return meaning;
    } else if (auto meaning = textcodec::decode(line)) {
        return meaning; // not value_or(): its argument would decode the line a second time
    }
    return textcodec::decodeAnsi(line);
}

bool WordStore::deleteEntry(const QString &word, QString *error)
{
    QString reason;
    if (!isEntryName(word, &reason))
        return fail(error, QStringLiteral("无法删除单词“%1”：%2。").arg(word, reason));
    const EntryName name = entryName(word);
    const int code = removeEntryFile(m_folder, name);
    if (code != 0 && !meansNoSuchFile(code))
        return fail(error, QStringLiteral("无法删除单词“%1”：%2").arg(word, entryChangeProblem(entryPath(word), code)));
    // Deleted, or gone already (by hand meanwhile): either way no longer a word.
    m_words->removeName(name.bytes);
    if (code != 0)
        return fail(error, QStringLiteral("无法删除单词“%1”：它已经不在词库中了。").arg(word));
    return true;
}

bool WordStore::removeStore(QString *error)
{
    // The list's change notices may hold the folder open, which would keep it from going.
    m_words->releaseFolder();
    // Temporaries a crash left behind are ours to clear; every other file stays.
    const QDir folder(m_folder);
    for (const QString &name : folder.entryList({temporaryPattern}, QDir::Files | QDir::Hidden))
        QFile::remove(folder.filePath(name));
    if (QDir().rmdir(m_folder) || !QFileInfo::exists(m_folder))
        return true;
    const bool holdsFiles = !QDir(m_folder)
                                 .entryList(QDir::AllEntries | QDir::Hidden | QDir::System
                                            | QDir::NoDotAndDotDot)
                                 .isEmpty();
    const QString why = holdsFiles ? QStringLiteral("文件夹中还有其他文件（可能是隐藏文件），这些文件没有被删除。")
                                   : QStringLiteral("没有删除它的权限。");
    return fail(error, QStringLiteral("无法删除词库文件夹“%1”：%2").arg(native(m_folder), why));
}

} // namespace mirvo
