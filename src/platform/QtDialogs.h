#pragma once

#include "platform/Dialogs.h"

namespace mirvo {

class QtDialogs final : public Dialogs
{
public:
    MessageAnswer message(QWidget *parent, const QString &text, const QString &caption,
                          MessageIcon icon, MessageButtons buttons) override;
    QString openFileName(QWidget *parent, const QString &nameFilter) override;
};

} // namespace mirvo
