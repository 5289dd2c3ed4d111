#pragma once
// The main window is laid out in twips, 15 to a pixel, as its geometry rules are
// written. These helpers read and write a widget's geometry in twips; a width or
// height that a rule makes negative is placed as 0.
#include <QWidget>
#include <cmath>

namespace rr::twips
{

inline constexpr int kPerPixel = 15;

inline int toPx(double twips)
{
    return int(std::lround(twips / kPerPixel));
}
inline double fromPx(int px)
{
    return double(px) * kPerPixel;
}
inline int sizeToPx(double twips)
{
    return twips <= 0 ? 0 : toPx(twips);
}

inline double left(const QWidget *w)
{
    return fromPx(w->x());
}
inline double top(const QWidget *w)
{
    return fromPx(w->y());
}
inline double width(const QWidget *w)
{
    return fromPx(w->width());
}
inline double height(const QWidget *w)
{
    return fromPx(w->height());
}

inline void move(QWidget *w, double l, double t, double wd, double h)
{
    w->setGeometry(toPx(l), toPx(t), sizeToPx(wd), sizeToPx(h));
}
inline void setLeft(QWidget *w, double l)
{
    w->move(toPx(l), w->y());
}
inline void setTop(QWidget *w, double t)
{
    w->move(w->x(), toPx(t));
}
inline void setWidth(QWidget *w, double wd)
{
    w->resize(sizeToPx(wd), w->height());
}
inline void setHeight(QWidget *w, double h)
{
    w->resize(w->width(), sizeToPx(h));
}

} // namespace rr::twips
