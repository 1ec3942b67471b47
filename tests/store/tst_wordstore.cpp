#include "FaultyFolders.h"
#include "TestSupport.h"
#include "platform/FileListBox.h"
#include "platform/TextCodec.h"
#include "store/WordStore.h"

#include <QDir>
#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include <QScopeGuard>

#ifdef Q_OS_UNIX
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

using namespace mirvo;
using mirvo::test::readBytes;
using mirvo::test::writeBytes;

class TestWordStore : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void entryPathConcatenates();
    void writeCreatesAndReplaces();
    void writeEncodesSystemCodePageWithCrLf_data();
    void writeEncodesSystemCodePageWithCrLf();
    void readFirstLineOnly_data();
    void readFirstLineOnly();
    void unsafeWordsAreRefused_data();
    void unsafeWordsAreRefused();
    void failedWriteKeepsOldEntry();
    void deleteMissingEntryCountsAsDeleted();
    void removeStoreLeavesHiddenFiles();
    void readingFolderOrMissingEntryFails();
    void listingShowsOrdinaryFilesOnly_data();
    void listingShowsOrdinaryFilesOnly();
    void handMadeNamesReadAndDelete();
    void removeStoreClearsLeftTemporaries();
    void reasonsAreInChinese();
    void firstLineIsCapped();
    void listingIsSnapshotUntilRefreshed();
    void refreshKeepsSelectionAndTellsNothing();
    void selectionIsInViewOnceShown();
    void writesWhereTheStoreIs();

private:
    std::unique_ptr<QTemporaryDir> m_dir;
    QString m_folder;
};

void TestWordStore::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
    m_folder = m_dir->path() + QStringLiteral("/words");
    QVERIFY(WordStore(m_folder).create(nullptr));
}

void TestWordStore::entryPathConcatenates()
{
    const WordStore store(QStringLiteral("/p/words"));
    QCOMPARE(store.entryPath(QStringLiteral("Apple")), QStringLiteral("/p/words/Apple"));
}

void TestWordStore::writeCreatesAndReplaces()
{
    const WordStore store(m_folder);
    QString error;
    QVERIFY2(store.writeEntry(QStringLiteral("apple"), QStringLiteral("苹果"), &error), qPrintable(error));
    QVERIFY(store.writeEntry(QStringLiteral("apple"), QStringLiteral("n. 苹果树"), &error));
    QCOMPARE(store.readMeaning(QStringLiteral("apple"), &error), QStringLiteral("n. 苹果树"));
    QCOMPARE(FileListBox::listFolder(m_folder), QStringList{QStringLiteral("apple")});
}

void TestWordStore::writeEncodesSystemCodePageWithCrLf_data()
{
    QTest::addColumn<QString>("word");
    QTest::addColumn<QString>("meaning");
    QTest::addColumn<QByteArray>("utf8Bytes"); // Linux
    QTest::addColumn<QByteArray>("gbBytes"); // Windows
    QTest::newRow("chinese") << QStringLiteral("w") << QStringLiteral("苹果") << QByteArray("苹果\r\n") << QByteArray("\xC6\xBB\xB9\xFB\r\n");
    QTest::newRow("ascii") << QStringLiteral("w") << QStringLiteral("apple") << QByteArray("apple\r\n") << QByteArray("apple\r\n");
    QTest::newRow("empty") << QStringLiteral("w") << QString() << QByteArray("\r\n") << QByteArray("\r\n");
    QTest::newRow("gbk that is also utf-8") << QStringLiteral("w") << QStringLiteral("一") << QByteArray("\xE4\xB8\x80\r\n")
                                            << QByteArray("\xD2\xBB\r\n");
    QTest::newRow("utf-8 that is also gbk") << QStringLiteral("w") << QStringLiteral("café") << QByteArray("\xEF\xBB\xBF" "café\r\n")
                                            << QByteArray("caf\xA8\xA6\r\n");
    QTest::newRow("outside gbk") << QStringLiteral("w") << QStringLiteral("😀") << QByteArray("😀\r\n") << QByteArray("\x94\x39\xFC\x36\r\n");
    // Names are the file system's matter: Unicode on Windows, whatever the code page holds.
    QTest::newRow("chinese word") << QStringLiteral("苹果") << QStringLiteral("apple") << QByteArray("apple\r\n")
                                  << QByteArray("apple\r\n");
    QTest::newRow("word outside gbk") << QStringLiteral("\U00020000x") << QStringLiteral("𠀀")
                                      << QByteArray("\xF0\xA0\x80\x80\r\n") << QByteArray("\x95\x32\x82\x36\r\n");
}

void TestWordStore::writeEncodesSystemCodePageWithCrLf()
{
    QFETCH(QString, word);
    QFETCH(QString, meaning);
    QFETCH(QByteArray, utf8Bytes);
    QFETCH(QByteArray, gbBytes);
    const WordStore store(m_folder);
    QVERIFY(store.writeEntry(word, meaning, nullptr));
    const bool utf8 = textcodec::systemEncoding == textcodec::Encoding::Utf8;
    QCOMPARE(readBytes(store.entryPath(word)), utf8 ? utf8Bytes : gbBytes);
    QCOMPARE(store.readMeaning(word, nullptr), meaning);
    QCOMPARE(FileListBox::listFolder(m_folder), QStringList{word});
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
    const WordStore store(m_folder);
    QVERIFY(writeBytes(store.entryPath(QStringLiteral("w")), content));
    QString error;
    const auto read = store.readMeaning(QStringLiteral("w"), &error);
    QVERIFY2(read.has_value(), qPrintable(error));
    QCOMPARE(*read, meaning);
}

void TestWordStore::unsafeWordsAreRefused_data()
{
    QTest::addColumn<QString>("word");
    QTest::newRow("empty") << QString();
    QTest::newRow("dot") << QStringLiteral(".");
    QTest::newRow("dot dot") << QStringLiteral("..");
    QTest::newRow("hidden") << QStringLiteral(".net");
    QTest::newRow("traversal") << QStringLiteral("../escape");
    QTest::newRow("absolute") << QStringLiteral("/tmp/escape");
    QTest::newRow("backslash") << QStringLiteral("..\\escape");
    QTest::newRow("nul") << QStringLiteral("a") + QChar(0) + QStringLiteral("b");
    QTest::newRow("256 bytes") << QString(256, QLatin1Char('a'));
#ifdef Q_OS_WIN
    // Windows counts UTF-16 units, and keeps some names and characters for itself.
    QTest::newRow("stream of a file") << QStringLiteral("a:b");
    QTest::newRow("wildcard") << QStringLiteral("what?");
    QTest::newRow("trailing dot") << QStringLiteral("etc.");
    QTest::newRow("device name") << QStringLiteral("con");
    QTest::newRow("device name with extension") << QStringLiteral("NUL.txt");
#else
    QTest::newRow("86 chinese = 258 bytes") << QString(86, QChar(0x4E2D));
#endif
}

void TestWordStore::unsafeWordsAreRefused()
{
    QFETCH(QString, word);
    const WordStore store(m_folder);
    QString error;
    QVERIFY(!store.writeEntry(word, QStringLiteral("x"), &error));
    QVERIFY2(error.contains(word), qPrintable(error));
    QVERIFY(!store.readMeaning(word, nullptr).has_value());
    QCOMPARE(QDir(m_dir->path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
             QStringList{QStringLiteral("words")});
    QVERIFY(QDir(m_folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot).isEmpty());
}

void TestWordStore::failedWriteKeepsOldEntry()
{
    const WordStore store(m_folder);
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

void TestWordStore::deleteMissingEntryCountsAsDeleted()
{
    const WordStore store(m_folder);
    QVERIFY(store.writeEntry(QStringLiteral("gone"), QStringLiteral("x"), nullptr));
    QVERIFY(store.deleteEntry(QStringLiteral("gone"), nullptr));
    QVERIFY(!QFile::exists(store.entryPath(QStringLiteral("gone"))));
    QVERIFY(store.deleteEntry(QStringLiteral("gone"), nullptr));
}

void TestWordStore::removeStoreLeavesHiddenFiles()
{
    const WordStore store(m_folder);
    QVERIFY(writeBytes(m_folder + QStringLiteral("/.hidden"), "keep me"));
    QString error;
    QVERIFY(!store.removeStore(&error));
    QVERIFY(error.contains(QDir::toNativeSeparators(m_folder)));
    QCOMPARE(readBytes(m_folder + QStringLiteral("/.hidden")), QByteArray("keep me"));

    QVERIFY(QFile::remove(m_folder + QStringLiteral("/.hidden")));
    QVERIFY(store.removeStore(&error));
    QVERIFY(!store.exists());
}

void TestWordStore::readingFolderOrMissingEntryFails()
{
    const WordStore store(m_folder);
    QVERIFY(QDir(m_folder).mkdir(QStringLiteral("folder")));
    QString error;
    QVERIFY(!store.readMeaning(QStringLiteral("folder"), &error).has_value());
    QVERIFY(error.contains(QStringLiteral("folder")));
    QVERIFY(!store.readMeaning(QStringLiteral("missing"), &error).has_value());
    QVERIFY(error.contains(QStringLiteral("missing")));
    // Writing over a folder fails and leaves the folder alone.
    QVERIFY(!store.writeEntry(QStringLiteral("folder"), QStringLiteral("x"), &error));
    QVERIFY(QFileInfo(store.entryPath(QStringLiteral("folder"))).isDir());
}

void TestWordStore::listingShowsOrdinaryFilesOnly_data()
{
    // Each made thing is "file:name", "dir:name", "fifo:name" or "link:name>target"; then
    // "rm:name" removes one, "mv:name>new" renames one, "renew:" makes the folder anew,
    // "many:prefix" makes 20 files at once and "reread:" has the list read the folder whole.
    QTest::addColumn<QStringList>("made");
    QTest::addColumn<QStringList>("listed");
    QTest::newRow("files, hidden file, folder")
        << QStringList{QStringLiteral("file:b"), QStringLiteral("file:A name with spaces.txt"),
                       QStringLiteral("file:.mirvo-1-1.tmp"), QStringLiteral("dir:sub")}
        << QStringList{QStringLiteral("A name with spaces.txt"), QStringLiteral("b")};
#ifdef Q_OS_UNIX
    // A link counts as what it leads to; only ordinary files are words (a link to a fifo too
    // would hang the first read of its meaning).
    QTest::newRow("links and a fifo")
        << QStringList{QStringLiteral("file:word"), QStringLiteral("link:linked>word"),
                       QStringLiteral("link:broken>nothing"), QStringLiteral("dir:sub"),
                       QStringLiteral("link:tosub>sub"), QStringLiteral("fifo:pipe"),
                       QStringLiteral("link:topipe>pipe"), QStringLiteral("link:.hidden>word")}
        << QStringList{QStringLiteral("linked"), QStringLiteral("word")};
    // A link's target changes without a word from the folder.
    QTest::newRow("link's target goes")
        << QStringList{QStringLiteral("file:word"), QStringLiteral("link:linked>word"),
                       QStringLiteral("file:../outside"), QStringLiteral("link:out>../outside"),
                       QStringLiteral("rm:word"), QStringLiteral("rm:../outside")}
        << QStringList{};
    QTest::newRow("a file becomes a fifo")
        << QStringList{QStringLiteral("file:a"), QStringLiteral("rm:a"), QStringLiteral("fifo:a")} << QStringList{};
#endif
    QTest::newRow("removed, renamed, replaced")
        << QStringList{QStringLiteral("file:a"), QStringLiteral("file:b"), QStringLiteral("file:c"),
                       QStringLiteral("rm:a"), QStringLiteral("mv:b>.b"), QStringLiteral("mv:c>d"),
                       QStringLiteral("rm:d"), QStringLiteral("dir:d"), QStringLiteral("file:a")}
        << QStringList{QStringLiteral("a")};
    // Names that came and went by notices, then a whole reading, then notices again.
    QTest::newRow("notices, then a whole reading")
        << QStringList{QStringLiteral("file:a"), QStringLiteral("file:b"), QStringLiteral("file:c"),
                       QStringLiteral("rm:b"), QStringLiteral("file:b"), QStringLiteral("file:d"),
                       QStringLiteral("rm:a"), QStringLiteral("reread:"), QStringLiteral("rm:d"),
                       QStringLiteral("file:e"), QStringLiteral("reread:")}
        << QStringList{QStringLiteral("b"), QStringLiteral("c"), QStringLiteral("e")};
    QStringList twenty;
    for (int i = 0; i < 20; ++i)
        twenty.append(QStringLiteral("w%1").arg(i, 2, 10, QLatin1Char('0')));
    twenty.removeAll(QStringLiteral("w07"));
    QTest::newRow("too many notices")
        << QStringList{QStringLiteral("file:a"), QStringLiteral("rm:a"), QStringLiteral("many:w"),
                       QStringLiteral("rm:w07"), QStringLiteral("reread:")}
        << twenty;
    QTest::newRow("the folder made anew")
        << QStringList{QStringLiteral("file:a"), QStringLiteral("renew:"), QStringLiteral("file:b")}
        << QStringList{QStringLiteral("b")};
    // Lower-cased code order as before; names equal that way in code order.
    QTest::newRow("order")
        << QStringList{QStringLiteral("file:ta"), QStringLiteral("file:\u017Fa"), QStringLiteral("file:sb"),
                       QStringLiteral("file:ab"), QStringLiteral("file:aB"), QStringLiteral("file:Ab"),
                       QStringLiteral("file:_x"), QStringLiteral("file:Zed"), QStringLiteral("file:中文")}
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

void TestWordStore::listingShowsOrdinaryFilesOnly()
{
    QFETCH(QStringList, made);
    QFETCH(QStringList, listed);
    const QDir folder(m_folder);
    // A list shown before, and refreshed after each step, keeps up with a whole reading.
    FileListBox list;
    list.setFolder(m_folder);
    const auto shown = [&list] {
        QStringList names;
        for (int row = 0; row < list.count(); ++row)
            names.append(list.nameAt(row));
        return names;
    };
    int held = -1;
    const auto release = qScopeGuard([&held] {
#ifdef Q_OS_UNIX
        if (held >= 0)
            ::close(held);
#endif
    });
    for (const QString &thing : made) {
        const QString kind = thing.section(QLatin1Char(':'), 0, 0);
        const QString name = thing.section(QLatin1Char(':'), 1).section(QLatin1Char('>'), 0, 0);
        const QString target = thing.section(QLatin1Char('>'), 1);
        const QString path = folder.filePath(name);
        if (kind == QLatin1String("file"))
            QVERIFY(writeBytes(path, "x\r\n"));
        else if (kind == QLatin1String("dir"))
            QVERIFY(folder.mkdir(name));
        else if (kind == QLatin1String("link"))
            QVERIFY(QFile::link(target, path));
#ifdef Q_OS_UNIX
        else if (kind == QLatin1String("fifo"))
            QCOMPARE(::mkfifo(QFile::encodeName(path).constData(), 0600), 0);
#endif
        else if (kind == QLatin1String("many")) {
            for (int i = 0; i < 20; ++i)
                QVERIFY(writeBytes(folder.filePath(name + QStringLiteral("%1").arg(i, 2, 10, QLatin1Char('0'))), "x\r\n"));
        } else if (kind == QLatin1String("reread"))
            list.setFolder(m_folder);
        else if (kind == QLatin1String("rm"))
            QVERIFY(QFile::remove(path) || folder.rmdir(name));
        else if (kind == QLatin1String("mv"))
            QVERIFY(QDir(m_folder).rename(name, target));
        else if (kind == QLatin1String("renew")) {
#ifdef Q_OS_UNIX
            // Held open elsewhere (a shell in it), the removed folder is not gone for good yet.
            held = ::open(QFile::encodeName(m_folder).constData(), O_RDONLY | O_DIRECTORY);
            QVERIFY(held >= 0);
#endif
            QVERIFY(QDir(m_folder).removeRecursively() && QDir().mkpath(m_folder));
        }
        list.refresh();
        QCOMPARE(shown(), FileListBox::listFolder(m_folder));
    }
    QCOMPARE(FileListBox::listFolder(m_folder), listed);
}

void TestWordStore::listingIsSnapshotUntilRefreshed()
{
    const WordStore store(m_folder);
    QVERIFY(store.writeEntry(QStringLiteral("a"), QStringLiteral("x"), nullptr));
    QVERIFY(store.writeEntry(QStringLiteral("b"), QStringLiteral("y"), nullptr));
    FileListBox list;
    list.setFolder(m_folder);
    QCOMPARE(list.count(), 2);
    QVERIFY(store.deleteEntry(QStringLiteral("a"), nullptr));
    QCOMPARE(list.count(), 2);
    QCOMPARE(list.nameAt(0), QStringLiteral("a"));
    list.refresh();
    QCOMPARE(list.count(), 1);
    QCOMPARE(list.nameAt(0), QStringLiteral("b"));
}

void TestWordStore::refreshKeepsSelectionAndTellsNothing()
{
    const WordStore store(m_folder);
    for (const char *word : {"a", "b", "c", "d"})
        QVERIFY(store.writeEntry(QString::fromLatin1(word), QStringLiteral("x"), nullptr));
    FileListBox list;
    list.setFolder(m_folder);
    list.select(2);
    QSignalSpy told(&list, &FileListBox::entryClicked);
    // A word before the selection goes and one comes after it: the selection stays on "c".
    QVERIFY(store.deleteEntry(QStringLiteral("a"), nullptr));
    QVERIFY(store.writeEntry(QStringLiteral("e"), QStringLiteral("x"), nullptr));
    list.refresh();
    QCOMPARE(list.selectedName(), QStringLiteral("c"));
    QCOMPARE(list.nameAt(3), QStringLiteral("e"));
    // The selected word itself goes: nothing is selected, not its neighbour.
    QVERIFY(store.deleteEntry(QStringLiteral("c"), nullptr));
    list.refresh();
    QCOMPARE(list.selectedName(), QString());
    QCOMPARE(list.count(), 3);
    // Changes in one place, then between every two names, and a name removed and made again.
    const auto shown = [&list] {
        QStringList names;
        for (int row = 0; row < list.count(); ++row)
            names.append(list.nameAt(row));
        return names;
    };
    for (const int start : {0, 1}) {
        for (int i = start; i < 40; i += 2)
            QVERIFY(store.writeEntry(QStringLiteral("w%1").arg(i, 2, 10, QLatin1Char('0')), QStringLiteral("x"), nullptr));
        QVERIFY(store.deleteEntry(QStringLiteral("d"), nullptr));
        QVERIFY(store.writeEntry(QStringLiteral("d"), QStringLiteral("y"), nullptr));
        list.refresh();
        QCOMPARE(shown(), FileListBox::listFolder(m_folder));
    }
    QCOMPARE(list.count(), 43);
    QCOMPARE(told.count(), 0);
}

void TestWordStore::handMadeNamesReadAndDelete()
{
#ifdef Q_OS_WIN
    QSKIP("a backslash separates folders on Windows");
#else
    // The import refuses such a word, but a file put there by hand is a word like any other.
    const WordStore store(m_folder);
    QVERIFY(writeBytes(m_folder + QStringLiteral("/a\\b"), "手工\n"));
    QCOMPARE(FileListBox::listFolder(m_folder), QStringList{QStringLiteral("a\\b")});
    QString error;
    QCOMPARE(store.readMeaning(QStringLiteral("a\\b"), &error).value_or(error), QStringLiteral("手工"));
    QVERIFY(store.deleteEntry(QStringLiteral("a\\b"), &error));
    QVERIFY(FileListBox::listFolder(m_folder).isEmpty());
    QVERIFY(!store.writeEntry(QStringLiteral("a\\b"), QStringLiteral("x"), &error));
#endif
}

void TestWordStore::removeStoreClearsLeftTemporaries()
{
    const WordStore store(m_folder);
    QVERIFY(writeBytes(m_folder + QStringLiteral("/.mirvo-123-4.tmp"), "half"));
    QString error;
    QVERIFY2(store.removeStore(&error), qPrintable(error));
    QVERIFY(!store.exists());
}

void TestWordStore::reasonsAreInChinese()
{
    const WordStore store(m_folder);
    QString error;
    QVERIFY(!store.readMeaning(QStringLiteral("missing"), &error));
    QVERIFY2(error.contains(QStringLiteral("不存在")), qPrintable(error));
}

void TestWordStore::firstLineIsCapped()
{
    const WordStore store(m_folder);
    QVERIFY(writeBytes(store.entryPath(QStringLiteral("huge")), QByteArray(300 * 1024, 'x')));
    QCOMPARE(store.readMeaning(QStringLiteral("huge"), nullptr).value_or(QString()).size(), 64 * 1024);
}

void TestWordStore::selectionIsInViewOnceShown()
{
    const WordStore store(m_folder);
    for (int i = 0; i < 100; ++i)
        QVERIFY(store.writeEntry(QStringLiteral("w%1").arg(i, 3, 10, QLatin1Char('0')), QStringLiteral("x"), nullptr));
    // Selected before it shows, and while it shows, as the window does at load.
    for (const bool shownFirst : {false, true}) {
        FileListBox list;
        list.setGeometry(0, 0, 120, 200);
        if (shownFirst)
            list.show();
        list.setFolder(m_folder);
        list.select(80);
        list.show();
        QVERIFY(QTest::qWaitForWindowExposed(&list));
        QVERIFY(list.viewport()->rect().contains(list.visualRect(list.model()->index(80, 0))));
    }
}

void TestWordStore::writesWhereTheStoreIs()
{
    const WordStore store(m_folder);
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

QTEST_MAIN(TestWordStore)
#include "tst_wordstore.moc"
