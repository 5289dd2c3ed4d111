#pragma once
// Colour arithmetic of the button control. Colours are 32-bit values with red in the
// low byte, then green, then blue (0x00BBGGRR); a value with the top bit set names a
// system colour by the index in its low byte and is turned into RGB before drawing.
#include <QColor>
#include <QtGlobal>

namespace rr::buttoncolors
{

constexpr quint32 kButtonFace = 0x8000000F;
constexpr quint32 kButtonText = 0x80000012;
constexpr quint32 kWhite = 0xFFFFFF;
constexpr quint32 kGrey = 0x808080;

constexpr quint32 rgb(int r, int g, int b)
{
    return quint32(r) | (quint32(g) << 8) | (quint32(b) << 16);
}

// A system colour becomes the desktop palette's RGB; any other value is returned as it is.
quint32 translateColor(quint32 colour);

// A lighter (positive offset) or darker shade. Green is divided by 255 and blue by
// 65280, not by 256 and 65536, which lifts both by one step at the top of the range.
// proportionalBlue scales the blue shift by the blue itself; avoidExtremes retries with
// the offset negated (64 when it was 0) when the result is pure black or white, and
// hands the used offset back; invert returns the complement of each component.
quint32 shiftColor(quint32 colour, int &offset, bool proportionalBlue = false, bool avoidExtremes = false,
                   bool invert = false);
// shiftColor without retries and without handing the offset back.
inline quint32 shade(quint32 colour, int offset, bool proportionalBlue = false)
{
    return shiftColor(colour, offset, proportionalBlue, false, false);
}

inline QColor toQColor(quint32 colour)
{
    return QColor(int(colour & 0xFF), int((colour >> 8) & 0xFF), int((colour >> 16) & 0xFF));
}
inline quint32 fromQColor(const QColor &colour)
{
    return rgb(colour.red(), colour.green(), colour.blue());
}
inline QRgb toQRgb(quint32 colour)
{
    return qRgb(int(colour & 0xFF), int((colour >> 8) & 0xFF), int((colour >> 16) & 0xFF));
}
inline quint32 fromQRgb(QRgb value)
{
    return rgb(qRed(value), qGreen(value), qBlue(value));
}

// Nearest integer, halves to the even neighbour.
int roundEven(double value);

} // namespace rr::buttoncolors
