#include "platform/gui/windowevents.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QEvent>
#include <QPointer>
#include <QThread>
#include <QWidget>
#include <QWindow>

#include <memory>

namespace rr::windowevents
{
namespace
{

bool g_running = false;
QElapsedTimer g_sinceRun;

bool isMouseInput(QEvent::Type type)
{
    switch (type) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::MouseMove:
    case QEvent::Wheel:
    case QEvent::TouchBegin:
    case QEvent::TouchUpdate:
    case QEvent::TouchEnd:
    case QEvent::TabletPress:
    case QEvent::TabletRelease:
    case QEvent::TabletMove:
        return true;
    default:
        return false;
    }
}

bool isOtherInput(QEvent::Type type)
{
    switch (type) {
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
    case QEvent::ShortcutOverride:
    case QEvent::Shortcut:
    case QEvent::InputMethod:
    case QEvent::ContextMenu:
    case QEvent::DragEnter:
    case QEvent::DragMove:
    case QEvent::Drop:
        return true;
    default:
        return false;
    }
}

// Stands at the door of every window while the events run.
class Gate : public QObject
{
public:
    explicit Gate(QWidget *ownWindow, bool holdTimers = false) : m_own(ownWindow), m_holdTimers(holdTimers) {}

    bool eventFilter(QObject *watched, QEvent *event) override
    {
        const QEvent::Type type = event->type();
        // A timer whose event goes undelivered stays armed and comes again.
        if (type == QEvent::Timer)
            return m_holdTimers;
        if (type == QEvent::Close) {
            if (!event->spontaneous() || !isWindow(watched))
                return false;
            event->ignore();
            return true;
        }
        if (isMouseInput(type))
            return !insideOwnWindow(watched);
        return isOtherInput(type);
    }

private:
    static bool isWindow(QObject *object)
    {
        if (object->isWindowType())
            return true;
        return object->isWidgetType() && static_cast<QWidget *>(object)->isWindow();
    }

    bool insideOwnWindow(QObject *object) const
    {
        if (!m_own)
            return false;
        if (object->isWindowType())
            return m_own->window()->windowHandle() == object;
        if (!object->isWidgetType())
            return false;
        const QWidget *widget = static_cast<QWidget *>(object);
        return widget == m_own || m_own->isAncestorOf(widget);
    }

    QPointer<QWidget> m_own;
    bool m_holdTimers;
};

} // namespace

void runPending(QWidget *ownWindow)
{
    if (g_running || !qobject_cast<QApplication *>(QCoreApplication::instance()))
        return;
    g_running = true;
    Gate gate(ownWindow);
    qApp->installEventFilter(&gate);
    QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::X11ExcludeTimers);
    qApp->removeEventFilter(&gate);
    g_running = false;
    g_sinceRun.start();
}

void keepAlive(QWidget *ownWindow)
{
    if (!g_sinceRun.isValid() || g_sinceRun.elapsed() >= kIntervalMs)
        runPending(ownWindow);
}

void runAside(const std::function<void()> &work, QWidget *ownWindow)
{
    std::unique_ptr<QThread> worker(QThread::create(work));
    worker->start();
    while (!worker->wait(QDeadlineTimer(kIntervalMs)))
        runPending(ownWindow);
}

void showWindow(QWidget *window)
{
    if (g_running || window->isVisible() || !qobject_cast<QApplication *>(QCoreApplication::instance())) {
        window->show();
        return;
    }
    g_running = true;
    Gate gate(nullptr, true);
    qApp->installEventFilter(&gate);
    window->show();
    qApp->removeEventFilter(&gate);
    g_running = false;
}

} // namespace rr::windowevents
