#include "web/ui/capture.h"

#include "media/urlsupport.h"
#include "platform/gui/commands.h"
#include "platform/gui/partoperations.h"
#include "platform/launcher.h"
#include "platform/net/connection.h"
#include "platform/prompt.h"
#include "platform/x11windows.h"
#include "shell/captureoperations.h"
#include "shell/framesession.h"
#include "shell/frmsplash.h"
#include "shell/imagelists.h"
#include "shell/makerinfo.h"
#include "shell/opendatabase.h"
#include "shell/shownitems.h"
#include "web/ui/frmvardeckdialog.h"
#include "web/ui/webwindow.h"

#include <QAction>
#include <QApplication>
#include <QPointer>
#include <QTimer>

namespace rr
{
namespace
{

std::optional<CaptureSettings> &settingsOverride()
{
    static std::optional<CaptureSettings> settings;
    return settings;
}

CaptureSettings captureSettings(const WebWindow &w)
{
    return settingsOverride() ? *settingsOverride() : defaultCaptureSettings(w.mainWindow.windowTitle());
}

// The node picture of the detected-pages tree: "Vardeck", and "SelVardeck" while selected.
QIcon nodePicture(const WebWindow &w)
{
    QIcon icon;
    const QIcon plain = w.pictures.picture(QStringLiteral("Vardeck"));
    const QIcon selected =
        w.pictures.has(QStringLiteral("SelVardeck")) ? w.pictures.picture(QStringLiteral("SelVardeck")) : plain;
    for (const QSize &size : plain.availableSizes())
        icon.addPixmap(plain.pixmap(size), QIcon::Normal);
    for (const QSize &size : selected.availableSizes())
        icon.addPixmap(selected.pixmap(size), QIcon::Selected);
    return icon;
}

void startVardeckFrom(const WebWindow &w, const DetectedPage &page)
{
    w.commands.addVardeckSetup(page);
}

const QString kStartScanName = QStringLiteral("startBrowserScan");

// The scan the start-up runs while the window is drawn and used. Its pages are offered
// once it ends and the window is free for the dialog: it waits while the splash, a
// modal window or a menu is open, and offers nothing once the window is closing, a
// Vardeck is being edited or no database is open (the user has moved on; Get from
// browser finds the pages again).
class StartScan final : public QObject
{
public:
    explicit StartScan(const WebWindow &w) : QObject(&w.mainWindow), m_window(w)
    {
        setObjectName(kStartScanName);
        // Begins once the window's load is over and its events run.
        QTimer::singleShot(0, this, [this] {
            // The answer arrives inside a socket's handler: the dialog waits for the next turn.
            m_scan = std::make_unique<BrowserScan>(captureSettings(m_window), [this](const QList<DetectedPage> &pages) {
                m_pages = pages;
                QTimer::singleShot(0, this, [this] { offer(); });
            });
        });
    }

    // Another scan of the window takes the place of this one.
    void cancel()
    {
        setObjectName(QString());
        m_scan.reset();
        deleteLater();
    }

private:
    bool windowBusy() const
    {
        const frmSplash *splash = m_window.session.splashWindow();
        return (splash && splash->isVisible()) || QApplication::activeModalWidget() ||
               QApplication::activePopupWidget();
    }

    void offer()
    {
        if (!m_pages.isEmpty() && !m_window.session.isUnloaded() && windowBusy()) {
            QTimer::singleShot(100, this, [this] { offer(); });
            return;
        }
        const WebWindow w = m_window;
        const QList<DetectedPage> pages = m_pages;
        cancel();
        if (pages.isEmpty() || w.session.isUnloaded() || w.shown.editState() != EditState::Viewing || !w.db.isOpen())
            return;
        w.session.browserPagesFound(pages);
        showDetectedPagesDialog(w);
    }

    const WebWindow m_window;
    std::unique_ptr<BrowserScan> m_scan;
    QList<DetectedPage> m_pages;
};

void cancelStartScan(const WebWindow &w)
{
    if (auto *scan =
            dynamic_cast<StartScan *>(w.mainWindow.findChild<QObject *>(kStartScanName, Qt::FindDirectChildrenOnly)))
        scan->cancel();
}

// The capture's operations as the window offers them to the parts below the web panes.
class Capture final : public QObject, public CaptureOperations
{
public:
    explicit Capture(const WebWindow &w) : QObject(&w.mainWindow), m_window(w) {}
    int getOpenBrowserPages(bool topOnly) override { return rr::getOpenBrowserPages(m_window, topOnly); }
    void showDetectedPagesDialog() override { rr::showDetectedPagesDialog(m_window); }
    void offerOpenBrowserPages() override { rr::offerOpenBrowserPages(m_window); }

private:
    const WebWindow m_window;
};

} // namespace

void setCaptureSettings(std::optional<CaptureSettings> settings)
{
    settingsOverride() = std::move(settings);
}

void offerOpenBrowserPages(const WebWindow &w)
{
    cancelStartScan(w);
    new StartScan(w);
}

int getOpenBrowserPages(const WebWindow &w, bool topOnly)
{
    cancelStartScan(w);
    BrowserCapture capture(captureSettings(w));
    w.session.browserPagesFound(capture.getOpenBrowserPages(topOnly));
    return int(w.session.detectedPages().size());
}

void showDetectedPagesDialog(const WebWindow &w)
{
    if (w.session.detectedPages().isEmpty())
        return;
    QPointer<QWidget> window(&w.mainWindow);
    DetectedPage chosen;
    {
        frmVardeckDialog dialog(w.session.detectedPages(), nodePicture(w), &w.mainWindow);
        dialog.exec();
        chosen = dialog.chosenPage();
    }
    if (!window)
        return;
    if (!chosen.address.isEmpty())
        startVardeckFrom(w, chosen);
}

void mnuToolsGet_Click(const WebWindow &w)
{
    const int count = getOpenBrowserPages(w, false);
    if (count == 0)
        prompt::show(QStringLiteral("Razuzezu Revidod cannot detect any open browser windows."), MsgButtons::Ok,
                     MsgIcon::Information);
    else if (count == 1)
        startVardeckFrom(w, w.session.detectedPages().first());
    else
        showDetectedPagesDialog(w);
}

// Only windows whose class names a known browser are asked to close, politely: each
// browser may still ask its user about unsent forms or downloads.
void mnuToolsCloseAll_Click(const WebWindow &w)
{
    const BrowserCapture capture(captureSettings(w));
    x11::requestClose(capture.browserWindows(), captureSettings(w).display);
}

void mnuToolsIntegrate_Click(const WebWindow &)
{
    prompt::show(QStringLiteral("There is no Internet Explorer on this system, so Razuzezu Revidod cannot be "
                                "integrated with it."),
                 MsgButtons::Ok, MsgIcon::Information);
}

void mnuUndoIntegration_Click(const WebWindow &)
{
    prompt::show(QStringLiteral("There is no Internet Explorer on this system, so there is no integration with it "
                                "to undo."),
                 MsgButtons::Ok, MsgIcon::Information);
}

void mnuToolsIntegrateFF_Click(const WebWindow &)
{
    if (!CheckConnectionIGCS() &&
        !prompt::askYesNo(QStringLiteral("Razuzezu Revidod has detected that you are not connected to "
                                         "the internet for Firefox integration.  Do you wish to continue?"),
                          MsgIcon::Question, QStringLiteral("Internet connection?")))
        return;
    const QString address = QLatin1String(maker::kFirefoxExtension);
    const QString firefox = urlSupport::browserExecutable(QStringLiteral("FF"));
    if (firefox.isEmpty() || !launcher::installed().startDetached(firefox, {address}))
        prompt::show(QStringLiteral("The Firefox extension could not be loaded: ") + address, MsgButtons::Ok,
                     MsgIcon::Information);
}

void installCapture(const WebWindow &w)
{
    auto *capture = new Capture(w);
    offerOperations<CaptureOperations>(w.mainWindow, *capture, *capture);
    w.commands.mnuToolsGet_Click = [w](int) { mnuToolsGet_Click(w); };
    w.commands.mnuToolsCloseAll_Click = [w](int) { mnuToolsCloseAll_Click(w); };
    w.commands.mnuToolsIntegrate_Click = [w](int) { mnuToolsIntegrate_Click(w); };
    w.commands.mnuUndoIntegration_Click = [w](int) { mnuUndoIntegration_Click(w); };
    w.commands.mnuToolsIntegrateFF_Click = [w](int) { mnuToolsIntegrateFF_Click(w); };
}

} // namespace rr
