#include "FaultyFolders.h"
#include "TestSupport.h"
#include "core/store/WordList.h"
#include "core/store/WordStore.h"

#include <QDir>
#include <QScopeGuard>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#ifdef Q_OS_UNIX
#include <fcntl.h>
#include <unistd.h>
#endif

using namespace mirvo;
using namespace mirvo::test;

/// Entries written, deleted and written back, by the store or behind its back: what each leaves
/// on disk and in the list, which the store keeps current with its own changes at once.
class TestEntryChanges : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void ownChangesAreListedAtOnce_data();
    void ownChangesAreListedAtOnce();
    void deletingAnEntry_data();
    void deletingAnEntry();
    void readingWhatIsNoEntryFails_data();
    void readingWhatIsNoEntryFails();
    void handMadeNamesReadDeleteAndRestore_data();
    void handMadeNamesReadDeleteAndRestore();

private:
    std::unique_ptr<QTemporaryDir> m_dir;
    QString m_folder;
};

void TestEntryChanges::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    m_folder = m_dir->filePath(QStringLiteral("words"));
    QVERIFY(WordStore(m_folder).create(nullptr));
}

void TestEntryChanges::ownChangesAreListedAtOnce_data()
{
    QTest::addColumn<QString>("change");
    QTest::addColumn<QStringList>("words");
    QTest::addColumn<int>("inserted"); // row signals
    QTest::addColumn<int>("removed");
    QTest::addColumn<int>("resets");
    QTest::newRow("a new word") << "write" << QStringList{QStringLiteral("c")} << 1 << 0 << 0;
    QTest::newRow("a word listed already") << "write" << QStringList{QStringLiteral("d")} << 0 << 0 << 0;
    QTest::newRow("deleted") << "delete" << QStringList{QStringLiteral("d")} << 0 << 1 << 0;
    QTest::newRow("a batch in one run") << "batch" << QStringList{QStringLiteral("g1"), QStringLiteral("g0")} << 1 << 0 << 0;
    QTest::newRow("a batch in two runs, one word twice")
        << "batch" << QStringList{QStringLiteral("a"), QStringLiteral("e"), QStringLiteral("a")} << 2 << 0 << 0;
    QTest::newRow("a batch after a reading that found no change")
        << "reread, batch" << QStringList{QStringLiteral("a"), QStringLiteral("c")} << 2 << 0 << 0;
    QTest::newRow("a batch into an empty store") << "emptied, batch" << QStringList{QStringLiteral("a"), QStringLiteral("c")} << 0 << 0 << 1;
}

void TestEntryChanges::ownChangesAreListedAtOnce()
{
    QFETCH(QString, change);
    QFETCH(QStringList, words);
    QFETCH(int, inserted);
    QFETCH(int, removed);
    QFETCH(int, resets);
    WordStore store(m_folder);
    for (const char *word : {"b", "d", "f"}) {
        QVERIFY(store.writeEntry(QLatin1String(word), QStringLiteral("x"), nullptr));
        if (change.startsWith(QLatin1String("emptied")))
            QVERIFY(store.deleteEntry(QLatin1String(word), nullptr));
    }
    if (change.startsWith(QLatin1String("reread"))) {
        QVERIFY(store.reread(nullptr));
        QVERIFY(store.reread(nullptr));
    }
    const WordList &list = store.words();
    QSignalSpy insertions(&list, &QAbstractItemModel::rowsInserted);
    QSignalSpy removals(&list, &QAbstractItemModel::rowsRemoved);
    QSignalSpy reset(&list, &QAbstractItemModel::modelReset);
    if (change.endsWith(QLatin1String("batch"))) {
        WordStore::Writer writer(store);
        for (const QString &word : words)
            QVERIFY(writer.write(word, QStringLiteral("y"), nullptr));
        QCOMPARE(insertions.count() + reset.count(), 0); // not before the writer goes
    }
    for (const QString &word : words) {
        if (change == QLatin1String("write"))
            QVERIFY(store.writeEntry(word, QStringLiteral("y"), nullptr));
        else if (change == QLatin1String("delete"))
            QVERIFY(store.deleteEntry(word, nullptr));
    }
    QCOMPARE(list.names(), listedWords(store.folder()));
    QCOMPARE(insertions.count(), inserted);
    QCOMPARE(removals.count(), removed);
    QCOMPARE(reset.count(), resets);
}

void TestEntryChanges::deletingAnEntry_data()
{
    QTest::addColumn<QString>("fault");
    QTest::addColumn<QString>("refusal"); // empty: deleted
    QTest::newRow("deleted") << QString() << QString();
    QTest::newRow("already gone") << QStringLiteral("gone") << QStringLiteral("它已经不在词库中了。");
#ifdef Q_OS_WIN
    QTest::newRow("read-only mark") << QStringLiteral("read-only") << QStringLiteral("文件设置了“只读”属性");
#else
    QTest::newRow("read-only mode: the folder decides") << QStringLiteral("read-only") << QString();
#endif
    // Its files are the user's, whatever it is asked as.
    QTest::newRow("a folder in its place") << QStringLiteral("folder")
#ifdef Q_OS_WIN
                                           << QStringLiteral("没有权限");
#else
                                           << QStringLiteral("这是一个文件夹");
#endif
    QTest::newRow("held open without delete sharing") << QStringLiteral("held") << QStringLiteral("文件正被其他程序占用");
}

void TestEntryChanges::deletingAnEntry()
{
    QFETCH(QString, fault);
    QFETCH(QString, refusal);
    WordStore store(m_folder);
    const QString entry = store.entryPath(QStringLiteral("w"));
    QVERIFY(store.writeEntry(QStringLiteral("w"), QStringLiteral("x"), nullptr));
    const HeldFile held(fault == QLatin1String("held") ? entry : QString());
    if (fault == QLatin1String("held") && !held.held())
        QSKIP("an open file never stops its deletion here");
    if (fault == QLatin1String("read-only"))
        QVERIFY(QFile::setPermissions(entry, QFile::ReadOwner | QFile::ReadUser));
    if (fault == QLatin1String("gone") || fault == QLatin1String("folder"))
        QVERIFY(QFile::remove(entry));
    if (fault == QLatin1String("folder"))
        QVERIFY(QDir().mkpath(entry + QStringLiteral("/sub")) && writeBytes(entry + QStringLiteral("/sub/mine"), "mine"));
    QString error;
    QCOMPARE(store.deleteEntry(QStringLiteral("w"), &error), refusal.isEmpty());
    QCOMPARE(error, refusal.isEmpty() ? QString() : QStringLiteral("无法删除单词“w”：") + refusal);
    // Only a word still there stays in the list.
    const bool stays = !refusal.isEmpty() && fault != QLatin1String("gone");
    QCOMPARE(QFile::exists(entry), stays);
    QCOMPARE(store.words().names(), stays ? QStringList{QStringLiteral("w")} : QStringList());
    QCOMPARE(readBytes(entry + QStringLiteral("/sub/mine")), fault == QLatin1String("folder") ? QByteArray("mine") : QByteArray());
}

void TestEntryChanges::readingWhatIsNoEntryFails_data()
{
    // What a listed entry became behind the list's back.
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QString>("meaningProblem"); // empty: its meaning is read
    QTest::addColumn<QString>("entryProblem");
    const QString noFile = QStringLiteral("它不是普通文件。");
    QTest::newRow("a folder") << "folder" << "它是一个文件夹。" << "它是一个文件夹。";
    QTest::newRow("missing") << "missing" << "文件或文件夹不存在" << "文件或文件夹不存在";
    // It may not wait: a pipe nobody writes to would hold the window for good.
    QTest::newRow("a named pipe") << "pipe" << noFile << noFile;
    // Too large to keep for Ctrl+Z; its first line is still read.
    QTest::newRow("over 16 MB") << "huge" << "" << "文件太大（超过 16 MB）。";
}

void TestEntryChanges::readingWhatIsNoEntryFails()
{
    QFETCH(QString, kind);
    QFETCH(QString, meaningProblem);
    QFETCH(QString, entryProblem);
    WordStore store(m_folder);
    QVERIFY(store.writeEntry(QStringLiteral("w"), QStringLiteral("x"), nullptr));
    const QString path = store.entryPath(QStringLiteral("w"));
    if (kind == QLatin1String("huge"))
        QVERIFY(QFile::resize(path, 16 * 1024 * 1024 + 1));
    else
        QVERIFY(QFile::remove(path));
    if (kind == QLatin1String("folder"))
        QVERIFY(QDir().mkdir(path));
    if (kind == QLatin1String("pipe") && !makeNamedPipe(path))
        QSKIP("named pipes live in no folder here (Windows keeps them under \\\\.\\pipe)");

    QString error;
    QCOMPARE(store.readMeaning(QStringLiteral("w"), &error).has_value(), meaningProblem.isEmpty());
    QCOMPARE(error, meaningProblem.isEmpty() ? QString() : QStringLiteral("无法读取单词“w”：") + meaningProblem);
    QVERIFY(!store.readEntry(QStringLiteral("w"), &error));
    QCOMPARE(error, QStringLiteral("无法读取单词“w”：") + entryProblem);
}

void TestEntryChanges::handMadeNamesReadDeleteAndRestore_data()
{
    QTest::addColumn<QByteArray>("fileName"); // its bytes
    QTest::addColumn<QString>("listed");
#ifdef Q_OS_WIN
    QSKIP("names are UTF-16 there, a backslash separates folders");
#else
    QTest::newRow("a backslash") << QByteArray("a\\b") << QStringLiteral("a\\b");
    // From a zip made on a Chinese Windows: GBK names, not UTF-8.
    QTest::newRow("gbk") << QByteArray("\xC6\xBB\xB9\xFB") << QStringLiteral("苹果");
    QTest::newRow("neither utf-8 nor gb18030") << QByteArray("x\xFF") << QStringLiteral("x\uFFFD");
#endif
}

void TestEntryChanges::handMadeNamesReadDeleteAndRestore()
{
#ifndef Q_OS_WIN
    QFETCH(QByteArray, fileName);
    QFETCH(QString, listed);
    // The import refuses such a word, but a file put there otherwise is a word like any other,
    // read, deleted and written back by its own name.
    const QByteArray path = QFile::encodeName(m_folder) + '/' + fileName;
    // Qt cannot remove a name that is not UTF-8 with its folder.
    const auto removeFile = qScopeGuard([&] { ::unlink(path.constData()); });
    const QByteArray content("手工\r\nmore", 12);
    const auto bytesThere = [&] {
        QFile file;
        const int fd = ::open(path.constData(), O_RDONLY);
        return fd >= 0 && file.open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle) ? file.readAll() : "<none>";
    };
    const int fd = ::open(path.constData(), O_WRONLY | O_CREAT, 0644);
    QVERIFY(fd >= 0 && ::write(fd, content.constData(), content.size()) == content.size() && ::close(fd) == 0);
    WordStore store(m_folder);
    QVERIFY(store.reread(nullptr));
    QCOMPARE(store.words().names(), QStringList{listed});
    QString error;
    QCOMPARE(store.readMeaning(listed, &error).value_or(error), QStringLiteral("手工"));
    const auto saved = store.readEntry(listed, &error);
    QVERIFY2(saved && store.deleteEntry(listed, &error), qPrintable(error));
    QCOMPARE(bytesThere(), QByteArray("<none>"));
    QCOMPARE(store.words().count(), 0);

    QVERIFY2(store.restoreEntry(*saved, &error), qPrintable(error));
    QCOMPARE(bytesThere(), content);
    QCOMPARE(store.words().rowOf(listed), 0);
#endif
}

QTEST_GUILESS_MAIN(TestEntryChanges)
#include "tst_entrychanges.moc"
