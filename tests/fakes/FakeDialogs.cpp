#include "FakeDialogs.h"

namespace mirvo::test {

namespace {

class FakeProgress final : public Progress
{
public:
    FakeProgress(FakeDialogs &dialogs, std::optional<qint64> cancelAt)
        : m_dialogs(dialogs)
        , m_cancelAt(cancelAt)
    {
    }

    ~FakeProgress() override { m_dialogs.progressUp = false; }

    bool advance(qint64 done) override
    {
        m_dialogs.progressDone = done;
        if (m_dialogs.onAdvance)
            m_dialogs.onAdvance(done);
        return !m_cancelAt || done < *m_cancelAt;
    }

private:
    FakeDialogs &m_dialogs;
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

std::unique_ptr<Progress> FakeDialogs::progress(QWidget *, const QString &, const QString &, qint64 maximum)
{
    progressMaximum = maximum;
    progressUp = true;
    return std::make_unique<FakeProgress>(*this, m_cancelAt);
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
    if (m_cancelAt && progressDone < *m_cancelAt)
        problems.append(QStringLiteral("scripted cancel at %1 not reached").arg(*m_cancelAt));
    for (const QString &text : unexpected)
        problems.append(QStringLiteral("unexpected: ") + text);
    return problems.join(QStringLiteral("; "));
}

void FakeDialogs::reset()
{
    shown.clear();
    fileDialogFilters.clear();
    unexpected.clear();
    progressMaximum = -1;
    progressDone = -1;
    progressUp = false;
    m_answers.clear();
    m_files.clear();
    m_cancelAt.reset();
    onMessage = nullptr;
    onAdvance = nullptr;
}

} // namespace mirvo::test
