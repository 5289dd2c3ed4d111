#include "finding/ui/listrows.h"

#include "finding/ui/findingwindow.h"
#include "platform/gui/caselessitem.h"
#include "platform/gui/partoperations.h"
#include "shell/detailsoperations.h"
#include "shell/framestatus.h"
#include "shell/frametabs.h"
#include "shell/opendatabase.h"
#include "shell/shownitems.h"
#include "shell/vardeckviewsoperations.h"
#include "storage/record.h"
#include "storage/session.h"

#include <QSignalBlocker>
#include <QTreeWidget>

#include <algorithm>

namespace rr::findingui
{

bool windowUsable(const QObject *pane)
{
    // Past the window's own destructor its type is no longer the main window's, which is
    // the one that shows items.
    return dynamic_cast<const ShownItems *>(pane->parent()) != nullptr;
}

QTreeWidgetItem *makeRow(const QStringList &cells, const QString &wid, bool bold, const QIcon &icon)
{
    auto *row = new CaselessItem(cells);
    setTag(row, wid);
    row->setIcon(0, icon);
    if (bold)
        setBold(row, true);
    return row;
}

QTreeWidgetItem *addRow(QTreeWidget *list, const QStringList &cells, const QString &wid, bool bold, const QIcon &icon)
{
    QTreeWidgetItem *row = makeRow(cells, wid, bold, icon);
    list->addTopLevelItem(row);
    return row;
}

void markRecentRows(QTreeWidget *list)
{
    for (int i = 0; i < list->topLevelItemCount(); ++i) {
        QTreeWidgetItem *row = list->topLevelItem(i);
        setBold(row, isRecentWid(tagOf(row), session().recentColl));
    }
}

void dropRowsOfGone(const OpenDatabase &db, QTreeWidget *list)
{
    const QSignalBlocker blocker(list);
    for (int i = list->topLevelItemCount() - 1; i >= 0; --i) {
        if (!db.vardeck(tagOf(list->topLevelItem(i))))
            delete list->takeTopLevelItem(i);
    }
    list->clearSelection();
    list->setCurrentItem(nullptr);
}

bool showVardeckWithFolder(const FindingWindow &w, const QString &wid)
{
    const XmlNode vardeck = w.db.vardeck(wid);
    if (!vardeck)
        return false;
    w.shown.selectVardeck(identifierOf(wid));
    operationsOf<DetailsOperations>(w.window).displayVardeckData(vardeck);
    const XmlNode folder = folderOfVardeck(vardeck);
    if (folder) {
        operationsOf<VardeckViewsOperations>(w.window).populateVDList(folder);
        w.shown.showFolder(folder.attribute(tag::Tid), folder.childText(tag::Name));
    }
    w.tabs.showViewTab(ViewTab::Vardeck);
    if (folder)
        w.status.showFolderPath();
    return true;
}

void sortRows(QTreeWidget *list, int column, bool descending)
{
    QTreeWidgetItem *current = list->currentItem();
    const QList<QTreeWidgetItem *> selected = list->selectedItems();
    QList<QTreeWidgetItem *> rows = list->invisibleRootItem()->takeChildren();
    sortRowsByText(
        rows, [column](const QTreeWidgetItem *row) { return row->text(column); }, descending);
    list->addTopLevelItems(rows);
    if (current)
        list->setCurrentItem(current, 0, QItemSelectionModel::NoUpdate);
    for (QTreeWidgetItem *row : selected)
        row->setSelected(true);
}

} // namespace rr::findingui
