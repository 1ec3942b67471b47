#include "platform/SapiSpeech.h"

#include <QSignalSpy>
#include <QTest>

using namespace mirvo;

class TestSapiSpeech : public QObject
{
    Q_OBJECT

private slots:
    void loadsOnceAndTells();
};

void TestSapiSpeech::loadsOnceAndTells()
{
    SapiSpeech speech(-1);
    QSignalSpy changes(&speech, &Speech::availableChanged);
    speech.say(QStringLiteral("quartz")); // before loading: nothing, and nothing loaded
    QVERIFY(!speech.available());
    speech.load();
    speech.load();
    // Offered once, and only with an English voice to speak with.
    QCOMPARE(changes.count(), speech.available() ? 1 : 0);
    // Never blocks, with or without a voice.
    speech.say(QStringLiteral("quartz"));
    speech.say(QStringLiteral("quartz"));
    speech.stop();
    if (!speech.available())
        QSKIP("no English SAPI voice on this system: the word stays silent");
}

QTEST_MAIN(TestSapiSpeech)
#include "tst_sapispeech.moc"
