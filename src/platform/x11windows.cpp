#include "platform/x11windows.h"

#include "platform/textutil.h"

#include <QByteArray>
#include <QList>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <xcb/xcb.h>

namespace rr::x11
{
namespace
{

constexpr int kMaxWindows = 4096;
constexpr uint32_t kMaxTextWords = 1024; // 4 KB of title or class

struct Connection {
    explicit Connection(const QString &display)
    {
        const QByteArray name = display.toLocal8Bit();
        if (display.isEmpty() && qEnvironmentVariableIsEmpty("DISPLAY"))
            return;
        c = xcb_connect(display.isEmpty() ? nullptr : name.constData(), &screenNumber);
        if (c && xcb_connection_has_error(c)) {
            xcb_disconnect(c);
            c = nullptr;
        }
    }
    ~Connection()
    {
        if (c)
            xcb_disconnect(c);
    }
    Connection(const Connection &) = delete;
    Connection &operator=(const Connection &) = delete;

    xcb_window_t root() const
    {
        xcb_screen_iterator_t it = xcb_setup_roots_iterator(xcb_get_setup(c));
        for (int i = 0; i < screenNumber && it.rem; ++i)
            xcb_screen_next(&it);
        return it.rem ? it.data->root : xcb_window_t(XCB_WINDOW_NONE);
    }
    xcb_atom_t atom(const char *name) const
    {
        xcb_intern_atom_reply_t *r =
            xcb_intern_atom_reply(c, xcb_intern_atom(c, 1, uint16_t(strlen(name)), name), nullptr);
        const xcb_atom_t a = r ? r->atom : xcb_atom_t(XCB_ATOM_NONE);
        free(r);
        return a;
    }

    xcb_connection_t *c = nullptr;
    int screenNumber = 0;
};

using Reply = std::unique_ptr<xcb_get_property_reply_t, decltype(&free)>;

Reply propertyReply(xcb_connection_t *c, xcb_get_property_cookie_t cookie)
{
    return Reply(xcb_get_property_reply(c, cookie, nullptr), &free);
}

QByteArray bytesOf(const Reply &r, uint8_t format)
{
    if (!r || r->format != format)
        return {};
    const int length = xcb_get_property_value_length(r.get());
    return length > 0 ? QByteArray(static_cast<const char *>(xcb_get_property_value(r.get())), length) : QByteArray();
}

xcb_get_property_cookie_t ask(xcb_connection_t *c, xcb_window_t w, xcb_atom_t property, xcb_atom_t type, uint32_t words)
{
    return xcb_get_property(c, 0, w, property, type, 0, words);
}

// Text up to the first NUL (X11 texts are often stored with one at the end).
QByteArray untilNul(const QByteArray &b)
{
    const qsizetype nul = b.indexOf('\0');
    return nul < 0 ? b : b.left(nul);
}

} // namespace

bool sessionHasGlobalStacking()
{
    return qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY") &&
           !sameText(qEnvironmentVariable("XDG_SESSION_TYPE"), QLatin1String("wayland"));
}

std::optional<QList<TopLevelWindow>> windowsTopFirst(const QString &display)
{
    Connection x(display);
    if (!x.c)
        return std::nullopt;
    const xcb_window_t root = x.root();
    const xcb_atom_t stacking = x.atom("_NET_CLIENT_LIST_STACKING");
    const xcb_atom_t netName = x.atom("_NET_WM_NAME");
    const xcb_atom_t utf8 = x.atom("UTF8_STRING");
    const xcb_atom_t netPid = x.atom("_NET_WM_PID");
    if (root == XCB_WINDOW_NONE || stacking == XCB_ATOM_NONE)
        return std::nullopt;

    const Reply list = propertyReply(x.c, ask(x.c, root, stacking, XCB_ATOM_WINDOW, kMaxWindows));
    if (!list || list->type != XCB_ATOM_WINDOW)
        return std::nullopt; // no window manager keeps the list
    const QByteArray raw = bytesOf(list, 32);
    const int count = int(raw.size() / 4);

    // All requests first, then all replies: one round trip instead of four per window.
    struct Pending {
        xcb_window_t id;
        xcb_get_property_cookie_t netName, name, cls, pid;
    };
    QList<Pending> pending;
    pending.reserve(count);
    for (int i = count - 1; i >= 0; --i) {
        xcb_window_t w = 0;
        memcpy(&w, raw.constData() + 4 * i, 4);
        pending.append({w, ask(x.c, w, netName, utf8, kMaxTextWords),
                        ask(x.c, w, XCB_ATOM_WM_NAME, XCB_GET_PROPERTY_TYPE_ANY, kMaxTextWords),
                        ask(x.c, w, XCB_ATOM_WM_CLASS, XCB_ATOM_STRING, kMaxTextWords),
                        ask(x.c, w, netPid, XCB_ATOM_CARDINAL, 1)});
    }
    QList<TopLevelWindow> windows;
    for (const Pending &p : pending) {
        const Reply netNameReply = propertyReply(x.c, p.netName);
        const Reply nameReply = propertyReply(x.c, p.name);
        const Reply classReply = propertyReply(x.c, p.cls);
        const Reply pidReply = propertyReply(x.c, p.pid);
        if (!classReply && !nameReply && !netNameReply)
            continue; // gone since the list was read
        TopLevelWindow w;
        w.id = p.id;
        const QByteArray utf8Title = untilNul(bytesOf(netNameReply, 8));
        w.title =
            !utf8Title.isEmpty() ? QString::fromUtf8(utf8Title) : QString::fromLatin1(untilNul(bytesOf(nameReply, 8)));
        const QByteArray cls = bytesOf(classReply, 8);
        const qsizetype nul = cls.indexOf('\0');
        w.instanceName = QString::fromLatin1(nul < 0 ? cls : cls.left(nul));
        if (nul >= 0)
            w.className = QString::fromLatin1(untilNul(cls.mid(nul + 1)));
        const QByteArray pid = bytesOf(pidReply, 32);
        if (pid.size() == 4) {
            quint32 number = 0;
            memcpy(&number, pid.constData(), 4);
            w.pid = number;
        }
        windows.append(w);
    }
    return windows;
}

int requestClose(const QList<quint32> &windows, const QString &display)
{
    Connection x(display);
    if (!x.c || windows.isEmpty())
        return 0;
    const xcb_window_t root = x.root();
    const xcb_atom_t close = x.atom("_NET_CLOSE_WINDOW");
    if (root == XCB_WINDOW_NONE || close == XCB_ATOM_NONE)
        return 0;
    int sent = 0;
    for (const quint32 w : windows) {
        xcb_client_message_event_t event{};
        event.response_type = XCB_CLIENT_MESSAGE;
        event.format = 32;
        event.window = w;
        event.type = close;
        event.data.data32[0] = XCB_CURRENT_TIME;
        event.data.data32[1] = 2; // asked for by a tool acting for the user
        xcb_send_event(x.c, 0, root, XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY | XCB_EVENT_MASK_SUBSTRUCTURE_REDIRECT,
                       reinterpret_cast<const char *>(&event));
        ++sent;
    }
    // A round trip makes sure the server has the requests before the connection closes.
    free(xcb_get_input_focus_reply(x.c, xcb_get_input_focus(x.c), nullptr));
    return sent;
}

} // namespace rr::x11
