#pragma once

#include "Fakes.h"
#include "TestSupport.h"
#include "core/drill/Drill.h"
#include "core/store/WordStore.h"

#include <QTemporaryDir>

namespace mirvo::test {

/// The drill alone, over a store in a temporary folder, with scripted draws. Records each
/// message the drill asks for, with the count and the word asked while it is up.
struct DrillHarness
{
    struct Seen
    {
        DrillMessage::Kind kind;
        QString text;
        int count;
        QString asked;
    };

    DrillHarness()
    {
        if (!store.create(nullptr))
            qFatal("cannot create the test store");
        QObject::connect(&drill, &Drill::messageDue, [this](const DrillMessage &message) {
            seen.append({message.kind, message.text, drill.remainingCount(), drill.question().word});
        });
        QObject::connect(&drill, &Drill::wordPicked, [this](int row) { picked.append(row); });
        QObject::connect(&drill, &Drill::finished, [this] { ++finished; });
    }

    QString folder() const { return store.folder(); }

    /// Writes "word meaning" lines as entries found on disk, scripts the draws and starts.
    void start(const QStringList &words, const QList<float> &draws)
    {
        for (const QString &line : words) {
            if (!writeBytes(store.entryPath(line.section(QLatin1Char(' '), 0, 0)),
                            line.section(QLatin1Char(' '), 1).toUtf8() + "\r\n"))
                qFatal("cannot write a test entry");
        }
        random.script(draws);
        drill.start();
    }

    QStringList texts() const
    {
        QStringList result;
        for (const Seen &message : seen)
            result.append(message.text);
        return result;
    }

    QTemporaryDir dir;
    WordStore store{dir.filePath(QStringLiteral("words"))};
    ScriptedRandom random;
    Drill drill{store, random};
    QList<Seen> seen;
    QList<int> picked;
    int finished = 0;
};

} // namespace mirvo::test
