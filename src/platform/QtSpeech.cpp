#include "platform/QtSpeech.h"

#include "platform/SystemSpeech.h"

#include <QLocale>
#include <QTextToSpeech>
#include <QTimer>

#include <algorithm>

namespace mirvo {

namespace {

bool isEnglish(const QLocale &locale)
{
    return locale.language() == QLocale::English;
}

/// Why this engine cannot speak English here; empty when it can.
QString engineProblem(QTextToSpeech &engine)
{
    // flite reports a missing audio device while still claiming to be ready. Its complaint about
    // the program's Chinese default locale (no voice for it) is mended by the English voice below.
    if (engine.state() == QTextToSpeech::Error
        || engine.errorReason() == QTextToSpeech::ErrorReason::Playback)
        return engine.errorString().isEmpty() ? QStringLiteral("engine failed") : engine.errorString();
    const QList<QVoice> voices = engine.availableVoices();
    const auto voice = std::find_if(voices.cbegin(), voices.cend(),
                                    [](const QVoice &v) { return isEnglish(v.locale()); });
    if (voice == voices.cend())
        return QStringLiteral("no English voice");
    if (!isEnglish(engine.voice().locale()))
        engine.setVoice(*voice);
    return {};
}

} // namespace

QtSpeech::QtSpeech(const QStringList &engines, int loadDelayMs, QObject *parent)
    : Speech(parent)
    , m_engines(engines)
{
    if (loadDelayMs >= 0)
        QTimer::singleShot(loadDelayMs, this, &QtSpeech::load);
}

QtSpeech::~QtSpeech() = default;

void QtSpeech::load()
{
    if (m_loaded)
        return;
    m_loaded = true;
    const QStringList installed = QTextToSpeech::availableEngines();
    QStringList problems;
    for (const QString &name : std::as_const(m_engines)) {
        if (!installed.contains(name))
            continue;
        auto *engine = new QTextToSpeech(name, this);
        const QString problem = engineProblem(*engine);
        if (problem.isEmpty()) {
            m_engine = engine;
            break;
        }
        problems.append(name + QStringLiteral(": ") + problem);
        const bool noSound = engine->errorReason() == QTextToSpeech::ErrorReason::Playback;
        delete engine;
        // No audio device: the next engine would only be started in vain (and the
        // speech-dispatcher plugin leaks when it finds no daemon).
        if (noSound)
            break;
    }
    if (!m_engine) {
        m_problem = problems.isEmpty() ? QStringLiteral("no text-to-speech engine installed")
                                       : problems.join(QStringLiteral("; "));
        return;
    }
    m_problem.clear();
    connect(m_engine, &QTextToSpeech::stateChanged, this, [this](QTextToSpeech::State state) {
        if (state == QTextToSpeech::Error)
            fail(m_engine->errorString());
    });
    emit availableChanged(true);
}

QString QtSpeech::engine() const
{
    return available() ? m_engine->engine() : QString();
}

void QtSpeech::say(const QString &text)
{
    if (!available())
        return;
    m_engine->stop(QTextToSpeech::BoundaryHint::Immediate);
    m_engine->say(text);
}

void QtSpeech::stop()
{
    if (available() && m_engine->state() != QTextToSpeech::Ready)
        m_engine->stop(QTextToSpeech::BoundaryHint::Immediate);
}

void QtSpeech::fail(const QString &problem)
{
    if (!available())
        return;
    // E.g. "No audio device available": speech is simply not offered any more, and no box says so.
    m_problem = problem.isEmpty() ? QStringLiteral("engine failed") : problem;
    emit availableChanged(false);
}

std::unique_ptr<Speech> makeSystemSpeech()
{
    return std::make_unique<QtSpeech>();
}

} // namespace mirvo
