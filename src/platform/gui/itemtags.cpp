#include "platform/gui/itemtags.h"

#include "platform/textutil.h"

#include <QTreeWidget>
#include <QTreeWidgetItemIterator>

#include <algorithm>

namespace rr
{

QString tagOf(const QTreeWidgetItem *item)
{
    return item ? item->data(0, kTagRole).toString() : QString();
}

void setTag(QTreeWidgetItem *item, const QString &tag)
{
    item->setData(0, kTagRole, tag);
}

QTreeWidgetItem *findByTag(const QTreeWidget *tree, const QString &tag)
{
    if (!tree || tag.isEmpty())
        return nullptr;
    for (QTreeWidgetItemIterator it(const_cast<QTreeWidget *>(tree)); *it; ++it) {
        if (sameText(tagOf(*it), tag))
            return *it;
    }
    return nullptr;
}

QTreeWidgetItem *selectedItemOf(const QTreeWidget *tree)
{
    if (!tree)
        return nullptr;
    QTreeWidgetItem *current = tree->currentItem();
    if (current && current->isSelected())
        return current;
    const QList<QTreeWidgetItem *> selected = tree->selectedItems();
    return selected.isEmpty() ? nullptr : selected.first();
}

QStringList selectedRowIds(const QTreeWidget *list)
{
    QStringList ids;
    if (!list)
        return ids;
    for (int i = 0; i < list->topLevelItemCount(); ++i) {
        const QTreeWidgetItem *row = list->topLevelItem(i);
        const QString id = tagOf(row).trimmed();
        if (row->isSelected() && !id.isEmpty())
            ids << id;
    }
    return ids;
}

void selectOnly(QTreeWidget *tree, QTreeWidgetItem *item)
{
    tree->clearSelection();
    tree->setCurrentItem(item);
    item->setSelected(true);
}

void highlightTagged(QTreeWidget *tree, const QString &tag)
{
    if (QTreeWidgetItem *item = findByTag(tree, tag)) {
        selectOnly(tree, item);
        return;
    }
    tree->clearSelection();
    tree->setCurrentItem(nullptr);
}

void setBold(QTreeWidgetItem *item, bool bold)
{
    for (int column = 0; column < std::max(1, item->columnCount()); ++column) {
        QFont font = item->font(column);
        font.setBold(bold);
        item->setFont(column, font);
    }
}

QString folderPath(const QTreeWidgetItem *node)
{
    QString path;
    // The top-level node is the root ("FOLDERS"), whose name the path leaves out.
    for (const QTreeWidgetItem *n = node; n && n->parent(); n = n->parent())
        path.prepend(QLatin1Char('\\') + n->text(0));
    return path;
}

} // namespace rr
