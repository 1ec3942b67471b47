#pragma once

namespace mirvo {

/// Faithful stand-ins where the Windows faces are not installed, and a Chinese face for
/// the default font. Call once, after the application object exists.
void substituteFonts();

} // namespace mirvo
