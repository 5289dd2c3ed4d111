#include "finding/ui/listrows.h"

#include "platform/gui/caselessitem.h"
#include "platform/gui/partoperations.h"

#include "platform/gui/partoperations.h"
#include "shell/detailsoperations.h"
#include "shell/frmvardecks.h"
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
    // Past the window's own destructor its type is no longer the main window's.
    return qobject_cast<const frmVardecks *>(pane->parent()) != nullptr;
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

void dropRowsOfGone(const frmVardecks &w, QTreeWidget *list)
{
    const QSignalBlocker blocker(list);
    for (int i = list->topLevelItemCount() - 1; i >= 0; --i) {
        if (!w.dbXML.vardeck(tagOf(list->topLevelItem(i))))
            delete list->takeTopLevelItem(i);
    }
    list->clearSelection();
    list->setCurrentItem(nullptr);
}

bool showVardeckWithFolder(frmVardecks &w, const QString &wid)
{
    const XmlNode vardeck = w.dbXML.vardeck(wid);
    if (!vardeck)
        return false;
    w.selectVardeck(identifierOf(wid));
    operationsOf<DetailsOperations>(w).displayVardeckData(vardeck);
    const XmlNode folder = folderOfVardeck(vardeck);
    if (folder) {
        operationsOf<VardeckViewsOperations>(w).populateVDList(folder);
        w.showFolder(folder.attribute(tag::Tid), folder.childText(tag::Name));
    }
    w.showViewTab(ViewTab::Vardeck);
    if (folder)
        w.showFolderPath();
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
