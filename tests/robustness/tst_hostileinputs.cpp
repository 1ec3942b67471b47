#include "FaultyFolders.h"
#include "TestSupport.h"
#include "core/store/WordListImport.h"
#include "core/store/WordStore.h"
#include "core/text/Charsets.h"
#include "core/text/TextCodec.h"
#include "core/update/PageTitle.h"
#include "core/update/VersionRules.h"

#include <QDirIterator>
#include <QStringDecoder>
#include <QTemporaryDir>
#include <QTest>


using namespace mirvo;
using namespace mirvo::test;
using versionrules::Order;

namespace {

constexpr int noOrder = -1;
constexpr qsizetype megabyte = 1024 * 1024;
const QString outsidePlaceholder = QStringLiteral("%OUT%");

QString gb18030(const QByteArray &bytes)
{
    return mirvo::textcodec::decodeAs(mirvo::textcodec::Encoding::Gb18030, bytes);
}

QByteArray utf16le(const QString &text)
{
    QByteArray bytes("\xFF\xFE");
    for (const QChar c : text)
        bytes.append(char(c.unicode() & 0xFF)).append(char(c.unicode() >> 8));
    return bytes;
}

/// Every path under root but those inside the store, with the bytes of each file.
QMap<QString, QByteArray> treeOutside(const QString &root, const QString &store)
{
    QMap<QString, QByteArray> tree;
    QDirIterator it(root, QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        if (path.startsWith(store + QLatin1Char('/')))
            continue;
        tree.insert(path, it.fileInfo().isFile() ? readBytes(path) : QByteArray("<folder>"));
    }
    return tree;
}

} // namespace

class TestHostileInputs : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void hostileWordLists_data();
    void hostileWordLists();
    void ambiguousMeaningsReadBackUnchanged_data();
    void ambiguousMeaningsReadBackUnchanged();
    void entryThatIsALinkIsReplacedNotFollowed();
    void listThatIsNoRegularFileIsRefused_data();
    void listThatIsNoRegularFileIsRefused();
    void hundredMegabyteList();
    void hostilePages_data();
    void hostilePages();
    void hostileVersionTexts_data();
    void hostileVersionTexts();

private:
    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<WordStore> m_store;
    QString m_listPath;
};

void TestHostileInputs::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
    // Two levels down, so that names climbing out of the store land where the test looks.
    QVERIFY(QDir().mkpath(m_dir->filePath(QStringLiteral("a/b"))));
    m_store = std::make_unique<WordStore>(m_dir->filePath(QStringLiteral("a/b/words")));
    QVERIFY(m_store->create(nullptr));
    m_listPath = m_dir->filePath(QStringLiteral("list.txt"));
}

void TestHostileInputs::hostileWordLists_data()
{
    QTest::addColumn<QByteArray>("list");
    QTest::addColumn<Entries>("entries");
    QTest::addColumn<qint64>("skipped");
    QTest::addColumn<QString>("refusal"); // empty: imported

    const QString cjk85 = QString(85, QChar(0x4E00)); // 255 bytes in UTF-8
    QTest::newRow("path traversal words")
        << QByteArray("../x 上一级\n../../x 上两级\n/etc/x 绝对\n%OUT%/y 沙盒外\n..\\x 反斜杠\n"
                      "..\\..\\x 反斜杠\na/b 子目录\nx/.. 子目录\n.. 点点\n. 点\n./x 当前\n"
                      "a\\b 反斜杠\n%2e%2e%2fx 编码\n~ 波浪号\nok 好\n")
        << Entries{{QStringLiteral("%2e%2e%2fx"), QStringLiteral("编码")},
                   {QStringLiteral("~"), QStringLiteral("波浪号")},
                   {QStringLiteral("ok"), QStringLiteral("好")}}
        << qint64(12) << QString();
#ifdef Q_OS_WIN
    // Windows counts a name's UTF-16 units; 128 "é" (256 bytes) would fit there, but not on
    // the Linux file system under Wine, so that row is Linux's alone.
    QTest::newRow("names over 255 units")
        << (cjk85.toUtf8() + " 正好\n" + QByteArray(256, 'b') + " 长\n" + QByteArray(1000, 'c') + " 更长\n")
        << Entries{{cjk85, QStringLiteral("正好")}} << qint64(2) << QString();
#else
    QTest::newRow("names over 255 bytes")
        << (cjk85.toUtf8() + " 正好\n" + QByteArray(256, 'b') + " 长\n" + QByteArray(1000, 'c') + " 更长\n"
            + QString(128, QChar(0xE9)).toUtf8() + " 双字节\n")
        << Entries{{cjk85, QStringLiteral("正好")}} << qint64(3) << QString();
#endif
    QTest::newRow("NUL byte in a word")
        << QByteArray("good 好\na\0b 坏\n", 15) << Entries{} << qint64(0)
        << QStringLiteral("文件中含有空字符，不是文本格式的词库。");
    QTest::newRow("UTF-16 file")
        << QByteArray("\xFF\xFEg\0o\0 \0x\0\n\0", 12) << Entries{{QStringLiteral("go"), QStringLiteral("x")}}
        << qint64(0) << QString();
    Entries controls{{QStringLiteral("tab\there"), QStringLiteral("制表")},
                     {QStringLiteral("esc\x1b[31m"), QStringLiteral("红")},
                     {QStringLiteral("bell\x07"), QStringLiteral("铃")},
                     {QStringLiteral("del\x7f"), QStringLiteral("删")},
                     {QStringLiteral("vt\x0b"), QStringLiteral("ff\x0c 换页")},
                     {QStringLiteral("nel\u0085"), QStringLiteral("下一行")},
                     {QStringLiteral("rlo\u202e"), QStringLiteral("反向")},
                     {QStringLiteral("ls\u2028"), QStringLiteral("行分隔")},
                     {QStringLiteral("x"), QStringLiteral("意\x01思\x02")}};
    qint64 controlWordsSkipped = 0;
#ifdef Q_OS_WIN
    // Windows file names take no control characters below U+0020: those words are skipped.
    for (const char *word : {"tab\there", "esc\x1b[31m", "bell\x07", "vt\x0b"})
        controlWordsSkipped += controls.remove(QString::fromLatin1(word));
#endif
    QTest::newRow("control characters")
        << QByteArray("tab\there 制表\nesc\x1b[31m 红\nbell\x07 铃\ndel\x7f 删\nvt\x0b ff\x0c 换页\n"
                      "nel\xc2\x85 下一行\nrlo\xe2\x80\xae 反向\nls\xe2\x80\xa8 行分隔\nx 意\x01思\x02\n")
        << controls << controlWordsSkipped << QString();
    QTest::newRow("1 MB line between words")
        << ("a 一\n" + QByteArray("long ") + QByteArray(megabyte, 'x') + "\nb 二\n")
        << Entries{{QStringLiteral("a"), QStringLiteral("一")}, {QStringLiteral("b"), QStringLiteral("二")}}
        << qint64(1) << QString();
    QTest::newRow("1 MB word, no line end")
        << ("a 一\r\n" + QByteArray(megabyte, 'w') + " 义")
        << Entries{{QStringLiteral("a"), QStringLiteral("一")}} << qint64(1) << QString();
    QTest::newRow("mixed line endings")
        << QByteArray("a 1\r\nb 2\nc 3\rd 4\n\re 5\r\r\nf 6")
        << Entries{{QStringLiteral("a"), QStringLiteral("1")}, {QStringLiteral("b"), QStringLiteral("2")},
                   {QStringLiteral("c"), QStringLiteral("3")}, {QStringLiteral("d"), QStringLiteral("4")},
                   {QStringLiteral("e"), QStringLiteral("5")}, {QStringLiteral("f"), QStringLiteral("6")}}
        << qint64(2) << QString();
    QTest::newRow("invalid UTF-8, no GB18030 either")
        << QByteArray("good \xE5\xA5\xBD\nbad \xC3\x28\n") << Entries{} << qint64(0)
        << QStringLiteral("文件既不是 UTF-8 也不是 GBK/GB18030 编码的文本。");
    QTest::newRow("UTF-8 surrogate half")
        << QByteArray("good \xE5\xA5\xBD\nbad \xED\xA0\x80\n") << Entries{} << qint64(0)
        << QStringLiteral("文件既不是 UTF-8 也不是 GBK/GB18030 编码的文本。");
    // Invalid as UTF-8 but valid GB18030: the whole file reads as GB18030.
    QTest::newRow("invalid UTF-8 that is GB18030")
        << QByteArray("good \xC4\xE3\nmore \xE5\xA5\n")
        << Entries{{QStringLiteral("good"), gb18030("\xC4\xE3")}, {QStringLiteral("more"), gb18030("\xE5\xA5")}}
        << qint64(0) << QString();
    QTest::newRow("overlong UTF-8 slash")
        << QByteArray("a\xC0\xAF" "b slash\n")
        << Entries{{gb18030("a\xC0\xAF" "b"), QStringLiteral("slash")}} << qint64(0) << QString();
}

void TestHostileInputs::hostileWordLists()
{
    QFETCH(QByteArray, list);
    QFETCH(Entries, entries);
    QFETCH(qint64, skipped);
    QFETCH(QString, refusal);
    if (refusal.contains(QStringLiteral("GBK/GB18030")) && ansi::codePage() == 1252)
        QSKIP("code page 1252 reads every byte as text");
    list.replace(outsidePlaceholder.toUtf8(), m_dir->path().toUtf8());
    QVERIFY(writeBytes(m_listPath, list));
    QVERIFY(m_store->writeEntry(QStringLiteral("kept"), QStringLiteral("已有"), nullptr));
    const auto before = treeOutside(m_dir->path(), m_store->folder());

    const ImportReport report = importWordList(m_listPath, *m_store);

    QVERIFY2(report.ok == refusal.isEmpty(), qPrintable(report.error));
    if (!report.ok)
        QCOMPARE(report.error, QStringLiteral("无法导入“%1”：%2").arg(QDir::toNativeSeparators(m_listPath), refusal));
    QCOMPARE(report.skippedCount, skipped);
    entries.insert(QStringLiteral("kept"), QStringLiteral("已有"));
    QCOMPARE(storedEntries(*m_store), entries);
    QCOMPARE(report.written, entries.size() - 1);
    QCOMPARE(treeOutside(m_dir->path(), m_store->folder()), before);
    const QStringList all = QDir(m_store->folder()).entryList(QDir::AllEntries | QDir::Hidden | QDir::System
                                                              | QDir::NoDotAndDotDot);
    QCOMPARE(all.size(), entries.size());
}

void TestHostileInputs::ambiguousMeaningsReadBackUnchanged_data()
{
    QTest::addColumn<QString>("meaning");
    // Their GB18030 bytes are also valid UTF-8 with three-byte characters.
    QTest::newRow("GB18030 E4B8 8140") << gb18030("\xE4\xB8\x81\x40");
    QTest::newRow("GB18030 E6B1 8D5A") << gb18030("\xE6\xB1\x8D\x5A");
    QTest::newRow("Latin and GB18030") << (QStringLiteral("x ") + gb18030("\xE4\xB8\x81\x40") + QStringLiteral(" y"));
    QTest::newRow("plain Chinese") << QStringLiteral("放弃，抛弃");
    QTest::newRow("short GBK that looks like UTF-8") << QStringLiteral("一");
    QTest::newRow("starts with a byte order mark") << QStringLiteral("\uFEFF") + gb18030("\xE4\xB8\x81\x40");
}

void TestHostileInputs::ambiguousMeaningsReadBackUnchanged()
{
    QFETCH(QString, meaning);
    QVERIFY(writeBytes(m_listPath, QByteArray("word ") + meaning.toUtf8() + "\n"));
    QVERIFY(importWordList(m_listPath, *m_store).ok);
    QCOMPARE(m_store->readMeaning(QStringLiteral("word"), nullptr), std::optional<QString>(meaning));
}

void TestHostileInputs::entryThatIsALinkIsReplacedNotFollowed()
{
    const QString outside = m_dir->filePath(QStringLiteral("outside.txt"));
    QVERIFY(writeBytes(outside, "not the program's\n"));
    QVERIFY(QFile::link(outside, m_store->entryPath(QStringLiteral("evil"))));
    QVERIFY(writeBytes(m_listPath, "evil 新释义\n"));

    QVERIFY(importWordList(m_listPath, *m_store).ok);
    QCOMPARE(readBytes(outside), QByteArray("not the program's\n"));
    QVERIFY(!QFileInfo(m_store->entryPath(QStringLiteral("evil"))).isSymLink());
    QCOMPARE(m_store->readMeaning(QStringLiteral("evil"), nullptr), std::optional<QString>(QStringLiteral("新释义")));

    QVERIFY(QFile::remove(m_store->entryPath(QStringLiteral("evil"))));
    QVERIFY(QFile::link(outside, m_store->entryPath(QStringLiteral("evil"))));
    QVERIFY(m_store->deleteEntry(QStringLiteral("evil"), nullptr));
    QCOMPARE(readBytes(outside), QByteArray("not the program's\n"));
}

void TestHostileInputs::listThatIsNoRegularFileIsRefused_data()
{
    QTest::addColumn<QString>("path"); // %DIR% stands for the test's folder
    QTest::newRow("named pipe") << QStringLiteral("%DIR%/pipe");
    QTest::newRow("endless device") << QStringLiteral("/dev/zero");
}

void TestHostileInputs::listThatIsNoRegularFileIsRefused()
{
    QFETCH(QString, path);
    path.replace(QStringLiteral("%DIR%"), m_dir->path());
    if (path.endsWith(QLatin1String("pipe")) && !mirvo::test::makeNamedPipe(path))
        QSKIP("named pipes live in no folder here (Windows keeps them under \\\\.\\pipe)");
    if (!QFileInfo::exists(path))
        QSKIP("no such device here");
    // Opening a pipe nobody writes to, or reading an endless device, would never return.
    const ImportReport report = importWordList(path, *m_store);
    QVERIFY(!report.ok);
    QCOMPARE(report.error, QStringLiteral("无法导入“%1”：这不是普通文件。").arg(path));
    QVERIFY(storedEntries(*m_store).isEmpty());
}

void TestHostileInputs::hundredMegabyteList()
{
    // Words around a hundred 1 MB lines and a last megabyte with no line end.
    {
        QFile file(m_listPath);
        QVERIFY(file.open(QIODevice::WriteOnly));
        QVERIFY(file.write("first 一\n") > 0);
        const QByteArray line = QByteArray(megabyte - 1, 'x') + '\n';
        for (int i = 0; i < 99; ++i)
            QCOMPARE(file.write(line), line.size());
        QVERIFY(file.write("last 末\n") > 0);
        QCOMPARE(file.write(QByteArray(megabyte, 'y')), megabyte);
    }
    QVERIFY(QFileInfo(m_listPath).size() >= 100 * megabyte);

    const ImportReport report = importWordList(m_listPath, *m_store);

    QVERIFY(report.ok);
    QCOMPARE(report.written, 2);
    QCOMPARE(report.skippedCount, 100);
    QCOMPARE(storedEntries(*m_store), (Entries{{QStringLiteral("first"), QStringLiteral("一")},
                                      {QStringLiteral("last"), QStringLiteral("末")}}));
    // That it never has to fit in memory is measured by the benchmark memory/import_100mb_list.
}

void TestHostileInputs::hostilePages_data()
{
    QTest::addColumn<QByteArray>("body");
    QTest::addColumn<QByteArray>("contentType");
    QTest::addColumn<bool>("hasTitle");
    QTest::addColumn<QString>("titleStart");
    QTest::addColumn<qsizetype>("titleLength");
    QTest::addColumn<int>("order"); // against version 1.1; noOrder: no version announced

    const QByteArray html = "text/html";
    const QByteArray tenMb(10 * megabyte, 'a');
    const QByteArray spaced = QByteArray("&amp; \t").repeated(10 * megabyte / 7);
    const QByteArray nested = QByteArray(5 * megabyte, '[') + "1.2" + QByteArray(5 * megabyte, ']');
    const QByteArray titled = "<title>[1.2]</title>";

    QTest::newRow("10 MB title") << ("<title>[1.2] " + tenMb + "</title>") << html << true
                                 << QStringLiteral("[1.2] aaa") << 6 + tenMb.size() << int(Order::RemoteNewer);
    QTest::newRow("10 MB of entities and blanks") << ("<title>" + spaced + "[2]</title>") << html << true
                                                  << QStringLiteral("& & & ") << (spaced.size() / 7) * 2 + 3
                                                  << int(Order::RemoteNewer);
    QTest::newRow("10 MB title, no end tag") << ("<title>[1.2] " + tenMb) << html << false << QString()
                                             << qsizetype(0) << noOrder;
    QTest::newRow("10 MB of tag starts") << QByteArray(10 * megabyte, '<') << html << false << QString()
                                         << qsizetype(0) << noOrder;
    QTest::newRow("10 MB comment, never closed") << ("<!--" + tenMb + titled) << html << false << QString()
                                                 << qsizetype(0) << noOrder;
    QTest::newRow("10 MB of nested brackets") << ("<title>" + nested + "</title>") << html << true
                                              << QStringLiteral("[[[[") << nested.size() << int(Order::LocalNewer);
    QTest::newRow("nested brackets") << QByteArray("<title>[[1.2]]</title>") << html << true
                                     << QStringLiteral("[[1.2]]") << qsizetype(7) << int(Order::LocalNewer);
    QTest::newRow("opening bracket only") << QByteArray("<title>[[[1.2</title>") << html << true
                                          << QStringLiteral("[[[1.2") << qsizetype(6) << noOrder;
    QTest::newRow("closing before opening") << QByteArray("<title>]1.2[</title>") << html << true
                                            << QStringLiteral("]1.2[") << qsizetype(5) << noOrder;
    QTest::newRow("stray closing bracket first") << QByteArray("<title>] [1.2]</title>") << html << true
                                                 << QStringLiteral("] [1.2]") << qsizetype(7) << noOrder;
    QTest::newRow("empty brackets") << QByteArray("<title>[]</title>") << html << true << QStringLiteral("[]")
                                    << qsizetype(2) << int(Order::LocalNewer);
    // A header may declare UTF-16: the ASCII page then reads as other characters, with no title.
    QTest::newRow("header says UTF-16") << titled << QByteArray("text/html; charset=utf-16") << false
                                        << QString() << qsizetype(0) << noOrder;
    QTest::newRow("header says UTF-32") << titled << QByteArray("text/html; charset=utf-32") << false
                                        << QString() << qsizetype(0) << noOrder;
    // Unknown or absurd labels fall back to the page's own bytes.
    QTest::newRow("unknown charset") << titled << QByteArray("text/html; charset=x-no-such-charset") << true
                                     << QStringLiteral("[1.2]") << qsizetype(5) << int(Order::RemoteNewer);
    QTest::newRow("1 MB charset label") << titled << ("text/html; charset=" + QByteArray(megabyte, 'z')) << true
                                        << QStringLiteral("[1.2]") << qsizetype(5) << int(Order::RemoteNewer);
    QTest::newRow("charset with a path and NUL")
        << titled << QByteArray("text/html; charset=\"../../etc/passwd\0x\"", 39) << true
        << QStringLiteral("[1.2]") << qsizetype(5) << int(Order::RemoteNewer);
    QTest::newRow("charset label is a quote") << titled << QByteArray("text/html; charset=\"") << true
                                              << QStringLiteral("[1.2]") << qsizetype(5) << int(Order::RemoteNewer);
    QTest::newRow("meta says UTF-16") << ("<meta charset=utf-16>" + titled) << html << true
                                      << QStringLiteral("[1.2]") << qsizetype(5) << int(Order::RemoteNewer);
    QTest::newRow("meta charset after 10 MB")
        << ("<meta " + tenMb + " charset=utf-16>" + titled) << html << true << QStringLiteral("[1.2]")
        << qsizetype(5) << int(Order::RemoteNewer);
    const QByteArray jis = "text/html; charset=iso-2022-jp";
    QTest::newRow("stateful ISO-2022-JP") << QByteArray("<title>\x1b$B$3$s\x1b(B[1.2]</title>") << jis << true
                                          << QStringLiteral("こん[1.2]") << qsizetype(7) << int(Order::RemoteNewer);
    // Shifted into two-byte mode for good, the end tag reads as other characters.
    QTest::newRow("ISO-2022-JP never shifting back")
        << QByteArray("<title>[1.2]\x1b$B</title>") << jis << false << QString() << qsizetype(0) << noOrder;
    QTest::newRow("UTF-16 byte order mark, odd length")
        << (utf16le(QStringLiteral("<title>[1.2]</title>")) + 'x') << html << true << QStringLiteral("[1.2]")
        << qsizetype(5) << int(Order::RemoteNewer);
}

void TestHostileInputs::hostilePages()
{
    QFETCH(QByteArray, body);
    QFETCH(QByteArray, contentType);
    QFETCH(bool, hasTitle);
    QFETCH(QString, titleStart);
    QFETCH(qsizetype, titleLength);
    QFETCH(int, order);
    if (contentType.endsWith("iso-2022-jp") && !charsets::decode("iso-2022-jp", {}))
        QSKIP("no ISO-2022-JP converter on this system (Wine lacks code page 50220)");

    const auto title = mirvo::pagetitle::documentTitle(body, contentType);
    QCOMPARE(title.has_value(), hasTitle);
    if (!title)
        return;
    QVERIFY2(title->startsWith(titleStart), qPrintable(title->left(40)));
    QCOMPARE(title->size(), titleLength);
    const auto announced = versionrules::announcedOrder(*title, QStringLiteral("1.1"));
    QCOMPARE(announced ? int(*announced) : noOrder, order);
}

void TestHostileInputs::hostileVersionTexts_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<double>("lenient");
    QTest::addColumn<bool>("strictReads");

    const QString digits(10 * megabyte, QLatin1Char('9'));
    QTest::newRow("10 MB of digits") << digits << qInf() << true;
    QTest::newRow("10 MB of blanks around digits")
        << (QString(5 * megabyte, QLatin1Char(' ')) + QStringLiteral("1 .\t2") + QString(5 * megabyte, QLatin1Char('\n')))
        << 1.2 << false;
    QTest::newRow("a million points") << (QStringLiteral("1") + QString(megabyte, QLatin1Char('.'))) << 1.0 << false;
    QTest::newRow("a million signs") << QString(megabyte, QLatin1Char('-')) << 0.0 << false;
    QTest::newRow("lone surrogate") << QString(QChar(0xD800)) << 0.0 << false;
    QTest::newRow("full-width digits") << QStringLiteral("１.２") << 0.0 << false;
    QTest::newRow("exponent is not read") << QStringLiteral("1e308") << 1.0 << false;
}

void TestHostileInputs::hostileVersionTexts()
{
    QFETCH(QString, text);
    QFETCH(double, lenient);
    QFETCH(bool, strictReads);
    QCOMPARE(versionrules::lenientNumber(text), lenient);
    QCOMPARE(versionrules::strictNumber(text).has_value(), strictReads);
    const auto order = versionrules::announcedOrder(QLatin1Char('[') + text + QLatin1Char(']'), QStringLiteral("1.1"));
    QVERIFY(order);
    QCOMPARE(*order, versionrules::compare(1.1, lenient));
}

QTEST_GUILESS_MAIN(TestHostileInputs)
#include "tst_hostileinputs.moc"
