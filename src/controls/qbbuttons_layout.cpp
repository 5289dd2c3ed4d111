// The button's redraw onto its own surface, the placing of caption and picture, and
// the caption drawing every style renderer calls.
#include "controls/buttoncolors.h"
#include "controls/buttonsurface.h"
#include "controls/qbbuttons_h.h"

#include <QPainter>
#include <QResizeEvent>

namespace rr
{

using namespace buttoncolors;

namespace
{

// A rectangle as left, top, right and bottom, right and bottom exclusive.
struct Box {
    int left = 0, top = 0, right = 0, bottom = 0;
    void offset(int dx, int dy)
    {
        left += dx;
        right += dx;
        top += dy;
        bottom += dy;
    }
    QRect rect() const { return QRect(left, top, right - left, bottom - top); }
    static Box of(const QRect &r) { return {r.x(), r.y(), r.x() + r.width(), r.y() + r.height()}; }
};

} // namespace

int qbButtons_H::width0() const
{
    return width();
}

int qbButtons_H::height0() const
{
    return height();
}

void qbButtons_H::redrawButton()
{
    if (m_delayDrawing)
        return;
    // A button without pixels has nothing to show (and no face to divide by).
    if (m_surface->isNull() || width0() < 1 || height0() < 1)
        return;
    RendererTables tables;
    int drawState = 0;
    int drawResult = 0;
    switch (m_buttonStyle) {
    case 0:
    case 1:
    case 4:
    case 5:
    case 6:
        drawStyleCommon(m_buttonStyle, tables, drawState, drawResult);
        break;
    case 2:
        drawStyle2(tables, drawState, drawResult);
        break;
    case 3:
        drawStyle3(tables, drawState, drawResult);
        break;
    case 7:
        drawStyle7(tables, drawState, drawResult);
        break;
    default:
        break;
    }
    qint64 outline = tables.colours[12];
    if (drawResult == 0)
        return;
    prepareDrawBuffer(false);

    // Shaped buttons get their outline on the shown picture itself.
    if (drawResult > 1 && m_buttonShape >= 4) {
        std::optional<QRegion> ring;
        if (m_buttonShape <= 6) {
            if (m_buttonStyle == 2 && !pressedLook())
                ring = m_faceRegion;
            else if (m_buttonShape == 6)
                ring = m_windowRegion;
        } else if (m_hoverActive && !pressedLook()) {
            if (m_buttonStyle != 2)
                outline = m_hoverFaceColor;
            if (quint32(outline) != translateColor(m_backColor) || m_buttonStyle == 2)
                ring = m_windowRegion;
        } else if (defaultLook()) {
            ring = m_buttonShape == 8 ? m_innerRegion : m_faceRegion;
            if (m_value && m_buttonStyle != 2)
                outline = shade(m_faceColor, -32);
        }
        if (ring && !ring->isEmpty()) {
            ButtonSurface shown;
            shown.setImage(m_shown);
            shown.frameRegion(*ring, quint32(outline));
            m_shown = shown.image();
        }
    }
    update();
}

void qbButtons_H::prepareDrawBuffer(bool create)
{
    if (create) {
        if (m_surface->width() != width0() || m_surface->height() != height0())
            m_surface->resize(QSize(width0(), height0()));
        m_surface->resetPenAndBrush();
        applyPropertyChange(QStringLiteral("Font"));
        return;
    }
    m_shown = m_surface->image().copy();
    update();
}

void qbButtons_H::userControlResize()
{
    prepareDrawBuffer(true);
    if (m_delayDrawing)
        return;
    createButtonRegion();
    // A shape may have resized the button; the surface follows its final size.
    prepareDrawBuffer(true);
    layoutCaptionAndPicture();
    redrawButton();
}

void qbButtons_H::resizeEvent(QResizeEvent *event)
{
    QAbstractButton::resizeEvent(event);
    userControlResize();
}

void qbButtons_H::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    if (m_shown.isNull()) {
        p.fillRect(rect(), toQColor(translateColor(m_backColor)));
        return;
    }
    p.drawImage(0, 0, m_shown);
}

void qbButtons_H::layoutCaptionAndPicture(bool rebuildPicture)
{
    const int W = width0(), H = height0();
    const int A = m_shapeInset, B = m_shapeRight;
    const bool picture = hasPicture();
    const int PS = pictureSizePx();

    int L = 0, S = B, X = W;
    switch (m_buttonShape) {
    case 1:
        L = A - A / 3 + 3;
        S = W - L;
        X = W;
        break;
    case 2:
        L = 0;
        S = (W - B) / 3 + B;
        X = S;
        break;
    case 3:
        L = A - A / 3 + 3;
        X = (W - B) / 3 + B;
        S = X - L;
        break;
    case 7:
    case 8:
        L = 3;
        S = B - 3;
        X = B - 3;
        break;
    default:
        break;
    }

    int PL = 0, PR = 0, PT = 0, PB = 0;
    if (picture && PS <= 32) {
        switch (m_pictureAlign) {
        case 0:
        case 1:
            PL = PS;
            break;
        case 2:
        case 3:
            PR = PS;
            break;
        case 4:
            PT = PS;
            break;
        case 5:
            PB = PS;
            break;
        default:
            break;
        }
    }

    Box caption;
    int CW = 0, CH = 0;
    if (!m_caption.isEmpty()) {
        const int maxW = S - 8 - (PL + PR);
        const int maxH = H - 8 - (PT + PB);
        const QRect measured = QFontMetrics(font()).boundingRect(
            QRect(0, 0, qMax(maxW, 1), qMax(maxH, 1)),
            Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap | Qt::TextShowMnemonic, displayCaption());
        CW = measured.x() + measured.width();
        CH = measured.y() + measured.height();
        if (m_captionStyle != 0) {
            CW += 2;
            CH += 2;
        }
        caption = {0, 0, CW, CH};
        int dx = 0;
        switch (m_captionAlign) {
        case 0:
            dx = L + 4 + PL + (PL > 0 ? 4 : 0);
            break;
        case 1:
            dx = X - 4 - PR - CW - (PR > 0 ? 4 : 0);
            break;
        case 2:
            if (PL >= 1 && m_pictureAlign == 1)
                dx = (S - (CW + PL + 4)) / 2 + L + 4 + PL;
            else if (PR >= 1 && m_pictureAlign == 3)
                dx = (S - (CW + PR + 4)) / 2 + L;
            else
                dx = (S - PL - PR - CW) / 2 + L + PL;
            break;
        default:
            break;
        }
        caption.offset(dx, 0);
    }

    int PX = 0, PY = 0;
    if (!picture) {
        caption.offset(0, (H - CH) / 2);
    } else {
        const bool text = !m_caption.isEmpty();
        switch (m_pictureAlign) {
        case 0:
            PX = L + 4;
            break;
        case 1:
            PX = text ? caption.left - 4 - PL : L + 4;
            break;
        case 2:
            PX = X - 4 - PR;
            break;
        case 3:
            PX = text ? caption.right + 4 : X - 4 - PR;
            break;
        case 4:
            PY = (H - (CH + PT)) / 2;
            caption.offset(0, PY + 2 + PT);
            break;
        case 5: {
            const int D = (H - (CH + PB)) / 2;
            PY = D + CH + 4;
            caption.offset(0, D + 2);
            break;
        }
        default:
            break;
        }
        if (m_pictureAlign >= 4) {
            PX = (S - PS) / 2 + L;
        } else {
            caption.offset(0, (H - CH) / 2);
            PY = (H - PS) / 2;
        }
    }
    auto clampBox = [&](Box &b) {
        b.top = qMax(b.top, 4);
        b.left = qMax(b.left, L + 4);
        b.right = qMin(b.right, X - 4);
        b.bottom = qMin(b.bottom, H - 5);
    };
    clampBox(caption);
    m_captionRect = caption.rect();

    Box pic{PX, PY, PX + PS, PY + PS};
    if (PS == 40) {
        pic = m_buttonShape == 6 ? Box{1, 1, W - 1, H - 1} : Box{3, 3, W - 3, H - 3};
        rebuildPicture = true;
    } else if (PS == 48 && m_buttonShape < 7 && picture) {
        const QSize fit = fitPictureSize(S - 12, H - 12);
        PX = (S - fit.width()) / 2 + L;
        PY = (H - fit.height()) / 2;
        pic = {PX, PY, PX + fit.width(), PY + fit.height()};
        rebuildPicture = true;
    } else if (PS == 48 && m_buttonShape >= 7) {
        pic = {0, 0, W, H};
    } else if (PS <= 32) {
        clampBox(pic);
    }
    m_pictureRect = pic.rect();
    if (rebuildPicture)
        regionFromPicture(pic.right - pic.left, pic.bottom - pic.top, nullptr);
}

void qbButtons_H::drawButtonCaption(quint32 baseColour, qint64 textColour, bool pressed, bool &skipGreyPass)
{
    Box caption = Box::of(m_captionRect);
    Box picture = Box::of(m_pictureRect);
    if ((pressed || pressedLook()) && m_buttonStyle != 3) {
        const int dx = m_buttonShape <= 3 ? 1 : 0;
        caption.offset(dx, 1);
        picture.offset(dx, 1);
    }
    if (!(m_value && m_buttonShape >= 7))
        drawButtonPicture(picture.rect());
    if (m_caption.isEmpty() || (m_buttonShape > 4 && !m_value))
        return;
    const QString text = displayCaption();
    const int align = m_captionAlign == 0 ? Qt::AlignLeft : m_captionAlign == 1 ? Qt::AlignRight : Qt::AlignHCenter;
    const bool enabled = isEnabled();
    auto draw = [&](const Box &at, quint32 colour) {
        m_surface->setTextColor(translateColor(colour));
        m_surface->drawText(at.rect(), align, text, font());
    };

    quint32 colour = 0;
    if (enabled) {
        if (m_hoverActive && !pressedLook())
            colour = m_hoverForeColor;
        else if (m_gradientMode != 0 && !m_value)
            colour = m_foreColor;
        else if (m_buttonStyle == 7 && textColour >= 0)
            colour = quint32(textColour);
        else
            colour = m_foreColor;
        if (m_captionStyle != 0) {
            const int k = m_captionStyle == 2 ? 40 : -40;
            Box b = caption;
            b.offset(-1, 0);
            draw(b, shade(baseColour, k));
            b = caption;
            b.offset(1, 2);
            draw(b, shade(baseColour, -k));
            caption.offset(0, 1);
        }
    } else if (textColour < 0 || m_gradientMode != 0) {
        colour = kWhite;
        caption.offset(1, 1);
        skipGreyPass = false;
    } else {
        colour = quint32(textColour);
    }
    draw(caption, colour);
    if (!enabled && !skipGreyPass) {
        caption.offset(-1, -1);
        draw(caption, kGrey);
    }
}

QSize qbButtons_H::sizeHint() const
{
    const QFontMetrics fm(font());
    const QSize text = fm.size(Qt::TextShowMnemonic, displayCaption());
    QSize size = text;
    if (hasPicture()) {
        const int edge = qMin(pictureSizePx(), 32);
        if (m_pictureAlign >= 4)
            size = QSize(qMax(text.width(), edge), text.height() + edge + 4);
        else
            size = QSize(text.width() + edge + 4, qMax(text.height(), edge));
    }
    return size + QSize(22, 14);
}

QSize qbButtons_H::minimumSizeHint() const
{
    return QSize(8, 8);
}

} // namespace rr
