#include "web/ui/aspectbusy.h"

#include "platform/textutil.h"
#include "shell/frameoptions.h"
#include "shell/framestatus.h"
#include "web/ui/webaspect.h"
#include "web/ui/webpane.h"
#include "web/ui/webwindow.h"

#include <QApplication>
#include <QPointer>
#include <QWidget>

namespace rr
{
namespace
{

const char kObjectName[] = "rrAspectBusy";

class AspectBusy : public QObject
{
public:
    AspectBusy(const WebWindow &w, WebPane *pane)
        : QObject(pane), m_window(&w.mainWindow), m_status(w.status), m_options(w.options), m_pane(pane)
    {
        setObjectName(QLatin1String(kObjectName));
        connect(pane, &WebPane::loadingChanged, this, [this] { refresh(); });
    }
    // A window that goes while its Web Aspect works leaves no busy pointer behind. Its
    // status bar goes with it: no text is given back.
    ~AspectBusy() override
    {
        if (m_shown)
            QApplication::restoreOverrideCursor();
    }
    AspectBusy(const AspectBusy &) = delete;
    AspectBusy &operator=(const AspectBusy &) = delete;

    static AspectBusy *of(const frmVardecks &w)
    {
        WebPane *pane = webAspectPane(w);
        QObject *found =
            pane ? pane->findChild<QObject *>(QLatin1String(kObjectName), Qt::FindDirectChildrenOnly) : nullptr;
        return static_cast<AspectBusy *>(found);
    }

    void refresh()
    {
        const bool webShown = m_window && sameText(m_options.currentAspect(), QStringLiteral("Web"));
        show(webShown && (m_making > 0 || m_pane->isLoading()));
    }

    void making(bool begins)
    {
        m_making += begins ? 1 : -1;
        refresh();
        // Copying the collection for the page holds the window a moment: what the
        // window says reaches the screen first.
        if (begins && m_shown && m_window)
            m_window->repaint();
    }

    bool shown() const { return m_shown; }

private:
    void show(bool busy)
    {
        if (busy == m_shown)
            return;
        m_shown = busy;
        if (busy) {
            QApplication::setOverrideCursor(Qt::BusyCursor);
            if (m_window) {
                m_textBefore = m_status.pageStatus();
                m_status.showPageStatus(aspectBusyText());
            }
            return;
        }
        QApplication::restoreOverrideCursor();
        // A text written there meanwhile stays.
        if (m_window && m_status.pageStatus() == aspectBusyText())
            m_status.showPageStatus(m_textBefore);
    }

    // The window, whose status bar and options are asked only while it lives.
    QPointer<QWidget> m_window;
    FrameStatus &m_status;
    const FrameOptions &m_options;
    WebPane *m_pane; // the parent
    int m_making = 0;
    bool m_shown = false;
    QString m_textBefore;
};

} // namespace

QString aspectBusyText()
{
    return QStringLiteral("Preparing the web page\u2026");
}

void installAspectBusy(const WebWindow &w)
{
    WebPane *pane = webAspectPane(w.parts);
    if (pane && !AspectBusy::of(w.parts))
        new AspectBusy(w, pane);
}

void refreshAspectBusy(frmVardecks &w)
{
    if (AspectBusy *busy = AspectBusy::of(w))
        busy->refresh();
}

bool aspectBusyShown(const frmVardecks &w)
{
    const AspectBusy *busy = AspectBusy::of(w);
    return busy && busy->shown();
}

MakingAspectPage::MakingAspectPage(frmVardecks &w)
{
    AspectBusy *busy = AspectBusy::of(w);
    m_busy = busy;
    if (busy)
        busy->making(true);
}

MakingAspectPage::~MakingAspectPage()
{
    if (m_busy)
        static_cast<AspectBusy *>(m_busy.data())->making(false);
}

} // namespace rr
