#include "platform/SystemSpeech.h"

#include "platform/QtSpeech.h"

namespace mirvo {

std::unique_ptr<Speech> makeSystemSpeech()
{
    return std::make_unique<QtSpeech>();
}

} // namespace mirvo
