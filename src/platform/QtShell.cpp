#include "platform/QtShell.h"

#include <QDesktopServices>
#include <QProcess>
#include <QUrl>

#ifdef Q_OS_WIN
#include <windows.h>
#endif

namespace mirvo {

void QtShell::openAddress(const QString &address)
{
    QDesktopServices::openUrl(QUrl(address));
}

bool QtShell::startProgram(const QString &program, const QStringList &arguments,
                           WindowStyle style, QString *error)
{
    if (program.trimmed().isEmpty()) {
        if (error)
            *error = QStringLiteral("没有要启动的程序");
        return false;
    }
    QProcess process;
    process.setProgram(program);
    process.setArguments(arguments);
    process.setStandardInputFile(QProcess::nullDevice());
#ifdef Q_OS_WIN
    process.setCreateProcessArgumentsModifier([style](QProcess::CreateProcessArguments *call) {
        call->startupInfo->dwFlags |= STARTF_USESHOWWINDOW;
        call->startupInfo->wShowWindow =
            style == WindowStyle::MaximizedFocus ? SW_SHOWMAXIMIZED : SW_SHOWNORMAL;
    });
#else
    Q_UNUSED(style); // X11 and Wayland leave a new window's state to the program and the desktop
#endif
    if (process.startDetached())
        return true;
    if (error)
        *error = process.errorString();
    return false;
}

} // namespace mirvo
