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
    void navigate(const QUrl &url);
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

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void loadPending();
    void setLoading(bool loading);
    void announceLoading();

    QPointer<QWidget> m_host;
    Kind m_kind;
    webengine::View *m_view = nullptr;
    QUrl m_pending;
    bool m_hasPending = false;
    bool m_loading = false;
    bool m_announcedLoading = false;
};

} // namespace rr
