// The three tab strips and the View menu, whose commands select tabs.
#include "controls/qbbuttons_h.h"
#include "platform/gui/partoperations.h"
#include "platform/textutil.h"
#include "shell/aspectoperations.h"
#include "shell/frmvardecks.h"
#include "shell/splitter.h"
#include "shell/statuspanels.h"
#include "shell/tabstrip.h"
#include "shell/trayicon.h"
#include "shell/twips.h"

#include <QAction>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QTabBar>
#include <QTextEdit>
#include <QToolBar>
#include <QTreeWidget>

namespace rr
{

void frmVardecks::wireTabStrips()
{
    connect(tabIndex, &TabStrip::Click, this, &frmVardecks::tabIndex_Click);
    connect(tabIndex, &TabStrip::GotFocus, this, &frmVardecks::tabIndex_GotFocus);
    connect(tabIndex, &TabStrip::MouseDown, this,
            [this](Qt::MouseButton button, Qt::KeyboardModifiers, const QPoint &) { tabIndex_MouseDown(button); });
    connect(tabView, &TabStrip::MouseDown, this,
            [this](Qt::MouseButton button, Qt::KeyboardModifiers, const QPoint &) { tabView_MouseDown(button); });
    connect(tabInfo, &TabStrip::MouseDown, this,
            [this](Qt::MouseButton button, Qt::KeyboardModifiers, const QPoint &) { tabInfo_MouseDown(button); });
    connect(tabIndex, &TabStrip::MouseMove, this, [this] { tabIndex_MouseMove(); });
    connect(tabInfo, &TabStrip::MouseMove, this, [this] { tabInfo_MouseMove(); });
}

// The View menu is the frame's own.
void frmVardecks::registerOwnCommands()
{
    commands.mnuViewIndex_Click = [this](int) { mnuViewIndex_Click(); };
    commands.mnuViewSearch_Click = [this](int) { mnuViewSearch_Click(); };
    commands.mnuViewFavs_Click = [this](int) { mnuViewFavs_Click(); };
    commands.mnuViewPop_Click = [this](int) { mnuViewPop_Click(); };
    commands.mnuViewSearchResults_Click = [this](int) { mnuViewSearchResults_Click(); };
    commands.mnuViewVardecks_Click = [this](int) { mnuViewVardecks_Click(); };
    commands.mnuViewDetails_Click = [this](int) { mnuViewDetails_Click(); };
    commands.mnuViewPreview_Click = [this](int) { mnuViewPreview_Click(); };
    commands.mnuViewNotes_Click = [this](int) { mnuViewNotes_Click(); };
}

void frmVardecks::collectionChanged(const StalePages &stale)
{
    m_aspectPageStale[FoldersPage] |= stale.folders;
    m_aspectPageStale[AllPage] |= stale.all;
    m_aspectPageStale[HitsPage] |= stale.hits;
    m_aspectPageStale[FavsPage] |= stale.favorites;
    if (stale.reshowWebAspect && m_aspect == Aspect::Web)
        operationsOf<AspectOperations>(*this).showAspectWeb();
}

// ----- the tabs, by name -----

IndexTab frmVardecks::indexTab() const
{
    return IndexTab(tabIndex->Tab());
}

void frmVardecks::showIndexTab(IndexTab tab)
{
    tabIndex->setTab(int(tab));
}

QMetaObject::Connection frmVardecks::whenIndexTabShown(const QObject *context, std::function<void(IndexTab)> run)
{
    return connect(this, &frmVardecks::indexTabShown, context, std::move(run));
}

void frmVardecks::showViewTab(ViewTab tab)
{
    tabView->setTab(int(tab));
}

InfoTab frmVardecks::infoTab() const
{
    return InfoTab(tabInfo->Tab());
}

void frmVardecks::showInfoTab(InfoTab tab)
{
    tabInfo->setTab(int(tab));
}

bool frmVardecks::viewTabsVisible() const
{
    return tabView->isVisible();
}

double frmVardecks::viewTabsWidth() const
{
    return twips::width(tabView);
}

double frmVardecks::indexTabsWidth() const
{
    return twips::width(tabIndex);
}

QString frmVardecks::vardeckTabCaption() const
{
    return tabView->TabCaption(int(ViewTab::Vardeck));
}

void frmVardecks::setVardeckTabCaption(const QString &caption)
{
    tabView->setTabText(int(ViewTab::Vardeck), caption);
}

void frmVardecks::setFolderTabCaption(const QString &caption)
{
    tabView->setTabText(int(ViewTab::Folder), caption);
}

void frmVardecks::setVardeckTabPicture(const QIcon &picture)
{
    tabView->setTabPicture(int(ViewTab::Vardeck), picture);
}

void frmVardecks::setDetailsTabPicture(const QIcon &picture)
{
    tabInfo->setTabPicture(int(InfoTab::Details), picture);
}

void frmVardecks::showInfoTabs(bool shown)
{
    tabInfo->setVisible(shown);
}

void frmVardecks::enableTabStrips(bool enabled)
{
    for (TabStrip *strip : {tabIndex, tabInfo, tabView})
        strip->setEnabled(enabled);
}

void frmVardecks::takeDropsOnIndexTab(IndexTab tab, QObject *owner, std::function<bool(const QMimeData *)> accepts,
                                      std::function<void(const QMimeData *)> drop)
{
    tabIndex->takeDrops(int(tab), owner, std::move(accepts), std::move(drop));
}

void frmVardecks::setIndexTreesToolTip(const QString &tip)
{
    Splitter1->setToolTip(tip);
}

void frmVardecks::setPanesToolTip(const QString &tip)
{
    Splitter2->setToolTip(tip);
}

void frmVardecks::showExplorerPanes(bool shown)
{
    Splitter2->setVisible(shown);
}

void frmVardecks::holdRightPane(bool hold)
{
    Picture1->setUpdatesEnabled(!hold);
}

// ----- the Aspects -----

void frmVardecks::showTrayIcon(MenuId menu)
{
    addTrayIcon(this, subMenu(menu));
}

QString frmVardecks::currentAspect() const
{
    return m_aspect == Aspect::Web ? QStringLiteral("Web") : QStringLiteral("Explorer");
}

void frmVardecks::aspectShown(Aspect aspect)
{
    // The Web Aspect's texts go; the Explorer's folder path comes back, for Copy too.
    if (aspect == Aspect::Explorer)
        pageStatusEnded();
    else
        showPageStatus(QString());
    m_aspect = aspect;
    m_overrideAspect = true;
}

void frmVardecks::prepareSearchBox()
{
    if (QLineEdit *edit = at<QComboBox>(Place::SearchBox)->lineEdit())
        edit->selectAll();
}

void frmVardecks::restLinkLabels()
{
    for (QLabel *link : {at<QLabel>(Place::AddressLabel), at<QLabel>(Place::HomeLabel)})
        setLinkLook(link, false);
}

void frmVardecks::setLinkLook(QLabel *link, bool hover)
{
    QFont f = link->font();
    if (f.underline() != hover) {
        f.setUnderline(hover);
        link->setFont(f);
    }
    // Set for the label alone: a plain colour rule would pass on to the tool tip it shows.
    const QString sheet =
        QStringLiteral("#%1 { color: %2; }")
            .arg(link->objectName(), hover ? QStringLiteral("rgb(255,68,68)") : QStringLiteral("rgb(30,100,200)"));
    if (link->styleSheet() != sheet)
        link->setStyleSheet(sheet);
}

void frmVardecks::tabIndex_Click(int previousTab)
{
    Q_UNUSED(previousTab);
    const IndexTab tab = indexTab();
    if (tab == IndexTab::Search) {
        at<qbButtons_H>(Place::SearchButton)->setVisible(true);
        setDefaultButton(at<qbButtons_H>(Place::SearchButton));
        for (QWidget *w : {static_cast<QWidget *>(at<qbButtons_H>(Place::MoveFolderButton)),
                           static_cast<QWidget *>(at<qbButtons_H>(Place::MoveVardeckButton)),
                           static_cast<QWidget *>(at<qbButtons_H>(Place::AddFavoriteButton)),
                           static_cast<QWidget *>(at<qbButtons_H>(Place::DeleteFavoriteButton))})
            w->setVisible(false);
        prepareSearchBox();
        at<QComboBox>(Place::SearchBox)->setFocus();
        for (Place caption : {Place::FavoritesCount, Place::VardecksCaption, Place::VardeckCount})
            at<QLabel>(caption)->setVisible(false);
    }
    if (tab == IndexTab::Favorites) {
        at<QLabel>(Place::FavoritesCount)->setVisible(true);
        at<QLabel>(Place::VardecksCaption)->setVisible(false);
        at<QLabel>(Place::VardeckCount)->setVisible(false);
        at<qbButtons_H>(Place::AddFavoriteButton)->setVisible(true);
        at<qbButtons_H>(Place::DeleteFavoriteButton)->setVisible(true);
        at<qbButtons_H>(Place::SearchButton)->setVisible(false);
        at<qbButtons_H>(Place::MoveFolderButton)->setVisible(false);
        at<qbButtons_H>(Place::MoveVardeckButton)->setVisible(false);
        setDefaultButton(at<qbButtons_H>(Place::AddFavoriteButton));
    }
    if (tab == IndexTab::Index) {
        at<qbButtons_H>(Place::SearchButton)->setVisible(false);
        at<qbButtons_H>(Place::MoveFolderButton)->setVisible(true);
        at<qbButtons_H>(Place::MoveVardeckButton)->setVisible(true);
        at<qbButtons_H>(Place::AddFavoriteButton)->setVisible(false);
        at<qbButtons_H>(Place::DeleteFavoriteButton)->setVisible(false);
        at<QLabel>(Place::FavoritesCount)->setVisible(false);
        at<QLabel>(Place::VardecksCaption)->setVisible(true);
        at<QLabel>(Place::VardeckCount)->setVisible(true);
    }
    emit indexTabShown(tab);
}

void frmVardecks::tabIndex_GotFocus()
{
    if (indexTab() == IndexTab::Search)
        setDefaultButton(at<qbButtons_H>(Place::SearchButton));
}

void frmVardecks::tabIndex_MouseDown(Qt::MouseButton button)
{
    if (button == Qt::RightButton)
        popupMenu(MenuId::mnuNoVD);
}

void frmVardecks::tabView_MouseDown(Qt::MouseButton button)
{
    if (button == Qt::RightButton)
        popupMenu(MenuId::mnuNoVD);
}

void frmVardecks::tabInfo_MouseDown(Qt::MouseButton button)
{
    if (button != Qt::RightButton)
        return;
    if (editState() != EditState::Viewing)
        return;
    if (vardeckShown() && folderShown())
        popupMenu(MenuId::mnuCopyMenu);
    else
        popupMenu(MenuId::mnuNoVD);
}

void frmVardecks::tabIndex_MouseMove()
{
    setIndexTreesToolTip(QString());
    setPanesToolTip(QString());
    showMessage(QString());
    restLinkLabels();
}

void frmVardecks::tabInfo_MouseMove()
{
    restLinkLabels();
}

// ----- View menu -----
// Each command leaves the keyboard in the control it shows, once that is on screen.

void frmVardecks::mnuViewIndex_Click()
{
    showIndexTab(IndexTab::Index);
    operationsOf<AspectOperations>(*this).showAspectExplorer();
    at<QTreeWidget>(Place::FolderTree)->setFocus();
}

void frmVardecks::mnuViewSearch_Click()
{
    showIndexTab(IndexTab::Search);
    operationsOf<AspectOperations>(*this).showAspectExplorer();
    at<QComboBox>(Place::SearchBox)->setFocus();
}

void frmVardecks::mnuViewFavs_Click()
{
    showIndexTab(IndexTab::Favorites);
    operationsOf<AspectOperations>(*this).showAspectExplorer();
    at<QTreeWidget>(Place::FavoritesTree)->setFocus();
}

void frmVardecks::mnuViewPop_Click()
{
    showIndexTab(IndexTab::Popular);
    operationsOf<AspectOperations>(*this).showAspectExplorer();
    at<QTreeWidget>(Place::PopularList)->setFocus();
}

void frmVardecks::mnuViewSearchResults_Click()
{
    operationsOf<AspectOperations>(*this).showAspectExplorer();
    if (!tabView->isHidden()) {
        showViewTab(ViewTab::SearchResults);
        at<QTreeWidget>(Place::SearchResults)->setFocus();
    }
}

void frmVardecks::mnuViewVardecks_Click()
{
    operationsOf<AspectOperations>(*this).showAspectExplorer();
    if (!tabView->isHidden()) {
        showViewTab(ViewTab::Folder);
        at<QTreeWidget>(Place::FolderList)->setFocus();
    }
}

void frmVardecks::mnuViewDetails_Click()
{
    showViewTab(ViewTab::Vardeck);
    const bool shown = !tabInfo->isHidden();
    if (shown)
        showInfoTab(InfoTab::Details);
    operationsOf<AspectOperations>(*this).showAspectExplorer();
    // The details are read, not typed into: the keyboard goes to their tab.
    if (shown)
        tabInfo->tabBar()->setFocus();
}

void frmVardecks::mnuViewPreview_Click()
{
    showViewTab(ViewTab::Vardeck);
    const bool shown = !tabInfo->isHidden();
    if (shown)
        showInfoTab(InfoTab::Preview);
    operationsOf<AspectOperations>(*this).showAspectExplorer();
    // The page takes the keys once the pane has one; until then its tab does.
    if (shown)
        (at(Place::Preview)->focusProxy() ? at(Place::Preview) : static_cast<QWidget *>(tabInfo->tabBar()))->setFocus();
}

void frmVardecks::mnuViewNotes_Click()
{
    showViewTab(ViewTab::Vardeck);
    const bool shown = !tabInfo->isHidden();
    if (shown)
        showInfoTab(InfoTab::Notes);
    operationsOf<AspectOperations>(*this).showAspectExplorer();
    if (shown)
        at<QTextEdit>(Place::Notes)->setFocus();
}

} // namespace rr
