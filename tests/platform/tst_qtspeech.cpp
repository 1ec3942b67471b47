#include "platform/QtSpeech.h"

#include <QSignalSpy>
#include <QTest>

using namespace mirvo;

class TestQtSpeech : public QObject
{
    Q_OBJECT

private slots:
    void nothingBeforeLoading();
    void noEngineInstalled();
    void realEngine();
};

void TestQtSpeech::nothingBeforeLoading()
{
    // Loading costs start-up time and memory, so it waits until asked.
    QtSpeech speech({QStringLiteral("flite"), QStringLiteral("speechd")}, -1);
    QVERIFY(!speech.available());
    speech.say(QStringLiteral("quartz"));
    speech.stop();
    QVERIFY(speech.engine().isEmpty());
}

void TestQtSpeech::noEngineInstalled()
{
    QtSpeech speech({QStringLiteral("no-such-engine")}, -1);
    QSignalSpy changes(&speech, &Speech::availableChanged);
    speech.load();
    QVERIFY(!speech.available());
    QCOMPARE(speech.problem(), QStringLiteral("no text-to-speech engine installed"));
    QCOMPARE(changes.count(), 0);
    speech.say(QStringLiteral("quartz"));
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
