#include "platform/QtDialogs.h"

#include <QFileDialog>
#include <QMessageBox>

namespace mirvo {

namespace {

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

} // namespace mirvo
