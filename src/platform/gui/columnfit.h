#pragma once
// The columns of a report list, sized to what they show. The first time the list is
// on screen with rows in it, every column whose width nobody chose is made as wide as
// its widest text (its caption included), within the width the list has: when the
// texts need more, the narrow columns get their width and the wide ones share the
// rest. A width the user sets by dragging a column's edge, or one restored from the
// settings, is kept and never fitted.
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
    bool isKept(int column) const { return m_kept.contains(column); }
    // Whether the column's width is one somebody chose or the fit made, and so worth
    // storing; a share nobody chose is not.
    bool widthChosen(int column) const { return m_fitted || isKept(column); }
    bool fitted() const { return m_fitted; }

    // Sizes the columns now if the list is shown with rows and was not fitted before.
    void fitIfDue();

    // The widths for columns wanting desired pixels within room pixels: each gets
    // what it wants when all fit; otherwise the narrow ones do and the rest share
    // equally what is left, never less than minimum.
    static QList<int> shareOut(const QList<int> &desired, int room, int minimum);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void queueFit();
    void fit();

    QTreeWidget *m_list;
    QSet<int> m_kept;
    bool m_fitted = false;
    bool m_queued = false;
    bool m_sizing = false;
};

} // namespace rr
