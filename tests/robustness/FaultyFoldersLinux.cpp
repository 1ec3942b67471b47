#include "FaultyFolders.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <cstring>

#include <sys/mount.h>
#include <sys/stat.h>
#include <unistd.h>

namespace mirvo::test {

namespace {

constexpr uid_t nobody = 65534;

QString errnoText()
{
    return QString::fromLocal8Bit(std::strerror(errno));
}

} // namespace

bool runningAsRoot()
{
    return ::geteuid() == 0;
}

ScratchMount::ScratchMount(const QString &folder, const QByteArray &options)
    : m_folder(QFile::encodeName(folder))
    , m_options(options)
{
    if (!runningAsRoot()) {
        m_problem = QStringLiteral("mounting needs root");
        return;
    }
    m_mounted = ::mount("tmpfs", m_folder.constData(), "tmpfs", MS_NOSUID | MS_NODEV,
                        m_options.constData())
        == 0;
    if (!m_mounted)
        m_problem = QStringLiteral("mount -t tmpfs failed: ") + errnoText();
}

ScratchMount::~ScratchMount()
{
    if (m_mounted)
        ::umount2(m_folder.constData(), MNT_DETACH);
}

bool ScratchMount::remountReadOnly()
{
    const int flags = MS_REMOUNT | MS_RDONLY | MS_NOSUID | MS_NODEV;
    if (::mount("tmpfs", m_folder.constData(), "tmpfs", flags, m_options.constData()) == 0)
        return true;
    m_problem = QStringLiteral("remount read-only failed: ") + errnoText();
    return false;
}

ReadOnlyFolder::~ReadOnlyFolder()
{
    if (m_sealed && !m_mount)
        QFile::setPermissions(m_folder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
}

bool ReadOnlyFolder::prepare()
{
    if (!runningAsRoot())
        return true;
    m_mount = std::make_unique<ScratchMount>(m_folder, "size=1m");
    if (m_mount->mounted())
        return true;
    m_problem = m_mount->problem();
    m_mount.reset();
    return false;
}

bool ReadOnlyFolder::seal()
{
    m_sealed = m_mount ? m_mount->remountReadOnly()
                       : QFile::setPermissions(m_folder, QFile::ReadOwner | QFile::ExeOwner);
    if (!m_sealed && m_mount)
        m_problem = m_mount->problem();
    return m_sealed;
}

UnprivilegedUser::UnprivilegedUser(bool drop)
{
    if (!drop || !runningAsRoot())
        return;
    // The group first, while still root; the saved ids stay 0 to come back.
    m_groupDropped = ::setresgid(nobody, nobody, 0) == 0;
    m_userDropped = m_groupDropped && ::setresuid(nobody, nobody, 0) == 0;
    m_failed = !m_userDropped;
}

UnprivilegedUser::~UnprivilegedUser()
{
    if (m_userDropped)
        ::setresuid(0, 0, 0);
    if (m_groupDropped)
        ::setresgid(0, 0, 0);
}

bool openForOthers(const QString &folder)
{
    const QString top = QDir(QDir::tempPath()).canonicalPath();
    QString path = QFileInfo(folder).canonicalFilePath();
    if (!path.startsWith(top + QLatin1Char('/')))
        return false;
    while (path != top) {
        struct stat info {};
        const QByteArray native = QFile::encodeName(path);
        if (::stat(native.constData(), &info) != 0
            || ::chmod(native.constData(), (info.st_mode & 07777) | S_IRUSR | S_IXUSR | S_IROTH | S_IXOTH) != 0)
            return false;
        path = QFileInfo(path).path();
    }
    return true;
}

bool makeNamedPipe(const QString &path)
{
    return ::mkfifo(QFile::encodeName(path).constData(), 0600) == 0;
}

HeldFile::HeldFile(const QString &) {}
HeldFile::~HeldFile() = default;

} // namespace mirvo::test
