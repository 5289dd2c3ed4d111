#include "controls/buttonsurface.h"

#include "controls/buttoncolors.h"

#include <QPainter>
#include <cstdlib>
#include <vector>

namespace rr
{

using buttoncolors::fromQRgb;
using buttoncolors::toQRgb;

void ButtonSurface::resize(const QSize &size)
{
    if (size.width() < 1 || size.height() < 1) {
        m_image = QImage();
        return;
    }
    QImage next(size, QImage::Format_RGB32);
    next.fill(Qt::black);
    if (!m_image.isNull()) {
        QPainter p(&next);
        p.drawImage(0, 0, m_image);
    }
    m_image = next;
}

void ButtonSurface::resetPenAndBrush()
{
    m_brush = 0;
    m_pen = 0;
    m_penStyle = 0;
}

bool ButtonSurface::visible(int x, int y) const
{
    if (x < 0 || y < 0 || x >= m_image.width() || y >= m_image.height())
        return false;
    return !m_clip || m_clip->contains(QPoint(x, y));
}

void ButtonSurface::plot(int x, int y, quint32 colour)
{
    if (visible(x, y))
        reinterpret_cast<QRgb *>(m_image.scanLine(y))[x] = toQRgb(colour);
}

void ButtonSurface::fill(const QRect &rect, quint32 colour)
{
    const QRect area = rect.intersected(m_image.rect());
    if (area.isEmpty())
        return;
    const QRgb value = toQRgb(colour);
    const QRegion target = m_clip ? m_clip->intersected(area) : QRegion(area);
    for (const QRect &r : target) {
        for (int y = r.top(); y <= r.bottom(); ++y) {
            QRgb *line = reinterpret_cast<QRgb *>(m_image.scanLine(y));
            std::fill(line + r.left(), line + r.right() + 1, value);
        }
    }
}

void ButtonSurface::rectangle(int left, int top, int right, int bottom)
{
    if (right <= left || bottom <= top)
        return;
    fill(QRect(QPoint(left, top), QPoint(right - 1, bottom - 1)), m_pen);
    if (right - left > 2 && bottom - top > 2)
        fill(QRect(QPoint(left + 1, top + 1), QPoint(right - 2, bottom - 2)), m_brush);
}

void ButtonSurface::polyline(const QPoint *points, int count)
{
    for (int i = 0; i + 1 < count; ++i) {
        int x = points[i].x(), y = points[i].y();
        const int x1 = points[i + 1].x(), y1 = points[i + 1].y();
        const int dx = std::abs(x1 - x), dy = -std::abs(y1 - y);
        const int sx = x < x1 ? 1 : -1, sy = y < y1 ? 1 : -1;
        int err = dx + dy;
        while (x != x1 || y != y1) {
            if (m_penStyle != 2 || (m_dotPhase++ % 2) == 0)
                plot(x, y, m_pen);
            const int e2 = 2 * err;
            if (e2 >= dy) {
                err += dy;
                x += sx;
            }
            if (e2 <= dx) {
                err += dx;
                y += sy;
            }
        }
    }
}

void ButtonSurface::setPixel(int x, int y, quint32 colour)
{
    plot(x, y, colour);
}

quint32 ButtonSurface::pixel(int x, int y) const
{
    if (x < 0 || y < 0 || x >= m_image.width() || y >= m_image.height())
        return 0;
    return fromQRgb(m_image.pixel(x, y));
}

void ButtonSurface::frameRegion(const QRegion &region, quint32 colour)
{
    const QRegion ring = region.subtracted(erodeRegion(region));
    for (const QRect &r : ring)
        fill(r, colour);
}

void ButtonSurface::ellipseOutline(const QRect &bounds)
{
    QImage mask(m_image.size(), QImage::Format_ARGB32);
    mask.fill(Qt::transparent);
    {
        QPainter p(&mask);
        p.setPen(QPen(Qt::black, 1, m_penStyle == 2 ? Qt::DotLine : Qt::SolidLine));
        p.drawEllipse(bounds);
    }
    for (int y = 0; y < mask.height(); ++y)
        for (int x = 0; x < mask.width(); ++x)
            if (qAlpha(mask.pixel(x, y)) > 127)
                plot(x, y, m_pen);
}

void ButtonSurface::focusRect(const QRect &rect)
{
    auto invert = [this](int x, int y) {
        if (((x + y) & 1) == 0 && visible(x, y))
            m_image.setPixel(x, y, m_image.pixel(x, y) ^ 0x00FFFFFF);
    };
    for (int x = rect.left(); x < rect.left() + rect.width(); ++x) {
        invert(x, rect.top());
        invert(x, rect.top() + rect.height() - 1);
    }
    for (int y = rect.top() + 1; y < rect.top() + rect.height() - 1; ++y) {
        invert(rect.left(), y);
        invert(rect.left() + rect.width() - 1, y);
    }
}

void ButtonSurface::drawText(const QRect &rect, int alignment, const QString &text, const QFont &font)
{
    QPainter p(&m_image);
    if (m_clip)
        p.setClipRegion(*m_clip);
    p.setFont(font);
    p.setPen(buttoncolors::toQColor(m_textColour));
    p.drawText(rect, alignment | Qt::AlignTop | Qt::TextWordWrap | Qt::TextShowMnemonic, text);
}

void ButtonSurface::drawImage(const QPoint &at, const QImage &image)
{
    QPainter p(&m_image);
    if (m_clip)
        p.setClipRegion(*m_clip);
    p.drawImage(at, image);
}

void ButtonSurface::maskedPattern(const QPoint &at, const QImage &source, quint32 brush)
{
    const QRgb pattern = toQRgb(brush);
    for (int y = 0; y < source.height(); ++y) {
        for (int x = 0; x < source.width(); ++x) {
            const int tx = at.x() + x, ty = at.y() + y;
            if (!visible(tx, ty))
                continue;
            const QRgb s = source.pixel(x, y);
            if (qRed(s) < 0xF0 || qGreen(s) < 0xF0 || qBlue(s) < 0xF0)
                reinterpret_cast<QRgb *>(m_image.scanLine(ty))[tx] = pattern;
        }
    }
}

QRegion keyBackground(QImage &picture)
{
    if (picture.isNull())
        return {};
    if (picture.format() != QImage::Format_ARGB32)
        picture = picture.convertToFormat(QImage::Format_ARGB32);
    const QRgb key = picture.pixel(0, 0);
    auto near = [](int a, int b) { return std::abs(a - b) <= 3; };
    auto isBackground = [&](QRgb p) {
        return near(qRed(p), qRed(key)) && near(qGreen(p), qGreen(key)) && near(qBlue(p), qBlue(key)) &&
               near(qAlpha(p), qAlpha(key));
    };
    std::vector<QRect> runs;
    for (int y = 0; y < picture.height(); ++y) {
        QRgb *line = reinterpret_cast<QRgb *>(picture.scanLine(y));
        int start = -1;
        for (int x = 0; x <= picture.width(); ++x) {
            const bool background = x < picture.width() && isBackground(line[x]);
            if (background) {
                line[x] = key;
                if (start < 0)
                    start = x;
            } else if (start >= 0) {
                runs.emplace_back(start, y, x - start, 1);
                start = -1;
            }
        }
    }
    QRegion region;
    region.setRects(runs.data(), int(runs.size()));
    return region;
}

QRegion dilateRegion(const QRegion &region)
{
    QRegion grown = region;
    for (int dy = -1; dy <= 1; ++dy)
        for (int dx = -1; dx <= 1; ++dx)
            if (dx != 0 || dy != 0)
                grown += region.translated(dx, dy);
    return grown;
}

} // namespace rr

namespace rr
{

QRegion erodeRegion(const QRegion &region)
{
    return region.intersected(region.translated(1, 0))
        .intersected(region.translated(-1, 0))
        .intersected(region.translated(0, 1))
        .intersected(region.translated(0, -1));
}

} // namespace rr
