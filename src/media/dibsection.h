#pragma once
// A 24-bit picture held the way the thumbnail encoder reads it: scan lines of
// BytesPerScanLine() bytes, the bottom row of the picture first in memory, each pixel
// three bytes blue, green, red, every line padded to a multiple of 4 bytes.
#include <QByteArray>
#include <QImage>

namespace rr
{

class cDIBSection
{
public:
    cDIBSection() = default;

    // Replaces the bitmap by a blank (black) one; false and empty when the size is
    // not positive or the memory cannot be had.
    bool Create(int width, int height);
    // Replaces the bitmap by a 24-bit copy of the picture, whatever its format.
    // Alpha is dropped; a null picture leaves the object empty and gives false.
    bool CreateFromPicture(const QImage &picture);
    void ClearUp();

    bool isEmpty() const { return m_bits.isEmpty(); }
    int Width() const { return m_width; }
    int Height() const { return m_height; }
    int BytesPerScanLine() const { return bytesPerScanLine(m_width); }
    uchar *DIBSectionBitsPtr() { return isEmpty() ? nullptr : reinterpret_cast<uchar *>(m_bits.data()); }
    const uchar *DIBSectionBitsPtr() const
    {
        return isEmpty() ? nullptr : reinterpret_cast<const uchar *>(m_bits.constData());
    }
    // Row y of the picture counted from the top.
    const uchar *scanLineFromTop(int y) const
    {
        return DIBSectionBitsPtr() + qsizetype(m_height - 1 - y) * BytesPerScanLine();
    }

    static int bytesPerScanLine(int width) { return (width * 3 + 3) & ~3; }

private:
    int m_width = 0;
    int m_height = 0;
    QByteArray m_bits;
};

} // namespace rr
