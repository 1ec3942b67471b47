#include "platform/SystemSpeech.h"

namespace mirvo {

namespace {

/// No speech engine on this platform: the word has no voice and no spoken-word tooltip.
class NoSpeech final : public Speech
{
public:
    bool available() const override { return false; }
    void say(const QString &) override {}
    void stop() override {}
};

} // namespace

std::unique_ptr<Speech> makeSystemSpeech()
{
    return std::make_unique<NoSpeech>();
}

} // namespace mirvo
