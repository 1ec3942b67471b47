#include "FaultyFolders.h"

// Windows has no root, no tmpfs and no file modes that refuse a folder's owner: a fault
// that needs them cannot be made here, and says so.

namespace mirvo::test {

bool runningAsRoot()
{
    return false;
}

ScratchMount::ScratchMount(const QString &folder, const QByteArray &options)
    : m_folder(folder.toUtf8())
    , m_options(options)
    , m_problem(QStringLiteral("Windows has no tmpfs to mount"))
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
    m_problem = QStringLiteral("a Windows folder has no mode that refuses its owner new files");
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

} // namespace mirvo::test
