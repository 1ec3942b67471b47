#pragma once

#include <QApplication>

namespace mirvo {

class Dialogs;

/// The one guard around every event handler: an unexpected error is reported in a
/// message box naming what failed, and the user goes on with the program.
class GuardedApplication : public QApplication
{
public:
    using QApplication::QApplication;

    /// Where reports go; until set, nothing can be shown and the error is only swallowed.
    void setDialogs(Dialogs *dialogs) { m_dialogs = dialogs; }

    bool notify(QObject *receiver, QEvent *event) override;

private:
    void report(const QString &what);
    Dialogs *m_dialogs = nullptr;
    bool m_reporting = false;
};

} // namespace mirvo
