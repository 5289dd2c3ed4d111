#include "web/ui/preview.h"

#include "media/urlsupport.h"
#include "platform/prompt.h"
#include "platform/webaddress.h"
#include "shell/frmvardecks.h"
#include "shell/openaddress.h"
#include "storage/useroptions.h"
#include "web/ui/aspects.h"
#include "web/ui/webpane.h"
#include "web/visits.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QProgressBar>

namespace rr
{
namespace
{

const QLatin1String kBlank("about:blank");

// The addresses the preview may load: web pages and local files. Anything else (a
// script or data address) would run inside the window, so the pane stays empty.
QUrl previewUrl(const QString &address)
{
    const QString text = address.trimmed();
    if (text.isEmpty() || text == kBlank)
        return QUrl(kBlank);
    const QUrl url(withWebScheme(text));
    const QString scheme = url.scheme().toLower();
    if (scheme == QLatin1String("http") || scheme == QLatin1String("https") || scheme == QLatin1String("ftp") ||
        scheme == QLatin1String("file"))
        return url;
    return {};
}

void showInPane(frmVardecks &w, const QString &address)
{
    WebPane *pane = WebPane::of(w.wbPreview);
    if (!pane)
        return;
    const QUrl url = previewUrl(address);
    if (url.isValid()) {
        pane->navigate(url);
        return;
    }
    pane->navigate(QUrl(kBlank));
    w.showPageStatus(QStringLiteral("The preview shows only web pages and files: ") + address);
}

void recordVisit(frmVardecks &w)
{
    if (w.editState() != EditState::Viewing || !w.vardeckShown() || !w.dbXML.isOpen())
        return;
    const QString stamp = updateLastAccessed(*w.dbXML, w.currentWID(), visitNow());
    if (!stamp.isEmpty())
        w.commands.showLastVisit(stamp);
    w.commands.refreshRecentMenuList(w.currentWID());
}

void showHomePage(frmVardecks &w)
{
    const QString home = urlSupport::calculateHomeURL(w.commands.detailsText(DetailsField::AddressBox));
    if (!urlSupport::isValidWWW(home)) {
        prompt::show(QStringLiteral("The homepage for ") + w.commands.detailsText(DetailsField::NameBox) +
                         QStringLiteral(" could not be loaded"),
                     MsgButtons::Ok, MsgIcon::Information);
        return;
    }
    showInPane(w, home);
}

} // namespace

void cmdPreview_Click(frmVardecks &w, int index)
{
    WebPane *pane = WebPane::of(w.wbPreview);
    switch (index) {
    case 0:
        showInPane(w, w.commands.detailsText(DetailsField::AddressBox));
        recordVisit(w);
        break;
    case 1:
        pane->stop();
        break;
    case 2:
        pane->refresh();
        break;
    case 3:
        showHomePage(w);
        break;
    case 4:
        finishOpening(
            openHome(w.commands.detailsText(DetailsField::AddressBox), w.commands.detailsText(DetailsField::NameBox)));
        break;
    case 5:
        // A refused address is told and is no visit; any other visit counts even when
        // the browser then fails.
        if (urlSupport::isSafeToOpen(w.commands.detailsText(DetailsField::AddressBox)))
            recordVisit(w);
        openInBrowser(w.commands.detailsText(DetailsField::AddressBox));
        break;
    default:
        break;
    }
}

void installPreview(frmVardecks &w)
{
    if (WebPane::of(w.wbPreview))
        return;
    auto *pane = new WebPane(w.wbPreview, WebPane::Kind::Preview);
    QPointer<frmVardecks> window(&w);
    QObject::connect(pane, &WebPane::loadStarted, &w, [window] {
        if (!window)
            return;
        window->previewProgress->setValue(0);
        window->previewProgress->show();
    });
    QObject::connect(pane, &WebPane::loadProgress, &w, [window](int percent) {
        if (window && percent >= 0)
            window->previewProgress->setValue(percent);
    });
    QObject::connect(pane, &WebPane::loadFinished, &w, [window](bool) {
        if (!window)
            return;
        window->previewProgress->setValue(100);
        window->previewProgress->hide();
        // The pane's texts are passing: the shown folder's path comes back.
        window->pageStatusEnded();
    });
    QObject::connect(pane, &WebPane::statusTextChanged, &w, [window, pane](const QString &text) {
        if (!window || pane->address() == kBlank)
            return;
        if (text.isEmpty())
            window->pageStatusEnded();
        else
            window->showPageStatus(text);
    });
    w.commands.navigatePreview = [&w](const QString &address) { showInPane(w, address); };
    w.commands.cmdPreview_Click = [&w](int index) { cmdPreview_Click(w, index); };
    w.commands.chkAutoPreview_Click = [&w](int) {
        const Qt::CheckState state = w.chkAutoPreview->checkState();
        if (state != Qt::PartiallyChecked)
            appOptions().setAutoPreview(state == Qt::Checked);
    };
}

} // namespace rr
