#include "finding/ui/findingops.h"

#include "finding/ui/favoritespane.h"
#include "finding/ui/findingui.h"
#include "finding/ui/popularpane.h"
#include "finding/ui/searchpane.h"
#include "shell/frmvardecks.h"
#include "shell/installedpart.h"

namespace rr
{

namespace
{

// The window's finding panes, null when they were not installed on it.
FindingUi *findingOf(const frmVardecks &w)
{
    return installedPart<FindingUi>(w);
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

void removeVardeckRows(const frmVardecks &w, const QStringList &wids)
{
    if (FindingUi *finding = findingOf(w))
        finding->popular().removeVardeckRows(wids);
}

void showNameOf(const frmVardecks &w, const QString &wid, const QString &name)
{
    if (FindingUi *finding = findingOf(w))
        finding->popular().showNameOf(wid, name);
}

void showIconOf(const frmVardecks &w, const QString &wid)
{
    if (FindingUi *finding = findingOf(w))
        finding->favorites().showIconOf(wid);
}

void addToFavorites(const frmVardecks &w, const QString &wid)
{
    if (FindingUi *finding = findingOf(w))
        finding->favorites().addToFavorites(wid);
}

void showRightClickedFavorite(const frmVardecks &w)
{
    if (FindingUi *finding = findingOf(w))
        finding->favorites().showRightClickedFavorite();
}

void enableFavoriteButtons(const frmVardecks &w, bool enabled)
{
    if (FindingUi *finding = findingOf(w))
        finding->favorites().enableButtons(enabled);
}

void goToFindingRow(const frmVardecks &w, int move)
{
    FindingUi *finding = findingOf(w);
    if (!finding)
        return;
    if (finding->favorites().treeShown())
        finding->favorites().goToRow(move);
    else if (finding->popular().tabShown())
        finding->popular().goToRow(move);
    else
        finding->search().goToRow(move);
}

void releaseSearchButton(const frmVardecks &w)
{
    if (FindingUi *finding = findingOf(w))
        finding->search().releaseSearchButton();
}

} // namespace rr
