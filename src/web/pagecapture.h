#pragma once
// The scan of the running browsers for their open pages. Each kind of browser is one
// page source, asked in a fixed order: Firefox (its live profiles' session files),
// then Chromium-family browsers started with remote debugging on the configured
// local ports. The desktop's window list tells which browser window lies on top, for
// the scan of the top page only; without a global stacking order (Wayland) that scan
// takes every page. Nothing here changes anything outside the program.
#include "platform/x11windows.h"
#include "web/detectedpage.h"

#include <QList>
#include <QObject>
#include <QString>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

namespace rr
{

enum class BrowserKind { None, Firefox, Chromium };

// The kind of browser a window of this WM_CLASS belongs to (names compared without
// regard to case); None for every other program.
BrowserKind browserKindOfClass(const QString &instanceName, const QString &className);

// The browser window nearest the top, with its title without the browser's name.
struct TopBrowserWindow {
    BrowserKind kind = BrowserKind::None;
    QString title;
};
// The first browser window of windows (top first), skipping windows without a title
// and the program's own windows (its caption, its process).
TopBrowserWindow topBrowserWindow(const QList<x11::TopLevelWindow> &windows, const QString &ownCaption, qint64 ownPid);

// Whether a window titled windowTitle shows page: the first 30 characters of the
// page's name against the window title, ignoring case.
bool titleShowsPage(const QString &windowTitle, const DetectedPage &page);

class PageSource
{
public:
    virtual ~PageSource() = default;
    virtual BrowserKind kind() const = 0;
    // Every page open in the browser, in the browser's own order.
    virtual QList<DetectedPage> openPages() = 0;
    // The page of the browser's window titled windowTitle, else of the window used
    // last; at most one.
    virtual QList<DetectedPage> frontPage(const QString &windowTitle) = 0;
};

struct CaptureSettings {
    QString home;         // the user's home folder, where Firefox keeps profiles
    QList<quint16> ports; // remote-debugging ports on 127.0.0.1
    QString display;      // the X display; "" for $DISPLAY
    QString ownCaption;   // the main window's caption
    qint64 ownPid = 0;    // this process
    int timeoutMs = 700;  // per request to a debugging port
};

// The settings the program runs with: the real home folder, the "DevToolsPorts"
// setting (default 9222), this process.
CaptureSettings defaultCaptureSettings(const QString &ownCaption);

class BrowserCapture
{
public:
    explicit BrowserCapture(const CaptureSettings &settings);
    ~BrowserCapture();

    // Every page (topOnly false), or the page of the browser window on top. Waits for
    // the browsers, asking every debugging port at the same time: ports that never
    // answer cost one time-out in all.
    QList<DetectedPage> getOpenBrowserPages(bool topOnly);
    // The browser window on top; kind None when there is none or no stacking order.
    TopBrowserWindow LoadTaskList() const;
    // Appends page to detected when it qualifies: its address is that of a web page
    // or a file. Its name is put on one line without blanks around it, and is that
    // address when nothing else is left.
    static void LoadPageDetails(const DetectedPage &page, QList<DetectedPage> &detected);
    // True while some Firefox profile is in use by a live process.
    bool isFFOpen() const;
    // The top-level windows of the known browsers, for closing them.
    QList<quint32> browserWindows() const;

private:
    CaptureSettings m_settings;
    std::vector<std::unique_ptr<PageSource>> m_sources;
};

namespace devtools
{
class PageQuery;
}

// A full scan that does not wait for the browsers: the Firefox session files are read
// at once and every debugging port is asked at the same time, each with the time-out
// of the settings. done gets the pages once the last port has answered or timed out,
// in the order getOpenBrowserPages(false) gives them, from the calling thread's event
// loop (never from the constructor), and must leave the scan alive. Deleting the scan
// before abandons it: done is not called.
class BrowserScan
{
public:
    using Done = std::function<void(const QList<DetectedPage> &)>;
    BrowserScan(const CaptureSettings &settings, Done done);
    ~BrowserScan();
    BrowserScan(const BrowserScan &) = delete;
    BrowserScan &operator=(const BrowserScan &) = delete;

private:
    void portDone(size_t index, const QList<DetectedPage> &pages);
    void finish();

    Done m_done;
    QList<DetectedPage> m_firefoxPages;
    std::vector<std::optional<QList<DetectedPage>>> m_portPages;
    std::vector<std::unique_ptr<devtools::PageQuery>> m_queries;
    QObject m_context; // for the answer of a scan with no port to ask
};

} // namespace rr
