#include "media/ui/pagebrowser.h"

#include "platform/gui/webengine.h"
#include "platform/textutil.h"

#include <QApplication>
#include <QPointer>
#include <QWidget>

namespace rr
{
namespace
{

bool isBlank(const QUrl &url)
{
    return url.isEmpty() || sameText(url.toString(), QLatin1String("about:blank"));
}

} // namespace

PageBrowser::PageBrowser(QWidget *host) : QObject(host)
{
    m_timeout.setSingleShot(true);
    connect(&m_timeout, &QTimer::timeout, this, [this] {
        if (!m_waiting)
            return;
        stop();
        finish(false, QStringLiteral("The page did not finish loading in %1 seconds.").arg(pageTimeoutMs / 1000));
    });
    webengine::PageSettings settings;
    settings.muted = true;
    webengine::ViewHooks hooks;
    QPointer<PageBrowser> self(this);
    hooks.loadingChanged = [self](const webengine::LoadState &state) {
        if (self)
            self->loadingChanged(state);
    };
    hooks.loadProgress = [self](int percent) {
        if (self)
            emit self->loadProgress(percent);
    };
    m_view = webengine::createView(host, webengine::Profile::PageBrowser, settings, std::move(hooks));
    if (!m_view)
        return;
    m_widget = m_view->widget();
    m_widget->setObjectName(QStringLiteral("WebBrowser1"));
    m_widget->setFixedSize(kWidth, kHeight);
}

void PageBrowser::loadingChanged(const webengine::LoadState &state)
{
    using Status = webengine::LoadState::Status;
    if (isBlank(state.url))
        return;
    if (state.status == Status::Started) {
        // Whatever the view shows from now on is not the page that loaded before.
        m_httpStatus = 0;
        m_lastOk = false;
        return;
    }
    if (state.httpStatus != 0)
        m_httpStatus = state.httpStatus;
    const bool good = state.status == Status::Succeeded && !state.errorPage && m_httpStatus < 400;
    const QString failure = good ? QString()
                            : m_httpStatus >= 400
                                ? QStringLiteral("The server answered with status %1.").arg(m_httpStatus)
                                : loadFailureText(state.errorCode, state.errorString);
    if (!m_waiting) {
        // The page moved on by itself or by a click in the view (a script, a
        // refresh, a link): the engine's error page it may end on is never taken.
        if (state.status != Status::Stopped) {
            m_lastOk = good;
            m_lastFailure = failure;
        }
        return;
    }
    if (good || state.status != Status::Stopped)
        finish(good, failure);
}

void PageBrowser::load(const QUrl &url)
{
    ++m_loadNumber;
    // An address that differs from the page shown only by its "#part" names that same
    // document: the engine only scrolls to the part and reports no load. The page is
    // there as it loaded, or failed as it failed (a page the server refused with an
    // error status is a document too, and its part would wait for the time-out).
    const QUrl shown = this->url();
    if (!m_waiting && !isBlank(shown) && url.hasFragment() &&
        url.adjusted(QUrl::RemoveFragment) == shown.adjusted(QUrl::RemoveFragment)) {
        const bool ok = m_lastOk;
        const QString failure = m_lastFailure;
        m_waiting = true;
        m_timeout.stop();
        if (ok)
            m_view->load(url);
        const int number = m_loadNumber;
        QTimer::singleShot(0, this, [this, number, ok, failure] {
            if (number == m_loadNumber)
                finish(ok, failure);
        });
        return;
    }
    m_timeout.stop();
    m_waiting = !isBlank(url);
    m_lastOk = false;
    m_httpStatus = 0;
    if (m_waiting)
        m_timeout.start(pageTimeoutMs);
    if (m_view && m_widget) {
        m_view->load(url);
    } else if (m_waiting) {
        // Without the browser engine no page loads: reported at once, as a failure.
        QTimer::singleShot(0, this, [this] { finish(false, QStringLiteral("The web browser could not be started.")); });
    }
}

void PageBrowser::stop()
{
    if (m_view && m_widget)
        m_view->stop();
}

QUrl PageBrowser::url() const
{
    return m_view && m_widget ? m_view->url() : QUrl();
}

void PageBrowser::finish(bool ok, const QString &failure)
{
    if (!m_waiting)
        return;
    m_waiting = false;
    m_timeout.stop();
    m_lastOk = ok;
    m_lastFailure = failure;
    emit pageLoaded(ok, failure);
}

void PageBrowser::readDetails(std::function<void(bool ok, const PageDetails &details)> done)
{
    if (!m_view || !m_widget) {
        done(false, PageDetails());
        return;
    }
    const QString address = m_view->url().toString();
    QPointer<PageBrowser> self(this);
    // The page's own scripts cannot reach the reading script's world.
    m_view->runIsolatedScript(pageDetailsScript(), [self, address, done = std::move(done)](const QVariant &answer) {
        if (!self)
            return;
        PageDetails details;
        const bool ok = pageDetailsFromJson(answer.toString().toUtf8(), address, &details);
        done(ok, details);
    });
}

QImage PageBrowser::capture() const
{
    return m_widget ? m_widget->grab().toImage() : QImage();
}

} // namespace rr
