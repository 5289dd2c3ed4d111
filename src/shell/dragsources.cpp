#include "shell/dragsources.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QDrag>
#include <QMimeData>
#include <QMouseEvent>

namespace rr
{

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

DragSources::DragSources(DragState &state, QObject *parent) : QObject(parent), m_state(state)
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

QMimeData *DragSources::startFolderDrag(const QString &tid, int nodeIndex)
{
    m_state.m_dragType = QStringLiteral("folder");
    m_state.m_dragFolderIndex = nodeIndex;
    m_state.m_dragFolderTID = tid;
    return folderDragData(tid);
}

QMimeData *DragSources::startVardeckDrag(const QStringList &wids)
{
    if (wids.size() == 1) {
        m_state.m_dragType = QStringLiteral("Vardeck");
        m_state.m_dragWID = wids.first();
    } else {
        m_state.m_dragType = QStringLiteral("VardeckMulti");
        m_state.m_multiDragColl = wids;
    }
    return vardeckDragData(wids);
}

void DragSources::endDrag()
{
    m_state.m_dragType.clear();
    emit dragEnded();
}

void DragSources::forgetDrags()
{
    m_state.m_dragType.clear();
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
    m_dragLoop(source, data);
    // The window may have gone while the drag ran.
    if (self)
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
