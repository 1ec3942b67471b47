#include "Fakes.h"
#include "app/GuardedApplication.h"

#include <QTest>

#include <stdexcept>

using namespace mirvo;
using namespace mirvo::test;

namespace {

class Throwing : public QObject
{
public:
    bool event(QEvent *event) override
    {
        if (event->type() == QEvent::User)
            throw std::runtime_error("entry vanished");
        return QObject::event(event);
    }
};

} // namespace

class TestGuardedApplication : public QObject
{
    Q_OBJECT

private slots:
    void reportsAndGoesOn();
};

void TestGuardedApplication::reportsAndGoesOn()
{
    auto *app = static_cast<GuardedApplication *>(QCoreApplication::instance());
    FakeDialogs dialogs;
    app->setDialogs(&dialogs);
    dialogs.answerNext(MessageAnswer::Ok);
    Throwing receiver;
    QEvent event(QEvent::User);
    QVERIFY(!QCoreApplication::sendEvent(&receiver, &event));
    QCOMPARE(dialogs.shown.size(), 1);
    QVERIFY(dialogs.shown.at(0).text.contains(QStringLiteral("entry vanished")));
    QCOMPARE(dialogs.shown.at(0).icon, MessageIcon::Exclamation);
    // Events after the failure are handled as usual.
    QEvent other(QEvent::Timer);
    QCoreApplication::sendEvent(&receiver, &other);
    QCOMPARE(dialogs.shown.size(), 1);
    app->setDialogs(nullptr);
}

int main(int argc, char *argv[])
{
    GuardedApplication app(argc, argv);
    TestGuardedApplication test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_guardedapplication.moc"
