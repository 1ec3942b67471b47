#include "store/WordStore.h"

#include "platform/SystemError.h"
#include "platform/TextCodec.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <system_error>

#ifdef Q_OS_UNIX
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace mirvo {

namespace {

constexpr qsizetype maxNameBytes = 255; // NAME_MAX of the common file systems
constexpr qsizetype maxMeaningBytes = 64 * 1024; // as much of a first line as is ever shown
const QString temporaryPattern = QStringLiteral(".mirvo-*.tmp");

#ifndef Q_OS_UNIX
std::filesystem::path toPath(const QString &path)
{
#ifdef Q_OS_WIN
    return std::filesystem::path(path.toStdWString());
#else
    const QByteArray bytes = QFile::encodeName(path);
    return std::filesystem::path(std::string(bytes.constData(), bytes.size()));
#endif
}
#endif

QString native(const QString &path)
{
    return QDir::toNativeSeparators(path);
}

using TemporaryName = char[64];

/// A new temporary's name: hidden, so a temporary left by a crash is never listed as a word
/// (QSaveFile's temporary is named after its target, visible, so it is not used).
void nameTemporary(TemporaryName &name)
{
    static std::atomic<unsigned> counter{0};
    static const qint64 pid = QCoreApplication::applicationPid(); // a system call each time asked
    std::snprintf(name, sizeof name, ".mirvo-%lld-%u.tmp", static_cast<long long>(pid), counter.fetch_add(1));
}

bool fail(QString *error, const QString &message)
{
    if (error)
        *error = message;
    return false;
}

} // namespace

WordStore::WordStore(const QString &folder)
    : m_folder(folder)
{
}

QString WordStore::entryPath(const QString &word) const
{
    return m_folder + QLatin1Char('/') + word;
}

bool WordStore::exists() const
{
    return QFileInfo(m_folder).isDir();
}

bool WordStore::create(QString *error) const
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
    else if (word.startsWith(QLatin1Char('.')))
        why = QStringLiteral("以“.”开头的文件是隐藏文件，不会出现在单词列表中");
    else if (word.contains(QLatin1Char('/')) || word.contains(QLatin1Char('\\')))
        why = QStringLiteral("单词中含有“/”或“\\”");
    else if (word.contains(QChar(0)))
        why = QStringLiteral("单词中含有空字符");
    else if (QFile::encodeName(word).size() > maxNameBytes)
        why = QStringLiteral("单词太长，不能作文件名");
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
#ifdef Q_OS_WIN
    else if (word.contains(QLatin1Char('\\')))
        why = QStringLiteral("名字中含有“\\”");
#endif
    if (why.isEmpty())
        return true;
    if (reason)
        *reason = why;
    return false;
}

bool WordStore::writeEntry(const QString &word, const QString &meaning, QString *error) const
{
    return Writer(*this).write(word, meaning, error);
}

WordStore::Writer::Writer(const WordStore &store)
    : m_store(store)
{
#ifdef Q_OS_UNIX
#ifdef O_PATH
    constexpr int handleOnly = O_PATH; // entries can be made in a folder one may write but not list
#else
    constexpr int handleOnly = O_RDONLY;
#endif
    m_folder = ::open(QFile::encodeName(store.m_folder).constData(), handleOnly | O_DIRECTORY | O_CLOEXEC);
    m_openError = m_folder < 0 ? errno : 0;
#endif
}

WordStore::Writer::~Writer()
{
#ifdef Q_OS_UNIX
    if (m_folder >= 0)
        ::close(m_folder);
#endif
}

bool WordStore::Writer::write(const QString &word, const QString &meaning, QString *error)
{
    QString reason;
    if (!isSafeWord(word, &reason))
        return fail(error, QStringLiteral("单词“%1”不能写入词库：%2。").arg(word, reason));

    // In the system's code page, so the user's text editor shows the entry as it is.
    const QByteArray content = textcodec::encodeReadable(meaning, textcodec::systemEncoding) + "\r\n";
    const auto failed = [&](const QString &why) {
        return fail(error, QStringLiteral("无法写入单词“%1”：%2").arg(word, why));
    };
#ifdef Q_OS_UNIX
    const auto folderHoldsDirectory = [&] {
        struct stat info;
        return ::fstatat(m_folder, QFile::encodeName(word).constData(), &info, AT_SYMLINK_NOFOLLOW) == 0
            && S_ISDIR(info.st_mode);
    };
    // Plain system calls on names inside the open folder: an import writes thousands of
    // entries, and a QFile, path conversions and whole-path lookups per entry cost as much as
    // the writing itself.
    if (m_folder < 0)
        return failed(systemErrorText(m_openError));
    TemporaryName temporary;
    nameTemporary(temporary);
    const int fd = ::openat(m_folder, temporary, O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd < 0)
        return failed(systemErrorText(errno));
    qsizetype done = 0;
    errno = 0;
    while (done < content.size()) {
        const ssize_t wrote = ::write(fd, content.constData() + done, size_t(content.size() - done));
        if (wrote < 0 && errno == EINTR)
            continue;
        if (wrote <= 0)
            break;
        done += wrote;
    }
    int savedErrno = done < content.size() ? (errno ? errno : ENOSPC) : 0;
    if (::close(fd) != 0 && savedErrno == 0)
        savedErrno = errno;
    if (savedErrno != 0) {
        ::unlinkat(m_folder, temporary, 0);
        return failed(systemErrorText(savedErrno));
    }
    if (::renameat(m_folder, temporary, m_folder, QFile::encodeName(word).constData()) != 0) {
        const int renameErrno = errno;
        ::unlinkat(m_folder, temporary, 0);
        return failed(folderHoldsDirectory() ? QStringLiteral("同名的文件夹已经存在") : systemErrorText(renameErrno));
    }
    return true;
#else
    const auto folderHoldsDirectory = [&] { return QFileInfo(m_store.entryPath(word)).isDir(); };
    TemporaryName name;
    nameTemporary(name);
    const QString temporary = m_store.m_folder + QLatin1Char('/') + QLatin1String(name);
    QFile file(temporary);
    if (!file.open(QIODevice::WriteOnly | QIODevice::NewOnly))
        return failed(fileErrorText(file, errno));
    errno = 0;
    const bool written = file.write(content) == content.size() && file.flush();
    const QString writeError = fileErrorText(file, errno);
    file.close();
    if (!written) {
        QFile::remove(temporary);
        return failed(writeError);
    }

    // Not QFile::rename: it refuses to replace an existing entry, and replacing must be atomic.
    std::error_code code;
    std::filesystem::rename(toPath(temporary), toPath(m_store.entryPath(word)), code);
    if (code) {
        QFile::remove(temporary);
        return failed(folderHoldsDirectory() ? QStringLiteral("同名的文件夹已经存在") : systemErrorText(code.value()));
    }
    return true;
#endif
}

bool WordStore::Writer::wroteIntoStore(QString *error) const
{
#ifdef Q_OS_UNIX
    struct stat written;
    struct stat store;
    if (m_folder >= 0
        && (::fstat(m_folder, &written) != 0 || ::stat(QFile::encodeName(m_store.m_folder).constData(), &store) != 0
            || written.st_dev != store.st_dev || written.st_ino != store.st_ino))
        return fail(error, QStringLiteral("词库文件夹“%1”在写入时被移走或删除，单词没有写进词库。")
                               .arg(native(m_store.m_folder)));
#else
    Q_UNUSED(error);
#endif
    return true;
}

std::optional<QString> WordStore::readMeaning(const QString &word, QString *error) const
{
    QString reason;
    if (!isEntryName(word, &reason)) {
        fail(error, QStringLiteral("无法读取单词“%1”：%2。").arg(word, reason));
        return std::nullopt;
    }
    const QString path = entryPath(word);
    if (QFileInfo(path).isDir()) {
        fail(error, QStringLiteral("无法读取单词“%1”：它是一个文件夹。").arg(word));
        return std::nullopt;
    }
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        const QString why = fileErrorText(file, errno);
        fail(error, QStringLiteral("无法读取单词“%1”：%2").arg(word, why));
        return std::nullopt;
    }

    // Read in small pieces up to the first line end: an entry edited by hand may be long.
    QByteArray line;
    char buffer[256];
    while (line.size() < maxMeaningBytes) {
        errno = 0;
        const qint64 got = file.read(buffer, sizeof buffer);
        if (got < 0) {
            const QString why = fileErrorText(file, errno);
            fail(error, QStringLiteral("无法读取单词“%1”：%2").arg(word, why));
            return std::nullopt;
        }
        const char *const begin = buffer;
        const char *const end = begin + got;
        const char *const lineEnd = std::find_if(begin, end, [](char c) { return c == '\r' || c == '\n'; });
        line.append(begin, lineEnd - begin);
        if (lineEnd != end || got == 0)
            break;
    }
    // Not value_or(): its argument would decode the line a second time, always.
    if (auto meaning = textcodec::decode(line))
        return meaning;
    return textcodec::decodeAnsi(line);
}

bool WordStore::deleteEntry(const QString &word, QString *error) const
{
    QString reason;
    if (!isEntryName(word, &reason))
        return fail(error, QStringLiteral("无法删除单词“%1”：%2。").arg(word, reason));
    const QString path = entryPath(word);
    QFile file(path);
    errno = 0;
    if (file.remove() || !QFileInfo::exists(path))
        return true;
    const QString why = fileErrorText(file, errno);
    return fail(error, QStringLiteral("无法删除单词“%1”：%2").arg(word, why));
}

bool WordStore::removeStore(QString *error) const
{
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

void WordStore::syncFolder() const
{
#ifdef Q_OS_UNIX
    const int fd = ::open(QFile::encodeName(m_folder).constData(), O_RDONLY | O_DIRECTORY);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
#endif
}

} // namespace mirvo
