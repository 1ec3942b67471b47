#pragma once

#include "platform/Dialogs.h"

#include <QList>
#include <QStringList>

#include <functional>
#include <optional>

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
    /// A progress is cancelled once it is told that this many steps are done; a cancel never
    /// reached is left over.
    void cancelProgressAt(qint64 done) { m_cancelAt = done; }

    MessageAnswer message(QWidget *parent, const QString &text, const QString &caption,
                          MessageIcon icon, MessageButtons buttons) override;
    QString openFileName(QWidget *parent, const QString &nameFilter) override;
    std::unique_ptr<Progress> progress(QWidget *parent, const QString &caption, const QString &label,
                                       qint64 maximum) override;

    /// Runs while a message is up, before it is answered: lets a test look at the window then.
    std::function<void(const Shown &)> onMessage;
    /// Runs at each step a progress is told of, as the real one lets events in then.
    std::function<void(qint64 done)> onAdvance;

    QList<Shown> shown;
    /// The last progress: its maximum, the last step told, and whether it is still up.
    qint64 progressMaximum = -1;
    qint64 progressDone = -1;
    bool progressUp = false;
    QStringList fileDialogFilters;
    QStringList unexpected;

    QStringList shownTexts() const;
    /// Empty when every scripted answer was used and nothing unexpected was shown.
    QString leftovers() const;
    void reset();

private:
    QList<MessageAnswer> m_answers;
    QStringList m_files;
    std::optional<qint64> m_cancelAt;
};

} // namespace mirvo::test
