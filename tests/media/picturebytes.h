#pragma once
// A picture of one colour as the bytes of an image file, for the icon tests' server and files.
#include <QBuffer>
#include <QImage>

namespace rr::test
{

inline QByteArray pictureBytes(QColor colour, const char *format = "ICO", QSize size = {16, 16})
{
    QImage image(size, QImage::Format_ARGB32);
    image.fill(colour);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, format);
    return bytes;
}

} // namespace rr::test
