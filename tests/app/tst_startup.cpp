#include "Fakes.h"
#include "FaultyFolders.h"
#include "TestSupport.h"
#include "app/Fonts.h"
#include "app/Startup.h"
#include "core/store/WordStore.h"

#include <QApplication>
#include <QDir>
#include <QFontDatabase>
#include <QFontInfo>
#include <QTemporaryDir>
#include <QTest>

using namespace mirvo;
using namespace mirvo::test;

namespace {

const QString alreadyOpen = QStringLiteral("该程序已经打开。");
const QString firstRunText = QStringLiteral("第一次运行需要导入默认词库，点击确定后请稍等片刻。");

} // namespace

class TestStartup : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void secondInstanceEnds();
    void firstRun_data();
    void firstRun();
    void existingStoreIsLeftAlone();
    void storeThatCannotBeCreatedIsSilent();
    void storeFolderFollowsWritability_data();
    void storeFolderFollowsWritability();
    void fontSubstitutes_data();
    void fontSubstitutes();

private:
    std::unique_ptr<QTemporaryDir> m_dir;
    FakeDialogs m_dialogs;
};

void TestStartup::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
    m_dialogs.reset();
}

void TestStartup::cleanup()
{
    QVERIFY2(m_dialogs.leftovers().isEmpty(), qPrintable(m_dialogs.leftovers()));
}

void TestStartup::secondInstanceEnds()
{
    FakeInstanceGuard guard(false);
    WordStore store(m_dir->path() + QStringLiteral("/words"));
    m_dialogs.answerNext(MessageAnswer::Ok);
    QVERIFY(!prepareStartup(guard, m_dialogs, store, m_dir->path() + QStringLiteral("/words.txt")));
    QCOMPARE(m_dialogs.shown.size(), 1);
    QCOMPARE(m_dialogs.shown.at(0).text, alreadyOpen);
    QCOMPARE(m_dialogs.shown.at(0).caption, QStringLiteral("Mirvo背单词"));
    QCOMPARE(m_dialogs.shown.at(0).icon, MessageIcon::Exclamation);
    QCOMPARE(m_dialogs.shown.at(0).buttons, MessageButtons::Ok);
    QVERIFY(!store.exists());
}

void TestStartup::firstRun_data()
{
    QTest::addColumn<QByteArray>("list");
    QTest::addColumn<bool>("listExists");
    QTest::addColumn<QStringList>("words");
    QTest::addColumn<qint64>("cancelAt"); // the lines done when the progress is cancelled; -1 never
    QTest::newRow("with words.txt") << QByteArray("one 一\r\ntwo 二\r\n") << true
                                    << QStringList{QStringLiteral("one"), QStringLiteral("two")} << -1ll;
    QTest::newRow("without words.txt") << QByteArray() << false << QStringList{} << -1ll;
    QTest::newRow("stops at a refused file") << QByteArray("one \0\r\n", 7) << true << QStringList{} << -1ll;
    QTest::newRow("bad line skipped") << QByteArray("one 一\r\nbad\r\ntwo 二\r\n") << true
                                      << QStringList{QStringLiteral("one"), QStringLiteral("two")} << -1ll;
    QTest::newRow("cancelled, silent") << QByteArray("one 一\r\nbad\r\ntwo 二\r\n") << true
                                       << QStringList{QStringLiteral("one")} << 2ll;
}

void TestStartup::firstRun()
{
    QFETCH(QByteArray, list);
    QFETCH(bool, listExists);
    QFETCH(QStringList, words);
    QFETCH(qint64, cancelAt);
    const QString listPath = m_dir->path() + QStringLiteral("/words.txt");
    if (listExists)
        QVERIFY(writeBytes(listPath, list));
    FakeInstanceGuard guard(true);
    WordStore store(m_dir->path() + QStringLiteral("/words"));
    m_dialogs.answerNext(MessageAnswer::Ok);
    if (cancelAt >= 0)
        m_dialogs.cancelProgressAt(cancelAt);
    QVERIFY(prepareStartup(guard, m_dialogs, store, listPath));
    QCOMPARE(m_dialogs.shownTexts(), QStringList{firstRunText});
    QCOMPARE(m_dialogs.shown.at(0).icon, MessageIcon::Information);
    QVERIFY(store.exists());
    QCOMPARE(listedWords(store.folder()), words);
}

void TestStartup::existingStoreIsLeftAlone()
{
    const QString listPath = m_dir->path() + QStringLiteral("/words.txt");
    QVERIFY(writeBytes(listPath, "one 一\r\n"));
    FakeInstanceGuard guard(true);
    WordStore store(m_dir->path() + QStringLiteral("/words"));
    QVERIFY(store.create(nullptr));
    QVERIFY(prepareStartup(guard, m_dialogs, store, listPath));
    QVERIFY(m_dialogs.shown.isEmpty());
    QVERIFY(listedWords(store.folder()).isEmpty());
}

void TestStartup::storeThatCannotBeCreatedIsSilent()
{
    // A file where the folder should be: creating fails, start-up goes on without a word.
    QVERIFY(writeBytes(m_dir->path() + QStringLiteral("/words"), "not a folder"));
    FakeInstanceGuard guard(true);
    WordStore store(m_dir->path() + QStringLiteral("/words"));
    QVERIFY(prepareStartup(guard, m_dialogs, store, m_dir->path() + QStringLiteral("/words.txt")));
    QVERIFY(m_dialogs.shown.isEmpty());
}

void TestStartup::storeFolderFollowsWritability_data()
{
    QTest::addColumn<bool>("listBeside");
    QTest::addColumn<bool>("storeBeside");
    QTest::addColumn<bool>("writable");
    QTest::addColumn<bool>("inProgramFolder");
    QTest::newRow("unpacked copy") << true << false << true << true;
    QTest::newRow("unpacked copy, list deleted later") << false << true << true << true;
    QTest::newRow("installed, folder writable (root)") << false << false << true << false;
    QTest::newRow("unpacked copy, read-only") << true << false << false << false;
}

void TestStartup::storeFolderFollowsWritability()
{
    QFETCH(bool, listBeside);
    QFETCH(bool, storeBeside);
    QFETCH(bool, writable);
    QFETCH(bool, inProgramFolder);
    const QString program = m_dir->path() + QStringLiteral("/program");
    const QString data = m_dir->path() + QStringLiteral("/data");
    QVERIFY(QDir().mkpath(program));
    if (listBeside)
        QVERIFY(writeBytes(program + QStringLiteral("/words.txt"), "a 一\r\n"));
    if (storeBeside)
        QVERIFY(QDir().mkpath(program + QStringLiteral("/words")));
    if (!writable)
        QFile::setPermissions(program, QFile::ReadOwner | QFile::ExeOwner);
    QString folder;
    {
        // Root may write anywhere: the folder is judged as an ordinary user would find it.
        QVERIFY(openForOthers(program));
        const UnprivilegedUser asUser(!writable);
        QVERIFY(asUser.ready());
        if (!writable && QFileInfo(program).isWritable())
            QSKIP("a folder cannot be made unwritable to its owner here (Windows ignores a folder's read-only mark)");
        QCOMPARE(QFileInfo(program).isWritable(), writable);
        folder = storeFolderFor(program, data);
    }
    QFile::setPermissions(program, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    QCOMPARE(folder, (inProgramFolder ? program : data) + QStringLiteral("/words"));
}

void TestStartup::fontSubstitutes_data()
{
    QTest::addColumn<QString>("face");
    QTest::addColumn<QString>("standIn");
    QTest::newRow("宋体 is a Song face") << QStringLiteral("宋体") << QStringLiteral("Noto Serif CJK SC");
    QTest::newRow("Arial") << QStringLiteral("Arial") << QStringLiteral("Liberation Sans");
}

void TestStartup::fontSubstitutes()
{
    QFETCH(QString, face);
    QFETCH(QString, standIn);
    const QFont interfaceFont = QApplication::font();
    substituteFonts();
    QApplication::setFont(interfaceFont);
    QCOMPARE(QFont::substitutes(face).value(0).toLower(), standIn.toLower());
    if (!QFontDatabase::hasFamily(standIn))
        QSKIP("the stand-in face is not installed");
    QCOMPARE(QFontInfo(QFont(face)).family(), standIn);
}

QTEST_MAIN(TestStartup)
#include "tst_startup.moc"
