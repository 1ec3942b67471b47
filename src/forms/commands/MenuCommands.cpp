#include "forms/commands/MenuCommands.h"

#include "core/AppInfo.h"
#include "platform/Dialogs.h"

#include <QDir>

#include <memory>

namespace mirvo::commands {

ImportProgress importProgress(Dialogs &dialogs, QWidget *parent)
{
    // Held in a shared_ptr: std::function takes copyable functions only.
    return [&dialogs, parent, shown = std::shared_ptr<Progress>()](qint64 done, qint64 lineCount) mutable {
        if (!shown)
            shown = dialogs.progress(parent, appinfo::title, importProgressLabel, lineCount);
        return shown->advance(done);
    };
}

ProgramCall fileManagerCall(const QString &folder)
{
#ifdef Q_OS_WIN
    return {QStringLiteral("explorer"), {QDir::toNativeSeparators(folder)}};
#else
    return {QStringLiteral("xdg-open"), {folder}};
#endif
}

} // namespace mirvo::commands
