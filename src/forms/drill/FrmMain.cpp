#include "forms/drill/FrmMain.h"

#include "core/AppInfo.h"
#include "core/store/WordList.h"
#include "core/store/WordStore.h"
#include "forms/drill/DrillAccess.h"
#include "forms/drill/DrillTexts.h"
#include "forms/drill/QuestionPlan.h"
#include "forms/settings/DeleteOption.h"
#include "platform/ProgramEnd.h"
#include "platform/Speech.h"
#include "widgets/ElidedLabel.h"
#include "widgets/FileListBox.h"
#include "widgets/OptionCheckBox.h"

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
    if (readWords(Reading::Whole) && m_store.words().count() > 0)
        cmdShift_Click();
    m_ckDlt->setValue(deleteoption::restore(m_services.settings, m_ckDlt->value()));
    m_updateCheck->start();
}

void FrmMain::cmdShift_Click()
{
    // After a reading that failed, another word is worth another look at the store.
    if (m_store.words().failed() && !readWords(Reading::Whole))
        return;
    Huan();
}

void FrmMain::Huan()
{
    const int count = m_store.words().count();
    if (count == 0)
        return;
    // Selecting from code does not raise the list's own signal: the question is built once.
    m_flWords->select(pickWordPosition(m_services.random, count));
    flWords_Click();
}

void FrmMain::flWords_Click()
{
    const int row = m_flWords->selectedRow();
    if (row < 0)
        return;
    const WordList &words = m_store.words();
    m_Rema->setText(QString::number(words.count()));
    const QString word = words.nameAt(row);
    showWord(word);
    QString error;
    if (const auto question = askQuestion(m_store, word, m_services.random, &error)) {
        showQuestion(*question);
        return;
    }
    // The entry changed on disk in a way the list missed: read the store whole, and show it.
    if (readWords(Reading::Whole)) {
        clearQuestion();
        showFailure(QStringLiteral("出题失败。%1").arg(error));
    }
}

bool FrmMain::readWords(Reading reading)
{
    WordList &words = m_store.words();
    QString error;
    if (reading == Reading::Whole ? words.reread(&error) : words.refresh(&error))
        return true;
    clearQuestion();
    showFailure(error);
    return false;
}

void FrmMain::showQuestion(const Question &question)
{
    m_question = question;
    showOptions(question.options);
}

void FrmMain::clearQuestion()
{
    // Half a question would judge one word's meaning against another: show none, and the
    // count of the listing as it now is.
    m_Rema->setText(QString::number(m_store.words().count()));
    showWord(drilltexts::noWord);
    m_question = unaskedQuestion();
    showOptions(m_question.options);
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
    if (!m_question.asked || !m_services.speech.available())
        return;
    m_services.speech.say(m_question.word);
}

void FrmMain::cmdOption_Click(int index)
{
    if (!m_question.isRight(index)) {
        cmdBuhui_Click();
        return;
    }
    QString error;
    if (m_ckDlt->value() == 1 && !m_store.deleteEntry(m_question.word, &error))
        showFailure(error);
    // A store that cannot be read is no store learned to its end.
    if (!readWords(Reading::Changes))
        return;
    const int count = m_store.words().count();
    m_Rema->setText(QString::number(count));
    if (count == 0) {
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
    message(m_question.revealed(), MessageIcon::Exclamation);
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

void FrmMain::showFailure(const QString &text)
{
    message(text, MessageIcon::Exclamation);
}

void FrmMain::message(const QString &text, MessageIcon icon)
{
    m_services.dialogs.message(this, text, appinfo::title, icon, MessageButtons::Ok);
}

} // namespace mirvo
