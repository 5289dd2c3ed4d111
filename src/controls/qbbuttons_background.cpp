// The face of every style (plain, shaded or gradient), the three rings of edge lines
// and the focus outline, all drawn on the button's surface.
#include "controls/buttoncolors.h"
#include "controls/buttonsurface.h"
#include "controls/qbbuttons_h.h"

#include <QScreen>
#include <cmath>
#include <vector>

namespace rr
{

using namespace buttoncolors;

namespace
{

// The ramp from one colour to another in as many steps as the list holds. A list of
// one entry cannot step and keeps its initial black.
void gradientColorSteps(std::vector<quint32> &list, quint32 from, quint32 to)
{
    if (list.empty())
        return;
    float red = float(from & 255);
    float green = float(from & 65280) / 255.0f;
    float blue = float(from & 16711680) / 65280.0f;
    const float toRed = float(to & 255);
    const float toGreen = float(roundEven(double(to & 65280) / 255.0));
    const float toBlue = float(roundEven(double(to & 16711680) / 65280.0));
    const int upper = int(list.size()) - 1;
    if (upper == 0)
        return;
    const float stepRed = (toRed - red) / float(upper);
    const float stepGreen = (toGreen - green) / float(upper);
    const float stepBlue = (toBlue - blue) / float(upper);
    list[0] = from;
    auto clampF = [](float v) { return v > 255.0f ? 255.0f : v < 0.0f ? 0.0f : v; };
    for (int k = 1; k <= upper; ++k) {
        red = clampF(red + stepRed);
        green = clampF(green + stepGreen);
        blue = clampF(blue + stepBlue);
        list[size_t(k)] =
            quint32(std::floor(green)) * 256 + quint32(std::floor(red)) + quint32(std::floor(blue)) * 65536;
    }
}

} // namespace

void qbButtons_H::drawRectangle(int left, int top, int right, int bottom, quint32 fill)
{
    m_surface->selectPen(fill);
    m_surface->selectBrush(fill);
    m_surface->rectangle(left, top, right, bottom);
}

void qbButtons_H::drawButtonBackground(quint32 faceColour, int &drawState, int &drawResult, qint64 &gradientColour,
                                       qint64 &hoverColour)
{
    drawResult = frameButtonRegion();
    if (drawResult == 0)
        return;
    const int W = width0(), H = height0();
    drawState = pressedLook() ? 2 : defaultLook() ? 1 : 0;
    if (hoverColour < 0)
        hoverColour = faceColour;
    const bool notShownDown = (m_mode == 0 && !pressedLook()) || (m_mode > 0 && !m_value);
    const quint32 fill = m_hoverActive && notShownDown ? quint32(hoverColour) : faceColour;

    if (m_gradientMode != 0 && !m_value && m_buttonShape < 7) {
        if (m_hoverActive && !pressedLook() && m_gradientColor != m_hoverBackColor) {
            drawRectangle(0, 0, W, H, quint32(hoverColour));
        } else {
            if (gradientColour < 0)
                gradientColour = faceColour;
            gradientFill(faceColour, quint32(gradientColour));
        }
        return;
    }
    if (m_buttonStyle == 2 && (isEnabled() || m_mode > 0)) {
        // Shaded face: each row a little darker, down to -25 at the bottom row.
        if (H < 1)
            return;
        const int rows = H;
        for (int i = 0; i <= rows; ++i) {
            const int offset = roundEven(-(25.0f / float(H)) * float(i));
            drawRectangle(0, i, W, i + 1, shade(fill, offset, true));
        }
        return;
    }
    drawRectangle(0, 0, W, H, fill);
}

void qbButtons_H::gradientFill(quint32 colourA, quint32 colourB)
{
    const int W = width0(), H = height0();
    const bool vertical = m_gradientMode == 3 || m_gradientMode == 4;
    const int axis = vertical ? H : W;
    if (axis < 1)
        return;
    const QScreen *s = screen();
    const QSize screenSize = s ? s->geometry().size() : QSize(1024, 768);
    const int screenAxis = vertical ? screenSize.height() : screenSize.width();
    // A button over a quarter of the screen long is ramped in two-pixel bands.
    int band = 1;
    int count = axis;
    if (screenAxis / axis < 4) {
        band = 2;
        count = axis / 2;
    }
    if (count < 1)
        return;
    std::vector<quint32> colours(size_t(count), 0);
    gradientColorSteps(colours, colourA, colourB);
    const bool reversed = m_gradientMode == 2 || m_gradientMode == 4;
    for (int i = 0; i < count; ++i) {
        const quint32 colour = colours[size_t(reversed ? count - 1 - i : i)];
        if (vertical)
            drawRectangle(0, i * band, W, i * band + band, colour);
        else
            drawRectangle(i * band, 0, i * band + band, H, colour);
    }
}

void qbButtons_H::drawBevelEdges(RendererTables &t, int outerPenStyle)
{
    const int W = width0(), H = height0();
    const bool slanted = m_buttonShape >= 1 && m_buttonShape <= 3;
    const int a = slanted && m_buttonShape != 2 ? 1 : 0;
    const int c = slanted && m_buttonShape != 1 ? 1 : 0;
    const int L = m_shapeInset, R = m_shapeRight;
    auto &p = t.points;
    p[0] = {L + 2 - 4 * a, H - 3};
    p[1] = {2 * a + 2, 2};
    p[2] = {R - 3 + 3 * c, 2};
    p[3] = {W - 3 - 3 * c, H - 3};
    p[4] = {L + 1 - 4 * a, H - 3};
    p[5] = p[0] + QPoint(a - 1, 1);
    p[6] = p[1] + QPoint(-a - 1, -1);
    p[7] = p[2] + QPoint(1 - c, -1);
    p[8] = p[3] + QPoint(c + 1, 1);
    p[9] = p[4] + QPoint(-1, 1);
    p[10] = {L - a, H - 1 + a};
    p[11] = {0, 0};
    p[12] = {R - 1 + c, 0};
    p[13] = {W - 1, H - 1 + c};
    p[14] = {L - 1 - 2 * a, H - 1};

    static constexpr int segments[12][2] = {{0, 1}, {1, 2}, {2, 3},  {3, 4},   {5, 5},   {6, 6},
                                            {7, 7}, {8, 8}, {10, 9}, {11, 10}, {12, 11}, {13, 12}};
    qint64 lastColour = -1;
    for (const auto &segment : segments) {
        const int j = segment[0];
        const qint64 colour = t.colours[size_t(segment[1])];
        if (colour < 0)
            continue;
        if (colour != lastColour) {
            const int style = j >= 10 && outerPenStyle >= 0 ? outerPenStyle : 0;
            m_surface->selectPen(quint32(colour), style);
            lastColour = colour;
        }
        const QPoint line[2] = {p[size_t(j)], p[size_t(j + 1)]};
        m_surface->polyline(line, 2);
    }
    if (W != c) {
        p[15] = {W - 1, H - 1};
        const QPoint line[2] = {p[14], p[15]};
        m_surface->polyline(line, 2);
    }
}

void qbButtons_H::drawFocusOutline(qint64 outlineColour, bool solid, bool ellipse, RendererTables &t)
{
    if (!defaultLook() || m_buttonShape > 6)
        return;
    if (m_buttonShape >= 4) {
        if (m_buttonStyle == 2)
            return;
        ellipse = true;
    }
    const int W = width0(), H = height0();
    const int L = m_shapeInset, R = m_shapeRight;
    auto &p = t.points;
    if (outlineColour < 0)
        outlineColour = 0;
    m_surface->selectPen(quint32(outlineColour));
    if (m_buttonShape >= 1 && m_buttonShape <= 3) {
        const int a = m_shapeInset != 0 ? 1 : 0;
        const int c = W > m_shapeRight ? 1 : 0;
        p[0] = {L + 4 - 6 * a, H - 5};
        p[1] = {4 * a + 4, 4};
        p[2] = {R - 5 + 4 * c, 4};
        p[3] = {W - 5 - 6 * c, H - 5};
        p[4] = {L + 3 - 4 * a, H - 5};
        m_surface->polyline(p.data(), 5);
        return;
    }
    int left, top, right, bottom;
    if (!ellipse) {
        left = L + 4;
        top = 4;
        right = R - 4;
        bottom = H - 4;
    } else {
        QRect base = m_caption.isEmpty() ? m_pictureRect : m_captionRect;
        left = base.x();
        top = base.y();
        right = base.x() + base.width();
        bottom = base.y() + base.height();
        if (m_caption.isEmpty()) {
            bottom = qMin(bottom, H - 4);
            right = qMin(right, W - 4);
        }
        const int m = right >= m_shapeRight - 4 || left <= m_shapeInset + 4 ? 1 : 2;
        const int down = (m_value || pressedLook()) && m_buttonStyle != 3 ? 1 : 0;
        const int q = m_buttonShape < 4 ? down : 0;
        left += q - m;
        right += q - m + 2 * m + q;
        top += down - m;
        bottom += down - m + 2 * m + down;
    }
    if (!solid) {
        m_surface->focusRect(QRect(left, top, right - left, bottom - top));
        return;
    }
    p[0] = {left, top};
    p[1] = {right - 1, top};
    p[2] = {right - 1, bottom - 1};
    p[3] = {left, bottom - 1};
    p[4] = {left, top};
    m_surface->polyline(p.data(), 5);
}

} // namespace rr
