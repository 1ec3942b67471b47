#include "Fakes.h"
#include "FaultyFolders.h"
#include "TestSupport.h"
#include "app/Startup.h"
#include "core/store/WordStore.h"
#include "forms/drill/FrmMain.h"
#include "platform/InstanceGuard.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

using namespace mirvo;
using namespace mirvo::test;

namespace {

const QByteArray shortList = "one 一\r\ntwo 二\r\n";
const QString firstRunText = QStringLiteral("第一次运行需要导入默认词库，点击确定后请稍等片刻。");

} // namespace

/// The two layouts: an unpacked copy that keeps everything beside the program, and a
/// system-wide installation whose program folder is read-only and whose list is in share/.
class TestLayout : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void defaultList_data();
    void defaultList();
    void firstRun_data();
    void firstRun();

private:
    QString path(const QString &relative) const { return m_dir->path() + QLatin1Char('/') + relative; }

    std::unique_ptr<QTemporaryDir> m_dir;
    QString m_program;
    QString m_installedData;
    QString m_userData;
};

void TestLayout::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
    m_program = path(QStringLiteral("usr/bin"));
    m_installedData = path(QStringLiteral("usr/share/mirvo"));
    m_userData = path(QStringLiteral("home/.local/share/Mirvo/Mirvo背单词"));
    QVERIFY(QDir().mkpath(m_program));
    QVERIFY(QDir().mkpath(m_installedData));
}

void TestLayout::cleanup()
{
    // A read-only folder would outlive the temporary folder's removal.
    QFile::setPermissions(m_program, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    m_dir.reset();
    QTRY_VERIFY(QApplication::topLevelWidgets().isEmpty());
}

void TestLayout::defaultList_data()
{
    QTest::addColumn<bool>("besideProgram");
    QTest::addColumn<bool>("installed");
    QTest::addColumn<bool>("knowsInstalledData");
    QTest::addColumn<QString>("expected"); // "program" or "installed"

    QTest::newRow("portable") << true << false << true << "program";
    QTest::newRow("installed") << false << true << true << "installed";
    QTest::newRow("both: the copy beside the program wins") << true << true << true << "program";
    QTest::newRow("neither: beside the program, where the import finds nothing")
        << false << false << true << "program";
    QTest::newRow("no installed data folder given") << false << true << false << "program";
}

void TestLayout::defaultList()
{
    QFETCH(bool, besideProgram);
    QFETCH(bool, installed);
    QFETCH(bool, knowsInstalledData);
    QFETCH(QString, expected);
    const QString beside = m_program + QStringLiteral("/words.txt");
    const QString inShare = m_installedData + QStringLiteral("/words.txt");
    if (besideProgram)
        QVERIFY(writeBytes(beside, shortList));
    if (installed)
        QVERIFY(writeBytes(inShare, shortList));

    const QString result = defaultListPath(m_program, knowsInstalledData ? m_installedData : QString());
    QCOMPARE(result, expected == QLatin1String("program") ? beside : inShare);
}

void TestLayout::firstRun_data()
{
    QTest::addColumn<bool>("programFolderWritable");
    QTest::addColumn<bool>("listBesideProgram");

    QTest::newRow("portable: unpacked and run in place") << true << true;
    QTest::newRow("installed: read-only program folder") << false << false;
    QTest::newRow("installed, run by root: writable program folder") << true << false;
    QTest::newRow("installed, with a stray list beside the program") << false << true;
}

// What main() does with the two decisions, through to the vocabulary command.
void TestLayout::firstRun()
{
    QFETCH(bool, programFolderWritable);
    QFETCH(bool, listBesideProgram);
    // The installed list differs from the one beside the program, to tell which was read.
    QVERIFY(writeBytes(m_installedData + QStringLiteral("/words.txt"), "three 三\r\n"));
    if (listBesideProgram)
        QVERIFY(writeBytes(m_program + QStringLiteral("/words.txt"), shortList));
    if (!programFolderWritable)
        QVERIFY(QFile::setPermissions(m_program, QFile::ReadOwner | QFile::ExeOwner));

    QString storeFolder;
    {
        // Root may write anywhere: the folder is judged as an ordinary user would find it.
        QVERIFY(openForOthers(m_program));
        const UnprivilegedUser asUser(!programFolderWritable);
        QVERIFY(asUser.ready());
        if (!programFolderWritable && QFileInfo(m_program).isWritable())
            QSKIP("a folder cannot be made unwritable to its owner here (Windows ignores a folder's read-only mark)");
        QCOMPARE(QFileInfo(m_program).isWritable(), programFolderWritable);
        storeFolder = storeFolderFor(m_program, m_userData);
    }
    QVERIFY(QDir().mkpath(QFileInfo(storeFolder).path()));
    WordStore store(storeFolder);
    FakeServices fakes;
    FakeInstanceGuard guard;
    fakes.dialogs.answerNext(MessageAnswer::Ok);
    QVERIFY(prepareStartup(guard, fakes.dialogs, store, defaultListPath(m_program, m_installedData)));
    QCOMPARE(fakes.dialogs.shownTexts(), QStringList{firstRunText});

    const bool portable = programFolderWritable && listBesideProgram;
    const QString expectedStore = (portable ? m_program : m_userData) + QStringLiteral("/words");
    QCOMPARE(store.folder(), expectedStore);
    const QStringList expectedWords = listBesideProgram
                                          ? QStringList{QStringLiteral("one"), QStringLiteral("two")}
                                          : QStringList{QStringLiteral("three")};
    QCOMPARE(listedWords(expectedStore), expectedWords);
    // Nothing is written into a read-only installation, nor into the user's folder by a copy.
    const QString untouched = portable ? m_userData : m_program + QStringLiteral("/words");
    QVERIFY(!QFileInfo::exists(untouched));

    FrmMain window(fakes.services(), store, QStringLiteral("http://mirvo.test"));
    window.show();
    window.openStoreFolder();
    QCOMPARE(fakes.shell.started.size(), 1);
    QCOMPARE(fakes.shell.started.at(0).arguments, QStringList{QDir::toNativeSeparators(expectedStore)});
    QVERIFY2(fakes.dialogs.leftovers().isEmpty(), qPrintable(fakes.dialogs.leftovers()));
}

QTEST_MAIN(TestLayout)
#include "tst_layout.moc"
