#include "FaultyFolders.h"

#include <QDir>

#include <qt_windows.h>

// Windows has no root and no named pipes in its folders: the faults that need them are not
// made here. (The tests of tmpfs mounts and folder modes are not built for Windows.) An open
// file keeps it from being deleted, unless it was opened to share that.

namespace mirvo::test {

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
