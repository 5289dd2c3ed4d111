#pragma once
// The page browser of the thumbnail and synchronisation window: an 800 × 600 web view
// on a private profile that keeps nothing on disk. Downloads are refused, permission
// requests denied, audio muted, no window opened and no page script may show a
// dialog. Each load reports once, ok or not: a failed load, an HTTP status of 400 or
// more, an error page, or no end within pageTimeoutMs all count as failures, so a
// run never takes an error page for the page itself and never waits forever. An
// address that only adds or changes the "#part" of the page shown reports at once, as
// that page loaded or failed.
#include "media/pagesync.h"

#include <QImage>
#include <QObject>
#include <QPointer>
#include <QTimer>
#include <QUrl>
#include <functional>

class QWidget;

namespace rr
{

namespace webengine
{
class View;
struct LoadState;
} // namespace webengine

class PageBrowser : public QObject
{
    Q_OBJECT
public:
    // How long a page may take before it counts as failed (tests shorten it).
    static inline int pageTimeoutMs = 30000;
    static constexpr int kWidth = 800;
    static constexpr int kHeight = 600;

    // The view becomes a child of host.
    explicit PageBrowser(QWidget *host);

    // The view's widget; null when the browser engine cannot be loaded (every load
    // then fails).
    QWidget *view() const { return m_widget; }
    // Loads an address; pageLoaded follows once. "about:blank" reports nothing.
    void load(const QUrl &url);
    void stop();
    bool isLoading() const { return m_waiting; }
    // Whether the page the view shows now loaded well: false while anything loads,
    // and for an error page or an HTTP error, also one the page went on to by itself.
    bool lastLoadOk() const { return m_lastOk; }
    QUrl url() const;
    // Reads title, META description and keywords and the body size of the loaded page.
    void readDetails(std::function<void(bool ok, const PageDetails &details)> done);
    // The view's own picture of the page as shown.
    QImage capture() const;

signals:
    // ok false with a plain reason for a page that failed.
    void pageLoaded(bool ok, const QString &failure);
    void loadProgress(int percent);

private:
    void loadingChanged(const webengine::LoadState &state);
    void finish(bool ok, const QString &failure);

    webengine::View *m_view = nullptr;
    QPointer<QWidget> m_widget; // the view's widget, while it lives
    QTimer m_timeout;
    bool m_waiting = false;
    bool m_lastOk = false;
    QString m_lastFailure; // why the last load failed
    int m_httpStatus = 0;
    int m_loadNumber = 0; // which load a report deferred to the event loop belongs to
};

} // namespace rr
