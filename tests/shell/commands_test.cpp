// The menu bar and popups, the two toolbars and the three tab strips: order, captions, commands, states, keys.
#include "explorer/explorer.h"
#include "finding/ui/findingui.h"
#include "platform/gui/partoperations.h"
#include "shell/aspectoperations.h"
#include "shell/foldertreeoperations.h"
#include "storage/xmldatabase.h"
#include "support/findingstandins.h"
#include "support/windowcontrols.h"
#include "windowfixture.h"

#include <QClipboard>
#include <QMenu>
#include <QMenuBar>
#include <QRegularExpression>
#include <QTemporaryDir>

namespace
{

using namespace rr::test;
using rr::AspectButton;
using rr::Commands;
using rr::EditState;
using rr::frmVardecks;
using rr::Lbl;
using rr::MenuId;
using rr::Tb;

// The depth of every designed item under the bar; run-time array elements are left out.
void walk(const QList<QAction *> &actions, int depth, QMap<QAction *, int> &out)
{
    static const QRegularExpression runTimeElement(QStringLiteral("\\(([1-9]\\d*)\\)$"));
    for (QAction *action : actions) {
        if (runTimeElement.match(action->objectName()).hasMatch())
            continue;
        out.insert(action, depth);
        if (action->menu())
            walk(action->menu()->actions(), depth + 1, out);
    }
}

// The folder tree with each refill of the Vardeck tree recorded instead of made; its other
// operations are those of the tree offered before.
class RecordedRefills : public QObject, public rr::FolderTreeOperations
{
public:
    RecordedRefills(rr::FolderTreeOperations &tree, QList<std::pair<QString, int>> &runs) : m_tree(tree), m_runs(runs)
    {
    }
    void populateTopicList(rr::XmlDocument *doc) override { m_tree.populateTopicList(doc); }
    void populateWMOnTopicNode() override { m_runs.append({QStringLiteral("populateWMOnTopicNode"), 0}); }
    void selectRootFolder() override { m_tree.selectRootFolder(); }
    std::optional<QString> folderPathOf(const QString &tid) const override { return m_tree.folderPathOf(tid); }
    void clearFolderTrees() override { m_tree.clearFolderTrees(); }

private:
    rr::FolderTreeOperations &m_tree;
    QList<std::pair<QString, int>> &m_runs;
};

// The Aspect switch, with what showing the Explorer Aspect does in place of its work.
class AspectSwitchRuns : public QObject, public rr::AspectOperations
{
public:
    explicit AspectSwitchRuns(std::function<void()> explorerShown) : m_explorerShown(std::move(explorerShown)) {}
    void showAspectExplorer() override { m_explorerShown(); }

private:
    std::function<void()> m_explorerShown;
};

// With the Explorer's folder tree and Vardeck views and the finding panes, whose controls
// the frame lays out and the tab strips and the Enter key show.
struct WindowTest : rr::test::MainWindowTest {
    void installParts() override
    {
        rr::installExplorer(*window);
        rr::installFinding(*window);
    }
};

TEST(Commands, missingNamesTheUnattachedSlotsAndACommandMayReplaceItselfWhileItRuns)
{
    Commands commands;
    const QStringList all = commands.names();
    EXPECT_EQ(commands.missing(), all) << "nothing is attached to a new registry";
    EXPECT_TRUE(all.contains("mnuEditModifyTopic_Click"));
    EXPECT_TRUE(all.contains("mnuAspectExplorer_Click"));

    int runs = 0;
    commands.mnuAspectExplorer_Click = [&](int) { ++runs; };
    commands.mnuNav_Click = [&](int index) { runs += index; };
    EXPECT_EQ(commands.missing().size(), all.size() - 2);
    EXPECT_FALSE(commands.missing().contains("mnuAspectExplorer_Click"));
    commands.mnuAspectExplorer_Click();
    commands.mnuNav_Click(3);
    EXPECT_EQ(runs, 4);
    // Run before anything is attached (a window put together in part): reported, nothing happens.
    commands.mnuFileOpen_Click();
    QList<const rr::CommandSlot *> registry;
    rr::Slot<int(bool)> pageCount(registry, "pageCount");
    EXPECT_EQ(pageCount(true), 0);

    commands.mnuNav_Click = [&](int) {
        commands.mnuNav_Click = [&](int) { runs = 100; };
        runs = 50;
    };
    commands.mnuNav_Click();
    EXPECT_EQ(runs, 50);
    commands.mnuNav_Click();
    EXPECT_EQ(runs, 100);
}

TEST(Commands, everyHandlerRunsThePrologueStepsFirstAndTheOperationsRunNone)
{
    Commands commands;
    QStringList order;
    commands.beforeEveryCommand([&] { order << "end rename"; });
    commands.beforeEveryCommand([&] { order << "second step"; });
    commands.mnuNav_Click = [&](int index) { order << QString("nav %1").arg(index); };
    commands.addVardeckSetup = [&](std::optional<rr::DetectedPage>) { order << "add"; };
    commands.mnuNav_Click(2);
    commands.addVardeckSetup(std::nullopt);
    EXPECT_EQ(order, QStringList({"end rename", "second step", "nav 2", "add"}));
}

TEST_F(WindowTest, menuBarKeepsItsOrderNestingAndShortcutsAndHidesThePopupsAndRunTimePlaceholders)
{
    const QStringList popups = {"mnuStartVD", "mnuTopicMenu", "mnuCopyMenu", "mnuNoVD", "mnuListVD", "mnuListVDMulti"};
    QStringList top;
    for (QAction *action : window->menuBar()->actions()) {
        top << action->objectName();
        EXPECT_EQ(action->isVisible(), !popups.contains(action->objectName())) << qPrintable(action->objectName());
    }
    EXPECT_EQ(top, QStringList({"mnuFile", "mnuAspect", "mnuEdit", "mnuNavigate(0)", "mnuView(0)", "mnuTools",
                                "mnuFavs", "mnuRecent", "mnuHelp"}) +
                       popups);

    QMap<QAction *, int> depths;
    walk(window->menuBar()->actions(), 0, depths);
    EXPECT_EQ(depths.size(), 162);
    // Every row of the table names its item.
    for (const rr::MenuEntry &entry : rr::mainMenuTable()) {
        QAction *action = window->menuItem(entry.id);
        ASSERT_TRUE(action) << qPrintable(entry.name);
        EXPECT_EQ(action->objectName(), entry.name);
        EXPECT_TRUE(depths.contains(action)) << qPrintable(entry.name);
    }
    QMap<QString, QString> byShortcut;
    for (QAction *action : depths.keys()) {
        const QString keys = action->shortcut().toString(QKeySequence::PortableText);
        if (keys.isEmpty())
            continue;
        EXPECT_FALSE(byShortcut.contains(keys)) << qPrintable(keys) << " is on two items";
        byShortcut.insert(keys, action->objectName());
    }
    EXPECT_EQ(byShortcut.size(), 32);
    QStringList edit;
    for (QAction *action : window->subMenu(MenuId::mnuEdit)->actions())
        edit << action->objectName();
    EXPECT_EQ(edit, QStringList({"mnuAddVardeck", "mnuEditModify", "mnuEditDelete", "mnuEditSeparator", "mnuAddTopic",
                                 "mnuEditModifyTopic", "mnuEditDeleteTopic", "mnuEditSeparator1", "mnuEditClip"}));

    struct Spot {
        int depth;
        MenuId id;
        const char *name, *caption, *shortcut;
    };
    const Spot spots[] = {
        {2, MenuId::mnuFileOpen, "mnuFileOpen", "&Open...", "Ctrl+O"},
        {1, MenuId::mnuEditDelete, "mnuEditDelete", "&Delete Vardeck", "Del"},
        {1, MenuId::mnuEditDeleteTopic, "mnuEditDeleteTopic", "D&elete Folder", "Shift+Del"},
        {2, MenuId::mnuEditClipVD, "mnuEditClipVD", "All &current Vardeck data", "Ctrl+C"},
        {1, MenuId::mnuToolsOpen, "mnuToolsOpen", "&Open Vardeck in browser", "Ctrl+Ins"},
        {2, MenuId::mnuToolsSearchAddress, "mnuToolsSearchAddress", "&Address", "F11"},
        {1, MenuId::mnuHelpAbout, "mnuHelpAbout", "&About Razuzezu Revidod...", ""},
    };
    for (const Spot &spot : spots) {
        QAction *action = window->menuItem(spot.id);
        ASSERT_TRUE(action) << spot.name;
        EXPECT_EQ(action->objectName(), spot.name);
        EXPECT_EQ(depths.value(action, -1), spot.depth) << spot.name;
        EXPECT_EQ(frmVardecks::menuCaption(action), QString::fromLatin1(spot.caption)) << spot.name;
        EXPECT_EQ(action->shortcut().toString(QKeySequence::PortableText), QString::fromLatin1(spot.shortcut));
    }
    EXPECT_EQ(window->menuItem(MenuId::mnuHelpTopics)->property("HelpContextID").toInt(), 11);

    const std::tuple<MenuId, int, int, const char *> arrays[] = {{MenuId::mnuNav, 4, 3, "&Next          F4"},
                                                                 {MenuId::mnuMulti, 3, 2, "Move Vardecks..."},
                                                                 {MenuId::mnuList, 12, 12, "Add to favorites"}};
    for (const auto &[array, count, spot, caption] : arrays) {
        QAction *placeholder = window->menuItem(array, 0);
        ASSERT_TRUE(placeholder);
        EXPECT_EQ(placeholder, window->menuItem(array));
        EXPECT_EQ(placeholder->objectName(), rr::menuEntry(array).name);
        EXPECT_FALSE(placeholder->isVisible());
        const QList<QAction *> shown = qobject_cast<QMenu *>(placeholder->parent())->actions();
        ASSERT_EQ(shown.size(), count + 1) << qPrintable(placeholder->objectName());
        EXPECT_EQ(shown.first(), placeholder);
        EXPECT_EQ(shown[spot], window->menuItem(array, spot));
        EXPECT_EQ(frmVardecks::menuCaption(shown[spot]), caption);
    }
}

TEST_F(WindowTest, itemsRunTheirHandlerWithTheirIndexBeforeTheCheckMarkMoves)
{
    record(&Commands::mnuList_Click);
    record(&Commands::mnuNav_Click);
    window->menuItem(MenuId::mnuList, 9)->trigger();
    window->menuItem(MenuId::mnuNav, 3)->trigger();
    QAction *extra = window->loadMenuArrayElement(MenuId::second, 2);
    QAction *one = window->loadMenuArrayElement(MenuId::second, 1);
    const QList<QAction *> recent = window->subMenu(MenuId::mnuRecent)->actions();
    EXPECT_EQ(recent.indexOf(one) + 1, recent.indexOf(extra)) << "elements stay in index order";
    record(&Commands::second_Click);
    extra->trigger();
    EXPECT_EQ(runs, (QList<std::pair<QString, int>>{{"mnuList_Click", 9}, {"mnuNav_Click", 3}, {"second_Click", 2}}));
    window->unloadMenuArrayElement(MenuId::second, 2);
    EXPECT_EQ(window->menuItem(MenuId::second, 2), nullptr);
    EXPECT_EQ(window->menuArrayUpperBound(MenuId::second), 1);

    bool checkedWhenRun = true;
    window->commands.mnuAspectWeb_Click = [&](int) {
        checkedWhenRun = window->menuItem(MenuId::mnuAspectWeb)->isChecked();
    };
    window->menuItem(MenuId::mnuAspectWeb)->trigger();
    EXPECT_FALSE(checkedWhenRun) << "the Aspect command sees the mark as it was before the click";
    EXPECT_FALSE(window->menuItem(MenuId::mnuAspectWeb)->isChecked()) << "the command moves the mark";
}

TEST_F(WindowTest, resetDisablesTheSelectionCommandsAndDisableAllSparesTheArrays)
{
    for (QAction *item : window->allMenuItems())
        item->setEnabled(true);
    cmdMoveVD(*window)->setEnabled(true);
    window->resetMenuItems();
    // The selection commands go off; everything else shown stays on (a hidden item reads as disabled).
    int off = 0;
    for (QAction *item : window->allMenuItems())
        off += item->isVisible() && !item->isEnabled();
    EXPECT_EQ(off, 23);
    for (MenuId id : {MenuId::mnuEditModify, MenuId::mnuNavigate, MenuId::mnuThumbRemove, MenuId::mnuFavsDelete})
        EXPECT_FALSE(window->menuItem(id)->isEnabled()) << qPrintable(rr::menuEntry(id).name);
    EXPECT_FALSE(cmdMoveVD(*window)->isEnabled());
    EXPECT_TRUE(window->menuItem(MenuId::mnuAspectExplorer)->isChecked()) << "nothing is checked or unchecked";

    // Disabling all leaves the Favorites and Recent arrays and the toolbar.
    window->loadMenuArrayElement(MenuId::first, 1);
    window->disableAllMenuItems();
    for (QAction *item : window->allMenuItems()) {
        const bool kept = !item->objectName().startsWith("mnu", Qt::CaseInsensitive); // first, second, sep…
        EXPECT_EQ(item->isEnabled(), item->isVisible() && kept) << qPrintable(item->objectName());
    }
    EXPECT_TRUE(window->toolbarButton(Tb::CreateVardeck)->isEnabled());
}

TEST_F(WindowTest, aMenuAccessLetterWinsOverTheSameTabLetter)
{
    tabIndex(*window)->setTab(0);
    tabInfo(*window)->setTab(0);
    const std::pair<Qt::Key, MenuId> clashes[] = {
        {Qt::Key_E, MenuId::mnuEdit}, {Qt::Key_R, MenuId::mnuRecent}, {Qt::Key_T, MenuId::mnuTools}};
    for (const auto &[key, id] : clashes) {
        const std::string menu = rr::menuEntry(id).name.toStdString();
        // The shortcut map takes turns between equal letters: both turns must open the menu.
        for (int press = 0; press < 2; ++press) {
            QTest::keyClick(window.get(), key, Qt::AltModifier);
            QCoreApplication::processEvents();
            EXPECT_EQ(tabIndex(*window)->Tab(), 0) << menu;
            EXPECT_EQ(tabInfo(*window)->Tab(), 0) << menu;
            EXPECT_TRUE(window->subMenu(id)->isVisible()) << menu << " press " << press;
            window->subMenu(id)->close();
            window->menuBar()->setActiveAction(nullptr);
            QCoreApplication::processEvents();
        }
    }
    QTest::keyClick(window.get(), Qt::Key_P, Qt::AltModifier);
    EXPECT_EQ(tabIndex(*window)->Tab(), 3) << "a letter no menu uses selects its tab";
}

TEST_F(WindowTest, saveCancelAndFunctionKeysReachTheirCommandsOnceAndTextBoxesKeepTheirEditingKeys)
{
    txtWName(*window)->show();
    txtWName(*window)->setFocus();
    QTest::keyClick(txtWName(*window), Qt::Key_Escape);
    QCoreApplication::processEvents();
    EXPECT_TRUE(prompts.messages().empty()) << "no edit can be under way yet";
    record(&Commands::saveVardeckDetails);
    record(&Commands::cancelVardeckEdit);
    QTest::keyClick(txtWName(*window), Qt::Key_S, Qt::ControlModifier);
    QCoreApplication::processEvents();
    QTest::keyClick(txtWName(*window), Qt::Key_Escape);
    QCoreApplication::processEvents();
    EXPECT_EQ(runs, (QList<std::pair<QString, int>>{{"saveVardeckDetails", 0}, {"cancelVardeckEdit", 0}}));

    // Text boxes keep their editing keys.
    runs.clear();
    record(&Commands::mnuEditClipVD_Click);
    record(&Commands::mnuEditDelete_Click);
    tabView(*window)->setTab(0);
    tabInfo(*window)->setTab(2);
    txtNotes(*window)->setPlainText("notes text");
    txtNotes(*window)->setFocus();
    txtNotes(*window)->selectAll();
    QTest::keyClick(txtNotes(*window), Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(QApplication::clipboard()->text(), "notes text");
    QTest::keyClick(txtNotes(*window), Qt::Key_Delete);
    EXPECT_EQ(txtNotes(*window)->toPlainText(), "");
    EXPECT_TRUE(runs.isEmpty());

    window->menuItem(MenuId::mnuEditDelete)->setEnabled(true);
    tvwTopics(*window)->setFocus();
    QTest::keyClick(tvwTopics(*window), Qt::Key_Delete);
    EXPECT_EQ(runs.size(), 1) << "outside a text box Del is Delete Vardeck";

    // Function keys navigate from any control with any shift state.
    runs.clear();
    record(&Commands::mnuNav_Click);
    tabIndex(*window)->setTab(1);
    cmbSearch(*window)->setFocus();
    const std::pair<Qt::Key, Qt::KeyboardModifiers> keys[] = {{Qt::Key_F2, Qt::NoModifier},
                                                              {Qt::Key_F3, Qt::ShiftModifier},
                                                              {Qt::Key_F4, Qt::ControlModifier},
                                                              {Qt::Key_F5, Qt::ShiftModifier | Qt::AltModifier},
                                                              {Qt::Key_F6, Qt::NoModifier}};
    for (const auto &[key, modifiers] : keys) {
        QTest::keyClick(QApplication::focusWidget(), key, modifiers);
        QCoreApplication::processEvents();
    }
    EXPECT_EQ(runs, (QList<std::pair<QString, int>>{
                        {"mnuNav_Click", 1}, {"mnuNav_Click", 2}, {"mnuNav_Click", 3}, {"mnuNav_Click", 4}}));

    runs.clear();
    tvwTopics(*window)->setFocus();
    QTest::keyClick(tvwTopics(*window), Qt::Key_F5);
    QCoreApplication::processEvents();
    EXPECT_EQ(runs.size(), 1) << "each key acts once, however far it travels";
}

TEST_F(WindowTest, aMenuWithThousandsOfItemsScrollsInOneColumn)
{
    QMenu *favorites = window->subMenu(MenuId::mnuFavs);
    const int oneColumn = favorites->sizeHint().width();
    for (int i = 0; i < 3000; ++i)
        favorites->addAction(QString("Favorite Vardeck %1").arg(i));
    favorites->popup(QPoint(0, 0));
    EXPECT_LE(favorites->height(), favorites->screen()->availableGeometry().height());
    EXPECT_LT(favorites->width(), 2 * std::max(oneColumn, 200)) << "one column, not a screenful of them";
    favorites->close();
}

TEST_F(WindowTest, mainToolbarHasTwentyFourPositionsResetsToTheStatesOfAFreshDatabaseAndAspectButtonsFollow)
{
    ASSERT_EQ(window->toolbarButtons().size(), 24);
    for (int i = 1; i <= 24; ++i) {
        QAction *button = window->toolbarButton(Tb(i));
        EXPECT_EQ(button->isSeparator(), QList<int>({4, 9, 11, 15, 19, 22}).contains(i)) << i;
        EXPECT_EQ(window->toolbarToolTip(Tb(i)), button->isSeparator() ? QString() : button->toolTip()) << i;
        if (!button->isSeparator()) {
            EXPECT_FALSE(button->icon().isNull()) << i;
            EXPECT_TRUE(button->text().isEmpty()) << "images only";
        }
    }
    EXPECT_EQ(window->toolbarToolTip(Tb::CreateVardeck), "Create Vardeck  CTRL+N");
    EXPECT_EQ(window->toolbarToolTip(Tb::DeleteFolder), "Delete folder  SHIFT+DEL");
    EXPECT_EQ(window->toolbarToolTip(Tb::OpenInBrowser), "Open Vardeck in Browser  CTRL+INSERT");
    EXPECT_EQ(window->toolbarToolTip(Tb::Save), "Save  CTRL-S");

    // The reset gives the states of a freshly opened database; 20, 22 and 24 (shown) keep theirs.
    window->toolbarButton(Tb::Cancel)->setVisible(true);
    for (int i = 1; i <= 24; ++i)
        window->toolbarButton(Tb(i))->setEnabled(i % 2 == 0 && i != 20);
    window->resetToolbarButtons();
    const QList<int> enabled = {1, 4, 9, 10, 11, 12, 13, 15, 17, 18, 19, 21, 22, 24};
    for (int i = 1; i <= 24; ++i)
        EXPECT_EQ(window->toolbarButton(Tb(i))->isEnabled(), enabled.contains(i)) << i;

    // The Aspect toolbar's buttons carry their captions and follow the Aspect.
    EXPECT_EQ(window->aspectButton(AspectButton::Explorer)->text(), "E&xplorer aspect          ");
    EXPECT_EQ(window->aspectButton(AspectButton::Explorer)->toolTip(), "Explorer aspect  CTRL+X");
    EXPECT_EQ(window->aspectButton(AspectButton::Web)->text(), "We&b aspect          ");
    EXPECT_EQ(window->aspectButton(AspectButton::Web)->toolTip(), "Web aspect  CTRL+B");

    record(&Commands::mnuAspectWeb_Click); // a command that leaves the Aspect as it is
    window->aspectButton(AspectButton::Web)->trigger();
    EXPECT_EQ(runs, (QList<std::pair<QString, int>>{{"mnuAspectWeb_Click", 0}}));
    EXPECT_TRUE(window->aspectButton(AspectButton::Explorer)->isChecked()) << "the Explorer Aspect is still shown";
}

TEST_F(WindowTest, eachNameOfALabelOrToolbarButtonIsTheElementThatShowsWhatItSays)
{
    const std::pair<Lbl, const char *> labels[] = {
        {Lbl::SearchResultsCaption, "lbl(0) Search results:"},
        {Lbl::FoundCaption, "lbl(1) Found:"},
        {Lbl::FavoritesCount, "lbl(2) Favorites: "},
        {Lbl::LastVisited, "lbl(3) "},
        {Lbl::CreatedDateCaption, "lbl(4) Created date:"},
        {Lbl::LastVisitedCaption, "lbl(5) Last visited:"},
        {Lbl::FavoriteCaption, "lbl(6) Favorite:"},
        {Lbl::HomepageCaption, "lbl(7) Homepage:"},
        {Lbl::DescriptionCaption, "lbl(8) Description:"},
        {Lbl::KeywordsCaption, "lbl(9) Keywords:"},
        {Lbl::SizeCaption, "lbl(10) Size:"},
        {Lbl::VardecksCaption, "lbl(11) Vardecks: "},
        {Lbl::VardeckCount, "lbl(12) 0"},
        {Lbl::HitsCaption, "lbl(13) Hits:"},
        {Lbl::Hits, "lbl(14) "},
        {Lbl::NameCaption, "lbl(25) Name"},
        {Lbl::AddressCaption, "lbl(26) Address"},
    };
    for (const auto &[index, shown] : labels) {
        QLabel *label = lbl(*window, index);
        ASSERT_NE(label, nullptr) << shown;
        EXPECT_EQ(label->objectName() + " " + label->text(), shown);
    }
    EXPECT_EQ(lblElements(*window).size(), std::size(labels));

    const std::pair<Tb, const char *> buttons[] = {
        {Tb::CreateVardeck, "Create Vardeck  CTRL+N"},
        {Tb::UpdateVardeck, "Update Vardeck  CTRL+U"},
        {Tb::DeleteVardeck, "Delete Vardeck  DEL"},
        {Tb::FirstVardeck, "First Vardeck  F2"},
        {Tb::PreviousVardeck, "Previous Vardeck  F3"},
        {Tb::NextVardeck, "Next Vardeck  F4"},
        {Tb::LastVardeck, "Last Vardeck  F5"},
        {Tb::Search, "Search  CTRL+F"},
        {Tb::NewFolder, "New folder  CTRL+Q"},
        {Tb::RenameFolder, "Rename folder  CTRL+M"},
        {Tb::DeleteFolder, "Delete folder  SHIFT+DEL"},
        {Tb::OpenInBrowser, "Open Vardeck in Browser  CTRL+INSERT"},
        {Tb::GetFromBrowser, "Get Vardeck from browser  CTRL+G"},
        {Tb::OpenBlankBrowser, "Open blank browser  CTRL+K"},
        {Tb::UserOptions, "User options"},
        {Tb::HelpContents, "Help contents"},
        {Tb::Save, "Save  CTRL-S"},
        {Tb::Cancel, "Cancel  ESC"},
    };
    for (const auto &[position, tip] : buttons)
        EXPECT_EQ(window->toolbarButton(position)->toolTip(), tip);
    for (Tb separator : {Tb::AfterVardeckCommands, Tb::AfterNavigation, Tb::AfterSearch, Tb::AfterFolderCommands,
                         Tb::AfterBrowserCommands, Tb::AfterHelp})
        EXPECT_TRUE(window->toolbarButton(separator)->isSeparator()) << int(separator);
    EXPECT_EQ(window->aspectButton(AspectButton::Explorer)->objectName(), "Toolbar2.Buttons(1)");
    EXPECT_EQ(window->aspectButton(AspectButton::Web)->objectName(), "Toolbar2.Buttons(2)");
}

TEST_F(WindowTest, mouseOverAToolbarButtonEchoesItsToolTipASeparatorClearsItAndARightClickOpensAPopup)
{
    for (Tb position : {Tb::Save, Tb::Cancel})
        window->toolbarButton(position)->setVisible(true);
    setClientSize(900, 600);
    auto centreOf = [&](Tb position) {
        return Toolbar1(*window)->widgetForAction(window->toolbarButton(position))->geometry().center().x();
    };
    window->Toolbar1_MouseMove(centreOf(Tb::CreateVardeck));
    EXPECT_EQ(StatusBar1(*window)->panelText(1), "Create Vardeck  CTRL+N");
    window->Toolbar1_MouseMove(centreOf(Tb::HelpContents));
    EXPECT_EQ(StatusBar1(*window)->panelText(1), "Help contents");
    window->Toolbar1_MouseMove(centreOf(Tb::AfterVardeckCommands));
    EXPECT_EQ(StatusBar1(*window)->panelText(1), "");

    window->Toolbar1_MouseMove(centreOf(Tb::UpdateVardeck));
    const int leftEdge = Toolbar1(*window)->widgetForAction(window->toolbarButton(Tb::DeleteVardeck))->x();
    window->Toolbar1_MouseMove(leftEdge);
    EXPECT_EQ(StatusBar1(*window)->panelText(1), "Update Vardeck  CTRL+U") << "exactly on an edge nothing changes";

    QWidget *last = Toolbar1(*window)->widgetForAction(window->toolbarButton(Tb::Cancel));
    window->Toolbar1_MouseMove(last->geometry().right() + 20);
    EXPECT_EQ(StatusBar1(*window)->panelText(1), "Update Vardeck  CTRL+U") << "beyond the last button";

    QMouseEvent move(QEvent::MouseMove, QPointF(last->rect().center()),
                     last->mapToGlobal(QPointF(last->rect().center())), Qt::NoButton, Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(last, &move);
    EXPECT_EQ(StatusBar1(*window)->panelText(1), "Cancel  ESC") << "a real mouse move reaches the echo";

    QTest::mouseClick(Toolbar1(*window)->widgetForAction(window->toolbarButton(Tb::CreateVardeck)), Qt::RightButton);
    EXPECT_TRUE(window->subMenu(MenuId::mnuNoVD)->isVisible()) << "a right-click opens the no-Vardeck popup";
    window->subMenu(MenuId::mnuNoVD)->close();
}

TEST_F(WindowTest, tabCaptionsKeepTheirBlanksAndAccessLettersAndANameItsAmpersand)
{
    const std::tuple<rr::TabStrip *, int, int, const char *> spots[] = {
        {tabIndex(*window), 4, 2, "    Favo&rites   "},
        {tabView(*window), 3, 1, "   No folder selected   "},
        {tabInfo(*window), 3, 1, "   Previe&w   "}};
    for (const auto &[strip, count, tab, caption] : spots) {
        EXPECT_EQ(strip->Tabs(), count) << caption;
        EXPECT_EQ(strip->TabCaption(tab), caption);
        EXPECT_EQ(strip->shownCaption(tab), caption);
    }
    // A name's ampersand is shown as it is; reading the caption back and setting it again escapes it once.
    tabView(*window)->setTabText(1, "   Fish & Chips   ");
    tabView(*window)->setTabText(1, tabView(*window)->TabCaption(1).trimmed());
    EXPECT_EQ(tabView(*window)->shownCaption(1), "Fish && Chips");
}

TEST_F(WindowTest, pickingATabFromCodeRunsItsClickHandlingAndEnterPressesItsDefaultButton)
{
    record(&Commands::cmdSearch_Click);
    tabIndex(*window)->setTab(1);
    EXPECT_FALSE(cmdSearch(*window)->isHidden());
    EXPECT_EQ(window->defaultButton(), cmdSearch(*window));
    EXPECT_TRUE(cmdMoveVD(*window)->isHidden());
    EXPECT_TRUE(cmbSearch(*window)->hasFocus());
    QTest::keyClick(cmbSearch(*window), Qt::Key_Return);
    QCoreApplication::processEvents();
    EXPECT_EQ(runs.size(), 1) << "Enter presses the default button";
    setClientSize(800, 600); // the layout shows the pictures of the tab
    EXPECT_FALSE(Picture5(*window)->isHidden());

    tabIndex(*window)->setTab(2);
    setClientSize(800, 601);
    EXPECT_FALSE(Picture4(*window)->isHidden());
    EXPECT_TRUE(Picture5(*window)->isHidden());
    EXPECT_FALSE(lbl(*window, Lbl::FavoritesCount)->isHidden());
    EXPECT_TRUE(cmdSearch(*window)->isHidden());
    EXPECT_EQ(window->defaultButton(), cmdFAdd(*window));

    tabIndex(*window)->setTab(0);
    EXPECT_FALSE(cmdMoveVD(*window)->isHidden());
    EXPECT_FALSE(lbl(*window, Lbl::VardecksCaption)->isHidden());
    EXPECT_TRUE(lbl(*window, Lbl::FavoritesCount)->isHidden());
    EXPECT_TRUE(prompts.messages().empty()) << "no database: nothing to fill";

    tabInfo(*window)->setTab(2);
    txtNotes(*window)->setFocus();
    QTest::keyClick(txtNotes(*window), Qt::Key_Return);
    QCoreApplication::processEvents();
    EXPECT_EQ(runs.size(), 1) << "but not in the notes";
    EXPECT_EQ(txtNotes(*window)->toPlainText(), "\n");
}

TEST_F(WindowTest, theFavoritesAndIndexTabsFillTheirEmptyViewsOnlyWhenNeeded)
{
    FindingStandIn finding(*window);
    finding.onPopulateFavsList = [this](rr::XmlDocument *) { runs.append({QStringLiteral("populateFavsList"), 0}); };
    tabIndex(*window)->setTab(2);
    EXPECT_TRUE(runs.isEmpty()) << "nothing to fill without a database";

    tabIndex(*window)->setTab(0);
    QTemporaryDir databaseFolder;
    auto db = std::make_unique<rr::XMLDatabase>();
    db->setPath(databaseFolder.filePath("Vardecks.xml"));
    ASSERT_TRUE(rr::XMLDatabase::createDatabaseFile(db->getPath()));
    ASSERT_TRUE(db->openDBValidate(db->getPath()));
    window->dbXML.open(std::move(db), "Vardecks.xml");
    tabIndex(*window)->setTab(2);
    EXPECT_EQ(runs.size(), 1);

    new QTreeWidgetItem(tvwFavs(*window), {"A favorite"});
    tabIndex(*window)->setTab(0);
    tabIndex(*window)->setTab(2);
    EXPECT_EQ(runs.size(), 1) << "a tree with nodes is not filled again";

    // The Index tab shows the selected folder when its list is empty.
    runs.clear();
    RecordedRefills refills(rr::operationsOf<rr::FolderTreeOperations>(*window), runs);
    rr::offerOperations<rr::FolderTreeOperations>(*window, refills, refills);
    auto *root = new QTreeWidgetItem(tvwTopics(*window), {"Vardecks"});
    auto *folder = new QTreeWidgetItem(root, {"News"});
    folder->setData(0, Qt::UserRole, "T1");
    window->showNoFolder();

    tvwTopics(*window)->setCurrentItem(root);
    tabIndex(*window)->setTab(1);
    tabIndex(*window)->setTab(0);
    EXPECT_TRUE(runs.isEmpty()) << "the Index tab never refills the first node";

    tvwTopics(*window)->setCurrentItem(folder);
    tabIndex(*window)->setTab(1);
    tabIndex(*window)->setTab(0);
    EXPECT_EQ(runs.size(), 1);

    window->showFolder("T1", "News");
    tabIndex(*window)->setTab(1);
    tabIndex(*window)->setTab(0);
    EXPECT_EQ(runs.size(), 1) << "the folder is shown already";
}

TEST_F(WindowTest, viewCommandsPickTabsBeforeOrAfterTheAspectSwitch)
{
    QList<QString> order;
    AspectSwitchRuns aspects([&] {
        order << QStringLiteral("explorer index=%1 view=%2 info=%3")
                     .arg(tabIndex(*window)->Tab())
                     .arg(tabView(*window)->Tab())
                     .arg(tabInfo(*window)->Tab());
    });
    rr::offerOperations<rr::AspectOperations>(*window, aspects, aspects);
    tabView(*window)->setTab(1);
    window->menuItem(MenuId::mnuViewFavs)->trigger();
    window->menuItem(MenuId::mnuViewSearchResults)->trigger();
    window->menuItem(MenuId::mnuViewNotes)->setEnabled(true);
    window->menuItem(MenuId::mnuViewNotes)->trigger();
    window->menuItem(MenuId::mnuViewPop)->trigger();
    EXPECT_EQ(order, QList<QString>({"explorer index=2 view=1 info=0", "explorer index=2 view=1 info=0",
                                     "explorer index=2 view=0 info=2", "explorer index=3 view=0 info=2"}));
    EXPECT_EQ(tabView(*window)->Tab(), 0);
}

TEST_F(WindowTest, rightClicksOpenThePopupThatFitsWhatIsShownAndAMoveRestsTheLinks)
{
    auto rightClick = [&](rr::TabStrip *strip) {
        QTest::mouseClick(strip->tabBar(), Qt::RightButton, Qt::NoModifier, QPoint(5, 5));
    };
    auto shown = [&](MenuId menu) {
        const bool visible = window->subMenu(menu)->isVisible();
        window->subMenu(menu)->close();
        return visible;
    };
    rightClick(tabIndex(*window));
    EXPECT_TRUE(shown(MenuId::mnuNoVD));
    rightClick(tabView(*window));
    EXPECT_TRUE(shown(MenuId::mnuNoVD));

    rightClick(tabInfo(*window));
    EXPECT_TRUE(shown(MenuId::mnuNoVD)) << "no Vardeck shown";
    window->showVardeck("W1", "A Vardeck");
    window->showFolder("T1", "A folder");
    rightClick(tabInfo(*window));
    EXPECT_TRUE(shown(MenuId::mnuCopyMenu));
    window->setEditState(EditState::Adding);
    rightClick(tabInfo(*window));
    EXPECT_FALSE(shown(MenuId::mnuCopyMenu));
    EXPECT_FALSE(shown(MenuId::mnuNoVD)) << "no popup while a Vardeck is added";

    // Moving over the Index strip rests the links.
    StatusBar1(*window)->setPanelText(1, "http://example.org/");
    Splitter2(*window)->setToolTip("http://example.org/");
    QFont underlined = lblAddress(*window)->font();
    underlined.setUnderline(true);
    lblAddress(*window)->setFont(underlined);
    window->tabIndex_MouseMove();
    EXPECT_EQ(StatusBar1(*window)->panelText(1), "");
    EXPECT_EQ(Splitter2(*window)->toolTip(), "");
    EXPECT_FALSE(lblAddress(*window)->font().underline());
}

} // namespace
