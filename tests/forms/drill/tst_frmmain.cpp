#include "DrillFixture.h"
#include "widgets/ElidedLabel.h"
#include "widgets/FileListBox.h"

#include <QAccessible>
#include <QAccessibleActionInterface>
#include <QCheckBox>
#include <QLabel>
#include <QMenuBar>
#include <QPushButton>
#include <QScopeGuard>

using namespace mirvo;
using namespace mirvo::test;

namespace {

/// Every invisible node under node, as assistive technology can walk to it.
QList<QAccessibleInterface *> invisibleTree(QAccessibleInterface *node)
{
    QList<QAccessibleInterface *> found;
    for (int i = 0; node && i < node->childCount(); ++i) {
        QAccessibleInterface *child = node->child(i);
        if (child && child->state().invisible)
            found.append(child);
        found.append(invisibleTree(child));
    }
    return found;
}

} // namespace

class TestFrmMain : public QObject
{
    Q_OBJECT

private slots:
    void cleanup();
    void layout_data();
    void layout();
    void windowFrameAndFonts();
    void tabOrder();
    void menus_data();
    void menus();
    void emptyStoreLoad();
    void loadWithoutUpdateCheck();
    void loadAsksFirstQuestionFromScriptedDraws();
    void rightSlotAndDistractors_data();
    void rightSlotAndDistractors();
    void oneAndTwoWordStores_data();
    void oneAndTwoWordStores();
    void listSelectionBuildsThatWord_data();
    void listSelectionBuildsThatWord();
    void refreshLeavesTheQuestionAlone_data();
    void refreshLeavesTheQuestionAlone();
    void askedWordIsInView();
    void entryDeletedBehindTheProgramsBack_data();
    void entryDeletedBehindTheProgramsBack();
    void shiftAsksAnotherWord();
    void wordsAreShownAsPlainText();
    void captionsFromData_data();
    void captionsFromData();
    void panelTextIsDarkOnAnyTheme_data();
    void panelTextIsDarkOnAnyTheme();
    void speakWord_data();
    void speakWord();
    void speechComesAndGoes();
    void screenReaderNames_data();
    void screenReaderNames();

private:
    std::unique_ptr<DrillFixture> m_fixture;
};

void TestFrmMain::cleanup()
{
    if (m_fixture)
        QVERIFY2(m_fixture->problems().isEmpty(), qPrintable(m_fixture->problems()));
    m_fixture.reset();
    const QWidgetList windows = QApplication::topLevelWidgets();
    QVERIFY(std::none_of(windows.cbegin(), windows.cend(), [](const QWidget *w) { return w->isVisible(); }));
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
    QCOMPARE(window.centralWidget()->size(), QSize(684, 463));
    QCOMPARE(window.minimumSize(), window.maximumSize());
    QVERIFY(window.windowFlags() & Qt::WindowMinimizeButtonHint);
    QVERIFY(window.windowFlags() & Qt::WindowCloseButtonHint);
    QVERIFY(!(window.windowFlags() & Qt::WindowMaximizeButtonHint));
    QCOMPARE(window.centralWidget()->palette().color(QPalette::Window), QColor(192, 255, 192));
    QVERIFY(window.centralWidget()->autoFillBackground());
    QCOMPARE(QApplication::focusWidget() ? QApplication::focusWidget()->objectName() : window.focusWidget()->objectName(),
             QStringLiteral("cmdBuhui"));
    QVERIFY(!window.windowIcon().isNull());

    const QFont drill = window.cmdOption(1)->font();
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
        QVERIFY(!window.cmdOption(index)->isDefault());
        QVERIFY(!window.cmdOption(index)->autoDefault());
    }
}

void TestFrmMain::tabOrder()
{
    m_fixture = std::make_unique<DrillFixture>();
    m_fixture->addWords({{QStringLiteral("ant"), QStringLiteral("蚂蚁")}, {QStringLiteral("bee"), QStringLiteral("蜜蜂")}});
    m_fixture->fakes.random.script({0.0f, 0.9f, 0.9f, 0.1f, 0.6f});
    FrmMain &window = m_fixture->open();
    window.flWords()->select(0);
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
    QTest::addColumn<QKeySequence>("shortcut");
    QTest::newRow("DaoRu") << "DaoRu" << QStringLiteral("导入词库") << QKeySequence(QStringLiteral("Ctrl+L"));
    QTest::newRow("cikugeshishuoming") << "cikugeshishuoming" << QStringLiteral("词库格式说明") << QKeySequence(QStringLiteral("Ctrl+D"));
    QTest::newRow("zengshan") << "zengshan" << QStringLiteral("词汇管理") << QKeySequence(QStringLiteral("Ctrl+M"));
    QTest::newRow("fangwenwangzhan") << "fangwenwangzhan" << QStringLiteral("访问网站") << QKeySequence(QStringLiteral("Ctrl+B"));
    QTest::newRow("guanyu") << "guanyu" << QStringLiteral("关于") << QKeySequence(QStringLiteral("Ctrl+A"));
}

void TestFrmMain::menus()
{
    QFETCH(QString, name);
    QFETCH(QString, caption);
    QFETCH(QKeySequence, shortcut);
    m_fixture = std::make_unique<DrillFixture>();
    FrmMain &window = m_fixture->open();
    const QList<QAction *> menus = window.menuBar()->actions();
    QCOMPARE(menus.size(), 2);
    QCOMPARE(menus.at(0)->text(), QStringLiteral("文件"));
    QCOMPARE(menus.at(1)->text(), QStringLiteral("程序"));
    auto *action = window.findChild<QAction *>(name);
    QVERIFY(action);
    QCOMPARE(action->text(), caption);
    QCOMPARE(action->shortcut(), shortcut);
}

void TestFrmMain::emptyStoreLoad()
{
    m_fixture = std::make_unique<DrillFixture>();
    FrmMain &window = m_fixture->open();
    QCOMPARE(m_fixture->text("lbWord"), QStringLiteral("单词"));
    QCOMPARE(m_fixture->captions(), (QStringList{QStringLiteral("A"), QStringLiteral("B"), QStringLiteral("C"), QStringLiteral("D")}));
    QCOMPARE(m_fixture->text("Rema"), QStringLiteral("0"));
    QCOMPARE(m_fixture->store->words().count(), 0);
    QVERIFY(window.findChild<QCheckBox *>(QStringLiteral("ckDlt"))->isChecked());
    QCOMPARE(m_fixture->fakes.pageLoader.navigated,
             QStringList{QStringLiteral("http://mirvo.test/archiver/?tid-81.html")});
    // Another word on an empty store does nothing.
    window.cmdShift_Click();
    QCOMPARE(m_fixture->text("lbWord"), QStringLiteral("单词"));
}

void TestFrmMain::loadWithoutUpdateCheck()
{
    m_fixture = std::make_unique<DrillFixture>();
    m_fixture->open(UpdateCheckMode::Off);
    QCOMPARE(m_fixture->text("Label3"), QString());
    QCOMPARE(m_fixture->fakes.pageLoader.navigated, QStringList());
}

void TestFrmMain::loadAsksFirstQuestionFromScriptedDraws()
{
    m_fixture = std::make_unique<DrillFixture>();
    m_fixture->addWords({{QStringLiteral("apple"), QStringLiteral("苹果")}, {QStringLiteral("book"), QStringLiteral("书")},
                         {QStringLiteral("cat"), QStringLiteral("猫")}, {QStringLiteral("dog"), QStringLiteral("狗")},
                         {QStringLiteral("egg"), QStringLiteral("蛋")}});
    // Pick: 0.5 * 5 -> "cat". Build: right slot floor(0.3 * 4) + 1 = 2; distractors for 1, 3, 4.
    m_fixture->fakes.random.script({0.5f, 0.3f, 0.0f, 0.99f, 0.2f});
    m_fixture->open();
    QCOMPARE(m_fixture->text("lbWord"), QStringLiteral("cat"));
    QCOMPARE(m_fixture->window->question().meaning, QStringLiteral("猫"));
    QCOMPARE(m_fixture->text("Rema"), QStringLiteral("5"));
    QCOMPARE(m_fixture->captions(), (QStringList{QStringLiteral("苹果"), QStringLiteral("猫"), QStringLiteral("蛋"), QStringLiteral("书")}));
    QCOMPARE(m_fixture->fakes.random.reseeds, 2);
    QCOMPARE(m_fixture->store->words().nameAt(m_fixture->window->flWords()->selectedRow()), QStringLiteral("cat"));
}

void TestFrmMain::rightSlotAndDistractors_data()
{
    QTest::addColumn<float>("slotDraw");
    QTest::addColumn<int>("rightSlot");
    QTest::newRow("0 -> 1") << 0.0f << 1;
    QTest::newRow("0.2499 -> 1") << 0.2499f << 1;
    QTest::newRow("0.25 -> 2") << 0.25f << 2;
    QTest::newRow("0.5 -> 3") << 0.5f << 3;
    QTest::newRow("0.75 -> 4") << 0.75f << 4;
    QTest::newRow("largest float below 1 -> 4") << std::nextafter(1.0f, 0.0f) << 4;
}

void TestFrmMain::rightSlotAndDistractors()
{
    QFETCH(float, slotDraw);
    QFETCH(int, rightSlot);
    m_fixture = std::make_unique<DrillFixture>();
    m_fixture->addWords({{QStringLiteral("a"), QStringLiteral("一")}, {QStringLiteral("b"), QStringLiteral("二")},
                         {QStringLiteral("c"), QStringLiteral("三")}});
    // Pick "a"; every distractor is "c" (the largest float below 1 times 3 is below 3).
    m_fixture->fakes.random.script({0.0f, slotDraw, std::nextafter(1.0f, 0.0f), std::nextafter(1.0f, 0.0f),
                                    std::nextafter(1.0f, 0.0f)});
    m_fixture->open();
    for (int index = 1; index <= 4; ++index)
        QCOMPARE(m_fixture->window->cmdOption(index)->text(), index == rightSlot ? QStringLiteral("一") : QStringLiteral("三"));
}

void TestFrmMain::oneAndTwoWordStores_data()
{
    QTest::addColumn<int>("words");
    QTest::newRow("one word") << 1;
    QTest::newRow("two words") << 2;
}

void TestFrmMain::oneAndTwoWordStores()
{
    QFETCH(int, words);
    m_fixture = std::make_unique<DrillFixture>();
    m_fixture->addWords({{QStringLiteral("a"), QStringLiteral("一")}});
    if (words == 2)
        m_fixture->addWords({{QStringLiteral("b"), QStringLiteral("二")}});
    m_fixture->fakes.random.script({0.0f, 0.9f, 0.9f, 0.1f, 0.6f});
    m_fixture->open();
    const QStringList captions = m_fixture->captions();
    QCOMPARE(captions.at(3), QStringLiteral("一"));
    const QStringList meanings = words == 1 ? QStringList{QStringLiteral("一")} : QStringList{QStringLiteral("一"), QStringLiteral("二")};
    for (const QString &caption : captions)
        QVERIFY(meanings.contains(caption));
    if (words == 1)
        QCOMPARE(captions, QStringList(4, QStringLiteral("一")));
}

void TestFrmMain::listSelectionBuildsThatWord_data()
{
    QTest::addColumn<int>("clickRow");  // -1: none
    QTest::addColumn<int>("dragToRow"); // pressed on the selected row 0, dragged down to it; -1: none
    QTest::addColumn<QList<int>>("keys");
    QTest::addColumn<QString>("word");
    QTest::addColumn<int>("builds");
    QTest::newRow("click") << 2 << -1 << QList<int>{} << QStringLiteral("c") << 1;
    // A click always asks its word: after a failed question the word must be askable again.
    QTest::newRow("click on the selected word") << 0 << -1 << QList<int>{} << QStringLiteral("a") << 1;
    QTest::newRow("drag over three words") << -1 << 3 << QList<int>{} << QStringLiteral("d") << 3;
    QTest::newRow("arrow down") << -1 << -1 << QList<int>{Qt::Key_Down} << QStringLiteral("b") << 1;
    QTest::newRow("arrow up at the top") << -1 << -1 << QList<int>{Qt::Key_Up} << QStringLiteral("a") << 0;
    QTest::newRow("End, then Home") << -1 << -1 << QList<int>{Qt::Key_End, Qt::Key_Home} << QStringLiteral("a") << 2;
    QTest::newRow("page down") << -1 << -1 << QList<int>{Qt::Key_PageDown} << QStringLiteral("e") << 1;
    QTest::newRow("type-ahead") << -1 << -1 << QList<int>{Qt::Key_D} << QStringLiteral("d") << 1;
}

void TestFrmMain::listSelectionBuildsThatWord()
{
    QFETCH(int, clickRow);
    QFETCH(int, dragToRow);
    QFETCH(QList<int>, keys);
    QFETCH(QString, word);
    QFETCH(int, builds);
    m_fixture = std::make_unique<DrillFixture>();
    m_fixture->addWords({{QStringLiteral("a"), QStringLiteral("一")}, {QStringLiteral("b"), QStringLiteral("二")},
                         {QStringLiteral("c"), QStringLiteral("三")}, {QStringLiteral("d"), QStringLiteral("四")},
                         {QStringLiteral("e"), QStringLiteral("五")}});
    m_fixture->fakes.random.script({0.0f, 0.0f, 0.0f, 0.0f, 0.0f});
    FrmMain &window = m_fixture->open();
    QCOMPARE(m_fixture->text("lbWord"), QStringLiteral("a"));
    const int reseeds = m_fixture->fakes.random.reseeds;

    // Each build reseeds once and draws the right slot and three distractors (all "a").
    m_fixture->fakes.random.script(QList<float>(4 * builds, 0.0f));
    FileListBox *list = window.flWords();
    const auto rowCentre = [list](int row) { return list->visualRect(list->model()->index(row, 0)).center(); };
    if (clickRow >= 0)
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, rowCentre(clickRow));
    if (dragToRow >= 0) {
        QTest::mousePress(list->viewport(), Qt::LeftButton, {}, rowCentre(0));
        for (int row = 1; row <= dragToRow; ++row) {
            QMouseEvent move(QEvent::MouseMove, rowCentre(row), list->viewport()->mapToGlobal(rowCentre(row)),
                             Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
            QApplication::sendEvent(list->viewport(), &move);
        }
        QTest::mouseRelease(list->viewport(), Qt::LeftButton, {}, rowCentre(dragToRow));
    }
    list->setFocus();
    for (int key : keys)
        QTest::keyClick(list, Qt::Key(key));

    QCOMPARE(m_fixture->store->words().nameAt(list->selectedRow()), word);
    QCOMPARE(m_fixture->text("lbWord"), word);
    QCOMPARE(m_fixture->fakes.random.reseeds - reseeds, builds);
    QCOMPARE(m_fixture->text("Rema"), QStringLiteral("5"));
    QCOMPARE(window.question().word, word);
    QCOMPARE(window.cmdOption(1)->text(), window.question().meaning);
}

void TestFrmMain::refreshLeavesTheQuestionAlone_data()
{
    QTest::addColumn<QString>("gone");     // deleted behind the program's back
    QTest::addColumn<QString>("selected"); // in the list after a refresh; empty: none
    QTest::newRow("a word before the asked one") << QStringLiteral("a") << QStringLiteral("c");
    QTest::newRow("the asked word") << QStringLiteral("c") << QString();
}

void TestFrmMain::refreshLeavesTheQuestionAlone()
{
    QFETCH(QString, gone);
    QFETCH(QString, selected);
    m_fixture = std::make_unique<DrillFixture>();
    m_fixture->addWords({{QStringLiteral("a"), QStringLiteral("一")}, {QStringLiteral("b"), QStringLiteral("二")},
                         {QStringLiteral("c"), QStringLiteral("三")}, {QStringLiteral("d"), QStringLiteral("四")}});
    m_fixture->fakes.random.script({0.5f, 0.0f, 0.0f, 0.0f, 0.0f});
    FrmMain &window = m_fixture->open();
    QCOMPARE(window.question().word, QStringLiteral("c"));
    const int reseeds = m_fixture->fakes.random.reseeds;

    // A refresh is no choice of the user: it asks nothing, and never moves to a neighbour.
    QVERIFY(m_fixture->store->deleteEntry(gone, nullptr));
    QVERIFY(m_fixture->store->words().refresh());
    const int row = window.flWords()->selectedRow();
    QCOMPARE(row < 0 ? QString() : m_fixture->store->words().nameAt(row), selected);
    QCOMPARE(m_fixture->fakes.random.reseeds, reseeds);
    QCOMPARE(window.question().word, QStringLiteral("c"));
}

void TestFrmMain::askedWordIsInView()
{
    m_fixture = std::make_unique<DrillFixture>();
    for (int i = 0; i < 100; ++i)
        m_fixture->addWords({{QStringLiteral("w%1").arg(i, 3, 10, QLatin1Char('0')), QStringLiteral("x")}});
    // Picked while the window loads, before the list is laid out.
    m_fixture->fakes.random.script({0.805f, 0.0f, 0.0f, 0.0f, 0.0f});
    FrmMain &window = m_fixture->open();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    FileListBox *list = window.flWords();
    QCOMPARE(list->selectedRow(), 80);
    QVERIFY(list->viewport()->rect().contains(list->visualRect(list->model()->index(80, 0))));
}

void TestFrmMain::entryDeletedBehindTheProgramsBack_data()
{
    QTest::addColumn<QList<float>>("draws");
    // Pick "b", which is gone.
    QTest::newRow("the asked word") << QList<float>{0.9f};
    // Pick "a", right slot 1, then "b" for button 2 ("a" for buttons 3 and 4).
    QTest::newRow("a distractor") << QList<float>{0.0f, 0.0f, 0.9f, 0.0f, 0.0f};
}

void TestFrmMain::entryDeletedBehindTheProgramsBack()
{
    m_fixture = std::make_unique<DrillFixture>();
    m_fixture->addWords({{QStringLiteral("a"), QStringLiteral("一")}, {QStringLiteral("b"), QStringLiteral("二")}});
    QFETCH(QList<float>, draws);
    m_fixture->fakes.random.script({0.0f, 0.0f, 0.0f, 0.0f, 0.0f});
    FrmMain &window = m_fixture->open();
    QVERIFY(QFile::remove(m_fixture->store->entryPath(QStringLiteral("b"))));

    // The user is told, and the listing and its count show the disk again.
    m_fixture->fakes.random.script(draws);
    m_fixture->fakes.dialogs.answerNext(MessageAnswer::Ok);
    window.cmdShift_Click();
    QCOMPARE(m_fixture->fakes.dialogs.shown.size(), 1);
    QVERIFY(m_fixture->fakes.dialogs.shown.at(0).text.contains(QStringLiteral("“b”")));
    QCOMPARE(m_fixture->store->words().count(), 1);
    QCOMPARE(m_fixture->text("Rema"), QStringLiteral("1"));
    // No half question: no meaning may be judged against another word.
    QCOMPARE(m_fixture->text("lbWord"), QStringLiteral("单词"));
    for (int slot = 1; slot <= 4; ++slot)
        QVERIFY(!window.question().isRight(slot));
    QCOMPARE(m_fixture->captions(), (QStringList{QStringLiteral("A"), QStringLiteral("B"), QStringLiteral("C"), QStringLiteral("D")}));

    m_fixture->fakes.random.script({0.9f, 0.0f, 0.0f, 0.0f, 0.0f});
    window.cmdShift_Click();
    QCOMPARE(m_fixture->text("lbWord"), QStringLiteral("a"));
}

void TestFrmMain::shiftAsksAnotherWord()
{
    m_fixture = std::make_unique<DrillFixture>();
    m_fixture->addWords({{QStringLiteral("a"), QStringLiteral("一")}, {QStringLiteral("b"), QStringLiteral("二")}});
    m_fixture->fakes.random.script({0.0f, 0.0f, 0.0f, 0.0f, 0.0f});
    FrmMain &window = m_fixture->open();
    m_fixture->fakes.random.script({0.6f, 0.0f, 0.0f, 0.0f, 0.0f});
    QTest::mouseClick(window.findChild<QPushButton *>(QStringLiteral("cmdShift")), Qt::LeftButton);
    QCOMPARE(m_fixture->text("lbWord"), QStringLiteral("b"));
    QCOMPARE(m_fixture->fakes.random.reseeds, 4);
}

void TestFrmMain::wordsAreShownAsPlainText()
{
    m_fixture = std::make_unique<DrillFixture>();
    m_fixture->addWords({{QStringLiteral("&lt;b&gt;x"), QStringLiteral("<i>斜</i> &amp;")}});
    m_fixture->fakes.random.script({0.0f, 0.0f, 0.0f, 0.0f, 0.0f});
    FrmMain &window = m_fixture->open();
    for (const char *name : {"lbWord", "lbYiSi", "Label3", "lbBanBen", "Rema"})
        QCOMPARE(window.findChild<QLabel *>(QLatin1String(name))->textFormat(), Qt::PlainText);
    QCOMPARE(m_fixture->text("lbWord"), QStringLiteral("&lt;b&gt;x"));
    QCOMPARE(window.cmdOption(1)->text(), QStringLiteral("<i>斜</i> &&amp;"));
}

void TestFrmMain::captionsFromData_data()
{
    QTest::addColumn<QString>("word");
    QTest::addColumn<QString>("meaning");
    QTest::addColumn<bool>("cut");
    QTest::addColumn<bool>("wordCut");
    QTest::addColumn<int>("altKey"); // the access key a lone "&" would make; 0: none to try
    const QString longMeaning = QStringLiteral("n. 一种很长很长的释义，").repeated(6) + QStringLiteral("到此为止");
    QTest::newRow("plain") << QStringLiteral("apple") << QStringLiteral("n. 苹果") << false << false << 0;
    QTest::newRow("ampersand") << QStringLiteral("trial") << QStringLiteral("n. & v. 试验") << false << false << 0;
    QTest::newRow("ampersand before a letter") << QStringLiteral("x") << QStringLiteral("a&b 甲乙") << false << false << int(Qt::Key_B);
    QTest::newRow("ampersand in the word") << QStringLiteral("R&D") << QStringLiteral("研发") << false << false << int(Qt::Key_D);
    QTest::newRow("long meaning") << QStringLiteral("long") << longMeaning << true << false << 0;
    QTest::newRow("long meaning of ampersands") << QStringLiteral("amp") << QStringLiteral("&&&&&&&&&&").repeated(30) << true << false << 0;
    QTest::newRow("long word") << QStringLiteral("pneumonoultramicroscopicsilicovolcanoconiosis") << QStringLiteral("矽肺病") << false << true << 0;
}

void TestFrmMain::captionsFromData()
{
    QFETCH(QString, word);
    QFETCH(QString, meaning);
    QFETCH(bool, cut);
    QFETCH(bool, wordCut);
    QFETCH(int, altKey);
    m_fixture = std::make_unique<DrillFixture>();
    m_fixture->addWords({{word, meaning}});
    m_fixture->fakes.random.script({0.0f, 0.0f, 0.0f, 0.0f, 0.0f});
    FrmMain &window = m_fixture->open();
    window.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&window));

    for (int index = 1; index <= 4; ++index) {
        QPushButton *button = window.cmdOption(index);
        QVERIFY(button->shortcut().isEmpty());
        QVERIFY2(!QString(button->text()).remove(QStringLiteral("&&")).contains(QLatin1Char('&')),
                 qPrintable(button->text()));
        const QString shown = QString(button->text()).replace(QStringLiteral("&&"), QStringLiteral("&"));
        QCOMPARE(button->toolTip(), cut ? meaning : QString());
        QCOMPARE(button->font().pointSizeF(), 14.25);
        if (!cut) {
            QCOMPARE(shown, meaning);
            continue;
        }
        // The beginning, "…" where it is cut, and within the button.
        QVERIFY2(shown.endsWith(QChar(0x2026)), qPrintable(shown));
        QVERIFY(meaning.startsWith(shown.chopped(1)));
        QVERIFY(shown.size() > 1);
        QVERIFY(button->fontMetrics().horizontalAdvance(shown) < button->width());
    }
    auto *lbWord = window.findChild<ElidedLabel *>(QStringLiteral("lbWord"));
    QCOMPARE(lbWord->text(), word);
    // The whole word where it is cut, above how to hear it (the fake voice works).
    const QString speechTip = QStringLiteral("点击朗读（Ctrl+R）");
    QCOMPARE(lbWord->toolTip(), wordCut ? word + QLatin1Char('\n') + speechTip : speechTip);
    QCOMPARE(lbWord->shownText().endsWith(QChar(0x2026)), wordCut);
    QVERIFY(lbWord->fontMetrics().horizontalAdvance(lbWord->shownText()) <= lbWord->contentsRect().width());
    QCOMPARE(lbWord->font().pointSizeF(), 42.0);

    // No access key answers; the meaning itself is judged, whatever the button shows.
    if (altKey != 0)
        QTest::keyClick(&window, Qt::Key(altKey), Qt::AltModifier);
    QVERIFY(m_fixture->fakes.dialogs.shown.isEmpty());
    window.findChild<QCheckBox *>(QStringLiteral("ckDlt"))->setChecked(false);
    m_fixture->fakes.dialogs.answerNext(MessageAnswer::Ok);
    m_fixture->fakes.random.script({0.0f, 0.0f, 0.0f, 0.0f, 0.0f});
    QTest::mouseClick(window.cmdOption(2), Qt::LeftButton);
    QCOMPARE(m_fixture->fakes.dialogs.shownTexts(), QStringList{QStringLiteral("恭喜！正确。")});
}

void TestFrmMain::panelTextIsDarkOnAnyTheme_data()
{
    QTest::addColumn<bool>("darkTheme");
    QTest::newRow("light theme") << false;
    QTest::newRow("dark theme") << true;
}

void TestFrmMain::panelTextIsDarkOnAnyTheme()
{
    QFETCH(bool, darkTheme);
    const QPalette original = QApplication::palette();
    QPalette theme = original;
    if (darkTheme) {
        for (auto role : {QPalette::Window, QPalette::Base, QPalette::Button})
            theme.setColor(role, QColor(40, 40, 40));
        for (auto role : {QPalette::WindowText, QPalette::Text, QPalette::ButtonText})
            theme.setColor(role, QColor(240, 240, 240));
    }
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
    QCOMPARE(window.flWords()->palette().color(QPalette::Base), theme.color(QPalette::Base));
    QCOMPARE(window.cmdOption(1)->palette().color(QPalette::ButtonText), theme.color(QPalette::ButtonText));
}

void TestFrmMain::speakWord_data()
{
    QTest::addColumn<bool>("works");
    QTest::addColumn<QString>("word"); // asked first; empty: no word, no question
    QTest::addColumn<QString>("tip");
    QTest::addColumn<QStringList>("said"); // after a click on the word, then Ctrl+R
    const QString tip = QStringLiteral("点击朗读（Ctrl+R）");
    const QString apple = QStringLiteral("apple");
    QTest::newRow("speech works") << true << apple << tip << QStringList{apple, apple};
    QTest::newRow("before the first question") << true << QString() << tip << QStringList();
    QTest::newRow("no engine or voice") << false << apple << QString() << QStringList();
    // The question tells whether a word is asked, not the label's text.
    const QString ciyu = QStringLiteral("单词");
    QTest::newRow("a word that reads 单词") << true << ciyu << tip << QStringList{ciyu, ciyu};
}

void TestFrmMain::speakWord()
{
    QFETCH(bool, works);
    QFETCH(QString, word);
    QFETCH(QString, tip);
    QFETCH(QStringList, said);
    m_fixture = std::make_unique<DrillFixture>();
    m_fixture->fakes.speech.works = works;
    if (!word.isEmpty()) {
        m_fixture->addWords({{word, QStringLiteral("苹果")}});
        m_fixture->fakes.random.script({0.0f, 0.0f, 0.0f, 0.0f, 0.0f});
    }
    FrmMain &window = m_fixture->open();
    window.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&window));
    auto *lbWord = window.findChild<QLabel *>(QStringLiteral("lbWord"));
    QCOMPARE(lbWord->toolTip(), tip);

    QTest::mouseClick(lbWord, Qt::LeftButton);
    window.flWords()->setFocus();
    QTest::keyClick(window.flWords(), Qt::Key_R, Qt::ControlModifier);
    QCOMPARE(m_fixture->fakes.speech.said, said);
    QVERIFY(m_fixture->fakes.dialogs.shown.isEmpty());
}

void TestFrmMain::speechComesAndGoes()
{
    m_fixture = std::make_unique<DrillFixture>();
    FakeSpeech &speech = m_fixture->fakes.speech;
    speech.works = false;
    m_fixture->addWords({{QStringLiteral("a"), QStringLiteral("一")}, {QStringLiteral("b"), QStringLiteral("二")}});
    m_fixture->fakes.random.script({0.0f, 0.0f, 0.0f, 0.0f, 0.0f});
    FrmMain &window = m_fixture->open();
    auto *word = window.findChild<QLabel *>(QStringLiteral("lbWord"));
    QCOMPARE(word->toolTip(), QString());

    // The engine loads after the window is up.
    speech.setWorks(true);
    QCOMPARE(word->toolTip(), QStringLiteral("点击朗读（Ctrl+R）"));
    window.lbWord_Click();
    QCOMPARE(speech.said, QStringList{QStringLiteral("a")});

    // A new question cuts the old word off.
    const int stops = speech.stops;
    m_fixture->fakes.random.script({0.9f, 0.0f, 0.0f, 0.0f, 0.0f});
    window.cmdShift_Click();
    QCOMPARE(speech.stops, stops + 1);

    // The audio device fails at say(): speech is no longer offered, and nothing is shown.
    speech.setWorks(false);
    QCOMPARE(word->toolTip(), QString());
    window.lbWord_Click();
    QCOMPARE(speech.said, QStringList{QStringLiteral("a")});
}

void TestFrmMain::screenReaderNames_data()
{
    QTest::addColumn<QStringList>("meanings"); // of the words a and b
    QTest::newRow("plain meanings") << QStringList{QStringLiteral("石英"), QStringLiteral("研发")};
    // The name is the meaning itself, whatever the caption does with "&".
    QTest::newRow("meanings with &") << QStringList{QStringLiteral("R&D 研发"), QStringLiteral("&&")};
}

void TestFrmMain::screenReaderNames()
{
    QFETCH(QStringList, meanings);
    m_fixture = std::make_unique<DrillFixture>();
    FrmMain &window = m_fixture->open();
    const auto name = [](QWidget *widget) { return QAccessible::queryAccessibleInterface(widget)->text(QAccessible::Name); };
    QCOMPARE(name(window.flWords()), QStringLiteral("单词列表"));
    QCOMPARE(name(window.cmdOption(4)), QStringLiteral("4 D"));

    m_fixture->addWords({{QStringLiteral("a"), meanings.at(0)}, {QStringLiteral("b"), meanings.at(1)}});
    QVERIFY(m_fixture->store->words().refresh());
    // "a" asked, right on 2, distractors "b", "a", "b".
    m_fixture->fakes.random.script({0.0f, 0.25f, 0.9f, 0.0f, 0.9f});
    window.cmdShift_Click();
    const QStringList expected = {QStringLiteral("1 ") + meanings.at(1), QStringLiteral("2 ") + meanings.at(0),
                                  QStringLiteral("3 ") + meanings.at(0), QStringLiteral("4 ") + meanings.at(1)};
    for (int index = 1; index <= 4; ++index)
        QCOMPARE(name(window.cmdOption(index)), expected.at(index - 1));
    QCOMPARE(name(window.findChild<QLabel *>(QStringLiteral("lbWord"))), QStringLiteral("a"));
    // The right meaning is on the buttons among the others, and nowhere else: no hidden
    // control tells which one it is.
    for (QAccessibleInterface *hidden : invisibleTree(QAccessible::queryAccessibleInterface(&window)))
        QVERIFY2(!hidden->text(QAccessible::Name).contains(meanings.at(0)), qPrintable(hidden->text(QAccessible::Name)));

    // The word list reads as a list of its words, the asked one selected and, with the
    // focus, current.
    QAccessibleInterface *list = QAccessible::queryAccessibleInterface(window.flWords());
    QCOMPARE(list->role(), QAccessible::List);
    QCOMPARE(list->childCount(), 2);
    QCOMPARE(list->child(1)->role(), QAccessible::ListItem);
    QCOMPARE(list->child(1)->text(QAccessible::Name), QStringLiteral("b"));
    QCOMPARE(list->indexOfChild(list->child(1)), 1);
    QVERIFY(list->child(0)->state().selected && !list->child(1)->state().selected);
    QVERIFY(QTest::qWaitForWindowActive(&window));
    window.flWords()->setFocus();
    QCOMPARE(list->focusChild(), list->child(0));
    QVERIFY(list->child(0)->state().focused);
    // Its items' own action selects a word, which asks it: "b" on 1, distractors "a", "a", "b".
    QVERIFY(list->child(1)->actionInterface());
    m_fixture->fakes.random.script({0.0f, 0.0f, 0.0f, 0.9f});
    list->child(1)->actionInterface()->doAction(QAccessibleActionInterface::toggleAction());
    QCOMPARE(window.question().word, QStringLiteral("b"));
    QVERIFY(list->child(1)->state().selected);

    // No question (its entry vanished): the names go back with the captions.
    QVERIFY(QFile::remove(m_fixture->store->entryPath(QStringLiteral("b"))));
    m_fixture->fakes.random.script({0.9f});
    m_fixture->fakes.dialogs.answerNext(MessageAnswer::Ok);
    window.cmdShift_Click();
    QCOMPARE(name(window.cmdOption(1)), QStringLiteral("1 A"));
    QCOMPARE(list->childCount(), 1);
    QCOMPARE(list->child(0)->text(QAccessible::Name), QStringLiteral("a"));
}

QTEST_MAIN(TestFrmMain)
#include "tst_frmmain.moc"
