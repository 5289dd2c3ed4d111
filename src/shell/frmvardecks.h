#pragma once
// The main window. It owns every pane, control, menu, popup menu, toolbar button and
// status panel under their system names (also their object names), the window's
// shared state, and the frame's own behaviour: the layout rules, the tab strips and
// the View menu, the toolbars and navigation keys, the menu states.
//
// Other parts of the program reach the controls through the public members and the
// accessors of the control arrays (lbl(Lbl::Hits), cmdPreview(0), …), the menu
// items by their MenuId, the toolbar buttons by their Tb or AspectButton
// (controlarrays.h), and attach their behaviour to the slots of `commands`
// (commands.mnuAddVardeck_Click = …). The program attaches a command to every slot.
// What the window shows, the edit state and the open database have one owner each
// here, each written through its own setter; the state the parts share (what was
// right-clicked, what is dragged, the pages found open, the stale Web Aspect pages…)
// is written through operations that say what happened. No part assigns a field.
#include "platform/gui/commands.h"
#include "shell/controlarrays.h"
#include "shell/frameplaces.h"
#include "shell/menutable.h"
#include "shell/opendatabase.h"
#include "shell/windowstate.h"

#include <QHash>
#include <QIcon>
#include <QLabel>
#include <QMainWindow>
#include <QMap>
#include <QPointer>
#include <array>
#include <functional>
#include <memory>
#include <optional>

class QAction;
class QCheckBox;
class QComboBox;
class QGroupBox;
class QKeyEvent;
class QLabel;
class QLineEdit;
class QMenu;
class QPlainTextEdit;
class QProgressBar;
class QTextEdit;
class QTimer;
class QToolBar;
class QTreeWidget;

namespace rr
{

class DragSources;
class frmSplash;
class qbButtons_H;
class Splitter;
class StatusPanels;
class TabStrip;
class XMLDatabase;
class XmlDocument;
struct MenuEntry;

class frmVardecks : public QMainWindow
{
    Q_OBJECT
public:
    explicit frmVardecks(QWidget *parent = nullptr);
    ~frmVardecks() override;

    // ----- start-up and shut-down -----
    // The load: options, splash, layout, the database named by "currentDB", every
    // list, the Aspect last used; the window shows itself at the end.
    void Form_Load();
    // The first activation opens the tip of the day when no splash did.
    void Form_Activate();
    // True when the close may go on (the question while editing).
    bool Form_QueryUnload();
    // Saves the window, lists and options to the settings and closes every window.
    // Runs once, whichever way the program ends.
    void Form_Unload();
    bool isUnloaded() const { return m_unloaded; }
    // The hand-off timer: a later launch asked this copy to take the page of the top
    // browser window.
    void Timer1_Timer();
    // Empties the window: no database open, only the database commands enabled.
    void closeDB();
    frmSplash *splashWindow() const;

    // ----- commands -----
    // Every command and refresh operation of the window, by handler name. The menus,
    // toolbars, buttons and keys run these; the subsystems attach them.
    Commands commands;

    // ----- menus -----
    // A menu item; an item array's id gives its element 0, and sub-menus and the menus
    // of the bar are found through their item (menuAction).
    QAction *menuItem(MenuId id) const;
    // Element index of an item array (MenuId::mnuNav, 2 is "mnuNav(2)").
    QAction *menuItem(MenuId array, int index) const;
    // The drop-down of a menu or sub-menu (mnuFile, mnuNoVD, mnuView).
    QMenu *subMenu(MenuId id) const;
    // Every menu item, menus and popup menus included, in menu order.
    QList<QAction *> allMenuItems() const;
    // The caption as declared: "-" for a separator.
    static QString menuCaption(const QAction *item);
    // Sets a caption; "-" turns the item into a separator. Captions from user data go
    // through escapeMnemonic first.
    static void setMenuCaption(QAction *item, const QString &caption);
    // Creates element index of an item array as a copy of element 0, placed after the
    // array's last element (what loading a menu array element does); returns it.
    QAction *loadMenuArrayElement(MenuId array, int index);
    void unloadMenuArrayElement(MenuId array, int index);
    int menuArrayUpperBound(MenuId array) const;
    // Opens a popup menu at the mouse pointer, or at the item a key asked about (see
    // keyboardPopup).
    void popupMenu(MenuId menu);
    // The right-click popup of a Vardeck list (listVD, lstSearch, lstSrch, listPop):
    // remembers the list, then opens mnuNoVD off the rows; on a row of a list that
    // takes several rows, mnuListVDMulti unless exactly one row is selected (the row
    // joins the selection); otherwise mnuListVD with the clicked row alone selected.
    void listPopup(QTreeWidget *list, const QString &listName, QTreeWidgetItem *row, bool severalRows);

    void LoadDynamicMenus();
    void resetMenuItems();
    void disableAllMenuItems();

    // ----- toolbars -----
    // Toolbar1's position 1..24 (separators included) and Toolbar2's buttons 1..2.
    QAction *toolbarButton(Tb position) const;
    QAction *aspectButton(AspectButton button) const;
    // Every position of Toolbar1, in order.
    const QList<QAction *> &toolbarButtons() const { return m_toolbarButtons; }
    // The tool tip each position was given ("" for a separator).
    QString toolbarToolTip(Tb position) const;
    void resetToolbarButtons();
    // The tool-tip echo: x in Toolbar1's pixel coordinates.
    void Toolbar1_MouseMove(int x);
    // The pointer has left the button at position for a window its command opened: when
    // the status bar still echoes the button, it shows again what it showed before.
    void endToolTipEcho(Tb position);
    void Toolbar1_ButtonClick(Tb position);
    void Toolbar2_ButtonClick(AspectButton button);

    // ----- layout -----
    void Form_Resize();
    void Splitter2_Resize();
    // Places the controls aligned to the window's edges (toolbars, status bar, the Web
    // Aspect strip) the way the window system does before Form_Resize runs.
    void placeAlignedControls();
    // The smallest client area, in pixels, at which every control is placed whole; the
    // window goes no smaller.
    QSize layoutMinimumSize() const;
    // Where the window opens when no place has been saved: centred on the screen's
    // available area, at a size where the layout has room, never below minimum.
    static QRect firstStartPlace(const QRect &available, const QSize &minimum);
    // The client area (ScaleWidth × ScaleHeight) in twips, and the outer width.
    double ScaleWidth() const;
    double ScaleHeight() const;
    double outerWidth() const;
    // 0 normal, 1 minimised, 2 maximised.
    int WindowState() const;

    // ----- tab strips and View menu -----
    void tabIndex_Click(int previousTab);
    void tabIndex_GotFocus();
    void tabIndex_MouseDown(Qt::MouseButton button);
    void tabView_MouseDown(Qt::MouseButton button);
    void tabInfo_MouseDown(Qt::MouseButton button);
    void tabIndex_MouseMove();
    void tabInfo_MouseMove();
    void mnuViewIndex_Click();
    void mnuViewSearch_Click();
    void mnuViewFavs_Click();
    void mnuViewPop_Click();
    void mnuViewSearchResults_Click();
    void mnuViewVardecks_Click();
    void mnuViewDetails_Click();
    void mnuViewPreview_Click();
    void mnuViewNotes_Click();
    // The search box's text selection reset before it takes the focus.
    void prepareSearchBox();
    // The address and home-page link labels' look when the mouse is elsewhere.
    void restLinkLabels();
    // A link label's look: at rest, or under the pointer (underlined, in the hover
    // colour). The colour is the label's own and does not reach its tool tip.
    static void setLinkLook(QLabel *link, bool hover);

    // ----- navigation keys -----
    // F2 to F5 (any Shift state) run mnuNav_Click 1 to 4. The window sees every key of
    // its controls first and runs these commands right after the key's delivery.
    bool Form_KeyDown(int key, Qt::KeyboardModifiers modifiers);
    // Ctrl+S (character 19) saves and Esc (27) cancels an edit, wherever the focus is;
    // the key goes on to the control unchanged.
    void Form_KeyPress(int keyAscii);

    // ----- the frame's panes and places -----
    // The container a part builds its controls in.
    QWidget *pane(Pane pane) const;
    // A part hands the frame a control whose place, size, visibility or font the layout
    // rules set (frameplaces.h); once for each place.
    void addToLayout(Place role, QWidget *control);
    // The places no part has handed a control to; none once the window is put together.
    QList<Place> emptyPlaces() const;

    // The font size (8 when 0) for the controls that show Vardecks and their fields.
    void applyFontSize(int &size);

    // ----- default button (Enter presses it) -----
    void setDefaultButton(qbButtons_H *button);
    qbButtons_H *defaultButton() const { return m_defaultButton; }

    // ----- control arrays -----
    QLabel *lbl(Lbl index) const;
    // Every element of lbl(), in the order of the indices.
    QList<QLabel *> lblElements() const { return m_lbl.values(); }
    qbButtons_H *cmdEdit(int index) const;
    qbButtons_H *cmdSearchHome(int index) const;
    qbButtons_H *cmdPreview(int index) const;
    qbButtons_H *cmdWeb(int index) const;
    QCheckBox *chkSearch(int index) const;
    QCheckBox *chkOpt(int index) const;
    QCheckBox *chkOptt(int index) const;

    // ----- what the window shows -----
    // The shown folder: its TID ("" when none is shown) and its name, the caption of
    // lblTName, are written together and only here; the caption's change handler
    // (lblTName_Change) then runs, as the label's change event does. The TID goes
    // first, so that what the handler sets off sees the folder the caption names.
    const QString &currentTID() const { return m_currentTID; }
    bool folderShown() const { return !m_currentTID.isEmpty(); }
    void showFolder(const QString &tid, const QString &name);
    // "No folder selected".
    void showNoFolder();
    // Status panel 2 shows the shown folder's path ("\Top\Inner") when the folder
    // tree has its node.
    void showFolderPath();
    // The shown Vardeck: its WID and its name, the caption of lblWName (whose change
    // handler is lblWName_Change), written only here. While no Vardeck is shown
    // currentWID keeps the one shown last, whose row the lists select again when they
    // are refilled; "" once the database changed.
    const QString &currentWID() const { return m_currentWID; }
    bool vardeckShown() const { return m_vardeckShown; }
    void showVardeck(const QString &wid, const QString &name);
    // "No Vardeck selected".
    void showNoVardeck();
    // The database the window showed went: nothing shown, nothing shown last.
    void forgetShownItems();

    // ----- the edit state -----
    // Viewing, Adding or Modifying. Only the Explorer sets it (explorer/editmode.h,
    // setMode); a change is announced by editStateChanged, to which the enabling table
    // and the parts that follow an edit are attached.
    EditState editState() const { return m_editState; }
    void setEditState(EditState state);
    // True when nothing is being edited or the user agrees to drop the edit ("You are
    // about to lose unsaved changes - do you wish to continue?").
    bool confirmLoseChanges();

signals:
    void editStateChanged(EditState state);

public:
    // ----- controls -----
    QWidget *formClient = nullptr; // the window's client area
    QToolBar *Toolbar1 = nullptr;
    QToolBar *Toolbar2 = nullptr;
    StatusPanels *StatusBar1 = nullptr;
    QWidget *Picture2 = nullptr; // the Web Aspect's strip: cmdWeb, txtS, chkWebAspectBrowser
    QLineEdit *txtS = nullptr;
    QCheckBox *chkWebAspectBrowser = nullptr;
    QWidget *wbWeb = nullptr; // holds the Web Aspect's browser once it exists

    Splitter *Splitter2 = nullptr;
    TabStrip *tabIndex = nullptr;
    QWidget *Picture1 = nullptr;
    // Index tab
    Splitter *Splitter1 = nullptr;
    // Search tab
    QComboBox *cmbSearch = nullptr;
    qbButtons_H *cmdSearch = nullptr;
    QGroupBox *Frame4 = nullptr;
    QLabel *lblFound = nullptr;
    QTreeWidget *lstSrch = nullptr;
    QLabel *Picture5 = nullptr;
    // Favorites tab
    QTreeWidget *tvwFavs = nullptr;
    qbButtons_H *cmdFAdd = nullptr;
    qbButtons_H *cmdFDelete = nullptr;
    QLabel *Picture4 = nullptr;
    // Popular tab
    QTreeWidget *listPop = nullptr;

    // Right pane
    TabStrip *tabView = nullptr;
    QWidget *Frame2 = nullptr;
    QLabel *lblWName = nullptr;
    QLineEdit *txtWName = nullptr;
    QLabel *lblAddress = nullptr;
    QLineEdit *txtAddress = nullptr;
    QLabel *imgIcon = nullptr;
    TabStrip *tabInfo = nullptr;
    QTreeWidget *lstSearch = nullptr;
    // Details tab
    QWidget *PictureDetails = nullptr;
    QLabel *picThumb = nullptr;
    QCheckBox *chkFav = nullptr;
    qbButtons_H *cmdAddFavs = nullptr;
    QLabel *Picture10 = nullptr;
    QLabel *lblHome = nullptr;
    QLabel *lblCreatedDate = nullptr;
    QLabel *lblFileSize = nullptr;
    QLabel *lblDescription = nullptr;
    QPlainTextEdit *txtDescription = nullptr;
    QLabel *lblKeyWords = nullptr;
    QPlainTextEdit *txtKeywords = nullptr;
    // Preview tab
    QWidget *wbPreview = nullptr; // holds the preview browser once it exists
    QCheckBox *chkAutoPreview = nullptr;
    QProgressBar *previewProgress = nullptr;
    // Notes tab
    QTextEdit *txtNotes = nullptr;

    // Hidden controls and picture sources
    QLabel *lblTName = nullptr;          // the shown folder's name (showFolder)
    QLineEdit *ThunderTextBox = nullptr; // the hand-off box a second launch writes to
    QTimer *Timer1 = nullptr;            // the hand-off timer, 5 ms
    QTimer *timerIcon = nullptr;         // the icon timer, 10 ms, one-shot
    QLabel *Picture8 = nullptr;          // the plain Vardeck mark
    QLabel *Picture3 = nullptr;          // an off-screen drawing surface
    // Image lists by key
    QMap<QString, QIcon> ImageListMenu; // the toolbar images "1".."18"
    QMap<QString, QIcon> ImageList1;    // the Aspect toolbar images "1".."2"
    QMap<QString, QIcon> ImageListTVW;  // "RootClosed", "RootOpen", "ClosedFolder", "OpenFolder"
    QMap<QString, QIcon> ImageListWM;   // "Vardeck", "SelVardeck", and site icons by WID

    // ----- shared state -----
    // Each piece is written only through the operations beside it, named for what
    // happened; its readers get it as it is.
    // The open database: the one way to its handle and document (isOpen() says
    // whether there is one).
    OpenDatabase dbXML;
    // What was right-clicked last, for the popup commands and the dialogs they open.
    PopupState popup;
    // What is being dragged; only the one start-drag (dragSources()) writes it.
    DragState drag;
    DragSources &dragSources() const { return *m_dragSources; }

    // The Aspect shown, "Explorer" or "Web", recorded by the Aspect switch as it shows one.
    const QString &currentAspect() const { return m_currentAspect; }
    void aspectShown(const QString &aspect) { m_currentAspect = aspect; }
    // Adding a Vardeck shows the Explorer Aspect: a start-up that adds one from a page
    // found open does not then restore the Aspect saved last.
    bool aspectOverridden() const { return m_overrideAspect; }
    void overrideSavedAspect() { m_overrideAspect = true; }

    // The Vardeck the Vardeck commands act on: the one opened last from a list or tree,
    // or the one being deleted ("" none).
    const QString &selectedWID() const { return m_selectedWID; }
    void selectVardeck(const QString &wid) { m_selectedWID = wid; }

    // The icon fetched for the page of the Vardeck being added shows in imgIcon; a new
    // add or fetch forgets it.
    bool iconChanged() const { return m_iconChanged; }
    void fetchedIconShown() { m_iconChanged = true; }
    void forgetFetchedIcon() { m_iconChanged = false; }

    // The pages the last browser scan found, in the order found, and the page a new
    // Vardeck is made from (addVardeckSetup with the source "browser").
    const QList<DetectedPage> &detectedPages() const { return m_detectedPages; }
    const DetectedPage &chosenPage() const { return m_chosenPage; }
    // A scan found pages: they replace the earlier ones, and no page is chosen.
    void browserPagesFound(const QList<DetectedPage> &pages)
    {
        m_detectedPages = pages;
        m_chosenPage = DetectedPage();
    }
    // The page the next new Vardeck is made from (an empty page: none).
    void choosePage(const DetectedPage &page) { m_chosenPage = page; }
    // The chosen page's address is used up: the icon timer fetches nothing for it.
    void forgetChosenAddress() { m_chosenPage.address.clear(); }

    // The WIDs of the favourites, kept equal to the Favorites list by its pane.
    const QStringList &favsColl() const { return m_favsColl; }
    void favoritesListed(const QStringList &wids) { m_favsColl = wids; }

    // The rendered Web Aspect pages (folders, all, favourites, hits) that a change of
    // the collection has made stale: marked through commands.collectionChanged or
    // markAllPagesStale, fresh again once the Web Aspect made the page.
    enum AspectPage { FoldersPage = 0, AllPage = 1, FavsPage = 2, HitsPage = 3 };
    bool aspectPageStale(int page) const { return m_aspectPageStale[page]; }
    void aspectPageMade(int page) { m_aspectPageStale[page] = false; }
    void markAllPagesStale()
    {
        m_aspectPageStale[0] = m_aspectPageStale[1] = m_aspectPageStale[2] = m_aspectPageStale[3] = true;
    }

    // The last window state other than minimised (0 normal, 2 maximised).
    int LastState() const { return m_lastState; }
    // True from the load until the first resize, which prepares the search box.
    bool firstResize = false;

protected:
    void changeEvent(QEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    // Building (one file each: panes, menus, toolbars).
    void buildPanes();
    void buildLeftPane();
    void buildSearchPage(QWidget *page);
    void buildRightPane();
    void buildDetailsPage(QWidget *page);
    void buildPreviewPage(QWidget *page);
    void buildWebStrip();
    void buildHiddenControls();
    // Hands the frame's places the controls the frame still makes itself.
    void placeOwnControls();
    void buildImageLists();
    void buildMenus();
    QAction *addMenuEntry(QMenu *parent, const MenuEntry &entry);
    void buildToolbars();
    void buildStatusBar();
    void wireTabStrips();
    void registerOwnCommands();

    QLabel *makeLabel(QWidget *parent, Lbl index, const QString &caption, double l, double t, double w, double h);
    qbButtons_H *makeButton(QWidget *parent, const QString &name, const QString &caption, double l, double t, double w,
                            double h, HandlerRef command, int index = 0);
    QTreeWidget *makeList(QWidget *parent, const QString &name, const QStringList &columns);
    QTreeWidget *makeTree(QWidget *parent, const QString &name);

    void showPaneButtons(bool fromFormResize);
    // The keyword row under the description, after a change of size, text, font or face.
    void placeKeywordRow();
    // The Search tab's "Found:" caption beside its count, and the boxes inside "Search in".
    void placeSearchCaptions();
    bool handleEnterKey(QWidget *focus);
    // The Menu key and Shift+F10 on focus: the right-click a control answers with a
    // popup, made on its current item (a list row, a tree node, the caret of the notes,
    // the tab shown), the popup opening there. False for a control with a menu of its
    // own (a text box) or none.
    bool keyboardPopup(QWidget *focus);
    // True when a key that receiver would claim for itself is one of the menus' shortcuts.
    bool ownShortcutComesFirst(const QObject *receiver, const QKeyEvent *key) const;
    // True when the key is the shortcut of a menu item, enabled or not.
    bool isMenuShortcut(const QKeyEvent *key) const;

    // The control handed to the frame for its place. A window put together only in part
    // (as a test may) lays out a hidden stand-in of the same kind where no part has.
    template <typename T = QWidget> T *at(Place role) const
    {
        QPointer<QWidget> &control = m_places[std::size_t(role)];
        if (!control) {
            control = new T(m_standIns);
            control->setProperty("rrStandIn", true);
        }
        Q_ASSERT(qobject_cast<T *>(control.data()));
        return static_cast<T *>(control.data());
    }
    mutable std::array<QPointer<QWidget>, std::size_t(Place::Count)> m_places;
    // The hidden parent of the stand-ins.
    QWidget *m_standIns = nullptr;

    QHash<QString, QAction *> m_menuItems;
    QHash<QString, QMenu *> m_menus;
    QList<QAction *> m_toolbarButtons;
    QStringList m_toolTips;
    // What status panel 1 showed before the toolbar's tool tips were echoed in it.
    QString m_beforeEcho;
    QList<QAction *> m_aspectButtons;
    QMap<int, QLabel *> m_lbl;
    QMap<int, qbButtons_H *> m_cmdEdit;
    QMap<int, qbButtons_H *> m_cmdSearchHome;
    QMap<int, qbButtons_H *> m_cmdPreview;
    QMap<int, qbButtons_H *> m_cmdWeb;
    QMap<int, QCheckBox *> m_chkSearch;
    QCheckBox *m_chkOpt6 = nullptr;
    QCheckBox *m_chkOptt7 = nullptr;
    qbButtons_H *m_defaultButton = nullptr;
    // Set through showFolder, showNoFolder, showVardeck, showNoVardeck.
    QString m_currentTID;
    QString m_currentWID;
    bool m_vardeckShown = false;
    // Set through setEditState.
    EditState m_editState = EditState::Viewing;
    // What lblTName and lblWName read while nothing is shown.
    static inline const QString kNoFolderCaption = QStringLiteral("No folder selected");
    static inline const QString kNoVardeckCaption = QStringLiteral("No Vardeck selected");
    bool m_inFormResize = false;
    // Where popups open while a key's right-click runs (keyboardPopup).
    std::optional<QPoint> m_popupAt;
    bool m_unloaded = false;
    // The shared state above, written through its operations.
    DragSources *m_dragSources = nullptr;
    QString m_currentAspect = QStringLiteral("Explorer");
    bool m_overrideAspect = false;
    QString m_selectedWID;
    bool m_iconChanged = false;
    QList<DetectedPage> m_detectedPages;
    DetectedPage m_chosenPage;
    QStringList m_favsColl;
    bool m_aspectPageStale[4] = {true, true, true, true};
    int m_lastState = 0;
    bool m_firstActivation = false;
    QPointer<frmSplash> m_splash;
    void restoreWindowPlace();
    void openStartDatabase();
    void finishStartDatabase(const QString &name);
    void showStartPaneButtons();
    void restoreColumnWidths();
    // Shows the window with the keyboard in the folder tree when the Index tab is up.
    void showAtTheFolderTree();
};

} // namespace rr
