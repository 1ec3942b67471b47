#include "DrillFixture.h"
#include "widgets/FileListBox.h"

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

/// The window's ways to answer: its buttons clicked, keys from wherever the focus is, and the
/// order of what follows (the message, the count, the next question, a page that arrived).
class TestAnswers : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void inputs_data();
    void inputs();
    void answerKeysWaitForAnOpenDialog();
    void takeBackKey();
    void updateCheckWaitsForTheDrillsMessage();

private:
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

void TestAnswers::inputs_data()
{
    QTest::addColumn<QString>("stored"); // the delete option as stored
    QTest::addColumn<QString>("focus");  // clicked, or given the focus for the key
    QTest::addColumn<int>("key");        // 0: a mouse click
    QTest::addColumn<Qt::KeyboardModifiers>("modifiers");
    QTest::addColumn<int>("clicked");    // the answer button clicked; 0: none
    QTest::addColumn<QStringList>("messages");
    QTest::addColumn<int>("count");      // shown while the messages are up; 3: "a" not deleted
    QTest::addColumn<int>("draws");      // for another word: a pick and its build, a build, nothing
    const auto row = [](const char *name, const char *stored, const char *focus, int key, Qt::KeyboardModifiers modifiers,
                        int clicked, const QStringList &messages, int count, int draws) {
        QTest::newRow(name) << QString::fromLatin1(stored) << QString::fromLatin1(focus) << key << modifiers << clicked
                            << messages << count << draws;
    };
    const Qt::KeyboardModifiers none;
    const QStringList right{correct};
    const QStringList shown{QStringLiteral("a 一")};
    row("right, delete option on", "1", "cmdOption_1", 0, none, 1, right, 2, 5);
    row("right, delete option off", "0", "cmdOption_1", 0, none, 1, right, 3, 5);
    row("right, delete option grey", "2", "cmdOption_1", 0, none, 1, right, 3, 5);
    row("wrong answer", "1", "cmdOption_2", 0, none, 2, shown, 3, 5);
    row("don't know", "1", "cmdBuhui", 0, none, 0, shown, 3, 5);
    row("another word", "1", "cmdShift", 0, none, 0, {}, 3, 5);
    // The focused button takes Enter and Space, as the first run's message often leaves them.
    row("don't know, Enter", "1", "cmdBuhui", Qt::Key_Return, none, 0, shown, 3, 5);
    row("don't know, keypad Enter", "1", "cmdBuhui", Qt::Key_Enter, Qt::KeypadModifier, 0, shown, 3, 5);
    row("don't know, Space", "1", "cmdBuhui", Qt::Key_Space, none, 0, shown, 3, 5);
    // Keys 1-4 click their button from wherever the focus is.
    row("1 on 不会", "1", "cmdBuhui", Qt::Key_1, none, 1, right, 2, 5);
    row("2 in the list", "1", "flWords", Qt::Key_2, none, 2, shown, 3, 5);
    row("3 on ckDlt", "1", "ckDlt", Qt::Key_3, none, 3, shown, 3, 5);
    row("keypad 1 on 换一个", "1", "cmdShift", Qt::Key_1, Qt::KeypadModifier, 1, right, 2, 5);
    row("0", "1", "cmdBuhui", Qt::Key_0, none, 0, {}, 3, 0);
    row("Ctrl+1", "1", "cmdBuhui", Qt::Key_1, Qt::ControlModifier, 0, {}, 3, 0);
    // Letters still find words in the list, which then asks the word found.
    row("type-ahead in the list", "1", "flWords", Qt::Key_C, none, 0, {}, 3, 4);
}

void TestAnswers::inputs()
{
    QFETCH(QString, stored);
    QFETCH(QString, focus);
    QFETCH(int, key);
    QFETCH(Qt::KeyboardModifiers, modifiers);
    QFETCH(int, clicked);
    QFETCH(QStringList, messages);
    QFETCH(int, count);
    QFETCH(int, draws);
    m_fixture->fakes.settings.values.insert(shanchu, stored);
    openThreeWords();
    FrmMain &window = *m_fixture->window;
    window.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&window));
    std::vector<std::unique_ptr<QSignalSpy>> clicks;
    for (int index = 1; index <= 4; ++index)
        clicks.push_back(std::make_unique<QSignalSpy>(window.answerButton(index), &QPushButton::clicked));
    for (qsizetype i = 0; i < messages.size(); ++i)
        m_fixture->fakes.dialogs.answerNext(MessageAnswer::Ok);
    int countSeen = -1;
    m_fixture->fakes.dialogs.onMessage = [&](const FakeDialogs::Shown &) { countSeen = m_fixture->text("Rema").toInt(); };
    m_fixture->fakes.random.script(QList<float>{0.9f, 0.0f, 0.0f, 0.0f, 0.0f}.last(draws));
    QWidget *target = window.findChild<QWidget *>(focus);
    if (key == 0) {
        QTest::mouseClick(target, Qt::LeftButton);
    } else {
        target->setFocus();
        QCOMPARE(QApplication::focusWidget(), target);
        QTest::keyClick(target, Qt::Key(key), modifiers);
    }

    // Exactly a click of the button: the right answer is congratulated, a wrong one shows the word.
    for (int index = 1; index <= 4; ++index)
        QCOMPARE(clicks.at(index - 1)->count(), index == clicked ? 1 : 0);
    QCOMPARE(m_fixture->fakes.dialogs.shownTexts(), messages);
    for (const FakeDialogs::Shown &box : std::as_const(m_fixture->fakes.dialogs.shown)) {
        QCOMPARE(box.icon, box.text == correct ? MessageIcon::Information : MessageIcon::Exclamation);
        QCOMPARE(box.caption, QStringLiteral("Mirvo背单词"));
        QCOMPARE(box.buttons, MessageButtons::Ok);
        QCOMPARE(countSeen, count);
    }
    // The next question follows the message.
    QCOMPARE(m_fixture->text("lbWord"), draws ? QStringLiteral("c") : QStringLiteral("a"));
    QCOMPARE(QFile::exists(m_fixture->store->entryPath(QStringLiteral("a"))), count == 3);
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

void TestAnswers::takeBackKey()
{
    openThreeWords();
    FrmMain &window = *m_fixture->window;
    m_fixture->fakes.dialogs.answerNext(MessageAnswer::Ok);
    m_fixture->fakes.random.script({0.0f, 0.0f, 0.0f, 0.0f, 0.0f});
    window.answerButton(1)->click();
    QCOMPARE(m_fixture->text("lbWord"), QStringLiteral("b"));
    // "a" asked again: on button 1, distractors "b".
    m_fixture->fakes.random.script({0.0f, 0.0f, 0.0f, 0.0f});
    window.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&window));
    window.wordList()->setFocus();

    QTest::keyClick(window.wordList(), Qt::Key_Z, Qt::ControlModifier);

    // "a" back in the count, selected in the list and asked again.
    QCOMPARE(m_fixture->text("lbWord"), QStringLiteral("a"));
    QCOMPARE(m_fixture->text("Rema"), QStringLiteral("3"));
    QCOMPARE(m_fixture->store->words().nameAt(window.wordList()->selectedRow()), QStringLiteral("a"));
}

void TestAnswers::updateCheckWaitsForTheDrillsMessage()
{
    m_fixture->addWords({{QStringLiteral("a"), QStringLiteral("一")}});
    m_fixture->fakes.random.script({0.0f, 0.0f, 0.0f, 0.0f, 0.0f});
    m_fixture->open();
    const QString upgradeQuestion = QStringLiteral("有新版本，是否升级？单击取消不再提醒。");
    bool storeThereAtQuestion = true;
    // A newer version announced while the last word's message is up.
    m_fixture->fakes.dialogs.onMessage = [&](const FakeDialogs::Shown &shown) {
        if (shown.text == upgradeQuestion)
            storeThereAtQuestion = QFileInfo::exists(m_fixture->store->folder());
        else
            m_fixture->fakes.pageLoader.finishWith(QStringLiteral("[9.9]"));
    };
    m_fixture->fakes.dialogs.answerNext(MessageAnswer::Ok);
    m_fixture->fakes.dialogs.answerNext(MessageAnswer::Yes);
    m_fixture->window->answerButton(1)->click();

    // Not inside the drill's box: the step ends first, with the store removed and the program
    // ended at once (no close question, the option not saved).
    QCOMPARE(m_fixture->fakes.dialogs.shownTexts(), QStringList{allLearned});
    QCOMPARE(m_fixture->fakes.programEnd.ends, 1);
    QCOMPARE(m_fixture->fakes.settings.saves, 0);
    QTRY_COMPARE(m_fixture->fakes.dialogs.shown.size(), 2);
    QCOMPARE(m_fixture->fakes.dialogs.shown.at(1).text, upgradeQuestion);
    QVERIFY(!storeThereAtQuestion);
}

QTEST_MAIN(TestAnswers)
#include "tst_answers.moc"
