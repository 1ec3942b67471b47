#pragma once

#include "Fakes.h"
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

    DrillHarness();

    QString folder() const { return store.folder(); }
    /// Writes "word meaning" lines as entries found on disk, scripts the draws and starts.
    void start(const QStringList &words, const QList<float> &draws);
    QStringList texts() const;

    QTemporaryDir dir;
    WordStore store;
    ScriptedRandom random;
    Drill drill;
    QList<Seen> seen;
    QList<int> picked;
    int finished = 0;
};

} // namespace mirvo::test
