#pragma once

#include "platform/Dialogs.h"

#include <QList>
#include <QStringList>

#include <functional>

namespace mirvo::test {

/// Answers message boxes and file dialogs from a script and records what was shown.
/// A message or dialog with no scripted answer is recorded as unexpected.
class FakeDialogs final : public Dialogs
{
public:
    struct Shown
    {
        QString text;
        QString caption;
        MessageIcon icon;
        MessageButtons buttons;
    };

    void answerNext(MessageAnswer answer) { m_answers.append(answer); }
    void chooseFileNext(const QString &path) { m_files.append(path); }

    MessageAnswer message(QWidget *parent, const QString &text, const QString &caption,
                          MessageIcon icon, MessageButtons buttons) override;
    QString openFileName(QWidget *parent, const QString &nameFilter) override;

    /// Runs while a message is up, before it is answered: lets a test look at the window then.
    std::function<void(const Shown &)> onMessage;

    QList<Shown> shown;
    QStringList fileDialogFilters;
    QStringList unexpected;

    QStringList shownTexts() const;
    /// Empty when every scripted answer was used and nothing unexpected was shown.
    QString leftovers() const;
    void reset();

private:
    QList<MessageAnswer> m_answers;
    QStringList m_files;
};

} // namespace mirvo::test
