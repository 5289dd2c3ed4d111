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
#include <QMimeData>
#include <QTimer>
#include <QTreeWidget>
#include <utility>

namespace rr
{
InternalDrags::InternalDrags(frmVardecks &window, FolderTree &folders, VardeckViews &views)
    : QObject(&window), w(window), m_folders(folders), m_views(views)
{
    setObjectName(QStringLiteral("internalDrags"));
    // A tree's drag takes the node pressed on; the list and its icons drag the list's
    // selected rows.
    DragSources &sources = w.dragSources();
    m_folders.takeDrags(
        sources, [this](QTreeWidgetItem *pressed) { return tvwTopics_OLEStartDrag(pressed); }, this);
    m_views.addDragSources(
        sources, [this](QTreeWidgetItem *pressed) { return tvwWM_OLEStartDrag(pressed); },
        [this] { return listVD_OLEStartDrag(); });
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
    return w.dragSources().startFolderDrag(tid, m_folders.shownPosition(pressed));
}

QMimeData *InternalDrags::tvwWM_OLEStartDrag(QTreeWidgetItem *pressed)
{
    return w.dragSources().startVardeckNodeDrag(pressed);
}

QMimeData *InternalDrags::listVD_OLEStartDrag()
{
    if (!viewing())
        return nullptr;
    return w.dragSources().startVardeckDrag(m_views.selectedListIds());
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
    QTreeWidgetItem *node = m_folders.nodeAt(pos);
    setDropHighlight(node);
    return node != nullptr;
}

void InternalDrags::tvwTopics_OLEDragDrop(const QMimeData *data, const QPoint &pos)
{
    if (!viewing())
        return;
    QTreeWidgetItem *target = m_folders.nodeAt(pos);
    if (!target) {
        clearDropHighlight();
        return;
    }
    m_folders.selectNode(target);
    // What was dropped is read while the drag is on; the move, its save and any question
    // that save asks come once the drop has been delivered, so the program the drag
    // came from is not kept waiting and no question is shown from inside the event.
    const DroppedItems dropped = droppedItems(data, w.drag);
    const TreeNodeRef targetRef = m_folders.nodeRef(target);
    QTimer::singleShot(0, this, [this, dropped, targetRef] {
        QTreeWidgetItem *node = targetRef.item();
        if (!node || !viewing()) {
            clearDropHighlight();
            return;
        }
        if (dropped.kind == DragKind::Folder)
            dropFolder(node, dropped.folderTID);
        else
            dropVardecks(node, dropped);
    });
}

void InternalDrags::dropVardecks(QTreeWidgetItem *target, const DroppedItems &dropped)
{
    // Vardecks never go to the top level: the root stays selected and nothing moves.
    if (m_folders.isRoot(target)) {
        clearDropHighlight();
        return;
    }
    XmlNode folder = w.dbXML.folder(tagOf(target));
    if (!folder) {
        clearDropHighlight();
        FolderTree::of(w).scheduleRebuild();
        return;
    }
    // A drop that carries none of this window's drags moves nothing.
    const bool vardecks = dropped.kind == DragKind::Vardeck || dropped.kind == DragKind::VardeckMulti;
    const QStringList wids = vardecks ? dropped.wids : QStringList();

    // A Vardeck that has gone since the drag began is left out, and the drop says so
    // once it is over.
    const VardeckMove move = moveVardecks(*w.dbXML.document(), wids, idOf(target),
                                          [this](const QString &wid) { return m_views.listedName(wid); });
    if (!move.notice.isEmpty())
        QTimer::singleShot(0, this, [notice = move.notice] { prompt::tell(notice); });
    if (!move.movedAny()) {
        clearDropHighlight();
        return;
    }
    saveDatabaseReporting(*w.dbXML);
    w.collectionChanged(StalePages{.folders = true, .all = true, .hits = true});

    setNonEditableFields(w, false);
    // The folder that was shown stays shown, without the Vardecks that left it.
    m_folders.selectFolder(w.currentTID());
    QTreeWidgetItem *selected = m_folders.currentNode();
    VardeckViews &views = VardeckViews::of(w);
    views.populateVardeckList(selected);
    views.populateVDList(w.dbXML.folder(tagOf(selected)));
    clearDropHighlight();
}

void InternalDrags::dropFolder(QTreeWidgetItem *target, const QString &movedTID)
{
    const bool toRoot = m_folders.isRoot(target);
    const QString targetTID = toRoot ? QString() : idOf(target);
    // A drag that started on the root, or whose folder has gone, carries nothing; a
    // folder dropped on itself stays where it is.
    const FolderMove move = moveFolder(*w.dbXML.document(), movedTID, toRoot ? std::nullopt : std::optional(targetTID));
    if (!move.moved()) {
        refuseFolderDrop(move.notice);
        // The tree names a folder the document no longer has.
        if (move.outcome == FolderMove::Outcome::NoTarget)
            FolderTree::of(w).scheduleRebuild();
        return;
    }
    saveDatabaseReporting(*w.dbXML);
    w.collectionChanged(StalePages{.folders = true});

    m_folders.holdPainting(true);
    clearDropHighlight();
    m_folders.removeFolderNode(movedTID);
    // Node positions change when a node goes: the target is found again by its tag.
    QTreeWidgetItem *targetNode = toRoot ? m_folders.root() : m_folders.nodeOf(targetTID);
    if (targetNode) {
        m_folders.populateTreeWithTopic(w.dbXML.folder(movedTID), targetNode, false);
        targetNode->sortChildren(0, Qt::AscendingOrder);
    } else {
        FolderTree::of(w).scheduleRebuild();
    }
    showFolderPathAfterMove(movedTID);
    // The node that took the moved one's row is no folder shown: the highlight goes back
    // to the folder shown, wherever it now stands.
    selectShownFolder(w);
    m_folders.holdPainting(false);
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
    const QTreeWidgetItem *shown = m_folders.nodeOf(w.currentTID());
    for (const QTreeWidgetItem *n = shown; n; n = n->parent()) {
        if (sameText(tagOf(n), movedTID)) {
            w.showFolderPath();
            return;
        }
    }
}

QTreeWidgetItem *InternalDrags::dropHighlight() const
{
    return m_folders.dropHighlight();
}

void InternalDrags::setDropHighlight(QTreeWidgetItem *node)
{
    m_folders.setDropHighlight(node);
}

void InternalDrags::clearDropHighlight()
{
    m_folders.clearDropHighlight();
}

// ----- events -----

void InternalDrags::setDragLoop(DragSources::DragLoop loop)
{
    w.dragSources().setDragLoop(std::move(loop));
}

bool InternalDrags::eventFilter(QObject *watched, QEvent *event)
{
    if (!m_folders.isDropArea(watched))
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
