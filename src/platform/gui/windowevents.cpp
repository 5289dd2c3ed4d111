#include "platform/gui/windowevents.h"

#include "platform/gui/workers.h"
#include "platform/prompt.h"

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
        // The window manager's close reaches a widget as a spontaneous close event; the
        // program's own close (a dialog's Cancel) reaches it as another, and passes. The
        // event of the window system's window is spontaneous either way: it passes, and
        // brings the widget's own.
        if (type == QEvent::Close) {
            if (!event->spontaneous() || !watched->isWidgetType() || !isWindow(watched) || insideOwnWindow(watched))
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

// While it lives, the pending events run behind the gate and no message box opens.
class Passing
{
public:
    explicit Passing(QWidget *ownWindow, bool holdTimers = false) : m_gate(ownWindow, holdTimers)
    {
        g_running = true;
        qApp->installEventFilter(&m_gate);
    }
    ~Passing()
    {
        qApp->removeEventFilter(&m_gate);
        g_running = false;
    }
    Passing(const Passing &) = delete;
    Passing &operator=(const Passing &) = delete;

private:
    Gate m_gate;
    prompt::Hold m_noMessages;
};

} // namespace

bool passingEvents()
{
    return g_running;
}

void postpone(std::function<void()> what)
{
    if (!g_running) {
        what();
        return;
    }
    // Posted again each time it comes up mid-work; the event loop runs it after.
    QMetaObject::invokeMethod(
        QCoreApplication::instance(), [what = std::move(what)]() mutable { postpone(std::move(what)); },
        Qt::QueuedConnection);
}

void runPending(QWidget *ownWindow)
{
    if (g_running || !qobject_cast<QApplication *>(QCoreApplication::instance()))
        return;
    {
        const Passing passing(ownWindow);
        QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::X11ExcludeTimers);
    }
    g_sinceRun.start();
}

void keepAlive(QWidget *ownWindow)
{
    if (!g_sinceRun.isValid() || g_sinceRun.elapsed() >= kIntervalMs)
        runPending(ownWindow);
}

void runAside(const std::function<void()> &work, QWidget *ownWindow)
{
    std::unique_ptr<QThread> worker(QThread::create([&work] {
        workers::holdForTest();
        work();
    }));
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
    const Passing passing(nullptr, true);
    window->show();
}

} // namespace rr::windowevents
