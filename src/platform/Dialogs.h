#pragma once

#include <QString>

#include <memory>

class QWidget;

namespace mirvo {

enum class MessageIcon { None, Information, Exclamation, Question };
enum class MessageButtons { Ok, YesNo, YesNoCancel };
enum class MessageAnswer { Ok, Yes, No, Cancel };

/// A long task's progress, shown modally with a cancel button; it closes when the object goes.
class Progress
{
public:
    virtual ~Progress() = default;

    /// Tells how many steps are done; the windows may paint meanwhile. False once the user
    /// has cancelled.
    virtual bool advance(qint64 done) = 0;
};

/// Modal message boxes, the open-file dialog and progress. Every call but progress() blocks
/// until the user answers.
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

    /// Follows a task of maximum steps. Nothing shows while the task looks quick; the label's
    /// %1 and %2 become the steps done and the maximum.
    virtual std::unique_ptr<Progress> progress(QWidget *parent, const QString &caption, const QString &label,
                                               qint64 maximum) = 0;
};

} // namespace mirvo
