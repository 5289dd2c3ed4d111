#include "shell/columnwidths.h"

#include "platform/gui/columnfit.h"
#include "shell/twips.h"

#include <QHeaderView>
#include <QTreeWidget>

#include <cmath>

namespace rr::columnwidths
{

void set(QTreeWidget *list, int column, double twipsWidth)
{
    if (list && column < list->columnCount())
        list->header()->resizeSection(column, twips::sizeToPx(twipsWidth));
}

void restore(QTreeWidget *list, int column, int stored, int columns)
{
    const bool usable = stored >= twips::fromPx(20);
    set(list, column, usable ? stored : twips::width(list) / columns);
    if (ColumnFit *fit = ColumnFit::of(list))
        usable ? fit->keepWidth(column) : fit->releaseWidth(column);
}

int toSave(const QTreeWidget *list, int column, int stored)
{
    if (column >= list->columnCount())
        return 0;
    if (const ColumnFit *fit = ColumnFit::of(list); fit && !fit->isKept(column))
        return stored;
    return int(std::lround(twips::fromPx(list->header()->sectionSize(column))));
}

} // namespace rr::columnwidths
