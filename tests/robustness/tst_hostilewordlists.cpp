#include "FaultyFolders.h"
#include "TestSupport.h"
#include "core/store/WordListImport.h"
#include "core/store/WordStore.h"

#include <QDirIterator>
#include <QTemporaryDir>
#include <QTest>

using namespace mirvo;
using namespace mirvo::test;

namespace {

constexpr qsizetype megabyte = 1024 * 1024;
const QString outsidePlaceholder = QStringLiteral("%OUT%");

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

/// Word lists made to hurt: names that climb out of the store, control characters, huge lines,
/// links, pipes and devices. Nothing lands outside the store, and what is stored reads back.
class TestHostileWordLists : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void hostileWordLists_data();
    void hostileWordLists();
    void entryThatIsALinkIsReplacedNotFollowed();
    void listThatIsNoRegularFileIsRefused_data();
    void listThatIsNoRegularFileIsRefused();
    void hundredMegabyteList();

private:
    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<WordStore> m_store;
    QString m_listPath;
};

void TestHostileWordLists::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
    // Two levels down, so that names climbing out of the store land where the test looks.
    QVERIFY(QDir().mkpath(m_dir->filePath(QStringLiteral("a/b"))));
    m_store = std::make_unique<WordStore>(m_dir->filePath(QStringLiteral("a/b/words")));
    QVERIFY(m_store->create(nullptr));
    m_listPath = m_dir->filePath(QStringLiteral("list.txt"));
}

void TestHostileWordLists::hostileWordLists_data()
{
    QTest::addColumn<QByteArray>("list");
    QTest::addColumn<Entries>("entries");
    QTest::addColumn<qint64>("skipped");

    // Refused files, encodings and each name the store refuses are the import's and the store's
    // own rows; here, that none of them lands anywhere else.
    QTest::newRow("path traversal words")
        << QByteArray("../x 上一级\n../../x 上两级\n%OUT%/y 沙盒外\n..\\..\\x 反斜杠\nx/.. 子目录\n./x 当前\n"
                      "%2e%2e%2fx 编码\n")
        << Entries{{QStringLiteral("%2e%2e%2fx"), QStringLiteral("编码")}} << qint64(6);
    Entries controls{{QStringLiteral("tab\there"), QStringLiteral("制表")},
                     {QStringLiteral("del\x7f"), QStringLiteral("删")},
                     {QStringLiteral("vt\x0b"), QStringLiteral("ff\x0c 换页")},
                     {QStringLiteral("nel\u0085"), QStringLiteral("下一行")},
                     {QStringLiteral("rlo\u202e"), QStringLiteral("反向")},
                     {QStringLiteral("ls\u2028"), QStringLiteral("行分隔")},
                     {QStringLiteral("x"), QStringLiteral("意\x01思\x02")}};
    qint64 controlWordsSkipped = 0;
#ifdef Q_OS_WIN
    // Windows file names take no control characters below U+0020: those words are skipped.
    for (const char *word : {"tab\there", "vt\x0b"})
        controlWordsSkipped += controls.remove(QString::fromLatin1(word));
#endif
    QTest::newRow("control characters")
        << QByteArray("tab\there 制表\ndel\x7f 删\nvt\x0b ff\x0c 换页\n"
                      "nel\xc2\x85 下一行\nrlo\xe2\x80\xae 反向\nls\xe2\x80\xa8 行分隔\nx 意\x01思\x02\n")
        << controls << controlWordsSkipped;
    // Each of LF then CR, and CR then CRLF, ends two lines; the import's rows hold the single ends.
    QTest::newRow("line ends in odd pairs")
        << QByteArray("a 1\n\rb 2\r\r\nc 3")
        << Entries{{QStringLiteral("a"), QStringLiteral("1")}, {QStringLiteral("b"), QStringLiteral("2")},
                   {QStringLiteral("c"), QStringLiteral("3")}}
        << qint64(2);
}

void TestHostileWordLists::hostileWordLists()
{
    QFETCH(QByteArray, list);
    QFETCH(Entries, entries);
    QFETCH(qint64, skipped);
    list.replace(outsidePlaceholder.toUtf8(), m_dir->path().toUtf8());
    QVERIFY(writeBytes(m_listPath, list));
    QVERIFY(m_store->writeEntry(QStringLiteral("kept"), QStringLiteral("已有"), nullptr));
    const auto before = treeOutside(m_dir->path(), m_store->folder());

    const ImportReport report = importWordList(m_listPath, *m_store);

    QVERIFY2(report.ok, qPrintable(report.error));
    QCOMPARE(report.skippedCount, skipped);
    entries.insert(QStringLiteral("kept"), QStringLiteral("已有"));
    QCOMPARE(storedEntries(*m_store), entries);
    QCOMPARE(report.written, entries.size() - 1);
    QCOMPARE(treeOutside(m_dir->path(), m_store->folder()), before);
    const QStringList all = QDir(m_store->folder()).entryList(QDir::AllEntries | QDir::Hidden | QDir::System
                                                              | QDir::NoDotAndDotDot);
    QCOMPARE(all.size(), entries.size());
}

void TestHostileWordLists::entryThatIsALinkIsReplacedNotFollowed()
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

void TestHostileWordLists::listThatIsNoRegularFileIsRefused_data()
{
    QTest::addColumn<QString>("path"); // %DIR% stands for the test's folder
    QTest::newRow("named pipe") << QStringLiteral("%DIR%/pipe");
    QTest::newRow("endless device") << QStringLiteral("/dev/zero");
}

void TestHostileWordLists::listThatIsNoRegularFileIsRefused()
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

void TestHostileWordLists::hundredMegabyteList()
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

QTEST_GUILESS_MAIN(TestHostileWordLists)
#include "tst_hostilewordlists.moc"
