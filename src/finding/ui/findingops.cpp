#include "finding/ui/findingops.h"

#include "finding/ui/favoritespane.h"
#include "finding/ui/findingui.h"
#include "finding/ui/popularpane.h"
#include "finding/ui/searchpane.h"
#include "shell/installedpart.h"

namespace rr
{

namespace
{

// The window's finding panes, null when they were not installed on it.
FindingUi *findingOf(const QObject &window)
{
    return installedPart<FindingUi>(window);
}

} // namespace

QString selectedRowOf(const QObject &window, EntryList list)
{
    FindingUi *finding = findingOf(window);
    if (!finding)
        return QString();
    return list == EntryList::PopularList ? finding->popular().selectedRow() : finding->search().selectedRowOf(list);
}

QStringList selectedRowsOf(const QObject &window, EntryList list)
{
    FindingUi *finding = findingOf(window);
    if (!finding)
        return QStringList();
    if (list != EntryList::PopularList)
        return finding->search().selectedRowsOf(list);
    const QString wid = finding->popular().currentRow();
    return wid.isEmpty() ? QStringList() : QStringList{wid};
}

void dropRowsOfGoneVardecks(const QObject &window)
{
    if (FindingUi *finding = findingOf(window)) {
        finding->search().dropRowsOfGoneVardecks();
        finding->popular().dropRowsOfGoneVardecks();
    }
}

void removeVardeckRows(const QObject &window, const QStringList &wids)
{
    if (FindingUi *finding = findingOf(window))
        finding->popular().removeVardeckRows(wids);
}

void showNameOf(const QObject &window, const QString &wid, const QString &name)
{
    if (FindingUi *finding = findingOf(window))
        finding->popular().showNameOf(wid, name);
}

void showIconOf(const QObject &window, const QString &wid)
{
    if (FindingUi *finding = findingOf(window))
        finding->favorites().showIconOf(wid);
}

void addToFavorites(const QObject &window, const QString &wid)
{
    if (FindingUi *finding = findingOf(window))
        finding->favorites().addToFavorites(wid);
}

void showRightClickedFavorite(const QObject &window)
{
    if (FindingUi *finding = findingOf(window))
        finding->favorites().showRightClickedFavorite();
}

void enableFavoriteButtons(const QObject &window, bool enabled)
{
    if (FindingUi *finding = findingOf(window))
        finding->favorites().enableButtons(enabled);
}

void goToFindingRow(const QObject &window, int move)
{
    FindingUi *finding = findingOf(window);
    if (!finding)
        return;
    if (finding->favorites().treeShown())
        finding->favorites().goToRow(move);
    else if (finding->popular().tabShown())
        finding->popular().goToRow(move);
    else
        finding->search().goToRow(move);
}

void releaseSearchButton(const QObject &window)
{
    if (FindingUi *finding = findingOf(window))
        finding->search().releaseSearchButton();
}

} // namespace rr
