#include "platform/QtSpeech.h"

#include <QSignalSpy>
#include <QTest>

using namespace mirvo;

class TestQtSpeech : public QObject
{
    Q_OBJECT

private slots:
    void noEngine();
    void realEngine();
};

void TestQtSpeech::noEngine()
{
    QtSpeech speech({QStringLiteral("no-such-engine")}, -1);
    QSignalSpy changes(&speech, &Speech::availableChanged);
    speech.say(QStringLiteral("quartz")); // before loading: nothing, and nothing loaded
    QCOMPARE(speech.problem(), QStringLiteral("not loaded yet"));
    speech.load();
    QVERIFY(!speech.available());
    QCOMPARE(speech.problem(), QStringLiteral("no text-to-speech engine installed"));
    speech.say(QStringLiteral("quartz"));
    speech.stop();
    QCOMPARE(changes.count(), 0);
}

void TestQtSpeech::realEngine()
{
    QLocale::setDefault(QLocale(QLocale::Chinese, QLocale::China)); // as the program sets it
    QtSpeech speech({QStringLiteral("flite"), QStringLiteral("speechd")}, 0);
    QSignalSpy changes(&speech, &Speech::availableChanged);
    QTRY_VERIFY(!speech.problem().startsWith(QStringLiteral("not loaded")));
    if (!speech.available())
        QSKIP(qPrintable(QStringLiteral("no speech here: ") + speech.problem()));
    QCOMPARE(changes.count(), 1);
    QCOMPARE(changes.first().first().toBool(), true);
    QVERIFY(!speech.engine().isEmpty());

    // Never blocks; a lost audio device only withdraws the offer.
    speech.say(QStringLiteral("quartz"));
    speech.say(QStringLiteral("quartz"));
    speech.stop();
    QTest::qWait(500);
    if (!speech.available()) {
        QVERIFY(!speech.problem().isEmpty());
        QCOMPARE(changes.count(), 2);
        QCOMPARE(changes.last().first().toBool(), false);
    }
}

QTEST_GUILESS_MAIN(TestQtSpeech)
#include "tst_qtspeech.moc"
