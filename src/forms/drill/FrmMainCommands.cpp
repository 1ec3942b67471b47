// The menu commands of the drill window.
#include "forms/drill/FrmMain.h"

#include "core/store/WordListImport.h"
#include "core/store/WordStore.h"
#include "forms/about/AboutWindowHost.h"
#include "forms/commands/MenuCommands.h"
#include "forms/update/UpdateCheck.h"
#include "platform/Shell.h"

#include <QDir>

namespace mirvo {

void FrmMain::DaoRu_Click()
{
    const QString path = m_services.dialogs.openFileName(this, commands::importFilter);
    if (path.isEmpty())
        return;
    const ImportReport report = importWordList(path, m_store);
    if (!report.ok) {
        // The words imported before the failure stay; the store is shown as it now is.
        showFailure(report.error);
    } else {
        message(commands::doneText, MessageIcon::Information);
        if (report.skippedCount > 0)
            message(commands::skippedLinesMessage(report), MessageIcon::Exclamation);
    }
    if (readWords(Reading::Changes))
        Huan();
}

void FrmMain::cikugeshishuoming_Click()
{
    m_services.dialogs.message(this, commands::formatHelpText, commands::formatHelpCaption,
                               MessageIcon::Information, MessageButtons::Ok);
}

void FrmMain::zengshan_Click()
{
    const commands::ProgramCall call = commands::fileManagerCall(m_store.folder());
    QString error;
    if (!m_services.shell.startProgram(call.program, call.arguments, WindowStyle::MaximizedFocus, &error))
        showFailure(QStringLiteral("无法用文件管理器打开词库文件夹“%1”：%2")
                        .arg(QDir::toNativeSeparators(m_store.folder()), error));
}

void FrmMain::fangwenwangzhan_Click()
{
    m_services.shell.openAddress(UpdateCheck::homePageAddress(m_site));
}

void FrmMain::guanyu_Click()
{
    m_about->show();
}

} // namespace mirvo
