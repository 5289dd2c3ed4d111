#include "platform/gui/columnfit.h"

#include <QEvent>
#include <QHeaderView>
#include <QScrollBar>
#include <QStyle>
#include <QTimer>
#include <QTreeWidget>
#include <algorithm>
#include <numeric>

namespace rr
{

ColumnFit::ColumnFit(QTreeWidget *list) : QObject(list), m_list(list)
{
    setObjectName(QStringLiteral("columnFit"));
    list->installEventFilter(this);
    // Any width change the fit did not make is somebody's choice: the user's drag or
    // double-click on a column's edge, or a width restored from the settings. A header
    // that stretches its last column to the list's edge chooses nothing: that column
    // keeps sharing the width with the others as the list grows and shrinks.
    connect(list->header(), &QHeaderView::sectionResized, this, [this](int column, int, int size) {
        if (!m_sizing && !isStretchedByHeader(column, size))
            m_kept.insert(column);
    });
    connect(list->model(), &QAbstractItemModel::rowsInserted, this, &ColumnFit::queueFit);
}

ColumnFit *ColumnFit::of(const QTreeWidget *list)
{
    return list ? list->findChild<ColumnFit *>(QStringLiteral("columnFit"), Qt::FindDirectChildrenOnly) : nullptr;
}

bool ColumnFit::isStretchedByHeader(int column, int size) const
{
    const QHeaderView *header = m_list->header();
    if (!header->stretchLastSection())
        return false;
    int last = -1;
    int others = 0;
    for (int visual = header->count() - 1; visual >= 0; --visual) {
        const int logical = header->logicalIndex(visual);
        if (header->isSectionHidden(logical))
            continue;
        if (last < 0)
            last = logical;
        else
            others += header->sectionSize(logical);
    }
    // Stretched, the column fills what the others leave of the header.
    return column == last && size == std::max(header->minimumSectionSize(), header->viewport()->width() - others);
}

void ColumnFit::keepWidth(int column)
{
    m_kept.insert(column);
}

void ColumnFit::releaseWidth(int column)
{
    m_kept.remove(column);
}

bool ColumnFit::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_list) {
        if (event->type() == QEvent::Show)
            queueFit();
        else if (event->type() == QEvent::Resize && m_fitted)
            queueShare();
    }
    return false;
}

// A fill adds its rows one by one: the fit waits for the fill to end.
void ColumnFit::queueFit()
{
    if (m_fitted || m_queued)
        return;
    m_queued = true;
    QTimer::singleShot(0, this, [this] {
        m_queued = false;
        fitIfDue();
    });
}

// A window being resized sends many sizes: the columns follow the last.
void ColumnFit::queueShare()
{
    if (m_shareQueued)
        return;
    m_shareQueued = true;
    QTimer::singleShot(0, this, [this] {
        m_shareQueued = false;
        share();
    });
}

void ColumnFit::fitIfDue()
{
    if (m_fitted || !m_list->isVisible() || m_list->topLevelItemCount() == 0)
        return;
    measure();
    share();
}

QList<int> ColumnFit::shareOut(const QList<int> &desired, int room, int minimum)
{
    QList<int> widths(desired.size());
    QList<int> order(desired.size());
    std::iota(order.begin(), order.end(), 0);
    std::stable_sort(order.begin(), order.end(), [&](int a, int b) { return desired[a] < desired[b]; });
    int left = room;
    qsizetype waiting = order.size();
    for (int column : std::as_const(order)) {
        const int share = int(left / waiting);
        widths[column] = std::max(minimum, std::min(desired[column], share));
        left = std::max(0, left - widths[column]);
        --waiting;
    }
    return widths;
}

void ColumnFit::measure()
{
    m_fitted = true;
    QHeaderView *header = m_list->header();
    // The tree hides the view's measure of a column; the view's own one is the same.
    const QAbstractItemView *view = m_list;
    for (int column = 0; column < header->count(); ++column)
        m_needed[column] = std::max(view->sizeHintForColumn(column), header->sectionSizeHint(column));
}

void ColumnFit::share()
{
    QHeaderView *header = m_list->header();
    int room = m_list->viewport()->width();
    // Room is kept for the vertical scroll bar that a longer fill will need.
    if (!m_list->verticalScrollBar()->isVisible() && m_list->verticalScrollBarPolicy() != Qt::ScrollBarAlwaysOff)
        room -= m_list->style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, m_list);
    QList<int> columns;
    QList<int> desired;
    for (int column = 0; column < header->count(); ++column) {
        if (header->isSectionHidden(column))
            continue;
        if (isKept(column)) {
            room -= header->sectionSize(column);
            continue;
        }
        columns << column;
        desired << m_needed.value(column, header->sectionSize(column));
    }
    if (columns.isEmpty())
        return;
    const QList<int> widths = shareOut(desired, std::max(0, room), header->minimumSectionSize());
    m_sizing = true;
    for (qsizetype i = 0; i < columns.size(); ++i)
        header->resizeSection(columns[i], widths[i]);
    m_sizing = false;
}

} // namespace rr
