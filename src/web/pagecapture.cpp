#include "web/pagecapture.h"

#include "media/urlsupport.h"
#include "platform/textutil.h"
#include "storage/settingsstore.h"
#include "web/devtoolspages.h"
#include "web/firefoxsession.h"

#include <QCoreApplication>
#include <QDir>
#include <QTimer>

namespace rr
{
namespace
{

// A window title without its last " - Browser" or " — Browser" part.
QString withoutBrowserName(const QString &title)
{
    qsizetype cut = -1;
    for (const QString &sep : {QStringLiteral(" \u2014 "), QStringLiteral(" - ")})
        cut = qMax(cut, title.lastIndexOf(sep));
    return cut >= 0 ? title.left(cut) : title;
}

class FirefoxSource final : public PageSource
{
public:
    explicit FirefoxSource(const QString &home) : m_home(home) {}
    BrowserKind kind() const override { return BrowserKind::Firefox; }

    QList<DetectedPage> openPages() override
    {
        QList<DetectedPage> pages;
        for (const firefox::Session &session : sessions())
            for (const firefox::Window &window : session.windows)
                pages << window.tabs;
        return pages;
    }

    // Firefox writes its session file late after a mere switch of tabs, so the tab it
    // marks as selected may be the one shown before: the window's title tells which
    // tab it shows now. A tab marked selected that fits the title wins; then any tab
    // that fits, in the windows used last first.
    QList<DetectedPage> frontPage(const QString &windowTitle) override
    {
        const QList<firefox::Session> all = sessions();
        for (const firefox::Session &session : all)
            for (const firefox::Window &window : session.windows)
                if (window.selected >= 0 && titleShowsPage(windowTitle, window.tabs.at(window.selected)))
                    return {window.tabs.at(window.selected)};
        for (const firefox::Session &session : all)
            for (const int w : session.windowsUsedLastFirst())
                for (const DetectedPage &tab : session.windows.at(w).tabs)
                    if (titleShowsPage(windowTitle, tab))
                        return {tab};
        for (const firefox::Session &session : all)
            if (const std::optional<DetectedPage> page = session.frontPage())
                return {*page};
        return {};
    }

private:
    QList<firefox::Session> sessions() const
    {
        QList<firefox::Session> all;
        for (const QString &profile : firefox::liveProfileFolders(m_home))
            if (std::optional<firefox::Session> session = firefox::readSession(profile))
                all << *session;
        return all;
    }
    QString m_home;
};

class DevToolsSource final : public PageSource
{
public:
    DevToolsSource(const QList<quint16> &ports, int timeoutMs) : m_ports(ports), m_timeoutMs(timeoutMs) {}
    BrowserKind kind() const override { return BrowserKind::Chromium; }

    QList<DetectedPage> openPages() override { return devtools::pagesOn(m_ports, m_timeoutMs); }

    QList<DetectedPage> frontPage(const QString &windowTitle) override
    {
        const QList<DetectedPage> pages = openPages();
        for (const DetectedPage &page : pages)
            if (titleShowsPage(windowTitle, page))
                return {page};
        // The browser lists the page used last first.
        return pages.isEmpty() ? QList<DetectedPage>() : QList<DetectedPage>{pages.first()};
    }

private:
    QList<quint16> m_ports;
    int m_timeoutMs;
};

} // namespace

BrowserKind browserKindOfClass(const QString &instanceName, const QString &className)
{
    static const QStringList chromium = {QStringLiteral("chromium"),
                                         QStringLiteral("chromium-browser"),
                                         QStringLiteral("google-chrome"),
                                         QStringLiteral("google-chrome-beta"),
                                         QStringLiteral("google-chrome-unstable"),
                                         QStringLiteral("brave-browser"),
                                         QStringLiteral("microsoft-edge"),
                                         QStringLiteral("microsoft-edge-beta"),
                                         QStringLiteral("vivaldi-stable"),
                                         QStringLiteral("vivaldi"),
                                         QStringLiteral("opera")};
    for (const QString &name : {className, instanceName}) {
        const QString lower = name.toLower();
        if (lower == QLatin1String("firefox") || lower.startsWith(QLatin1String("firefox-")))
            return BrowserKind::Firefox;
        if (chromium.contains(lower))
            return BrowserKind::Chromium;
    }
    return BrowserKind::None;
}

TopBrowserWindow topBrowserWindow(const QList<x11::TopLevelWindow> &windows, const QString &ownCaption, qint64 ownPid)
{
    for (const x11::TopLevelWindow &window : windows) {
        if (window.title.isEmpty() || sameText(window.title, ownCaption) || (ownPid != 0 && window.pid == ownPid))
            continue;
        const BrowserKind kind = browserKindOfClass(window.instanceName, window.className);
        if (kind != BrowserKind::None)
            return {kind, withoutBrowserName(window.title)};
    }
    return {};
}

bool titleShowsPage(const QString &windowTitle, const DetectedPage &page)
{
    return !windowTitle.isEmpty() && sameText(windowTitle.left(30), page.name.left(30));
}

CaptureSettings defaultCaptureSettings(const QString &ownCaption)
{
    CaptureSettings settings;
    settings.home = QDir::homePath();
    settings.ports = SettingsStore::getDevToolsPorts();
    settings.ownCaption = ownCaption;
    settings.ownPid = QCoreApplication::applicationPid();
    return settings;
}

BrowserCapture::BrowserCapture(const CaptureSettings &settings) : m_settings(settings)
{
    m_sources.push_back(std::make_unique<FirefoxSource>(settings.home));
    m_sources.push_back(std::make_unique<DevToolsSource>(settings.ports, settings.timeoutMs));
}

BrowserCapture::~BrowserCapture() = default;

QList<DetectedPage> BrowserCapture::getOpenBrowserPages(bool topOnly)
{
    QList<DetectedPage> detected;
    const TopBrowserWindow top = topOnly ? LoadTaskList() : TopBrowserWindow();
    for (const std::unique_ptr<PageSource> &source : m_sources) {
        if (top.kind != BrowserKind::None && source->kind() != top.kind)
            continue;
        const QList<DetectedPage> pages =
            top.kind != BrowserKind::None ? source->frontPage(top.title) : source->openPages();
        for (const DetectedPage &page : pages)
            LoadPageDetails(page, detected);
    }
    return detected;
}

TopBrowserWindow BrowserCapture::LoadTaskList() const
{
    if (!x11::sessionHasGlobalStacking())
        return {};
    const std::optional<QList<x11::TopLevelWindow>> windows = x11::windowsTopFirst(m_settings.display);
    return windows ? topBrowserWindow(*windows, m_settings.ownCaption, m_settings.ownPid) : TopBrowserWindow();
}

void BrowserCapture::LoadPageDetails(const DetectedPage &page, QList<DetectedPage> &detected)
{
    // Only a web page or a file makes a Vardeck: never a browser's own page (a new
    // tab, its settings), a script or data address.
    if (!urlSupport::isWebOrFileAddress(page.address))
        return;
    DetectedPage kept = page;
    // A title holds one line in the list and in the Vardeck; one of blanks only, or
    // none, names the page by its address.
    kept.name = singleLineText(kept.name).trimmed();
    if (kept.name.isEmpty())
        kept.name = kept.address;
    detected << kept;
}

BrowserScan::BrowserScan(const CaptureSettings &settings, Done done) : m_done(std::move(done))
{
    m_firefoxPages = FirefoxSource(settings.home).openPages();
    m_portPages.resize(size_t(settings.ports.size()));
    for (size_t i = 0; i < m_portPages.size(); ++i)
        m_queries.push_back(
            std::make_unique<devtools::PageQuery>(settings.ports.at(qsizetype(i)), settings.timeoutMs,
                                                  [this, i](const QList<DetectedPage> &pages) { portDone(i, pages); }));
    if (m_queries.empty())
        QTimer::singleShot(0, &m_context, [this] { finish(); });
}

BrowserScan::~BrowserScan() = default;

void BrowserScan::portDone(size_t index, const QList<DetectedPage> &pages)
{
    m_portPages[index] = pages;
    for (const std::optional<QList<DetectedPage>> &port : m_portPages)
        if (!port)
            return;
    finish();
}

void BrowserScan::finish()
{
    QList<DetectedPage> detected;
    for (const DetectedPage &page : std::as_const(m_firefoxPages))
        BrowserCapture::LoadPageDetails(page, detected);
    for (const std::optional<QList<DetectedPage>> &port : m_portPages)
        for (const DetectedPage &page : *port)
            BrowserCapture::LoadPageDetails(page, detected);
    const Done done = std::move(m_done);
    if (done)
        done(detected);
}

bool BrowserCapture::isFFOpen() const
{
    return !firefox::liveProfileFolders(m_settings.home).isEmpty();
}

QList<quint32> BrowserCapture::browserWindows() const
{
    QList<quint32> ids;
    const std::optional<QList<x11::TopLevelWindow>> windows = x11::windowsTopFirst(m_settings.display);
    if (!windows)
        return ids;
    for (const x11::TopLevelWindow &window : *windows)
        if ((m_settings.ownPid == 0 || window.pid != m_settings.ownPid) &&
            browserKindOfClass(window.instanceName, window.className) != BrowserKind::None)
            ids << window.id;
    return ids;
}

} // namespace rr
