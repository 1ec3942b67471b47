#include "app/Startup.h"

#include "core/AppInfo.h"
#include "core/store/WordListImport.h"
#include "core/store/WordStore.h"
#include "forms/commands/MenuCommands.h"
#include "platform/Dialogs.h"
#include "platform/FileChecks.h"
#include "platform/InstanceGuard.h"

#include <QFileInfo>

namespace mirvo {

QString storeFolderFor(const QString &programFolder, const QString &userDataFolder)
{
    // An unpacked copy carries its list (or already its store) beside the program; an
    // installed program does not, so even root never fills /usr/bin with words.
    const QString beside = programFolder + QStringLiteral("/words");
    const bool portable = QFileInfo(beside).isDir()
                          || QFileInfo(programFolder + QLatin1Char('/') + appinfo::defaultListName).isFile();
    if (portable && canCreateFilesIn(programFolder))
        return beside;
    return userDataFolder + QStringLiteral("/words");
}

QString defaultListPath(const QString &programFolder, const QString &installedDataFolder)
{
    const QString beside = programFolder + QLatin1Char('/') + appinfo::defaultListName;
    if (QFileInfo(beside).isFile() || installedDataFolder.isEmpty())
        return beside;
    const QString installed = installedDataFolder + QLatin1Char('/') + appinfo::defaultListName;
    return QFileInfo(installed).isFile() ? installed : beside;
}

bool prepareStartup(InstanceGuard &guard, Dialogs &dialogs, WordStore &store,
                    const QString &defaultListPath)
{
    if (!guard.acquire()) {
        dialogs.message(nullptr, QStringLiteral("该程序已经打开。"), appinfo::title,
                        MessageIcon::Exclamation, MessageButtons::Ok);
        return false;
    }
    if (store.exists())
        return true;

    QString error;
    if (!store.create(&error))
        return true;
    dialogs.message(nullptr, QStringLiteral("第一次运行需要导入默认词库，点击确定后请稍等片刻。"),
                    appinfo::title, MessageIcon::Information, MessageButtons::Ok);
    // Start-up goes on whatever the import gave, a cancel included: the window shows the store
    // as it is.
    static_cast<void>(importWordList(defaultListPath, store, commands::importProgress(dialogs, nullptr)));
    return true;
}

} // namespace mirvo
