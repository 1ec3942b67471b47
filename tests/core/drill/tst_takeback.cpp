#include "DrillHarness.h"
#include "TestSupport.h"

#include <QDir>
#include <QSignalSpy>
#include <QTest>

using namespace mirvo;
using namespace mirvo::test;

/// Ctrl+Z's part of the drill: a right answer taken back writes its word back as it was and
/// asks it again, through every deletion of the run.
class TestTakeBack : public QObject
{
    Q_OBJECT

private slots:
    void init() { m_h = std::make_unique<DrillHarness>(); }
    void cleanup();
    void takeBack_data();
    void takeBack();
    void takeBackWhenTheNameIsTaken_data();
    void takeBackWhenTheNameIsTaken();

private:
    std::unique_ptr<DrillHarness> m_h;
};

void TestTakeBack::cleanup()
{
    QVERIFY2(m_h->random.leftovers().isEmpty(), qPrintable(m_h->random.leftovers()));
    m_h.reset();
}

void TestTakeBack::takeBack_data()
{
    QTest::addColumn<bool>("deleteLearned");
    QTest::addColumn<int>("answers");
    QTest::addColumn<int>("takeBacks");
    QTest::addColumn<QStringList>("askedAgain");
    const QString a = QStringLiteral("a"), b = QStringLiteral("b"), c = QStringLiteral("c");
    QTest::newRow("three answers, three take-backs") << true << 3 << 3 << QStringList{c, b, a};
    QTest::newRow("nothing to take back") << true << 0 << 1 << QStringList{};
    QTest::newRow("one answer, two take-backs") << true << 1 << 2 << QStringList{a};
    QTest::newRow("nothing deleted") << false << 1 << 1 << QStringList{};
}

void TestTakeBack::takeBack()
{
    QFETCH(bool, deleteLearned);
    QFETCH(int, answers);
    QFETCH(int, takeBacks);
    QFETCH(QStringList, askedAgain);
    // Entries as they may be found: a second line, GBK with a NUL and a lone CR, no line end.
    const QMap<QString, QByteArray> entries = {{QStringLiteral("a"), "\xe4\xb8\x80\r\nmore\r\n"},
                                               {QStringLiteral("b"), QByteArray("\xb6\xfe\0\rmore", 8)},
                                               {QStringLiteral("c"), "three"},
                                               {QStringLiteral("d"), "four\n"}};
    for (auto it = entries.cbegin(); it != entries.cend(); ++it)
        QVERIFY(writeBytes(m_h->store.entryPath(it.key()), it.value()));
    // Every draw 0: the first listed word is asked, its meaning on button 1.
    m_h->random.script(QList<float>(5 + 5 * answers + 4 * askedAgain.size(), 0.0f));
    m_h->drill.start();
    for (int i = 0; i < answers; ++i)
        QCOMPARE(m_h->drill.answer(1, deleteLearned), Drill::Outcome::Right);
    m_h->seen.clear();
    QSignalSpy counts(&m_h->drill, &Drill::remainingCountChanged);

    QStringList asked;
    for (int i = 0; i < takeBacks; ++i) {
        const int before = int(counts.size());
        m_h->drill.takeBackAnswer();
        if (counts.size() > before)
            asked.append(m_h->drill.question().word);
    }

    // Each one back in the list and asked again, the last deleted first; no message.
    QCOMPARE(asked, askedAgain);
    QVERIFY(m_h->seen.isEmpty());
    QCOMPARE(m_h->drill.learnedCount(), deleteLearned ? answers - int(askedAgain.size()) : 0);
    const int left = 4 - (deleteLearned ? answers - int(askedAgain.size()) : 0);
    QCOMPARE(m_h->drill.remainingCount(), left);
    QCOMPARE(m_h->store.words().names(), listedWords(m_h->folder()));
    // Byte for byte as they were, and nothing else in the folder.
    const QStringList files = QDir(m_h->folder()).entryList(QDir::Files | QDir::Hidden);
    QCOMPARE(files.size(), left);
    for (const QString &file : files)
        QCOMPARE(readBytes(m_h->store.entryPath(file)), entries.value(file));
}

void TestTakeBack::takeBackWhenTheNameIsTaken_data()
{
    QTest::addColumn<bool>("folder"); // else an entry imported again
    QTest::newRow("a folder of that name") << true;
    QTest::newRow("the word imported again") << false;
}

void TestTakeBack::takeBackWhenTheNameIsTaken()
{
    QFETCH(bool, folder);
    m_h->start({QStringLiteral("a 一"), QStringLiteral("b 二")}, {0.0f, 0.0f, 0.0f, 0.0f, 0.0f});
    m_h->random.script({0.0f, 0.0f, 0.0f, 0.0f, 0.0f});
    QCOMPARE(m_h->drill.answer(1, true), Drill::Outcome::Right);
    m_h->seen.clear();
    const QString entry = m_h->store.entryPath(QStringLiteral("a"));
    if (folder)
        QVERIFY(QDir().mkdir(entry));
    else
        QVERIFY(m_h->store.writeEntry(QStringLiteral("a"), QStringLiteral("新"), nullptr));
    QCOMPARE(m_h->drill.remainingCount(), folder ? 1 : 2);

    m_h->random.script(QList<float>(4, 0.0f));
    m_h->drill.takeBackAnswer();
    if (folder) {
        // Says why, and keeps the answer to take back once the name is free.
        QCOMPARE(m_h->texts(), QStringList{QStringLiteral("无法写入单词“a”：同名的文件夹已经存在")});
        QCOMPARE(m_h->drill.learnedCount(), 1);
        QCOMPARE(m_h->drill.question().word, QStringLiteral("b"));
        QVERIFY(QDir().rmdir(entry));
        m_h->drill.takeBackAnswer();
    }
    // The entry made again is not overwritten; either way the word is asked again.
    if (folder)
        QCOMPARE(readBytes(entry), QByteArray("\xe4\xb8\x80\r\n"));
    else
        QCOMPARE(m_h->store.readMeaning(QStringLiteral("a"), nullptr), std::optional<QString>(QStringLiteral("新")));
    QCOMPARE(m_h->drill.question().word, QStringLiteral("a"));
    QCOMPARE(m_h->drill.learnedCount(), 0);
    QCOMPARE(m_h->drill.remainingCount(), 2);
}

QTEST_GUILESS_MAIN(TestTakeBack)
#include "tst_takeback.moc"
