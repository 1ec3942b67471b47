#include "FaultyFolders.h"

#include <QDir>

#include <qt_windows.h>

// Windows has no root, no tmpfs, no file modes that bind their owner, no named pipes in its
// folders and no advisory locks: the faults made with them are said to be impossible here.

namespace mirvo::test {

bool runningAsRoot()
{
    return false;
}

ScratchMount::ScratchMount(const QString &folder, const QByteArray &options)
    : m_folder(folder.toUtf8())
    , m_options(options)
    , m_problem(QStringLiteral("Windows mounts no tmpfs"))
{
}

ScratchMount::~ScratchMount() = default;

bool ScratchMount::remountReadOnly()
{
    return false;
}

ReadOnlyFolder::~ReadOnlyFolder() = default;

bool ReadOnlyFolder::prepare()
{
    m_problem = QStringLiteral("Windows ignores a folder's read-only mark");
    return false;
}

bool ReadOnlyFolder::seal()
{
    return false;
}

UnprivilegedFiles::UnprivilegedFiles() = default;
UnprivilegedFiles::~UnprivilegedFiles() = default;

UnprivilegedUser::UnprivilegedUser(bool) {}
UnprivilegedUser::~UnprivilegedUser() = default;

bool openForOthers(const QString &)
{
    return true;
}

bool makeNamedPipe(const QString &)
{
    return false;
}

bool lockExclusively(QFile &)
{
    return false;
}

HeldFile::HeldFile(const QString &path)
{
    const HANDLE file = CreateFileW(QDir::toNativeSeparators(path).toStdWString().c_str(), GENERIC_READ,
                                    FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr);
    if (file != INVALID_HANDLE_VALUE)
        m_handle = reinterpret_cast<qintptr>(file);
}

HeldFile::~HeldFile()
{
    if (held())
        CloseHandle(reinterpret_cast<HANDLE>(m_handle));
}

} // namespace mirvo::test
