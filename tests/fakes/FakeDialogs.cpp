#include "FakeDialogs.h"

#include <optional>

namespace mirvo::test {

namespace {

class FakeProgress final : public Progress
{
public:
    FakeProgress(FakeDialogs &dialogs, qsizetype index, std::optional<qint64> cancelAt)
        : m_dialogs(dialogs)
        , m_index(index)
        , m_cancelAt(cancelAt)
    {
    }

    ~FakeProgress() override
    {
        m_dialogs.progresses[m_index].open = false;
        if (m_cancelAt && m_dialogs.progresses.at(m_index).done < *m_cancelAt)
            m_dialogs.unexpected.append(QStringLiteral("<progress not cancelled at %1>").arg(*m_cancelAt));
    }

    bool advance(qint64 done) override
    {
        m_dialogs.progresses[m_index].done = done;
        if (m_dialogs.onAdvance)
            m_dialogs.onAdvance(done);
        return !m_cancelAt || done < *m_cancelAt;
    }

private:
    FakeDialogs &m_dialogs;
    qsizetype m_index;
    std::optional<qint64> m_cancelAt;
};

} // namespace

MessageAnswer FakeDialogs::message(QWidget *, const QString &text, const QString &caption,
                                   MessageIcon icon, MessageButtons buttons)
{
    shown.append({text, caption, icon, buttons});
    if (onMessage)
        onMessage(shown.last());
    if (m_answers.isEmpty()) {
        unexpected.append(text);
        return buttons == MessageButtons::Ok ? MessageAnswer::Ok : MessageAnswer::Cancel;
    }
    return m_answers.takeFirst();
}

QString FakeDialogs::openFileName(QWidget *, const QString &nameFilter)
{
    fileDialogFilters.append(nameFilter);
    if (m_files.isEmpty()) {
        unexpected.append(QStringLiteral("<file dialog>"));
        return {};
    }
    return m_files.takeFirst();
}

std::unique_ptr<Progress> FakeDialogs::progress(QWidget *, const QString &caption, const QString &label,
                                               qint64 maximum)
{
    progresses.append({caption, label, maximum});
    const std::optional<qint64> cancelAt =
        m_cancels.isEmpty() ? std::nullopt : std::optional(m_cancels.takeFirst());
    return std::make_unique<FakeProgress>(*this, progresses.size() - 1, cancelAt);
}

QStringList FakeDialogs::shownTexts() const
{
    QStringList texts;
    for (const Shown &s : shown)
        texts.append(s.text);
    return texts;
}

QString FakeDialogs::leftovers() const
{
    QStringList problems;
    if (!m_answers.isEmpty())
        problems.append(QStringLiteral("%1 scripted answer(s) unused").arg(m_answers.size()));
    if (!m_files.isEmpty())
        problems.append(QStringLiteral("%1 scripted file name(s) unused").arg(m_files.size()));
    if (!m_cancels.isEmpty())
        problems.append(QStringLiteral("%1 scripted cancel(s) unused").arg(m_cancels.size()));
    for (const QString &text : unexpected)
        problems.append(QStringLiteral("unexpected: ") + text);
    return problems.join(QStringLiteral("; "));
}

void FakeDialogs::reset()
{
    shown.clear();
    fileDialogFilters.clear();
    unexpected.clear();
    progresses.clear();
    m_answers.clear();
    m_files.clear();
    m_cancels.clear();
    onMessage = nullptr;
    onAdvance = nullptr;
}

} // namespace mirvo::test
