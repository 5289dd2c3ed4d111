#include "media/ui/pagebrowser.h"

#include "platform/gui/webprofile.h"

#include <QApplication>
#include <QPointer>
#include <QWebEngineLoadingInfo>
#include <QWebEnginePage>
#include <QWebEngineScript>
#include <QWebEngineSettings>
#include <QWebEngineView>

namespace rr
{
namespace
{

// One private profile for every page browser: off the record, nothing downloaded.
using BrowserProfile = PrivateWebProfile<PageBrowser>;

class QuietPage : public QuietWebPage
{
public:
    explicit QuietPage(QObject *parent) : QuietWebPage(BrowserProfile::get(), parent)
    {
        BrowserProfile::adopt(this);
        setAudioMuted(true);
        QWebEngineSettings *s = settings();
        s->setAttribute(QWebEngineSettings::JavascriptCanOpenWindows, false);
        s->setAttribute(QWebEngineSettings::PluginsEnabled, false);
        s->setAttribute(QWebEngineSettings::PdfViewerEnabled, false);
        s->setAttribute(QWebEngineSettings::LocalContentCanAccessFileUrls, false);
    }
};

bool isBlank(const QUrl &url)
{
    return url.isEmpty() || url.toString().compare(QLatin1String("about:blank"), Qt::CaseInsensitive) == 0;
}

} // namespace

PageBrowser::PageBrowser(QWidget *host) : QObject(host), m_view(newWebView(host))
{
    m_view->setObjectName(QStringLiteral("WebBrowser1"));
    m_view->setPage(new QuietPage(m_view));
    m_view->setFixedSize(kWidth, kHeight);
    m_timeout.setSingleShot(true);
    connect(&m_timeout, &QTimer::timeout, this, [this] {
        if (!m_waiting)
            return;
        m_view->stop();
        finish(false, QStringLiteral("The page did not finish loading in %1 seconds.").arg(pageTimeoutMs / 1000));
    });
    connect(m_view->page(), &QWebEnginePage::loadingChanged, this, [this](const QWebEngineLoadingInfo &info) {
        if (isBlank(info.url()))
            return;
        if (info.status() == QWebEngineLoadingInfo::LoadStartedStatus) {
            // Whatever the view shows from now on is not the page that loaded before.
            m_httpStatus = 0;
            m_lastOk = false;
            return;
        }
        if (info.errorDomain() == QWebEngineLoadingInfo::HttpStatusCodeDomain)
            m_httpStatus = info.errorCode();
        const bool good =
            info.status() == QWebEngineLoadingInfo::LoadSucceededStatus && !info.isErrorPage() && m_httpStatus < 400;
        if (!m_waiting) {
            // The page moved on by itself or by a click in the view (a script, a
            // refresh, a link): the engine's error page it may end on is never taken.
            if (info.status() != QWebEngineLoadingInfo::LoadStoppedStatus)
                m_lastOk = good;
            return;
        }
        if (good) {
            finish(true, QString());
        } else if (info.status() != QWebEngineLoadingInfo::LoadStoppedStatus) {
            const QString reason = m_httpStatus >= 400
                                       ? QStringLiteral("The server answered with status %1.").arg(m_httpStatus)
                                       : info.errorString();
            finish(false, reason.isEmpty() ? QStringLiteral("The page could not be loaded.") : reason);
        }
    });
    connect(m_view, &QWebEngineView::loadProgress, this, &PageBrowser::loadProgress);
}

void PageBrowser::load(const QUrl &url)
{
    m_timeout.stop();
    m_waiting = !isBlank(url);
    m_lastOk = false;
    m_httpStatus = 0;
    if (m_waiting)
        m_timeout.start(pageTimeoutMs);
    m_view->load(url);
}

void PageBrowser::stop()
{
    m_view->stop();
}

QUrl PageBrowser::url() const
{
    return m_view->url();
}

void PageBrowser::finish(bool ok, const QString &failure)
{
    if (!m_waiting)
        return;
    m_waiting = false;
    m_timeout.stop();
    m_lastOk = ok;
    emit pageLoaded(ok, failure);
}

void PageBrowser::readDetails(std::function<void(bool ok, const PageDetails &details)> done)
{
    const QString address = m_view->url().toString();
    QPointer<PageBrowser> self(this);
    // The page's own scripts cannot reach the reading script's world.
    m_view->page()->runJavaScript(pageDetailsScript(), QWebEngineScript::ApplicationWorld,
                                  [self, address, done = std::move(done)](const QVariant &answer) {
                                      if (!self)
                                          return;
                                      PageDetails details;
                                      const bool ok =
                                          pageDetailsFromJson(answer.toString().toUtf8(), address, &details);
                                      done(ok, details);
                                  });
}

QImage PageBrowser::capture() const
{
    return m_view->grab().toImage();
}

} // namespace rr
