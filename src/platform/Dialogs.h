#pragma once

#include <QString>

class QWidget;

namespace mirvo {

enum class MessageIcon { None, Information, Exclamation, Question };
enum class MessageButtons { Ok, YesNo, YesNoCancel };
enum class MessageAnswer { Ok, Yes, No, Cancel };

/// Modal message boxes and the open-file dialog. Every call blocks until the user answers.
class Dialogs
{
public:
    virtual ~Dialogs() = default;

    /// Shows a modal message box. With Yes/No/Cancel, Yes is the default button and
    /// Escape or the close box answer Cancel.
    virtual MessageAnswer message(QWidget *parent, const QString &text, const QString &caption,
                                  MessageIcon icon, MessageButtons buttons) = 0;

    /// Asks for an existing file to open; returns an empty string when the user cancels.
    virtual QString openFileName(QWidget *parent, const QString &nameFilter) = 0;
};

} // namespace mirvo
