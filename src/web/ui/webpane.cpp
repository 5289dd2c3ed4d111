#include "web/ui/webpane.h"

#include "media/urlsupport.h"
#include "platform/atomicfile.h"
#include "platform/gui/webprofile.h"
#include "shell/openaddress.h"

#include <QCoreApplication>
#include <QEvent>
#include <QPageLayout>
#include <QPrinter>
#include <QTimer>
#include <QVBoxLayout>
#include <QWebEnginePage>
#include <QWebEngineSettings>
#include <QWebEngineView>
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

// One profile for both panes: off the record, no downloads.
using PaneProfile = PrivateWebProfile<WebPane>;

bool sameDocument(const QUrl &a, const QUrl &b)
{
    return a.adjusted(QUrl::RemoveFragment) == b.adjusted(QUrl::RemoveFragment);
}

class GuardedPage : public QuietWebPage
{
public:
    GuardedPage(WebPane::Kind kind, QObject *parent) : QuietWebPage(PaneProfile::get(), parent), m_kind(kind)
    {
        PaneProfile::adopt(this);
        QWebEngineSettings *s = settings();
        s->setAttribute(QWebEngineSettings::JavascriptEnabled, kind == WebPane::Kind::Preview);
        s->setAttribute(QWebEngineSettings::JavascriptCanOpenWindows, false);
        s->setAttribute(QWebEngineSettings::LocalContentCanAccessRemoteUrls, false);
        s->setAttribute(QWebEngineSettings::LocalContentCanAccessFileUrls, true);
        s->setAttribute(QWebEngineSettings::PluginsEnabled, false);
        s->setAttribute(QWebEngineSettings::PdfViewerEnabled, false);
    }

protected:
    bool acceptNavigationRequest(const QUrl &url, NavigationType type, bool isMainFrame) override
    {
        if (m_kind == WebPane::Kind::Preview || !isMainFrame)
            return true;
        // The Web Aspect shows the collection's local pages; a link the user clicks
        // opens in the user's browser.
        if (type == NavigationTypeLinkClicked && !sameDocument(url, this->url())) {
            openOutside(url);
            return false;
        }
        return url.isLocalFile() || url.scheme() == QLatin1String("about");
    }

private:
    WebPane::Kind m_kind;
};

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

QWebEngineView *WebPane::view()
{
    if (m_view || !m_host)
        return m_view;
    m_view = new QWebEngineView(m_host);
    m_view->setObjectName(m_host->objectName() + QStringLiteral("View"));
    m_view->setPage(new GuardedPage(m_kind, m_view));
    m_view->setContextMenuPolicy(Qt::NoContextMenu);
    auto *layout = m_host->layout() ? m_host->layout() : new QVBoxLayout(m_host);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_view);
    connect(m_view, &QWebEngineView::loadStarted, this, &WebPane::loadStarted);
    connect(m_view, &QWebEngineView::loadProgress, this, &WebPane::loadProgress);
    connect(m_view, &QWebEngineView::loadFinished, this, [this](bool ok) {
        m_loading = false;
        emit loadFinished(ok);
    });
    connect(m_view->page(), &QWebEnginePage::linkHovered, this, &WebPane::statusTextChanged);
    connect(m_view, &QWebEngineView::urlChanged, this, [this](const QUrl &url) {
        if (m_host && !url.isEmpty())
            m_host->setProperty(kAddressProperty, url.toString());
    });
    return m_view;
}

void WebPane::navigate(const QUrl &url)
{
    if (m_host)
        m_host->setProperty(kAddressProperty, url.toString());
    m_pending = url;
    m_hasPending = true;
    const bool blank = url.toString() == QLatin1String("about:blank");
    if (m_view || (!blank && m_host && m_host->isVisible()))
        loadPending();
}

void WebPane::loadPending()
{
    if (!m_hasPending)
        return;
    m_hasPending = false;
    if (QWebEngineView *v = view()) {
        m_loading = true;
        v->load(m_pending);
    }
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
    QWebEngineView *v = view();
    if (!v || !printer) {
        done(false);
        return;
    }
    if (printer->outputFormat() == QPrinter::PdfFormat && !printer->outputFileName().isEmpty()) {
        // The engine hands the document over once it is complete; it is written whole.
        const QString path = printer->outputFileName();
        v->page()->printToPdf(
            [path, done](const QByteArray &pdf) { done(!pdf.isEmpty() && writeFileAtomically(path, pdf)); },
            printer->pageLayout());
        return;
    }
    auto connection = std::make_shared<QMetaObject::Connection>();
    // The printer must live until the view has finished with it.
    *connection = connect(v, &QWebEngineView::printFinished, this, [connection, printer, done](bool ok) {
        QObject::disconnect(*connection);
        done(ok);
    });
    v->print(printer.get());
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
