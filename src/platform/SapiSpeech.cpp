#include "platform/SapiSpeech.h"

#include "platform/SystemSpeech.h"

#include <QTimer>

#include <qt_windows.h>
#include <initguid.h> // defines SAPI's class and interface ids here
#include <sapi.h>

namespace mirvo {

namespace {

/// The first installed voice speaking English: US, British, Australian, Canadian, Indian.
ISpObjectToken *englishVoice()
{
    ISpObjectTokenCategory *category = nullptr;
    if (FAILED(CoCreateInstance(CLSID_SpObjectTokenCategory, nullptr, CLSCTX_ALL, IID_ISpObjectTokenCategory,
                                reinterpret_cast<void **>(&category))))
        return nullptr;
    ISpObjectToken *found = nullptr;
    if (SUCCEEDED(category->SetId(SPCAT_VOICES, FALSE))) {
        for (const wchar_t *language : {L"Language=409", L"Language=809", L"Language=c09", L"Language=1009",
                                        L"Language=4009"}) {
            IEnumSpObjectTokens *tokens = nullptr;
            if (FAILED(category->EnumTokens(language, nullptr, &tokens)) || !tokens)
                continue;
            ULONG fetched = 0;
            const HRESULT next = tokens->Next(1, &found, &fetched);
            tokens->Release();
            if (next == S_OK && fetched == 1 && found)
                break;
            found = nullptr;
        }
    }
    category->Release();
    return found;
}

} // namespace

SapiSpeech::SapiSpeech(int loadDelayMs, QObject *parent)
    : Speech(parent)
{
    if (loadDelayMs >= 0)
        QTimer::singleShot(loadDelayMs, this, &SapiSpeech::load);
}

SapiSpeech::~SapiSpeech()
{
    if (m_voice) {
        m_voice->Speak(nullptr, SPF_PURGEBEFORESPEAK, nullptr);
        m_voice->Release();
    }
    if (m_comInitialized)
        CoUninitialize();
}

void SapiSpeech::load()
{
    if (m_loaded)
        return;
    m_loaded = true;
    // The window system has usually set up COM on this thread already; this only counts.
    m_comInitialized = SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED));
    ISpObjectToken *voiceToken = englishVoice();
    if (!voiceToken)
        return;
    ISpVoice *voice = nullptr;
    if (SUCCEEDED(CoCreateInstance(CLSID_SpVoice, nullptr, CLSCTX_ALL, IID_ISpVoice,
                                   reinterpret_cast<void **>(&voice)))) {
        if (SUCCEEDED(voice->SetVoice(voiceToken)))
            m_voice = voice;
        else
            voice->Release();
    }
    voiceToken->Release();
    if (m_voice)
        Q_EMIT availableChanged(true);
}

void SapiSpeech::say(const QString &text)
{
    if (!m_voice)
        return;
    // Spoken as plain text, never as SAPI's markup, cutting off the word before.
    m_voice->Speak(reinterpret_cast<LPCWSTR>(text.utf16()), SPF_ASYNC | SPF_PURGEBEFORESPEAK | SPF_IS_NOT_XML,
                   nullptr);
}

void SapiSpeech::stop()
{
    if (m_voice)
        m_voice->Speak(nullptr, SPF_PURGEBEFORESPEAK, nullptr);
}

std::unique_ptr<Speech> makeSystemSpeech()
{
    return std::make_unique<SapiSpeech>();
}

} // namespace mirvo
