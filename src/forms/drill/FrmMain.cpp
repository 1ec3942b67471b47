#include "forms/drill/FrmMain.h"

#include "core/AppInfo.h"
#include "forms/drill/DrillAccess.h"
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
    load();
}

void FrmMain::load()
{
    m_versionLabel->setText(QStringLiteral("版本：%1.%2").arg(appinfo::versionMajor).arg(appinfo::versionMinor));
    m_drill.start();
    m_deleteOption->setValue(deleteoption::restore(m_services.settings, m_deleteOption->value()));
    m_updateCheck->start();
}

void FrmMain::bindDrill()
{
    connect(&m_drill, &Drill::questionChanged, this, &FrmMain::showQuestion);
    connect(&m_drill, &Drill::remainingCountChanged, this, &FrmMain::showCount);
    // Selecting from code does not raise the list's own signal: the question is built once.
    connect(&m_drill, &Drill::wordPicked, m_wordList, &FileListBox::select);
    connect(&m_drill, &Drill::messageDue, this, &FrmMain::showDrillMessage);
    connect(&m_drill, &Drill::finished, this, [this] { m_services.programEnd.endNow(); });
    showCount(m_drill.remainingCount());
}

void FrmMain::answer(int index)
{
    m_drill.answer(index, m_deleteOption->value() == 1);
}

void FrmMain::askSelectedWord()
{
    m_drill.askWordAt(m_wordList->selectedRow());
}

void FrmMain::showQuestion(const Question &question)
{
    showWord(question.word);
    showOptions(question.options);
}

void FrmMain::showCount(int count)
{
    m_countLabel->setText(QString::number(count));
}

void FrmMain::showOptions(const std::array<QString, 4> &meanings)
{
    for (int index = 1; index <= 4; ++index) {
        // The name first: the caption's change tells a screen reader, which then reads it.
        answerButton(index)->setAccessibleName(drillaccess::answerName(index, meanings[index - 1]));
        answerButton(index)->setCaption(meanings[index - 1]);
    }
}

void FrmMain::showWord(const QString &word)
{
    m_services.speech.stop(); // the old word must not run on into the new question
    const bool sameWord = m_wordLabel->text() == word;
    m_wordLabel->setWholeText(word); // a changed text tells a screen reader
    offerSpeech();
    if (!sameWord)
        return;
    // The same word again is a new question too: announce it as a changed text would be.
    QAccessibleEvent event(m_wordLabel, QAccessible::NameChanged);
    QAccessible::updateAccessibility(&event);
}

void FrmMain::offerSpeech()
{
    m_wordLabel->setToolTip(drillaccess::wordTip(m_wordLabel->isCut() ? m_wordLabel->text() : QString(),
                                                 m_services.speech.available()));
}

void FrmMain::speakWord()
{
    if (!m_drill.question().asked || !m_services.speech.available())
        return;
    m_services.speech.say(m_drill.question().word);
}

void FrmMain::closeEvent(QCloseEvent *event)
{
    const MessageAnswer answer = message(QStringLiteral("确定要退出？感谢使用。"), appinfo::title,
                                         MessageIcon::Question, MessageButtons::YesNo);
    if (answer != MessageAnswer::Yes) {
        event->ignore();
        return;
    }
    QString error;
    if (!deleteoption::save(m_services.settings, m_deleteOption->value(), &error))
        showFailure(QStringLiteral("“自动删除正确单词”的设置没有保存：%1").arg(error));
    event->accept();
    m_services.programEnd.quit();
}

void FrmMain::showDrillMessage(const DrillMessage &drillMessage)
{
    const MessageIcon icon =
        drillMessage.kind == DrillMessage::Kind::Information ? MessageIcon::Information : MessageIcon::Exclamation;
    message(drillMessage.text, appinfo::title, icon, MessageButtons::Ok);
}

void FrmMain::showFailure(const QString &text)
{
    message(text, appinfo::title, MessageIcon::Exclamation, MessageButtons::Ok);
}

MessageAnswer FrmMain::message(const QString &text, const QString &caption, MessageIcon icon,
                               MessageButtons buttons)
{
    // A page arriving meanwhile would be judged inside this box, and its question could end
    // the program before the step that showed the box has finished.
    const UpdateCheck::Hold hold(*m_updateCheck);
    return m_services.dialogs.message(this, text, caption, icon, buttons);
}

} // namespace mirvo
