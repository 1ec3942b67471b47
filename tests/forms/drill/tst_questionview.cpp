#include "DrillFixture.h"
#include "widgets/ElidedLabel.h"
#include "widgets/FileListBox.h"

#include <QLabel>
#include <QPushButton>

using namespace mirvo;
using namespace mirvo::test;

/// What the window shows of the drill's question, and how its list chooses the word.
class TestQuestionView : public QObject
{
    Q_OBJECT

private slots:
    void cleanup();
    void listSelectionBuildsThatWord_data();
    void listSelectionBuildsThatWord();
    void refreshLeavesTheQuestionAlone_data();
    void refreshLeavesTheQuestionAlone();
    void askedWordIsInView();
    void captionsFromData_data();
    void captionsFromData();

private:
    std::unique_ptr<DrillFixture> m_fixture;
};

void TestQuestionView::cleanup()
{
    const QString left = dropFixture(m_fixture);
    QVERIFY2(left.isEmpty(), qPrintable(left));
}

void TestQuestionView::listSelectionBuildsThatWord_data()
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
}

void TestQuestionView::listSelectionBuildsThatWord()
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
    FileListBox *list = window.wordList();
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
    QCOMPARE(window.drill().question().word, word);
    QCOMPARE(window.answerButton(1)->text(), window.drill().question().meaning);
}

void TestQuestionView::refreshLeavesTheQuestionAlone_data()
{
    QTest::addColumn<QString>("gone");     // deleted behind the program's back
    QTest::addColumn<QString>("selected"); // in the list after a refresh; empty: none
    QTest::newRow("a word before the asked one") << QStringLiteral("a") << QStringLiteral("c");
    QTest::newRow("the asked word") << QStringLiteral("c") << QString();
}

void TestQuestionView::refreshLeavesTheQuestionAlone()
{
    QFETCH(QString, gone);
    QFETCH(QString, selected);
    m_fixture = std::make_unique<DrillFixture>();
    m_fixture->addWords({{QStringLiteral("a"), QStringLiteral("一")}, {QStringLiteral("b"), QStringLiteral("二")},
                         {QStringLiteral("c"), QStringLiteral("三")}, {QStringLiteral("d"), QStringLiteral("四")}});
    m_fixture->fakes.random.script({0.5f, 0.0f, 0.0f, 0.0f, 0.0f});
    FrmMain &window = m_fixture->open();
    QCOMPARE(window.drill().question().word, QStringLiteral("c"));
    const int reseeds = m_fixture->fakes.random.reseeds;

    // A refresh is no choice of the user: it asks nothing, and never moves to a neighbour.
    QVERIFY(m_fixture->store->deleteEntry(gone, nullptr));
    QVERIFY(m_fixture->store->words().refresh());
    const int row = window.wordList()->selectedRow();
    QCOMPARE(row < 0 ? QString() : m_fixture->store->words().nameAt(row), selected);
    QCOMPARE(m_fixture->fakes.random.reseeds, reseeds);
    QCOMPARE(window.drill().question().word, QStringLiteral("c"));
}

void TestQuestionView::askedWordIsInView()
{
    m_fixture = std::make_unique<DrillFixture>();
    for (int i = 0; i < 100; ++i)
        m_fixture->addWords({{QStringLiteral("w%1").arg(i, 3, 10, QLatin1Char('0')), QStringLiteral("x")}});
    // Picked while the window loads, before the list is laid out.
    m_fixture->fakes.random.script({0.805f, 0.0f, 0.0f, 0.0f, 0.0f});
    FrmMain &window = m_fixture->open();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    FileListBox *list = window.wordList();
    QCOMPARE(list->selectedRow(), 80);
    QVERIFY(list->viewport()->rect().contains(list->visualRect(list->model()->index(80, 0))));
}

void TestQuestionView::captionsFromData_data()
{
    QTest::addColumn<QString>("word");
    QTest::addColumn<QString>("meaning");
    QTest::addColumn<bool>("cut");
    QTest::addColumn<bool>("wordCut");
    const QString longMeaning = QStringLiteral("n. 一种很长很长的释义，").repeated(6) + QStringLiteral("到此为止");
    QTest::newRow("plain") << QStringLiteral("apple") << QStringLiteral("n. 苹果") << false << false;
    QTest::newRow("ampersand before a letter") << QStringLiteral("x") << QStringLiteral("a&b 甲乙") << false << false;
    QTest::newRow("ampersand in the word") << QStringLiteral("R&D") << QStringLiteral("研发") << false << false;
    // A word names a file: no "<" on Windows, but an entity.
    QTest::newRow("markup") << QStringLiteral("&lt;") << QStringLiteral("<i>斜</i> &amp;") << false << false;
    QTest::newRow("long meaning") << QStringLiteral("long") << longMeaning << true << false;
    QTest::newRow("long meaning of ampersands") << QStringLiteral("amp") << QStringLiteral("&&&&&&&&&&").repeated(30) << true << false;
    QTest::newRow("long word") << QStringLiteral("pneumonoultramicroscopicsilicovolcanoconiosis") << QStringLiteral("矽肺病") << false << true;
}

void TestQuestionView::captionsFromData()
{
    QFETCH(QString, word);
    QFETCH(QString, meaning);
    QFETCH(bool, cut);
    QFETCH(bool, wordCut);
    m_fixture = std::make_unique<DrillFixture>();
    m_fixture->addWords({{word, meaning}});
    m_fixture->fakes.random.script({0.0f, 0.0f, 0.0f, 0.0f, 0.0f});
    FrmMain &window = m_fixture->open();
    window.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&window));

    for (int index = 1; index <= 4; ++index) {
        QPushButton *button = window.answerButton(index);
        QVERIFY(button->shortcut().isEmpty());
        QVERIFY2(!QString(button->text()).remove(QStringLiteral("&&")).contains(QLatin1Char('&')),
                 qPrintable(button->text()));
        const QString shown = QString(button->text()).replace(QStringLiteral("&&"), QStringLiteral("&"));
        QCOMPARE(button->toolTip(), cut ? meaning : QString());
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
    // Text from files is data, never markup.
    for (const char *name : {"lbWord", "lbYiSi", "Label3", "lbBanBen", "Rema"})
        QCOMPARE(window.findChild<QLabel *>(QLatin1String(name))->textFormat(), Qt::PlainText);
    auto *lbWord = window.findChild<ElidedLabel *>(QStringLiteral("lbWord"));
    QCOMPARE(lbWord->text(), word);
    // The whole word where it is cut, above how to hear it (the fake voice works).
    const QString speechTip = QStringLiteral("点击朗读（Ctrl+R）");
    QCOMPARE(lbWord->toolTip(), wordCut ? word + QLatin1Char('\n') + speechTip : speechTip);
    QCOMPARE(lbWord->shownText().endsWith(QChar(0x2026)), wordCut);
    QVERIFY(lbWord->fontMetrics().horizontalAdvance(lbWord->shownText()) <= lbWord->contentsRect().width());
}

QTEST_MAIN(TestQuestionView)
#include "tst_questionview.moc"
