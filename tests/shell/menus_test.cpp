// The menu bar and popup menus against the window's menu tables: names, captions,
// shortcuts and order; the run-time arrays; the menu states.
#include "controls/qbbuttons_h.h"
#include "windowfixture.h"

#include <QAction>
#include <QClipboard>
#include <QMenu>
#include <QMenuBar>
#include <QRegularExpression>
#include <QTextEdit>
#include <QToolBar>

namespace
{

using rr::frmVardecks;

struct Item {
    int depth;
    const char *name;
    const char *caption;
    const char *shortcut;
};

// The declared menus in order ("-" is a separator); array elements 0 only.
const Item kMenuTree[] = {
    {0, "mnuFile", "&File", ""},
    {1, "mnuFileDatabase", "&Database", ""},
    {2, "mnuFileNew", "&New...", ""},
    {2, "mnuFileOpen", "&Open...", "Ctrl+O"},
    {2, "mnuFileBackup", "&Backup...", ""},
    {2, "mnuFileClose", "&Close", ""},
    {2, "mnuFileDeleteDB", "&Delete...", ""},
    {1, "mnuFilePrint", "&Print", "Ctrl+P"},
    {1, "mnuFileSeparator1", "-", ""},
    {1, "mnuFileImportExport", "Import/Export...", ""},
    {1, "mnuFileSeparator2", "-", ""},
    {1, "mnuFileEmail", "&E-mail", ""},
    {2, "mnuEmailVD", "&Current Vardeck...", ""},
    {2, "mnuEmailAllFolders", "&All folders and Vardecks...", ""},
    {2, "mnuEmailAllVardecks", "All &Vardecks...", ""},
    {2, "mnuEmailFavorites", "&Favorites only...", ""},
    {1, "mnuFileExit", "&Exit", ""},
    {0, "mnuAspect", "&Aspect", ""},
    {1, "mnuAspectExplorer", "E&xplorer", "Ctrl+X"},
    {1, "mnuAspectWeb", "We&b", "Ctrl+B"},
    {0, "mnuEdit", "&Edit", ""},
    {1, "mnuAddVardeck", "&New Vardeck", "Ctrl+N"},
    {1, "mnuEditModify", "&Update Vardeck", "Ctrl+U"},
    {1, "mnuEditDelete", "&Delete Vardeck", "Del"},
    {1, "mnuEditSeparator", "-", ""},
    {1, "mnuAddTopic", "New &Folder...", "Ctrl+Q"},
    {1, "mnuEditModifyTopic", "Rena&me Folder...", "Ctrl+M"},
    {1, "mnuEditDeleteTopic", "D&elete Folder", "Shift+Del"},
    {1, "mnuEditSeparator1", "-", ""},
    {1, "mnuEditClip", "&Copy to clipboard", ""},
    {2, "mnuEditClipVD", "All &current Vardeck data", "Ctrl+C"},
    {2, "mnuEditClipName", "Current Vardeck &name", ""},
    {2, "mnuEditClipURL", "Current Vardeck &address (URL)", ""},
    {2, "mnuEditClipDesc", "Current Vardeck &description", ""},
    {2, "mnuEditClipNotes", "Current Vardeck n&otes", ""},
    {2, "mnuEditClipKeywords", "Current Vardeck &keywords", ""},
    {0, "mnuNavigate(0)", "&Go", ""},
    {1, "mnuNav(0)", "", ""},
    {0, "mnuView(0)", "&View", ""},
    {1, "mnuViewIndex", "&Index view", "Ctrl+I"},
    {1, "mnuViewSearch", "Search view", ""},
    {1, "mnuViewFavs", "Favo&rite Vardecks view", "Ctrl+R"},
    {1, "mnuViewPop", "Popular V&ardecks view", "Ctrl+E"},
    {1, "mnuViewSep1", "-", ""},
    {1, "mnuViewSearchResults", "Search results", ""},
    {1, "mnuViewVardecks", "Vardecks in current fo&lder", "Ctrl+L"},
    {1, "mnuViewVD", "&Vardeck", ""},
    {2, "mnuViewDetails", "&Details", "Ctrl+D"},
    {2, "mnuViewPreview", "Previe&w", "Ctrl+W"},
    {2, "mnuViewNotes", "No&tes", "Ctrl+T"},
    {1, "mnuViewSep", "-", ""},
    {1, "mnuViewStats", "&Statistics...", ""},
    {0, "mnuTools", "&Tools", ""},
    {1, "mnuToolsGet", "&Get Vardeck from browser...", "Ctrl+G"},
    {1, "mnuToolsOpen", "&Open Vardeck in browser", "Ctrl+Ins"},
    {1, "mnuToolsOpenHome", "Open Vardeck &homepage in browser", "Ctrl+H"},
    {1, "sep00", "-", ""},
    {1, "mnuToolsOpenBlank", "Open blan&k browser window", "Ctrl+K"},
    {1, "mnuToolsCloseAll", "&Close all browser windows", ""},
    {1, "sep0", "-", ""},
    {1, "mnuWebBrowser", "Web browser", ""},
    {2, "mnuToolsIntegrate", "&Integrate with Internet Explorer", ""},
    {2, "mnuUndoIntegration", "&Undo integration with Internet Explorer", ""},
    {2, "sep13", "-", ""},
    {2, "mnuToolsIntegrateFF", "Integration with Firefox...", ""},
    {1, "sep1", "-", ""},
    {1, "mnuToolsDup", "Manage &duplicates...", ""},
    {1, "mnuClearPop", "Clear popular list rankings", ""},
    {1, "sep2", "-", ""},
    {1, "mnuSynch", "S&ynchronize", ""},
    {2, "mnuToolsSynch", "Current &Vardeck with website...", "Ctrl+Y"},
    {2, "mnuToolsSynchFolder", "All Vardecks in current &folder...", ""},
    {2, "mnuToolsSynchAll", "&All Vardecks...", ""},
    {1, "mnuToolsIcon", "&Load icons", ""},
    {2, "mnuToolsIconVD", "Current &Vardeck...", ""},
    {2, "mnuToolsIconFolder", "All Vardecks in current &folder...", ""},
    {2, "mnuToolsIconAll", "&All Vardecks...", ""},
    {2, "mnuToolsIconFile", "Choose icon from &file...", ""},
    {2, "mnuToolsIconRemove", "&Remove icon", ""},
    {1, "mnuThumb", "Load thumbnails", ""},
    {2, "mnuThumbVD", "Current &Vardeck...", ""},
    {2, "mnuThumbFolder", "All Vardecks in current &folder...", ""},
    {2, "mnuThumbAll", "&All Vardecks...", ""},
    {2, "mnuThumbRemove", "&Remove thumbnail", ""},
    {1, "sep5", "-", ""},
    {1, "mnuToolsSearch", "&Search", ""},
    {2, "mnuToolsSearchText", "&Full text", "Ctrl+F"},
    {2, "mnuToolsSearchKeywords", "&Keywords", "F7"},
    {2, "mnuToolsSearchName", "&Name", "F8"},
    {2, "mnuToolsSearchAddress", "&Address", "F11"},
    {2, "mnuToolsSearchNotes", "&Notes", "F12"},
    {2, "mnuToolsSearchDesc", "&Description", "F9"},
    {1, "sep22", "-", ""},
    {1, "mnuToolsOptions", "Options...", ""},
    {0, "mnuFavs", "&Favorites", ""},
    {1, "mnuFavsAdd", "&Add to Favorite Vardecks", "Ctrl+F1"},
    {1, "mnuFavsDelete", "&Delete from Favorite Vardecks", "Ctrl+F2"},
    {1, "sep6", "-", ""},
    {1, "first(0)", "first", ""},
    {0, "mnuRecent", "&Recent", ""},
    {1, "mnuRecentClear", "&Clear recent Vardeck list", ""},
    {1, "sep7", "-", ""},
    {1, "second(0)", "second", ""},
    {0, "mnuHelp", "&Help", ""},
    {1, "mnuHelpTopics", "&Help Contents", "F1"},
    {1, "mnuHelpStart", "Getting started", ""},
    {1, "mnuHelpAdd", "How to add a new Vardeck bookmark", ""},
    {1, "mnuHelpShortcuts", "Keyboard shortcuts", ""},
    {1, "mnuHelpTips", "Tips...", ""},
    {1, "mnuHelpSeparator", "-", ""},
    {1, "mnuHelpAbout", "&About Razuzezu Revidod...", ""},
    {1, "mnuHelpSep", "-", ""},
    {1, "mnuHelpWeb", "Vardecks on the &Web", ""},
    {1, "mnuHelpFeedback", "Give feedback", ""},
    {1, "mnuHelpEmail", "&E-mail support...", ""},
    {0, "mnuStartVD", "StartVD", ""},
    {1, "mnuNewVD", "New Vardeck", ""},
    {1, "mnuSep2", "-", ""},
    {1, "mnuOpenN", "Open Vardeck", ""},
    {1, "mnuOpenVD", "Open Vardeck in browser", ""},
    {1, "mnuOpenVDHome", "Open Vardeck homepage in browser", ""},
    {1, "mnuSep4", "-", ""},
    {1, "mnuMoveVD", "Move Vardeck...", ""},
    {1, "mnuModVD", "Update Vardeck", ""},
    {1, "mnuDeleteVD", "Delete Vardeck", ""},
    {1, "mnuSep", "-", ""},
    {1, "mnuCopyVD", "Copy Vardeck data to clipboard", ""},
    {1, "mnuAddFavsVD", "Add to favorites", ""},
    {0, "mnuTopicMenu", "TopicMenu", ""},
    {1, "mnuNewFolder", "New folder...", ""},
    {1, "mnuSep3", "-", ""},
    {1, "mnuOpenF", "Open folder", ""},
    {1, "mnuMoveFolder", "Move folder...", ""},
    {1, "mnuRenameFolder", "Rename folder...", ""},
    {1, "mnuDeleteFolder", "Delete folder", ""},
    {0, "mnuCopyMenu", "CopyMenu", ""},
    {1, "mnuNewVD2", "New Vardeck", ""},
    {1, "mnuSep7", "-", ""},
    {1, "mnuOpenInBrowser", "Open Vardeck in browser", ""},
    {1, "mnuOpenHome", "Open Vardeck homepage in browser", ""},
    {1, "mnuSep6", "-", ""},
    {1, "mnuModVD2", "Update Vardeck", ""},
    {1, "mnuDeleteVD2", "Delete Vardeck", ""},
    {1, "mnuSep5", "-", ""},
    {1, "mnuCopy", "Copy", ""},
    {1, "mnuCopyAll2", "Copy Vardeck data to clipboard", ""},
    {1, "mnuAddFavsVD2", "Add to favorites", ""},
    {0, "mnuNoVD", "No VD selected menu", ""},
    {1, "mnuNewVD3", "New Vardeck", ""},
    {1, "mnuGet", "&Get Vardeck from browser...", ""},
    {1, "mnuSep11", "-", ""},
    {1, "mnuOpenBlank", "Open &blank browser window", ""},
    {1, "mnuCloseAll", "Close all browser windows", ""},
    {1, "mnuSep10", "-", ""},
    {1, "mnuCreate", "New folder...", ""},
    {1, "mnuModFolder", "Rename folder...", ""},
    {1, "mnuSep12", "-", ""},
    {1, "mnuHelp2", "&Help Contents", ""},
    {0, "mnuListVD", "mnuListVD", ""},
    {1, "mnuList(0)", "", ""},
    {0, "mnuListVDMulti", "mnuListVDMulti", ""},
    {1, "mnuMulti(0)", "", ""},
};

struct Walked {
    int depth;
    QAction *action;
};

void walk(const QList<QAction *> &actions, int depth, QList<Walked> &out)
{
    static const QRegularExpression runTimeElement(QStringLiteral("\\(([1-9]\\d*)\\)$"));
    for (QAction *action : actions) {
        if (runTimeElement.match(action->objectName()).hasMatch())
            continue;
        out.append({depth, action});
        if (action->menu())
            walk(action->menu()->actions(), depth + 1, out);
    }
}

using MenuTest = rr::test::MainWindowTest;

TEST_F(MenuTest, menuBarHoldsEveryMenuItemInOrder)
{
    QList<Walked> items;
    walk(window->menuBar()->actions(), 0, items);
    ASSERT_EQ(items.size(), qsizetype(std::size(kMenuTree)));
    for (qsizetype i = 0; i < items.size(); ++i) {
        const Item &expected = kMenuTree[i];
        QAction *action = items[i].action;
        EXPECT_EQ(items[i].depth, expected.depth) << expected.name;
        EXPECT_EQ(action->objectName(), QString::fromLatin1(expected.name));
        EXPECT_EQ(frmVardecks::menuCaption(action), QString::fromLatin1(expected.caption)) << expected.name;
        EXPECT_EQ(action->shortcut().toString(QKeySequence::PortableText), QString::fromLatin1(expected.shortcut))
            << expected.name;
        EXPECT_EQ(window->menuItem(QString::fromLatin1(expected.name)), action);
    }
}

TEST_F(MenuTest, popupMenusAreHiddenOnTheBarAndCheckMarksStartOnExplorer)
{
    const QStringList popups = {"mnuStartVD", "mnuTopicMenu", "mnuCopyMenu", "mnuNoVD", "mnuListVD", "mnuListVDMulti"};
    for (QAction *top : window->menuBar()->actions())
        EXPECT_EQ(top->isVisible(), !popups.contains(top->objectName())) << qPrintable(top->objectName());
    EXPECT_TRUE(window->menuItem("mnuAspectExplorer")->isChecked());
    EXPECT_FALSE(window->menuItem("mnuAspectWeb")->isChecked());
    EXPECT_EQ(window->menuItem("mnuHelpTopics")->property("HelpContextID").toInt(), 11);
}

TEST_F(MenuTest, runTimeArraysFollowTheirHiddenPlaceholder)
{
    struct Expected {
        const char *array;
        QStringList captions;
    };
    const Expected arrays[] = {
        {"mnuNav", {"&First           F2", "&Previous    F3", "&Next          F4", "&Last           F5"}},
        {"mnuMulti", {"Open Vardecks in browser", "Move Vardecks...", "Delete Vardecks"}},
        {"mnuList",
         {"New Vardeck", "-", "Open Vardeck", "Open Vardeck in browser", "Open Vardeck homepage in browser", "-",
          "Move Vardeck...", "Update Vardeck", "Delete Vardeck", "-", "Copy Vardeck data to clipboard",
          "Add to favorites"}},
    };
    for (const Expected &e : arrays) {
        QAction *placeholder = window->menuItem(e.array, 0);
        ASSERT_TRUE(placeholder);
        EXPECT_FALSE(placeholder->isVisible());
        const QList<QAction *> shown = qobject_cast<QMenu *>(placeholder->parent())->actions();
        ASSERT_EQ(shown.size(), e.captions.size() + 1) << e.array;
        EXPECT_EQ(shown.first(), placeholder);
        for (int i = 0; i < e.captions.size(); ++i) {
            QAction *item = window->menuItem(e.array, i + 1);
            EXPECT_EQ(shown[i + 1], item);
            EXPECT_TRUE(item->isVisible());
            EXPECT_EQ(frmVardecks::menuCaption(item), e.captions[i]);
        }
    }
    EXPECT_FALSE(window->menuItem("mnuNavigate(0)")->isEnabled()) << "Go waits for a shown folder";
}

TEST_F(MenuTest, arrayElementsRunTheArrayHandlerWithTheirIndex)
{
    record("mnuList_Click");
    record("mnuNav_Click");
    window->menuItem("mnuList", 9)->trigger();
    window->menuItem("mnuNav", 3)->trigger();
    QAction *extra = window->loadMenuArrayElement("second", 2);
    frmVardecks::setMenuCaption(extra, "Recent B");
    QAction *one = window->loadMenuArrayElement("second", 1);
    const QList<QAction *> recent = window->subMenu("mnuRecent")->actions();
    EXPECT_EQ(recent.indexOf(one) + 1, recent.indexOf(extra)) << "elements stay in index order";
    record("second_Click");
    extra->trigger();
    EXPECT_EQ(runs, (QList<std::pair<QString, int>>{{"mnuList_Click", 9}, {"mnuNav_Click", 3}, {"second_Click", 2}}));
    window->unloadMenuArrayElement("second", 2);
    EXPECT_EQ(window->menuItem("second", 2), nullptr);
    EXPECT_EQ(window->menuArrayUpperBound("second"), 1);
}

TEST_F(MenuTest, resetMenuItemsDisablesTheSelectionCommandsOnly)
{
    for (QAction *item : window->allMenuItems())
        item->setEnabled(true);
    window->cmdMoveVD->setEnabled(true);
    window->resetMenuItems();
    const QStringList disabled = {"mnuEditModify",    "mnuEmailVD",          "mnuEditClip",        "mnuEditDelete",
                                  "mnuNavigate(0)",   "mnuEditDeleteTopic",  "mnuToolsIconFolder", "mnuToolsOpen",
                                  "mnuToolsSynch",    "mnuToolsIconVD",      "mnuToolsIconRemove", "mnuToolsIconFile",
                                  "mnuThumbFolder",   "mnuToolsSynchFolder", "mnuThumbVD",         "mnuThumbRemove",
                                  "mnuToolsOpenHome", "mnuViewNotes",        "mnuViewPreview",     "mnuViewDetails",
                                  "mnuViewVD",        "mnuFavsAdd",          "mnuFavsDelete"};
    // A hidden item always reads as disabled.
    for (QAction *item : window->allMenuItems())
        EXPECT_EQ(item->isEnabled(), item->isVisible() && !disabled.contains(item->objectName()))
            << qPrintable(item->objectName());
    EXPECT_FALSE(window->cmdMoveVD->isEnabled());
    EXPECT_FALSE(window->cmdMoveFolder->isEnabled());
    EXPECT_TRUE(window->menuItem("mnuAspectExplorer")->isChecked()) << "nothing is checked or unchecked";
}

TEST_F(MenuTest, disableAllMenuItemsLeavesTheFavoriteAndRecentArraysAndTheToolbar)
{
    QAction *favorite = window->loadMenuArrayElement("first", 1);
    window->disableAllMenuItems();
    for (QAction *item : window->allMenuItems()) {
        const bool kept = !item->objectName().startsWith("mnu", Qt::CaseInsensitive); // first, second, sep…
        EXPECT_EQ(item->isEnabled(), item->isVisible() && kept) << qPrintable(item->objectName());
    }
    EXPECT_TRUE(favorite->isEnabled());
    EXPECT_TRUE(window->toolbarButton(1)->isEnabled());
}

TEST_F(MenuTest, popupForwardersRunTheCommandTheyStandFor)
{
    record("mnuAddVardeck_Click");
    record("mnuHelpTopics_Click");
    record("mnuNewFolder_Click");
    record("mnuEditDelete_Click");
    for (const char *name : {"mnuNewVD", "mnuNewVD2", "mnuNewVD3", "mnuHelp2", "mnuCreate", "mnuDeleteVD2"})
        window->menuItem(name)->trigger();
    EXPECT_EQ(runs, (QList<std::pair<QString, int>>{{"mnuAddVardeck_Click", 0},
                                                    {"mnuAddVardeck_Click", 0},
                                                    {"mnuAddVardeck_Click", 0},
                                                    {"mnuHelpTopics_Click", 0},
                                                    {"mnuNewFolder_Click", 0},
                                                    {"mnuEditDelete_Click", 0}}));
    EXPECT_TRUE(prompts.messages().empty());
}

TEST_F(MenuTest, theAspectCommandSeesTheCheckMarkAsItWasBeforeTheClick)
{
    bool checkedWhenRun = false;
    window->setCommand("mnuAspectWeb_Click",
                       [&](int) { checkedWhenRun = window->menuItem("mnuAspectWeb")->isChecked(); });
    window->menuItem("mnuAspectWeb")->trigger();
    EXPECT_FALSE(checkedWhenRun);
    EXPECT_FALSE(window->menuItem("mnuAspectWeb")->isChecked()) << "the command moves the mark";
}

TEST_F(MenuTest, aMenuAccessLetterWinsOverTheSameTabLetter)
{
    window->tabIndex->setTab(0);
    window->tabInfo->setTab(0);
    const std::pair<Qt::Key, const char *> clashes[] = {
        {Qt::Key_E, "mnuEdit"}, {Qt::Key_R, "mnuRecent"}, {Qt::Key_T, "mnuTools"}};
    for (const auto &[key, menu] : clashes) {
        // The shortcut map takes turns between equal letters: both turns must open the menu.
        for (int press = 0; press < 2; ++press) {
            QTest::keyClick(window.get(), key, Qt::AltModifier);
            QCoreApplication::processEvents();
            EXPECT_EQ(window->tabIndex->Tab(), 0) << menu;
            EXPECT_EQ(window->tabInfo->Tab(), 0) << menu;
            EXPECT_TRUE(window->subMenu(menu)->isVisible()) << menu << " press " << press;
            window->subMenu(menu)->close();
            window->menuBar()->setActiveAction(nullptr);
            QCoreApplication::processEvents();
        }
    }
    QTest::keyClick(window.get(), Qt::Key_P, Qt::AltModifier);
    EXPECT_EQ(window->tabIndex->Tab(), 3) << "a letter no menu uses selects its tab";
}

TEST_F(MenuTest, saveAndCancelKeysReachTheEditCommandsOnceAttached)
{
    window->txtWName->show();
    window->txtWName->setFocus();
    QTest::keyClick(window->txtWName, Qt::Key_Escape);
    QCoreApplication::processEvents();
    EXPECT_TRUE(prompts.messages().empty()) << "no edit can be under way yet";
    record("saveVardeckDetails");
    record("cancelVardeckEdit");
    QTest::keyClick(window->txtWName, Qt::Key_S, Qt::ControlModifier);
    QCoreApplication::processEvents();
    QTest::keyClick(window->txtWName, Qt::Key_Escape);
    QCoreApplication::processEvents();
    EXPECT_EQ(runs, (QList<std::pair<QString, int>>{{"saveVardeckDetails", 0}, {"cancelVardeckEdit", 0}}));
}

TEST_F(MenuTest, textBoxesKeepTheirEditingKeys)
{
    record("mnuEditClipVD_Click");
    record("mnuEditDelete_Click");
    window->tabView->setTab(0);
    window->tabInfo->setTab(2);
    window->txtNotes->setPlainText("notes text");
    window->txtNotes->setFocus();
    window->txtNotes->selectAll();
    QTest::keyClick(window->txtNotes, Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(QApplication::clipboard()->text(), "notes text");
    QTest::keyClick(window->txtNotes, Qt::Key_Delete);
    EXPECT_EQ(window->txtNotes->toPlainText(), "");
    EXPECT_TRUE(runs.isEmpty());

    window->menuItem("mnuEditDelete")->setEnabled(true);
    window->tvwTopics->setFocus();
    QTest::keyClick(window->tvwTopics, Qt::Key_Delete);
    EXPECT_EQ(runs.size(), 1) << "outside a text box Del is Delete Vardeck";
}

} // namespace
