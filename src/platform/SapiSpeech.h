#pragma once

#include "platform/Speech.h"

struct ISpVoice;

namespace mirvo {

/// Speech through Windows' SAPI with an English voice; none when the system has no English
/// voice. Making the voice takes a moment, so it is made a moment after start-up, once the
/// window is up, and announced with availableChanged().
class SapiSpeech final : public Speech
{
    Q_OBJECT

public:
    /// loadDelayMs: when to make the voice, negative for only on load().
    explicit SapiSpeech(int loadDelayMs = 1000, QObject *parent = nullptr);
    ~SapiSpeech() override;

    bool available() const override { return m_voice != nullptr; }
    void say(const QString &text) override;
    void stop() override;

    /// Makes the voice, with the first English voice installed; does nothing once done.
    void load();

private:
    ISpVoice *m_voice = nullptr;
    bool m_loaded = false;
    bool m_comInitialized = false;
};

} // namespace mirvo
