#pragma once
// The embedded browser of the Web Aspect (wbWeb) and of the preview (wbPreview).
//
// The browser is made inside its host widget only when the host is first shown with
// something to load, so that the program's start pays nothing for it. Until then a
// navigation is remembered and the host's "rrAddress" property names the address
// the pane shows.
//
// Both panes share one private profile that keeps nothing on disk: downloads are
// cancelled, permission requests denied, no window is opened and no page script may
// show a dialog. The Web Aspect's pane runs no script, shows only local pages and
// hands every link to the user's browser.
#include <QList>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QUrl>

#include <functional>
#include <memory>

class QPrinter;
class QWidget;

namespace rr
{

namespace webengine
{
class View;
}

class WebPane : public QObject
{
    Q_OBJECT
public:
    enum class Kind { Aspect, Preview };

    WebPane(QWidget *host, Kind kind);
    ~WebPane() override;
    // The pane attached to host, or nullptr.
    static WebPane *of(const QWidget *host);

    // Loads url now when the browser exists or the host is visible; otherwise when
    // the host is first shown. "about:blank" never creates the browser.
    //
    // With a key, the page once drawn is kept under it when the pane moves on to
    // another page, so that showKept(key) brings it back without drawing it again; the
    // pane keeps the last kKeptPages such pages besides the one it shows. The caller's
    // key names what the page shows (its file, the state of the collection): the page
    // kept under it is good as long as the key is.
    //
    // With firstScreen (a small page showing the start of url), the pane shows
    // firstScreen at once and draws url behind it, then shows url in its place: a page
    // that takes seconds to draw shows its first screen meanwhile. The pane is loading
    // until url is drawn.
    void navigate(const QUrl &url, const QString &key = QString(), const QUrl &firstScreen = QUrl());
    // Shows the page kept under key as it was drawn; false when none is kept.
    bool showKept(const QString &key);
    // Whether a page is kept under key.
    bool keeps(const QString &key) const;
    // Forgets the pages kept.
    void forgetKept();
    static constexpr int kKeptPages = 1;
    // The address shown (or to be shown); "" before the first navigation.
    QString address() const;
    void refresh();
    void stop();
    // The browser's widget, created on demand; null when the browser engine cannot be
    // loaded.
    QWidget *view();
    bool hasView() const { return m_view != nullptr; }
    // Runs then once the page being loaded (a remembered one is loaded now) is done.
    void whenLoaded(std::function<void()> then);
    // Whether a page the pane was asked for is still on its way: being loaded, or
    // remembered until the pane is shown. A blank page, and a move to another place
    // in the page shown, are never on their way.
    bool isLoading() const;

    // Prints the page shown: a printer that writes PDF gets the page as vector PDF,
    // others the rendered page. done(ok) follows once the printer has it.
    void print(std::shared_ptr<QPrinter> printer, std::function<void(bool ok)> done);

signals:
    void loadStarted();
    void loadProgress(int percent);
    void loadFinished(bool ok);
    void statusTextChanged(const QString &text);
    // isLoading() changed.
    void loadingChanged(bool loading);
    // The process that drew the page shown, or the one being drawn behind its first
    // screen, ended (why: "was killed", "crashed"...): the pane is blank until
    // refresh() or another page.
    void rendererEnded(const QString &why);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    struct Kept {
        QString key;
        webengine::View *view;
    };
    webengine::View *makeView();
    void setCurrent(webengine::View *view);
    // Moves the page shown among the kept ones when it can be kept.
    void keepShown();
    void dropKept(int index);
    // The process that drew view ended.
    void viewEnded(webengine::View *view, const QString &why);
    void dropIncoming();
    void startIncoming();
    void layOutIncoming(bool ok);
    void incomingDrawn(bool ok);
    // Whether the view's reports are the pane's: the view drawing the page asked for.
    bool reportsFor(const webengine::View *view) const;
    void loadPending();
    void setLoading(bool loading);
    void announceLoading();

    QPointer<QWidget> m_host;
    Kind m_kind;
    webengine::View *m_view = nullptr;
    QUrl m_pending;
    QString m_pendingKey;
    QUrl m_pendingFirstScreen;
    bool m_hasPending = false;
    // The key of the page shown, and whether it was drawn.
    QString m_shownKey;
    bool m_shownDrawn = false;
    QList<Kept> m_kept; // hidden, the most recent last
    // The page drawn behind a first screen, and its key.
    webengine::View *m_incoming = nullptr;
    QString m_incomingKey;
    QUrl m_incomingUrl; // until its load starts
    bool m_loading = false;
    bool m_announcedLoading = false;
};

} // namespace rr
