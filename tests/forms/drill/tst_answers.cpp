#include "DrillFixture.h"
#include "widgets/FileListBox.h"

#include <QAccessible>
#include <QCheckBox>
#include <QCloseEvent>
#include <QDir>
#include <QMessageBox>
#include <QPushButton>
#include <QSignalSpy>

using namespace mirvo;
using namespace mirvo::test;

namespace {

const QString correct = QStringLiteral("恭喜！正确。");
const QString allLearned = QStringLiteral("恭喜你，全部背掉了！");
const QString shanchu = MemorySettings::address(QStringLiteral("Velko"), QStringLiteral("Mirvo背单词"),
                                                 QStringLiteral("shanchu"));

} // namespace

class TestAnswers : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void rightAnswer_data();
    void rightAnswer();
    void wrongAnswerAndDontKnow_data();
    void wrongAnswerAndDontKnow();
    void answerKeys_data();
    void answerKeys();
    void answerKeysWaitForAnOpenDialog();
    void takeBackKey_data();
    void takeBackKey();
    void updateCheckWaitsForTheDrillsMessage_data();
    void updateCheckWaitsForTheDrillsMessage();

private:
    QCheckBox *ckDlt() const { return m_fixture->window->findChild<QCheckBox *>(QStringLiteral("ckDlt")); }
    /// Three words; the first question asks "a" with its meaning on button 1 and "c" elsewhere.
    void openThreeWords();
    std::unique_ptr<DrillFixture> m_fixture;
};

void TestAnswers::init()
{
    m_fixture = std::make_unique<DrillFixture>();
}

void TestAnswers::cleanup()
{
    QVERIFY2(m_fixture->problems().isEmpty(), qPrintable(m_fixture->problems()));
    m_fixture.reset();
}

void TestAnswers::openThreeWords()
{
    m_fixture->addWords({{QStringLiteral("a"), QStringLiteral("一")}, {QStringLiteral("b"), QStringLiteral("二")},
                         {QStringLiteral("c"), QStringLiteral("三")}});
    m_fixture->fakes.random.script({0.0f, 0.0f, 0.9f, 0.9f, 0.9f});
    m_fixture->open();
    QCOMPARE(m_fixture->captions(), (QStringList{QStringLiteral("一"), QStringLiteral("三"), QStringLiteral("三"), QStringLiteral("三")}));
}

void TestAnswers::rightAnswer_data()
{
    QTest::addColumn<QString>("deleteOption"); // as stored
    QTest::addColumn<QString>("countDuringMessage");
    QTest::newRow("delete option on") << QStringLiteral("1") << QStringLiteral("2");
    QTest::newRow("delete option off") << QStringLiteral("0") << QStringLiteral("3");
    QTest::newRow("delete option grey") << QStringLiteral("2") << QStringLiteral("3");
}

void TestAnswers::rightAnswer()
{
    QFETCH(QString, deleteOption);
    QFETCH(QString, countDuringMessage);
    m_fixture->fakes.settings.values.insert(shanchu, deleteOption);
    openThreeWords();
    const bool deletes = deleteOption == QLatin1String("1");
    QString countSeen;
    m_fixture->fakes.dialogs.onMessage = [&](const FakeDialogs::Shown &) { countSeen = m_fixture->text("Rema"); };
    m_fixture->fakes.dialogs.answerNext(MessageAnswer::Ok);
    m_fixture->fakes.random.script({0.0f, 0.0f, 0.0f, 0.0f, 0.0f});
    QTest::mouseClick(m_fixture->window->answerButton(1), Qt::LeftButton);

    QCOMPARE(m_fixture->fakes.dialogs.shown.size(), 1);
    QCOMPARE(m_fixture->fakes.dialogs.shown.at(0).text, correct);
    QCOMPARE(m_fixture->fakes.dialogs.shown.at(0).icon, MessageIcon::Information);
    QCOMPARE(m_fixture->fakes.dialogs.shown.at(0).caption, QStringLiteral("Mirvo背单词"));
    QCOMPARE(countSeen, countDuringMessage);
    QCOMPARE(QFile::exists(m_fixture->store->entryPath(QStringLiteral("a"))), !deletes);
    // The next question follows the confirmation.
    QCOMPARE(m_fixture->text("lbWord"), deletes ? QStringLiteral("b") : QStringLiteral("a"));
    QCOMPARE(m_fixture->fakes.programEnd.ends, 0);
}

void TestAnswers::wrongAnswerAndDontKnow_data()
{
    QTest::addColumn<int>("button"); // 0 = 不会
    QTest::addColumn<int>("key");    // 0 = a mouse click; else the key pressed on the focused button
    QTest::newRow("wrong answer") << 2 << 0;
    QTest::newRow("don't know") << 0 << 0;
    QTest::newRow("wrong answer, Enter") << 2 << int(Qt::Key_Return);
    QTest::newRow("don't know, Enter on the first focus") << 0 << int(Qt::Key_Return);
    QTest::newRow("don't know, keypad Enter") << 0 << int(Qt::Key_Enter);
    QTest::newRow("don't know, Space") << 0 << int(Qt::Key_Space);
}

void TestAnswers::wrongAnswerAndDontKnow()
{
    QFETCH(int, button);
    QFETCH(int, key);
    openThreeWords();
    m_fixture->fakes.dialogs.answerNext(MessageAnswer::Ok);
    m_fixture->fakes.random.script({0.9f, 0.0f, 0.0f, 0.0f, 0.0f});
    QPushButton *target = button == 0 ? m_fixture->window->findChild<QPushButton *>(QStringLiteral("cmdBuhui"))
                                      : m_fixture->window->answerButton(button);
    if (key == 0) {
        QTest::mouseClick(target, Qt::LeftButton);
    } else {
        target->setFocus();
        QCOMPARE(m_fixture->window->focusWidget(), target);
        QTest::keyClick(target, Qt::Key(key), key == Qt::Key_Enter ? Qt::KeypadModifier : Qt::NoModifier);
        QVERIFY(!target->isDefault());
    }
    QCOMPARE(m_fixture->fakes.dialogs.shown.size(), 1);
    QCOMPARE(m_fixture->fakes.dialogs.shown.at(0).text, QStringLiteral("a 一"));
    QCOMPARE(m_fixture->fakes.dialogs.shown.at(0).icon, MessageIcon::Exclamation);
    QCOMPARE(m_fixture->fakes.dialogs.shown.at(0).buttons, MessageButtons::Ok);
    QVERIFY(QFile::exists(m_fixture->store->entryPath(QStringLiteral("a"))));
    QCOMPARE(m_fixture->text("lbWord"), QStringLiteral("c"));
    QCOMPARE(m_fixture->text("Rema"), QStringLiteral("3"));
}

void TestAnswers::answerKeys_data()
{
    QTest::addColumn<int>("key");
    QTest::addColumn<Qt::KeyboardModifiers>("modifiers");
    QTest::addColumn<QString>("focus");
    QTest::addColumn<int>("button"); // 0: no button
    QTest::addColumn<QString>("wordAfter");
    const Qt::KeyboardModifiers none;
    QTest::newRow("1 on 不会") << int(Qt::Key_1) << none << "cmdBuhui" << 1 << "c";
    QTest::newRow("2 in the list") << int(Qt::Key_2) << none << "flWords" << 2 << "c";
    QTest::newRow("3 on ckDlt") << int(Qt::Key_3) << none << "ckDlt" << 3 << "c";
    QTest::newRow("4 on button 1") << int(Qt::Key_4) << none << "cmdOption_1" << 4 << "c";
    QTest::newRow("keypad 1 on 换一个") << int(Qt::Key_1) << Qt::KeyboardModifiers(Qt::KeypadModifier) << "cmdShift" << 1 << "c";
    QTest::newRow("keypad 4 in the list") << int(Qt::Key_4) << Qt::KeyboardModifiers(Qt::KeypadModifier) << "flWords" << 4 << "c";
    QTest::newRow("0") << int(Qt::Key_0) << none << "cmdBuhui" << 0 << "a";
    QTest::newRow("5") << int(Qt::Key_5) << none << "flWords" << 0 << "a";
    QTest::newRow("Ctrl+1") << int(Qt::Key_1) << Qt::KeyboardModifiers(Qt::ControlModifier) << "cmdBuhui" << 0 << "a";
    // Letters still find words in the list, which then asks the word found.
    QTest::newRow("type-ahead in the list") << int(Qt::Key_C) << none << "flWords" << 0 << "c";
}

void TestAnswers::answerKeys()
{
    QFETCH(int, key);
    QFETCH(Qt::KeyboardModifiers, modifiers);
    QFETCH(QString, focus);
    QFETCH(int, button);
    QFETCH(QString, wordAfter);
    openThreeWords();
    FrmMain &window = *m_fixture->window;
    window.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&window));
    std::vector<std::unique_ptr<QSignalSpy>> clicks;
    for (int index = 1; index <= 4; ++index)
        clicks.push_back(std::make_unique<QSignalSpy>(window.answerButton(index), &QPushButton::clicked));
    if (button != 0) {
        m_fixture->fakes.dialogs.answerNext(MessageAnswer::Ok);
        m_fixture->fakes.random.script({0.9f, 0.0f, 0.0f, 0.0f, 0.0f});
    } else if (wordAfter != QLatin1String("a")) {
        m_fixture->fakes.random.script({0.0f, 0.0f, 0.0f, 0.0f});
    }
    QWidget *target = window.findChild<QWidget *>(focus);
    target->setFocus();

    QTest::keyClick(target, Qt::Key(key), modifiers);

    for (int index = 1; index <= 4; ++index)
        QCOMPARE(clicks.at(index - 1)->count(), index == button ? 1 : 0);
    // Exactly a click: the right answer is congratulated, a wrong one shows the word.
    const QStringList expected = button == 0 ? QStringList() : button == 1 ? QStringList{correct} : QStringList{QStringLiteral("a 一")};
    QCOMPARE(m_fixture->fakes.dialogs.shownTexts(), expected);
    QCOMPARE(m_fixture->text("lbWord"), wordAfter);
}

void TestAnswers::answerKeysWaitForAnOpenDialog()
{
    openThreeWords();
    FrmMain &window = *m_fixture->window;
    QSignalSpy click(window.answerButton(1), &QPushButton::clicked);
    QMessageBox box(QMessageBox::Information, QStringLiteral("Mirvo背单词"), QStringLiteral("x"), QMessageBox::Ok, &window);
    box.setWindowModality(Qt::ApplicationModal);
    box.show();
    QVERIFY(QTest::qWaitForWindowActive(&box));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_1);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_1, Qt::KeypadModifier);
    QCOMPARE(click.count(), 0);
    box.close();
    QCOMPARE(m_fixture->text("lbWord"), QStringLiteral("a"));
}

void TestAnswers::takeBackKey_data()
{
    QTest::addColumn<int>("answers"); // right answers before the key, deleting
    QTest::addColumn<QString>("focus");
    QTest::newRow("from 不会") << 1 << "cmdBuhui";
    QTest::newRow("from the list") << 1 << "flWords";
    QTest::newRow("from ckDlt") << 1 << "ckDlt";
    QTest::newRow("nothing to take back") << 0 << "cmdBuhui";
}

void TestAnswers::takeBackKey()
{
    QFETCH(int, answers);
    QFETCH(QString, focus);
    openThreeWords();
    FrmMain &window = *m_fixture->window;
    if (answers > 0) {
        m_fixture->fakes.dialogs.answerNext(MessageAnswer::Ok);
        m_fixture->fakes.random.script({0.0f, 0.0f, 0.0f, 0.0f, 0.0f});
        window.answerButton(1)->click();
        QCOMPARE(m_fixture->text("lbWord"), QStringLiteral("b"));
        // "a" asked again: on button 1, distractors "b".
        m_fixture->fakes.random.script({0.0f, 0.0f, 0.0f, 0.0f});
    }
    window.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&window));
    QWidget *target = window.findChild<QWidget *>(focus);
    target->setFocus();

    QTest::keyClick(target, Qt::Key_Z, Qt::ControlModifier);

    // "a" back in the list and the count, selected and asked again; with nothing to take
    // back, still the first question.
    QCOMPARE(m_fixture->text("lbWord"), QStringLiteral("a"));
    QCOMPARE(m_fixture->text("Rema"), QStringLiteral("3"));
    QCOMPARE(m_fixture->store->words().nameAt(window.wordList()->selectedRow()), QStringLiteral("a"));
    QVERIFY(QFile::exists(m_fixture->store->entryPath(QStringLiteral("a"))));
    QCOMPARE(m_fixture->fakes.dialogs.shown.size(), answers);
}

void TestAnswers::updateCheckWaitsForTheDrillsMessage_data()
{
    QTest::addColumn<bool>("lastWord");
    QTest::newRow("the last word") << true;
    QTest::newRow("a right answer") << false;
}

void TestAnswers::updateCheckWaitsForTheDrillsMessage()
{
    QFETCH(bool, lastWord);
    m_fixture->addWords({{QStringLiteral("a"), QStringLiteral("一")}});
    if (!lastWord)
        m_fixture->addWords({{QStringLiteral("b"), QStringLiteral("二")}});
    m_fixture->fakes.random.script({0.0f, 0.0f, 0.0f, 0.0f, 0.0f});
    m_fixture->open();
    const QString upgradeQuestion = QStringLiteral("有新版本，是否升级？单击取消不再提醒。");
    bool storeThereAtQuestion = true;
    QString askedAtQuestion;
    // A newer version announced while the drill's message is up.
    m_fixture->fakes.dialogs.onMessage = [&](const FakeDialogs::Shown &shown) {
        if (shown.text == upgradeQuestion) {
            storeThereAtQuestion = QFileInfo::exists(m_fixture->store->folder());
            askedAtQuestion = m_fixture->text("lbWord");
        } else {
            m_fixture->fakes.pageLoader.finishWith(QStringLiteral("[9.9]"));
        }
    };
    m_fixture->fakes.dialogs.answerNext(MessageAnswer::Ok);
    m_fixture->fakes.dialogs.answerNext(MessageAnswer::Yes);
    if (!lastWord)
        m_fixture->fakes.random.script({0.9f, 0.0f, 0.0f, 0.0f, 0.0f});
    m_fixture->window->answerButton(1)->click();

    // Not inside the drill's box: the step ends first, with the store removed and the program
    // ended at once in the last word's case (no close question, the option not saved).
    QCOMPARE(m_fixture->fakes.dialogs.shownTexts(), QStringList{lastWord ? allLearned : correct});
    QCOMPARE(m_fixture->fakes.dialogs.shown.at(0).icon, MessageIcon::Information);
    QCOMPARE(m_fixture->fakes.programEnd.ends, lastWord ? 1 : 0);
    QCOMPARE(m_fixture->fakes.settings.saves, 0);
    QTRY_COMPARE(m_fixture->fakes.dialogs.shown.size(), 2);
    QCOMPARE(m_fixture->fakes.dialogs.shown.at(1).text, upgradeQuestion);
    QCOMPARE(storeThereAtQuestion, !lastWord);
    QCOMPARE(askedAtQuestion, lastWord ? QStringLiteral("a") : QStringLiteral("b"));
}

QTEST_MAIN(TestAnswers)
#include "tst_answers.moc"
