#include "DrillFixture.h"
#include "widgets/FileListBox.h"

#include <QAccessible>
#include <QAccessibleActionInterface>
#include <QLabel>

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

/// What the window offers beyond the eyes and the mouse: the spoken word and the names a
/// screen reader reads.
class TestDrillAccess : public QObject
{
    Q_OBJECT

private slots:
    void cleanup();
    void speech();
    void screenReaderNames();

private:
    std::unique_ptr<DrillFixture> m_fixture;
};

void TestDrillAccess::cleanup()
{
    const QString left = dropFixture(m_fixture);
    QVERIFY2(left.isEmpty(), qPrintable(left));
}

void TestDrillAccess::speech()
{
    m_fixture = std::make_unique<DrillFixture>();
    FakeSpeech &speech = m_fixture->fakes.speech;
    speech.works = false;
    FrmMain &window = m_fixture->open();
    window.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&window));
    auto *word = window.findChild<QLabel *>(QStringLiteral("lbWord"));
    const auto clickThenCtrlR = [&] {
        QTest::mouseClick(word, Qt::LeftButton);
        window.wordList()->setFocus();
        QTest::keyClick(window.wordList(), Qt::Key_R, Qt::ControlModifier);
    };
    QCOMPARE(word->toolTip(), QString());

    // The engine loads after the window is up; no word is asked yet.
    speech.setWorks(true);
    QCOMPARE(word->toolTip(), QStringLiteral("点击朗读（Ctrl+R）"));
    clickThenCtrlR();
    QVERIFY(speech.said.isEmpty());

    // The question tells whether a word is asked, not the label's text.
    const QString ciyu = QStringLiteral("单词");
    m_fixture->addWords({{ciyu, QStringLiteral("一")}});
    QVERIFY(m_fixture->store->words().refresh());
    m_fixture->fakes.random.script(QList<float>(10, 0.0f));
    window.drill().askAnotherWord();
    clickThenCtrlR();
    QCOMPARE(speech.said, (QStringList{ciyu, ciyu}));

    // A new question cuts the old word off.
    const int stops = speech.stops;
    window.drill().askAnotherWord();
    QCOMPARE(speech.stops, stops + 1);

    // The audio device fails at say(): speech is no longer offered, and nothing is shown.
    speech.setWorks(false);
    QCOMPARE(word->toolTip(), QString());
    clickThenCtrlR();
    QCOMPARE(speech.said, (QStringList{ciyu, ciyu}));
}

void TestDrillAccess::screenReaderNames()
{
    // The name is the meaning itself, whatever the caption does with "&".
    const QStringList meanings = {QStringLiteral("R&D 研发"), QStringLiteral("&&")};
    m_fixture = std::make_unique<DrillFixture>();
    FrmMain &window = m_fixture->open();
    const auto name = [](QWidget *widget) { return QAccessible::queryAccessibleInterface(widget)->text(QAccessible::Name); };
    QCOMPARE(name(window.wordList()), QStringLiteral("单词列表"));
    QCOMPARE(name(window.answerButton(4)), QStringLiteral("4 D"));

    m_fixture->addWords({{QStringLiteral("a"), meanings.at(0)}, {QStringLiteral("b"), meanings.at(1)}});
    QVERIFY(m_fixture->store->words().refresh());
    // "a" asked, right on 2, distractors "b", "a", "b".
    m_fixture->fakes.random.script({0.0f, 0.25f, 0.9f, 0.0f, 0.9f});
    window.drill().askAnotherWord();
    const QStringList expected = {QStringLiteral("1 ") + meanings.at(1), QStringLiteral("2 ") + meanings.at(0),
                                  QStringLiteral("3 ") + meanings.at(0), QStringLiteral("4 ") + meanings.at(1)};
    for (int index = 1; index <= 4; ++index)
        QCOMPARE(name(window.answerButton(index)), expected.at(index - 1));
    QCOMPARE(name(window.findChild<QLabel *>(QStringLiteral("lbWord"))), QStringLiteral("a"));
    // The right meaning is on the buttons among the others, and nowhere else: no hidden
    // control tells which one it is.
    for (QAccessibleInterface *hidden : invisibleTree(QAccessible::queryAccessibleInterface(&window)))
        QVERIFY2(!hidden->text(QAccessible::Name).contains(meanings.at(0)), qPrintable(hidden->text(QAccessible::Name)));

    // The word list reads as a list of its words, the asked one selected.
    QAccessibleInterface *list = QAccessible::queryAccessibleInterface(window.wordList());
    QCOMPARE(list->childCount(), 2);
    QCOMPARE(list->child(1)->text(QAccessible::Name), QStringLiteral("b"));
    QVERIFY(list->child(0)->state().selected && !list->child(1)->state().selected);
    // Its items' own action selects a word, which asks it: "b" on 1, distractors "a", "a", "b".
    QVERIFY(list->child(1)->actionInterface());
    m_fixture->fakes.random.script({0.0f, 0.0f, 0.0f, 0.9f});
    list->child(1)->actionInterface()->doAction(QAccessibleActionInterface::toggleAction());
    QCOMPARE(window.drill().question().word, QStringLiteral("b"));
    QVERIFY(list->child(1)->state().selected);

    // No question (its entry vanished): the names go back with the captions.
    QVERIFY(QFile::remove(m_fixture->store->entryPath(QStringLiteral("b"))));
    m_fixture->fakes.random.script({0.9f});
    m_fixture->fakes.dialogs.answerNext(MessageAnswer::Ok);
    window.drill().askAnotherWord();
    QCOMPARE(name(window.answerButton(1)), QStringLiteral("1 A"));
    QCOMPARE(list->childCount(), 1);
    QCOMPARE(list->child(0)->text(QAccessible::Name), QStringLiteral("a"));
}

QTEST_MAIN(TestDrillAccess)
#include "tst_drillaccess.moc"
