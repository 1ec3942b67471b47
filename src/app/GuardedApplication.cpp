#include "app/GuardedApplication.h"

#include "core/AppInfo.h"

#include "platform/Dialogs.h"

#include <exception>

namespace mirvo {

bool GuardedApplication::notify(QObject *receiver, QEvent *event)
{
    try {
        return QApplication::notify(receiver, event);
    } catch (const std::exception &error) {
        report(QString::fromLocal8Bit(error.what()));
    } catch (...) {
        report(QStringLiteral("未知错误"));
    }
    return false;
}

void GuardedApplication::report(const QString &what)
{
    if (m_reporting || !m_dialogs) // an error while showing the report must not recurse
        return;
    m_reporting = true;
    m_dialogs->message(nullptr, QStringLiteral("程序遇到意外错误：%1\n可以继续使用。").arg(what),
                       appinfo::title, MessageIcon::Exclamation, MessageButtons::Ok);
    m_reporting = false;
}

} // namespace mirvo
