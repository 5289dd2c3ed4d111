#pragma once
// The columns of a report list, sized to what they show. The first time the list is
// on screen with rows in it, the width each column's texts need (its caption
// included) is measured, and every column whose width nobody chose gets it, within
// the width the list has: when the texts need more, the narrow columns get their
// width and the wide ones share the rest. As the list grows or shrinks with its
// window, the same measures are shared out again. A width the user sets by dragging a
// column's edge, or one restored from the settings, is kept and never changed.
#include <QMap>
#include <QObject>
#include <QSet>

class QTreeWidget;

namespace rr
{

class ColumnFit : public QObject
{
    Q_OBJECT
public:
    // Watches list (and is owned by it).
    explicit ColumnFit(QTreeWidget *list);
    // The fit attached to list, or nullptr.
    static ColumnFit *of(const QTreeWidget *list);

    // The column's present width was given to it (restored from the settings): keep it.
    void keepWidth(int column);
    // The column's present width is only a share of the list: the fit may change it.
    void releaseWidth(int column);
    // Whether somebody chose the column's width (and so it is worth storing).
    bool isKept(int column) const { return m_kept.contains(column); }
    bool fitted() const { return m_fitted; }

    // Measures and sizes the columns now if the list is shown with rows and was not
    // measured before.
    void fitIfDue();

    // The widths for columns wanting desired pixels within room pixels: each gets
    // what it wants when all fit; otherwise the narrow ones do and the rest share
    // equally what is left, never less than minimum.
    static QList<int> shareOut(const QList<int> &desired, int room, int minimum);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    // Whether the header itself gave the column its size: the last one shown, stretched
    // to the list's edge.
    bool isStretchedByHeader(int column, int size) const;
    void queueFit();
    void queueShare();
    void measure();
    void share();

    QTreeWidget *m_list;
    QSet<int> m_kept;
    // What each column's texts need, as measured at the first showing.
    QMap<int, int> m_needed;
    bool m_fitted = false;
    bool m_queued = false;
    bool m_shareQueued = false;
    bool m_sizing = false;
};

} // namespace rr
