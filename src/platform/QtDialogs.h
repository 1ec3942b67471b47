#pragma once

#include "platform/Dialogs.h"

namespace mirvo {

class QtDialogs final : public Dialogs
{
public:
    MessageAnswer message(QWidget *parent, const QString &text, const QString &caption,
                          MessageIcon icon, MessageButtons buttons) override;
    QString openFileName(QWidget *parent, const QString &nameFilter) override;
    /// A QProgressDialog, application-modal, shown once the task has run half a second or
    /// looks to run longer.
    std::unique_ptr<Progress> progress(QWidget *parent, const QString &caption, const QString &label,
                                       qint64 maximum) override;
};

} // namespace mirvo
