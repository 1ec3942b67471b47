#include "drill/FrmMain.h"

#include "AppInfo.h"
#include "drill/DrillAccess.h"
#include "drill/DrillTexts.h"
#include "drill/QuestionPlan.h"
#include "platform/ElidedLabel.h"
#include "platform/FileListBox.h"
#include "platform/OptionCheckBox.h"
#include "platform/ProgramEnd.h"
#include "platform/Speech.h"
#include "settings/DeleteOption.h"
#include "store/WordStore.h"

#include <QAccessible>
#include <QCloseEvent>
#include <QLabel>

namespace mirvo {

void FrmMain::showEvent(QShowEvent *event)
{
    QMainWindow::showEvent(event);
    if (m_loaded)
        return;
    m_loaded = true;
    Form_Load();
}

void FrmMain::Form_Load()
{
    m_lbBanBen->setText(QStringLiteral("版本：%1.%2").arg(appinfo::versionMajor).arg(appinfo::versionMinor));
    m_flWords->setFolder(m_store.folder());
    if (m_flWords->count() > 0)
        cmdShift_Click();
    m_ckDlt->setValue(deleteoption::restore(m_services.settings, m_ckDlt->value()));
    m_updateCheck->start();
}

void FrmMain::cmdShift_Click()
{
    Huan();
}

void FrmMain::Huan()
{
    const int count = m_flWords->count();
    if (count == 0)
        return;
    // Selecting from code does not raise the list's own signal: the question is built once.
    m_flWords->select(pickWordPosition(m_services.random, count));
    flWords_Click();
}

void FrmMain::flWords_Click()
{
    const QString word = m_flWords->selectedName();
    if (word.isEmpty())
        return;
    const int count = m_flWords->count();
    m_Rema->setText(QString::number(count));
    showWord(word);
    const auto meaning = readMeaning(word);
    if (!meaning) {
        clearQuestion();
        return;
    }
    m_lbYiSi->setText(*meaning);

    const QuestionPlan plan = planQuestion(m_services.random, count);
    std::array<QString, 4> meanings;
    for (int index = 1; index <= 4; ++index) {
        const int position = plan.positions[index - 1];
        const auto optionMeaning = index == plan.right ? meaning : readMeaning(m_flWords->nameAt(position));
        if (!optionMeaning) {
            clearQuestion();
            return;
        }
        meanings[index - 1] = *optionMeaning;
    }
    showOptions(meanings);
}

void FrmMain::clearQuestion()
{
    // Half a question would judge one word's meaning against another: show none, and the
    // count of the listing that the failed read refreshed.
    m_Rema->setText(QString::number(m_flWords->count()));
    showWord(drilltexts::noWord);
    m_lbYiSi->setText(drilltexts::noMeaning);
    showOptions(drilltexts::noOptions);
}

void FrmMain::showOptions(const std::array<QString, 4> &meanings)
{
    for (int index = 1; index <= 4; ++index) {
        // The name first: the caption's change tells a screen reader, which then reads it.
        cmdOption(index)->setAccessibleName(drillaccess::answerName(index, meanings[index - 1]));
        cmdOption(index)->setCaption(meanings[index - 1]);
    }
}

void FrmMain::showWord(const QString &word)
{
    m_services.speech.stop(); // the old word must not run on into the new question
    const bool sameWord = m_lbWord->text() == word;
    m_lbWord->setWholeText(word); // a changed text tells a screen reader
    offerSpeech();
    if (!sameWord)
        return;
    // The same word again is a new question too: announce it as a changed text would be.
    QAccessibleEvent event(m_lbWord, QAccessible::NameChanged);
    QAccessible::updateAccessibility(&event);
}

void FrmMain::offerSpeech()
{
    m_lbWord->setToolTip(drillaccess::wordTip(m_lbWord->isCut() ? m_lbWord->text() : QString(),
                                              m_services.speech.available()));
}

void FrmMain::lbWord_Click()
{
    if (m_lbWord->text() == drilltexts::noWord || !m_services.speech.available())
        return;
    m_services.speech.say(m_lbWord->text());
}

void FrmMain::cmdOption_Click(int index)
{
    // The meaning itself, not what the button shows of it.
    if (cmdOption(index)->caption() != m_lbYiSi->text()) {
        cmdBuhui_Click();
        return;
    }
    QString error;
    if (m_ckDlt->value() == 1 && !m_store.deleteEntry(m_lbWord->text(), &error))
        showFailure(error);
    m_flWords->refresh();
    m_Rema->setText(QString::number(m_flWords->count()));
    if (m_flWords->count() == 0) {
        message(QStringLiteral("恭喜你，全部背掉了！"), MessageIcon::Information);
        if (!m_store.removeStore(&error))
            showFailure(error);
        m_services.programEnd.endNow();
        return;
    }
    message(QStringLiteral("恭喜！正确。"), MessageIcon::Information);
    Huan();
}

void FrmMain::cmdBuhui_Click()
{
    message(m_lbWord->text() + QLatin1Char(' ') + m_lbYiSi->text(), MessageIcon::Exclamation);
    Huan();
}

void FrmMain::Label3_Click()
{
    m_updateCheck->label3Click();
}

void FrmMain::closeEvent(QCloseEvent *event)
{
    const MessageAnswer answer =
        m_services.dialogs.message(this, QStringLiteral("确定要退出？感谢使用。"), appinfo::title,
                                   MessageIcon::Question, MessageButtons::YesNo);
    if (answer != MessageAnswer::Yes) {
        event->ignore();
        return;
    }
    QString error;
    if (!deleteoption::save(m_services.settings, m_ckDlt->value(), &error))
        showFailure(QStringLiteral("“自动删除正确单词”的设置没有保存：%1").arg(error));
    event->accept();
    m_services.programEnd.quit();
}

std::optional<QString> FrmMain::readMeaning(const QString &word)
{
    QString error;
    auto meaning = m_store.readMeaning(word, &error);
    if (!meaning) {
        // The entry changed on disk since the last listing: show the disk as it is now.
        m_flWords->refresh();
        showFailure(QStringLiteral("出题失败。%1").arg(error));
    }
    return meaning;
}

void FrmMain::showFailure(const QString &text)
{
    message(text, MessageIcon::Exclamation);
}

void FrmMain::message(const QString &text, MessageIcon icon)
{
    m_services.dialogs.message(this, text, appinfo::title, icon, MessageButtons::Ok);
}

} // namespace mirvo
