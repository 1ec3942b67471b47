#include "platform/QtDialogs.h"

#include <QProgressDialog>
#include <QPushButton>
#include <QTest>

using namespace mirvo;

class TestQtDialogs : public QObject
{
    Q_OBJECT

private slots:
    void progress_data();
    void progress();
};

void TestQtDialogs::progress_data()
{
    QTest::addColumn<int>("pauseMs"); // before the second step: past the pause between updates
    QTest::addColumn<int>("key");     // then pressed; 0: a click on the cancel button, -1: nothing
    QTest::addColumn<bool>("cancels");
    QTest::newRow("quick: never shown") << 60 << -1 << false;
    QTest::newRow("cancel button") << 600 << 0 << true;
    QTest::newRow("Escape") << 600 << int(Qt::Key_Escape) << true;
    QTest::newRow("Enter, as for the message before") << 600 << int(Qt::Key_Return) << false;
}

void TestQtDialogs::progress()
{
    QFETCH(int, pauseMs);
    QFETCH(int, key);
    QFETCH(bool, cancels);
    QWidget window;
    window.show();
    QtDialogs dialogs;
    const std::unique_ptr<Progress> progress =
        dialogs.progress(&window, QStringLiteral("Mirvo背单词"), QStringLiteral("正在导入词库……\n%1 / %2"), 1000);
    QVERIFY(progress->advance(0));
    auto *dialog = window.findChild<QProgressDialog *>();
    QVERIFY(!dialog->isVisible());
    QTest::qSleep(pauseMs);
    QVERIFY(progress->advance(pauseMs < 500 ? 999 : 123)); // nearly done it looks quick
    QCOMPARE(dialog->isVisible(), key >= 0);
    if (key < 0)
        return;

    QCOMPARE(dialog->windowTitle(), QStringLiteral("Mirvo背单词"));
    QCOMPARE(dialog->labelText(), QStringLiteral("正在导入词库……\n123 / 1000"));
    QCOMPARE(dialog->windowModality(), Qt::ApplicationModal);
    auto *cancel = dialog->findChild<QPushButton *>();
    QCOMPARE(cancel->text(), QStringLiteral("取消"));
    QVERIFY(QTest::qWaitForWindowActive(dialog));
    if (key == 0)
        QTest::mouseClick(cancel, Qt::LeftButton);
    else
        QTest::keyClick(cancel, Qt::Key(key));
    QCOMPARE(progress->advance(124), !cancels);
    QCOMPARE(dialog->isVisible(), !cancels);
}

QTEST_MAIN(TestQtDialogs)
#include "tst_qtdialogs.moc"
