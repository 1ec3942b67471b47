#include "FolderSteps.h"
#include "core/store/FolderReading.h"
#include "core/store/WordList.h"
#include "core/store/WordStore.h"

#include <QDir>
#include <QSignalSpy>
#include <QTemporaryDir>

#ifdef Q_OS_UNIX
#include <sys/stat.h>
#else
#include <qt_windows.h>
#endif

using namespace mirvo;
using namespace mirvo::test;

/// The list of the store's words as it follows the folder: refreshed from change notices or
/// read whole, its rows moved rather than reset, and emptied, saying why, when the folder
/// cannot be read.
class TestWordList : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void listingFollowsTheFolder_data();
    void listingFollowsTheFolder();
    void refreshMovesRowsUntilManyChange_data();
    void refreshMovesRowsUntilManyChange();
    void failedReadingEmptiesTheList_data();
    void failedReadingEmptiesTheList();
    void readingProblemsAreTold_data();
    void readingProblemsAreTold();

private:
    std::unique_ptr<QTemporaryDir> m_dir;
    QString m_folder;
};

void TestWordList::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    m_folder = m_dir->filePath(QStringLiteral("words"));
    QVERIFY(QDir().mkdir(m_folder));
}

void TestWordList::listingFollowsTheFolder_data()
{
    QTest::addColumn<Steps>("steps");
    QTest::addColumn<QStringList>("listed");
    const QString a = QStringLiteral("a"), b = QStringLiteral("b"), c = QStringLiteral("c"), d = QStringLiteral("d");
    QTest::newRow("files, hidden file, folder")
        << Steps{file(QStringLiteral("b")), file(QStringLiteral("A name with spaces.txt")),
                 {Step::Hidden, QStringLiteral(".mirvo-1-1.tmp"), {}}, {Step::Folder, QStringLiteral("sub"), {}}}
        << QStringList{QStringLiteral("A name with spaces.txt"), b};
#ifdef Q_OS_UNIX
    // A link counts as what it leads to; only ordinary files are words (a link to a fifo too
    // would hang the first read of its meaning).
    const QString word = QStringLiteral("word");
    QTest::newRow("links and a fifo")
        << Steps{file(word), {Step::Link, QStringLiteral("linked"), word}, {Step::Link, QStringLiteral("broken"), QStringLiteral("nothing")},
                 {Step::Folder, QStringLiteral("sub"), {}}, {Step::Link, QStringLiteral("tosub"), QStringLiteral("sub")},
                 {Step::Fifo, QStringLiteral("pipe"), {}}, {Step::Link, QStringLiteral("topipe"), QStringLiteral("pipe")},
                 {Step::Link, QStringLiteral(".hidden"), word}}
        << QStringList{QStringLiteral("linked"), word};
    // A link's target changes without a word from the folder.
    QTest::newRow("link's target goes")
        << Steps{file(word), {Step::Link, QStringLiteral("linked"), word}, file(QStringLiteral("../outside")),
                 {Step::Link, QStringLiteral("out"), QStringLiteral("../outside")}, remove(word), remove(QStringLiteral("../outside"))}
        << QStringList{};
    QTest::newRow("a file becomes a fifo") << Steps{file(a), remove(a), {Step::Fifo, a, {}}} << QStringList{};
#else
    // Explorer's marks, set and cleared: a hidden or system file is no word, a dot name is one.
    const QString hidden = QStringLiteral("hidden");
    QTest::newRow("hidden and system marks")
        << Steps{file(QStringLiteral(".net")), file(a), {Step::Mark, a, hidden}, file(b), {Step::Mark, b, QStringLiteral("system")},
                 file(c), {Step::Mark, a, {}}, {Step::Mark, c, hidden}, {Step::Rename, c, d}}
        << QStringList{QStringLiteral(".net"), a};
#endif
    // A leading dot hides a file on Linux alone.
    QTest::newRow("removed, renamed, replaced")
        << Steps{file(a), file(b), file(c), remove(a), {Step::Rename, b, QStringLiteral(".b")}, {Step::Rename, c, d},
                 remove(d), {Step::Folder, d, {}}, file(a)}
        << (dotNamesHidden ? QStringList{a} : QStringList{QStringLiteral(".b"), a});
    // Names that came and went by notices, then a whole reading, then notices again.
    QTest::newRow("notices, then a whole reading")
        << Steps{file(a), file(b), file(c), remove(b), file(b), file(d), remove(a), {Step::Reread, {}, {}},
                 remove(d), file(QStringLiteral("e")), {Step::Reread, {}, {}}}
        << QStringList{b, c, QStringLiteral("e")};
    QTest::newRow("the folder made anew") << Steps{file(a), {Step::Renew, {}, {}}, file(b)} << QStringList{b};
    // Lower-cased code order as before; names equal that way in code order. Names that differ
    // in case only are one file on Windows: the first name stays.
    Steps order;
    for (const QString &name : names("ta \u017Fa sb ab aB Ab _x Zed 中文"))
        order.append(file(name));
    QTest::newRow("order") << order
#ifdef Q_OS_WIN
                           << names("_x ab sb ta Zed \u017Fa 中文");
#else
                           << names("_x Ab aB ab sb ta Zed \u017Fa 中文");
#endif
}

void TestWordList::listingFollowsTheFolder()
{
    QFETCH(Steps, steps);
    QFETCH(QStringList, listed);
    // A list read before, and refreshed after each step, keeps up with a whole reading.
    WordList list(m_folder);
    QVERIFY(list.reread());
    FolderSteps folder(m_folder);
    for (const Step &step : steps) {
        const QStringList before = list.names();
        if (step.kind == Step::Reread)
            QVERIFY(list.reread());
        folder.make(step);
        if (QTest::currentTestFailed())
            return;
        // A snapshot until refreshed.
        if (step.kind != Step::Reread)
            QCOMPARE(list.names(), before);
        QVERIFY(list.refresh());
        QCOMPARE(list.names(), listedWords(m_folder));
    }
    QCOMPARE(list.names(), listed);
}

void TestWordList::refreshMovesRowsUntilManyChange_data()
{
    QTest::addColumn<QStringList>("words");  // in the store before
    QTest::addColumn<Steps>("steps");        // then, before one refresh
    QTest::addColumn<QString>("held");       // a word a view holds on to
    QTest::addColumn<QString>("heldAfter");  // what the view then holds, if anything
    QTest::addColumn<bool>("reset");         // the views start afresh
    QStringList even;
    Steps odd;
    for (int i = 0; i < 40; i += 2) {
        even.append(QStringLiteral("w%1").arg(i, 2, 10, QLatin1Char('0')));
        odd.append(file(QStringLiteral("w%1").arg(i + 1, 2, 10, QLatin1Char('0'))));
    }
    const QStringList abcd{QStringLiteral("a"), QStringLiteral("b"), QStringLiteral("c"), QStringLiteral("d")};
    QTest::newRow("one goes before, one comes after")
        << abcd << Steps{remove(QStringLiteral("a")), file(QStringLiteral("e"))} << QStringLiteral("c")
        << QStringLiteral("c") << false;
    QTest::newRow("the held word goes")
        << abcd << Steps{remove(QStringLiteral("c"))} << QStringLiteral("c") << QString() << false;
    QTest::newRow("a name removed and made again")
        << abcd << Steps{remove(QStringLiteral("b")), file(QStringLiteral("b"))} << QStringLiteral("b")
        << QStringLiteral("b") << false;
    QTest::newRow("twenty separate changes") << even << odd << QStringLiteral("w00") << QString() << true;
}

void TestWordList::refreshMovesRowsUntilManyChange()
{
    QFETCH(QStringList, words);
    QFETCH(Steps, steps);
    QFETCH(QString, held);
    QFETCH(QString, heldAfter);
    QFETCH(bool, reset);
    for (const bool whole : {false, true}) {
        QVERIFY(QDir(m_folder).removeRecursively() && QDir().mkpath(m_folder));
        for (const QString &word : words)
            QVERIFY(writeBytes(QDir(m_folder).filePath(word), "x\r\n"));
        WordList list(m_folder);
        QVERIFY(list.reread());
        const QPersistentModelIndex index(list.index(int(list.names().indexOf(held))));
        QCOMPARE(index.data().toString(), held);
        QSignalSpy resets(&list, &QAbstractItemModel::modelReset);
        FolderSteps folder(m_folder);
        for (const Step &step : steps)
            folder.make(step);
        // Through the notices, and read whole: the same rows move.
        QVERIFY(whole ? list.reread() : list.refresh());
        QCOMPARE(list.names(), listedWords(m_folder));
        QCOMPARE(resets.count() > 0, reset);
        QCOMPARE(index.data().toString(), heldAfter);
    }
}

void TestWordList::failedReadingEmptiesTheList_data()
{
    QTest::addColumn<QString>("fault");
    QTest::addColumn<QString>("reason");
    QTest::newRow("folder deleted") << QStringLiteral("deleted") << QStringLiteral("文件或文件夹不存在");
    QTest::newRow("folder moved") << QStringLiteral("moved") << QStringLiteral("文件或文件夹不存在");
    QTest::newRow("a file in its place") << QStringLiteral("file") << QStringLiteral("路径中有一项不是文件夹");
#ifdef Q_OS_UNIX
    QTest::newRow("unreadable") << QStringLiteral("unreadable") << QStringLiteral("没有权限");
#endif
}

void TestWordList::failedReadingEmptiesTheList()
{
    QFETCH(QString, fault);
    QFETCH(QString, reason);
    WordStore store(m_folder);
    QVERIFY(store.writeEntry(QStringLiteral("a"), QStringLiteral("一"), nullptr));
    WordList &list = store.words();
    QVERIFY(list.reread());
    const QString moved = m_dir->filePath(QStringLiteral("moved"));
    QString error;
    if (fault == QLatin1String("deleted")) {
        QVERIFY(QDir(m_folder).removeRecursively());
    } else if (fault == QLatin1String("moved")) {
        QVERIFY(QDir().rename(m_folder, moved));
    } else if (fault == QLatin1String("file")) {
        QVERIFY(QDir().rename(m_folder, m_dir->filePath(QStringLiteral("recycled"))) && writeBytes(m_folder, "x"));
        QVERIFY(!store.create(&error));
        QCOMPARE(error, QStringLiteral("无法创建词库文件夹“%1”：同名的文件已经存在。").arg(QDir::toNativeSeparators(m_folder)));
    }
#ifdef Q_OS_UNIX
    std::unique_ptr<UnprivilegedUser> asUser;
    if (fault == QLatin1String("unreadable")) {
        QVERIFY(openForOthers(m_folder));
        QCOMPARE(::chmod(QFile::encodeName(m_folder).constData(), 0300), 0);
        asUser = std::make_unique<UnprivilegedUser>();
        QVERIFY(asUser->ready());
    }
#endif
    // Never an empty store: the reading failed, and says where and why.
    QVERIFY(!list.refresh(&error));
    QCOMPARE(error, QStringLiteral("无法读取词库文件夹“%1”：%2").arg(QDir::toNativeSeparators(m_folder), reason));
    QCOMPARE(list.count(), 0);
    QVERIFY(list.failed());
    QVERIFY(!list.refresh());
    // A write says it the same way (one may write where one may not list).
    QVERIFY(fault == QLatin1String("unreadable") || !store.writeEntry(QStringLiteral("b"), QStringLiteral("二"), &error));
    QVERIFY2(fault == QLatin1String("unreadable") || error == QStringLiteral("无法写入单词“b”：") + reason, qPrintable(error));

    // The folder back, the next look finds its words.
#ifdef Q_OS_UNIX
    asUser.reset();
    ::chmod(QFile::encodeName(m_folder).constData(), 0700);
#endif
    if (fault == QLatin1String("moved"))
        QVERIFY(QDir().rename(moved, m_folder));
    else if (fault != QLatin1String("unreadable"))
    {
        QFile::remove(m_folder);
        QVERIFY(store.create(nullptr) && store.writeEntry(QStringLiteral("a"), QStringLiteral("一"), nullptr));
    }
    QVERIFY2(list.refresh(&error), qPrintable(error));
    QCOMPARE(list.names(), QStringList{QStringLiteral("a")});
    QVERIFY(!list.failed());
}

void TestWordList::readingProblemsAreTold_data()
{
    // Faults no test can make here (root lists every folder, Wine keeps no access lists), told
    // as the listing's error codes.
    QTest::addColumn<QString>("folder"); // what is at the store's path
    QTest::addColumn<int>("code");
    QTest::addColumn<QString>("problem"); // empty: the listing is only empty
#ifdef Q_OS_WIN
    QTest::newRow("access list denies listing") << "folder" << int(ERROR_ACCESS_DENIED) << "没有权限";
    QTest::newRow("an empty root") << "folder" << int(ERROR_FILE_NOT_FOUND) << "";
    QTest::newRow("no folder, no name") << "" << int(ERROR_FILE_NOT_FOUND) << "文件或文件夹不存在";
    QTest::newRow("a file, its name refused") << "file" << int(ERROR_INVALID_NAME) << "路径中有一项不是文件夹";
    QTest::newRow("stick pulled") << "" << int(ERROR_NOT_READY) << "?";
#else
    QSKIP("a mode that denies listing is made for real with the failed readings");
#endif
}

void TestWordList::readingProblemsAreTold()
{
    QFETCH(QString, folder);
    QFETCH(int, code);
    QFETCH(QString, problem);
    QVERIFY(QDir(m_folder).removeRecursively());
    if (folder == QLatin1String("folder"))
        QVERIFY(QDir().mkdir(m_folder));
    else if (folder == QLatin1String("file"))
        QVERIFY(writeBytes(m_folder, "x"));
    const QString told = readingProblem(m_folder, code);
    // "?": the system's own words, whatever they are, but never nothing.
    if (problem == QLatin1String("?"))
        QVERIFY2(!told.isEmpty() && !told.contains(QString::number(code)), qPrintable(told));
    else
        QCOMPARE(told, problem);
}

QTEST_GUILESS_MAIN(TestWordList)
#include "tst_wordlist.moc"
