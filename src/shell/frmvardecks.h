#pragma once
// The main window: the frame. It lays out the parts' controls by its layout rules
// (frameplaces.h: each part hands it the controls of its places), and owns the menus
// and popup menus, the toolbars, the tab strips and the View menu, the status bar, the
// splitters, the navigation keys and the menu states, all private. The parts make and
// keep their own controls (the folder tree, the Vardeck views, the details panel, the
// finding panes, the preview and the Web Aspect) and reach one another through
// `commands`, whose slots the program attaches (commands.mnuAddVardeck_Click = …);
// they ask the frame for a tab, a status text or a picture through the operations
// below, a menu item by its MenuId, a toolbar button by its Tb or AspectButton
// (controlarrays.h). What the window shows, the edit state and the open database have
// one owner each here, each written through its own operation; the state the parts
// share (what was right-clicked, what is dragged, the pages found open, the stale Web
// Aspect pages…) is written through operations that say what happened. A part that
// needs only some of it is handed the narrow views the window implements (shownitems.h,
// frametabs.h, framemenus.h, framepanes.h, framestatus.h, frameoptions.h, framesession.h,
// collectionchanges.h) with dbXML and commands, not the window.
#include "platform/gui/commands.h"
#include "shell/controlarrays.h"
#include "shell/framemenus.h"
#include "shell/frameoptions.h"
#include "shell/framepanes.h"
#include "shell/frameplaces.h"
#include "shell/framesession.h"
#include "shell/framestatus.h"
#include "shell/frametabs.h"
#include "shell/frameviews.h"
#include "shell/imagelists.h"
#include "shell/menutable.h"
#include "shell/opendatabase.h"
#include "shell/shownitems.h"
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
class QMimeData;
class QPlainTextEdit;
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

class frmVardecks : public QMainWindow,
                    public ShownItems,
                    public FrameTabs,
                    public FrameMenus,
                    public FrameOptions,
                    public FramePanes,
                    public FrameStatus,
                    public FrameSession
{
    Q_OBJECT
public:
    explicit frmVardecks(QWidget *parent = nullptr);
    ~frmVardecks() override;

    // ----- start-up and shut-down -----
    // The load: options, splash, layout, the database named by "currentDB", every
    // list, the Aspect last used; the window shows itself at the end.
    void Form_Load();
    // True when the close may go on (the questions the parts added, then the one while
    // editing).
    bool Form_QueryUnload();
    void askBeforeClosing(std::function<bool()> ask) override { m_closingQuestions.append(std::move(ask)); }
    // Saves the window, lists and options to the settings and closes every window.
    // Runs once, whichever way the program ends.
    void Form_Unload();
    bool isUnloaded() const override { return m_unloaded; }
    // A later launch handed over (text is what it sent, which means nothing): the hidden
    // hand-off box takes it and the hand-off timer starts, on every hand-off. When the
    // timer fires, this copy takes the page of the top browser window.
    void receiveHandOff(const QString &text);
    // Opening a database drops a hand-off not yet taken.
    void dropPendingHandOff();
    // Empties the window: no database open, only the database commands enabled.
    void closeDB();
    frmSplash *splashWindow() const override;

    // ----- commands -----
    // Every command and refresh operation of the window, by handler name. The menus,
    // toolbars, buttons and keys run these; the subsystems attach them.
    Commands commands;

    // ----- menus -----
    // A menu item; an item array's id gives its element 0, and sub-menus and the menus
    // of the bar are found through their item (menuAction).
    QAction *menuItem(MenuId id) const override;
    // Element index of an item array (MenuId::mnuNav, 2 is "mnuNav(2)").
    QAction *menuItem(MenuId array, int index) const override;
    // The drop-down of a menu or sub-menu (mnuFile, mnuNoVD, mnuView).
    QMenu *subMenu(MenuId id) const override;
    // Every menu item, menus and popup menus included, in menu order.
    QList<QAction *> allMenuItems() const;
    // The caption as declared: "-" for a separator.
    static QString menuCaption(const QAction *item);
    // Creates element index of an item array as a copy of element 0, placed after the
    // array's last element (what loading a menu array element does); returns it.
    QAction *loadMenuArrayElement(MenuId array, int index) override;
    void unloadMenuArrayElement(MenuId array, int index) override;
    int menuArrayUpperBound(MenuId array) const override;
    // Opens a popup menu at the mouse pointer, or at the item a key asked about (see
    // keyboardPopup).
    void popupMenu(MenuId menu) override;
    // The right-click popup of a Vardeck list (listVD, lstSearch, lstSrch, listPop):
    // remembers which list, then opens mnuNoVD off the rows; on a row of a list that
    // takes several rows, mnuListVDMulti unless exactly one row is selected (the row
    // joins the selection); otherwise mnuListVD with the clicked row alone selected.
    void listPopup(QTreeWidget *list, EntryList which, QTreeWidgetItem *row, bool severalRows) override;

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
    // The button at position leaves the toolbar: an echo of its tool tip goes.
    void dropToolTipEcho(Tb position);

    // ----- layout -----
    void Form_Resize();
    // The smallest client area, in pixels, at which every control is placed whole; the
    // window goes no smaller.
    QSize layoutMinimumSize() const;
    // Where the window opens when no place has been saved: centred on the screen's
    // available area, at a size where the layout has room, never below minimum.
    static QRect firstStartPlace(const QRect &available, const QSize &minimum);
    // A saved place brought onto a screen's available area. saved is the frame's
    // top-left corner with the client size, as the window is moved and resized; frame
    // is the room the window manager's frame takes around the client. The client keeps
    // its saved size where the frame then fits, and is made smaller where it does not;
    // the place moves as little as it takes to show the whole frame. centred puts it in
    // the middle instead: the place a window first shown maximised returns to, where its
    // title bar shows however the window manager first placed it.
    static QRect fittedPlace(const QRect &saved, const QRect &available, const QMargins &frame, bool centred);
    // The main splitter's position, in twips, no further right than leaves the right pane
    // its least width in a client area clientWidth pixels wide (never below 0).
    int fittedLeftPane(int savedTwips, int clientWidth) const;
    // The window's least size once the user has moved the main bar: it follows the left
    // pane, but never beyond the window's width.
    void leastSizeFollowsLeftPane();
    // The client area (ScaleWidth × ScaleHeight) in twips, and the outer width.
    double ScaleWidth() const;
    double ScaleHeight() const;
    double outerWidth() const;
    // 0 normal, 1 minimised, 2 maximised.
    int WindowState() const;

    // ----- tab strips and View menu -----
    // The tab each strip shows. Showing a tab of the left pane runs what a click on it
    // runs, and then indexTabShown.
    IndexTab indexTab() const override;
    void showIndexTab(IndexTab tab) override;
    QMetaObject::Connection whenIndexTabShown(const QObject *context, std::function<void(IndexTab)> run) override;
    void showViewTab(ViewTab tab) override;
    InfoTab infoTab() const;
    void showInfoTab(InfoTab tab) override;
    // The right pane's tabs are on the screen (not in the Web Aspect, nor before the
    // window shows); their width in twips, which the tab captions are fitted to.
    bool viewTabsVisible() const;
    double viewTabsWidth() const;
    // The left pane's width in twips, which the search's compact list fits its columns to.
    double indexTabsWidth() const override;
    // The Vardeck tab's and the folder tab's captions, shown as given ("&" included).
    QString vardeckTabCaption() const;
    void setVardeckTabCaption(const QString &caption);
    void setFolderTabCaption(const QString &caption);
    // The pictures on the Vardeck tab (the site icon, the favourite mark) and on the
    // Details tab (the secure-site mark).
    void setVardeckTabPicture(const QIcon &picture);
    void setDetailsTabPicture(const QIcon &picture);
    // The details tabs show with a Vardeck and hide without one.
    void showInfoTabs(bool shown);
    // The three tab strips answer only while a database is open.
    void enableTabStrips(bool enabled);
    // A tab of the left pane takes the drags that accepts approves, on its page and on
    // its tab in the strip, for as long as owner lives; drop runs for one released there.
    void takeDropsOnIndexTab(IndexTab tab, QObject *owner, std::function<bool(const QMimeData *)> accepts,
                             std::function<void(const QMimeData *)> drop) override;
    // The tool tip the Index tab's two trees show where they have none of their own,
    // and the one both panes show so ("" none): the address under the pointer.
    void setIndexTreesToolTip(const QString &tip);
    void setPanesToolTip(const QString &tip) override;
    // The Explorer's panes (both tab strips and the bar between them) show or hide as
    // an Aspect is shown.
    void showExplorerPanes(bool shown);
    // The right pane holds its painting while the details are filled (hold), and shows
    // the result at once when released.
    void holdRightPane(bool hold);
    // A move over the left pane's tabs ends the tool tips and the message.
    void tabIndex_MouseMove();
    // A link label's look: at rest, or under the pointer (underlined, in the hover
    // colour). The colour is the label's own and does not reach its tool tip.
    static void setLinkLook(QLabel *link, bool hover);

    // ----- the frame's panes and places -----
    // The container a part builds its controls in.
    QWidget *pane(Pane pane) const override;
    // A part hands the frame a control whose place, size, visibility or font the layout
    // rules set (frameplaces.h); once for each place.
    void addToLayout(Place role, QWidget *control) override;
    // The places no part has handed a control to; none once the window is put together.
    QList<Place> emptyPlaces() const;
    // True from the load until the first resize, which prepares the search box; the
    // load expects it.
    bool firstResizePending() const { return m_firstResize; }
    void expectFirstResize() { m_firstResize = true; }

    // ----- the status bar -----
    // The open database's file name ("" none).
    void showDatabaseName(const QString &name);
    // The shown folder's path goes from the status bar, as the folder goes or moves.
    void forgetFolderPath() override;
    // A web pane's status text passes over the folder path: pageStatusEnded gives the
    // path back. pageStatus is what the panel shows now.
    void showPageStatus(const QString &text) override;
    void pageStatusEnded() override;
    QString pageStatus() const override;

    // ----- pictures -----
    // The plain Vardeck mark: what stands for a Vardeck without a site icon.
    const QPixmap &plainVardeckPicture() const { return m_plainVardeckPicture; }
    // The pictures of the folder trees' nodes: the root's or a folder's, each with its
    // open picture while the node is selected.
    QIcon folderNodePicture(bool root) const;
    // The Vardecks' pictures: each one's site icon under its WID, and the stock marks.
    VardeckPictures &vardeckPictures() { return m_vardeckPictures; }
    const VardeckPictures &vardeckPictures() const { return m_vardeckPictures; }

    // The font size (8 when 0) for the controls that show Vardecks and their fields.
    void applyFontSize(int &size) override;
    // The notification-area icon with the Recent or Favorites menu (mnuRecent, mnuFavs).
    void showTrayIcon(MenuId menu) override;

    // ----- default button (Enter presses it) -----
    void setDefaultButton(qbButtons_H *button) override;
    qbButtons_H *defaultButton() const override { return m_defaultButton; }

    // ----- what the window shows -----
    // The shown folder: its TID ("" when none is shown) and its caption, its name or
    // "No folder selected", are written together and only here; the caption's change
    // handler (lblTName_Change) then runs, and the details panel shows the caption. The
    // TID goes first, so that what the handler sets off sees the folder the caption names.
    const QString &currentTID() const override { return m_currentTID; }
    const QString &folderCaption() const { return m_folderCaption; }
    bool folderShown() const override { return !m_currentTID.isEmpty(); }
    void showFolder(const QString &tid, const QString &name) override;
    // "No folder selected".
    void showNoFolder() override;
    // The status bar shows the shown folder's path ("\Top\Inner") when the folder
    // tree has its node.
    void showFolderPath() override;
    // The shown Vardeck: its WID and its caption, its name or "No Vardeck selected",
    // written only here; the caption's change handler (lblWName_Change) then runs, and
    // the details panel shows the caption. While no Vardeck is shown currentWID keeps the
    // one shown last, whose row the lists select again when they are refilled; "" once
    // the database changed.
    const QString &currentWID() const override { return m_currentWID; }
    // The Vardeck being modified; "" while a new one is added or nothing is edited.
    QString editedWID() const override { return m_editState == EditState::Modifying ? m_currentWID : QString(); }
    bool vardeckShown() const override { return m_vardeckShown; }
    const QString &vardeckCaption() const override { return m_vardeckCaption; }
    void showVardeck(const QString &wid, const QString &name);
    // "No Vardeck selected".
    void showNoVardeck() override;
    // The database the window showed went: nothing shown, nothing shown last.
    void forgetShownItems();

    // ----- the edit state -----
    // Viewing, Adding or Modifying. Only the Explorer sets it (explorer/editmode.h,
    // setMode); a change is announced by editStateChanged, to which the enabling table
    // and the parts that follow an edit are attached.
    EditState editState() const override { return m_editState; }
    void setEditState(EditState state);
    QMetaObject::Connection whenEditStateChanges(const QObject *context, std::function<void(EditState)> run) override;
    // True when nothing is being edited or the user agrees to drop the edit ("You are
    // about to lose unsaved changes - do you wish to continue?").
    bool confirmLoseChanges();

signals:
    void editStateChanged(EditState state);
    // The left pane shows another tab; the frame has shown that tab's buttons.
    void indexTabShown(IndexTab tab);

public:
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

    // The Aspect shown, "Explorer" or "Web" (as the settings keep it).
    QString currentAspect() const override;
    // The Aspect switch shows an Aspect: the frame records it and gives the status bar
    // the Explorer's folder path back, or clears it for the Web Aspect's texts. An
    // Aspect shown while the start-up opens its database (adding a Vardeck from a page
    // found open shows the Explorer) is kept: the Aspect saved last is not restored.
    void aspectShown(Aspect aspect);
    bool aspectOverridden() const { return m_overrideAspect; }

    // The Vardeck the Vardeck commands act on: the one opened last from a list or tree,
    // or the one being deleted ("" none).
    const QString &selectedWID() const override { return m_selectedWID; }
    void selectVardeck(const QString &wid) override { m_selectedWID = wid; }

    // The icon fetched for the page of the Vardeck being added shows in the details; a
    // new add or fetch forgets it.
    bool iconChanged() const { return m_iconChanged; }
    void fetchedIconShown() override { m_iconChanged = true; }
    void forgetFetchedIcon() override { m_iconChanged = false; }

    // The pages the last browser scan found, in the order found.
    const QList<DetectedPage> &detectedPages() const override { return m_detectedPages; }
    // A scan found pages: they replace the earlier ones.
    void browserPagesFound(const QList<DetectedPage> &pages) override { m_detectedPages = pages; }

    // The rendered Web Aspect pages that a change of the collection has made stale
    // (CollectionChanges names them).
    bool aspectPageStale(int page) const override { return m_aspectPageStale[page]; }
    void aspectPageMade(int page) override { m_aspectPageStale[page] = false; }
    // A part or a dialog changed the collection: the pages it made stale are marked, and
    // the Web Aspect, when it is up and the change asks for it, is shown again.
    void collectionChanged(const StalePages &stale) override;

    // The last window state other than minimised (0 normal, 2 maximised).
    int LastState() const { return m_lastState; }

protected:
    void changeEvent(QEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    // The first activation opens the tip of the day when no splash did.
    void Form_Activate();
    // Sets a caption; "-" turns the item into a separator. Captions from user data go
    // through escapeMnemonic first.
    static void setMenuCaption(QAction *item, const QString &caption);
    // A passing message in the message panel ("" clears it).
    void showMessage(const QString &text);

    // ----- the frame's own event handlers -----
    void Toolbar1_ButtonClick(Tb position);
    void Toolbar2_ButtonClick(AspectButton button);
    void Splitter2_Resize();
    // Places the controls aligned to the window's edges (toolbars, status bar, the Web
    // Aspect strip) the way the window system does before Form_Resize runs.
    void placeAlignedControls();
    void tabIndex_Click(int previousTab);
    void tabIndex_GotFocus();
    void tabIndex_MouseDown(Qt::MouseButton button);
    void tabView_MouseDown(Qt::MouseButton button);
    void tabInfo_MouseDown(Qt::MouseButton button);
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
    // F2 to F5 (any Shift state) run mnuNav_Click 1 to 4. The window sees every key of
    // its controls first and runs these commands right after the key's delivery.
    bool Form_KeyDown(int key, Qt::KeyboardModifiers modifiers);
    // Ctrl+S (character 19) saves and Esc (27) cancels an edit, wherever the focus is;
    // the key goes on to the control unchanged.
    void Form_KeyPress(int keyAscii);

    // Building (one file each: panes, menus, toolbars).
    void buildPanes();
    void buildLeftPane();
    void buildRightPane();

    void buildHiddenControls();
    void Timer1_Timer();
    void buildImageLists();
    void buildMenus();
    QAction *addMenuEntry(QMenu *parent, const MenuEntry &entry);
    void buildToolbars();
    void buildStatusBar();
    // A right-click on the status bar keeps the folder path for Copy and opens the copy
    // menu, with a folder and a Vardeck shown.
    void statusBar_MouseDown(Qt::MouseButton button);
    // The window's background and the right pane: their right-click and pointer moves.
    bool backgroundEvent(QWidget *watched, QEvent *event);
    void wireTabStrips();
    void registerOwnCommands();

    void sizeStatusPanels();
    void showPaneButtons(bool fromFormResize);
    // The keyword row under the description, after a change of size, text, font or face.
    void placeKeywordRow();
    // The Search tab's "Found:" caption beside its count.
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
    // Del and Shift+Del in a text box delete what is typed, whatever the menus say.
    static bool keepsDeleteKey(const QObject *receiver, const QKeyEvent *key);
    // Ctrl+Ins in a text box, editable or not, copies what is selected there.
    static bool keepsCopyKey(const QObject *receiver, const QKeyEvent *key);
    // The keys a text box keeps when no enabled menu item takes them: Del and Shift+Del,
    // and its copy keys, which change nothing. Every other key of a menu item stops at
    // the window.
    static bool keepsKeyOfDisabledItem(const QObject *receiver, const QKeyEvent *key);

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

    // The frame's own controls.
    QWidget *formClient = nullptr; // the window's client area
    QToolBar *Toolbar1 = nullptr;
    QToolBar *Toolbar2 = nullptr;
    StatusPanels *StatusBar1 = nullptr;
    Splitter *Splitter2 = nullptr; // the left pane | the right pane
    TabStrip *tabIndex = nullptr;
    QWidget *Picture1 = nullptr;   // the right pane
    Splitter *Splitter1 = nullptr; // on the Index tab: the folder tree over tvwWM
    TabStrip *tabView = nullptr;
    TabStrip *tabInfo = nullptr;
    QLineEdit *ThunderTextBox = nullptr; // the hand-off box a later launch writes to
    QTimer *Timer1 = nullptr;            // the hand-off timer, 5 ms
    // Image lists by key: the toolbar images "1".."18", the Aspect toolbar's "1".."2",
    // and the folder trees' "RootClosed", "RootOpen", "ClosedFolder", "OpenFolder".
    QMap<QString, QIcon> ImageListMenu;
    QMap<QString, QIcon> ImageList1;
    QMap<QString, QIcon> ImageListTVW;
    VardeckPictures m_vardeckPictures;
    QPixmap m_plainVardeckPicture;
    // The hidden parent of the stand-ins.
    QWidget *m_standIns = nullptr;

    QHash<QString, QAction *> m_menuItems;
    QHash<QString, QMenu *> m_menus;
    QList<QAction *> m_toolbarButtons;
    QStringList m_toolTips;
    // What status panel 1 showed before the toolbar's tool tips were echoed in it.
    QString m_beforeEcho;
    QList<QAction *> m_aspectButtons;

    qbButtons_H *m_defaultButton = nullptr;
    // Set through showFolder, showNoFolder, showVardeck, showNoVardeck.
    QString m_currentTID;
    QString m_folderCaption = kNoFolderCaption;
    QString m_currentWID;
    bool m_vardeckShown = false;
    QString m_vardeckCaption = kNoVardeckCaption;
    // Set through setEditState.
    EditState m_editState = EditState::Viewing;
    // The captions of the shown folder and Vardeck while none is shown.
    static inline const QString kNoFolderCaption = QStringLiteral("No folder selected");
    static inline const QString kNoVardeckCaption = QStringLiteral("No Vardeck selected");
    bool m_inFormResize = false;
    // Where popups open while a key's right-click runs (keyboardPopup).
    std::optional<QPoint> m_popupAt;
    bool m_unloaded = false;
    // The shared state above, written through its operations.
    DragSources *m_dragSources = nullptr;
    Aspect m_aspect = Aspect::Explorer;
    bool m_overrideAspect = false;
    bool m_firstResize = false;
    QString m_selectedWID;
    bool m_iconChanged = false;
    QList<DetectedPage> m_detectedPages;
    QList<std::function<bool()>> m_closingQuestions;
    bool m_aspectPageStale[4] = {true, true, true, true};
    int m_lastState = 0;
    bool m_firstActivation = false;
    QPointer<frmSplash> m_splash;
    // Sizes and places the window as saved, fitted to its screen, with the main bar
    // where the window it opens as leaves the right pane room, and its least size.
    void restoreWindowPlace();
    // The right pane's least width in pixels: room for the preview's row of buttons.
    int rightPaneLeast() const;
    void openStartDatabase();
    void finishStartDatabase(const QString &name);
    void showStartPaneButtons();
    void restoreColumnWidths();
    // Shows the window with the keyboard in the folder tree when the Index tab is up.
    void showAtTheFolderTree();
};

} // namespace rr
