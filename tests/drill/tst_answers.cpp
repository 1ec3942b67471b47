#include "DrillFixture.h"
#include "platform/FileListBox.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QDir>
#include <QPushButton>

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
    void lastWordEndsTheDrill();
    void storeThatCannotBeRemovedStillEnds();
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
    QTest::addColumn<bool>("deleteOption");
    QTest::addColumn<QString>("countDuringMessage");
    QTest::newRow("delete option on") << true << QStringLiteral("2");
    QTest::newRow("delete option off") << false << QStringLiteral("3");
}

void TestAnswers::rightAnswer()
{
    QFETCH(bool, deleteOption);
    QFETCH(QString, countDuringMessage);
    openThreeWords();
    ckDlt()->setChecked(deleteOption);
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
    QCOMPARE(QFile::exists(m_fixture->store->entryPath(QStringLiteral("a"))), !deleteOption);
    // The next question follows the confirmation.
    QCOMPARE(m_fixture->text("lbWord"), deleteOption ? QStringLiteral("b") : QStringLiteral("a"));
    QCOMPARE(m_fixture->fakes.programEnd.ends, 0);
}

void TestAnswers::wrongAnswerAndDontKnow_data()
{
    QTest::addColumn<int>("button"); // 0 = 不会
    QTest::newRow("wrong answer") << 2;
    QTest::newRow("don't know") << 0;
}

void TestAnswers::wrongAnswerAndDontKnow()
{
    QFETCH(int, button);
    openThreeWords();
    m_fixture->fakes.dialogs.answerNext(MessageAnswer::Ok);
    m_fixture->fakes.random.script({0.9f, 0.0f, 0.0f, 0.0f, 0.0f});
    QPushButton *target = button == 0 ? m_fixture->window->findChild<QPushButton *>(QStringLiteral("cmdBuhui"))
                                      : m_fixture->window->cmdOption(button);
    QTest::mouseClick(target, Qt::LeftButton);
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
    QVERIFY(test::writeBytes(m_fixture->store->folder() + QStringLiteral("/.notes"), "mine"));
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
    QTest::addColumn<bool>("checked");
    QTest::newRow("first run") << QString() << true;
    QTest::newRow("stored 0") << QStringLiteral("0") << false;
    QTest::newRow("stored 1") << QStringLiteral("1") << true;
    QTest::newRow("not a number") << QStringLiteral("x") << true;
}

void TestAnswers::restoresDeleteOption()
{
    QFETCH(QString, stored);
    QFETCH(bool, checked);
    if (!stored.isNull())
        m_fixture->fakes.settings.values.insert(shanchu, stored);
    m_fixture->open();
    QCOMPARE(ckDlt()->isChecked(), checked);
}

void TestAnswers::closeAsks_data()
{
    QTest::addColumn<MessageAnswer>("answer");
    QTest::addColumn<bool>("checked");
    QTest::newRow("no") << MessageAnswer::No << true;
    QTest::newRow("yes, checked") << MessageAnswer::Yes << true;
    QTest::newRow("yes, unchecked") << MessageAnswer::Yes << false;
}

void TestAnswers::closeAsks()
{
    QFETCH(MessageAnswer, answer);
    QFETCH(bool, checked);
    m_fixture->open();
    ckDlt()->setChecked(checked);
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
        QCOMPARE(m_fixture->fakes.settings.values.value(shanchu), checked ? QStringLiteral("1") : QStringLiteral("0"));
        QCOMPARE(m_fixture->fakes.programEnd.quits, 1);
    }
    QCOMPARE(m_fixture->fakes.programEnd.ends, 0);
}

QTEST_MAIN(TestAnswers)
#include "tst_answers.moc"
