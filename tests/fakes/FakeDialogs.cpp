#include "FakeDialogs.h"

namespace mirvo::test {

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
    for (const QString &text : unexpected)
        problems.append(QStringLiteral("unexpected: ") + text);
    return problems.join(QStringLiteral("; "));
}

void FakeDialogs::reset()
{
    shown.clear();
    fileDialogFilters.clear();
    unexpected.clear();
    m_answers.clear();
    m_files.clear();
    onMessage = nullptr;
}

} // namespace mirvo::test
