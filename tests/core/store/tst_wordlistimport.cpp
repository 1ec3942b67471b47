#include "TestSupport.h"
#include "core/store/WordListImport.h"
#include "core/store/WordStore.h"
#include "core/text/TextCodec.h"

#include <QDir>
#include <QStringEncoder>
#include <QTemporaryDir>
#include <QTest>

using namespace mirvo;
using mirvo::test::Entries;
using mirvo::test::listedWords;
using mirvo::test::storedEntries;
using mirvo::test::writeBytes;

namespace {

/// The text as UTF-16 after its byte order mark, as Windows saves "Unicode".
QByteArray utf16(QStringView text, QStringConverter::Encoding encoding)
{
    return QStringEncoder(encoding, QStringConverter::Flag::WriteBom).encode(text);
}

} // namespace

class TestWordListImport : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void splitsAtFirstSpace_data();
    void splitsAtFirstSpace();
    void importsEncodingsAndLineEnds_data();
    void importsEncodingsAndLineEnds();
    void laterLineWins();
    void skipsBadLinesAndReportsThem();
    void refusesFilesThatAreNoText_data();
    void refusesFilesThatAreNoText();
    void writeErrorStopsAndKeepsEarlierEntries();
    void cancelKeepsTheLinesBefore_data();
    void cancelKeepsTheLinesBefore();
    void shippedListImportsWhole();

private:
    QString writeList(const QByteArray &bytes);
    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<WordStore> m_store;
};

void TestWordListImport::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
    m_store = std::make_unique<WordStore>(m_dir->path() + QStringLiteral("/words"));
    QVERIFY(m_store->create(nullptr));
}

QString TestWordListImport::writeList(const QByteArray &bytes)
{
    const QString path = m_dir->path() + QStringLiteral("/list.txt");
    if (!writeBytes(path, bytes))
        qFatal("cannot write the list");
    return path;
}

void TestWordListImport::splitsAtFirstSpace_data()
{
    QTest::addColumn<QString>("line");
    QTest::addColumn<bool>("splits");
    QTest::addColumn<QString>("word");
    QTest::addColumn<QString>("meaning");
    QTest::newRow("plain") << QStringLiteral("apple 苹果") << true << QStringLiteral("apple") << QStringLiteral("苹果");
    QTest::newRow("two spaces") << QStringLiteral("apple  苹果") << true << QStringLiteral("apple") << QStringLiteral(" 苹果");
    QTest::newRow("spaces inside meaning") << QStringLiteral("a n. 一个 东西 ") << true << QStringLiteral("a") << QStringLiteral("n. 一个 东西 ");
    QTest::newRow("empty meaning") << QStringLiteral("apple ") << true << QStringLiteral("apple") << QString();
    QTest::newRow("leading space") << QStringLiteral(" apple") << true << QString() << QStringLiteral("apple");
    QTest::newRow("tab only") << QStringLiteral("apple\t苹果") << false << QString() << QString();
    QTest::newRow("full-width space only") << QStringLiteral("apple　苹果") << false << QString() << QString();
    QTest::newRow("empty") << QString() << false << QString() << QString();
}

void TestWordListImport::splitsAtFirstSpace()
{
    QFETCH(QString, line);
    QFETCH(bool, splits);
    QFETCH(QString, word);
    QFETCH(QString, meaning);
    const auto split = splitListLine(line);
    QCOMPARE(split.has_value(), splits);
    if (split) {
        QCOMPARE(split->word, word);
        QCOMPARE(split->meaning, meaning);
    }
}

void TestWordListImport::importsEncodingsAndLineEnds_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<Entries>("entries");
    const auto row = [](const char *name, const QByteArray &bytes, const QString &book = QStringLiteral("书"),
                        const QString &apple = QStringLiteral("苹果")) {
        QTest::newRow(name) << bytes << Entries{{QStringLiteral("apple"), apple}, {QStringLiteral("book"), book}};
    };
    row("gbk crlf", "apple \xC6\xBB\xB9\xFB\r\nbook \xCA\xE9\r\n");
    row("utf-8 lf", "apple 苹果\nbook 书\n");
    row("utf-8 bom", "\xEF\xBB\xBF" "apple 苹果\r\nbook 书");
    row("cr only", "apple 苹果\rbook 书\r");
    row("mixed ends", "apple 苹果\r\nbook 书\n");
    row("gbk after a bom", "\xEF\xBB\xBF" "apple \xC6\xBB\xB9\xFB\r\nbook \xCA\xE9");
    // "Unicode" and "Unicode big endian" as Notepad and Excel save them.
    row("utf-16 le crlf, as notepad saves", utf16(u"apple 苹果\r\nbook 书\r\n", QStringConverter::Utf16LE));
    row("utf-16 be lf, no final end", utf16(u"apple 苹果\nbook 书", QStringConverter::Utf16BE));
    row("utf-16 accents only", utf16(u"apple pomme\r\nbook café\r\n", QStringConverter::Utf16LE),
        QStringLiteral("café"), QStringLiteral("pomme"));
    // The pair's halves fall into two of the pieces the list is read in.
    const QString pairAcross = QStringLiteral("苹果") + QString(16374, QLatin1Char('x')) + QStringLiteral("😀");
    row("utf-16 pair across pieces",
        utf16(QStringLiteral("apple ") + pairAcross + QStringLiteral("\r\nbook 𠀀\r\n"), QStringConverter::Utf16LE),
        QStringLiteral("𠀀"), pairAcross);
    QTest::newRow("utf-16 bom only") << QByteArray("\xFF\xFE") << Entries{};
}

void TestWordListImport::importsEncodingsAndLineEnds()
{
    QFETCH(QByteArray, bytes);
    QFETCH(Entries, entries);
    const ImportReport report = importWordList(writeList(bytes), *m_store);
    QVERIFY2(report.ok, qPrintable(report.error));
    QCOMPARE(report.written, entries.size());
    QCOMPARE(report.skippedCount, 0);
    QCOMPARE(storedEntries(*m_store), entries);
}

void TestWordListImport::laterLineWins()
{
    const ImportReport report = importWordList(writeList("go 去\r\ngo 走\r\n"), *m_store);
    QCOMPARE(report.written, 2);
    QCOMPARE(listedWords(m_store->folder()).size(), 1);
    QCOMPARE(m_store->readMeaning(QStringLiteral("go"), nullptr), QStringLiteral("走"));
}

void TestWordListImport::skipsBadLinesAndReportsThem()
{
    const QByteArray tooLong = "long " + QByteArray(64 * 1024, 'x') + "\r\n";
    const ImportReport report = importWordList(
        writeList("good 好\r\n\r\nnospace\r\n leading\r\n../evil 坏\r\na/b 斜\r\n" + tooLong + "also 也\r\n"), *m_store);
    QVERIFY(report.ok);
    QCOMPARE(report.written, 2);
    QCOMPARE(report.skippedCount, 6);
    const QList<std::pair<qint64, SkipReason>> expected = {
        {2, SkipReason::EmptyLine}, {3, SkipReason::NoSpace}, {4, SkipReason::EmptyWord},
        {5, SkipReason::UnsafeWord}, {6, SkipReason::UnsafeWord}, {7, SkipReason::TooLong}};
    QCOMPARE(report.firstSkipped.size(), expected.size());
    for (qsizetype i = 0; i < expected.size(); ++i) {
        QCOMPARE(report.firstSkipped.at(i).lineNumber, expected.at(i).first);
        QCOMPARE(report.firstSkipped.at(i).reason, expected.at(i).second);
        QVERIFY(!describe(report.firstSkipped.at(i)).isEmpty());
    }
    QCOMPARE(listedWords(m_store->folder()), (QStringList{QStringLiteral("also"), QStringLiteral("good")}));
    QCOMPARE(QDir(m_dir->path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot).size(), 2);
}

void TestWordListImport::refusesFilesThatAreNoText_data()
{
    QTest::addColumn<QByteArray>("bytes"); // null: no file there
    QTest::addColumn<QString>("why");
    QTest::addColumn<test::ByCodePage<bool>>("refused");
    const QString nul = QStringLiteral("空字符");
    const QString notUtf16 = QStringLiteral("不是有效的 UTF-16");
    const test::ByCodePage<bool> always{true, true, true};
    QTest::newRow("missing file") << QByteArray() << QStringLiteral("不存在") << always;
    QTest::newRow("nul byte") << QByteArray("good 好\r\nbad \0x\r\n", 16) << nul << always;
    // Code page 1252 reads every byte.
    QTest::newRow("neither utf-8 nor gb18030") << QByteArray("good \x81\x20\r\n") << QStringLiteral("编码")
                                               << test::ByCodePage<bool>{true, true, false};
    const QByteArray nulCharacter = utf16(QStringView(u"good 好\r\nbad \0x\r\n", 16), QStringConverter::Utf16LE);
    QTest::newRow("utf-16 nul character") << nulCharacter << nul << always;
    QTest::newRow("utf-16 odd byte count") << utf16(u"good 好\r\n", QStringConverter::Utf16LE) + "x" << notUtf16
                                           << always;
    QTest::newRow("utf-16 lone surrogate") << QByteArray("\xFF\xFEg\0o\0 \0\x00\xD8" "a\0", 12) << notUtf16 << always;
    QTest::newRow("utf-16 ends inside a pair") << QByteArray("\xFE\xFF\0g\0 \xD8\x3D", 8) << notUtf16 << always;
}

void TestWordListImport::refusesFilesThatAreNoText()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QString, why);
    QFETCH(test::ByCodePage<bool>, refused);
    if (!refused.here())
        QSKIP("the rows know no other ANSI code page");
    const QString path = bytes.isNull() ? m_dir->filePath(QStringLiteral("none.txt")) : writeList(bytes);
    const ImportReport report = importWordList(path, *m_store);
    QCOMPARE(report.ok, !*refused.here());
    if (report.ok)
        return;
    QVERIFY2(report.error.contains(QDir::toNativeSeparators(path)), qPrintable(report.error));
    QVERIFY2(report.error.contains(why), qPrintable(report.error));
    QCOMPARE(report.written, 0);
    QVERIFY(listedWords(m_store->folder()).isEmpty());
}

void TestWordListImport::writeErrorStopsAndKeepsEarlierEntries()
{
    QVERIFY(QDir(m_store->folder()).mkdir(QStringLiteral("blocked")));
    const ImportReport report = importWordList(writeList("first 一\r\nblocked 二\r\nlast 三\r\n"), *m_store);
    QVERIFY(!report.ok);
    QVERIFY(report.error.contains(QStringLiteral("blocked")));
    QCOMPARE(report.written, 1);
    QString readError;
    QCOMPARE(m_store->readMeaning(QStringLiteral("first"), &readError).value_or(readError), QStringLiteral("一"));
    QVERIFY(!QFile::exists(m_store->entryPath(QStringLiteral("last"))));
}

void TestWordListImport::cancelKeepsTheLinesBefore_data()
{
    QTest::addColumn<QByteArray>("list");
    QTest::addColumn<qint64>("cancelAt"); // the lines done when cancelled; -1 never
    QTest::addColumn<qint64>("lineCount");
    QTest::addColumn<QStringList>("words");
    const QByteArray list = "a 一\r\n\r\nb 二\rc 三";
    const QString a = QStringLiteral("a");
    QTest::newRow("before the first line") << list << 0ll << 4ll << QStringList{};
    QTest::newRow("after a skipped line") << list << 2ll << 4ll << QStringList{a};
    QTest::newRow("never") << list << -1ll << 4ll << QStringList{a, QStringLiteral("b"), QStringLiteral("c")};
    QTest::newRow("utf-16") << utf16(u"a 一\nb 二\n", QStringConverter::Utf16BE) << 1ll << 2ll << QStringList{a};
}

void TestWordListImport::cancelKeepsTheLinesBefore()
{
    QFETCH(QByteArray, list);
    QFETCH(qint64, cancelAt);
    QFETCH(qint64, lineCount);
    QFETCH(QStringList, words);
    QList<std::pair<qint64, qint64>> told;
    const ImportReport report = importWordList(writeList(list), *m_store, [&](qint64 done, qint64 count) {
        told.append({done, count});
        return done != cancelAt;
    });
    QCOMPARE(listedWords(m_store->folder()), words);
    QCOMPARE(m_store->words().names(), words);
    QCOMPARE(report.written, words.size());
    // Told before each line: the lines done so far, of the lines the list has.
    const qint64 tellings = cancelAt < 0 ? lineCount : cancelAt + 1;
    QCOMPARE(told.size(), tellings);
    QCOMPARE(told.last(), std::pair(tellings - 1, lineCount));
    QCOMPARE(report.ok, cancelAt < 0);
    const QString howFar = QStringLiteral("前 %1 行（共 %2 行）已导入，写入了 %3 个单词").arg(cancelAt).arg(lineCount);
    QVERIFY2(report.ok || report.error.contains(howFar.arg(words.size())), qPrintable(report.error));
}

void TestWordListImport::shippedListImportsWhole()
{
    const QString path = test::sourceDir() + QStringLiteral("/data/words.txt");
    const QByteArray bytes = test::readBytes(path);
    QCOMPARE(bytes.count("\r\n"), 3600);
    QCOMPARE(textcodec::detect(bytes), std::optional(textcodec::Encoding::Gb18030));

    const ImportReport report = importWordList(path, *m_store);
    QVERIFY2(report.ok, qPrintable(report.error));
    QCOMPARE(report.skippedCount, 0);
    QCOMPARE(report.written, 3600);
    const QStringList names = listedWords(m_store->folder());
    QCOMPARE(names.size(), 3600);
    for (const QString &name : names)
        QVERIFY2(!m_store->readMeaning(name, nullptr).value_or(QString()).trimmed().isEmpty(), qPrintable(name));
}

QTEST_MAIN(TestWordListImport)
#include "tst_wordlistimport.moc"
