#include "finding/ui/listrows.h"

#include "platform/gui/caselessitem.h"

#include "platform/prompt.h"
#include "shell/frmvardecks.h"
#include "shell/statuspanels.h"
#include "shell/tabstrip.h"
#include "storage/xmldatabase.h"

#include <QLineEdit>
#include <QMimeData>
#include <QTreeWidget>
#include <QTreeWidgetItemIterator>

#include <algorithm>

namespace rr::findingui
{

bool windowUsable(const QObject *pane)
{
    // Past the window's own destructor its type is no longer the main window's.
    return qobject_cast<const frmVardecks *>(pane->parent()) != nullptr;
}

QString tagOf(const QTreeWidgetItem *item)
{
    return item ? item->data(0, kTagRole).toString() : QString();
}

void setTag(QTreeWidgetItem *item, const QString &tag)
{
    item->setData(0, kTagRole, tag);
}

void setBold(QTreeWidgetItem *item, bool bold)
{
    for (int column = 0; column < std::max(1, item->columnCount()); ++column) {
        QFont font = item->font(column);
        font.setBold(bold);
        item->setFont(column, font);
    }
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

VardeckIcons::VardeckIcons(const frmVardecks &w, bool withSelected)
    : m_images(w.ImageListWM), m_stock(vardeckIcon(w, QString(), withSelected))
{
}

QIcon VardeckIcons::of(const QString &wid) const
{
    const auto it = wid.isEmpty() ? m_images.constEnd() : m_images.constFind(wid);
    return it != m_images.constEnd() ? *it : m_stock;
}

void markRecentRows(frmVardecks &w)
{
    for (QTreeWidget *list : {w.lstSearch, w.lstSrch, w.listPop, w.tvwFavs}) {
        for (int i = 0; i < list->topLevelItemCount(); ++i) {
            QTreeWidgetItem *row = list->topLevelItem(i);
            setBold(row, isRecentWid(tagOf(row)));
        }
    }
}

QIcon vardeckIcon(const frmVardecks &w, const QString &wid, bool withSelected)
{
    if (!wid.isEmpty() && w.ImageListWM.contains(wid))
        return w.ImageListWM.value(wid);
    QIcon icon;
    const QIcon plain = w.ImageListWM.value(QStringLiteral("Vardeck"));
    if (!withSelected)
        return plain;
    icon.addPixmap(plain.pixmap(16), QIcon::Normal);
    const QIcon selected = w.ImageListWM.value(QStringLiteral("SelVardeck"));
    if (!selected.isNull())
        icon.addPixmap(selected.pixmap(16), QIcon::Selected);
    return icon;
}

XmlDocument *openDocument(const frmVardecks &w)
{
    XmlDocument *doc = w.dbXML ? w.dbXML->getTheDOM() : nullptr;
    return doc && doc->isLoaded() ? doc : nullptr;
}

XmlNode vardeckById(const frmVardecks &w, const QString &wid)
{
    const XmlDocument *doc = openDocument(w);
    const QString id = wid.trimmed();
    if (!doc || id.isEmpty())
        return {};
    const XmlNode node = doc->nodeFromID(id);
    return node && node.nodeName() == QLatin1String("VARDECK") ? node : XmlNode();
}

bool editing(const frmVardecks &w)
{
    const QString mode = w.txtMode->text();
    return mode.compare(QLatin1String("add"), Qt::CaseInsensitive) == 0 ||
           mode.compare(QLatin1String("mod"), Qt::CaseInsensitive) == 0;
}

bool confirmLoseChanges(frmVardecks &w)
{
    if (!editing(w))
        return true;
    return prompt::askYesNo(QStringLiteral("You are about to lose unsaved changes - do you wish to continue?"),
                            MsgIcon::None, QStringLiteral("Unsaved changes"));
}

QTreeWidgetItem *selectedRow(const QTreeWidget *list)
{
    QTreeWidgetItem *current = list->currentItem();
    if (current && current->isSelected())
        return current;
    const QList<QTreeWidgetItem *> selected = list->selectedItems();
    return selected.isEmpty() ? nullptr : selected.first();
}

void selectOnly(QTreeWidget *list, QTreeWidgetItem *row)
{
    list->clearSelection();
    list->setCurrentItem(row);
    row->setSelected(true);
}

QTreeWidgetItem *folderNodeByTid(const QTreeWidget *tvwTopics, const QString &tid)
{
    if (!tvwTopics || tid.isEmpty())
        return nullptr;
    for (QTreeWidgetItemIterator it(const_cast<QTreeWidget *>(tvwTopics)); *it; ++it)
        if (tagOf(*it).compare(tid, Qt::CaseInsensitive) == 0)
            return *it;
    return nullptr;
}

QString folderPath(const QTreeWidgetItem *node)
{
    QString path;
    // The top-level node is the root ("FOLDERS"), whose name the path leaves out.
    for (const QTreeWidgetItem *n = node; n && n->parent(); n = n->parent())
        path.prepend(QLatin1Char('\\') + n->text(0));
    return path;
}

bool showVardeckWithFolder(frmVardecks &w, const QString &wid)
{
    const XmlNode vardeck = vardeckById(w, wid);
    if (!vardeck)
        return false;
    w.selectedWID = wid.trimmed();
    w.commands.displayVardeckData(vardeck);
    const XmlNode folder = folderOfVardeck(vardeck);
    if (folder) {
        w.commands.populateVDList(folder);
        // The shown folder follows the list, and goes before the caption, so that
        // whatever the caption's change sets off sees the folder the caption names.
        w.currentTID = folder.attribute(QStringLiteral("TID"));
        w.currentFolderName = folder.childText(QStringLiteral("NAME"));
        w.setTNameCaption(w.currentFolderName);
    }
    w.tabView->setTab(0);
    if (folder) {
        if (const QTreeWidgetItem *node = folderNodeByTid(w.tvwTopics, w.currentTID)) {
            w.statusFolderPath = folderPath(node);
            w.StatusBar1->setPanelText(2, w.statusFolderPath);
        }
    }
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

QMimeData *vardeckDragData(const QStringList &wids)
{
    auto *data = new QMimeData;
    data->setData(QString::fromLatin1(kVardeckDragMimeType), wids.join(QLatin1Char('\n')).toUtf8());
    return data;
}

QStringList draggedVardecks(const QMimeData *data)
{
    const QString type = QString::fromLatin1(kVardeckDragMimeType);
    if (!data || !data->hasFormat(type))
        return {};
    QStringList wids;
    for (const QString &line : QString::fromUtf8(data->data(type)).split(QLatin1Char('\n'))) {
        const QString wid = line.trimmed();
        if (!wid.isEmpty())
            wids.append(wid);
    }
    return wids;
}

} // namespace rr::findingui
