#include "FaultyFolders.h"

// Windows has no root and no named pipes in its folders: the faults that need them are not
// made here. (The tests of tmpfs mounts and folder modes are not built for Windows.)

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

} // namespace mirvo::test
