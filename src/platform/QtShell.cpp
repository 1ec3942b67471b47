#include "platform/QtShell.h"

#include <QDesktopServices>
#include <QProcess>
#include <QUrl>

namespace mirvo {

void QtShell::openAddress(const QString &address)
{
    QDesktopServices::openUrl(QUrl(address));
}

bool QtShell::startProgram(const QString &program, const QStringList &arguments,
                           WindowStyle /*style: the desktop decides how a new window appears*/,
                           QString *error)
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
    if (process.startDetached())
        return true;
    if (error)
        *error = process.errorString();
    return false;
}

} // namespace mirvo
