// What the Explorer's handlers do to the Vardeck tree's nodes and the folder list's
// rows, kept with the part that makes the views.
#include "explorer/foldertree.h"
#include "explorer/nodetags.h"
#include "explorer/vardeckviews.h"
#include "platform/gui/listviews.h"
#include "shell/dragsources.h"
#include "shell/frmvardecks.h"
#include "shell/panecontrols.h"

#include <QListView>
#include <QSignalBlocker>
#include <QTreeWidget>
#include <utility>

namespace rr
{

QTreeWidgetItem *VardeckViews::treeNodeOf(const QString &wid) const
{
    return findByTag(m_tree, wid);
}

bool VardeckViews::treeHasNodes() const
{
    return m_tree->topLevelItemCount() > 0;
}

void VardeckViews::selectTreeNode(QTreeWidgetItem *node)
{
    m_tree->setCurrentItem(node);
    node->setSelected(true);
}

void VardeckViews::selectPoppedTreeNode(QTreeWidgetItem *node)
{
    if (node && node->treeWidget() == m_tree)
        m_tree->setCurrentItem(node);
    QTreeWidgetItem *current = m_tree->currentItem();
    if (current && !current->isSelected())
        current->setSelected(true);
}

bool VardeckViews::removeTreeNode(const QString &wid)
{
    QTreeWidgetItem *node = findByTag(m_tree, wid);
    if (!node)
        return false;
    delete node;
    // The row after it would become the selected one while nothing is shown.
    const QSignalBlocker blocker(m_tree);
    m_tree->clearSelection();
    m_tree->setCurrentItem(nullptr);
    return true;
}

void VardeckViews::renameVardeckNode(const QString &wid, const QString &name)
{
    for (int i = 0; i < m_tree->topLevelItemCount(); ++i) {
        if (sameText(tagOf(m_tree->topLevelItem(i)), wid))
            m_tree->topLevelItem(i)->setText(0, name);
    }
    // A new name takes its place among the folder's names.
    m_tree->sortItems(0, Qt::AscendingOrder);
}

void VardeckViews::goToTreeRow(int move, const std::function<bool()> &editing, const std::function<void()> &shown)
{
    goToRow(m_tree, true, move, editing, shown);
}

void VardeckViews::clearVardeckTree()
{
    m_tree->clear();
}

void VardeckViews::clearVardeckViews()
{
    m_tree->clear();
    m_list->clear();
}

void VardeckViews::unselectTreeNodes()
{
    m_tree->clearSelection();
}

void VardeckViews::unselectVardeckRows()
{
    for (QTreeWidget *rows : {m_tree, m_list})
        rows->clearSelection();
}

void VardeckViews::highlightVardeck(const QString &wid)
{
    for (QTreeWidget *rows : {m_tree, m_list})
        highlightTagged(rows, wid);
}

void VardeckViews::focusTree()
{
    m_tree->setFocus();
}

bool VardeckViews::focusTreeIfShown()
{
    if (!m_tree->isVisible() || !m_tree->isEnabled())
        return false;
    m_tree->setFocus(Qt::OtherFocusReason);
    return true;
}

QString VardeckViews::selectedListId() const
{
    return tagOf(selectedItemOf(m_list)).trimmed();
}

QString VardeckViews::currentTreeId() const
{
    return idOf(m_tree->currentItem());
}

QStringList VardeckViews::selectedListIds() const
{
    return selectedRowIds(m_list);
}

QString VardeckViews::listedName(const QString &wid) const
{
    const QTreeWidgetItem *row = findByTag(m_list, wid);
    return row ? row->text(0) : QString();
}

void VardeckViews::placeInTabOrder(FolderTree &folders)
{
    folders.placeInTabOrder(w.pane(Pane::FolderSplitter), m_tree);
    QWidget::setTabOrder(m_tree, moveButton(w));
    QWidget::setTabOrder(moveButton(w), FolderTree::moveButton(w));
    QWidget::setTabOrder(w.pane(Pane::FolderListPage), m_list);
}

void VardeckViews::addDragSources(DragSources &sources, std::function<QMimeData *(QTreeWidgetItem *)> treeStart,
                                  const std::function<QMimeData *()> &listStart)
{
    sources.addSource(
        m_tree, [tree = m_tree, start = std::move(treeStart)](const QPoint &pos) { return start(tree->itemAt(pos)); },
        Qt::MoveAction);
    sources.addSource(
        m_list, [listStart](const QPoint &) { return listStart(); }, Qt::MoveAction);
    sources.addSource(
        m_iconView, [listStart](const QPoint &) { return listStart(); }, Qt::MoveAction);
}

void VardeckViews::takeDrops(QObject *filter)
{
    m_list->setAcceptDrops(true);
    for (QWidget *target : {m_list->viewport(), m_iconView->viewport()}) {
        target->setAcceptDrops(true);
        target->installEventFilter(filter);
    }
}

bool VardeckViews::isListDropArea(const QObject *watched) const
{
    return watched == m_list->viewport() || watched == m_iconView->viewport();
}

} // namespace rr
