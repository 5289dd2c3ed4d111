#include "controls/buttoncolors.h"

#include <QGuiApplication>
#include <QPalette>
#include <algorithm>
#include <cmath>

namespace rr::buttoncolors
{

int roundEven(double value)
{
    if (!std::isfinite(value))
        return 0;
    return int(std::nearbyint(value));
}

namespace
{

// The desktop colour that stands for each system colour index.
QColor systemColour(int index)
{
    const QPalette p = QGuiApplication::palette();
    switch (index) {
    case 1:  // desktop
    case 15: // button face
    case 4:  // menu
        return p.color(QPalette::Button);
    case 2:  // active caption
    case 13: // highlight
        return p.color(QPalette::Highlight);
    case 9:  // caption text
    case 14: // highlight text
        return p.color(QPalette::HighlightedText);
    case 5: // window
        return p.color(QPalette::Base);
    case 6:  // window frame
    case 21: // dark shadow
        return p.color(QPalette::Shadow);
    case 7: // menu text
    case 8: // window text
        return p.color(QPalette::Text);
    case 16: // button shadow
        return p.color(QPalette::Dark);
    case 17: // grey text
        return p.color(QPalette::Disabled, QPalette::Text);
    case 18: // button text
        return p.color(QPalette::ButtonText);
    case 20: // button highlight
        return p.color(QPalette::Light);
    case 22: // 3D light
        return p.color(QPalette::Midlight);
    case 23: // tooltip text
        return p.color(QPalette::ToolTipText);
    case 24: // tooltip back
        return p.color(QPalette::ToolTipBase);
    default:
        return p.color(QPalette::Window);
    }
}

int clampComponent(int value)
{
    return std::clamp(value, 0, 255);
}

} // namespace

quint32 translateColor(quint32 colour)
{
    if ((colour & 0x80000000u) == 0)
        return colour;
    return fromQColor(systemColour(int(colour & 0xFF)));
}

quint32 shiftColor(quint32 colour, int &offset, bool proportionalBlue, bool avoidExtremes, bool invert)
{
    // Two retries settle every input: a shade can be extreme at most for 0 and one sign.
    for (int attempt = 0;; ++attempt) {
        int red = int(colour & 0xFF) + offset;
        int green = roundEven(double(colour & 0xFF00) / 255.0 + offset);
        int blue;
        if (proportionalBlue) {
            const int b0 = roundEven(double(colour & 0xFF0000) / 65280.0);
            blue = b0 + (offset * b0) / 192;
        } else {
            blue = roundEven(double(colour & 0xFF0000) / 65280.0 + offset);
        }
        red = clampComponent(red);
        green = clampComponent(green);
        blue = clampComponent(blue);
        if (invert) {
            red = 255 - red;
            green = 255 - green;
            blue = 255 - blue;
        }
        const quint32 result = rgb(red, green, blue);
        if (!avoidExtremes || (result != 0 && result != kWhite) || attempt == 2)
            return result;
        offset = offset == 0 ? 64 : -offset;
    }
}

} // namespace rr::buttoncolors
