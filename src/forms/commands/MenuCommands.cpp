#include "forms/commands/MenuCommands.h"

#include <QDir>

namespace mirvo::commands {

ProgramCall fileManagerCall(const QString &folder)
{
#ifdef Q_OS_WIN
    return {QStringLiteral("explorer"), {QDir::toNativeSeparators(folder)}};
#else
    return {QStringLiteral("xdg-open"), {folder}};
#endif
}

} // namespace mirvo::commands
