#include "DrillHarness.h"
#include "TestSupport.h"

#include <QDir>
#include <QSignalSpy>
#include <QTest>


using namespace mirvo;
using namespace mirvo::test;

namespace {

const QString correct = QStringLiteral("恭喜！正确。");
const QString allLearned = QStringLiteral("恭喜你，全部背掉了！");

} // namespace

class TestDrill : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void asksFromScriptedDraws();
    void answer_data();
    void answer();
    void lastWord_data();
    void lastWord();
    void storeThatCannotBeReadIsNoEnd();
    void entryGoneBehindTheDrillsBack_data();
    void entryGoneBehindTheDrillsBack();
    void importList_data();
    void importList();

private:
    std::unique_ptr<DrillHarness> m_h;
};

void TestDrill::init()
{
    m_h = std::make_unique<DrillHarness>();
}

void TestDrill::cleanup()
{
    QVERIFY2(m_h->random.leftovers().isEmpty(), qPrintable(m_h->random.leftovers()));
    m_h.reset();
}

void TestDrill::asksFromScriptedDraws()
{
    QSignalSpy questions(&m_h->drill, &Drill::questionChanged);
    // Pick: 0.5 * 5 -> "cat". Build: right slot floor(0.3 * 4) + 1 = 2; distractors for 1, 3, 4.
    m_h->start({QStringLiteral("apple 苹果"), QStringLiteral("book 书"), QStringLiteral("cat 猫"), QStringLiteral("dog 狗"),
                QStringLiteral("egg 蛋")},
               {0.5f, 0.3f, 0.0f, 0.99f, 0.2f});
    const Question &question = m_h->drill.question();
    QCOMPARE(QStringList(question.options.cbegin(), question.options.cend()),
             (QStringList{QStringLiteral("苹果"), QStringLiteral("猫"), QStringLiteral("蛋"), QStringLiteral("书")}));
    QCOMPARE(m_h->picked, QList<int>{2});
    QCOMPARE(questions.count(), 1);
    QVERIFY(question.asked);
    QCOMPARE(question.word, QStringLiteral("cat"));
    QCOMPARE(question.meaning, QStringLiteral("猫"));
    QCOMPARE(m_h->random.reseeds, 2); // one for the pick, one for the build
    QVERIFY(m_h->seen.isEmpty());
}

void TestDrill::answer_data()
{
    QTest::addColumn<bool>("deleteLearned");
    QTest::addColumn<int>("slot");
    QTest::addColumn<QString>("cMeaning");
    QTest::addColumn<bool>("goneBefore"); // "a" deleted behind the drill's back
    QTest::addColumn<Drill::Outcome>("outcome");
    QTest::addColumn<QStringList>("messages");
    QTest::addColumn<int>("countDuringMessages");
    QTest::addColumn<int>("learned");
    const QString three = QStringLiteral("三");
    const QStringList right{correct};
    QTest::newRow("right, deleting") << true << 1 << three << false << Drill::Outcome::Right << right << 2 << 1;
    QTest::newRow("right, keeping") << false << 1 << three << false << Drill::Outcome::Right << right << 3 << 0;
    QTest::newRow("wrong") << true << 2 << three << false << Drill::Outcome::Wrong << QStringList{QStringLiteral("a 一")} << 3 << 0;
    QTest::newRow("a distractor with the same text is right too")
        << true << 3 << QStringLiteral("一") << false << Drill::Outcome::Right << right << 2 << 1;
    // Nothing deleted, nothing to take back; the word is no longer counted.
    QTest::newRow("an entry already gone")
        << true << 1 << three << true << Drill::Outcome::Right
        << QStringList{QStringLiteral("无法删除单词“a”：它已经不在词库中了。"), correct} << 2 << 0;
}

void TestDrill::answer()
{
    QFETCH(bool, deleteLearned);
    QFETCH(int, slot);
    QFETCH(QString, cMeaning);
    QFETCH(bool, goneBefore);
    QFETCH(Drill::Outcome, outcome);
    QFETCH(QStringList, messages);
    QFETCH(int, countDuringMessages);
    QFETCH(int, learned);
    // "a" asked, its meaning on button 1, "c" on the others.
    m_h->start({QStringLiteral("a 一"), QStringLiteral("b 二"), QStringLiteral("c ") + cMeaning}, {0.0f, 0.0f, 0.9f, 0.9f, 0.9f});
    if (goneBefore)
        QVERIFY(QFile::remove(m_h->store.entryPath(QStringLiteral("a"))));
    QSignalSpy counts(&m_h->drill, &Drill::remainingCountChanged);
    m_h->random.script({0.0f, 0.0f, 0.0f, 0.0f, 0.0f});

    QCOMPARE(m_h->drill.answer(slot, deleteLearned), outcome);

    QCOMPARE(m_h->texts(), messages);
    QCOMPARE(m_h->seen.last().kind, outcome == Drill::Outcome::Right ? DrillMessage::Kind::Information : DrillMessage::Kind::Warning);
    // The count is the new one while the messages are up; the next word follows them.
    for (const DrillHarness::Seen &seen : std::as_const(m_h->seen)) {
        QCOMPARE(seen.count, countDuringMessages);
        QCOMPARE(seen.asked, QStringLiteral("a"));
    }
    QCOMPARE(counts.isEmpty() ? 3 : counts.last().at(0).toInt(), countDuringMessages);
    QCOMPARE(m_h->drill.question().word, m_h->store.words().nameAt(0));
    QCOMPARE(QFile::exists(m_h->store.entryPath(QStringLiteral("a"))), !goneBefore && countDuringMessages == 3);
    QCOMPARE(m_h->drill.learnedCount(), learned);
    QCOMPARE(m_h->finished, 0);
}

void TestDrill::lastWord_data()
{
    QTest::addColumn<bool>("deleteLearned");
    QTest::addColumn<bool>("hiddenFile");
    QTest::addColumn<QStringList>("messages"); // the start of each
    QTest::addColumn<int>("finished");
    QTest::newRow("the store goes") << true << false << QStringList{allLearned} << 1;
    QTest::newRow("a hidden file keeps it") << true << true << QStringList{allLearned, QStringLiteral("无法删除词库文件夹“")} << 1;
    QTest::newRow("keeping it never ends") << false << false << QStringList{correct} << 0;
}

void TestDrill::lastWord()
{
    QFETCH(bool, deleteLearned);
    QFETCH(bool, hiddenFile);
    QFETCH(QStringList, messages);
    QFETCH(int, finished);
    m_h->start({QStringLiteral("only 唯一")}, {0.0f, 0.0f, 0.0f, 0.0f, 0.0f});
    if (hiddenFile)
        QVERIFY(writeHiddenFile(m_h->folder() + QStringLiteral("/.notes"), "mine"));
    if (finished == 0)
        m_h->random.script({0.0f, 0.0f, 0.0f, 0.0f, 0.0f});
    const auto outcome = m_h->drill.answer(4, deleteLearned);
    QCOMPARE(outcome, finished ? Drill::Outcome::AllLearned : Drill::Outcome::Right);
    QCOMPARE(m_h->seen.size(), messages.size());
    for (qsizetype i = 0; i < messages.size(); ++i)
        QVERIFY2(m_h->seen.at(i).text.startsWith(messages.at(i)), qPrintable(m_h->seen.at(i).text));
    QCOMPARE(m_h->seen.at(0).count, finished ? 0 : 1);
    QCOMPARE(m_h->finished, finished);
    QCOMPARE(QFileInfo::exists(m_h->folder()), hiddenFile || !finished);
    if (hiddenFile)
        QCOMPARE(readBytes(m_h->folder() + QStringLiteral("/.notes")), QByteArray("mine"));
}

void TestDrill::storeThatCannotBeReadIsNoEnd()
{
    m_h->start({QStringLiteral("only 唯一")}, {0.0f, 0.0f, 0.0f, 0.0f, 0.0f});
    const QString away = m_h->dir.filePath(QStringLiteral("away"));
    QVERIFY(QDir().rename(m_h->folder(), away));

    // No congratulation, no removal, no end: the store cannot be read, and the user is told why.
    QCOMPARE(m_h->drill.answer(1, true), Drill::Outcome::StoreUnreadable);
    QCOMPARE(m_h->texts(), QStringList{QStringLiteral("无法读取词库文件夹“%1”：文件或文件夹不存在").arg(QDir::toNativeSeparators(m_h->folder()))});
    QCOMPARE(m_h->finished, 0);
    QVERIFY(!m_h->drill.question().asked);
    QCOMPARE(m_h->drill.remainingCount(), 0);
    QVERIFY(QFileInfo::exists(away + QStringLiteral("/only")));

    // Back in its place, the store is read again for the next word.
    QVERIFY(QDir().rename(away, m_h->folder()));
    m_h->random.script({0.0f, 0.0f, 0.0f, 0.0f, 0.0f});
    m_h->drill.askAnotherWord();
    QCOMPARE(m_h->drill.question().word, QStringLiteral("only"));
    QCOMPARE(m_h->drill.remainingCount(), 1);
}

void TestDrill::entryGoneBehindTheDrillsBack_data()
{
    QTest::addColumn<QList<float>>("draws");
    QTest::newRow("the asked word") << QList<float>{0.9f}; // picks "b", which is gone
    // Picks "a", right slot 1, then "b" for button 2.
    QTest::newRow("a distractor") << QList<float>{0.0f, 0.0f, 0.9f, 0.0f, 0.0f};
}

void TestDrill::entryGoneBehindTheDrillsBack()
{
    QFETCH(QList<float>, draws);
    m_h->start({QStringLiteral("a 一"), QStringLiteral("b 二")}, {0.0f, 0.0f, 0.0f, 0.0f, 0.0f});
    QVERIFY(QFile::remove(m_h->store.entryPath(QStringLiteral("b"))));
    m_h->random.script(draws);
    m_h->drill.askAnotherWord();
    // The user is told, the list read again, and no half question is left to judge.
    QCOMPARE(m_h->texts(), QStringList{QStringLiteral("出题失败。无法读取单词“b”：文件或文件夹不存在")});
    QCOMPARE(m_h->seen.at(0).count, 1);
    QCOMPARE(m_h->seen.at(0).asked, QStringLiteral("单词"));
    for (int slot = 1; slot <= 4; ++slot)
        QVERIFY(!m_h->drill.question().isRight(slot));
}

void TestDrill::importList_data()
{
    QTest::addColumn<QByteArray>("list");
    QTest::addColumn<QStringList>("messages"); // the start of each
    QTest::addColumn<int>("countDuringMessages");
    QTest::newRow("a list") << QByteArray("new 新\r\nnext 下一个\r\n") << QStringList{QStringLiteral("完成")} << 3;
    QTest::newRow("skipped lines") << QByteArray("good 好\r\nbad\r\n\r\n../x 坏\r\nfine 行\r\n")
                                   << QStringList{QStringLiteral("完成"), QStringLiteral("有 3 行没有导入：\n第 2 行：")} << 3;
    QTest::newRow("no text") << QByteArray("\x89PNG\r\n\x1a\n\0\0\0\rIHDR", 16)
                             << QStringList{QStringLiteral("无法导入“")} << 1;
}

void TestDrill::importList()
{
    QFETCH(QByteArray, list);
    QFETCH(QStringList, messages);
    QFETCH(int, countDuringMessages);
    m_h->start({QStringLiteral("old 旧")}, {0.9f, 0.0f, 0.0f, 0.0f, 0.0f});
    const QString path = m_h->dir.filePath(QStringLiteral("list.txt"));
    QVERIFY(writeBytes(path, list));
    m_h->random.script({0.0f, 0.0f, 0.0f, 0.0f, 0.0f});

    m_h->drill.importList(path);

    // Imported and listed before the messages; the next word after them.
    QCOMPARE(m_h->seen.size(), messages.size());
    for (qsizetype i = 0; i < messages.size(); ++i) {
        QVERIFY2(m_h->seen.at(i).text.startsWith(messages.at(i)), qPrintable(m_h->seen.at(i).text));
        QCOMPARE(m_h->seen.at(i).count, countDuringMessages);
        QCOMPARE(m_h->seen.at(i).asked, QStringLiteral("old"));
        const bool done = messages.at(i) == QStringLiteral("完成");
        QCOMPARE(m_h->seen.at(i).kind, done ? DrillMessage::Kind::Information : DrillMessage::Kind::Warning);
    }
    QCOMPARE(m_h->store.words().names(), listedWords(m_h->folder()));
    QCOMPARE(m_h->drill.question().word, m_h->store.words().nameAt(0));
}

QTEST_GUILESS_MAIN(TestDrill)
#include "tst_drill.moc"
