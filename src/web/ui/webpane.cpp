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

#include <utility>

namespace rr
{
namespace
{

const char kPaneProperty[] = "rrWebPane";
const char kAddressProperty[] = "rrAddress";
// The longest the whole page waits for its first screen to be drawn.
constexpr int kFirstScreenWaitMs = 1500;

// A link clicked in the Web Aspect goes to the user's browser. A local file's address
// keeps every escape, so a "%" or "#" in a file name and letters outside ASCII reach
// the browser or the desktop's opener as they stand in the page.
void openOutside(const QUrl &url)
{
    openInBrowser(url.isLocalFile() ? QString::fromUtf8(url.toEncoded()) : url.toString());
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
    webengine::View *made = makeView();
    if (!made)
        return nullptr;
    setCurrent(made);
    return made->widget();
}

webengine::View *WebPane::makeView()
{
    webengine::PageSettings settings;
    // The Web Aspect runs no script, a page in the preview runs its own; the local
    // pages of both may read other local files (stylesheets).
    settings.javascript = m_kind == Kind::Preview;
    settings.localFilesReadFiles = true;
    settings.contextMenu = false;
    webengine::ViewHooks hooks;
    QPointer<WebPane> self(this);
    // Which view the hooks are of, known once it is made.
    auto me = std::make_shared<webengine::View *>(nullptr);
    hooks.loadStarted = [self, me] {
        if (!self || !self->reportsFor(*me))
            return;
        // Also a load the page started itself, or one asked for while another was
        // ending.
        self->setLoading(true);
        emit self->loadStarted();
    };
    hooks.loadProgress = [self, me](int percent) {
        if (self && self->reportsFor(*me))
            emit self->loadProgress(percent);
    };
    hooks.loadFinished = [self, me](bool ok) {
        if (!self)
            return;
        // The whole page is drawn once its first screen is: the two share the process
        // that draws them.
        if (*me == self->m_view && self->m_incoming)
            self->startIncoming();
        if (!self->reportsFor(*me))
            return;
        if (*me == self->m_incoming) {
            self->layOutIncoming(ok);
            return;
        }
        self->m_shownDrawn = ok;
        self->setLoading(false);
        emit self->loadFinished(ok);
    };
    hooks.linkHovered = [self, me](const QString &url) {
        if (self && *me == self->m_view)
            emit self->statusTextChanged(url);
    };
    hooks.urlChanged = [self, me](const QUrl &url) {
        if (self && self->reportsFor(*me) && self->m_host && !url.isEmpty())
            self->m_host->setProperty(kAddressProperty, url.toString());
    };
    hooks.rendererEnded = [self, me](const QString &why) {
        if (self)
            self->viewEnded(*me, why);
    };
    if (m_kind == Kind::Aspect)
        hooks.acceptNavigation = acceptAspectNavigation;
    webengine::View *made = webengine::createView(m_host, webengine::Profile::Panes, settings, std::move(hooks));
    if (!made)
        return nullptr;
    *me = made;
    QWidget *widget = made->widget();
    widget->setObjectName(m_host->objectName() + QStringLiteral("View"));
    // The pane forgets a view that goes before it, and the load it had under way.
    connect(widget, &QObject::destroyed, this, [this, made] {
        for (int i = 0; i < m_kept.size(); ++i) {
            if (m_kept[i].view == made)
                m_kept.removeAt(i--);
        }
        if (m_incoming == made)
            m_incoming = nullptr;
        if (m_view != made) {
            announceLoading();
            return;
        }
        m_view = nullptr;
        if (m_host)
            m_host->setFocusProxy(nullptr);
        setLoading(false);
    });
    return made;
}

void WebPane::setCurrent(webengine::View *made)
{
    m_view = made;
    QWidget *widget = made->widget();
    // The keyboard given to the pane's place goes to the page.
    m_host->setFocusProxy(widget);
    auto *layout = m_host->layout() ? m_host->layout() : new QVBoxLayout(m_host);
    layout->setContentsMargins(0, 0, 0, 0);
    if (layout->indexOf(widget) < 0)
        layout->addWidget(widget);
    widget->show();
    widget->raise();
}

bool WebPane::reportsFor(const webengine::View *view) const
{
    return view && (m_incoming ? view == m_incoming : view == m_view);
}

void WebPane::keepShown()
{
    if (!m_view || m_shownKey.isEmpty() || !m_shownDrawn || m_loading)
        return;
    for (int i = 0; i < m_kept.size(); ++i) {
        if (m_kept[i].key == m_shownKey)
            dropKept(i--);
    }
    m_view->widget()->hide();
    m_kept.append({m_shownKey, m_view});
    m_view = nullptr;
    m_shownKey.clear();
    m_shownDrawn = false;
    while (m_kept.size() > kKeptPages)
        dropKept(0);
}

void WebPane::viewEnded(webengine::View *view, const QString &why)
{
    // A page kept whose process ended is blank: it is forgotten, and made again when
    // it is next asked for. The view goes once its own report is over.
    for (int i = 0; i < m_kept.size(); ++i) {
        if (m_kept[i].view == view) {
            m_kept.removeAt(i);
            view->widget()->deleteLater();
            return;
        }
    }
    if (view == m_incoming) {
        m_incoming = nullptr;
        m_incomingUrl.clear();
        view->widget()->deleteLater();
    } else if (view != m_view) {
        return;
    }
    m_shownDrawn = false;
    m_shownKey.clear();
    setLoading(false);
    emit rendererEnded(why);
}

void WebPane::dropKept(int index)
{
    webengine::View *view = m_kept.takeAt(index).view;
    delete view->widget();
}

void WebPane::forgetKept()
{
    while (!m_kept.isEmpty())
        dropKept(0);
}

bool WebPane::keeps(const QString &key) const
{
    for (const Kept &kept : m_kept) {
        if (kept.key == key)
            return true;
    }
    return false;
}

void WebPane::dropIncoming()
{
    if (!m_incoming)
        return;
    webengine::View *incoming = m_incoming;
    m_incoming = nullptr;
    m_incomingUrl.clear();
    delete incoming->widget();
}

bool WebPane::showKept(const QString &key)
{
    if (!key.isEmpty() && m_view && key == m_shownKey && m_shownDrawn && !m_incoming && !m_hasPending && !m_loading)
        return true;
    int found = -1;
    for (int i = 0; i < m_kept.size(); ++i) {
        if (m_kept[i].key == key)
            found = i;
    }
    if (found < 0 || !m_host)
        return false;
    dropIncoming();
    m_hasPending = false;
    webengine::View *kept = m_kept.takeAt(found).view;
    keepShown();
    // A page that cannot be kept makes way.
    if (m_view)
        delete m_view->widget();
    setCurrent(kept);
    m_shownKey = key;
    m_shownDrawn = true;
    m_host->setProperty(kAddressProperty, kept->url().toString());
    setLoading(false);
    return true;
}

void WebPane::startIncoming()
{
    if (!m_incoming || m_incomingUrl.isEmpty())
        return;
    const QUrl url = m_incomingUrl;
    m_incomingUrl.clear();
    m_incoming->load(url);
}

void WebPane::layOutIncoming(bool ok)
{
    // The whole page takes the first screen's place once it is laid out, scrolled to
    // where the user scrolled the first screen: it never shows blank meanwhile.
    QPointer<WebPane> self(this);
    webengine::View *incoming = m_incoming;
    const auto swap = [self, incoming, ok](const QVariant &) {
        if (self && self->m_incoming == incoming)
            self->incomingDrawn(ok);
    };
    if (!ok || !m_view) {
        swap({});
        return;
    }
    m_view->runIsolatedScript(QStringLiteral("window.scrollY"), [self, incoming, swap](const QVariant &scrolled) {
        if (!self || self->m_incoming != incoming)
            return;
        incoming->runIsolatedScript(
            QStringLiteral("window.scrollTo(0, %1); document.documentElement.scrollHeight").arg(scrolled.toInt()),
            swap);
    });
}

void WebPane::incomingDrawn(bool ok)
{
    webengine::View *drawn = m_incoming;
    m_incoming = nullptr;
    if (m_view)
        delete m_view->widget();
    setCurrent(drawn);
    m_shownKey = m_incomingKey;
    m_shownDrawn = ok;
    if (m_host)
        m_host->setProperty(kAddressProperty, drawn->url().toString());
    setLoading(false);
    emit loadFinished(ok);
}

void WebPane::navigate(const QUrl &url, const QString &key, const QUrl &firstScreen)
{
    dropIncoming();
    if (m_host)
        m_host->setProperty(kAddressProperty, url.toString());
    // The page shown is drawn again in its own view when it is the one asked for.
    if (key == m_shownKey)
        m_shownKey.clear();
    if (!movesWithinPage(url, m_view ? m_view->url() : QUrl()))
        keepShown();
    for (int i = 0; i < m_kept.size(); ++i) {
        if (!key.isEmpty() && m_kept[i].key == key)
            dropKept(i--);
    }
    m_pending = url;
    m_pendingKey = key;
    m_pendingFirstScreen = firstScreen;
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
    const QUrl firstScreen = std::exchange(m_pendingFirstScreen, QUrl());
    if (!firstScreen.isEmpty() && view() && (m_incoming = makeView())) {
        m_shownKey.clear();
        m_shownDrawn = false;
        m_view->load(firstScreen);
        m_incomingKey = m_pendingKey;
        QWidget *behind = m_incoming->widget();
        behind->setGeometry(m_host->rect());
        behind->show();
        behind->lower();
        m_incomingUrl = m_pending;
        QPointer<WebPane> self(this);
        QTimer::singleShot(kFirstScreenWaitMs, this, [self] {
            if (self)
                self->startIncoming();
        });
        m_loading = true;
        announceLoading();
        return;
    }
    if (view()) {
        // A load asked for while another is under way replaces it: the engine then
        // reports one end, for the last.
        if (!movesWithinPage(m_pending, m_view->url())) {
            m_loading = true;
            m_shownDrawn = false;
        }
        m_shownKey = m_pendingKey;
        m_view->load(m_pending);
    }
    announceLoading();
}

bool WebPane::isLoading() const
{
    return m_loading || m_incoming || (m_hasPending && !isBlank(m_pending));
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
    if (watched == m_host && event->type() == QEvent::Resize && m_incoming)
        m_incoming->widget()->setGeometry(m_host->rect());
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
