#include "Fakes.h"
#include "forms/about/AboutTexts.h"
#include "forms/about/AboutWindowHost.h"
#include "forms/about/FrmAbout.h"

#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QTest>

#include <memory>

using namespace mirvo;
using namespace mirvo::test;

namespace {

const QString title = QStringLiteral("Mirvo背单词");

template<typename Widget = QWidget>
Widget *control(QWidget *window, const char *name)
{
    return window->findChild<Widget *>(QLatin1String(name));
}

QString text(QWidget *window, const char *name)
{
    return control<QLabel>(window, name)->text();
}

} // namespace

class TestFrmAbout : public QObject
{
    Q_OBJECT

private slots:
    void init() { m_fakes = std::make_unique<FakeServices>(); }
    void cleanup();

    void layout_data();
    void layout();
    void shownLoadedAndCentred();
    void tabOrder();
    void versionText_data();
    void versionText();
    void descriptionText_data();
    void descriptionText();
    void oneWindowAtMost();
    void closes_data();
    void closes();
    void sysInfoButton();
    void closesWithItsHost();

private:
    std::unique_ptr<FakeServices> m_fakes;
};

void TestFrmAbout::cleanup()
{
    QTRY_VERIFY(QApplication::topLevelWidgets().isEmpty());
    QVERIFY2(m_fakes->dialogs.leftovers().isEmpty(), qPrintable(m_fakes->dialogs.leftovers()));
}

void TestFrmAbout::layout_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QRect>("geometry"); // pixels: twips / 15, rounded
    QTest::addColumn<QString>("text"); // at creation
    QTest::addColumn<QColor>("colour"); // of a label's text or a line; invalid: the default

    const QString label = QStringLiteral("QLabel");
    const QString button = QStringLiteral("QPushButton");
    const QColor black(Qt::black);
    QTest::newRow("picIcon") << label << QRect(16, 16, 32, 32) << "" << QColor();
    QTest::newRow("cmdOK") << button << QRect(275, 175, 100, 23) << "确定" << QColor();
    QTest::newRow("cmdSysInfo") << button << QRect(276, 205, 99, 23) << "系统信息(&S)..." << QColor();
    QTest::newRow("Line1_1") << "QWidget" << QRect(6, 163, 371, 1) << "" << QColor(128, 128, 128);
    QTest::newRow("lblDescription") << label << QRect(70, 75, 259, 78)
                                    << "简易的背单词程序||内置大学英语四级词汇3600个" << black;
    QTest::newRow("lblTitle") << label << QRect(70, 16, 259, 32) << "应用程序标题" << black;
    QTest::newRow("Line1_0") << "QWidget" << QRect(7, 164, 370, 2) << "" << QColor(Qt::white);
    QTest::newRow("lblVersion") << label << QRect(70, 52, 259, 15) << "版本" << QColor();
    QTest::newRow("lblDisclaimer") << label << QRect(17, 175, 242, 55) << "Mirvo工作室 出品" << black;
}

void TestFrmAbout::layout()
{
    QFETCH(QString, kind);
    QFETCH(QRect, geometry);
    QFETCH(QString, text);
    QFETCH(QColor, colour);

    FrmAbout window(m_fakes->services());
    auto *widget = window.findChild<QWidget *>(QString::fromLatin1(QTest::currentDataTag()));
    QVERIFY(widget);
    QCOMPARE(QString::fromLatin1(widget->metaObject()->className()), kind);
    QCOMPARE(widget->geometry(), geometry);
    QCOMPARE(widget->font(), QApplication::font(widget));
    QCOMPARE(widget->property("text").toString(), text);
    if (!colour.isValid())
        return;
    // What is drawn, not what is set: the lines must show their colour edge to edge.
    const QImage image = window.grab().toImage();
    if (kind == QLatin1String("QWidget")) {
        QCOMPARE(image.pixelColor(geometry.topLeft()), colour);
        QCOMPARE(image.pixelColor(geometry.bottomRight()), colour);
        QVERIFY(image.pixelColor(geometry.topLeft() - QPoint(1, 1)) != colour);
        QVERIFY(image.pixelColor(geometry.bottomRight() + QPoint(1, 1)) != colour);
    } else {
        QCOMPARE(widget->palette().color(QPalette::WindowText), colour);
    }
}

void TestFrmAbout::shownLoadedAndCentred()
{
    AboutWindowHost host(m_fakes->services());
    host.show();
    FrmAbout *window = host.window();
    QVERIFY(QTest::qWaitForWindowExposed(window));

    QCOMPARE(window->parentWidget(), nullptr);
    QVERIFY(!window->isModal());
    QVERIFY(!window->testAttribute(Qt::WA_QuitOnClose)); // the main window's close ends the program
    QCOMPARE(window->minimumSize(), QSize(382, 237));
    QCOMPARE(window->maximumSize(), QSize(382, 237));
    QCOMPARE(window->windowType(), Qt::Dialog);
    const Qt::WindowFlags flags = window->windowFlags();
    QVERIFY(flags.testFlag(Qt::WindowTitleHint) && flags.testFlag(Qt::WindowCloseButtonHint));
    QVERIFY(!flags.testFlag(Qt::WindowMinimizeButtonHint));
    QVERIFY(!flags.testFlag(Qt::WindowMaximizeButtonHint));
    QVERIFY(control<QPushButton>(window, "cmdOK")->isDefault());
    const QPoint offCentre = window->frameGeometry().center()
                             - window->screen()->availableGeometry().center();
    QVERIFY(qAbs(offCentre.x()) <= 1 && qAbs(offCentre.y()) <= 1);

    QCOMPARE(window->windowTitle(), QStringLiteral("关于 ") + title);
    QCOMPARE(text(window, "lblTitle"), title);
    QCOMPARE(text(window, "lblVersion"), QStringLiteral("版本 1.1.0"));
    QCOMPARE(text(window, "lblDescription"), QStringLiteral("简易的背单词程序\n\n内置大学英语四级词汇3600个"));
}

void TestFrmAbout::tabOrder()
{
    AboutWindowHost host(m_fakes->services());
    host.show();
    QVERIFY(QTest::qWaitForWindowActive(host.window()));

    QStringList visited{QApplication::focusWidget()->objectName()};
    for (int i = 0; i < 3; ++i) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        visited.append(QApplication::focusWidget()->objectName());
    }
    QCOMPARE(visited, QStringList({QStringLiteral("cmdOK"), QStringLiteral("picIcon"),
                                   QStringLiteral("cmdSysInfo"), QStringLiteral("cmdOK")}));
}

void TestFrmAbout::versionText_data()
{
    QTest::addColumn<int>("revision");
    QTest::addColumn<QString>("text");
    QTest::newRow("revision 0") << 0 << "版本 1.1.0";
    QTest::newRow("revision 12") << 12 << "版本 1.1.12";
}

void TestFrmAbout::versionText()
{
    QFETCH(int, revision);
    QFETCH(QString, text);
    QCOMPARE(about::versionText(1, 1, revision), text);
}

void TestFrmAbout::descriptionText_data()
{
    QTest::addColumn<QString>("designed");
    QTest::addColumn<QString>("shown");

    QTest::newRow("double bar, empty line") << "简易||内置" << "简易\n\n内置";
    QTest::newRow("no bar") << "背单词" << "背单词";
    QTest::newRow("empty") << "" << "";
    QTest::newRow("bars at both ends") << "|a|" << "\na\n";
    QTest::newRow("full-width bar is text") << "a｜b" << "a｜b";
}

void TestFrmAbout::descriptionText()
{
    QFETCH(QString, designed);
    QFETCH(QString, shown);
    QCOMPARE(about::descriptionText(designed), shown);
}

void TestFrmAbout::oneWindowAtMost()
{
    AboutWindowHost host(m_fakes->services());
    QCOMPARE(host.window(), nullptr);
    host.show();
    const QPointer<FrmAbout> first = host.window();
    control<QLabel>(first, "lblTitle")->setText(QStringLiteral("marker"));

    QWidget other;
    other.show();
    QVERIFY(QTest::qWaitForWindowActive(&other));

    host.show();
    QCOMPARE(host.window(), first.data());
    QCOMPARE(text(first, "lblTitle"), QStringLiteral("marker")); // not loaded again
    QTRY_COMPARE(QApplication::activeWindow(), first.data());
    QCOMPARE(QApplication::topLevelWidgets().size(), 2);
}

void TestFrmAbout::closes_data()
{
    QTest::addColumn<int>("key"); // 0: by hand
    QTest::newRow("cmdOK") << 0;
    QTest::newRow("Enter") << int(Qt::Key_Return);
    QTest::newRow("Escape") << int(Qt::Key_Escape);
    QTest::newRow("close box") << 0;
}

void TestFrmAbout::closes()
{
    QFETCH(int, key);

    AboutWindowHost host(m_fakes->services());
    host.show();
    const QPointer<FrmAbout> first = host.window();
    QVERIFY(QTest::qWaitForWindowActive(first));
    control<QLabel>(first, "lblTitle")->setText(QStringLiteral("marker"));

    if (key != 0)
        QTest::keyClick(QApplication::focusWidget(), Qt::Key(key));
    else if (QTest::currentDataTag() == QByteArrayView("cmdOK"))
        QTest::mouseClick(control(first, "cmdOK"), Qt::LeftButton);
    else
        first->close();

    QCOMPARE(host.window(), nullptr);
    QTRY_VERIFY(first.isNull());
    host.show();
    QVERIFY(host.window());
    QCOMPARE(text(host.window(), "lblTitle"), title); // created and loaded anew
    QVERIFY(m_fakes->shell.started.isEmpty());
}

void TestFrmAbout::sysInfoButton()
{
    m_fakes->systemInfo.command = QStringLiteral("/usr/bin/hardinfo");
    AboutWindowHost host(m_fakes->services());
    host.show();
    FrmAbout *window = host.window();
    QVERIFY(QTest::qWaitForWindowActive(window));

    // Enter presses the button that has the focus.
    control(window, "cmdSysInfo")->setFocus();
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    QCOMPARE(m_fakes->shell.started.size(), 1);
    QCOMPARE(m_fakes->shell.started.constFirst().program, QStringLiteral("/usr/bin/hardinfo"));
    QCOMPARE(m_fakes->shell.started.constFirst().style, WindowStyle::NormalFocus);

    // A tool that does not start, or none found: the one message, and the window stays.
    m_fakes->shell.failStarts = true;
    m_fakes->dialogs.answerNext(MessageAnswer::Ok);
    QTest::mouseClick(control(window, "cmdSysInfo"), Qt::LeftButton);
    m_fakes->systemInfo.command.reset();
    m_fakes->dialogs.answerNext(MessageAnswer::Ok);
    QTest::mouseClick(control(window, "cmdSysInfo"), Qt::LeftButton);
    QCOMPARE(m_fakes->dialogs.shownTexts(), QStringList(2, QStringLiteral("此时系统信息不可用")));
    QCOMPARE(m_fakes->dialogs.shown.constLast().icon, MessageIcon::None);
    QCOMPARE(m_fakes->shell.started.size(), 2);
    QCOMPARE(host.window(), window);
    QVERIFY(window->isVisible());
}

void TestFrmAbout::closesWithItsHost()
{
    QPointer<FrmAbout> window;
    {
        AboutWindowHost host(m_fakes->services());
        host.show();
        window = host.window();
    }
    QVERIFY(window.isNull());
}

QTEST_MAIN(TestFrmAbout)
#include "tst_frmabout.moc"
