#pragma once
// The window's own drags: what they carry, and the one way every source starts them.
//
// A folder of tvwTopics, or Vardecks of tvwWM, listVD (and its icons) or the
// favourites tree, are dragged onto a folder of tvwTopics or onto the Favorites tab.
// The source records what is dragged in the window's drag state (frmVardecks::drag)
// and every drop target reads it; the drag's data carries the identifiers under a
// private type, so that a target tells the window's own drags from drops of other
// programs (which never move anything here).
//
// A view the drags are dropped on scrolls while a drag rests near its top or bottom
// edge, and with the wheel during a drag, so that a far folder can be reached: the
// views' own scrolling never sees the drags their drop handlers take, and the
// platform's drag loop keeps the wheel for itself.
//
// A drag starts with the left button pressed on an item and the pointer moved past the
// drag distance, and it drags what was pressed on, whatever the view has selected. The
// view sees none of the moves before that: it would take them as the start of a
// selection by dragging, which only the button's release ends, and the drag keeps that
// release. The view would then ignore its next press, and its selection would follow
// the pointer instead of the user's clicks.
#include "shell/windowstate.h"

#include <QHash>
#include <QObject>
#include <QPoint>
#include <QPointer>
#include <QStringList>
#include <functional>

class QAbstractItemView;
class QMimeData;
class QTreeWidgetItem;
class QWidget;

namespace rr
{

// A drag of Vardecks: the WIDs as UTF-8 text, one per line.
inline constexpr char kVardeckDragMimeType[] = "application/x-razuzezu-vardeck-drag";
// A drag of a folder: its TID as UTF-8 text.
inline constexpr char kFolderDragMimeType[] = "application/x-razuzezu-folder-drag";

QMimeData *vardeckDragData(const QStringList &wids);
QMimeData *folderDragData(const QString &tid);
// The WIDs of a Vardeck drag; empty for any other data.
QStringList draggedVardeckIds(const QMimeData *data);
// True for data of one of the window's own drags.
bool isInternalDragData(const QMimeData *data);

// What a drop carries, read the one way every drop target reads it: the kind of the
// window's drag under way comes from the drag state, the identifiers from the data.
struct DroppedItems {
    DragKind kind = DragKind::None;
    // The data is of the window's own formats (a drag of this window's, or of another
    // copy of the program's, which the state knows nothing of).
    bool internal = false;
    // The Vardecks the data names, in order; of a one-Vardeck drag the one.
    QStringList wids;
    // The folder of a folder drag ("" for any other drop).
    QString folderTID;
};
DroppedItems droppedItems(const QMimeData *data, const DragState &state);

class DragSources : public QObject
{
    Q_OBJECT
public:
    // Whether the Vardeck wid may be dragged now (nothing is being edited, and the open
    // database has it).
    using VardeckDraggable = std::function<bool(const QString &wid)>;
    DragSources(DragState &state, VardeckDraggable draggable, QObject *parent);

    // What a source drags for a press at pressPos in its viewport: the data of one of
    // the starts below, or nullptr when no drag may start there.
    using Start = std::function<QMimeData *(const QPoint &pressPos)>;
    // The view's drags start through start; defaultAction is the one they offer first.
    void addSource(QAbstractItemView *view, Start start, Qt::DropAction defaultAction);
    // A view the window's drags are dropped on: it scrolls during them (see above).
    void addTarget(QAbstractItemView *view);

    // The starts: each records what is dragged and returns the drag's data, which the
    // caller owns. A folder: its TID and its node's place in the folder tree.
    QMimeData *startFolderDrag(const QString &tid, int nodeIndex);
    // Vardecks in list order: one is a one-Vardeck drag, none or several a drag of Vardecks.
    QMimeData *startVardeckDrag(const QStringList &wids);
    // The one start of a drag of one Vardeck from a tree of Vardeck nodes (the Vardeck
    // tree, the favourites): the Vardeck of the node pressed on, when it may be dragged;
    // nullptr otherwise.
    QMimeData *startVardeckNodeDrag(const QTreeWidgetItem *pressed);
    // The drag ended, dropped or not: none of the window's drags is under way.
    void endDrag();
    // The database went: nothing is dragged, and nothing dragged last is remembered.
    void forgetDrags();

    // Runs a started drag to its end and takes the data: the platform's drag loop
    // (QDrag::exec), which delivers the drop and keeps the button's release for itself.
    // A test puts its own loop here, since the platform's waits for a real pointer.
    using DragLoop = std::function<void(QWidget *source, QMimeData *data)>;
    void setDragLoop(DragLoop loop);

signals:
    void dragEnded();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    struct Source {
        QPointer<QAbstractItemView> view;
        Start start;
        Qt::DropAction defaultAction = Qt::MoveAction;
    };
    void runDrag(QWidget *source, QMimeData *data);

    DragState &m_state;
    VardeckDraggable m_draggable;
    // The targets' scrolling during a drag.
    class Scroller;
    Scroller *m_scroller;
    DragLoop m_dragLoop;
    QHash<const QObject *, Source> m_sources; // by the view's viewport
    QPointer<QWidget> m_pressedIn;
    QPoint m_pressPos;
};

} // namespace rr
