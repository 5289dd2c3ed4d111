// The eight looks of the button. Each paints face, caption and picture, up to three
// rings of edge lines, corner pixels and the focus outline on the surface; they share
// one frame and differ in their colours. Colour table entries 1..4 are the inner ring
// (left, top, right, bottom), 5..8 the middle ring, 9..12 the outer ring; -1 leaves
// that line undrawn.
#include "controls/buttoncolors.h"
#include "controls/buttonsurface.h"
#include "controls/qbbuttons_h.h"

namespace rr
{

using namespace buttoncolors;

namespace
{

constexpr qint64 kNone = -1;
constexpr quint32 kBlack = 0;

quint32 dark(quint32 colour, int by, bool proportional = false)
{
    return shade(colour, -by, proportional);
}

quint32 light(quint32 colour, int by, bool proportional = false)
{
    return shade(colour, by, proportional);
}

void setRing(std::array<qint64, 13> &c, int first, qint64 left, qint64 top, qint64 right, qint64 bottom)
{
    c[size_t(first)] = left;
    c[size_t(first + 1)] = top;
    c[size_t(first + 2)] = right;
    c[size_t(first + 3)] = bottom;
}

} // namespace

void qbButtons_H::shapeTail(RendererTables &t, int &drawResult)
{
    if ((m_buttonShape == 6 && (m_hoverActive || pressedLook())) || m_buttonShape >= 7)
        t.colours[12] = kBlack;
    else
        drawResult = 1;
}

void qbButtons_H::drawStyleCommon(int style, RendererTables &t, int &drawState, int &drawResult)
{
    const quint32 face = m_mode != 0 && m_value ? m_highlightColor : m_faceColor;
    qint64 gradient = translateColor(m_gradientColor);
    qint64 hover = m_hoverFaceColor;
    drawButtonBackground(face, drawState, drawResult, gradient, hover);
    if (drawResult == 0)
        return;
    qint64 outline = !isEnabled() && m_mode > 0 ? qint64(kGrey) : kNone;
    bool skipGreyPass = m_mode > 0;
    drawButtonCaption(face, outline, m_value, skipGreyPass);
    const bool latched = (m_showPressed && m_mode > 0) || m_value;
    const bool pressed = pressedLook();
    const bool designTime = !m_userMode;
    auto &c = t.colours;

    if (style == 5) {
        outline = m_buttonShape > 0 && !(m_mode != 0 && m_value) ? qint64(dark(m_containerBackColor, 32)) : 0;
        if (designTime && m_buttonShape >= 4 && m_buttonShape <= 6) {
            m_surface->clearClip();
            m_surface->selectPen(dark(m_containerBackColor, 32), 2);
            m_surface->ellipseOutline(QRect(0, 0, width0() - 1, height0() - 1));
            m_surface->setClip(m_innerRegion);
        }
        if (m_buttonShape < 4) {
            setRing(c, 1, kNone, kNone, kNone, kNone);
            setRing(c, 5, kNone, kNone, kNone, kNone);
            if (pointerOver() || m_value) {
                if (latched)
                    drawState = 2;
                drawState = qMax(drawState, 1);
                if (drawState == 1)
                    setRing(c, 9, kWhite, kWhite, kGrey, kGrey);
                else
                    setRing(c, 9, kGrey, kGrey, kWhite, kWhite);
            } else if (designTime) {
                quint32 edge = dark(m_containerBackColor, 64);
                if (edge == kBlack)
                    edge = kWhite;
                setRing(c, 9, edge, edge, edge, edge);
            } else {
                setRing(c, 9, kNone, kNone, kNone, kNone);
            }
            drawBevelEdges(t, designTime ? 2 : 0);
            c[12] = kBlack;
        } else {
            shapeTail(t, drawResult);
        }
        drawFocusOutline(outline, m_value, false, t);
        return;
    }

    if (m_buttonShape < 4) {
        if (m_buttonShape >= 1)
            outline = dark(face, 48);
        switch (style) {
        case 0: {
            quint32 lightColour = pressed ? face : rgb(233, 233, 233);
            if (latched) {
                drawState = 3;
                lightColour = rgb(233, 233, 233);
                outline = kBlack;
            }
            const qint64 L = lightColour, G = kGrey, W = kWhite, B = kBlack;
            setRing(c, 1, drawState == 1 ? L : kNone, drawState == 1 ? L : kNone, drawState == 1 ? G : kNone,
                    drawState == 1 ? G : kNone);
            const qint64 middleLT = drawState == 0 ? L : drawState == 1 ? W : kNone;
            const qint64 middleRB = drawState == 0 ? G : drawState == 1 ? B : drawState == 2 ? G : L;
            setRing(c, 5, middleLT, middleLT, middleRB, middleRB);
            if (latched)
                setRing(c, 9, B, B, W, W);
            else if (defaultLook())
                setRing(c, 9, B, B, B, B);
            else
                setRing(c, 9, W, W, B, B);
            break;
        }
        case 1:
            if (latched) {
                drawState = 2;
                outline = kBlack;
            } else {
                drawState = qMax(drawState, 1);
            }
            if (drawState == 2)
                setRing(c, 1, kGrey, kGrey, kWhite, kWhite);
            else
                setRing(c, 1, kWhite, kWhite, kGrey, kGrey);
            setRing(c, 5, c[1], c[2], c[3], c[4]);
            setRing(c, 9, kBlack, kBlack, kBlack, kBlack);
            break;
        case 4:
            setRing(c, 1, kNone, kNone, kNone, kNone);
            setRing(c, 5, kNone, kNone, kNone, kNone);
            if (latched) {
                drawState = 2;
                outline = kBlack;
            } else {
                drawState = qMax(drawState, 1);
            }
            if (drawState == 2)
                setRing(c, 9, kGrey, kGrey, kWhite, kWhite);
            else
                setRing(c, 9, kWhite, kWhite, kGrey, kGrey);
            break;
        case 6: {
            const quint32 L = light(rgb(223, 223, 223), 8);
            setRing(c, 1, kNone, kNone, kNone, kNone);
            if (latched) {
                outline = kBlack;
                drawState = 1;
            } else {
                drawState = pressed ? 1 : 0;
                if (m_buttonShape > 0)
                    outline = dark(face, 48);
            }
            if (drawState == 0) {
                setRing(c, 5, L, L, kGrey, kGrey);
                setRing(c, 9, L, L, kGrey, kGrey);
            } else {
                setRing(c, 5, kGrey, kGrey, L, L);
                setRing(c, 9, kGrey, kGrey, L, L);
            }
            break;
        }
        default:
            break;
        }
        drawBevelEdges(t, -1);
    }
    shapeTail(t, drawResult);
    drawFocusOutline(outline, m_value, false, t);
}

void qbButtons_H::drawStyle2(RendererTables &t, int &drawState, int &drawResult)
{
    const bool enabled = isEnabled();
    const bool pressed = pressedLook();
    const quint32 F = m_mode > 0 && m_value ? m_highlightColor : m_faceColor;
    quint32 K = F;
    if (m_mode == 0) {
        if (pressed && m_gradientMode == 0)
            K = m_shadowColor;
        else if (!enabled)
            K = dark(F, 24, true);
    }
    const qint64 captionColour = enabled ? 0 : qint64(dark(K, 104, true));
    qint64 gradient =
        m_gradientMode != 0 && m_buttonShape < 7 ? qint64(light(translateColor(m_gradientColor), 48, true)) : qint64(K);
    qint64 hover = m_hoverFaceColor;
    drawButtonBackground(K, drawState, drawResult, gradient, hover);
    if (drawResult == 0)
        return;
    bool skipGreyPass = true;
    drawButtonCaption(K, captionColour, m_value, skipGreyPass);
    auto &c = t.colours;
    if (m_buttonShape >= 4) {
        if (defaultLook() && !m_hoverActive)
            c[12] = rgb(107, 130, 239);
        else if (m_hoverActive)
            c[12] = rgb(231, 150, 0);
        else
            drawResult = 1;
        return;
    }
    quint32 frame;
    if (!enabled) {
        setRing(c, 1, kNone, kNone, kNone, kNone);
        setRing(c, 5, kNone, kNone, kNone, kNone);
        frame = dark(F, 84, true);
    } else {
        const bool latched = (m_showPressed && m_mode > 0) || m_value;
        if (latched)
            drawState = defaultLook() ? 1 : 2;
        if (pointerOver() && !(m_stateFlags & kHeldDown))
            drawState = 3;
        else if (drawState == 1 && !m_showFocusRect)
            drawState = 0;
        switch (drawState) {
        case 1:
            setRing(c, 1, rgb(181, 209, 240), rgb(189, 215, 247), rgb(181, 209, 240), rgb(140, 174, 231));
            setRing(c, 5, rgb(140, 174, 231), rgb(191, 223, 255), rgb(140, 174, 231), rgb(107, 130, 239));
            break;
        case 2:
            setRing(c, 1, dark(F, 22, true), dark(F, 24, true), F, light(F, 10, true));
            setRing(c, 5, dark(F, 32, true), dark(F, 32, true), light(F, 5, true), light(F, 16, true));
            break;
        case 3:
            setRing(c, 1, rgb(255, 203, 107), rgb(255, 219, 140), rgb(255, 203, 107), rgb(255, 178, 49));
            setRing(c, 5, rgb(255, 178, 49), rgb(255, 233, 166), rgb(255, 178, 49), rgb(231, 150, 0));
            break;
        default:
            setRing(c, 1, dark(F, 10, true), light(F, 10, true), dark(F, 24, true), dark(F, 32, true));
            setRing(c, 5, dark(F, 5, true), light(F, 16, true), dark(F, 36, true), dark(F, 48, true));
            break;
        }
        frame = rgb(0, 60, 115);
    }
    setRing(c, 9, frame, frame, frame, frame);
    drawBevelEdges(t, -1);
    const int W = width0(), H = height0();
    if (m_shapeInset == 0) {
        m_surface->setPixel(1, H - 2, frame);
        m_surface->setPixel(1, 1, frame);
    }
    if (W == m_shapeRight) {
        m_surface->setPixel(W - 2, H - 2, frame);
        m_surface->setPixel(W - 2, 1, frame);
    }
}

void qbButtons_H::drawStyle3(RendererTables &t, int &drawState, int &drawResult)
{
    const bool enabled = isEnabled();
    quint32 face = m_faceColor;
    if (m_mode == 0 && pressedLook())
        face = m_shadowColor;
    else if (m_mode > 0 && m_value)
        face = m_highlightColor;
    qint64 gradient = translateColor(m_gradientColor);
    qint64 hover = m_hoverFaceColor;
    drawButtonBackground(face, drawState, drawResult, gradient, hover);
    if (drawResult == 0)
        return;
    const qint64 captionColour = enabled ? qint64(kGrey) : qint64(dark(kGrey, 16));
    bool skipGreyPass = true;
    drawButtonCaption(face, captionColour, false, skipGreyPass);
    auto &c = t.colours;
    if (m_buttonShape < 4) {
        const quint32 D = dark(kGrey, 26);
        if (!enabled && m_mode == 0) {
            setRing(c, 1, face, face, face, face);
            setRing(c, 5, face, face, face, face);
            setRing(c, 9, D, D, D, D);
        } else {
            setRing(c, 1, kNone, kNone, kNone, kNone);
            if (m_mode > 0)
                drawState = !m_value && !m_showPressed ? 3 : 2;
            drawState = qMax(drawState, 1);
            const qint64 upper = drawState == 2 ? qint64(face) : qint64(kWhite);
            setRing(c, 5, upper, upper, D, D);
            setRing(c, 9, D, D, kWhite, kWhite);
        }
        drawBevelEdges(t, -1);
    }
    shapeTail(t, drawResult);
    drawFocusOutline(rgb(153, 153, 204), true, true, t);
}

void qbButtons_H::drawStyle7(RendererTables &t, int &drawState, int &drawResult)
{
    const bool enabled = isEnabled();
    const bool pressed = pressedLook();
    quint32 F = m_faceColor;
    qint64 outline = kNone;
    if (m_mode == 0) {
        if (pressed)
            F = m_shadowColor;
        if (m_buttonShape > 0)
            outline = dark(F, 64);
    } else if (m_value) {
        F = m_highlightColor;
        outline = dark(kGrey, 32);
    }
    qint64 gradient = F;
    if (!m_value && m_gradientMode != 0) {
        gradient = light(translateColor(m_gradientColor), 31);
        if (pressed)
            F = m_faceColor;
    }
    qint64 captionColour = kNone;
    if ((pressed && m_mode == 0) || m_value)
        captionColour = !enabled && m_value ? qint64(dark(F, 32, true)) : qint64(m_faceColor);
    else if (!enabled && !m_value && m_mode > 0)
        captionColour = kGrey;
    else if (enabled)
        captionColour = translateColor(m_foreColor);

    qint64 hover = m_hoverFaceColor;
    drawButtonBackground(F, drawState, drawResult, gradient, hover);
    if (drawResult == 0)
        return;
    const quint32 keptHoverFore = m_hoverForeColor;
    if (captionColour >= 0 && (m_foreColor == m_hoverForeColor || m_value))
        m_hoverForeColor = quint32(captionColour);
    bool skipGreyPass = m_mode > 0;
    drawButtonCaption(F, captionColour, m_value, skipGreyPass);
    m_hoverForeColor = keptHoverFore;

    auto &c = t.colours;
    if (m_buttonShape < 4) {
        const bool latched = (m_showPressed && m_mode > 0) || m_value;
        if (latched)
            drawState = m_value ? 2 : 0;
        if (drawState == 2) {
            const quint32 P = m_gradientMode != 0 ? m_faceColor : kGrey;
            setRing(c, 1, dark(P, 32), dark(P, 32), P, P);
            setRing(c, 5, dark(P, 64), dark(P, 64), dark(P, 16), dark(P, 16));
        } else {
            setRing(c, 1, kWhite, kWhite, F, F);
            const quint32 up = light(F, 31, true), down = dark(F, 64, true);
            setRing(c, 5, up, up, down, down);
        }
        setRing(c, 9, kBlack, kBlack, kBlack, kBlack);
        drawBevelEdges(t, -1);
        const int W = width0(), H = height0();
        if (m_shapeInset == 0) {
            m_surface->setPixel(3, 3, quint32(c[1]));
            m_surface->setPixel(1, H - 3, quint32(c[3]));
            m_surface->setPixel(2, 2, quint32(c[5]));
            m_surface->setPixel(1, H - 2, kBlack);
            m_surface->setPixel(1, 1, kBlack);
        }
        if (W == m_shapeRight) {
            m_surface->setPixel(W - 4, H - 4, quint32(c[3]));
            m_surface->setPixel(W - 3, 1, quint32(c[3]));
            m_surface->setPixel(W - 3, H - 3, quint32(c[7]));
            m_surface->setPixel(W - 2, H - 2, kBlack);
            m_surface->setPixel(W - 2, 1, kBlack);
        }
    }
    shapeTail(t, drawResult);
    drawFocusOutline(outline, m_value, true, t);
}

} // namespace rr
