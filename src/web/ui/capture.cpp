#include "web/ui/capture.h"

#include "media/urlsupport.h"
#include "platform/launcher.h"
#include "platform/net/connection.h"
#include "platform/prompt.h"
#include "platform/x11windows.h"
#include "shell/frmvardecks.h"
#include "shell/makerinfo.h"
#include "web/ui/frmvardeckdialog.h"

#include <QAction>
#include <QPointer>

namespace rr
{
namespace
{

std::optional<CaptureSettings> &settingsOverride()
{
    static std::optional<CaptureSettings> settings;
    return settings;
}

CaptureSettings captureSettings(const frmVardecks &w)
{
    return settingsOverride() ? *settingsOverride() : defaultCaptureSettings(w.windowTitle());
}

// The node picture of the detected-pages tree: "Vardeck", and "SelVardeck" while selected.
QIcon nodePicture(const frmVardecks &w)
{
    QIcon icon;
    const QIcon plain = w.ImageListWM.value(QStringLiteral("Vardeck"));
    const QIcon selected = w.ImageListWM.value(QStringLiteral("SelVardeck"), plain);
    for (const QSize &size : plain.availableSizes())
        icon.addPixmap(plain.pixmap(size), QIcon::Normal);
    for (const QSize &size : selected.availableSizes())
        icon.addPixmap(selected.pixmap(size), QIcon::Selected);
    return icon;
}

void startVardeckFrom(frmVardecks &w, const DetectedPage &page)
{
    w.chosenPage = page;
    w.commands.addVardeckSetup(QStringLiteral("browser"));
}

} // namespace

void setCaptureSettings(std::optional<CaptureSettings> settings)
{
    settingsOverride() = std::move(settings);
}

int getOpenBrowserPages(frmVardecks &w, bool topOnly)
{
    w.detectedPages.clear();
    w.chosenPage = DetectedPage();
    BrowserCapture capture(captureSettings(w));
    w.detectedPages = capture.getOpenBrowserPages(topOnly);
    return int(w.detectedPages.size());
}

void showDetectedPagesDialog(frmVardecks &w)
{
    if (w.detectedPages.isEmpty())
        return;
    QPointer<frmVardecks> window(&w);
    DetectedPage chosen;
    {
        frmVardeckDialog dialog(w.detectedPages, nodePicture(w), &w);
        dialog.exec();
        chosen = dialog.chosenPage();
    }
    if (!window)
        return;
    w.chosenPage = DetectedPage();
    if (!chosen.address.isEmpty())
        startVardeckFrom(w, chosen);
}

void mnuToolsGet_Click(frmVardecks &w)
{
    const int count = getOpenBrowserPages(w, false);
    if (count == 0)
        prompt::show(QStringLiteral("Razuzezu Revidod cannot detect any open browser windows."), MsgButtons::Ok,
                     MsgIcon::Information);
    else if (count == 1)
        startVardeckFrom(w, w.detectedPages.first());
    else
        showDetectedPagesDialog(w);
}

// Only windows whose class names a known browser are asked to close, politely: each
// browser may still ask its user about unsent forms or downloads.
void mnuToolsCloseAll_Click(frmVardecks &w)
{
    const BrowserCapture capture(captureSettings(w));
    x11::requestClose(capture.browserWindows(), captureSettings(w).display);
}

void mnuToolsIntegrate_Click(frmVardecks &)
{
    prompt::show(QStringLiteral("There is no Internet Explorer on this system, so Razuzezu Revidod cannot be "
                                "integrated with it."),
                 MsgButtons::Ok, MsgIcon::Information);
}

void mnuUndoIntegration_Click(frmVardecks &)
{
    prompt::show(QStringLiteral("There is no Internet Explorer on this system, so there is no integration with it "
                                "to undo."),
                 MsgButtons::Ok, MsgIcon::Information);
}

void mnuToolsIntegrateFF_Click(frmVardecks &)
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

void installCapture(frmVardecks &w)
{
    w.commands.getOpenBrowserPages = [&w](bool topOnly) { return getOpenBrowserPages(w, topOnly); };
    w.commands.showDetectedPagesDialog = [&w] { showDetectedPagesDialog(w); };
    w.commands.mnuToolsGet_Click = [&w](int) { mnuToolsGet_Click(w); };
    w.commands.mnuToolsCloseAll_Click = [&w](int) { mnuToolsCloseAll_Click(w); };
    w.commands.mnuToolsIntegrate_Click = [&w](int) { mnuToolsIntegrate_Click(w); };
    w.commands.mnuUndoIntegration_Click = [&w](int) { mnuUndoIntegration_Click(w); };
    w.commands.mnuToolsIntegrateFF_Click = [&w](int) { mnuToolsIntegrateFF_Click(w); };
}

} // namespace rr
