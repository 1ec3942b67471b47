#include "Fakes.h"
#include "forms/update/UpdateCheck.h"
#include "widgets/ClickLabel.h"

#include <QApplication>
#include <QTest>

#include <memory>

using namespace mirvo;
using mirvo::test::FakeServices;
using mirvo::test::MemorySettings;

using Title = std::optional<QString>;
Q_DECLARE_METATYPE(Title)

/// How far the check gets before the label's click.
enum class Reach { Nothing, Begin, Page, Label };
Q_DECLARE_METATYPE(Reach)

namespace {

const QString site = QStringLiteral("http://mirvo.example");
const QString downloadPage = QStringLiteral("http://mirvo.example/forum.php?mod=viewthread&tid=81");
const QString initial = QStringLiteral("新版本");
const QString checking = QStringLiteral("正在检测新版本。。。。。");
const QString upgrade = QStringLiteral("有新版本，点此升级");
const QString latest = QStringLiteral("当前是最新版本。");
const QString testMode = QStringLiteral("测试模式");
const QString failed = QStringLiteral("获取版本信息失败，请检查网络。");
const QString appTitle = QStringLiteral("Mirvo背单词");
const QString absent; // no stored flag

QString flagAddress()
{
    return MemorySettings::address(appTitle, QStringLiteral("settings"), QStringLiteral("btx"));
}

MessageAnswer answerFor(const QString &name)
{
    if (name == QLatin1String("yes"))
        return MessageAnswer::Yes;
    return name == QLatin1String("no") ? MessageAnswer::No : MessageAnswer::Cancel;
}

} // namespace

class TestUpdateCheck : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();
    void addresses();
    void startNavigatesToCheckPage();
    void evaluation_data();
    void evaluation();
    void everyDownloadEvaluatesAfresh();
    void heldPageWaitsForTheEventLoop();
    void upgradeIfOffered_data();
    void upgradeIfOffered();
    void offAsksNothingAndShowsNothing();

private:
    void storeFlag(const QString &flag)
    {
        if (!flag.isNull())
            m_fakes->settings.values.insert(flagAddress(), flag);
    }

    std::unique_ptr<FakeServices> m_fakes;
    std::unique_ptr<ClickLabel> m_label;
    std::unique_ptr<UpdateCheck> m_check;
};

void TestUpdateCheck::init()
{
    m_fakes = std::make_unique<FakeServices>();
    m_label = std::make_unique<ClickLabel>(initial);
    m_check = std::make_unique<UpdateCheck>(m_fakes->services(), *m_label, nullptr, site);
}

void TestUpdateCheck::cleanup()
{
    const QString leftovers = m_fakes->dialogs.leftovers();
    m_check.reset();
    m_label.reset();
    m_fakes.reset();
    QVERIFY2(leftovers.isEmpty(), qPrintable(leftovers));
    QVERIFY(QApplication::topLevelWidgets().isEmpty());
}

void TestUpdateCheck::addresses()
{
    for (const QString &root : {QStringLiteral("http://127.0.0.1:8080"), QStringLiteral("http://127.0.0.1:8080/")}) {
        QCOMPARE(UpdateCheck::checkPageAddress(root), QStringLiteral("http://127.0.0.1:8080/archiver/?tid-81.html"));
        QCOMPARE(UpdateCheck::downloadPageAddress(root),
                 QStringLiteral("http://127.0.0.1:8080/forum.php?mod=viewthread&tid=81"));
        QCOMPARE(UpdateCheck::homePageAddress(root), QStringLiteral("http://127.0.0.1:8080/"));
    }
}

void TestUpdateCheck::startNavigatesToCheckPage()
{
    m_check->start();

    QCOMPARE(m_fakes->pageLoader.navigated, QStringList{QStringLiteral("http://mirvo.example/archiver/?tid-81.html")});
    QCOMPARE(m_label->text(), initial);
    emit m_fakes->pageLoader.downloadBegin();
    QCOMPARE(m_label->text(), checking);
}

void TestUpdateCheck::evaluation_data()
{
    QTest::addColumn<Title>("title"); // nothing: the loader holds no document
    QTest::addColumn<QString>("flag");
    QTest::addColumn<QString>("answer"); // empty: no question expected
    QTest::addColumn<bool>("failSaves");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<bool>("stopped");
    QTest::addColumn<QString>("flagAfter");

    const auto row = [](const char *name, const Title &title, const QString &flag, const char *answer,
                        const QString &caption, bool stopped, const QString &flagAfter, bool failSaves = false) {
        QTest::newRow(name) << title << flag << QString::fromLatin1(answer) << failSaves << caption << stopped
                            << flagAfter;
    };
    const QString one = QStringLiteral("1");
    const QString zero = QStringLiteral("0");

    // Which version a title announces is the rules' test; here what each answer leads to.
    row("[1.1] latest", QStringLiteral("Mirvo背单词 最新版本[1.1] - 论坛"), absent, "", latest, false, absent);
    row("[1.0] test mode", QStringLiteral("[1.0]"), absent, "", testMode, false, absent);
    row("[1.2], no flag, No", QStringLiteral("最新版本[1.2]"), absent, "no", upgrade, true, absent);
    row("no flag, Cancel stores 1", QStringLiteral("[1.2]"), absent, "cancel", upgrade, true, one);
    row("flag 0, Cancel stores 1", QStringLiteral("[1.2]"), zero, "cancel", upgrade, true, one);
    row("flag 1, no question", QStringLiteral("[1.2]"), one, "", upgrade, true, one);
    row("flag 1.0, no question", QStringLiteral("[1.2]"), QStringLiteral("1.0"), "", upgrade, true,
        QStringLiteral("1.0"));
    row("flag 2, asked", QStringLiteral("[1.2]"), QStringLiteral("2"), "no", upgrade, true, QStringLiteral("2"));
    row("Yes upgrades, label kept", QStringLiteral("[1.2]"), absent, "yes", checking, true, absent);
    row("flag not a number", QStringLiteral("[1.2]"), QStringLiteral("abc"), "", failed, true,
        QStringLiteral("abc"));
    row("flag empty", QStringLiteral("[1.2]"), QStringLiteral(""), "", failed, true, QStringLiteral(""));
    row("flag not a number, older page", QStringLiteral("[1.0]"), QStringLiteral("abc"), "", testMode, false,
        QStringLiteral("abc"));
    row("Cancel, save fails", QStringLiteral("[1.2]"), absent, "cancel", failed, true, absent, true);
    row("no document", std::nullopt, absent, "", failed, false, absent);
}

void TestUpdateCheck::evaluation()
{
    QFETCH(Title, title);
    QFETCH(QString, flag);
    QFETCH(QString, answer);
    QFETCH(bool, failSaves);
    QFETCH(QString, caption);
    QFETCH(bool, stopped);
    QFETCH(QString, flagAfter);

    storeFlag(flag);
    m_fakes->settings.failSaves = failSaves;
    if (!answer.isEmpty())
        m_fakes->dialogs.answerNext(answerFor(answer));

    m_check->start();
    m_fakes->pageLoader.finishWith(title);

    QCOMPARE(m_label->text(), caption);
    QCOMPARE(m_fakes->pageLoader.stops, stopped ? 1 : 0);
    QCOMPARE(m_fakes->settings.values.contains(flagAddress()), !flagAfter.isNull());
    QCOMPARE(m_fakes->settings.values.value(flagAddress()), flagAfter);
    QCOMPARE(m_fakes->dialogs.shown.size(), answer.isEmpty() ? 0 : 1);
    if (!answer.isEmpty()) {
        const auto &box = m_fakes->dialogs.shown.constFirst();
        QCOMPARE(box.text, QStringLiteral("有新版本，是否升级？单击取消不再提醒。"));
        QCOMPARE(box.caption, appTitle);
        QCOMPARE(box.icon, MessageIcon::Question);
        QCOMPARE(box.buttons, MessageButtons::YesNoCancel);
    }
    const bool upgrades = answer == QLatin1String("yes");
    QCOMPARE(m_fakes->shell.opened, upgrades ? QStringList{downloadPage} : QStringList());
    QCOMPARE(m_fakes->programEnd.ends, upgrades ? 1 : 0);
}

void TestUpdateCheck::everyDownloadEvaluatesAfresh()
{
    m_check->start();
    m_fakes->pageLoader.finishWith(QStringLiteral("[1.0]"));
    QCOMPARE(m_label->text(), testMode);
    m_fakes->pageLoader.finishWith(QStringLiteral("找不到服务器"));
    QCOMPARE(m_label->text(), checking);
    m_fakes->pageLoader.finishWith(QStringLiteral("[1.1]"));
    QCOMPARE(m_label->text(), latest);
    m_fakes->pageLoader.finishWith(std::nullopt);
    QCOMPARE(m_label->text(), failed);
    QCOMPARE(m_fakes->pageLoader.navigated.size(), 1);
}

void TestUpdateCheck::heldPageWaitsForTheEventLoop()
{
    m_check->start();
    auto held = std::make_unique<UpdateCheck::Hold>(*m_check);
    m_fakes->pageLoader.finishWith(QStringLiteral("[1.2]"));
    QCoreApplication::processEvents();
    QCOMPARE(m_label->text(), checking);
    // Released, the step that held it goes on first; held again before the event loop, the
    // page waits for that hold too.
    held.reset();
    QCOMPARE(m_label->text(), checking);
    held = std::make_unique<UpdateCheck::Hold>(*m_check);
    QCoreApplication::processEvents();
    QVERIFY(m_fakes->dialogs.shown.isEmpty());
    held.reset();
    m_fakes->dialogs.answerNext(MessageAnswer::No);
    QCoreApplication::processEvents();
    QCOMPARE(m_fakes->dialogs.shown.size(), 1);
    QCOMPARE(m_label->text(), upgrade);
}

void TestUpdateCheck::upgradeIfOffered_data()
{
    QTest::addColumn<Reach>("reach");
    QTest::addColumn<Title>("title"); // of the page, when the check gets that far
    QTest::addColumn<QString>("flag");
    QTest::addColumn<bool>("failSaves");
    QTest::addColumn<bool>("upgrades");

    const Title newer = QStringLiteral("[1.2]");
    QTest::newRow("offer, no flag") << Reach::Page << newer << absent << false << true;
    QTest::newRow("offer, flag 1") << Reach::Page << newer << QStringLiteral("1") << false << true;
    QTest::newRow("offer, save fails") << Reach::Page << newer << QStringLiteral("1") << true << false;
    QTest::newRow("initial") << Reach::Nothing << Title() << QStringLiteral("1") << false << false;
    QTest::newRow("checking") << Reach::Begin << Title() << absent << false << false;
    QTest::newRow("latest") << Reach::Page << Title(QStringLiteral("[1.1]")) << absent << false << false;
    QTest::newRow("test mode") << Reach::Page << Title(QStringLiteral("[1.0]")) << absent << false << false;
    QTest::newRow("failed") << Reach::Page << Title() << absent << false << false;
    // The check's state decides, not what the label says.
    QTest::newRow("the offer's text, no offer") << Reach::Label << Title() << absent << false << false;
}

void TestUpdateCheck::upgradeIfOffered()
{
    QFETCH(Reach, reach);
    QFETCH(Title, title);
    QFETCH(QString, flag);
    QFETCH(bool, failSaves);
    QFETCH(bool, upgrades);

    storeFlag(flag);
    if (reach == Reach::Label)
        m_label->setTextFitted(upgrade);
    if (reach == Reach::Begin || reach == Reach::Page)
        emit m_fakes->pageLoader.downloadBegin();
    if (reach == Reach::Page) {
        if (title == QStringLiteral("[1.2]") && flag.isNull())
            m_fakes->dialogs.answerNext(MessageAnswer::No); // asked once: not now
        m_fakes->pageLoader.finishWith(title);
        m_fakes->dialogs.reset();
    }
    const QString caption = m_label->text();
    m_fakes->settings.failSaves = failSaves;
    if (failSaves)
        m_fakes->dialogs.answerNext(MessageAnswer::Ok);

    m_check->upgradeIfOffered();

    QCOMPARE(m_fakes->settings.values.value(flagAddress(), absent), upgrades ? QStringLiteral("0") : flag);
    QCOMPARE(m_fakes->shell.opened, upgrades ? QStringList{downloadPage} : QStringList());
    QCOMPARE(m_fakes->programEnd.ends, upgrades ? 1 : 0);
    QCOMPARE(m_label->text(), caption);
    QCOMPARE(m_fakes->dialogs.shown.size(), failSaves ? 1 : 0);
    if (failSaves) {
        const auto &box = m_fakes->dialogs.shown.constFirst();
        QCOMPARE(box.caption, appTitle);
        QCOMPARE(box.icon, MessageIcon::Exclamation);
        QVERIFY2(box.text.contains(QStringLiteral("settings are read-only")), qPrintable(box.text));
    }
}

void TestUpdateCheck::offAsksNothingAndShowsNothing()
{
    m_check = std::make_unique<UpdateCheck>(m_fakes->services(), *m_label, nullptr, site, UpdateCheckMode::Off);
    QCOMPARE(m_label->text(), QString());

    m_check->start();
    m_fakes->pageLoader.finishWith(QStringLiteral("[1.2]"));
    QCOMPARE(m_fakes->pageLoader.navigated, QStringList());
    QCOMPARE(m_label->text(), QString());

    m_label->setTextFitted(upgrade);
    m_check->upgradeIfOffered();
    QCOMPARE(m_fakes->shell.opened, QStringList());
    QCOMPARE(m_fakes->programEnd.ends, 0);
    QVERIFY(m_fakes->settings.values.isEmpty());
}

QTEST_MAIN(TestUpdateCheck)
#include "tst_updatecheck.moc"
