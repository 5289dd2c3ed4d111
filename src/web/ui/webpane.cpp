#include "web/ui/webpane.h"

#include "media/urlsupport.h"
#include "platform/atomicfile.h"
#include "platform/gui/webengine.h"
#include "shell/openaddress.h"

#include <QCoreApplication>
#include <QEvent>
#include <QLayout>
#include <QPageLayout>
#include <QPrinter>
#include <QTimer>
#include <QVBoxLayout>
#include <QWidget>

namespace rr
{
namespace
{

const char kPaneProperty[] = "rrWebPane";
const char kAddressProperty[] = "rrAddress";

// A link clicked in the Web Aspect goes to the user's browser.
void openOutside(const QUrl &url)
{
    openInBrowser(url.toString());
}

bool sameDocument(const QUrl &a, const QUrl &b)
{
    return a.adjusted(QUrl::RemoveFragment) == b.adjusted(QUrl::RemoveFragment);
}

bool isBlank(const QUrl &url)
{
    return url.toString() == QLatin1String("about:blank");
}

// The engine moves within the page it shows to an address that names a place in
// it, and reports no load for that.
bool movesWithinPage(const QUrl &url, const QUrl &shown)
{
    return url.hasFragment() && !shown.isEmpty() && sameDocument(url, shown);
}

// The Web Aspect shows the collection's local pages; a link the user clicks opens
// in the user's browser. The preview goes wherever its page leads.
bool acceptAspectNavigation(const QUrl &url, bool linkClicked, const QUrl &shown)
{
    if (linkClicked && !sameDocument(url, shown)) {
        openOutside(url);
        return false;
    }
    return url.isLocalFile() || url.scheme() == QLatin1String("about");
}

} // namespace

WebPane::WebPane(QWidget *host, Kind kind) : QObject(host), m_host(host), m_kind(kind)
{
    host->setProperty(kPaneProperty, QVariant::fromValue<QObject *>(this));
    host->installEventFilter(this);
}

WebPane::~WebPane() = default;

WebPane *WebPane::of(const QWidget *host)
{
    return host ? qobject_cast<WebPane *>(host->property(kPaneProperty).value<QObject *>()) : nullptr;
}

QWidget *WebPane::view()
{
    if (m_view || !m_host)
        return m_view ? m_view->widget() : nullptr;
    webengine::PageSettings settings;
    // The Web Aspect runs no script, a page in the preview runs its own; the local
    // pages of both may read other local files (stylesheets).
    settings.javascript = m_kind == Kind::Preview;
    settings.localFilesReadFiles = true;
    settings.contextMenu = false;
    webengine::ViewHooks hooks;
    QPointer<WebPane> self(this);
    hooks.loadStarted = [self] {
        if (!self)
            return;
        // Also a load the page started itself, or one asked for while another was
        // ending.
        self->setLoading(true);
        emit self->loadStarted();
    };
    hooks.loadProgress = [self](int percent) {
        if (self)
            emit self->loadProgress(percent);
    };
    hooks.loadFinished = [self](bool ok) {
        if (!self)
            return;
        self->setLoading(false);
        emit self->loadFinished(ok);
    };
    hooks.linkHovered = [self](const QString &url) {
        if (self)
            emit self->statusTextChanged(url);
    };
    hooks.urlChanged = [self](const QUrl &url) {
        if (self && self->m_host && !url.isEmpty())
            self->m_host->setProperty(kAddressProperty, url.toString());
    };
    if (m_kind == Kind::Aspect)
        hooks.acceptNavigation = acceptAspectNavigation;
    m_view = webengine::createView(m_host, webengine::Profile::Panes, settings, std::move(hooks));
    if (!m_view)
        return nullptr;
    QWidget *widget = m_view->widget();
    widget->setObjectName(m_host->objectName() + QStringLiteral("View"));
    // The pane forgets a view that goes before it, and the load it had under way.
    connect(widget, &QObject::destroyed, this, [this] {
        m_view = nullptr;
        if (m_host)
            m_host->setFocusProxy(nullptr);
        setLoading(false);
    });
    // The keyboard given to the pane's place goes to the page.
    m_host->setFocusProxy(widget);
    auto *layout = m_host->layout() ? m_host->layout() : new QVBoxLayout(m_host);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(widget);
    return widget;
}

void WebPane::navigate(const QUrl &url)
{
    if (m_host)
        m_host->setProperty(kAddressProperty, url.toString());
    m_pending = url;
    m_hasPending = true;
    if (m_view || (!isBlank(url) && m_host && m_host->isVisible()))
        loadPending();
    announceLoading();
}

void WebPane::loadPending()
{
    if (!m_hasPending)
        return;
    m_hasPending = false;
    if (view()) {
        // A load asked for while another is under way replaces it: the engine then
        // reports one end, for the last.
        if (!movesWithinPage(m_pending, m_view->url()))
            m_loading = true;
        m_view->load(m_pending);
    }
    announceLoading();
}

bool WebPane::isLoading() const
{
    return m_loading || (m_hasPending && !isBlank(m_pending));
}

void WebPane::setLoading(bool loading)
{
    m_loading = loading;
    announceLoading();
}

void WebPane::announceLoading()
{
    const bool loading = isLoading();
    if (loading == m_announcedLoading)
        return;
    m_announcedLoading = loading;
    emit loadingChanged(loading);
}

void WebPane::whenLoaded(std::function<void()> then)
{
    if (!view())
        return;
    loadPending();
    if (!m_loading) {
        then();
        return;
    }
    auto connection = std::make_shared<QMetaObject::Connection>();
    *connection = connect(this, &WebPane::loadFinished, this, [connection, then](bool) {
        QObject::disconnect(*connection);
        then();
    });
}

QString WebPane::address() const
{
    return m_host ? m_host->property(kAddressProperty).toString() : QString();
}

void WebPane::refresh()
{
    if (m_view)
        m_view->reload();
}

void WebPane::stop()
{
    if (m_view)
        m_view->stop();
}

void WebPane::print(std::shared_ptr<QPrinter> printer, std::function<void(bool ok)> done)
{
    if (!view() || !printer) {
        done(false);
        return;
    }
    if (printer->outputFormat() == QPrinter::PdfFormat && !printer->outputFileName().isEmpty()) {
        // The engine hands the document over once it is complete; it is written whole.
        const QString path = printer->outputFileName();
        m_view->printToPdf(printer->pageLayout(), [path, done](const QByteArray &pdf) {
            done(!pdf.isEmpty() && writeFileAtomically(path, pdf));
        });
        return;
    }
    // The printer must live until the view has finished with it.
    m_view->print(printer.get(), [printer, done](bool ok) { done(ok); });
}

bool WebPane::eventFilter(QObject *watched, QEvent *event)
{
    // The browser is made after the show, never inside the event's delivery.
    if (watched == m_host && event->type() == QEvent::Show && m_hasPending && !m_view) {
        QPointer<WebPane> self(this);
        QTimer::singleShot(0, this, [self] {
            if (self && self->m_host && self->m_host->isVisible())
                self->loadPending();
        });
    }
    return QObject::eventFilter(watched, event);
}

} // namespace rr
