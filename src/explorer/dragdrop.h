#pragma once
// Dragging inside the main window: a folder of tvwTopics, one Vardeck of tvwWM, or the
// selected rows of listVD, dropped on a folder of tvwTopics. The source records what
// is dragged in the window's drag state (w.drag) and the drop reads it; the drag's
// data carries the identifiers under a private type, so that the window tells its own
// drags apart from drops of other programs (which never move anything here).
//
// The drop works on identifiers: every dragged Vardeck and folder is looked up again
// when it lands, and one that has gone meanwhile is skipped.
#include "platform/xmldocument.h"

#include <QObject>
#include <QPersistentModelIndex>
#include <QPoint>
#include <QPointer>
#include <QStringList>
#include <functional>

class QListView;
class QMimeData;
class QTreeWidgetItem;
class QWidget;

namespace rr
{

class frmVardecks;

// A drag of Vardecks: the WIDs as UTF-8 text, one per line (the favourites take the
// same drags).
inline constexpr char kVardeckDragMimeType[] = "application/x-razuzezu-vardeck-drag";
// A drag of a folder: its TID as UTF-8 text.
inline constexpr char kFolderDragMimeType[] = "application/x-razuzezu-folder-drag";

QMimeData *vardeckDragData(const QStringList &wids);
QMimeData *folderDragData(const QString &tid);
// The WIDs of a Vardeck drag; empty for any other data.
QStringList draggedVardeckIds(const QMimeData *data);
// True for data of one of the window's own drags.
bool isInternalDragData(const QMimeData *data);

class InternalDrags : public QObject
{
    Q_OBJECT
public:
    // iconView: the shown folder's Vardecks as icons, a drag source too.
    InternalDrags(frmVardecks &w, QListView *iconView);

    // Drag starts: each records the drag state and returns the drag's data, or nullptr
    // when no drag may start (an edit is under way, nothing to drag). The caller owns
    // the data. A tree's drag carries the node the button was pressed on, whatever the
    // tree has selected; the list's carries its selected rows.
    QMimeData *tvwTopics_OLEStartDrag(QTreeWidgetItem *pressed);
    QMimeData *tvwWM_OLEStartDrag(QTreeWidgetItem *pressed);
    QMimeData *listVD_OLEStartDrag();
    // The end of a drag from any of the three: no internal drag is under way any more.
    void OLECompleteDrag();

    // The drop target tvwTopics; pos in its viewport. DragOver returns whether a drop
    // there would be taken.
    bool tvwTopics_OLEDragOver(const QMimeData *data, const QPoint &pos);
    void tvwTopics_OLEDragDrop(const QMimeData *data, const QPoint &pos);
    void clearDropHighlight();
    // The node shown as the drop target, or nullptr.
    QTreeWidgetItem *dropHighlight() const;

    // Runs a started drag to its end and takes the data: the platform's drag loop
    // (QDrag::exec), which delivers the drop and keeps the button's release for itself.
    // A test puts its own loop here, since the platform's waits for a real pointer.
    using DragLoop = std::function<void(QWidget *source, QMimeData *data)>;
    void setDragLoop(DragLoop loop);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    bool viewing() const;
    void dropVardecks(QTreeWidgetItem *target, const QMimeData *data);
    void dropFolder(QTreeWidgetItem *target);
    // A folder drop that moves nothing: no highlight, the selection back on the shown
    // folder, and the message (if any) once the drop's delivery is over.
    void refuseFolderDrop(const QString &message);
    void showFolderPathAfterMove(const QString &movedTID);
    void setDropHighlight(QTreeWidgetItem *node);
    bool handleSourceMouse(QObject *watched, QEvent *event);
    // The data of a drag from source that began with a press at pressPos, or nullptr.
    QMimeData *startDragAt(QWidget *source, const QPoint &pressPos);
    void runDrag(QWidget *source, QMimeData *data);

    frmVardecks &w;
    DragLoop m_dragLoop;
    QPersistentModelIndex m_highlight;
    QPointer<QWidget> m_pressedIn;
    QPoint m_pressPos;
};

} // namespace rr
