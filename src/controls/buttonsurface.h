#pragma once
// The button's off-screen drawing surface, with the pixel rules its drawing is
// written for (they differ from QPainter's own):
//  - a rectangle (left, top, right, bottom) covers the pixels left..right-1 and
//    top..bottom-1; its outline is drawn in the pen, its inside in the brush;
//  - a line from p to q leaves out its end pixel q;
//  - a region frame is the one-pixel ring of the region's own pixels along its edge;
//  - every drawing call honours the clip region, set pixels included.
// Pens and brushes are plain colours selected in, as on a device context; resetting
// them gives back the black pen and brush the surface started with.
#include <QFont>
#include <QImage>
#include <QRegion>
#include <optional>

namespace rr
{

class ButtonSurface
{
public:
    void resize(const QSize &size);
    void setImage(const QImage &image) { m_image = image.convertToFormat(QImage::Format_RGB32); }
    bool isNull() const { return m_image.isNull(); }
    int width() const { return m_image.width(); }
    int height() const { return m_image.height(); }
    const QImage &image() const { return m_image; }

    void setClip(const std::optional<QRegion> &clip) { m_clip = clip; }
    void clearClip() { m_clip.reset(); }
    const std::optional<QRegion> &clip() const { return m_clip; }

    void selectBrush(quint32 colour) { m_brush = colour; }
    // style 0 solid, 2 dotted.
    void selectPen(quint32 colour, int style = 0)
    {
        m_pen = colour;
        m_penStyle = style;
    }
    void resetPenAndBrush();
    quint32 pen() const { return m_pen; }
    void setTextColor(quint32 colour) { m_textColour = colour; }
    quint32 textColor() const { return m_textColour; }

    void rectangle(int left, int top, int right, int bottom);
    // One polyline through the points in the current pen, the last point left out.
    void polyline(const QPoint *points, int count);
    void setPixel(int x, int y, quint32 colour);
    quint32 pixel(int x, int y) const;
    void frameRegion(const QRegion &region, quint32 colour);
    // Ellipse outline in the current pen (the flat style's design-time outline).
    void ellipseOutline(const QRect &bounds);
    // A dotted focus rectangle that inverts what lies under it.
    void focusRect(const QRect &rect);
    // Word-wrapped text at the top of rect; "&" marks the access key.
    void drawText(const QRect &rect, int alignment, const QString &text, const QFont &font);
    // Source-over drawing of an image at a point, clipped.
    void drawImage(const QPoint &at, const QImage &image);
    // Where the source is white the surface stays; every other source pixel shows the
    // brush, which gives a one-colour silhouette of a picture.
    void maskedPattern(const QPoint &at, const QImage &source, quint32 brush);

private:
    bool visible(int x, int y) const;
    void plot(int x, int y, quint32 colour);
    void fill(const QRect &rect, quint32 colour);

    QImage m_image;
    std::optional<QRegion> m_clip;
    quint32 m_brush = 0;
    quint32 m_pen = 0;
    int m_penStyle = 0;
    int m_dotPhase = 0;
    quint32 m_textColour = 0;
};

// Pixels of a picture within 3 per channel (alpha included) of its top-left pixel are
// its background: they are set to exactly that colour and their region is returned.
// Only the picture's own rows and columns are read.
QRegion keyBackground(QImage &picture);

// The pixel set grown by one pixel on every side.
QRegion dilateRegion(const QRegion &region);
// The pixel set without its one-pixel ring along the edge (what a region frame paints).
QRegion erodeRegion(const QRegion &region);

} // namespace rr
