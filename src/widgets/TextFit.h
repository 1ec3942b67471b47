#pragma once

#include <QFont>
#include <QFontMetrics>
#include <QString>

namespace mirvo {

/// text as it fits in width in font: whole, or its beginning ended with "…". Shaping a whole
/// text costs far more than adding up its characters' advances, which are kept per font and
/// character (the drill asks the same few thousand characters again and again), so a text
/// that plainly fits is never shaped. For the user-interface thread only.
QString fitText(const QFont &font, const QString &text, int width);

} // namespace mirvo
