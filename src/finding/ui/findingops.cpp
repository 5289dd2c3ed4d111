#include "finding/ui/findingops.h"

#include "finding/ui/findingui.h"
#include "finding/ui/popularpane.h"
#include "finding/ui/searchpane.h"
#include "shell/frmvardecks.h"

namespace rr
{

namespace
{

// The window's finding panes, null when they were not installed on it.
FindingUi *findingOf(const frmVardecks &w)
{
    return w.findChild<FindingUi *>(QString(), Qt::FindDirectChildrenOnly);
}

} // namespace

QString selectedRowOf(const frmVardecks &w, EntryList list)
{
    FindingUi *finding = findingOf(w);
    if (!finding)
        return QString();
    return list == EntryList::PopularList ? finding->popular().selectedRow() : finding->search().selectedRowOf(list);
}

QStringList selectedRowsOf(const frmVardecks &w, EntryList list)
{
    FindingUi *finding = findingOf(w);
    if (!finding)
        return QStringList();
    if (list != EntryList::PopularList)
        return finding->search().selectedRowsOf(list);
    const QString wid = finding->popular().currentRow();
    return wid.isEmpty() ? QStringList() : QStringList{wid};
}

void dropRowsOfGoneVardecks(const frmVardecks &w)
{
    if (FindingUi *finding = findingOf(w)) {
        finding->search().dropRowsOfGoneVardecks();
        finding->popular().dropRowsOfGoneVardecks();
    }
}

} // namespace rr
