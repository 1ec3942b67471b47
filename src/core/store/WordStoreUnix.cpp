#include "core/store/WordStore.h"

#include "core/store/WordNames.h"
#include "core/store/WordStorePlatform.h"
#include "core/text/SystemError.h"

#include <QFile>

#include <cerrno>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace mirvo {

namespace {

constexpr qsizetype maxNameBytes = 255; // NAME_MAX of the common file systems

/// The type of what the name is in folder (following links with flags 0), or 0 for nothing.
mode_t typeOf(int folder, const char *name, int flags)
{
    struct stat info;
    return ::fstatat(folder, name, &info, flags) == 0 ? (info.st_mode & S_IFMT) : 0;
}

/// Renames inside folder without replacing: fails with EEXIST when the name is taken.
bool renameKeeping(int folder, const char *from, const char *to)
{
    if (::renameat2(folder, from, folder, to, RENAME_NOREPLACE) == 0)
        return true;
    if (errno != EINVAL && errno != ENOSYS)
        return false;
    // A file system that cannot rename without replacing: look first.
    if (typeOf(folder, to, AT_SYMLINK_NOFOLLOW) != 0) {
        errno = EEXIST;
        return false;
    }
    return ::renameat(folder, from, folder, to) == 0;
}

} // namespace

const bool separatorInNames = false;
const bool wordnames::leadingDotHides = true;

std::string nameBytes(const QString &word)
{
    return QFile::encodeName(word).toStdString();
}

QString platformNameProblem(const QString &word)
{
    if (QFile::encodeName(word).size() > maxNameBytes)
        return QStringLiteral("单词太长，不能作文件名");
    return {};
}

QString entryChangeProblem(const QString &, int code)
{
    return systemErrorText(code);
}

WordStore::Writer::Writer(WordStore &store)
    : m_store(store)
{
#ifdef O_PATH
    constexpr int handleOnly = O_PATH; // entries can be made in a folder one may write but not list
#else
    constexpr int handleOnly = O_RDONLY;
#endif
    m_folder = ::open(QFile::encodeName(store.m_folder).constData(), handleOnly | O_DIRECTORY | O_CLOEXEC);
    m_openError = m_folder < 0 ? errno : 0;
}

WordStore::Writer::~Writer()
{
    if (m_folder >= 0)
        ::close(m_folder);
}

bool WordStore::Writer::place(EntryName name, const QByteArray &content, Existing existing, QString *error)
{
    const auto failed = [&](const QString &why) { return writeFailed(error, name.word, why); };
    const char *const fileName = name.bytes.c_str();
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
    const bool renamed = existing == Existing::Replace
                             ? ::renameat(m_folder, temporary, m_folder, fileName) == 0
                             : renameKeeping(m_folder, temporary, fileName);
    if (!renamed) {
        const int renameErrno = errno;
        ::unlinkat(m_folder, temporary, 0);
        // An entry made again meanwhile under that name stays as it is.
        const bool kept = renameErrno == EEXIST && typeOf(m_folder, fileName, 0) == S_IFREG;
        if (!kept)
            return failed(typeOf(m_folder, fileName, AT_SYMLINK_NOFOLLOW) == S_IFDIR
                              ? QStringLiteral("同名的文件夹已经存在")
                              : systemErrorText(renameErrno));
    }
    m_written.names.push_back(std::move(name));
    return true;
}

bool WordStore::Writer::wroteIntoStore(QString *error) const
{
    struct stat written;
    struct stat store;
    if (m_folder >= 0
        && (::fstat(m_folder, &written) != 0 || ::stat(QFile::encodeName(m_store.m_folder).constData(), &store) != 0
            || written.st_dev != store.st_dev || written.st_ino != store.st_ino))
        return fail(error, QStringLiteral("词库文件夹“%1”在写入时被移走或删除，单词没有写进词库。")
                               .arg(native(m_store.m_folder)));
    return true;
}

void WordStore::syncFolder() const
{
    const int fd = ::open(QFile::encodeName(m_folder).constData(), O_RDONLY | O_DIRECTORY);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
}

} // namespace mirvo
