// The browser engine module: web views on private profiles, made for the program
// through the entry rr_webengine_module (platform/gui/webengine.h). Only this module
// links the engine, so the program maps it when it makes its first web view.
#include "platform/gui/webengine.h"
#include "platform/webengine/webprofile.h"

#include <QPageLayout>
#include <QPrinter>
#include <QWebEngineLoadingInfo>
#include <QWebEngineScript>
#include <QWebEngineSettings>
#include <QWebEngineView>

namespace rr::webengine
{
namespace
{

struct PanesProfile;
struct PageBrowserProfile;

class HookedPage : public QuietWebPage
{
public:
    HookedPage(QWebEngineProfile *profile, decltype(ViewHooks::acceptNavigation) accept, QObject *parent)
        : QuietWebPage(profile, parent), m_accept(std::move(accept))
    {
    }

protected:
    bool acceptNavigationRequest(const QUrl &url, NavigationType type, bool isMainFrame) override
    {
        if (!isMainFrame || !m_accept)
            return true;
        return m_accept(url, type == NavigationTypeLinkClicked, this->url());
    }

private:
    decltype(ViewHooks::acceptNavigation) m_accept;
};

LoadState loadStateOf(const QWebEngineLoadingInfo &info)
{
    LoadState state;
    switch (info.status()) {
    case QWebEngineLoadingInfo::LoadStartedStatus:
        state.status = LoadState::Status::Started;
        break;
    case QWebEngineLoadingInfo::LoadStoppedStatus:
        state.status = LoadState::Status::Stopped;
        break;
    case QWebEngineLoadingInfo::LoadSucceededStatus:
        state.status = LoadState::Status::Succeeded;
        break;
    case QWebEngineLoadingInfo::LoadFailedStatus:
        state.status = LoadState::Status::Failed;
        break;
    }
    state.url = info.url();
    state.errorPage = info.isErrorPage();
    if (info.errorDomain() == QWebEngineLoadingInfo::HttpStatusCodeDomain)
        state.httpStatus = info.errorCode();
    else if (info.errorDomain() != QWebEngineLoadingInfo::NoErrorDomain)
        state.errorCode = info.errorCode();
    state.errorString = info.errorString();
    return state;
}

QString endingOf(QWebEnginePage::RenderProcessTerminationStatus status, int exitCode)
{
    switch (status) {
    case QWebEnginePage::KilledTerminationStatus:
        return QStringLiteral("was killed");
    case QWebEnginePage::CrashedTerminationStatus:
        return QStringLiteral("crashed");
    case QWebEnginePage::AbnormalTerminationStatus:
        return QStringLiteral("ended abnormally (exit code %1)").arg(exitCode);
    case QWebEnginePage::NormalTerminationStatus:
        break;
    }
    return QStringLiteral("ended");
}

class EngineView final : public QWebEngineView, public View
{
public:
    EngineView(QWidget *parent, Profile profile, const PageSettings &settings, ViewHooks hooks)
        : QWebEngineView(parent), m_hooks(std::move(hooks))
    {
        QWebEngineProfile *shared = profile == Profile::Panes ? PrivateWebProfile<PanesProfile>::get()
                                                              : PrivateWebProfile<PageBrowserProfile>::get();
        auto *page = new HookedPage(shared, m_hooks.acceptNavigation, this);
        if (profile == Profile::Panes)
            PrivateWebProfile<PanesProfile>::adopt(page);
        else
            PrivateWebProfile<PageBrowserProfile>::adopt(page);
        page->setAudioMuted(settings.muted);
        QWebEngineSettings *s = page->settings();
        s->setAttribute(QWebEngineSettings::JavascriptEnabled, settings.javascript);
        s->setAttribute(QWebEngineSettings::JavascriptCanOpenWindows, false);
        s->setAttribute(QWebEngineSettings::LocalContentCanAccessRemoteUrls, settings.localFilesReadRemote);
        s->setAttribute(QWebEngineSettings::LocalContentCanAccessFileUrls, settings.localFilesReadFiles);
        s->setAttribute(QWebEngineSettings::PluginsEnabled, false);
        s->setAttribute(QWebEngineSettings::PdfViewerEnabled, false);
        setPage(page);
        if (!settings.contextMenu)
            setContextMenuPolicy(Qt::NoContextMenu);

        connect(this, &QWebEngineView::loadStarted, this, [this] { call(m_hooks.loadStarted); });
        connect(this, &QWebEngineView::loadProgress, this,
                [this](int percent) { call(m_hooks.loadProgress, percent); });
        connect(this, &QWebEngineView::loadFinished, this, [this](bool ok) { call(m_hooks.loadFinished, ok); });
        connect(this, &QWebEngineView::urlChanged, this, [this](const QUrl &url) { call(m_hooks.urlChanged, url); });
        connect(page, &QWebEnginePage::linkHovered, this,
                [this](const QString &url) { call(m_hooks.linkHovered, url); });
        connect(page, &QWebEnginePage::renderProcessTerminated, this,
                [this](QWebEnginePage::RenderProcessTerminationStatus status, int exitCode) {
                    call(m_hooks.rendererEnded, endingOf(status, exitCode));
                });
        connect(page, &QWebEnginePage::loadingChanged, this,
                [this](const QWebEngineLoadingInfo &info) { call(m_hooks.loadingChanged, loadStateOf(info)); });
    }

    QWidget *widget() override { return this; }
    void load(const QUrl &url) override { QWebEngineView::load(url); }
    void reload() override { QWebEngineView::reload(); }
    void stop() override { QWebEngineView::stop(); }
    QUrl url() const override { return QWebEngineView::url(); }

    void runIsolatedScript(const QString &script, std::function<void(const QVariant &)> done) override
    {
        page()->runJavaScript(script, QWebEngineScript::ApplicationWorld, std::move(done));
    }

    void printToPdf(const QPageLayout &layout, std::function<void(const QByteArray &)> done) override
    {
        page()->printToPdf(std::move(done), layout);
    }

    void print(QPrinter *printer, std::function<void(bool)> done) override
    {
        auto connection = std::make_shared<QMetaObject::Connection>();
        *connection = connect(this, &QWebEngineView::printFinished, this, [connection, done](bool ok) {
            QObject::disconnect(*connection);
            done(ok);
        });
        QWebEngineView::print(printer);
    }

private:
    template <typename Hook, typename... Args> static void call(const Hook &hook, Args &&...args)
    {
        if (hook)
            hook(std::forward<Args>(args)...);
    }

    ViewHooks m_hooks;
};

View *makeView(QWidget *parent, Profile profile, const PageSettings &settings, ViewHooks hooks)
{
    return new EngineView(parent, profile, settings, std::move(hooks));
}

const ModuleApi kApi{kModuleApiVersion, &makeView};

} // namespace
} // namespace rr::webengine

extern "C" Q_DECL_EXPORT const rr::webengine::ModuleApi *rr_webengine_module()
{
    return &rr::webengine::kApi;
}
