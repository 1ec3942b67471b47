#pragma once

#include <QIcon>
#include <QPixmap>

namespace mirvo {

/// The program's icon, 16 x 16 and 32 x 32 in 16 colours, for every window of ours.
QIcon programIcon();

/// The 32 x 32 image alone, as the About window shows it.
QPixmap programIconPixmap();

} // namespace mirvo
