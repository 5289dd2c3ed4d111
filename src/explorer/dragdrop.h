#pragma once
// Dragging inside the main window: a folder of tvwTopics, one Vardeck of tvwWM, or the
// selected rows of listVD, dropped on a folder of tvwTopics. Each drag starts through
// the window's one start-drag (shell/dragsources.h), which records what is dragged in
// the window's drag state (w.drag); the drop reads it.
//
// The drop works on identifiers: every dragged Vardeck and folder is looked up again
// when it lands, and one that has gone meanwhile is skipped.
#include "platform/notice.h"
#include "platform/xmldocument.h"
#include "shell/dragsources.h"

#include <QObject>
#include <QPoint>
#include <QStringList>

class QMimeData;
class QTreeWidgetItem;
class QWidget;

namespace rr
{

class frmVardecks;
class FolderTree;
class VardeckViews;

class InternalDrags : public QObject
{
    Q_OBJECT
public:
    // The folder tree is the target; the trees, the list and its icons are the sources.
    InternalDrags(frmVardecks &w, FolderTree &folders, VardeckViews &views);

    // Drag starts: each records the drag state and returns the drag's data, or nullptr
    // when no drag may start (an edit is under way, nothing to drag). The caller owns
    // the data. A tree's drag carries the node the button was pressed on, whatever the
    // tree has selected; the list's carries its selected rows.
    QMimeData *tvwTopics_OLEStartDrag(QTreeWidgetItem *pressed);
    QMimeData *tvwWM_OLEStartDrag(QTreeWidgetItem *pressed);
    QMimeData *listVD_OLEStartDrag();
    // The end of a drag from any source: no internal drag is under way any more, and
    // no node is shown as the drop target.
    void OLECompleteDrag();

    // The drop target tvwTopics; pos in its viewport. DragOver returns whether a drop
    // there would be taken.
    bool tvwTopics_OLEDragOver(const QMimeData *data, const QPoint &pos);
    void tvwTopics_OLEDragDrop(const QMimeData *data, const QPoint &pos);
    void clearDropHighlight();
    // The node shown as the drop target, or nullptr.
    QTreeWidgetItem *dropHighlight() const;

    // The loop every drag of the window runs to its end (DragSources::setDragLoop).
    void setDragLoop(DragSources::DragLoop loop);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    bool viewing() const;
    void dropVardecks(QTreeWidgetItem *target, const DroppedItems &dropped);
    void dropFolder(QTreeWidgetItem *target, const QString &movedTID);
    // A folder drop that moves nothing: no highlight, the selection back on the shown
    // folder, and the refusal told (if it is told) once the drop's delivery is over.
    void refuseFolderDrop(const Notice &notice);
    void showFolderPathAfterMove(const QString &movedTID);
    void setDropHighlight(QTreeWidgetItem *node);

    frmVardecks &w;
    FolderTree &m_folders;
    VardeckViews &m_views;
    // A folder drag, dropped, refused or cancelled, leaves the tree selecting the folder
    // shown (selectShownFolder).
    bool m_folderDragged = false;
};

} // namespace rr
