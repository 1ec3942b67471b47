#include "DrillFixture.h"

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
const QString quitQuestion = QStringLiteral("确定要退出？感谢使用。");
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
    void eitherButtonWithTheMeaningIsRight();
    void answerKeys_data();
    void answerKeys();
    void answerKeysWaitForAnOpenDialog();
    void lastWordEndsTheDrill();
    void storeThatCannotBeRemovedStillEnds();
    void storeThatCannotBeReadIsNoEnd();
    void entryAlreadyGoneCountsAsDeleted();
    void restoresDeleteOption_data();
    void restoresDeleteOption();
    void closeAsks_data();
    void closeAsks();

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
    QTest::mouseClick(m_fixture->window->cmdOption(1), Qt::LeftButton);

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
                                      : m_fixture->window->cmdOption(button);
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

void TestAnswers::eitherButtonWithTheMeaningIsRight()
{
    m_fixture->addWords({{QStringLiteral("a"), QStringLiteral("一")}, {QStringLiteral("b"), QStringLiteral("二")}});
    // "a" on button 1, and again as the distractor of button 3.
    m_fixture->fakes.random.script({0.0f, 0.0f, 0.9f, 0.0f, 0.9f});
    m_fixture->open();
    QCOMPARE(m_fixture->captions(), (QStringList{QStringLiteral("一"), QStringLiteral("二"), QStringLiteral("一"), QStringLiteral("二")}));
    ckDlt()->setChecked(false);
    m_fixture->fakes.dialogs.answerNext(MessageAnswer::Ok);
    m_fixture->fakes.random.script({0.0f, 0.0f, 0.0f, 0.0f, 0.0f});
    m_fixture->window->cmdOption_Click(3);
    QCOMPARE(m_fixture->fakes.dialogs.shownTexts(), QStringList{correct});
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
        clicks.push_back(std::make_unique<QSignalSpy>(window.cmdOption(index), &QPushButton::clicked));
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
    QSignalSpy click(window.cmdOption(1), &QPushButton::clicked);
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

void TestAnswers::lastWordEndsTheDrill()
{
    m_fixture->addWords({{QStringLiteral("only"), QStringLiteral("唯一")}});
    m_fixture->fakes.random.script({0.0f, 0.0f, 0.0f, 0.0f, 0.0f});
    m_fixture->open();
    ckDlt()->setChecked(true);
    m_fixture->fakes.settings.values.insert(shanchu, QStringLiteral("0"));
    QString countSeen;
    m_fixture->fakes.dialogs.onMessage = [&](const FakeDialogs::Shown &) { countSeen = m_fixture->text("Rema"); };
    m_fixture->fakes.dialogs.answerNext(MessageAnswer::Ok);
    m_fixture->window->cmdOption_Click(4);

    QCOMPARE(m_fixture->fakes.dialogs.shownTexts(), QStringList{allLearned});
    QCOMPARE(m_fixture->fakes.dialogs.shown.at(0).icon, MessageIcon::Information);
    QCOMPARE(countSeen, QStringLiteral("0"));
    QVERIFY(!QFileInfo::exists(m_fixture->store->folder()));
    QCOMPARE(m_fixture->fakes.programEnd.ends, 1);
    // Ended at once: no close question, the option not saved.
    QCOMPARE(m_fixture->fakes.settings.saves, 0);
    QCOMPARE(m_fixture->fakes.settings.values.value(shanchu), QStringLiteral("0"));
}

void TestAnswers::storeThatCannotBeRemovedStillEnds()
{
    m_fixture->addWords({{QStringLiteral("only"), QStringLiteral("唯一")}});
    QVERIFY(test::writeHiddenFile(m_fixture->store->folder() + QStringLiteral("/.notes"), "mine"));
    m_fixture->fakes.random.script({0.0f, 0.0f, 0.0f, 0.0f, 0.0f});
    m_fixture->open();
    m_fixture->fakes.dialogs.answerNext(MessageAnswer::Ok);
    m_fixture->fakes.dialogs.answerNext(MessageAnswer::Ok);
    m_fixture->window->cmdOption_Click(1);
    QCOMPARE(m_fixture->fakes.dialogs.shown.size(), 2);
    QCOMPARE(m_fixture->fakes.dialogs.shown.at(0).text, allLearned);
    QVERIFY(m_fixture->fakes.dialogs.shown.at(1).text.contains(QDir::toNativeSeparators(m_fixture->store->folder())));
    QCOMPARE(test::readBytes(m_fixture->store->folder() + QStringLiteral("/.notes")), QByteArray("mine"));
    QCOMPARE(m_fixture->fakes.programEnd.ends, 1);
}

void TestAnswers::storeThatCannotBeReadIsNoEnd()
{
    m_fixture->addWords({{QStringLiteral("only"), QStringLiteral("唯一")}});
    m_fixture->fakes.random.script({0.0f, 0.0f, 0.0f, 0.0f, 0.0f});
    m_fixture->open();
    const QString folder = m_fixture->store->folder();
    const QString away = m_fixture->dir.filePath(QStringLiteral("away"));
    QVERIFY(QDir().rename(folder, away));

    // No congratulation, no removal, no end: the store cannot be read, and the user is told why.
    m_fixture->fakes.dialogs.answerNext(MessageAnswer::Ok);
    m_fixture->window->cmdOption_Click(1);
    QCOMPARE(m_fixture->fakes.dialogs.shownTexts(),
             QStringList{QStringLiteral("无法读取词库文件夹“%1”：文件或文件夹不存在").arg(QDir::toNativeSeparators(folder))});
    QCOMPARE(m_fixture->fakes.programEnd.ends, 0);
    QCOMPARE(m_fixture->text("lbWord"), QStringLiteral("单词"));
    QCOMPARE(m_fixture->text("Rema"), QStringLiteral("0"));
    QVERIFY(QFileInfo::exists(away + QStringLiteral("/only")));

    // Back in its place, the store is read again for the next word.
    QVERIFY(QDir().rename(away, folder));
    m_fixture->fakes.random.script({0.0f, 0.0f, 0.0f, 0.0f, 0.0f});
    m_fixture->window->cmdShift_Click();
    QCOMPARE(m_fixture->text("lbWord"), QStringLiteral("only"));
    QCOMPARE(m_fixture->text("Rema"), QStringLiteral("1"));
}

void TestAnswers::entryAlreadyGoneCountsAsDeleted()
{
    openThreeWords();
    QVERIFY(QFile::remove(m_fixture->store->entryPath(QStringLiteral("a"))));
    m_fixture->fakes.dialogs.answerNext(MessageAnswer::Ok);
    m_fixture->fakes.random.script({0.0f, 0.0f, 0.0f, 0.0f, 0.0f});
    m_fixture->window->cmdOption_Click(1);
    QCOMPARE(m_fixture->fakes.dialogs.shownTexts(), QStringList{correct});
    QCOMPARE(m_fixture->text("Rema"), QStringLiteral("2"));
}

void TestAnswers::restoresDeleteOption_data()
{
    QTest::addColumn<QString>("stored");
    QTest::addColumn<Qt::CheckState>("state");
    QTest::addColumn<Qt::CheckState>("afterClick");
    QTest::newRow("first run") << QString() << Qt::Checked << Qt::Unchecked;
    QTest::newRow("stored 0") << QStringLiteral("0") << Qt::Unchecked << Qt::Checked;
    QTest::newRow("stored 1") << QStringLiteral("1") << Qt::Checked << Qt::Unchecked;
    QTest::newRow("stored 2: grey, a click checks it") << QStringLiteral("2") << Qt::PartiallyChecked << Qt::Checked;
    QTest::newRow("not a number") << QStringLiteral("x") << Qt::Checked << Qt::Unchecked;
    QTest::newRow("another number") << QStringLiteral("3") << Qt::Checked << Qt::Unchecked;
}

void TestAnswers::restoresDeleteOption()
{
    QFETCH(QString, stored);
    QFETCH(Qt::CheckState, state);
    QFETCH(Qt::CheckState, afterClick);
    if (!stored.isNull())
        m_fixture->fakes.settings.values.insert(shanchu, stored);
    m_fixture->open();
    QCOMPARE(ckDlt()->checkState(), state);

    // Anywhere in its rectangle, far right of the caption too; then it toggles as ever.
    const QRect area = ckDlt()->rect();
    QTest::mouseClick(ckDlt(), Qt::LeftButton, {}, QPoint(area.right() - 2, area.center().y()));
    QCOMPARE(ckDlt()->checkState(), afterClick);
    QTest::mouseClick(ckDlt(), Qt::LeftButton, {}, QPoint(area.right() - 2, area.center().y()));
    QCOMPARE(ckDlt()->checkState(), afterClick == Qt::Checked ? Qt::Unchecked : Qt::Checked);
    const QAccessibleInterface *accessible = QAccessible::queryAccessibleInterface(ckDlt());
    QVERIFY(accessible);
    QCOMPARE(accessible->rect(), QRect(ckDlt()->mapToGlobal(QPoint(0, 0)), ckDlt()->size()));
}

void TestAnswers::closeAsks_data()
{
    QTest::addColumn<MessageAnswer>("answer");
    QTest::addColumn<Qt::CheckState>("state");
    QTest::addColumn<QString>("saved");
    QTest::newRow("no") << MessageAnswer::No << Qt::Checked << QString();
    QTest::newRow("yes, checked") << MessageAnswer::Yes << Qt::Checked << QStringLiteral("1");
    QTest::newRow("yes, unchecked") << MessageAnswer::Yes << Qt::Unchecked << QStringLiteral("0");
    QTest::newRow("yes, grey") << MessageAnswer::Yes << Qt::PartiallyChecked << QStringLiteral("2");
}

void TestAnswers::closeAsks()
{
    QFETCH(MessageAnswer, answer);
    QFETCH(Qt::CheckState, state);
    QFETCH(QString, saved);
    m_fixture->open();
    ckDlt()->setCheckState(state);
    m_fixture->fakes.dialogs.answerNext(answer);
    const bool closed = m_fixture->window->close();
    QCOMPARE(m_fixture->fakes.dialogs.shown.size(), 1);
    QCOMPARE(m_fixture->fakes.dialogs.shown.at(0).text, quitQuestion);
    QCOMPARE(m_fixture->fakes.dialogs.shown.at(0).icon, MessageIcon::Question);
    QCOMPARE(m_fixture->fakes.dialogs.shown.at(0).buttons, MessageButtons::YesNo);
    if (answer == MessageAnswer::No) {
        QVERIFY(!closed);
        QVERIFY(m_fixture->window->isVisible());
        QCOMPARE(m_fixture->fakes.settings.saves, 0);
        QCOMPARE(m_fixture->fakes.programEnd.quits, 0);
    } else {
        QCOMPARE(m_fixture->fakes.settings.values.value(shanchu), saved);
        QCOMPARE(m_fixture->fakes.programEnd.quits, 1);
    }
    QCOMPARE(m_fixture->fakes.programEnd.ends, 0);
}

QTEST_MAIN(TestAnswers)
#include "tst_answers.moc"
