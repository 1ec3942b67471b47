#include "DrillFixture.h"
#include "widgets/FileListBox.h"

#include <QAccessible>
#include <QCheckBox>
#include <QLabel>
#include <QMenuBar>
#include <QStyle>
#include <QStyleFactory>
#include <QPushButton>
#include <QScopeGuard>

using namespace mirvo;
using namespace mirvo::test;

namespace {

const QString shanchu = MemorySettings::address(QStringLiteral("Velko"), QStringLiteral("Mirvo背单词"),
                                                 QStringLiteral("shanchu"));

} // namespace

/// The window as it is made and loaded: its controls, frame, focus order and menus.
class TestFrmMain : public QObject
{
    Q_OBJECT

private slots:
    void cleanup();
    void layout_data();
    void layout();
    void windowFrameAndFonts();
    void clientAreaBelowMenuBar_data();
    void clientAreaBelowMenuBar();
    void tabOrder();
    void menus_data();
    void menus();
    void updateCheckAtLoad_data();
    void updateCheckAtLoad();
    void panelTextIsDarkOnAnyTheme();
    void deleteOptionAndClose_data();
    void deleteOptionAndClose();

private:
    std::unique_ptr<DrillFixture> m_fixture;
};

void TestFrmMain::cleanup()
{
    const QString left = dropFixture(m_fixture);
    QVERIFY2(left.isEmpty(), qPrintable(left));
}

void TestFrmMain::layout_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QRect>("geometry");
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("visible");
    // Twips / 15.
    QTest::newRow("Picture1") << "Picture1" << QRect(0, 0, 673, 457) << QString() << true;
    QTest::newRow("ckDlt") << "ckDlt" << QRect(144, 216, 529, 17) << QStringLiteral("自动删除正确单词    选择中文释义：") << true;
    QTest::newRow("flWords") << "flWords" << QRect(8, 32, 121, 414) << QString() << true;
    QTest::newRow("cmdOption 1") << "cmdOption_1" << QRect(144, 240, 521, 41) << QStringLiteral("A") << true;
    QTest::newRow("cmdOption 2") << "cmdOption_2" << QRect(144, 288, 521, 41) << QStringLiteral("B") << true;
    QTest::newRow("cmdOption 3") << "cmdOption_3" << QRect(144, 336, 521, 41) << QStringLiteral("C") << true;
    QTest::newRow("cmdOption 4") << "cmdOption_4" << QRect(144, 384, 521, 41) << QStringLiteral("D") << true;
    QTest::newRow("cmdShift") << "cmdShift" << QRect(144, 168, 161, 41) << QStringLiteral("换一个") << true;
    QTest::newRow("cmdBuhui") << "cmdBuhui" << QRect(312, 168, 153, 41) << QStringLiteral("不会") << true;
    QTest::newRow("lbBanBen") << "lbBanBen" << QRect(8, 8, 129, 25) << QStringLiteral("版本：1.1") << true;
    QTest::newRow("lbWord") << "lbWord" << QRect(136, 56, 513, 65) << QStringLiteral("单词") << true;
    QTest::newRow("lbYiSi") << "lbYiSi" << QRect(256, 128, 41, 25) << QStringLiteral("意思") << false;
    QTest::newRow("lbRem") << "lbRem" << QRect(472, 176, 121, 25) << QStringLiteral("剩余单词数：") << true;
    QTest::newRow("Rema") << "Rema" << QRect(600, 176, 57, 25) << QStringLiteral("0") << true;
}

void TestFrmMain::layout()
{
    QFETCH(QString, name);
    QFETCH(QRect, geometry);
    QFETCH(QString, text);
    QFETCH(bool, visible);
    m_fixture = std::make_unique<DrillFixture>();
    FrmMain &window = m_fixture->open();
    QWidget *control = window.findChild<QWidget *>(name);
    QVERIFY(control);
    QCOMPARE(control->geometry(), geometry);
    QCOMPARE(control->isVisible(), visible);
    if (!text.isEmpty())
        QCOMPARE(m_fixture->text(qPrintable(name)), text);
}

void TestFrmMain::windowFrameAndFonts()
{
    m_fixture = std::make_unique<DrillFixture>();
    FrmMain &window = m_fixture->open();
    QCOMPARE(window.windowTitle(), QStringLiteral("Mirvo背单词"));
    QCOMPARE(window.minimumSize(), window.maximumSize());
    QVERIFY(window.windowFlags() & Qt::WindowMinimizeButtonHint);
    QVERIFY(window.windowFlags() & Qt::WindowCloseButtonHint);
    QVERIFY(!(window.windowFlags() & Qt::WindowMaximizeButtonHint));
    QCOMPARE(window.centralWidget()->palette().color(QPalette::Window), QColor(192, 255, 192));
    QVERIFY(window.centralWidget()->autoFillBackground());
    QCOMPARE(QApplication::focusWidget() ? QApplication::focusWidget()->objectName() : window.focusWidget()->objectName(),
             QStringLiteral("cmdBuhui"));
    QVERIFY(!window.windowIcon().isNull());

    const QFont drill = window.answerButton(1)->font();
    QCOMPARE(drill.family(), QStringLiteral("宋体"));
    QCOMPARE(drill.pointSizeF(), 14.25);
    for (const char *name : {"cmdShift", "cmdBuhui", "Label3", "lbBanBen", "lbYiSi", "lbRem", "Rema"})
        QCOMPARE(window.findChild<QWidget *>(QLatin1String(name))->font(), drill);
    auto *word = window.findChild<QLabel *>(QStringLiteral("lbWord"));
    QCOMPARE(word->font().family(), QStringLiteral("Arial"));
    QCOMPARE(word->font().pointSizeF(), 42.0);
    QCOMPARE(word->palette().color(QPalette::WindowText), QColor(0, 0, 255));
    QCOMPARE(word->alignment(), Qt::AlignCenter);
    for (int index = 1; index <= 4; ++index) {
        QVERIFY(!window.answerButton(index)->isDefault());
        QVERIFY(!window.answerButton(index)->autoDefault());
    }
}

void TestFrmMain::clientAreaBelowMenuBar_data()
{
    QTest::addColumn<QString>("style");
    for (const QString &style : QStyleFactory::keys())
        QTest::newRow(qPrintable(style)) << style;
}

void TestFrmMain::clientAreaBelowMenuBar()
{
    // The Windows styles lay the bar out a line taller than its size hint.
    QFETCH(QString, style);
    const QString before = QApplication::style()->name();
    QApplication::setStyle(style);
    m_fixture = std::make_unique<DrillFixture>();
    FrmMain &window = m_fixture->open();
    const QRect client = window.centralWidget()->geometry();
    QApplication::setStyle(before);
    QCOMPARE(client.size(), QSize(684, 463));
    QVERIFY(client.top() > window.menuBar()->geometry().bottom());
    QCOMPARE(window.size(), QSize(684, client.bottom() + 1));
}

void TestFrmMain::tabOrder()
{
    m_fixture = std::make_unique<DrillFixture>();
    FrmMain &window = m_fixture->open();
    const QStringList expected = {QStringLiteral("cmdBuhui"), QStringLiteral("cmdShift"),
                                  QStringLiteral("cmdOption_3"), QStringLiteral("cmdOption_2"),
                                  QStringLiteral("cmdOption_1"), QStringLiteral("cmdOption_4"),
                                  QStringLiteral("flWords"), QStringLiteral("ckDlt")};
    QVERIFY(QTest::qWaitForWindowActive(&window));
    window.findChild<QWidget *>(expected.first())->setFocus();
    // Tab itself, so that a control keeping Tab for itself (a table's cells) shows.
    QStringList order;
    for (qsizetype i = 0; i < expected.size(); ++i) {
        order.append(QApplication::focusWidget()->objectName());
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    }
    QCOMPARE(order, expected);
    QCOMPARE(QApplication::focusWidget()->objectName(), expected.first());
}

void TestFrmMain::menus_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("caption");
    QTest::newRow("DaoRu") << "DaoRu" << QStringLiteral("导入词库");
    QTest::newRow("cikugeshishuoming") << "cikugeshishuoming" << QStringLiteral("词库格式说明");
    QTest::newRow("zengshan") << "zengshan" << QStringLiteral("词汇管理");
    QTest::newRow("fangwenwangzhan") << "fangwenwangzhan" << QStringLiteral("访问网站");
    QTest::newRow("guanyu") << "guanyu" << QStringLiteral("关于");
}

void TestFrmMain::menus()
{
    QFETCH(QString, name);
    QFETCH(QString, caption);
    m_fixture = std::make_unique<DrillFixture>();
    FrmMain &window = m_fixture->open();
    const QList<QAction *> menus = window.menuBar()->actions();
    QCOMPARE(menus.size(), 2);
    QCOMPARE(menus.at(0)->text(), QStringLiteral("文件"));
    QCOMPARE(menus.at(1)->text(), QStringLiteral("程序"));
    auto *action = window.findChild<QAction *>(name);
    QVERIFY(action);
    QCOMPARE(action->text(), caption);
}

void TestFrmMain::updateCheckAtLoad_data()
{
    QTest::addColumn<bool>("checks");
    QTest::addColumn<QStringList>("navigated");
    QTest::addColumn<QString>("caption");
    QTest::newRow("on") << true << QStringList{QStringLiteral("http://mirvo.test/archiver/?tid-81.html")} << QStringLiteral("新版本");
    QTest::newRow("off") << false << QStringList() << QString();
}

void TestFrmMain::updateCheckAtLoad()
{
    QFETCH(bool, checks);
    QFETCH(QStringList, navigated);
    QFETCH(QString, caption);
    m_fixture = std::make_unique<DrillFixture>();
    m_fixture->open(checks ? UpdateCheckMode::On : UpdateCheckMode::Off);
    QCOMPARE(m_fixture->fakes.pageLoader.navigated, navigated);
    QCOMPARE(m_fixture->text("Label3"), caption);
}

void TestFrmMain::panelTextIsDarkOnAnyTheme()
{
    const QPalette original = QApplication::palette();
    QPalette theme = original;
    for (auto role : {QPalette::Window, QPalette::Base, QPalette::Button})
        theme.setColor(role, QColor(40, 40, 40));
    for (auto role : {QPalette::WindowText, QPalette::Text, QPalette::ButtonText})
        theme.setColor(role, QColor(240, 240, 240));
    QApplication::setPalette(theme);
    m_fixture = std::make_unique<DrillFixture>();
    FrmMain &window = m_fixture->open();
    const auto restore = qScopeGuard([&] { QApplication::setPalette(original); });

    for (const char *name : {"ckDlt", "lbBanBen", "Label3", "lbRem", "Rema"}) {
        auto *control = window.findChild<QWidget *>(QLatin1String(name));
        for (auto group : {QPalette::Active, QPalette::Inactive}) {
            const QColor text = control->palette().color(group, control->foregroundRole());
            QVERIFY2(text.lightness() < 100, name);
        }
    }
    QCOMPARE(window.findChild<QWidget *>(QStringLiteral("Picture1"))->palette().color(QPalette::Window),
             QColor(192, 255, 192));
    // The list and the buttons keep the theme's own colours.
    QCOMPARE(window.wordList()->palette().color(QPalette::Base), theme.color(QPalette::Base));
    QCOMPARE(window.answerButton(1)->palette().color(QPalette::ButtonText), theme.color(QPalette::ButtonText));
}

void TestFrmMain::deleteOptionAndClose_data()
{
    // What else a stored value may be is the option's own test.
    QTest::addColumn<QString>("stored");
    QTest::addColumn<Qt::CheckState>("state"); // at load
    QTest::addColumn<int>("clicks");
    QTest::addColumn<MessageAnswer>("answer"); // to the close question
    QTest::addColumn<QString>("saved");
    const MessageAnswer yes = MessageAnswer::Yes;
    QTest::newRow("first run, no") << QString() << Qt::Checked << 0 << MessageAnswer::No << QString();
    QTest::newRow("first run, a click, yes") << QString() << Qt::Checked << 1 << yes << QStringLiteral("0");
    QTest::newRow("stored 0, a click, yes") << QStringLiteral("0") << Qt::Unchecked << 1 << yes << QStringLiteral("1");
    QTest::newRow("stored 1, yes") << QStringLiteral("1") << Qt::Checked << 0 << yes << QStringLiteral("1");
    QTest::newRow("stored 2: grey, yes") << QStringLiteral("2") << Qt::PartiallyChecked << 0 << yes << QStringLiteral("2");
    // Grey only until clicked: then checked, then not.
    QTest::newRow("stored 2, two clicks, yes") << QStringLiteral("2") << Qt::PartiallyChecked << 2 << yes << QStringLiteral("0");
}

void TestFrmMain::deleteOptionAndClose()
{
    QFETCH(QString, stored);
    QFETCH(Qt::CheckState, state);
    QFETCH(int, clicks);
    QFETCH(MessageAnswer, answer);
    QFETCH(QString, saved);
    m_fixture = std::make_unique<DrillFixture>();
    if (!stored.isNull())
        m_fixture->fakes.settings.values.insert(shanchu, stored);
    m_fixture->open();
    auto *ckDlt = m_fixture->window->findChild<QCheckBox *>(QStringLiteral("ckDlt"));
    QCOMPARE(ckDlt->checkState(), state);
    // Anywhere in its rectangle, far right of the caption too.
    const QRect area = ckDlt->rect();
    for (int i = 0; i < clicks; ++i)
        QTest::mouseClick(ckDlt, Qt::LeftButton, {}, QPoint(area.right() - 2, area.center().y()));
    QCOMPARE(QAccessible::queryAccessibleInterface(ckDlt)->rect(), QRect(ckDlt->mapToGlobal(QPoint(0, 0)), ckDlt->size()));

    m_fixture->fakes.dialogs.answerNext(answer);
    const bool closed = m_fixture->window->close();
    QCOMPARE(m_fixture->fakes.dialogs.shownTexts(), QStringList{QStringLiteral("确定要退出？感谢使用。")});
    QCOMPARE(m_fixture->fakes.dialogs.shown.at(0).icon, MessageIcon::Question);
    QCOMPARE(m_fixture->fakes.dialogs.shown.at(0).buttons, MessageButtons::YesNo);
    QCOMPARE(closed, answer == MessageAnswer::Yes);
    QCOMPARE(m_fixture->window->isVisible(), !closed);
    QCOMPARE(m_fixture->fakes.settings.saves, closed ? 1 : 0);
    QCOMPARE(m_fixture->fakes.settings.values.value(shanchu), saved.isNull() ? stored : saved);
    QCOMPARE(m_fixture->fakes.programEnd.quits, closed ? 1 : 0);
    QCOMPARE(m_fixture->fakes.programEnd.ends, 0);
}

QTEST_MAIN(TestFrmMain)
#include "tst_frmmain.moc"
