#include "FaultyFolders.h"
#include "TestSupport.h"
#include "core/store/WordStore.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#ifdef Q_OS_UNIX
#include <sys/stat.h>
#endif

using namespace mirvo;
using namespace mirvo::test;

/// The store's entries: written as the system's editor keeps text, read to their first line,
/// refused where a word cannot name one, deleted and written back by their own names.
class TestWordStore : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void writeEncodesSystemCodePageWithCrLf_data();
    void writeEncodesSystemCodePageWithCrLf();
    void readFirstLineOnly_data();
    void readFirstLineOnly();
    void unsafeWordsAreRefused_data();
    void unsafeWordsAreRefused();
    void failedWriteKeepsOldEntry();
    void removeStore_data();
    void removeStore();
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
    // The codec's own rows are the text tests'; here what the store adds: the line end, the word
    // as a name (the file system's matter: Unicode on Windows, whatever the code page holds).
    const QString w = QStringLiteral("w");
    row("chinese", w, QStringLiteral("苹果"), "苹果", "\xC6\xBB\xB9\xFB", bom + "苹果");
    row("empty", w, QString(), {}, {}, {});
    row("chinese word", QStringLiteral("苹果"), QStringLiteral("apple"), "apple", "apple", "apple");
    row("longest name", QString(255, QLatin1Char('a')), QStringLiteral("x"), "x", "x", "x");
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
    // Over an older entry, which it replaces.
    QVERIFY(store.writeEntry(word, QStringLiteral("旧的释义"), nullptr));
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
    // Decoded as the text tests say; the codec's own rows are theirs.
    QTest::newRow("gbk") << QByteArray("\xC6\xBB\xB9\xFB\r\n") << QStringLiteral("苹果");
    QTest::newRow("utf-8 bom") << QByteArray("\xEF\xBB\xBF苹果\n") << QStringLiteral("苹果");
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
    QTest::newRow("backslash") << QStringLiteral("x\\..\\..\\escape") << QString();
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
        QVERIFY(openForOthers(m_folder));
        const UnprivilegedUser asUser;
        QVERIFY(asUser.ready());
        QVERIFY(!store.writeEntry(QStringLiteral("keep"), QStringLiteral("新"), &error));
    }
    QFile::setPermissions(m_folder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
#endif
    QVERIFY(error.contains(QStringLiteral("keep")));
    QCOMPARE(store.readMeaning(QStringLiteral("keep"), nullptr), QStringLiteral("旧"));
    QCOMPARE(QDir(m_folder).entryList(QDir::Files | QDir::Hidden), QStringList{QStringLiteral("keep")});
}

void TestWordStore::removeStore_data()
{
    QTest::addColumn<QString>("left"); // a hidden file in the store folder
    QTest::addColumn<bool>("removed");
    QTest::newRow("empty") << QString() << true;
    QTest::newRow("a temporary a crash left") << QStringLiteral(".mirvo-123-4.tmp") << true;
    // The user's own files are never touched.
    QTest::newRow("a file of the user's") << QStringLiteral(".hidden") << false;
}

void TestWordStore::removeStore()
{
    QFETCH(QString, left);
    QFETCH(bool, removed);
    WordStore store(m_folder);
    const QString path = m_folder + QLatin1Char('/') + left;
    QVERIFY(left.isEmpty() || writeHiddenFile(path, "keep me"));
    QString error;
    QCOMPARE(store.removeStore(&error), removed);
    QCOMPARE(store.exists(), !removed);
    if (!removed) {
        QVERIFY2(error.startsWith(QStringLiteral("无法删除词库文件夹“%1”：").arg(QDir::toNativeSeparators(m_folder))), qPrintable(error));
        QCOMPARE(readBytes(path), QByteArray("keep me"));
    }
}

void TestWordStore::writesWhereTheStoreIs()
{
    WordStore store(m_folder);
    QString error;
#ifdef Q_OS_UNIX
    // A folder one may write in but not list still takes entries.
    QVERIFY(openForOthers(m_folder));
    QCOMPARE(::chmod(QFile::encodeName(m_folder).constData(), 0333), 0);
    {
        const UnprivilegedUser asUser;
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
