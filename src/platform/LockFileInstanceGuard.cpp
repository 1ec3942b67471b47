#include "platform/LockFileInstanceGuard.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFileInfo>
#include <QLockFile>
#include <QStandardPaths>

namespace mirvo {

namespace {

QString defaultLockFolder()
{
    QString folder = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    if (folder.isEmpty())
        folder = QDir::tempPath();
    return folder;
}

} // namespace

LockFileInstanceGuard::LockFileInstanceGuard(const QString &executablePath,
                                             const QString &lockFolder)
{
    // One lock per executable, so two separately unpacked copies do not block each other.
    const QString canonical = QFileInfo(executablePath).absoluteFilePath();
    const QByteArray hash =
        QCryptographicHash::hash(canonical.toUtf8(), QCryptographicHash::Sha1).toHex().left(16);
    const QString folder = lockFolder.isEmpty() ? defaultLockFolder() : lockFolder;
    m_path = folder + QStringLiteral("/mirvo-") + QString::fromLatin1(hash) + QStringLiteral(".lock");
}

LockFileInstanceGuard::~LockFileInstanceGuard() = default;

bool LockFileInstanceGuard::acquire()
{
    m_lock = std::make_unique<QLockFile>(m_path);
    // The lock's owner is checked for being alive; a live owner never goes stale by age.
    m_lock->setStaleLockTime(0);
    if (m_lock->tryLock(0))
        return true;
    if (m_lock->error() == QLockFile::LockFailedError && QFileInfo(m_path).isFile()) {
        // A live instance holds its lock file locked, so the file can be removed only when
        // its owner is gone: a crash, or a start that died before writing its name.
        if (!m_lock->removeStaleLockFile())
            return false;
        if (m_lock->tryLock(0))
            return true;
        if (m_lock->error() == QLockFile::LockFailedError)
            return false;
    }
    // No lock can be made (no folder, no right to write, a folder in its place):
    // running unguarded beats not running.
    m_problem = QStringLiteral("无法创建单实例锁文件：%1").arg(QDir::toNativeSeparators(m_path));
    m_lock.reset();
    return true;
}

std::unique_ptr<InstanceGuard> makeInstanceGuard(const QString &executablePath)
{
    return std::make_unique<LockFileInstanceGuard>(executablePath);
}

} // namespace mirvo
