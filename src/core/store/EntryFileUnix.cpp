// Entries by their names' own bytes: a name the listing shows decoded from GBK is no UTF-8 text.
#include "core/store/EntryFile.h"

#include "core/text/SystemError.h"

#include <QFile>

#include <cerrno>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace mirvo {

namespace {

QByteArray pathOf(const QString &folder, const EntryName &name)
{
    QByteArray path = QFile::encodeName(folder);
    return path.append('/').append(name.bytes.data(), qsizetype(name.bytes.size()));
}

} // namespace

EntryReader::~EntryReader()
{
    if (m_handle >= 0)
        ::close(int(m_handle));
}

bool EntryReader::open(const QString &folder, const EntryName &name)
{
    // O_NONBLOCK: a pipe opens at once, writer or not, and is then refused; O_NOCTTY: a
    // terminal never becomes the program's own.
    const int fd = ::open(pathOf(folder, name).constData(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0) {
        m_problem = systemErrorText(errno);
        return false;
    }
    m_handle = fd;
    struct stat info{};
    if (::fstat(fd, &info) != 0)
        m_problem = systemErrorText(errno);
    else if (S_ISDIR(info.st_mode))
        m_problem = entryIsFolder;
    else if (!S_ISREG(info.st_mode))
        m_problem = entryIsNoFile;
    m_size = m_problem.isEmpty() ? qint64(info.st_size) : 0;
    return m_problem.isEmpty();
}

qint64 EntryReader::read(char *buffer, qint64 size)
{
    for (;;) {
        const ssize_t got = ::read(int(m_handle), buffer, size_t(size));
        if (got >= 0)
            return got;
        if (errno != EINTR) {
            m_problem = systemErrorText(errno);
            return -1;
        }
    }
}

int removeEntryFile(const QString &folder, const EntryName &name)
{
    return ::unlink(pathOf(folder, name).constData()) == 0 ? 0 : errno;
}

bool meansNoSuchFile(int code)
{
    return code == ENOENT;
}

} // namespace mirvo
