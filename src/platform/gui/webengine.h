#pragma once
// The embedded browser, as the program's panes use it. The browser engine lives in a
// module of its own (razuzezu-webengine, beside the program in lib/razuzezu-revidod),
// loaded when the first web view is made: a start that shows no web page neither maps
// the engine's libraries (tens of megabytes) nor spends the time linking them, and
// makes no OpenGL context (webgraphics.h).
//
// Every view has a private profile of its kind that keeps nothing on disk: downloads
// are cancelled, permission, full-screen, file-system and protocol-handler requests
// refused, no window is opened, no file offered, and page scripts show no dialog.
//
// The engine says nothing on standard error unless the user asks it to with Qt's
// logging rules (qt.webenginecontext) or its own flags in QTWEBENGINE_CHROMIUM_FLAGS
// (--enable-logging, --log-level); the program's own warnings are not touched.
#include <QString>
#include <QUrl>
#include <QVariant>

#include <functional>

class QPageLayout;
class QPrinter;
class QWidget;

namespace rr::webengine
{

// Each kind of view shares one profile with the views of its kind only.
enum class Profile { Panes, PageBrowser };

struct PageSettings {
    bool javascript = true;
    bool localFilesReadFiles = false;  // a local page may read other local files
    bool localFilesReadRemote = false; // a local page may fetch from the web
    bool muted = false;
    bool contextMenu = true;
};

// A step of a load as the engine reports it.
struct LoadState {
    enum class Status { Started, Stopped, Succeeded, Failed };
    Status status = Status::Started;
    QUrl url;
    bool errorPage = false;
    int httpStatus = 0; // an HTTP status of 400 or more that the load ended with, else 0
    int errorCode = 0;  // the engine's own error number of a failed load (negative), else 0
    QString errorString;
};

// What a view tells its owner; any may be left empty.
struct ViewHooks {
    std::function<void()> loadStarted;
    std::function<void(int percent)> loadProgress;
    std::function<void(bool ok)> loadFinished;
    std::function<void(const LoadState &)> loadingChanged;
    std::function<void(const QString &url)> linkHovered;
    std::function<void(const QUrl &)> urlChanged;
    // The process that drew the page ended while the view showed it; why, as in "was
    // killed". The view is blank until it loads again.
    std::function<void(const QString &why)> rendererEnded;
    // Asked for each navigation of the main frame; false refuses it.
    std::function<bool(const QUrl &url, bool linkClicked, const QUrl &shown)> acceptNavigation;
};

// One web view. It belongs to its widget: deleting the widget deletes the view.
class View
{
public:
    virtual ~View() = default;
    virtual QWidget *widget() = 0;
    virtual void load(const QUrl &url) = 0;
    virtual void reload() = 0;
    virtual void stop() = 0;
    virtual QUrl url() const = 0;
    // Runs script in a world of its own, out of the page's scripts' reach.
    virtual void runIsolatedScript(const QString &script, std::function<void(const QVariant &)> done) = 0;
    // The page as vector PDF; empty bytes for a failure.
    virtual void printToPdf(const QPageLayout &layout, std::function<void(const QByteArray &pdf)> done) = 0;
    // The page rendered to printer, which must live until done.
    virtual void print(QPrinter *printer, std::function<void(bool ok)> done) = 0;
};

// A new view, a child widget of parent, or null when the engine module cannot be
// loaded (the reason is on standard error once).
View *createView(QWidget *parent, Profile profile, const PageSettings &settings, ViewHooks hooks);
// Whether the engine module has been loaded, and how many views live.
bool engineLoaded();
int liveViews();

// What the module hands the program: the one entry of razuzezu-webengine.
struct ModuleApi {
    int version;
    View *(*createView)(QWidget *parent, Profile profile, const PageSettings &settings, ViewHooks hooks);
};
constexpr int kModuleApiVersion = 1;

} // namespace rr::webengine
