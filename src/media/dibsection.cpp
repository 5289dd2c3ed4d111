#include "media/dibsection.h"

#include <cstring>
#include <limits>

namespace rr
{

bool cDIBSection::Create(int width, int height)
{
    ClearUp();
    // The line width in bytes must stay an int, and the whole image a QByteArray.
    if (width <= 0 || height <= 0 || width > (std::numeric_limits<int>::max() - 3) / 3)
        return false;
    const qsizetype size = qsizetype(bytesPerScanLine(width)) * height;
    if (size / height != bytesPerScanLine(width))
        return false;
    try {
        m_bits = QByteArray(size, '\0');
    } catch (const std::bad_alloc &) {
        m_bits.clear();
        return false;
    }
    m_width = width;
    m_height = height;
    return true;
}

bool cDIBSection::CreateFromPicture(const QImage &picture)
{
    if (picture.isNull() || !Create(picture.width(), picture.height()))
        return false;
    // QImage lines of this format are BGR and padded to 4 bytes as well; only the
    // row order differs.
    const QImage bgr = picture.convertToFormat(QImage::Format_BGR888);
    if (bgr.isNull()) {
        ClearUp();
        return false;
    }
    const int lineBytes = m_width * 3;
    for (int y = 0; y < m_height; ++y) {
        uchar *target = DIBSectionBitsPtr() + qsizetype(m_height - 1 - y) * BytesPerScanLine();
        std::memcpy(target, bgr.constScanLine(y), lineBytes);
    }
    return true;
}

void cDIBSection::ClearUp()
{
    m_bits.clear();
    m_width = 0;
    m_height = 0;
}

} // namespace rr
