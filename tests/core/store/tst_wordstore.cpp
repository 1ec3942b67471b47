#include "FaultyFolders.h"
#include "TestSupport.h"
#include "core/store/FolderReading.h"
#include "core/store/FolderWatch.h"
#include "core/store/WordList.h"
#include "core/store/WordStore.h"

#include <QDir>
#include <QFile>
#include <QScopeGuard>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include <cerrno>

#ifdef Q_OS_UNIX
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#else
#include <qt_windows.h>
#endif

using namespace mirvo;
using mirvo::test::dotNamesHidden;
using mirvo::test::listedWords;
using mirvo::test::readBytes;
using mirvo::test::writeBytes;

namespace {

/// One change made to the store folder behind the list's back.
struct Step
{
    enum Kind { File, Hidden, Folder, Fifo, Link, Mark, Remove, Rename, Renew, Twenty, Reread } kind;
    QString name;
    QString other; ///< a link's target, a new name, the marks set ("hidden", "system" or none)
};
using Steps = QList<Step>;

Step file(const QString &name) { return {Step::File, name, {}}; }
Step remove(const QString &name) { return {Step::Remove, name, {}}; }

} // namespace

Q_DECLARE_METATYPE(Step)

class TestWordStore : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void entryPathConcatenates();
    void writeCreatesAndReplaces();
    void writeEncodesSystemCodePageWithCrLf_data();
    void writeEncodesSystemCodePageWithCrLf();
    void readFirstLineOnly_data();
    void readFirstLineOnly();
    void unsafeWordsAreRefused_data();
    void unsafeWordsAreRefused();
    void failedWriteKeepsOldEntry();
    void deletingAnEntry_data();
    void deletingAnEntry();
    void removeStoreLeavesHiddenFiles();
    void readingWhatIsNoEntryFails_data();
    void readingWhatIsNoEntryFails();
    void listingFollowsTheFolder_data();
    void listingFollowsTheFolder();
    void watchTellsChanges_data();
    void watchTellsChanges();
    void refreshMovesRowsUntilManyChange_data();
    void refreshMovesRowsUntilManyChange();
    void failedReadingEmptiesTheList_data();
    void failedReadingEmptiesTheList();
    void readingProblemsAreTold_data();
    void readingProblemsAreTold();
    void handMadeNamesReadDeleteAndRestore_data();
    void handMadeNamesReadDeleteAndRestore();
    void removeStoreClearsLeftTemporaries();
    void reasonsAreInChinese();
    void writesWhereTheStoreIs();

private:
    /// Makes one change to the store folder, as another program would.
    void makeStep(const Step &step);

    std::unique_ptr<QTemporaryDir> m_dir;
    QString m_folder;
    int m_held = -1; ///< the store folder held open, as a shell in it would
};

void TestWordStore::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
    m_folder = m_dir->path() + QStringLiteral("/words");
    QVERIFY(WordStore(m_folder).create(nullptr));
}

void TestWordStore::cleanup()
{
#ifdef Q_OS_UNIX
    if (m_held >= 0)
        ::close(m_held);
#endif
    m_held = -1;
}

void TestWordStore::entryPathConcatenates()
{
    const WordStore store(QStringLiteral("/p/words"));
    QCOMPARE(store.entryPath(QStringLiteral("Apple")), QStringLiteral("/p/words/Apple"));
}

void TestWordStore::writeCreatesAndReplaces()
{
    WordStore store(m_folder);
    QString error;
    QVERIFY2(store.writeEntry(QStringLiteral("apple"), QStringLiteral("苹果"), &error), qPrintable(error));
    QVERIFY(store.writeEntry(QStringLiteral("apple"), QStringLiteral("n. 苹果树"), &error));
    QCOMPARE(store.readMeaning(QStringLiteral("apple"), &error), QStringLiteral("n. 苹果树"));
    QCOMPARE(listedWords(m_folder), QStringList{QStringLiteral("apple")});
}

void TestWordStore::writeEncodesSystemCodePageWithCrLf_data()
{
    // With no ANSI code page (Linux, UTF-8), at 936 and at 1252: as the system's editor keeps it.
    QTest::addColumn<QString>("word");
    QTest::addColumn<QString>("meaning");
    QTest::addColumn<test::ByCodePage<QByteArray>>("bytes");
    const QByteArray bom = "\xEF\xBB\xBF";
    const auto row = [](const char *name, const QString &word, const QString &meaning, const QByteArray &withoutAnsi,
                        const QByteArray &cp936, const QByteArray &cp1252) {
        QTest::newRow(name) << word << meaning
                            << test::ByCodePage<QByteArray>{withoutAnsi + "\r\n", cp936 + "\r\n", cp1252 + "\r\n"};
    };
    const QString w = QStringLiteral("w");
    row("chinese", w, QStringLiteral("苹果"), "苹果", "\xC6\xBB\xB9\xFB", bom + "苹果");
    row("ascii", w, QStringLiteral("apple"), "apple", "apple", "apple");
    row("empty", w, QString(), {}, {}, {});
    row("gbk that is also utf-8", w, QStringLiteral("一"), "\xE4\xB8\x80", "\xD2\xBB", bom + "\xE4\xB8\x80");
    row("utf-8 that is also gbk", w, QStringLiteral("café"), bom + "café", "caf\xA8\xA6", "caf\xE9");
    row("outside gbk", w, QStringLiteral("😀"), "😀", bom + "😀", bom + "😀");
    // Names are the file system's matter: Unicode on Windows, whatever the code page holds.
    row("chinese word", QStringLiteral("苹果"), QStringLiteral("apple"), "apple", "apple", "apple");
    row("word outside gbk", QStringLiteral("\U00020000x"), QStringLiteral("𠀀"), "\xF0\xA0\x80\x80",
        bom + "\xF0\xA0\x80\x80", bom + "\xF0\xA0\x80\x80");
#ifdef Q_OS_WIN
    // Only its hidden mark hides a file there; the entry is made without one.
    row("leading dot", QStringLiteral(".net"), QStringLiteral("网"), {}, "\xCD\xF8", bom + "网");
#endif
}

void TestWordStore::writeEncodesSystemCodePageWithCrLf()
{
    QFETCH(QString, word);
    QFETCH(QString, meaning);
    QFETCH(test::ByCodePage<QByteArray>, bytes);
    const auto expected = bytes.here();
    if (!expected)
        QSKIP("the rows know no other ANSI code page");
    WordStore store(m_folder);
    QVERIFY(store.writeEntry(word, meaning, nullptr));
    QCOMPARE(readBytes(store.entryPath(word)), *expected);
    QCOMPARE(store.readMeaning(word, nullptr), meaning);
    QCOMPARE(listedWords(m_folder), QStringList{word});
}

void TestWordStore::readFirstLineOnly_data()
{
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<QString>("meaning");
    QTest::newRow("crlf") << QByteArray("one\r\ntwo\r\n") << QStringLiteral("one");
    QTest::newRow("lf") << QByteArray("one\ntwo") << QStringLiteral("one");
    QTest::newRow("cr") << QByteArray("one\rtwo") << QStringLiteral("one");
    QTest::newRow("no line end") << QByteArray("one") << QStringLiteral("one");
    QTest::newRow("empty file") << QByteArray() << QString();
    QTest::newRow("empty first line") << QByteArray("\r\nsecond") << QString();
    QTest::newRow("gbk") << QByteArray("\xC6\xBB\xB9\xFB\r\n") << QStringLiteral("苹果");
    QTest::newRow("utf-8") << QByteArray("苹果\n") << QStringLiteral("苹果");
    QTest::newRow("utf-8 bom") << QByteArray("\xEF\xBB\xBF苹果\n") << QStringLiteral("苹果");
    // Entries as version 1.1 wrote them: GB18030, UTF-8 with a BOM where GB18030 read as UTF-8.
    QTest::newRow("1.1 gbk also utf-8") << QByteArray("\xD2\xBB\r\n") << QStringLiteral("一");
    QTest::newRow("1.1 four-byte") << QByteArray("n. \x94\x39\xFC\x36\r\n") << QStringLiteral("n. 😀");
    QTest::newRow("1.1 bom") << QByteArray("\xEF\xBB\xBF鐨勬槸\r\n") << QStringLiteral("鐨勬槸");
    QTest::newRow("code page 936 euro") << QByteArray("\xB0\xFC\x80 5\r\n") << QStringLiteral("包€ 5");
    QTest::newRow("long first line") << QByteArray(5000, 'x') + "\nrest" << QString(5000, QLatin1Char('x'));
    // Past 64 KiB a line is cut, at a character of its own encoding, never inside one.
    QTest::newRow("ascii past the limit") << QByteArray(300 * 1024, 'x') << QString(64 * 1024, QLatin1Char('x'));
    QTest::newRow("utf-8 past the limit") << QStringLiteral("中").repeated(25000).toUtf8() + "\n"
                                          << QStringLiteral("中").repeated(64 * 1024 / 3);
    QTest::newRow("gbk past the limit") << "x" + QByteArray("\xD6\xD0").repeated(40000) + "\n"
                                        << QStringLiteral("x") + QStringLiteral("中").repeated(64 * 1024 / 2 - 1);
    QTest::newRow("four-byte gb18030 past the limit") << "xy" + QByteArray("\x94\x39\xFC\x36").repeated(20000)
                                                      << QStringLiteral("xy") + QStringLiteral("😀").repeated(64 * 1024 / 4 - 1);
}

void TestWordStore::readFirstLineOnly()
{
    QFETCH(QByteArray, content);
    QFETCH(QString, meaning);
    WordStore store(m_folder);
    QVERIFY(writeBytes(store.entryPath(QStringLiteral("w")), content));
    QString error;
    const auto read = store.readMeaning(QStringLiteral("w"), &error);
    QVERIFY2(read.has_value(), qPrintable(error));
    QCOMPARE(*read, meaning);
}

void TestWordStore::unsafeWordsAreRefused_data()
{
    QTest::addColumn<QString>("word");
    QTest::addColumn<QString>("reason"); // as the import reports it, where it says more than the word
    QTest::newRow("empty") << QString() << QString();
    QTest::newRow("dot") << QStringLiteral(".") << QString();
    QTest::newRow("dot dot") << QStringLiteral("..") << QString();
    QTest::newRow("traversal") << QStringLiteral("../escape") << QString();
    QTest::newRow("absolute") << QStringLiteral("/tmp/escape") << QString();
    QTest::newRow("backslash") << QStringLiteral("..\\escape") << QString();
    QTest::newRow("nul") << QStringLiteral("a") + QChar(0) + QStringLiteral("b") << QString();
    QTest::newRow("256 bytes") << QString(256, QLatin1Char('a')) << QString();
#ifdef Q_OS_WIN
    // Windows counts UTF-16 units, and keeps some names and characters for itself.
    QTest::newRow("stream of a file") << QStringLiteral("a:b") << QString();
    QTest::newRow("wildcard") << QStringLiteral("what?") << QStringLiteral("单词中含有 Windows 文件名不允许的字符“?”");
    QTest::newRow("trailing dot") << QStringLiteral("etc.") << QString();
    QTest::newRow("device name") << QStringLiteral("con") << QString();
    QTest::newRow("device name with extension") << QStringLiteral("NUL.txt") << QString();
#else
    QTest::newRow("hidden") << QStringLiteral(".net") << QStringLiteral("以“.”开头的文件是隐藏文件，不会出现在单词列表中");
    QTest::newRow("86 chinese = 258 bytes") << QString(86, QChar(0x4E2D)) << QString();
#endif
}

void TestWordStore::unsafeWordsAreRefused()
{
    QFETCH(QString, word);
    QFETCH(QString, reason);
    WordStore store(m_folder);
    QString error;
    QVERIFY(!store.writeEntry(word, QStringLiteral("x"), &error));
    QVERIFY2(error.contains(word) && error.contains(reason), qPrintable(error));
    QVERIFY(!store.readMeaning(word, nullptr).has_value());
    QCOMPARE(QDir(m_dir->path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
             QStringList{QStringLiteral("words")});
    QVERIFY(QDir(m_folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot).isEmpty());
}

void TestWordStore::failedWriteKeepsOldEntry()
{
    WordStore store(m_folder);
    QVERIFY(store.writeEntry(QStringLiteral("keep"), QStringLiteral("旧"), nullptr));
    QString error;
#ifdef Q_OS_WIN
    {
        // Held open by another program (an editor), the entry cannot be replaced.
        QFile held(store.entryPath(QStringLiteral("keep")));
        QVERIFY(held.open(QIODevice::ReadOnly));
        QVERIFY(!store.writeEntry(QStringLiteral("keep"), QStringLiteral("新"), &error));
    }
#else
    QFile::setPermissions(m_folder, QFile::ReadOwner | QFile::ExeOwner);
    {
        // Root ignores modes: write as an ordinary user would.
        QVERIFY(mirvo::test::openForOthers(m_folder));
        const mirvo::test::UnprivilegedUser asUser;
        QVERIFY(asUser.ready());
        QVERIFY(!store.writeEntry(QStringLiteral("keep"), QStringLiteral("新"), &error));
    }
    QFile::setPermissions(m_folder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
#endif
    QVERIFY(error.contains(QStringLiteral("keep")));
    QCOMPARE(store.readMeaning(QStringLiteral("keep"), nullptr), QStringLiteral("旧"));
    QCOMPARE(QDir(m_folder).entryList(QDir::Files | QDir::Hidden), QStringList{QStringLiteral("keep")});
}

void TestWordStore::deletingAnEntry_data()
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
    QTest::newRow("held open without delete sharing") << QStringLiteral("held") << QStringLiteral("文件正被其他程序占用");
}

void TestWordStore::deletingAnEntry()
{
    QFETCH(QString, fault);
    QFETCH(QString, refusal);
    WordStore store(m_folder);
    const QString entry = store.entryPath(QStringLiteral("w"));
    QVERIFY(store.writeEntry(QStringLiteral("w"), QStringLiteral("x"), nullptr));
    const mirvo::test::HeldFile held(fault == QLatin1String("held") ? entry : QString());
    if (fault == QLatin1String("held") && !held.held())
        QSKIP("an open file never stops its deletion here");
    if (fault == QLatin1String("read-only"))
        QVERIFY(QFile::setPermissions(entry, QFile::ReadOwner | QFile::ReadUser));
    if (fault == QLatin1String("gone"))
        QVERIFY(QFile::remove(entry));
    QString error;
    QCOMPARE(store.deleteEntry(QStringLiteral("w"), &error), refusal.isEmpty());
    QCOMPARE(error, refusal.isEmpty() ? QString() : QStringLiteral("无法删除单词“w”：") + refusal);
    // Only a word still there stays in the list.
    const bool stays = !refusal.isEmpty() && fault != QLatin1String("gone");
    QCOMPARE(QFile::exists(entry), stays);
    QCOMPARE(store.words().names(), stays ? QStringList{QStringLiteral("w")} : QStringList());
}

void TestWordStore::removeStoreLeavesHiddenFiles()
{
    WordStore store(m_folder);
    QVERIFY(mirvo::test::writeHiddenFile(m_folder + QStringLiteral("/.hidden"), "keep me"));
    QString error;
    QVERIFY(!store.removeStore(&error));
    QVERIFY(error.contains(QDir::toNativeSeparators(m_folder)));
    QCOMPARE(readBytes(m_folder + QStringLiteral("/.hidden")), QByteArray("keep me"));

    QVERIFY(QFile::remove(m_folder + QStringLiteral("/.hidden")));
    QVERIFY(store.removeStore(&error));
    QVERIFY(!store.exists());
}

void TestWordStore::readingWhatIsNoEntryFails_data()
{
    // What a listed entry became behind the list's back.
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QString>("meaningProblem"); // empty: its meaning is read
    QTest::addColumn<QString>("entryProblem");
    const QString noFile = QStringLiteral("它不是普通文件。");
    QTest::newRow("a folder") << "folder" << "它是一个文件夹。" << "它是一个文件夹。";
    QTest::newRow("missing") << "missing" << "文件或文件夹不存在" << "文件或文件夹不存在";
    // Neither may wait: a pipe nobody writes to would hold the window for good.
    QTest::newRow("a named pipe") << "pipe" << noFile << noFile;
    QTest::newRow("a link to a device") << "device" << noFile << noFile;
    // Too large to keep for Ctrl+Z; its first line is still read.
    QTest::newRow("over 16 MB") << "huge" << "" << "文件太大（超过 16 MB）。";
}

void TestWordStore::readingWhatIsNoEntryFails()
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
    if (kind == QLatin1String("pipe") && !mirvo::test::makeNamedPipe(path))
        QSKIP("named pipes live in no folder here (Windows keeps them under \\\\.\\pipe)");
    if (kind == QLatin1String("device")) {
#ifdef Q_OS_WIN
        QSKIP("a link made there is a shortcut file, no device");
#else
        QVERIFY(QFile::link(QStringLiteral("/dev/zero"), path));
#endif
    }

    QString error;
    QCOMPARE(store.readMeaning(QStringLiteral("w"), &error).has_value(), meaningProblem.isEmpty());
    QCOMPARE(error, meaningProblem.isEmpty() ? QString() : QStringLiteral("无法读取单词“w”：") + meaningProblem);
    QVERIFY(!store.readEntry(QStringLiteral("w"), &error));
    QCOMPARE(error, QStringLiteral("无法读取单词“w”：") + entryProblem);
    // Writing over a folder fails and leaves the folder alone.
    if (kind == QLatin1String("folder")) {
        QVERIFY(!store.writeEntry(QStringLiteral("w"), QStringLiteral("x"), &error));
        QVERIFY(QFileInfo(path).isDir());
    }
}

void TestWordStore::listingFollowsTheFolder_data()
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
    QStringList twenty;
    for (int i = 0; i < 20; ++i)
        twenty.append(QStringLiteral("w%1").arg(i, 2, 10, QLatin1Char('0')));
    twenty.removeAll(QStringLiteral("w07"));
    QTest::newRow("too many notices")
        << Steps{file(a), remove(a), {Step::Twenty, QStringLiteral("w"), {}}, remove(QStringLiteral("w07")), {Step::Reread, {}, {}}}
        << twenty;
    QTest::newRow("the folder made anew") << Steps{file(a), {Step::Renew, {}, {}}, file(b)} << QStringList{b};
    // Lower-cased code order as before; names equal that way in code order.
    Steps order;
    for (const QString &name : {QStringLiteral("ta"), QStringLiteral("\u017Fa"), QStringLiteral("sb"), QStringLiteral("ab"),
                                QStringLiteral("aB"), QStringLiteral("Ab"), QStringLiteral("_x"), QStringLiteral("Zed"),
                                QStringLiteral("中文")})
        order.append(file(name));
    QTest::newRow("order")
        << order
        << QStringList{QStringLiteral("_x"),
#ifdef Q_OS_WIN
                       // Names that differ in case only are one file there: the first name stays.
                       QStringLiteral("ab"),
#else
                       QStringLiteral("Ab"), QStringLiteral("aB"), QStringLiteral("ab"),
#endif
                       QStringLiteral("sb"), QStringLiteral("ta"), QStringLiteral("Zed"),
                       QStringLiteral("\u017Fa"), QStringLiteral("中文")};
}

void TestWordStore::listingFollowsTheFolder()
{
    QFETCH(Steps, steps);
    QFETCH(QStringList, listed);
    // A list read before, and refreshed after each step, keeps up with a whole reading.
    WordList list(m_folder);
    QVERIFY(list.reread());
    for (const Step &step : steps) {
        const QStringList before = list.names();
        if (step.kind == Step::Reread)
            QVERIFY(list.reread());
        makeStep(step);
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

void TestWordStore::makeStep(const Step &step)
{
    const QDir folder(m_folder);
    const QString path = folder.filePath(step.name);
    switch (step.kind) {
    case Step::File: QVERIFY(writeBytes(path, "x\r\n")); break;
    case Step::Hidden: QVERIFY(mirvo::test::writeHiddenFile(path, "x\r\n")); break;
    case Step::Folder: QVERIFY(folder.mkdir(step.name)); break;
    case Step::Link: QVERIFY(QFile::link(step.other, path)); break;
    case Step::Fifo: QVERIFY(mirvo::test::makeNamedPipe(path)); break;
    case Step::Mark:
        QVERIFY(mirvo::test::setFileMarks(path, step.other == QLatin1String("hidden"), step.other == QLatin1String("system")));
        break;
    case Step::Remove: QVERIFY(QFile::remove(path) || folder.rmdir(step.name)); break;
    case Step::Rename: QVERIFY(QDir(m_folder).rename(step.name, step.other)); break;
    case Step::Twenty:
        for (int i = 0; i < 20; ++i)
            QVERIFY(writeBytes(folder.filePath(step.name + QStringLiteral("%1").arg(i, 2, 10, QLatin1Char('0'))), "x\r\n"));
        break;
    case Step::Reread: break;
    case Step::Renew:
#ifdef Q_OS_UNIX
        // Held open elsewhere (a shell in it), the removed folder is not gone for good yet.
        m_held = ::open(QFile::encodeName(m_folder).constData(), O_RDONLY | O_DIRECTORY);
        QVERIFY(m_held >= 0);
        QVERIFY(QDir(m_folder).removeRecursively() && QDir().mkpath(m_folder));
#else
        // Windows removes a folder only once the last handle on it closes, the list's own
        // watch's included: the old one is moved away, as to the recycle bin.
        QVERIFY(QDir().rename(m_folder, m_dir->filePath(QStringLiteral("recycled"))) && QDir().mkpath(m_folder));
#endif
        break;
    }
}

void TestWordStore::watchTellsChanges_data()
{
    QTest::addColumn<Steps>("steps");
    QTest::addColumn<QStringList>("told"); // each name, + listed now, - not; or "whole": read it whole
    const QString a = QStringLiteral("a"), b = QStringLiteral("b");
    const auto told = [](const char *names) { return QString::fromLatin1(names).split(QLatin1Char(' '), Qt::SkipEmptyParts); };
    QTest::newRow("nothing") << Steps{} << told("");
    QTest::newRow("made, deleted, renamed")
        << Steps{file(a), file(b), remove(b), {Step::Rename, a, QStringLiteral("c")}} << told("a- b- c+");
    QTest::newRow("a folder") << Steps{{Step::Folder, a, {}}} << told("a-");
    QTest::newRow("a dot name") << Steps{file(QStringLiteral(".x"))} << (dotNamesHidden ? told("") : told(".x+"));
#ifdef Q_OS_WIN
    QTest::newRow("marked hidden or system")
        << Steps{file(a), {Step::Mark, a, QStringLiteral("hidden")}, file(b), {Step::Mark, b, QStringLiteral("system")}}
        << told("a- b-");
    QTest::newRow("a mark cleared") << Steps{{Step::Hidden, a, {}}, {Step::Mark, a, {}}} << told("a+");
    // Perhaps the short name of a file whose long name the list holds.
    QTest::newRow("a short name gone") << Steps{file(QStringLiteral("ABC~1")), remove(QStringLiteral("ABC~1"))} << told("whole");
#endif
    QTest::newRow("the folder replaced") << Steps{file(a), {Step::Renew, {}, {}}} << told("whole");
    QTest::newRow("more than the limit") << Steps{{Step::Twenty, QStringLiteral("w"), {}}} << told("whole");
}

void TestWordStore::watchTellsChanges()
{
    QFETCH(Steps, steps);
    QFETCH(QStringList, told);
    FolderWatch watch;
    watch.follow(m_folder);
    for (const Step &step : steps) {
        makeStep(step);
        if (QTest::currentTestFailed())
            return;
    }
    const auto changes = watch.takeChanges(16);
    QStringList seen{QStringLiteral("whole")};
    if (changes) {
        seen.clear();
        for (const FolderWatch::Change &change : *changes)
            seen.append(QString::fromStdString(change.bytes) + QLatin1Char(change.listed ? '+' : '-'));
    }
    seen.sort();
    QCOMPARE(seen, told);
}

void TestWordStore::refreshMovesRowsUntilManyChange_data()
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

void TestWordStore::refreshMovesRowsUntilManyChange()
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
        for (const Step &step : steps) {
            if (step.kind == Step::File)
                QVERIFY(writeBytes(QDir(m_folder).filePath(step.name), "x\r\n"));
            else
                QVERIFY(QFile::remove(QDir(m_folder).filePath(step.name)));
        }
        // Through the notices, and read whole: the same rows move.
        QVERIFY(whole ? list.reread() : list.refresh());
        QCOMPARE(list.names(), listedWords(m_folder));
        QCOMPARE(resets.count() > 0, reset);
        QCOMPARE(index.data().toString(), heldAfter);
    }
}

void TestWordStore::failedReadingEmptiesTheList_data()
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

void TestWordStore::failedReadingEmptiesTheList()
{
    QFETCH(QString, fault);
    QFETCH(QString, reason);
    WordStore store(m_folder);
    QVERIFY(store.writeEntry(QStringLiteral("a"), QStringLiteral("一"), nullptr));
    WordList &list = store.words();
    QVERIFY(list.reread());
    const QString moved = m_dir->filePath(QStringLiteral("moved"));
    if (fault == QLatin1String("deleted")) {
        QVERIFY(QDir(m_folder).removeRecursively());
    } else if (fault == QLatin1String("moved")) {
        QVERIFY(QDir().rename(m_folder, moved));
    } else if (fault == QLatin1String("file")) {
        QVERIFY(QDir().rename(m_folder, m_dir->filePath(QStringLiteral("recycled"))) && writeBytes(m_folder, "x"));
    }
#ifdef Q_OS_UNIX
    std::unique_ptr<mirvo::test::UnprivilegedUser> asUser;
    if (fault == QLatin1String("unreadable")) {
        QVERIFY(mirvo::test::openForOthers(m_folder));
        QCOMPARE(::chmod(QFile::encodeName(m_folder).constData(), 0300), 0);
        asUser = std::make_unique<mirvo::test::UnprivilegedUser>();
        QVERIFY(asUser->ready());
    }
#endif
    // Never an empty store: the reading failed, and says where and why.
    QString error;
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

void TestWordStore::readingProblemsAreTold_data()
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
    QTest::newRow("mode denies listing") << "folder" << EACCES << "没有权限";
#endif
}

void TestWordStore::readingProblemsAreTold()
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

void TestWordStore::handMadeNamesReadDeleteAndRestore_data()
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

void TestWordStore::handMadeNamesReadDeleteAndRestore()
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
    {
        QFile file;
        QVERIFY(file.open(::open(path.constData(), O_WRONLY | O_CREAT, 0644), QIODevice::WriteOnly,
                          QFileDevice::AutoCloseHandle));
        QCOMPARE(file.write(content), content.size());
    }
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
    QVERIFY(!store.writeEntry(QStringLiteral("a\\b"), QStringLiteral("x"), &error));
#endif
}

void TestWordStore::removeStoreClearsLeftTemporaries()
{
    WordStore store(m_folder);
    QVERIFY(writeBytes(m_folder + QStringLiteral("/.mirvo-123-4.tmp"), "half"));
    QString error;
    QVERIFY2(store.removeStore(&error), qPrintable(error));
    QVERIFY(!store.exists());
}

void TestWordStore::reasonsAreInChinese()
{
    WordStore store(m_folder);
    QString error;
    QVERIFY(!store.readMeaning(QStringLiteral("missing"), &error));
    QVERIFY2(error.contains(QStringLiteral("不存在")), qPrintable(error));
}

void TestWordStore::writesWhereTheStoreIs()
{
    WordStore store(m_folder);
    QString error;
#ifdef Q_OS_UNIX
    // A folder one may write in but not list still takes entries.
    QVERIFY(mirvo::test::openForOthers(m_folder));
    QCOMPARE(::chmod(QFile::encodeName(m_folder).constData(), 0333), 0);
    {
        const mirvo::test::UnprivilegedUser asUser;
        QVERIFY(asUser.ready());
        QVERIFY2(store.writeEntry(QStringLiteral("blind"), QStringLiteral("x"), &error), qPrintable(error));
    }
    QCOMPARE(::chmod(QFile::encodeName(m_folder).constData(), 0700), 0);
    QCOMPARE(store.readMeaning(QStringLiteral("blind"), nullptr), QStringLiteral("x"));

    // Moved away in the middle of an import, the folder took its entries: that is told.
    WordStore::Writer writer(store);
    QVERIFY(writer.write(QStringLiteral("a"), QStringLiteral("x"), &error));
    QVERIFY(writer.wroteIntoStore(&error));
    QVERIFY(QDir(m_dir->path()).rename(QStringLiteral("words"), QStringLiteral("moved")));
    QVERIFY(writer.write(QStringLiteral("b"), QStringLiteral("x"), &error));
    QVERIFY(!writer.wroteIntoStore(&error));
    QVERIFY2(error.contains(QDir::toNativeSeparators(m_folder)), qPrintable(error));
#endif
}

QTEST_GUILESS_MAIN(TestWordStore)
#include "tst_wordstore.moc"
