#include "platform/QtDialogs.h"

#include <QElapsedTimer>
#include <QFileDialog>
#include <QMessageBox>
#include <QProgressDialog>
#include <QPushButton>

#include <climits>

namespace mirvo {

namespace {

constexpr int showAfterMs = 500;
/// Repaints cost more than a step of a fast task: the dialog hears of the steps this seldom.
constexpr qint64 updateEveryMs = 50;

class QtProgress final : public Progress
{
public:
    QtProgress(QWidget *parent, const QString &caption, const QString &label, qint64 maximum)
        : m_dialog(QString(), QString(), 0, 0, parent)
        , m_label(label)
        , m_maximum(maximum)
    {
        m_dialog.setWindowTitle(caption);
        // The dialog was made without a cancel button: replacing one would leave two Escape
        // shortcuts, which cancel nothing. Only a deliberate press cancels, not the Enter that
        // answered a message just before.
        auto *cancel = new QPushButton(QStringLiteral("取消"));
        cancel->setAutoDefault(false);
        m_dialog.setCancelButton(cancel);
        m_dialog.setWindowModality(Qt::ApplicationModal);
        // It goes with this object, not when the bar is full.
        m_dialog.setAutoReset(false);
        m_dialog.setAutoClose(false);
        m_dialog.setMinimumDuration(showAfterMs);
        m_dialog.setRange(0, step(maximum));
        showLabel(0);
        m_dialog.setValue(0); // the time by which the dialog judges the task starts here
        m_sinceUpdate.start();
    }

    bool advance(qint64 done) override
    {
        if (m_dialog.wasCanceled())
            return false;
        if (m_sinceUpdate.elapsed() < updateEveryMs)
            return true;
        m_sinceUpdate.restart();
        showLabel(done);
        // Shows the dialog when the task looks long; once shown, lets every window paint and
        // the cancel button be pressed.
        m_dialog.setValue(step(done));
        return !m_dialog.wasCanceled();
    }

private:
    /// QProgressDialog counts in int.
    int step(qint64 count) const
    {
        if (m_maximum <= INT_MAX)
            return int(count);
        return int(double(count) / double(m_maximum) * INT_MAX);
    }

    void showLabel(qint64 done)
    {
        m_dialog.setLabelText(m_label.arg(QString::number(done), QString::number(m_maximum)));
    }

    QProgressDialog m_dialog;
    QString m_label;
    qint64 m_maximum;
    QElapsedTimer m_sinceUpdate;
};

QMessageBox::Icon toQt(MessageIcon icon)
{
    switch (icon) {
    case MessageIcon::Information: return QMessageBox::Information;
    case MessageIcon::Exclamation: return QMessageBox::Warning;
    case MessageIcon::Question: return QMessageBox::Question;
    case MessageIcon::None: break;
    }
    return QMessageBox::NoIcon;
}

} // namespace

MessageAnswer QtDialogs::message(QWidget *parent, const QString &text, const QString &caption,
                                 MessageIcon icon, MessageButtons buttons)
{
    QMessageBox box(toQt(icon), caption, text, QMessageBox::NoButton, parent);
    box.setTextFormat(Qt::PlainText); // texts carry words and meanings from files
    switch (buttons) {
    case MessageButtons::Ok:
        box.setStandardButtons(QMessageBox::Ok);
        break;
    case MessageButtons::YesNo:
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
        box.setDefaultButton(QMessageBox::Yes);
        break;
    case MessageButtons::YesNoCancel:
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
        box.setDefaultButton(QMessageBox::Yes);
        box.setEscapeButton(QMessageBox::Cancel);
        break;
    }
    switch (box.exec()) {
    case QMessageBox::Yes: return MessageAnswer::Yes;
    case QMessageBox::No: return MessageAnswer::No;
    case QMessageBox::Cancel: return MessageAnswer::Cancel;
    default: return buttons == MessageButtons::Ok ? MessageAnswer::Ok : MessageAnswer::Cancel;
    }
}

QString QtDialogs::openFileName(QWidget *parent, const QString &nameFilter)
{
    return QFileDialog::getOpenFileName(parent, QString(), QString(), nameFilter);
}

std::unique_ptr<Progress> QtDialogs::progress(QWidget *parent, const QString &caption,
                                              const QString &label, qint64 maximum)
{
    return std::make_unique<QtProgress>(parent, caption, label, maximum);
}

} // namespace mirvo
