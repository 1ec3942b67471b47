#include "TestSupport.h"
#include "core/store/WordList.h"
#include "core/store/WordStore.h"

#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

using namespace mirvo;
using mirvo::test::listedWords;

/// The store keeps its own list current: what it writes and deletes is listed at once, without
/// a reading of the folder.
class TestStoreList : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void ownChangesAreListedAtOnce_data();
    void ownChangesAreListedAtOnce();

private:
    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<WordStore> m_store;
};

void TestStoreList::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    m_store = std::make_unique<WordStore>(m_dir->filePath(QStringLiteral("words")));
    QVERIFY(m_store->create(nullptr));
    for (const char *word : {"b", "d", "f"})
        QVERIFY(m_store->writeEntry(QLatin1String(word), QStringLiteral("x"), nullptr));
}

void TestStoreList::ownChangesAreListedAtOnce_data()
{
    QTest::addColumn<QString>("change");
    QTest::addColumn<QStringList>("words");
    QTest::addColumn<int>("inserted"); // row signals
    QTest::addColumn<int>("removed");
    QTest::addColumn<int>("resets");
    QTest::newRow("a new word") << "write" << QStringList{QStringLiteral("c")} << 1 << 0 << 0;
    QTest::newRow("a word listed already") << "write" << QStringList{QStringLiteral("d")} << 0 << 0 << 0;
    QTest::newRow("deleted") << "delete" << QStringList{QStringLiteral("d")} << 0 << 1 << 0;
    QTest::newRow("deleted, not there") << "delete" << QStringList{QStringLiteral("e")} << 0 << 0 << 0;
    QTest::newRow("a batch in one run") << "batch" << QStringList{QStringLiteral("g1"), QStringLiteral("g0")} << 1 << 0 << 0;
    QTest::newRow("a batch in two runs, one word twice")
        << "batch" << QStringList{QStringLiteral("a"), QStringLiteral("e"), QStringLiteral("a")} << 2 << 0 << 0;
    QTest::newRow("a batch into an empty store") << "emptied, batch" << QStringList{QStringLiteral("a"), QStringLiteral("c")} << 0 << 0 << 1;
}

void TestStoreList::ownChangesAreListedAtOnce()
{
    QFETCH(QString, change);
    QFETCH(QStringList, words);
    QFETCH(int, inserted);
    QFETCH(int, removed);
    QFETCH(int, resets);
    if (change.startsWith(QLatin1String("emptied"))) {
        for (const char *word : {"b", "d", "f"})
            QVERIFY(m_store->deleteEntry(QLatin1String(word), nullptr));
    }
    const WordList &list = m_store->words();
    QSignalSpy insertions(&list, &QAbstractItemModel::rowsInserted);
    QSignalSpy removals(&list, &QAbstractItemModel::rowsRemoved);
    QSignalSpy reset(&list, &QAbstractItemModel::modelReset);
    if (change.endsWith(QLatin1String("batch"))) {
        WordStore::Writer writer(*m_store);
        for (const QString &word : words)
            QVERIFY(writer.write(word, QStringLiteral("y"), nullptr));
        QCOMPARE(insertions.count() + reset.count(), 0); // not before the writer goes
    }
    for (const QString &word : words) {
        if (change == QLatin1String("write"))
            QVERIFY(m_store->writeEntry(word, QStringLiteral("y"), nullptr));
        else if (change == QLatin1String("delete"))
            QCOMPARE(m_store->deleteEntry(word, nullptr), removed > 0); // nothing there to delete: an error
    }
    QCOMPARE(list.names(), listedWords(m_store->folder()));
    QCOMPARE(insertions.count(), inserted);
    QCOMPARE(removals.count(), removed);
    QCOMPARE(reset.count(), resets);
}

QTEST_GUILESS_MAIN(TestStoreList)
#include "tst_storelist.moc"
