#pragma once
// The private profile of one kind of embedded browser: off the record, downloads
// refused. Each Owner type gets a profile of its own.
//
// The browser engine shuts down in a clean-up routine of the application's
// destructor and deletes whatever profile data is left; a profile object deleted
// after that (as a child of the application) is torn down against an engine that is
// gone, and one deleted while a page still uses it takes the page's data away. So the profile is deleted in
// a clean-up routine added after the engine's own, which runs before it, when none
// of its pages is left. Widgets cannot be deleted that late (the scene graph is gone),
// so a page whose window still waits for its deferred deletion, or a leaked page,
// leaves the profile to the engine.
#include <QCoreApplication>
#include <QWebEngineDownloadRequest>
#include <QWebEngineFileSystemAccessRequest>
#include <QWebEngineFullScreenRequest>
#include <QWebEnginePage>
#include <QWebEngineProfile>
#include <QWebEngineRegisterProtocolHandlerRequest>

namespace rr
{

template <typename Owner> class PrivateWebProfile
{
public:
    static QWebEngineProfile *get()
    {
        if (!s_profile) {
            // Creating the first profile starts the engine, which adds its own
            // clean-up routine; ours, added after it, runs before it.
            s_profile = new QWebEngineProfile;
            QObject::connect(s_profile, &QWebEngineProfile::downloadRequested,
                             [](QWebEngineDownloadRequest *download) { download->cancel(); });
            qAddPostRoutine(&PrivateWebProfile::release);
        }
        return s_profile;
    }

    // Every page made on the profile says so, so that the profile outlives it.
    static void adopt(QWebEnginePage *page)
    {
        ++s_pages;
        QObject::connect(page, &QObject::destroyed, [] { --s_pages; });
    }

private:
    static void release()
    {
        if (s_pages > 0)
            return;
        delete s_profile;
        s_profile = nullptr;
    }

    static inline QWebEngineProfile *s_profile = nullptr;
    static inline int s_pages = 0;
};

// A page of ours asks the user nothing on a site's behalf: permissions, full screen,
// file system access and protocol handlers are refused, no window opens, no file is
// offered, and script dialogs and console messages go nowhere.
class QuietWebPage : public QWebEnginePage
{
public:
    QuietWebPage(QWebEngineProfile *profile, QObject *parent) : QWebEnginePage(profile, parent)
    {
        connect(this, &QWebEnginePage::featurePermissionRequested, this,
                [this](const QUrl &origin, QWebEnginePage::Feature feature) {
                    setFeaturePermission(origin, feature, QWebEnginePage::PermissionDeniedByUser);
                });
        connect(this, &QWebEnginePage::fullScreenRequested, this,
                [](QWebEngineFullScreenRequest request) { request.reject(); });
        connect(this, &QWebEnginePage::fileSystemAccessRequested, this,
                [](QWebEngineFileSystemAccessRequest request) { request.reject(); });
        connect(this, &QWebEnginePage::registerProtocolHandlerRequested, this,
                [](QWebEngineRegisterProtocolHandlerRequest request) { request.reject(); });
    }

protected:
    QWebEnginePage *createWindow(WebWindowType) override { return nullptr; }
    QStringList chooseFiles(FileSelectionMode, const QStringList &, const QStringList &) override { return {}; }
    void javaScriptAlert(const QUrl &, const QString &) override {}
    bool javaScriptConfirm(const QUrl &, const QString &) override { return false; }
    bool javaScriptPrompt(const QUrl &, const QString &, const QString &, QString *) override { return false; }
    void javaScriptConsoleMessage(JavaScriptConsoleMessageLevel, const QString &, int, const QString &) override {}
};

} // namespace rr
