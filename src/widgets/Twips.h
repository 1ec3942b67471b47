#pragma once

#include <QLatin1String>
#include <QRect>

namespace mirvo::twips {

/// Twips (1440 to the inch) to device-independent pixels at 96 dots per inch, rounded;
/// Qt scales those for the screen.
constexpr int toPixels(int twips)
{
    return (twips + 7) / 15;
}

constexpr QRect rect(int left, int top, int width, int height)
{
    return {toPixels(left), toPixels(top), toPixels(width), toPixels(height)};
}

/// Names a control after its design name and puts it at its place.
template<typename Widget>
Widget *place(Widget *widget, const char *name, const QRect &geometry)
{
    widget->setObjectName(QLatin1String(name));
    widget->setGeometry(geometry);
    return widget;
}

} // namespace mirvo::twips
