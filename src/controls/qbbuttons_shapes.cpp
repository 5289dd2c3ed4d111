// Window shapes: the window's mask, the two face regions that clip the drawing, the
// picture copy at its drawing size with its background keyed out, and the picture
// drawing itself (transparent key colour, icons, the grey look when disabled).
#include "controls/buttoncolors.h"
#include "controls/buttonsurface.h"
#include "controls/qbbuttons_h.h"

#include <QPainter>

namespace rr
{

using namespace buttoncolors;

namespace
{

QRegion triangle(QPoint a, QPoint b, QPoint c)
{
    return QRegion(QPolygon({a, b, c}), Qt::WindingFill);
}

QRegion pixelAt(int x, int y)
{
    return QRegion(x, y, 1, 1);
}

} // namespace

void qbButtons_H::trimCorners(QRegion &region, bool left, bool right) const
{
    const int W = width0(), H = height0();
    switch (m_buttonStyle) {
    case 1:
        if (left)
            region -= pixelAt(0, 0) + pixelAt(0, H - 1);
        if (right)
            region -= pixelAt(W - 1, H - 1) + pixelAt(W - 1, 0);
        break;
    case 2:
    case 7:
        if (left) {
            region -= triangle({0, 0}, {2, 0}, {0, 2});
            region -= triangle({0, H}, {3, H}, {0, H - 3});
        }
        if (right) {
            region -= triangle({W, 0}, {W - 2, 0}, {W, 2});
            region -= triangle({W, H}, {W - 3, H}, {W, H - 3});
        }
        break;
    case 3:
        if (!isEnabled())
            break;
        if (left)
            region -= pixelAt(0, H - 1);
        if (right)
            region -= pixelAt(W - 1, 0);
        break;
    default:
        break;
    }
}

void qbButtons_H::paintVerticalRamp(quint32 top, quint32 bottom)
{
    const int mode = m_gradientMode;
    m_gradientMode = 3;
    gradientFill(top, bottom);
    m_gradientMode = mode;
}

void qbButtons_H::createButtonRegion()
{
    int W = width0();
    const int H = height0();
    m_shapeInset = 0;
    m_shapeRight = W;
    m_surface->clearClip();
    m_faceRegion.reset();
    m_innerRegion.reset();

    QRegion region;
    switch (m_buttonShape) {
    case 0:
        region = QRegion(0, 0, W + 1, H + 1);
        trimCorners(region, true, true);
        break;
    case 1:
    case 2:
    case 3: {
        const int slant = roundEven(4.0f * (float(H + 1) / 4.0f));
        int wide = W;
        while (wide - slant < 5)
            wide += 5;
        if (wide != W) {
            // The slanted sides need room: the button widens itself first.
            m_delayDrawing = true;
            resize(wide, height());
            W = wide;
            m_shapeRight = W;
            m_delayDrawing = false;
        }
        const int e = W - slant;
        QPoint p0(0, 0), p1(0, H + 1), p2(W + 1, H + 1), p3(W + 1, 0);
        if (m_buttonShape != 2) {
            p1.setX(slant);
            m_shapeInset = slant;
        }
        if (m_buttonShape != 1) {
            p3.setX(e + 1);
            m_shapeRight = e;
        }
        region = QRegion(QPolygon({p0, p1, p2, p3}), Qt::WindingFill);
        trimCorners(region, m_buttonShape == 2, m_buttonShape == 1);
        break;
    }
    case 4:
    case 5:
    case 6:
        region = QRegion(0, 0, W, H, QRegion::Ellipse);
        if (m_buttonStyle != 5) {
            if (m_buttonShape != 6)
                paintVerticalRamp(kWhite, kGrey);
            m_surface->frameRegion(region, 0);
            m_surface->clearClip();
        }
        // One and two pixels inside the outline, so the outline ring is never painted over.
        m_faceRegion = erodeRegion(region);
        m_innerRegion = erodeRegion(*m_faceRegion);
        break;
    default: {
        if (m_pictureWidth == 0 || m_pictureHeight == 0)
            return;
        m_delayDrawing = true;
        const QSize fit = fitPictureSize(W, height0());
        if (fit.isEmpty()) {
            m_delayDrawing = false;
            return;
        }
        resize(fit);
        W = width0();
        m_shapeRight = W;
        m_delayDrawing = false;
        region = QRegion(0, 0, W, height0());
        regionFromPicture(W, height0(), &region);
        if (!m_faceRegion || !m_innerRegion)
            return;
        const QRect box = region.boundingRect();
        m_faceRegion->translate(box.left() - m_faceRegion->boundingRect().left() + 1,
                                box.top() - m_faceRegion->boundingRect().top() + 1);
        m_innerRegion->translate(box.left() - m_innerRegion->boundingRect().left() + 2,
                                 box.top() - m_innerRegion->boundingRect().top() + 2);
        if (m_buttonShape == 8)
            paintVerticalRamp(kWhite, kGrey);
        else
            m_surface->frameRegion(region, translateColor(m_backColor));
        m_surface->setClip(m_faceRegion);
        break;
    }
    }
    if (m_shapeRight == 0)
        m_shapeRight = W;
    m_windowRegion = region.intersected(QRegion(0, 0, W, height0()));
    if (m_windowRegion == QRegion(0, 0, W, height0()))
        clearMask();
    else
        setMask(m_windowRegion);
}

QSize qbButtons_H::fitPictureSize(int maxWidth, int maxHeight) const
{
    if (m_pictureWidth <= 0 || m_pictureHeight <= 0)
        return {};
    const double rx = double(maxWidth) / m_pictureWidth;
    const double ry = double(maxHeight) / m_pictureHeight;
    const double r = ry < rx ? ry : rx;
    return QSize(roundEven(m_pictureWidth * r), roundEven(m_pictureHeight * r));
}

void qbButtons_H::regionFromPicture(int width, int height, QRegion *region)
{
    if (m_picture.isNull())
        return;
    m_scaledPicture = QImage();
    if (m_pictureIsIcon == 1 || width < 1 || height < 1)
        return;
    QImage scaled = m_picture.toImage().scaled(width, height, Qt::IgnoreAspectRatio, Qt::FastTransformation);
    const QRegion background = keyBackground(scaled);
    if (region) {
        const QRegion whole(0, 0, width0(), height0());
        const QRegion grown = dilateRegion(background);
        *region -= background;
        m_faceRegion = whole.subtracted(grown);
        m_innerRegion = whole.subtracted(dilateRegion(grown));
    }
    m_scaledPicture = scaled;
    m_scaledWidth = width;
    m_scaledHeight = height;
}

int qbButtons_H::frameButtonRegion()
{
    if (applyCustomClickOffset())
        return 0;
    int result = 1;
    if (m_buttonStyle == 5 && !m_hoverActive && !pressedLook() && !m_value) {
        m_surface->clearClip();
        return result;
    }
    m_surface->clearClip();
    const bool sixOrSeven = m_buttonShape == 6 || m_buttonShape == 7;
    if (m_buttonStyle == 5 && !(!m_value && sixOrSeven)) {
        paintVerticalRamp(kWhite, kGrey);
        m_surface->setClip(m_innerRegion);
        result = 4;
    }
    if ((pressedLook() || m_value) && !sixOrSeven) {
        m_surface->setClip(m_faceRegion);
        paintVerticalRamp(kGrey, kWhite);
        m_surface->setClip(m_innerRegion);
        return 4;
    }
    if (!sixOrSeven) {
        m_surface->setClip(m_faceRegion);
        result = 3;
    }
    if (m_buttonShape == 7 || (m_buttonShape == 6 && m_hoverActive)) {
        m_surface->frameRegion(m_windowRegion, m_buttonShape == 6 ? 0 : translateColor(m_backColor));
        m_surface->setClip(m_faceRegion);
        result = 3;
    }
    return result;
}

void qbButtons_H::drawButtonPicture(QRect rect)
{
    if (!hasPicture())
        return;
    if (m_scaledPicture.isNull())
        regionFromPicture(rect.width(), rect.height(), nullptr);
    if (m_buttonShape >= 7) {
        rect = QRect(0, 0, width0(), height0());
        if (pressedLook())
            rect.adjust(1, 1, -1, -1);
    }
    const int w = rect.width(), h = rect.height();
    if (w < 1 || h < 1)
        return;

    QImage picture;
    if (m_pictureIsIcon != 1) {
        int drawWidth = w, drawHeight = h;
        picture = transparentBlit(rect, drawWidth, drawHeight);
    } else {
        picture = m_picture.toImage().scaled(w, h, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    }
    if (isEnabled()) {
        m_surface->drawImage(rect.topLeft(), picture);
        return;
    }
    // Disabled: the picture's dark pixels show in grey, its white and transparent ones not at all.
    QImage silhouette(w, h, QImage::Format_RGB32);
    silhouette.fill(Qt::white);
    {
        QPainter p(&silhouette);
        p.drawImage(0, 0, picture);
    }
    m_surface->maskedPattern(rect.topLeft(), silhouette, kGrey);
}

QImage qbButtons_H::transparentBlit(const QRect &dstRect, int &width, int &height) const
{
    if (m_scaledPicture.isNull())
        return {};
    const int dw = dstRect.width() > 0 ? dstRect.width() : width;
    const int dh = dstRect.height() > 0 ? dstRect.height() : height;
    if ((height > dh || width > dw) && width > 0 && height > 0) {
        const double r = qMin(double(dw) / width, double(dh) / height);
        width = roundEven(width * r);
        height = roundEven(height * r);
    }
    if (width < 1 || height < 1 || dw < 1 || dh < 1)
        return {};
    QImage keyed = m_scaledPicture.convertToFormat(QImage::Format_ARGB32);
    const QRgb key = keyed.pixel(0, 0);
    for (int y = 0; y < keyed.height(); ++y) {
        QRgb *line = reinterpret_cast<QRgb *>(keyed.scanLine(y));
        for (int x = 0; x < keyed.width(); ++x)
            if (line[x] == key)
                line[x] = 0;
    }
    QImage work(dw, dh, QImage::Format_ARGB32_Premultiplied);
    work.fill(Qt::transparent);
    QPainter p(&work);
    p.drawImage(QRect(0, 0, width, height), keyed);
    p.end();
    return work;
}

} // namespace rr
