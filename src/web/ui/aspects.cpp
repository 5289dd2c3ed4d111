#include "web/ui/aspects.h"

#include "explorer/detailsops.h"
#include "explorer/folderops.h"
#include "explorer/shownvardeck.h"
#include "media/urlsupport.h"
#include "platform/gui/itemtags.h"
#include "platform/gui/partoperations.h"
#include "platform/prompt.h"
#include "platform/textutil.h"
#include "shell/aspectoperations.h"
#include "shell/detailsoperations.h"
#include "shell/findingoperations.h"
#include "shell/frmvardecks.h"
#include "shell/mainmodule.h"
#include "shell/openaddress.h"
#include "shell/recentmenuoperations.h"
#include "shell/webaspectoperations.h"
#include "storage/session.h"
#include "storage/settingsstore.h"
#include "storage/xmldatabase.h"
#include "web/ui/aspectbusy.h"
#include "web/ui/webaspect.h"
#include "web/visits.h"

#include <QAction>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>

namespace rr
{
namespace
{

std::function<QDateTime()> &visitClock()
{
    static std::function<QDateTime()> clock;
    return clock;
}

void enable(frmVardecks &w, MenuId item, bool enabled)
{
    w.menuItem(item)->setEnabled(enabled);
}

bool enabled(const frmVardecks &w, MenuId item)
{
    return w.menuItem(item)->isEnabled();
}

// True while the Web Aspect's pane has shown no page of the collection.
bool webPaneIsBlank(const frmVardecks &w)
{
    const WebAspect *web = WebAspect::of(w);
    return !web || web->showsNoPage();
}

// A recorded visit shows at once wherever the Vardeck is on the window.
void showVisit(frmVardecks &w, const VisitRecord &visit)
{
    // The views of the Web Aspect show the visit counts and dates too.
    w.collectionChanged(StalePages::everyPage());
    operationsOf<FindingOperations>(w).populatePopList(w.dbXML.isOpen() ? w.dbXML->getTheDOM() : nullptr);
    if (sameText(visit.wid, w.currentWID())) {
        operationsOf<DetailsOperations>(w).showHits(visit.hits);
        showLastVisit(w, visit.stamp);
    }
    showVisitInFolderList(w, visit.wid, visit.stamp, visit.hits);
}

// The switch's operations as the window offers them to the parts below the web panes.
class AspectSwitch final : public QObject, public AspectOperations
{
public:
    explicit AspectSwitch(frmVardecks &w) : QObject(&w), m_window(w) {}
    void showAspectExplorer() override { rr::showAspectExplorer(m_window); }
    void showAspectWeb() override { rr::showAspectWeb(m_window); }

private:
    frmVardecks &m_window;
};

} // namespace

QDateTime visitNow()
{
    return visitClock() ? visitClock()() : QDateTime::currentDateTime();
}

void setVisitClock(std::function<QDateTime()> clock)
{
    visitClock() = std::move(clock);
}

AspectPage aspectPageForStyle(const QString &style)
{
    if (sameText(style, QStringLiteral("VDAll.xsl")))
        return {QStringLiteral("AllTemp"), frmVardecks::AllPage};
    if (sameText(style, QStringLiteral("VDFavs.xsl")))
        return {QStringLiteral("FavsTemp"), frmVardecks::FavsPage};
    if (sameText(style, QStringLiteral("VDHits.xsl")))
        return {QStringLiteral("HitsTemp"), frmVardecks::HitsPage};
    return {QStringLiteral("FoldersTemp"), frmVardecks::FoldersPage};
}

void showAspectExplorer(frmVardecks &w)
{
    // An edit under way keeps off what it turned off: the icon and thumbnail menus, the
    // toolbar's Update and Delete, and, in a modification, the Edit menu.
    const bool viewing = w.editState() == EditState::Viewing;
    enable(w, MenuId::mnuToolsGet, true);
    const bool vardeckCommands = enabled(w, MenuId::mnuToolsIconVD);
    for (MenuId item : {MenuId::mnuToolsOpen, MenuId::mnuToolsOpenHome, MenuId::mnuToolsSynch,
                        MenuId::mnuToolsIconRemove, MenuId::mnuThumbRemove})
        enable(w, item, vardeckCommands);
    enable(w, MenuId::mnuToolsIcon, viewing);
    enable(w, MenuId::mnuThumb, viewing);
    w.menuItem(MenuId::mnuAspectWeb)->setChecked(false);
    w.menuItem(MenuId::mnuAspectExplorer)->setChecked(true);
    if (w.editState() != EditState::Modifying)
        enable(w, MenuId::mnuEdit, true);
    if (w.folderShown()) {
        for (Tb position : {Tb::FirstVardeck, Tb::PreviousVardeck, Tb::NextVardeck, Tb::LastVardeck})
            w.toolbarButton(position)->setEnabled(true);
    }
    if (w.vardeckShown()) {
        w.toolbarButton(Tb::OpenInBrowser)->setEnabled(true);
        for (Tb position : {Tb::UpdateVardeck, Tb::DeleteVardeck})
            w.toolbarButton(position)->setEnabled(viewing);
    }
    w.showExplorerPanes(true);
    if (WebAspect *web = WebAspect::of(w))
        web->setShown(false);
    w.aspectShown(Aspect::Explorer);
    w.aspectButton(AspectButton::Explorer)->setChecked(true);
    w.Form_Resize();
    refreshAspectBusy(w);
}

void showAspectWeb(frmVardecks &w)
{
    w.menuItem(MenuId::mnuAspectWeb)->setChecked(true);
    w.menuItem(MenuId::mnuAspectExplorer)->setChecked(false);
    w.aspectShown(Aspect::Web);

    // The page is asked of the Web Aspect's operations on the window, which a window
    // put together without the Web Aspect, or a test that makes no pages, runs as nothing.
    if (webPaneIsBlank(w)) {
        const QString style = SettingsStore::getAspectStyle();
        if (!session().webAspectHtml)
            operationsOf<WebAspectOperations>(w).applyAspectStyle(style);
        else
            operationsOf<WebAspectOperations>(w).loadAspectPage(style, QStringLiteral("FoldersTemp"), true);
    } else if (!session().webAspectHtml) {
        operationsOf<WebAspectOperations>(w).applyAspectStyle(session().currentAspectStyle);
    } else {
        const AspectPage page = aspectPageForStyle(session().currentAspectStyle);
        if (w.aspectPageStale(page.staleFlag))
            operationsOf<WebAspectOperations>(w).loadAspectPage(session().currentAspectStyle, page.pageName, true);
    }

    w.aspectButton(AspectButton::Web)->setChecked(true);
    w.showExplorerPanes(false);
    WebAspect *web = WebAspect::of(w);
    if (web)
        web->setShown(true);
    enable(w, MenuId::mnuEdit, false);
    for (Tb position : {Tb::UpdateVardeck, Tb::DeleteVardeck, Tb::FirstVardeck, Tb::PreviousVardeck, Tb::NextVardeck,
                        Tb::LastVardeck, Tb::OpenInBrowser})
        w.toolbarButton(position)->setEnabled(false);
    for (MenuId item : {MenuId::mnuToolsOpen, MenuId::mnuToolsOpenHome, MenuId::mnuToolsSynch, MenuId::mnuToolsIcon,
                        MenuId::mnuThumb, MenuId::mnuToolsIconRemove, MenuId::mnuThumbRemove})
        enable(w, item, false);
    if (web)
        web->focusSearchBox();
    w.Form_Resize();
    refreshAspectBusy(w);
}

void mnuToolsOpen_Click(frmVardecks &w)
{
    if (!w.vardeckShown()) {
        prompt::show(QStringLiteral("A Vardeck must be selected to open in the browser window"));
        return;
    }
    // An address that is refused is told and is no visit; any other visit is
    // recorded first, so it counts even when the browser then fails.
    if (!urlSupport::isSafeToOpen(shownVardeckAddress(w))) {
        openInBrowser(shownVardeckAddress(w));
        return;
    }
    if (w.dbXML.isOpen()) {
        const QString stamp = updateLastAccessed(*w.dbXML, w.currentWID(), visitNow());
        if (!stamp.isEmpty())
            showLastVisit(w, stamp);
    }
    openInBrowser(shownVardeckAddress(w));
    operationsOf<RecentMenuOperations>(w).refreshRecentMenuList(w.currentWID());
}

void mnuToolsOpenHome_Click(frmVardecks &w)
{
    if (!w.vardeckShown()) {
        prompt::show(QStringLiteral("A Vardeck must be selected to open its homepage in the browser window"),
                     MsgButtons::Ok, MsgIcon::Information);
        return;
    }
    finishOpening(openHome(shownVardeckAddress(w), shownVardeckName(w)));
}

void mnuToolsOpenBlank_Click(frmVardecks &w)
{
    finishOpening(openBlankBrowserWindow());
}

void installAspects(frmVardecks &w)
{
    auto *aspectSwitch = new AspectSwitch(w);
    offerOperations<AspectOperations>(w, *aspectSwitch, *aspectSwitch);
    w.commands.mnuAspectExplorer_Click = [&w](int) {
        if (!w.menuItem(MenuId::mnuAspectExplorer)->isChecked())
            showAspectExplorer(w);
    };
    w.commands.mnuAspectWeb_Click = [&w](int) {
        if (!w.menuItem(MenuId::mnuAspectWeb)->isChecked())
            showAspectWeb(w);
    };
    w.commands.mnuToolsOpen_Click = [&w](int) { mnuToolsOpen_Click(w); };
    w.commands.mnuToolsOpenHome_Click = [&w](int) { mnuToolsOpenHome_Click(w); };
    w.commands.mnuToolsOpenBlank_Click = [&w](int) { mnuToolsOpenBlank_Click(w); };

    QPointer<frmVardecks> window(&w);
    setVisitListener([window](const VisitRecord &visit) {
        prompt::tell(visit.notices);
        if (window)
            showVisit(*window, visit);
    });
}

} // namespace rr
