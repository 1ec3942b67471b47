#pragma once

#include "platform/Speech.h"

#include <memory>

namespace mirvo {

/// The voice this platform has, or a silent one (never available) where it has none.
std::unique_ptr<Speech> makeSystemSpeech();

} // namespace mirvo
