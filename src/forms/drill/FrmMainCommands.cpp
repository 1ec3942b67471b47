// The menu commands of the drill window.
#include "forms/drill/FrmMain.h"

#include "core/store/WordStore.h"
#include "forms/about/AboutWindowHost.h"
#include "forms/commands/MenuCommands.h"
#include "forms/update/UpdateCheck.h"
#include "platform/Shell.h"

#include <QDir>

namespace mirvo {

void FrmMain::importList()
{
    // The file dialog runs an event loop of its own, and the progress dialog lets events in
    // while the import runs: a page arriving then is judged once the import has ended.
    const UpdateCheck::Hold hold(*m_updateCheck);
    const QString path = m_services.dialogs.openFileName(this, commands::importFilter);
    if (!path.isEmpty())
        m_drill.importList(path, commands::importProgress(m_services.dialogs, this));
}

void FrmMain::showFormatHelp()
{
    message(commands::formatHelpText, commands::formatHelpCaption, MessageIcon::Information, MessageButtons::Ok);
}

void FrmMain::openStoreFolder()
{
    const commands::ProgramCall call = commands::fileManagerCall(m_store.folder());
    QString error;
    if (!m_services.shell.startProgram(call.program, call.arguments, WindowStyle::MaximizedFocus, &error))
        showFailure(QStringLiteral("无法用文件管理器打开词库文件夹“%1”：%2")
                        .arg(QDir::toNativeSeparators(m_store.folder()), error));
}

void FrmMain::openWebSite()
{
    m_services.shell.openAddress(UpdateCheck::homePageAddress(m_site));
}

void FrmMain::showAbout()
{
    m_about->show();
}

} // namespace mirvo
