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

} // namespace

const bool separatorInNames = false;
const bool wordnames::leadingDotHides = true;

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

WordStore::Writer::Writer(const WordStore &store)
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

bool WordStore::Writer::write(const QString &word, const QString &meaning, QString *error)
{
    QByteArray content;
    if (!entryContent(word, meaning, &content, error))
        return false;
    const auto failed = [&](const QString &why) { return writeFailed(error, word, why); };
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
