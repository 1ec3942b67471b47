#pragma once

#include "platform/Speech.h"

#include <QStringList>

class QTextToSpeech;

namespace mirvo {

/// Speech through Qt TextToSpeech: flite first (no daemon needed), else speech-dispatcher;
/// none when flite finds no audio device.
/// An engine takes about 100 ms and 17 MB to load, so it is loaded a moment after start-up,
/// once the window is up, and announced with availableChanged().
class QtSpeech final : public Speech
{
    Q_OBJECT

public:
    /// engines: the engines to try, most preferred first; loadDelayMs: when to load them,
    /// negative for only on load().
    explicit QtSpeech(const QStringList &engines = {QStringLiteral("flite"), QStringLiteral("speechd")},
                      int loadDelayMs = 1000, QObject *parent = nullptr);
    ~QtSpeech() override;

    bool available() const override { return m_engine && m_problem.isEmpty(); }
    void say(const QString &text) override;
    void stop() override;

    /// Loads the first engine that can speak English here; does nothing once loaded.
    void load();
    /// The engine in use, or empty when none works.
    QString engine() const;
    /// Why speech is unavailable; empty when it works.
    QString problem() const { return m_problem; }

private:
    void fail(const QString &problem);

    QStringList m_engines;
    bool m_loaded = false;
    QTextToSpeech *m_engine = nullptr;
    QString m_problem = QStringLiteral("not loaded yet");
};

} // namespace mirvo
