#include "platform/ProgramEnd.h"

#include <QCoreApplication>

#include <cstdio>
#include <cstdlib>

namespace mirvo {

void QtProgramEnd::endNow()
{
    // Settings are synced when saved, so nothing is pending; skip every destructor and
    // event so that no handler of ours runs after this point.
    std::fflush(nullptr);
    std::_Exit(0);
}

void QtProgramEnd::quit()
{
    QCoreApplication::exit(0);
}

} // namespace mirvo
