// The main window's load: the one fixed order in which the program builds its working
// state, and the first activation.
#include "controls/qbbuttons_h.h"
#include "options/prefsrules.h"
#include "platform/gui/partoperations.h"
#include "platform/gui/windowevents.h"
#include "platform/paths.h"
#include "platform/prompt.h"
#include "platform/textutil.h"
#include "shell/aspectoperations.h"
#include "shell/captureoperations.h"
#include "shell/columnwidths.h"
#include "shell/detailsoperations.h"
#include "shell/findingoperations.h"
#include "shell/foldertreeoperations.h"
#include "shell/fonthelpers.h"
#include "shell/frmsplash.h"
#include "shell/frmvardecks.h"
#include "shell/mainmodule.h"
#include "shell/panecontrols.h"
#include "shell/previewoperations.h"
#include "shell/recentmenuoperations.h"
#include "shell/splitter.h"
#include "shell/statuspanels.h"
#include "shell/tabstrip.h"
#include "shell/tipsoperations.h"
#include "shell/trayicon.h"
#include "shell/twips.h"
#include "shell/vardeckviewsoperations.h"
#include "shell/webaspectoperations.h"
#include "storage/registryfunctions.h"
#include "storage/session.h"
#include "storage/settingsstore.h"
#include "storage/useroptions.h"
#include "storage/vardeckmodule.h"
#include "storage/xmldatabase.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QGuiApplication>
#include <QHeaderView>
#include <QLabel>
#include <QLayout>
#include <QLineEdit>
#include <QScreen>
#include <QTimer>
#include <QTreeWidget>

namespace rr
{
namespace
{

// Shows the stored settings that could not be read. The splash stays on top of
// everything, so it goes first: the message would otherwise wait unseen behind it.
// With it gone the window appears once loading is over, as when the splash is off.
// Settings that start from their defaults name the default database, not the one
// used last: the message says which one opens, so that a user who worked in another
// knows where it is.
void tellSettingErrors(frmSplash *splash)
{
    int setAside = -1;
    Notices notices = SettingsStore::takeErrorNotices(&setAside);
    if (notices.isEmpty())
        return;
    if (setAside >= 0)
        notices[setAside].text +=
            QStringLiteral(" The database opened now is %1; if you worked in another one, open it "
                           "with File > Database > Open.")
                .arg(safeDatabaseName(SettingsStore::getCurrentDB()));
    if (splash)
        splash->hide();
    prompt::tell(notices);
}

} // namespace

void frmVardecks::Form_Load()
{
    QDir::setCurrent(paths::programFolder());

    UserOptions &options = appOptions();
    options.setFromRegistry();
    // The database opened next time is the last one opened unless another was chosen
    // in the options, from the first run on: the options dialog shows it so, and it
    // holds whether or not the dialog was ever opened.
    if (prefs::followsLastDatabase(options.getdbDefault(), options.getDBToOpen(),
                                   prefs::databaseFiles(paths::databaseFolder())))
        options.setdbDefault(true);
    const bool hideSplash = options.getHideSplash();
    if (!hideSplash) {
        m_splash = new frmSplash([this] { showAtTheFolderTree(); },
                                 [this] { operationsOf<TipsOperations>(*this).showTips(); });
        m_splash->Form_Load();
    }

    operationsOf<PreviewOperations>(*this).untickAutoPreview();
    DetailsOperations &details = operationsOf<DetailsOperations>(*this);
    details.setFormEditMode(false);
    details.setNonEditableFields();

    tabIndex->setTab(SettingsStore::getTabIndexSetting());
    tabInfo->setTab(SettingsStore::getTabInfoSetting());
    tabView->setTab(SettingsStore::getTabViewSetting());

    restoreWindowPlace();
    Splitter1->setSplitterPos(SettingsStore::getSplitter1Setting());
    tellSettingErrors(m_splash);

    LoadDynamicMenus();
    expectFirstResize();
    resetToolbarButtons();
    resetMenuItems();
    if (!session().sansSerifInstalled)
        setFormFont(this, QStringLiteral("MS Sans Serif"));

    openStartDatabase();
}

QRect frmVardecks::firstStartPlace(const QRect &available, const QSize &minimum)
{
    // Four fifths of the screen each way, up to a size beyond which the panes only
    // stretch.
    const QSize size =
        QSize(std::min(available.width() * 4 / 5, 1280), std::min(available.height() * 4 / 5, 900)).expandedTo(minimum);
    // A screen smaller than the window shows its top-left corner.
    const int left = available.left() + std::max(0, (available.width() - size.width()) / 2);
    const int top = available.top() + std::max(0, (available.height() - size.height()) / 2);
    return {QPoint(left, top), size};
}

QRect frmVardecks::fittedPlace(const QRect &saved, const QRect &available, const QMargins &frame, bool centred)
{
    const QSize room(available.width() - frame.left() - frame.right(),
                     available.height() - frame.top() - frame.bottom());
    const QSize size = saved.size().boundedTo(room);
    const QSize outer = size.grownBy(frame);
    // Along one axis: the frame from low on, extent long, inside span.
    const auto place = [centred](int wanted, int low, int span, int extent) {
        if (centred)
            return low + std::max(0, (span - extent) / 2);
        return std::clamp(wanted, low, std::max(low, low + span - extent));
    };
    return {QPoint(place(saved.x(), available.left(), available.width(), outer.width()),
                   place(saved.y(), available.top(), available.height(), outer.height())),
            size};
}

void frmVardecks::restoreWindowPlace()
{
    using namespace twips;
    // Room for a window manager's title bar and borders, which are not known before the
    // window is first shown.
    constexpr QMargins kFrameAllowance(8, 40, 8, 8);
    const bool placeSaved =
        !textOf(RegistryFunctions::QueryValue(reg::HKEY_CURRENT_USER, QLatin1String(SettingsStore::kAppKey),
                                              QStringLiteral("frmWidth")))
             .isEmpty();
    const QRect saved(
        QPoint(toPx(SettingsStore::getFrmLeftSetting()), toPx(SettingsStore::getFrmTopSetting())),
        QSize(sizeToPx(SettingsStore::getFrmWidthSetting()), sizeToPx(SettingsStore::getFrmHeightSetting())));
    const bool maximised = placeSaved && sameText(SettingsStore::getFrmMaximised(), QLatin1String("True"));
    // The screen that holds most of the saved place; a place saved on a screen that is
    // gone would put the window where nobody sees it: it comes onto the primary screen.
    const QScreen *screen = QGuiApplication::primaryScreen();
    qint64 most = 0;
    for (const QScreen *candidate : QGuiApplication::screens()) {
        const QRect common = candidate->geometry().intersected(saved);
        if (placeSaved && qint64(common.width()) * common.height() > most) {
            most = qint64(common.width()) * common.height();
            screen = candidate;
        }
    }
    const QRect available = screen ? screen->availableGeometry() : QRect();
    // The first start: the window opens centred, with room for its panes.
    const QRect firstPlace = firstStartPlace(available, layout() ? layout()->minimumSize() : minimumSize());

    QRect place = placeSaved ? saved : firstPlace;
    if (screen && placeSaved)
        place = fittedPlace(saved, available, kFrameAllowance, maximised);
    resize(place.size());
    move(place.topLeft());

    // A left pane saved wider than the window leaves room for would make the window's
    // least size wider than the screen: it gives the right pane its least width.
    int openingWidth = place.width();
    if (screen && maximised)
        openingWidth = available.width() - kFrameAllowance.left() - kFrameAllowance.right();
    Splitter2->setSplitterPos(fittedLeftPane(SettingsStore::getSplitter2Setting(), openingWidth));
    formClient->setMinimumSize(layoutMinimumSize());
    // The window may have grown to the least size its panes allow: placed again at it.
    if (screen && placeSaved) {
        const QSize least = layout() ? layout()->minimumSize() : minimumSize();
        place =
            fittedPlace(QRect(place.topLeft(), place.size().expandedTo(least)), available, kFrameAllowance, maximised);
        resize(place.size());
        move(place.topLeft());
    }
    if (maximised)
        setWindowState(windowState() | Qt::WindowMaximized);
}

void frmVardecks::openStartDatabase()
{
    const QString name = safeDatabaseName(SettingsStore::getCurrentDB());
    auto db = std::make_unique<XMLDatabase>();
    db->setPath(paths::databaseFolder() + name);
    QString reason;
    bool opened = false;
    // Read on a thread of its own while the splash repaints.
    windowevents::runAside([&] { opened = db->openDBValidate(db->getPath(), &reason); });
    if (opened) {
        dbXML.open(std::move(db), name);
        if (dbXML->isReadOnlyHere()) {
            // Said before the window shows, as a failure to open is.
            if (m_splash)
                m_splash->hide();
            prompt::show(DatabaseClaim::openedReadOnlyMessage(dbXML->getPath()), MsgButtons::Ok, MsgIcon::Exclamation);
        }
        finishStartDatabase(name);
        return;
    }
    // The splash stays on top of everything: it goes before the message, which would
    // otherwise wait unseen behind it, and hands over to the window (and the tip of
    // the day) only once the message is answered.
    if (m_splash)
        m_splash->hide();
    prompt::show(QStringLiteral("Failed to open the default Vardecks database.  Please select another from the "
                                "File->Database->Open menu, or create a new database from the "
                                "File->Database->New menu option.\n\n") +
                     name + QStringLiteral(": ") + reason,
                 MsgButtons::Ok, MsgIcon::Exclamation);
    if (m_splash)
        m_splash->setUnload();
    else
        show();
    closeDB();
    m_firstActivation = true;
    windowevents::runPending();
}

void frmVardecks::finishStartDatabase(const QString &name)
{
    UserOptions &options = appOptions();
    at(Place::FolderTree)->hide();
    FolderTreeOperations &folders = operationsOf<FolderTreeOperations>(*this);
    folders.populateTopicList(dbXML.document());
    at(Place::FolderTree)->show();
    folders.selectRootFolder();

    checkCreateThumbsDir(name);
    showDatabaseName(name);
    VardeckViewsOperations &views = operationsOf<VardeckViewsOperations>(*this);
    if (options.getIconView())
        views.viewAsIcons();
    else
        views.viewAsList();

    if (options.getSystemTray()) {
        const bool recent = sameText(options.getSystemTrayOption(), QLatin1String("mnuRecent"));
        showTrayIcon(recent ? MenuId::mnuRecent : MenuId::mnuFavs);
    }
    if (options.getRecentNo() == 0)
        options.setRecentNo(15);
    session().recentMax = options.getRecentNo();
    if (options.getRecentSearchNo() == 0)
        options.setRecentSearchNo(15);
    session().searchMax = options.getRecentSearchNo();

    operationsOf<PreviewOperations>(*this).showAutoPreviewOption();
    operationsOf<FindingOperations>(*this).showSearchOptions();

    int size = options.getFontSize();
    if (size >= 8 && size <= 11)
        applyFontSize(size);

    views.populateIconList();
    m_overrideAspect = false;
    // Browsers that accept and never answer must not hold the window back: the scan
    // runs while the window is drawn, and its pages are offered when it ends.
    operationsOf<CaptureOperations>(*this).offerOpenBrowserPages();

    session().recentColl = SettingsStore::loadRecentList();
    operationsOf<RecentMenuOperations>(*this).refreshRecentMenuList(QString());
    session().searchColl = SettingsStore::loadSearchList();
    FindingOperations &finding = operationsOf<FindingOperations>(*this);
    finding.populateFavsList(dbXML.document());
    finding.populatePopList(dbXML.document());
    finding.populateSearchList();

    showStartPaneButtons();
    m_lastState = WindowState() == 1 ? 0 : WindowState();
    session().browserExePaths.clear();
    for (const char *exe : {"firefox.exe", "Mozilla.exe", "Opera.exe", "Netscape.exe", "Netscp6.exe", "IEXPLORE.EXE"})
        session().browserExePaths << getAppPathFromRegistry(QLatin1String(exe));

    collectionChanged(StalePages::everyPage());
    restoreColumnWidths();
    at<QLabel>(Place::FavoritesMark)->hide();
    at<QLabel>(Place::SearchMark)->hide();

    session().currentAspectStyle = SettingsStore::getAspectStyle();
    session().webAspectHtml = SettingsStore::getWebAspectHtml();
    operationsOf<WebAspectOperations>(*this).showWebAspectFormatting();
    if (!m_overrideAspect) {
        if (sameText(SettingsStore::getAspectSetting(), QLatin1String("Web"))) {
            operationsOf<AspectOperations>(*this).showAspectWeb();
        } else {
            operationsOf<AspectOperations>(*this).showAspectExplorer();
            if (session().webAspectHtml)
                operationsOf<WebAspectOperations>(*this).loadAspectPage(
                    session().currentAspectStyle, pageNameForStyle(session().currentAspectStyle), true);
        }
    }
    m_overrideAspect = false;
    m_firstActivation = true;
    if (options.getHideSplash() || !m_splash)
        showAtTheFolderTree();
    else
        m_splash->setUnload();
}

// Pane buttons and labels by the selected left tab, as the window opens.
void frmVardecks::showStartPaneButtons()
{
    const IndexTab tab = indexTab();
    at<qbButtons_H>(Place::MoveVardeckButton)->setVisible(tab == IndexTab::Index);
    at<qbButtons_H>(Place::MoveFolderButton)->setVisible(tab == IndexTab::Index);
    at<qbButtons_H>(Place::AddFavoriteButton)->setVisible(tab == IndexTab::Favorites);
    at<qbButtons_H>(Place::DeleteFavoriteButton)->setVisible(tab == IndexTab::Favorites);
    at<qbButtons_H>(Place::SearchButton)->setVisible(tab == IndexTab::Search);
    at<QLabel>(Place::FavoritesCount)->setVisible(tab == IndexTab::Favorites);
    at<QLabel>(Place::VardecksCaption)->setVisible(tab == IndexTab::Index);
    at<QLabel>(Place::VardeckCount)->setVisible(tab == IndexTab::Index);
    if (tab == IndexTab::Search)
        prepareSearchBox();
}

// A stored width of 0 gives the column an equal share of the list.
void frmVardecks::restoreColumnWidths()
{
    // The shares are of the lists as the layout places them in the window's restored
    // size, which a window not yet shown has not had its resize for.
    if (QLayout *frame = layout())
        frame->activate();
    placeAlignedControls();
    Form_Resize();
    operationsOf<VardeckViewsOperations>(*this).restoreFolderListColumns();
    operationsOf<FindingOperations>(*this).restoreFindingColumns();
    tellSettingErrors(m_splash);
}

void frmVardecks::showAtTheFolderTree()
{
    show();
    // The keyboard starts where the collection does: in the folder tree.
    if (m_aspect == Aspect::Explorer && indexTab() == IndexTab::Index && !at<QLineEdit>(Place::NameBox)->isVisible())
        at<QTreeWidget>(Place::FolderTree)->setFocus();
}

frmSplash *frmVardecks::splashWindow() const
{
    return m_splash.data();
}

void frmVardecks::Form_Activate()
{
    if (m_firstActivation && appOptions().getHideSplash() && !appOptions().getTipStartup())
        operationsOf<TipsOperations>(*this).showTips();
    m_firstActivation = false;
}

void frmVardecks::receiveHandOff(const QString &text)
{
    ThunderTextBox->setText(text);
    Timer1->start();
}

void frmVardecks::dropPendingHandOff()
{
    Timer1->stop();
}

void frmVardecks::Timer1_Timer()
{
    Timer1->stop();
    // The page of the top browser window becomes a new Vardeck; several pages go to
    // the detected-pages dialog.
    const int found = operationsOf<CaptureOperations>(*this).getOpenBrowserPages(true);
    if (found == 1 && !m_detectedPages.isEmpty()) {
        commands.addVardeckSetup(m_detectedPages.first());
    } else if (found > 1) {
        operationsOf<CaptureOperations>(*this).showDetectedPagesDialog();
    }
    // A minimised window comes back maximised, whatever its size was before; a hidden
    // one is shown as it was.
    if (isMinimized())
        showMaximized();
    else if (!isVisible())
        show();
    raise();
    activateWindow();
}

} // namespace rr
