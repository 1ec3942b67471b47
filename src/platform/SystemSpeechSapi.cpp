#include "platform/SystemSpeech.h"

#include "platform/SapiSpeech.h"

namespace mirvo {

std::unique_ptr<Speech> makeSystemSpeech()
{
    return std::make_unique<SapiSpeech>();
}

} // namespace mirvo
