#pragma once
// The thumbnail encoder: one picture as a GIF with a single image, a 256-entry global
// colour table of at most 236 colours chosen from the picture itself, and rows coded
// with fixed 9-bit LZW codes, the string table restarting on every row.
#include <QByteArray>
#include <QImage>
#include <QString>

namespace rr
{

class cDIBSection;

// GIF keeps sizes in 16 bits.
constexpr int kMaxGifSide = 65535;

// The whole file: "GIF87a", or "GIF89a" with a graphic control extension naming the
// first table entry of transparentColour when transparent is set. Empty when the
// picture is null, has no pixels or a side over kMaxGifSide.
QByteArray encodeGIF(const cDIBSection &dib, bool transparent = false, QRgb transparentColour = 0);
QByteArray encodeGIF(const QImage &picture, bool transparent = false, QRgb transparentColour = 0);

// Writes the thumbnail file in one piece: on any failure the old file stays as it
// was, false is returned and error says why.
bool SaveGIF(const QImage &picture, const QString &fileName, bool transparent = false, QRgb transparentColour = 0,
             QString *error = nullptr);

} // namespace rr
