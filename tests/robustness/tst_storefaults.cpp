#include "FaultyFolders.h"
#include "TestSupport.h"
#include "core/store/WordListImport.h"
#include "core/store/WordStore.h"

#include <QDir>
#include <QTemporaryDir>
#include <QTest>

using namespace mirvo;
using namespace mirvo::test;

/// The store's faults made for real: a read-only or full disk, an entry no one may read.
/// How the windows show what the store tells is their tests' matter.
class TestStoreFaults : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void readOnlyStoreFolder();
    void unreadableEntry();
    void diskFillsDuringImport();

private:
    ImportReport importList(const QByteArray &list);

    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<WordStore> m_store;
};

void TestStoreFaults::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    m_store = std::make_unique<WordStore>(m_dir->filePath(QStringLiteral("words")));
    QVERIFY(m_store->create(nullptr));
}

ImportReport TestStoreFaults::importList(const QByteArray &list)
{
    const QString path = m_dir->filePath(QStringLiteral("list.txt"));
    if (!writeBytes(path, list))
        qFatal("cannot write the list");
    return importWordList(path, *m_store);
}

void TestStoreFaults::readOnlyStoreFolder()
{
    ReadOnlyFolder readOnly(m_store->folder());
    if (!readOnly.prepare())
        QSKIP(qPrintable(QStringLiteral("cannot make a read-only folder here: ") + readOnly.problem()));
    QVERIFY(m_store->writeEntry(QStringLiteral("one"), QStringLiteral("一"), nullptr));
    QVERIFY(m_store->writeEntry(QStringLiteral("two"), QStringLiteral("二"), nullptr));
    const Entries before = storedEntries(*m_store);
    QVERIFY(readOnly.seal());

    const ImportReport report = importList("three 三\none 新\n");
    QVERIFY2(report.error.startsWith(QStringLiteral("无法写入单词“three”：")), qPrintable(report.error));
    QString error;
    QVERIFY(!m_store->deleteEntry(QStringLiteral("one"), &error));
    QVERIFY2(error.startsWith(QStringLiteral("无法删除单词“one”：")), qPrintable(error));
    QCOMPARE(storedEntries(*m_store), before);
    QCOMPARE(m_store->words().names(), before.keys());
}

void TestStoreFaults::unreadableEntry()
{
    QVERIFY(m_store->writeEntry(QStringLiteral("b"), QStringLiteral("二"), nullptr));
    const QString locked = m_store->entryPath(QStringLiteral("b"));
    QVERIFY(QFile::setPermissions(locked, {}));
    QVERIFY(openForOthers(m_store->folder()));
    {
        const UnprivilegedUser asUser;
        QVERIFY(asUser.ready());
        QFile probe(locked);
        if (probe.open(QIODevice::ReadOnly))
            QSKIP("the entry stays readable whatever its mode on this system");
        QString error;
        QVERIFY(!m_store->readMeaning(QStringLiteral("b"), &error));
        QCOMPARE(error, QStringLiteral("无法读取单词“b”：没有权限"));
    }
    QVERIFY(QFile::setPermissions(locked, QFile::ReadOwner | QFile::WriteOwner));
    QCOMPARE(m_store->readMeaning(QStringLiteral("b"), nullptr), QStringLiteral("二"));
}

void TestStoreFaults::diskFillsDuringImport()
{
    if (!runningAsRoot())
        QSKIP("filling a disk needs root to mount a small tmpfs");
    WordStore &store = *m_store;
    ScratchMount disk(store.folder(), "size=64k");
    if (!disk.mounted())
        QSKIP(qPrintable(disk.problem()));
    QVERIFY(store.writeEntry(QStringLiteral("kept"), QStringLiteral("旧的"), nullptr));
    QVERIFY(store.writeEntry(QStringLiteral("also"), QStringLiteral("也"), nullptr));
    Entries expected = storedEntries(store);

    // Forty meanings of 4 KB, then a new meaning for a word already stored.
    QByteArray list;
    for (int i = 0; i < 40; ++i) {
        const QString meaning = QStringLiteral("意思%1").arg(i).repeated(700);
        list += QStringLiteral("w%1 %2\n").arg(i, 2, 10, QLatin1Char('0')).arg(meaning).toUtf8();
        expected.insert(QStringLiteral("w%1").arg(i, 2, 10, QLatin1Char('0')), meaning);
    }
    const ImportReport report = importList(list + "kept 新的\n");
    QVERIFY2(report.error.startsWith(QStringLiteral("无法写入单词“w")) && report.error.endsWith(QStringLiteral("磁盘空间不足")),
             qPrintable(report.error));
    // Whatever was written is whole; the rest is not there; nothing was lost.
    const Entries after = storedEntries(store);
    QVERIFY(after.size() > 2 && after.size() < 42);
    for (auto it = after.cbegin(); it != after.cend(); ++it)
        QCOMPARE(it.value(), expected.value(it.key()));
    QVERIFY(after.contains(QStringLiteral("kept")) && after.contains(QStringLiteral("also")));
    QCOMPARE(QDir(store.folder()).entryList({QStringLiteral(".*")}, QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
             QStringList());

    // Replacing an entry on the full disk keeps the old one whole.
    QString error;
    QVERIFY(!store.writeEntry(QStringLiteral("kept"), QStringLiteral("新").repeated(5000), &error));
    QCOMPARE(store.readMeaning(QStringLiteral("kept"), nullptr), std::optional<QString>(QStringLiteral("旧的")));

    // Room made, the store takes words again.
    for (const QString &word : after.keys()) {
        if (word.startsWith(QLatin1Char('w')))
            QVERIFY(store.deleteEntry(word, nullptr));
    }
    QVERIFY2(store.writeEntry(QStringLiteral("kept"), QStringLiteral("新的"), &error), qPrintable(error));
    QCOMPARE(storedEntries(store), (Entries{{QStringLiteral("kept"), QStringLiteral("新的")},
                                        {QStringLiteral("also"), QStringLiteral("也")}}));
}

QTEST_GUILESS_MAIN(TestStoreFaults)
#include "tst_storefaults.moc"
