#include "shell/dragsources.h"

#include "platform/gui/itemtags.h"
#include "storage/record.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QDrag>
#include <QMimeData>
#include <QMouseEvent>
#include <QPointer>
#include <QScrollBar>
#include <QTimer>
#include <QWheelEvent>

namespace rr
{

// Watches the whole application while one of the window's drags runs: the moves of the
// drag over a target start and stop its scrolling at the edges, and the wheel scrolls
// the target under the pointer. It sees the drag's events before the targets' drop
// handlers take them, and before the platform's drag loop (which installs a watcher
// of its own once it runs, and drops the wheel there): it places itself first again
// once that loop runs.
class DragSources::Scroller : public QObject
{
public:
    explicit Scroller(QObject *parent) : QObject(parent)
    {
        m_timer.setInterval(50);
        connect(&m_timer, &QTimer::timeout, this, [this] { scrollStep(); });
    }
    void addTarget(QAbstractItemView *view) { m_targets.append(view); }
    void dragStarted()
    {
        qApp->installEventFilter(this);
        QTimer::singleShot(0, this, [this] {
            if (m_running)
                qApp->installEventFilter(this);
        });
        m_running = true;
    }
    void dragEnded()
    {
        m_running = false;
        stop();
        qApp->removeEventFilter(this);
    }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        switch (event->type()) {
        case QEvent::DragEnter:
        case QEvent::DragMove:
            if (QAbstractItemView *view = targetOf(watched)) {
                auto *move = static_cast<QDragMoveEvent *>(event);
                restAt(view, move->position().toPoint(), move);
            }
            return false;
        case QEvent::DragLeave:
        case QEvent::Drop:
            if (targetOf(watched))
                stop();
            return false;
        case QEvent::Wheel:
            return wheel(static_cast<QWheelEvent *>(event));
        default:
            return false;
        }
    }

private:
    QAbstractItemView *targetOf(const QObject *viewport) const
    {
        for (const QPointer<QAbstractItemView> &view : m_targets) {
            if (view && view->viewport() == viewport)
                return view;
        }
        return nullptr;
    }
    // The drag rests at pos in view's viewport: near the top or the bottom edge the view
    // scrolls, a step more at each tick, until the drag leaves the edge.
    void restAt(QAbstractItemView *view, const QPoint &pos, const QDragMoveEvent *move)
    {
        if (m_resending)
            return;
        const int margin = view->autoScrollMargin();
        const int height = view->viewport()->height();
        const int direction = !view->hasAutoScroll() ? 0 : pos.y() < margin ? -1 : pos.y() >= height - margin ? 1 : 0;
        m_view = view;
        m_pos = pos;
        m_data = move->mimeData();
        m_actions = move->possibleActions();
        if (direction == 0) {
            stop();
        } else if (direction != m_direction || !m_timer.isActive()) {
            m_direction = direction;
            m_steps = 0;
            m_timer.start();
        }
    }
    void stop()
    {
        m_timer.stop();
        m_direction = 0;
    }
    void scrollStep()
    {
        QAbstractItemView *view = m_view;
        if (!view || !m_data) {
            stop();
            return;
        }
        QScrollBar *bar = view->verticalScrollBar();
        m_steps = std::min(m_steps + 1, std::max(1, bar->pageStep()));
        const int before = bar->value();
        bar->setValue(before + m_direction * m_steps);
        if (bar->value() == before) {
            stop();
            return;
        }
        moveAgain(view);
    }
    // The drag's target under the resting pointer changed: the view's drop handler hears
    // of it as of a move.
    void moveAgain(QAbstractItemView *view)
    {
        QDragMoveEvent again(m_pos, m_actions, m_data, QApplication::mouseButtons(), QApplication::keyboardModifiers());
        m_resending = true;
        QApplication::sendEvent(view->viewport(), &again);
        m_resending = false;
    }
    bool wheel(const QWheelEvent *event)
    {
        const QPoint global = event->globalPosition().toPoint();
        for (const QPointer<QAbstractItemView> &view : m_targets) {
            if (!view || !view->isVisible() ||
                !view->viewport()->rect().contains(view->viewport()->mapFromGlobal(global)))
                continue;
            QScrollBar *bar = view->verticalScrollBar();
            const int notches = event->angleDelta().y() / QWheelEvent::DefaultDeltasPerStep;
            bar->setValue(bar->value() - notches * QApplication::wheelScrollLines() * bar->singleStep());
            if (m_data && view == m_view)
                moveAgain(view);
            return true;
        }
        return false;
    }

    QList<QPointer<QAbstractItemView>> m_targets;
    QTimer m_timer;
    bool m_running = false;
    bool m_resending = false;
    QPointer<QAbstractItemView> m_view;
    QPoint m_pos;
    QPointer<const QMimeData> m_data;
    Qt::DropActions m_actions;
    int m_direction = 0;
    int m_steps = 0;
};

QMimeData *vardeckDragData(const QStringList &wids)
{
    auto *data = new QMimeData;
    data->setData(QString::fromLatin1(kVardeckDragMimeType), wids.join(QLatin1Char('\n')).toUtf8());
    return data;
}

QMimeData *folderDragData(const QString &tid)
{
    auto *data = new QMimeData;
    data->setData(QString::fromLatin1(kFolderDragMimeType), tid.toUtf8());
    return data;
}

QStringList draggedVardeckIds(const QMimeData *data)
{
    const QString type = QString::fromLatin1(kVardeckDragMimeType);
    if (!data || !data->hasFormat(type))
        return {};
    QStringList wids;
    for (const QString &line : QString::fromUtf8(data->data(type)).split(QLatin1Char('\n'))) {
        const QString wid = line.trimmed();
        if (!wid.isEmpty())
            wids << wid;
    }
    return wids;
}

bool isInternalDragData(const QMimeData *data)
{
    return data && (data->hasFormat(QString::fromLatin1(kVardeckDragMimeType)) ||
                    data->hasFormat(QString::fromLatin1(kFolderDragMimeType)));
}

DroppedItems droppedItems(const QMimeData *data, const DragState &state)
{
    DroppedItems items;
    items.kind = state.dragKind();
    items.internal = isInternalDragData(data);
    items.wids = draggedVardeckIds(data);
    if (items.kind == DragKind::Vardeck)
        items.wids = items.wids.mid(0, 1);
    const QString folderType = QString::fromLatin1(kFolderDragMimeType);
    if (items.kind == DragKind::Folder && data && data->hasFormat(folderType))
        items.folderTID = QString::fromUtf8(data->data(folderType)).trimmed();
    return items;
}

DragSources::DragSources(DragState &state, VardeckDraggable draggable, QObject *parent)
    : QObject(parent), m_state(state), m_draggable(std::move(draggable)), m_scroller(new Scroller(this))
{
    setObjectName(QStringLiteral("dragSources"));
    m_dragLoop = [this](QWidget *source, QMimeData *data) {
        const Qt::DropAction defaultAction = m_sources.value(source).defaultAction;
        QPointer<QDrag> drag = new QDrag(source);
        drag->setMimeData(data);
        drag->exec(Qt::MoveAction | Qt::CopyAction, defaultAction);
        // The source, and the drag with it, may have gone while the drag ran its own
        // event loop.
        if (drag)
            drag->deleteLater();
    };
}

void DragSources::addSource(QAbstractItemView *view, Start start, Qt::DropAction defaultAction)
{
    m_sources.insert(view->viewport(), Source{view, std::move(start), defaultAction});
    view->viewport()->installEventFilter(this);
}

void DragSources::addTarget(QAbstractItemView *view)
{
    m_scroller->addTarget(view);
}

QMimeData *DragSources::startFolderDrag(const QString &tid, int nodeIndex)
{
    m_state.m_dragKind = DragKind::Folder;
    m_state.m_dragFolderIndex = nodeIndex;
    m_state.m_dragFolderTID = tid;
    return folderDragData(tid);
}

QMimeData *DragSources::startVardeckDrag(const QStringList &wids)
{
    if (wids.size() == 1) {
        m_state.m_dragKind = DragKind::Vardeck;
        m_state.m_dragWID = wids.first();
    } else {
        m_state.m_dragKind = DragKind::VardeckMulti;
        m_state.m_multiDragColl = wids;
    }
    return vardeckDragData(wids);
}

QMimeData *DragSources::startVardeckNodeDrag(const QTreeWidgetItem *pressed)
{
    const QString wid = identifierOf(tagOf(pressed));
    if (wid.isEmpty() || !m_draggable || !m_draggable(wid))
        return nullptr;
    return startVardeckDrag({wid});
}

void DragSources::endDrag()
{
    m_state.m_dragKind = DragKind::None;
    emit dragEnded();
}

void DragSources::forgetDrags()
{
    m_state.m_dragKind = DragKind::None;
    m_state.m_dragWID.clear();
    m_state.m_multiDragColl.clear();
    m_state.m_dragFolderIndex = 0;
    m_state.m_dragFolderTID.clear();
}

void DragSources::setDragLoop(DragLoop loop)
{
    m_dragLoop = std::move(loop);
}

void DragSources::runDrag(QWidget *source, QMimeData *data)
{
    QPointer<DragSources> self(this);
    m_scroller->dragStarted();
    m_dragLoop(source, data);
    // The window may have gone while the drag ran.
    if (!self)
        return;
    m_scroller->dragEnded();
    endDrag();
}

bool DragSources::eventFilter(QObject *watched, QEvent *event)
{
    const QEvent::Type type = event->type();
    if (type != QEvent::MouseButtonPress && type != QEvent::MouseButtonRelease && type != QEvent::MouseMove)
        return false;
    const Source source = m_sources.value(watched);
    if (!source.view)
        return false;
    auto *widget = static_cast<QWidget *>(watched);
    auto *mouse = static_cast<QMouseEvent *>(event);
    const QPoint pos = mouse->position().toPoint();
    if (type == QEvent::MouseButtonPress) {
        // A drag starts only on an item: a folder, a Vardeck node or a row.
        const bool onItem = source.view->indexAt(pos).isValid();
        m_pressedIn = mouse->button() == Qt::LeftButton && onItem ? widget : nullptr;
        m_pressPos = pos;
        return false;
    }
    if (type == QEvent::MouseButtonRelease) {
        m_pressedIn = nullptr;
        return false;
    }
    if (m_pressedIn != widget || !(mouse->buttons() & Qt::LeftButton))
        return false;
    if ((pos - m_pressPos).manhattanLength() < QApplication::startDragDistance())
        return true;
    m_pressedIn = nullptr;
    QMimeData *data = source.start(m_pressPos);
    if (!data)
        return false;
    runDrag(widget, data);
    return true;
}

} // namespace rr
