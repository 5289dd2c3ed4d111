#pragma once
// An X server of the test's own (Xvfb, openbox) and plain windows on it that stand in
// for other programs; everything started here ends with the object.
#include "platform/x11windows.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QThread>
#include <cstring>
#include <memory>
#include <xcb/xcb.h>

namespace rr::test
{

class XSession
{
public:
    XSession()
    {
        const QString xvfb = QStandardPaths::findExecutable(QStringLiteral("Xvfb"));
        const QString openbox = QStandardPaths::findExecutable(QStringLiteral("openbox"));
        if (xvfb.isEmpty() || openbox.isEmpty()) {
            m_problem = QStringLiteral("Xvfb or openbox is not installed");
            return;
        }
        // -displayfd picks a free display and writes its number to our stdout. On a
        // machine busy with a whole build and test run the server may take longer than
        // ten seconds to say it; the wait ends as soon as it does.
        m_server.start(xvfb, {"-displayfd", "1", "-screen", "0", "1024x768x24", "-nolisten", "tcp"});
        QDeadlineTimer deadline(30000);
        while (!m_server.canReadLine() && !deadline.hasExpired() && m_server.state() != QProcess::NotRunning)
            m_server.waitForReadyRead(100);
        const QByteArray number = m_server.readLine().trimmed();
        if (number.isEmpty()) {
            m_problem =
                QStringLiteral("Xvfb did not start: ") + QString::fromLocal8Bit(m_server.readAllStandardError());
            return;
        }
        m_display = QStringLiteral(":") + QString::fromLatin1(number);
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("DISPLAY"), m_display);
        env.insert(QStringLiteral("HOME"), m_wmHome.path());
        m_wm.setProcessEnvironment(env);
        m_wm.setStandardOutputFile(QProcess::nullDevice());
        m_wm.setStandardErrorFile(QProcess::nullDevice());
        m_wm.start(openbox, {"--sm-disable"});
        while (!deadline.hasExpired() && !x11::windowsTopFirst(m_display))
            QThread::msleep(50);
        if (!x11::windowsTopFirst(m_display))
            m_problem = QStringLiteral("openbox did not start on ") + m_display;
    }
    ~XSession()
    {
        for (QProcess *p : {&m_wm, &m_server}) {
            if (p->state() != QProcess::NotRunning) {
                p->terminate();
                if (!p->waitForFinished(3000)) {
                    p->kill();
                    p->waitForFinished(3000);
                }
            }
        }
    }
    // Why no session could start; "" when it runs.
    QString problem() const { return m_problem; }
    QString display() const { return m_display; }

    // Waits until the window manager lists count windows. A loaded machine (a full
    // parallel build beside the tests) can keep a new window unmanaged for seconds; the
    // wait ends as soon as the windows are listed.
    bool waitForWindows(int count) const
    {
        QDeadlineTimer deadline(20000);
        while (!deadline.hasExpired()) {
            const auto windows = x11::windowsTopFirst(m_display);
            if (windows && windows->size() >= count)
                return true;
            QThread::msleep(20);
        }
        return false;
    }

private:
    QProcess m_server;
    QProcess m_wm;
    QTemporaryDir m_wmHome;
    QString m_display;
    QString m_problem;
};

// A top-level window with a title and a WM_CLASS, on its own connection, that
// takes part in the polite close protocol and records a request to close.
class HelperWindow
{
public:
    HelperWindow(const QString &display, const QByteArray &title, const QByteArray &instance, const QByteArray &cls)
    {
        m_c = xcb_connect(display.toLocal8Bit().constData(), nullptr);
        if (xcb_connection_has_error(m_c))
            return;
        const xcb_screen_t *screen = xcb_setup_roots_iterator(xcb_get_setup(m_c)).data;
        m_window = xcb_generate_id(m_c);
        xcb_create_window(m_c, XCB_COPY_FROM_PARENT, m_window, screen->root, 10, 10, 300, 200, 0,
                          XCB_WINDOW_CLASS_INPUT_OUTPUT, screen->root_visual, 0, nullptr);
        m_protocols = atom("WM_PROTOCOLS");
        m_delete = atom("WM_DELETE_WINDOW");
        setTitle(title);
        const QByteArray wmClass = instance + '\0' + cls + '\0';
        xcb_change_property(m_c, XCB_PROP_MODE_REPLACE, m_window, XCB_ATOM_WM_CLASS, XCB_ATOM_STRING, 8, wmClass.size(),
                            wmClass.constData());
        xcb_change_property(m_c, XCB_PROP_MODE_REPLACE, m_window, m_protocols, XCB_ATOM_ATOM, 32, 1, &m_delete);
        xcb_map_window(m_c, m_window);
        xcb_flush(m_c);
    }
    ~HelperWindow() { xcb_disconnect(m_c); }
    // A new title, as a browser gives its window when another tab is shown.
    void setTitle(const QByteArray &title)
    {
        xcb_change_property(m_c, XCB_PROP_MODE_REPLACE, m_window, atom("_NET_WM_NAME"), atom("UTF8_STRING"), 8,
                            title.size(), title.constData());
        xcb_flush(m_c);
    }
    HelperWindow(const HelperWindow &) = delete;
    HelperWindow &operator=(const HelperWindow &) = delete;

    // True once the window manager passed on a request to close, within waitMs.
    bool closeRequested(int waitMs)
    {
        QDeadlineTimer deadline(waitMs);
        do {
            while (xcb_generic_event_t *event = xcb_poll_for_event(m_c)) {
                const auto *message = reinterpret_cast<xcb_client_message_event_t *>(event);
                const bool close = (event->response_type & 0x7f) == XCB_CLIENT_MESSAGE &&
                                   message->type == m_protocols && message->data.data32[0] == m_delete;
                free(event);
                if (close)
                    return true;
            }
            QThread::msleep(10);
        } while (!deadline.hasExpired());
        return false;
    }

private:
    xcb_atom_t atom(const char *name)
    {
        xcb_intern_atom_reply_t *r =
            xcb_intern_atom_reply(m_c, xcb_intern_atom(m_c, 0, uint16_t(strlen(name)), name), nullptr);
        const xcb_atom_t a = r ? r->atom : xcb_atom_t(XCB_ATOM_NONE);
        free(r);
        return a;
    }
    xcb_connection_t *m_c = nullptr;
    xcb_window_t m_window = 0;
    xcb_atom_t m_protocols = 0;
    xcb_atom_t m_delete = 0;
};

} // namespace rr::test
