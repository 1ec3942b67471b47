#include "DrillFixture.h"
#include "forms/about/AboutWindowHost.h"
#include "forms/about/FrmAbout.h"
#include "forms/commands/MenuCommands.h"

#include <QDir>
#include <QPushButton>

using namespace mirvo;
using namespace mirvo::test;

namespace {
const QString done = QStringLiteral("完成");
}

class TestMenuCommands : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void importsAList_data();
    void importsAList();
    void cancelImportsNothing();
    void formatHelp();
    void vocabularyFolder_data();
    void vocabularyFolder();
    void webSite();
    void aboutIsShownOnce();
    void shortcutsWorkFromAnyControl_data();
    void shortcutsWorkFromAnyControl();

private:
    QString writeList(const QByteArray &bytes);
    std::unique_ptr<DrillFixture> m_fixture;
};

void TestMenuCommands::init()
{
    m_fixture = std::make_unique<DrillFixture>();
}

void TestMenuCommands::cleanup()
{
    QVERIFY2(m_fixture->problems().isEmpty(), qPrintable(m_fixture->problems()));
    m_fixture.reset();
    QTRY_VERIFY(QApplication::topLevelWidgets().isEmpty());
}

QString TestMenuCommands::writeList(const QByteArray &bytes)
{
    const QString path = m_fixture->dir.path() + QStringLiteral("/list %1.txt").arg(QDir(m_fixture->dir.path()).count());
    writeBytes(path, bytes);
    return path;
}

void TestMenuCommands::importsAList_data()
{
    QTest::addColumn<qint64>("cancelAt"); // the lines done when the progress is cancelled; -1 never
    QTest::addColumn<bool>("newerVersionMeanwhile"); // announced while the import runs
    QTest::addColumn<QString>("message");            // its start
    QTest::newRow("whole") << -1ll << false << done;
    QTest::newRow("cancelled at the second line") << 1ll << false << QStringLiteral("已取消导入“");
    QTest::newRow("a newer version announced meanwhile") << -1ll << true << done;
}

void TestMenuCommands::importsAList()
{
    QFETCH(qint64, cancelAt);
    QFETCH(bool, newerVersionMeanwhile);
    QFETCH(QString, message);
    m_fixture->addWords({{QStringLiteral("old"), QStringLiteral("旧")}});
    m_fixture->fakes.random.script({0.0f, 0.0f, 0.0f, 0.0f, 0.0f});
    FrmMain &window = m_fixture->open();
    FakeDialogs &dialogs = m_fixture->fakes.dialogs;
    dialogs.chooseFileNext(writeList("new 新\r\nnext 下一个\r\n"));
    dialogs.answerNext(MessageAnswer::Ok);
    if (cancelAt >= 0)
        dialogs.cancelProgressAt(cancelAt);
    if (newerVersionMeanwhile) {
        dialogs.answerNext(MessageAnswer::No);
        dialogs.onAdvance = [&](qint64) { m_fixture->fakes.pageLoader.finishWith(QStringLiteral("[9.9]")); };
    }
    bool progressGone = false;
    dialogs.onMessage = [&](const FakeDialogs::Shown &) { progressGone = !dialogs.progressUp; };
    m_fixture->fakes.random.script({0.9f, 0.0f, 0.0f, 0.0f, 0.0f});
    window.importList();

    QCOMPARE(dialogs.fileDialogFilters, QStringList{QStringLiteral("*.txt")});
    QCOMPARE(dialogs.progressMaximum, 2);
    QCOMPARE(dialogs.shown.size(), 1);
    QVERIFY2(dialogs.shown.at(0).text.startsWith(message), qPrintable(dialogs.shown.at(0).text));
    QCOMPARE(dialogs.shown.at(0).icon, message == done ? MessageIcon::Information : MessageIcon::Exclamation);
    QCOMPARE(dialogs.shown.at(0).caption, QStringLiteral("Mirvo背单词"));
    QVERIFY(progressGone);
    // A page that arrived during the import is judged once it has ended.
    if (newerVersionMeanwhile)
        QTRY_COMPARE(dialogs.shownTexts(), (QStringList{done, QStringLiteral("有新版本，是否升级？单击取消不再提醒。")}));
}

void TestMenuCommands::cancelImportsNothing()
{
    m_fixture->fakes.dialogs.chooseFileNext(QString());
    FrmMain &window = m_fixture->open();
    window.importList();
    QVERIFY(m_fixture->fakes.dialogs.shown.isEmpty());

    // An earlier import's file name does not count for a later cancel.
    m_fixture->fakes.dialogs.chooseFileNext(writeList("a 一\r\n"));
    m_fixture->fakes.dialogs.answerNext(MessageAnswer::Ok);
    m_fixture->fakes.random.script({0.0f, 0.0f, 0.0f, 0.0f, 0.0f});
    window.importList();
    m_fixture->fakes.dialogs.chooseFileNext(QString());
    QVERIFY(QFile::remove(m_fixture->store->entryPath(QStringLiteral("a"))));
    window.importList();
    QCOMPARE(m_fixture->fakes.dialogs.shownTexts(), QStringList{done});
    QVERIFY(!QFile::exists(m_fixture->store->entryPath(QStringLiteral("a"))));
}

void TestMenuCommands::formatHelp()
{
    FrmMain &window = m_fixture->open();
    m_fixture->fakes.dialogs.answerNext(MessageAnswer::Ok);
    window.showFormatHelp();
    QCOMPARE(m_fixture->fakes.dialogs.shown.size(), 1);
    QCOMPARE(m_fixture->fakes.dialogs.shown.at(0).text,
             QStringLiteral("txt格式，每行一个单词，单词与释义之间用空格分隔。暂不支持词组"));
    QCOMPARE(m_fixture->fakes.dialogs.shown.at(0).caption, QStringLiteral("词库格式"));
    QCOMPARE(m_fixture->fakes.dialogs.shown.at(0).icon, MessageIcon::Information);
}

void TestMenuCommands::vocabularyFolder_data()
{
    QTest::addColumn<bool>("starts");
    QTest::newRow("file manager starts") << true;
    QTest::newRow("file manager missing") << false;
}

void TestMenuCommands::vocabularyFolder()
{
    QFETCH(bool, starts);
    // A folder name with spaces, quotes, variables and Chinese reaches the file manager as one
    // argument, in the system's own separators.
    const QString folder = m_fixture->dir.path() + QStringLiteral("/我的 '词库' $HOME %PATH%");
    QVERIFY(QDir().mkpath(folder));
    m_fixture->store = std::make_unique<WordStore>(folder);
    FrmMain &window = m_fixture->open();
    m_fixture->fakes.shell.failStarts = !starts;
    if (!starts)
        m_fixture->fakes.dialogs.answerNext(MessageAnswer::Ok);
    window.openStoreFolder();
    QCOMPARE(m_fixture->fakes.shell.started.size(), 1);
    const auto call = m_fixture->fakes.shell.started.at(0);
    QCOMPARE(call.program, commands::fileManagerCall(folder).program);
    QCOMPARE(call.arguments, QStringList{QDir::toNativeSeparators(folder)});
    QCOMPARE(call.style, WindowStyle::MaximizedFocus);
    QCOMPARE(m_fixture->fakes.dialogs.shown.size(), starts ? 0 : 1);
}

void TestMenuCommands::webSite()
{
    FrmMain &window = m_fixture->open();
    window.openWebSite();
    QCOMPARE(m_fixture->fakes.shell.opened, QStringList{QStringLiteral("http://mirvo.test/")});
}

void TestMenuCommands::aboutIsShownOnce()
{
    // The window keeps one host: what the host does with a second show is its own test.
    FrmMain &window = m_fixture->open();
    window.showAbout();
    FrmAbout *about = window.aboutHost().window();
    QVERIFY(about && about->isVisible() && !about->parentWidget());
    window.showAbout();
    QCOMPARE(window.aboutHost().window(), about);
}

void TestMenuCommands::shortcutsWorkFromAnyControl_data()
{
    QTest::addColumn<int>("key");
    QTest::addColumn<QString>("focus");
    for (const char *focus : {"flWords", "ckDlt", "cmdOption_1"}) {
        for (const auto &[name, key] : {std::pair{"Ctrl+L", Qt::Key_L}, {"Ctrl+D", Qt::Key_D},
                                        {"Ctrl+M", Qt::Key_M}, {"Ctrl+B", Qt::Key_B}, {"Ctrl+A", Qt::Key_A}})
            QTest::addRow("%s from %s", name, focus) << int(key) << QString::fromLatin1(focus);
    }
}

void TestMenuCommands::shortcutsWorkFromAnyControl()
{
    QFETCH(int, key);
    QFETCH(QString, focus);
    m_fixture->addWords({{QStringLiteral("a"), QStringLiteral("一")}});
    m_fixture->fakes.random.script({0.0f, 0.0f, 0.0f, 0.0f, 0.0f});
    FrmMain &window = m_fixture->open();
    window.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&window));
    QWidget *target = window.findChild<QWidget *>(focus);
    target->setFocus();
    if (key == Qt::Key_L)
        m_fixture->fakes.dialogs.chooseFileNext(QString());
    if (key == Qt::Key_D)
        m_fixture->fakes.dialogs.answerNext(MessageAnswer::Ok);

    QTest::keyClick(target, Qt::Key(key), Qt::ControlModifier);

    switch (key) {
    case Qt::Key_L: QCOMPARE(m_fixture->fakes.dialogs.fileDialogFilters.size(), 1); break;
    case Qt::Key_D: QCOMPARE(m_fixture->fakes.dialogs.shown.size(), 1); break;
    case Qt::Key_M: QCOMPARE(m_fixture->fakes.shell.started.size(), 1); break;
    case Qt::Key_B: QCOMPARE(m_fixture->fakes.shell.opened.size(), 1); break;
    case Qt::Key_A: QVERIFY(window.aboutHost().window()); break;
    }
}

QTEST_MAIN(TestMenuCommands)
#include "tst_menucommands.moc"
