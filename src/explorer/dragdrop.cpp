#include "explorer/dragdrop.h"

#include "explorer/foldertree.h"
#include "explorer/nodetags.h"
#include "explorer/vardeckviews.h"
#include "platform/prompt.h"
#include "shell/frmvardecks.h"
#include "storage/foldermove.h"
#include "storage/ui/savereport.h"
#include "storage/xmldatabase.h"

#include <QDropEvent>
#include <QListView>
#include <QMimeData>
#include <QTimer>
#include <QTreeWidget>
#include <QTreeWidgetItemIterator>
#include <utility>

namespace rr
{
namespace
{

// The node's position in the tree's node collection, counted from 1 in shown order.
int nodeIndex(QTreeWidget *tree, const QTreeWidgetItem *node)
{
    int index = 0;
    for (QTreeWidgetItemIterator it(tree); *it; ++it) {
        ++index;
        if (*it == node)
            return index;
    }
    return 0;
}

// The rows of a list whose selected state is set, from the first row to the last.
QList<QTreeWidgetItem *> selectedRowsInOrder(const QTreeWidget *list)
{
    QList<QTreeWidgetItem *> rows;
    for (int i = 0; i < list->topLevelItemCount(); ++i) {
        if (list->topLevelItem(i)->isSelected())
            rows << list->topLevelItem(i);
    }
    return rows;
}

} // namespace

InternalDrags::InternalDrags(frmVardecks &window, FolderTree &folders, VardeckViews &views)
    : QObject(&window), w(window), m_folders(folders), m_views(views)
{
    setObjectName(QStringLiteral("internalDrags"));
    QTreeWidget *tree = m_folders.tree();
    tree->setAcceptDrops(true);
    tree->viewport()->setAcceptDrops(true);
    tree->viewport()->installEventFilter(this);
    // A tree's drag takes the node pressed on; the list and its icons drag the list's
    // selected rows.
    DragSources &sources = w.dragSources();
    sources.addSource(
        tree, [this, tree](const QPoint &pos) { return tvwTopics_OLEStartDrag(tree->itemAt(pos)); }, Qt::MoveAction);
    QTreeWidget *vardecks = m_views.vardeckTree();
    sources.addSource(
        vardecks, [this, vardecks](const QPoint &pos) { return tvwWM_OLEStartDrag(vardecks->itemAt(pos)); },
        Qt::MoveAction);
    sources.addSource(
        m_views.list(), [this](const QPoint &) { return listVD_OLEStartDrag(); }, Qt::MoveAction);
    sources.addSource(
        m_views.iconView(), [this](const QPoint &) { return listVD_OLEStartDrag(); }, Qt::MoveAction);
    sources.addTarget(tree);
    connect(&sources, &DragSources::dragEnded, this, [this] {
        clearDropHighlight();
        if (std::exchange(m_folderDragged, false))
            selectShownFolder(w);
    });
}

bool InternalDrags::viewing() const
{
    return w.editState() == EditState::Viewing && w.dbXML.document();
}

// ----- sources -----

QMimeData *InternalDrags::tvwTopics_OLEStartDrag(QTreeWidgetItem *pressed)
{
    if (!viewing())
        return nullptr;
    // The root has no TID: it carries no folder, so no drag starts there.
    const QString tid = idOf(pressed);
    const XmlNode folder = w.dbXML.folder(tid);
    if (!folder)
        return nullptr;
    m_folderDragged = true;
    return w.dragSources().startFolderDrag(tid, nodeIndex(m_folders.tree(), pressed));
}

QMimeData *InternalDrags::tvwWM_OLEStartDrag(QTreeWidgetItem *pressed)
{
    return w.dragSources().startVardeckNodeDrag(pressed);
}

QMimeData *InternalDrags::listVD_OLEStartDrag()
{
    if (!viewing())
        return nullptr;
    QStringList wids;
    for (const QTreeWidgetItem *row : selectedRowsInOrder(m_views.list())) {
        const QString wid = idOf(row);
        if (!wid.isEmpty())
            wids << wid;
    }
    return w.dragSources().startVardeckDrag(wids);
}

void InternalDrags::OLECompleteDrag()
{
    w.dragSources().endDrag();
}

// ----- the folder tree as target -----

bool InternalDrags::tvwTopics_OLEDragOver(const QMimeData *data, const QPoint &pos)
{
    if (!viewing() || !droppedItems(data, w.drag).internal) {
        clearDropHighlight();
        return false;
    }
    QTreeWidgetItem *node = m_folders.tree()->itemAt(pos);
    setDropHighlight(node);
    return node != nullptr;
}

void InternalDrags::tvwTopics_OLEDragDrop(const QMimeData *data, const QPoint &pos)
{
    if (!viewing())
        return;
    QTreeWidgetItem *target = m_folders.tree()->itemAt(pos);
    if (!target) {
        clearDropHighlight();
        return;
    }
    m_folders.tree()->setCurrentItem(target);
    const DroppedItems dropped = droppedItems(data, w.drag);
    if (dropped.kind == DragKind::Folder)
        dropFolder(target, dropped.folderTID);
    else
        dropVardecks(target, dropped);
}

void InternalDrags::dropVardecks(QTreeWidgetItem *target, const DroppedItems &dropped)
{
    QTreeWidget *tree = m_folders.tree();
    // Vardecks never go to the top level: the root stays selected and nothing moves.
    if (m_folders.isRoot(target)) {
        clearDropHighlight();
        return;
    }
    XmlNode folder = w.dbXML.folder(tagOf(target));
    if (!folder) {
        clearDropHighlight();
        w.commands.scheduleRebuild();
        return;
    }
    // A drop that carries none of this window's drags moves nothing.
    const bool vardecks = dropped.kind == DragKind::Vardeck || dropped.kind == DragKind::VardeckMulti;
    const QStringList wids = vardecks ? dropped.wids : QStringList();

    // A Vardeck that has gone since the drag began is left out, and the drop says so
    // once it is over.
    const VardeckMove move = moveVardecks(*w.dbXML.document(), wids, idOf(target), [this](const QString &wid) {
        const QTreeWidgetItem *row = findByTag(m_views.list(), wid);
        return row ? row->text(0) : QString();
    });
    if (!move.notice.isEmpty())
        QTimer::singleShot(0, this, [notice = move.notice] { prompt::tell(notice); });
    if (!move.movedAny()) {
        clearDropHighlight();
        return;
    }
    saveDatabaseReporting(*w.dbXML);
    w.commands.collectionChanged(StalePages{.folders = true, .all = true, .hits = true});

    setNonEditableFields(w, false);
    // The folder that was shown stays shown, without the Vardecks that left it.
    if (QTreeWidgetItem *shown = findByTag(tree, w.currentTID()))
        tree->setCurrentItem(shown);
    QTreeWidgetItem *selected = tree->currentItem();
    w.commands.populateVardeckList(selected);
    w.commands.populateVDList(w.dbXML.folder(tagOf(selected)));
    clearDropHighlight();
}

void InternalDrags::dropFolder(QTreeWidgetItem *target, const QString &movedTID)
{
    QTreeWidget *tree = m_folders.tree();
    const bool toRoot = m_folders.isRoot(target);
    const QString targetTID = toRoot ? QString() : idOf(target);
    // A drag that started on the root, or whose folder has gone, carries nothing; a
    // folder dropped on itself stays where it is.
    const FolderMove move = moveFolder(*w.dbXML.document(), movedTID, toRoot ? std::nullopt : std::optional(targetTID));
    if (!move.moved()) {
        refuseFolderDrop(move.notice);
        // The tree names a folder the document no longer has.
        if (move.outcome == FolderMove::Outcome::NoTarget)
            w.commands.scheduleRebuild();
        return;
    }
    saveDatabaseReporting(*w.dbXML);
    w.commands.collectionChanged(StalePages{.folders = true});

    tree->setUpdatesEnabled(false);
    clearDropHighlight();
    delete findByTag(tree, movedTID);
    // Node positions change when a node goes: the target is found again by its tag.
    QTreeWidgetItem *targetNode = toRoot ? m_folders.root() : findByTag(tree, targetTID);
    if (targetNode) {
        m_folders.populateTreeWithTopic(w.dbXML.folder(movedTID), targetNode, false);
        targetNode->sortChildren(0, Qt::AscendingOrder);
    } else {
        w.commands.scheduleRebuild();
    }
    showFolderPathAfterMove(movedTID);
    tree->setUpdatesEnabled(true);
}

void InternalDrags::refuseFolderDrop(const Notice &notice)
{
    clearDropHighlight();
    selectShownFolder(w);
    // The drop is still being delivered: the message waits until it is over.
    if (!notice.isEmpty())
        QTimer::singleShot(0, this, [notice] { prompt::tell(notice); });
}

void InternalDrags::showFolderPathAfterMove(const QString &movedTID)
{
    if (!w.folderShown())
        return;
    // The shown folder's path changes when it, or a folder above it, moved.
    const QTreeWidgetItem *shown = findByTag(m_folders.tree(), w.currentTID());
    for (const QTreeWidgetItem *n = shown; n; n = n->parent()) {
        if (sameText(tagOf(n), movedTID)) {
            w.showFolderPath();
            return;
        }
    }
}

QTreeWidgetItem *InternalDrags::dropHighlight() const
{
    return m_highlight.isValid() ? m_folders.tree()->itemFromIndex(m_highlight) : nullptr;
}

void InternalDrags::setDropHighlight(QTreeWidgetItem *node)
{
    if (node && node == dropHighlight())
        return;
    clearDropHighlight();
    if (!node)
        return;
    const QPalette palette = m_folders.tree()->palette();
    node->setBackground(0, palette.brush(QPalette::Highlight));
    node->setForeground(0, palette.brush(QPalette::HighlightedText));
    m_highlight = QPersistentModelIndex(m_folders.tree()->indexFromItem(node));
}

void InternalDrags::clearDropHighlight()
{
    if (QTreeWidgetItem *node = dropHighlight()) {
        node->setBackground(0, QBrush());
        node->setForeground(0, QBrush());
    }
    m_highlight = QPersistentModelIndex();
}

// ----- events -----

void InternalDrags::setDragLoop(DragSources::DragLoop loop)
{
    w.dragSources().setDragLoop(std::move(loop));
}

bool InternalDrags::eventFilter(QObject *watched, QEvent *event)
{
    if (watched != m_folders.tree()->viewport())
        return false;
    switch (event->type()) {
    case QEvent::DragEnter:
        // The tree keeps every drag that enters it, so that none passes on to the
        // window behind it (where a link would start a new Vardeck); the moves over
        // it decide whether a drop may happen: only the window's own drags land here.
        static_cast<QDragEnterEvent *>(event)->acceptProposedAction();
        return true;
    case QEvent::DragMove: {
        auto *move = static_cast<QDragMoveEvent *>(event);
        if (tvwTopics_OLEDragOver(move->mimeData(), move->position().toPoint())) {
            move->setDropAction(Qt::MoveAction);
            move->accept();
        } else {
            move->ignore();
        }
        return true;
    }
    case QEvent::DragLeave:
        clearDropHighlight();
        return true;
    case QEvent::Drop: {
        auto *drop = static_cast<QDropEvent *>(event);
        if (!droppedItems(drop->mimeData(), w.drag).internal) {
            drop->ignore();
            return true;
        }
        tvwTopics_OLEDragDrop(drop->mimeData(), drop->position().toPoint());
        drop->setDropAction(Qt::MoveAction);
        drop->accept();
        return true;
    }
    default:
        return false;
    }
}

} // namespace rr
