#include "platform/QtDialogs.h"

#include <QApplication>
#include <QProgressDialog>
#include <QPushButton>
#include <QTest>

using namespace mirvo;

namespace {
const QString title = QStringLiteral("Mirvo背单词");
const QString label = QStringLiteral("正在导入词库……\n已完成 %1 / %2 行");
} // namespace

class TestQtDialogs : public QObject
{
    Q_OBJECT

private slots:
    void cleanup();
    void quickProgressShowsNothing();
    void longProgressShowsAndCancels_data();
    void longProgressShowsAndCancels();
};

void TestQtDialogs::cleanup()
{
    QTRY_VERIFY(QApplication::topLevelWidgets().isEmpty());
}

void TestQtDialogs::quickProgressShowsNothing()
{
    QtDialogs dialogs;
    const std::unique_ptr<Progress> progress = dialogs.progress(nullptr, title, label, 1000);
    QVERIFY(progress->advance(0));
    // Past the pause between updates, the task is nearly done: it looks quick.
    QTest::qSleep(60);
    QVERIFY(progress->advance(999));
    for (const QWidget *widget : QApplication::topLevelWidgets())
        QVERIFY(!widget->isVisible());
}

void TestQtDialogs::longProgressShowsAndCancels_data()
{
    QTest::addColumn<int>("key"); // 0: a click on the cancel button
    QTest::addColumn<bool>("cancels");
    QTest::newRow("cancel button") << 0 << true;
    QTest::newRow("Escape") << int(Qt::Key_Escape) << true;
    QTest::newRow("Enter, as for the message before") << int(Qt::Key_Return) << false;
}

void TestQtDialogs::longProgressShowsAndCancels()
{
    QFETCH(int, key);
    QFETCH(bool, cancels);
    QWidget window;
    window.show();
    QtDialogs dialogs;
    const std::unique_ptr<Progress> progress = dialogs.progress(&window, title, label, 100000);
    QVERIFY(progress->advance(0));
    const auto *dialog = window.findChild<QProgressDialog *>();
    QVERIFY(!dialog->isVisible());
    QTest::qSleep(600); // longer than the dialog waits before it shows
    QVERIFY(progress->advance(1234));

    QVERIFY(dialog->isVisible());
    QCOMPARE(dialog->windowTitle(), title);
    QCOMPARE(dialog->labelText(), QStringLiteral("正在导入词库……\n已完成 1234 / 100000 行"));
    QCOMPARE(dialog->windowModality(), Qt::ApplicationModal);
    auto *cancel = dialog->findChild<QPushButton *>();
    QCOMPARE(cancel->text(), QStringLiteral("取消"));
    if (key != 0) {
        QVERIFY(QTest::qWaitForWindowActive(const_cast<QProgressDialog *>(dialog)));
        QTest::keyClick(QApplication::focusWidget(), Qt::Key(key));
    } else {
        QTest::mouseClick(cancel, Qt::LeftButton);
    }
    QCOMPARE(progress->advance(1235), !cancels);
    QCOMPARE(dialog->isVisible(), !cancels);
}

QTEST_MAIN(TestQtDialogs)
#include "tst_qtdialogs.moc"
