// The menu bar and popups: order, nesting and shortcuts; the run-time arrays; menu states and keys.
#include "windowfixture.h"

#include <QAction>
#include <QClipboard>
#include <QMenu>
#include <QMenuBar>
#include <QRegularExpression>

#include <tuple>

namespace
{

using rr::frmVardecks;

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

using MenuTest = rr::test::MainWindowTest;

TEST_F(MenuTest, menuBarKeepsItsOrderNestingAndShortcuts)
{
    QStringList top;
    for (QAction *action : window->menuBar()->actions())
        top << action->objectName();
    EXPECT_EQ(top, QStringList({"mnuFile", "mnuAspect", "mnuEdit", "mnuNavigate(0)", "mnuView(0)", "mnuTools",
                                "mnuFavs", "mnuRecent", "mnuHelp", "mnuStartVD", "mnuTopicMenu", "mnuCopyMenu",
                                "mnuNoVD", "mnuListVD", "mnuListVDMulti"}));

    QMap<QAction *, int> depths;
    walk(window->menuBar()->actions(), 0, depths);
    EXPECT_EQ(depths.size(), 162);
    QMap<QString, QString> byShortcut;
    for (QAction *action : depths.keys()) {
        EXPECT_EQ(window->menuItem(action->objectName()), action) << qPrintable(action->objectName());
        const QString keys = action->shortcut().toString(QKeySequence::PortableText);
        if (keys.isEmpty())
            continue;
        EXPECT_FALSE(byShortcut.contains(keys)) << qPrintable(keys) << " is on two items";
        byShortcut.insert(keys, action->objectName());
    }
    EXPECT_EQ(byShortcut.size(), 32);
    QStringList edit;
    for (QAction *action : window->subMenu("mnuEdit")->actions())
        edit << action->objectName();
    EXPECT_EQ(edit, QStringList({"mnuAddVardeck", "mnuEditModify", "mnuEditDelete", "mnuEditSeparator", "mnuAddTopic",
                                 "mnuEditModifyTopic", "mnuEditDeleteTopic", "mnuEditSeparator1", "mnuEditClip"}));

    struct Spot {
        int depth;
        const char *name, *caption, *shortcut;
    };
    const Spot spots[] = {
        {2, "mnuFileOpen", "&Open...", "Ctrl+O"},
        {1, "mnuEditDelete", "&Delete Vardeck", "Del"},
        {1, "mnuEditDeleteTopic", "D&elete Folder", "Shift+Del"},
        {2, "mnuEditClipVD", "All &current Vardeck data", "Ctrl+C"},
        {1, "mnuToolsOpen", "&Open Vardeck in browser", "Ctrl+Ins"},
        {2, "mnuToolsSearchAddress", "&Address", "F11"},
        {1, "mnuHelpAbout", "&About Razuzezu Revidod...", ""},
    };
    for (const Spot &spot : spots) {
        QAction *action = window->menuItem(spot.name);
        ASSERT_TRUE(action) << spot.name;
        EXPECT_EQ(depths.value(action, -1), spot.depth) << spot.name;
        EXPECT_EQ(frmVardecks::menuCaption(action), QString::fromLatin1(spot.caption)) << spot.name;
        EXPECT_EQ(action->shortcut().toString(QKeySequence::PortableText), QString::fromLatin1(spot.shortcut));
    }
}

TEST_F(MenuTest, popupsAndRunTimePlaceholdersAreHiddenAndCheckMarksStartOnExplorer)
{
    const QStringList popups = {"mnuStartVD", "mnuTopicMenu", "mnuCopyMenu", "mnuNoVD", "mnuListVD", "mnuListVDMulti"};
    for (QAction *top : window->menuBar()->actions())
        EXPECT_EQ(top->isVisible(), !popups.contains(top->objectName())) << qPrintable(top->objectName());
    EXPECT_TRUE(window->menuItem("mnuAspectExplorer")->isChecked());
    EXPECT_FALSE(window->menuItem("mnuAspectWeb")->isChecked());
    EXPECT_EQ(window->menuItem("mnuHelpTopics")->property("HelpContextID").toInt(), 11);

    const std::tuple<const char *, int, int, const char *> arrays[] = {{"mnuNav", 4, 3, "&Next          F4"},
                                                                       {"mnuMulti", 3, 2, "Move Vardecks..."},
                                                                       {"mnuList", 12, 12, "Add to favorites"}};
    for (const auto &[array, count, spot, caption] : arrays) {
        QAction *placeholder = window->menuItem(array, 0);
        ASSERT_TRUE(placeholder);
        EXPECT_FALSE(placeholder->isVisible());
        const QList<QAction *> shown = qobject_cast<QMenu *>(placeholder->parent())->actions();
        ASSERT_EQ(shown.size(), count + 1) << array;
        EXPECT_EQ(shown.first(), placeholder);
        EXPECT_EQ(shown[spot], window->menuItem(array, spot));
        EXPECT_EQ(frmVardecks::menuCaption(window->menuItem(array, spot)), caption);
    }
    EXPECT_FALSE(window->menuItem("mnuNavigate(0)")->isEnabled()) << "Go waits for a shown folder";
}

TEST_F(MenuTest, itemsRunTheirHandlerWithTheirIndexBeforeTheCheckMarkMoves)
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

    bool checkedWhenRun = true;
    window->setCommand("mnuAspectWeb_Click",
                       [&](int) { checkedWhenRun = window->menuItem("mnuAspectWeb")->isChecked(); });
    window->menuItem("mnuAspectWeb")->trigger();
    EXPECT_FALSE(checkedWhenRun) << "the Aspect command sees the mark as it was before the click";
    EXPECT_FALSE(window->menuItem("mnuAspectWeb")->isChecked()) << "the command moves the mark";
}

TEST_F(MenuTest, resetDisablesTheSelectionCommandsAndDisableAllSparesTheArrays)
{
    for (QAction *item : window->allMenuItems())
        item->setEnabled(true);
    window->cmdMoveVD->setEnabled(true);
    window->resetMenuItems();
    // The selection commands go off; everything else shown stays on (a hidden item reads as disabled).
    int off = 0;
    for (QAction *item : window->allMenuItems())
        off += item->isVisible() && !item->isEnabled();
    EXPECT_EQ(off, 23);
    for (const char *name : {"mnuEditModify", "mnuNavigate(0)", "mnuThumbRemove", "mnuFavsDelete"})
        EXPECT_FALSE(window->menuItem(name)->isEnabled()) << name;
    EXPECT_TRUE(window->menuItem("mnuFileOpen")->isEnabled());
    EXPECT_FALSE(window->cmdMoveVD->isEnabled());
    EXPECT_FALSE(window->cmdMoveFolder->isEnabled());
    EXPECT_TRUE(window->menuItem("mnuAspectExplorer")->isChecked()) << "nothing is checked or unchecked";

    // Disabling all leaves the Favorites and Recent arrays and the toolbar.
    QAction *favorite = window->loadMenuArrayElement("first", 1);
    window->disableAllMenuItems();
    for (QAction *item : window->allMenuItems()) {
        const bool kept = !item->objectName().startsWith("mnu", Qt::CaseInsensitive); // first, second, sep…
        EXPECT_EQ(item->isEnabled(), item->isVisible() && kept) << qPrintable(item->objectName());
    }
    EXPECT_TRUE(favorite->isEnabled());
    EXPECT_TRUE(window->toolbarButton(1)->isEnabled());
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

TEST_F(MenuTest, saveAndCancelKeysReachTheEditCommandsAndTextBoxesKeepTheirEditingKeys)
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

    // Text boxes keep their editing keys.
    runs.clear();
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

TEST_F(MenuTest, aMenuWithThousandsOfItemsScrollsInOneColumn)
{
    QMenu *favorites = window->subMenu("mnuFavs");
    ASSERT_NE(favorites, nullptr);
    const int oneColumn = favorites->sizeHint().width();
    for (int i = 0; i < 3000; ++i)
        favorites->addAction(QString("Favorite Vardeck %1").arg(i));
    favorites->popup(QPoint(0, 0));
    EXPECT_LE(favorites->height(), favorites->screen()->availableGeometry().height());
    EXPECT_LT(favorites->width(), 2 * std::max(oneColumn, 200)) << "one column, not a screenful of them";
    favorites->close();
}

} // namespace
