#include "DrillHarness.h"

#include "TestSupport.h"

namespace mirvo::test {

DrillHarness::DrillHarness()
    : store(dir.filePath(QStringLiteral("words")))
    , drill(store, random)
{
    if (!store.create(nullptr))
        qFatal("cannot create the test store");
    QObject::connect(&drill, &Drill::messageDue, [this](const DrillMessage &message) {
        seen.append({message.kind, message.text, drill.remainingCount(), drill.question().word});
    });
    QObject::connect(&drill, &Drill::wordPicked, [this](int row) { picked.append(row); });
    QObject::connect(&drill, &Drill::finished, [this] { ++finished; });
}

void DrillHarness::start(const QStringList &words, const QList<float> &draws)
{
    for (const QString &line : words) {
        if (!writeBytes(store.entryPath(line.section(QLatin1Char(' '), 0, 0)),
                        line.section(QLatin1Char(' '), 1).toUtf8() + "\r\n"))
            qFatal("cannot write a test entry");
    }
    random.script(draws);
    drill.start();
}

QStringList DrillHarness::texts() const
{
    QStringList result;
    for (const Seen &message : seen)
        result.append(message.text);
    return result;
}

} // namespace mirvo::test
