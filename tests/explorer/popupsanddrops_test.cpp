// The popups, move launchers and drags of the Explorer, and pages dropped from outside, on a
// database with four Vardecks in one folder.
#include "popupsfixture.h"

#include "controls/qbbuttons_h.h"
#include "dialogs/dialogtopictree.h"
#include "explorer/dragdrop.h"
#include "explorer/editing.h"
#include "explorer/popupcommands.h"
#include "explorer/popupsanddrops.h"
#include "finding/ui/findingui.h"
#include "platform/gui/itemtags.h"
#include "platform/textutil.h"
#include "shell/statuspanels.h"
#include "support/failingdisk.h"
#include "support/modaldriver.h"
#include "support/mousedrag.h"
#include "support/windowcontrols.h"
#include "support/xmlids.h"

#include <QClipboard>
#include <QDropEvent>
#include <QMimeData>
#include <QScrollBar>
#include <QWheelEvent>

using namespace rr;
using namespace rr::test;

namespace
{

// Picks the folder tid ("" for the root) in a folder dialog's tree and clicks Save.
void chooseAndSave(QDialog *dialog, const QString &tid)
{
    auto *tree = dialog->findChild<DialogTopicTree *>(QStringLiteral("tvwTopicList"));
    ASSERT_NE(tree, nullptr);
    QTreeWidgetItem *item = tid.isEmpty() ? tree->root() : tree->findByTag(tid);
    ASSERT_NE(item, nullptr) << tid.toStdString();
    tree->selectNode(item);
    emit tree->itemClicked(item, 0);
    auto *save = dialog->findChild<qbButtons_H *>(QStringLiteral("cmdSave"));
    ASSERT_NE(save, nullptr);
    save->click();
}

TEST_F(PopupsTest, vardeckNodeMenuActsOnTheRightClickedVardeckAndSkipsItOnceGone)
{
    open();
    clickFolder("T1");
    EXPECT_EQ(rightClick(tvwWM(*window), wmNode("W2")), "mnuStartVD");

    window->menuItem(MenuId::mnuOpenVD)->trigger();
    EXPECT_EQ(launcher.openedUrls(), QStringList({"http://two.example/a"}));
    EXPECT_EQ(stored("W2").childText("HITS"), "2");

    window->menuItem(MenuId::mnuCopyVD)->trigger();
    EXPECT_TRUE(QGuiApplication::clipboard()->text().startsWith("Name: Two\r\n\r\nAddress: http://two.example/a\r\n"));

    tabView(*window)->setTab(1);
    window->menuItem(MenuId::mnuOpenN)->trigger();
    EXPECT_EQ(lblWName(*window)->text(), "Two");
    EXPECT_EQ(tabView(*window)->Tab(), 0);

    window->menuItem(MenuId::mnuOpenVDHome)->trigger();
    EXPECT_EQ(launcher.openedUrls().last(), "http://two.example/");

    // A right-clicked row of the list is selected alone and its menu acts on it.
    selectRows({"W1"});
    EXPECT_EQ(rightClick(listVD(*window), row("W3")), "mnuListVD");
    window->menuItem(MenuId::mnuList, 5)->trigger();
    EXPECT_EQ(launcher.openedUrls().last(), "https://three.example/");
    // With no row chosen the home page names no Vardeck, not the one whose home page opened last.
    listVD(*window)->clearSelection();
    window->menuItem(MenuId::mnuList, 5)->trigger();
    EXPECT_EQ(prompts.lastText(), "The homepage for  could not be loaded");

    // Once its Vardeck has gone, the right-clicked node is skipped.
    rightClick(tvwWM(*window), wmNode("W3"));
    removeElement("W3");
    const QStringList opened = launcher.openedUrls();
    const QByteArray before = fileBytes();
    {
        ModalDriver driver;
        window->menuItem(MenuId::mnuOpenVD)->trigger();
        window->menuItem(MenuId::mnuModVD)->trigger();
        window->menuItem(MenuId::mnuMoveVD)->trigger();
        EXPECT_TRUE(driver.opened().isEmpty());
    }
    EXPECT_EQ(launcher.openedUrls(), opened);
    EXPECT_EQ(window->editState(), EditState::Viewing);
    EXPECT_EQ(prompts.lastText(), "No Vardeck has been selected to move");
    EXPECT_EQ(fileBytes(), before);

    // The node itself is gone once the folder is shown again.
    clickFolder("T4");
    EXPECT_TRUE(window->popup.popupNode().isNull());
    window->menuItem(MenuId::mnuOpenVD)->trigger();
    window->menuItem(MenuId::mnuCopyVD)->trigger();
    EXPECT_EQ(launcher.openedUrls(), opened);
}

TEST_F(PopupsTest, rowCommandsOpenRowsAfterRecordingEveryVisitAndDeleteAfterYesSkippingGoneRowsAndSavingOnce)
{
    open();
    clickFolder("T1");
    window->popup.listPressed(EntryList::FolderList);
    SnapshotLauncher pages([this] {
        QStringList hits;
        for (const char *wid : {"W1", "W2", "W3"})
            hits << doc()->nodeFromID(wid).childText("HITS");
        return hits.join(',');
    });
    selectRows({"W3", "W1", "W2"});
    tabView(*window)->setTab(1);
    window->menuItem(MenuId::mnuMulti, 1)->trigger();
    // Rows in list order (One, Three, Two), each page opened after all three visits.
    EXPECT_EQ(pages.opened, QStringList({"http://one.example/ 2,2,2", "https://three.example/x 2,2,2",
                                         "http://two.example/a 2,2,2"}));
    EXPECT_EQ(stored("W3").childText("HITS"), "2");
    EXPECT_EQ(tabView(*window)->Tab(), 1) << "opening several rows leaves the right pane as it is";

    selectRows({"W1", "W3"});
    const QByteArray before = fileBytes();
    prompts.answer(MsgResult::No);
    window->menuItem(MenuId::mnuMulti, 3)->trigger();
    ASSERT_EQ(prompts.messages().size(), 1u);
    EXPECT_EQ(prompts.messages()[0].text, "Are you sure you wish to permanently delete the selected Vardecks?");
    EXPECT_EQ(prompts.messages()[0].title, "Delete Vardecks");
    EXPECT_EQ(fileBytes(), before);

    selectRows({"W1"});
    prompts.answer(MsgResult::Yes);
    window->menuItem(MenuId::mnuMulti, 3)->trigger();
    EXPECT_EQ(childIdsOnDisk(path, "T1", "VARDECKS"), QStringList({"W2", "W3", "W4"}));
    EXPECT_EQ(rowIds(), QStringList({"W4", "W3", "W2"}));
    EXPECT_EQ(tvwWM(*window)->topLevelItemCount(), 3);
    EXPECT_TRUE(window->aspectPageStale(frmVardecks::FavsPage));

    // Deleting rows skips the one whose Vardeck has gone and saves the rest once.
    prompts.clear();
    selectRows({"W2", "W3", "W4"});
    removeElement("W2");
    {
        FailingDisk disk;
        prompts.answer(MsgResult::Yes);
        window->menuItem(MenuId::mnuMulti, 3)->trigger();
    }
    EXPECT_EQ(prompts.messages().size(), 2u) << "the question, then one failed save";
    EXPECT_TRUE(childIds(*doc(), "T1", "VARDECKS").isEmpty());

    // Only rows whose Vardecks have gone: nothing is saved.
    prompts.clear();
    clickFolder("T4");
    selectRows({"W5"});
    removeElement("W5");
    {
        FailingDisk disk;
        prompts.answer(MsgResult::Yes);
        window->menuItem(MenuId::mnuMulti, 3)->trigger();
    }
    EXPECT_EQ(prompts.messages().size(), 1u);
}

TEST_F(PopupsTest, folderMenuDeletesOpensRenamesAndStartsNewFoldersFromTheRightClickedFolder)
{
    open();
    topics()->setCurrentItem(root());
    EXPECT_EQ(rightClick(topics(), node("T4")), "mnuTopicMenu");
    prompts.answer(MsgResult::Yes);
    window->menuItem(MenuId::mnuDeleteFolder)->trigger();
    EXPECT_EQ(prompts.texts(),
              QStringList({"Are you sure you wish to delete the folder Delta and all its Vardecks and sub-folders?"}));
    EXPECT_EQ(childIdsOnDisk(path, "", ""), QStringList({"T1", "T5"}));
    EXPECT_EQ(topics()->currentItem(), root());
    EXPECT_EQ(lblTName(*window)->text(), "No folder selected");

    // The root's own menu: the base directory stays.
    prompts.clear();
    rightClick(topics(), root());
    window->menuItem(MenuId::mnuDeleteFolder)->trigger();
    EXPECT_EQ(prompts.texts(), QStringList({"The base directory cannot be deleted"}));

    rightClick(topics(), node("T5"));
    window->menuItem(MenuId::mnuOpenF)->trigger();
    EXPECT_EQ(lblTName(*window)->text(), "Echo");

    // The Vardeck menu's Rename renames the folder selected in the tree, whatever was right-clicked last.
    clickFolder("T1");
    rightClick(tvwWM(*window), wmNode("W1"));
    QString renamed;
    {
        ModalDriver driver([&](QDialog *dialog) {
            if (auto *name = dialog->findChild<QLineEdit *>("txtTName"))
                renamed = name->text();
        });
        window->menuItem(MenuId::mnuModFolder)->trigger();
        EXPECT_EQ(driver.opened(), QStringList({"frmModifyTopic"}));
    }
    EXPECT_EQ(renamed, "Alpha");

    // A new folder starts from the right-clicked folder, or the top level once that has gone.
    rightClick(topics(), node("T1"));
    EXPECT_EQ(popups().rememberedFolderTID(), "T1");
    rightClick(topics(), node("T5"));
    const XmlNode gone = doc()->nodeFromID("T5");
    removeElement("T5");
    EXPECT_EQ(popups().rememberedFolderTID(), "");
    // New folders may take the freed element's memory: none of them is the right-clicked folder.
    for (int i = 0; i < 20; ++i) {
        XmlNode folder = doc()->documentElement().appendChild(doc()->createElement("FOLDER"));
        folder.setAttribute("TID", QString("T%1").arg(90 + i));
        if (folder == gone)
            break;
    }
    EXPECT_EQ(popups().rememberedFolderTID(), "");
    rightClick(topics(), root());
    EXPECT_EQ(popups().rememberedFolderTID(), "");
}

// The folder popup's Rename renames the folder right-clicked, once: Rename Folder from the menu
// afterwards renames the folder selected then.
TEST_F(PopupsTest, aRenameFromTheFolderPopupLeavesTheMenusNextRenameToTheFolderSelectedThen)
{
    open();
    const auto renameShows = [&](const std::function<void()> &start) {
        QString name;
        const ModalDriver driver([&](QDialog *dialog) { name = dialog->findChild<QLineEdit *>("txtTName")->text(); });
        start();
        return name;
    };
    rightClick(topics(), node("T5"));
    EXPECT_EQ(renameShows([&] { window->menuItem(MenuId::mnuRenameFolder)->trigger(); }), "Echo");
    clickFolder("T4");
    QApplication::setActiveWindow(window.get()); // offscreen, the dialog gave no activation back
    EXPECT_EQ(renameShows([&] { QTest::keyClick(topics(), Qt::Key_M, Qt::ControlModifier); }), "Delta");
}

// A Vardeck moved from its node's menu while an edit is open empties the details panel's
// labels; the Vardeck being edited keeps what it holds: a page being added its size, a
// Vardeck being modified its hits.
TEST_F(PopupsTest, aMoveDuringAnEditLeavesTheSavedSizeAndHitsAsTheVardeckHasThem)
{
    open();
    const auto moveToDelta = [&](const QString &wid) {
        rightClick(tvwWM(*window), wmNode(wid));
        ModalDriver driver([](QDialog *dialog) { chooseAndSave(dialog, "T4"); });
        window->menuItem(MenuId::mnuMoveVD)->trigger();
        EXPECT_EQ(driver.opened(), QStringList({"frmMoveVardeck"}));
    };

    showVardeck("T1", "W2");
    window->commands.addVardeckSetup(DetectedPage{"http://page.example/", "Page", "", "", "37", "Firefox"});
    moveToDelta("W2");
    ASSERT_EQ(window->editState(), EditState::Adding);
    EXPECT_EQ(lblFileSize(*window)->text(), "");
    window->commands.saveVardeckDetails();
    EXPECT_EQ(window->editState(), EditState::Viewing);
    EXPECT_EQ(stored("W6").childText("NAME"), "Page");
    EXPECT_EQ(stored("W6").childText("FILESIZE"), "37");

    showVardeck("T1", "W4");
    window->commands.mnuEditModify_Click();
    moveToDelta("W4");
    ASSERT_EQ(window->editState(), EditState::Modifying);
    EXPECT_EQ(lbl(*window, Lbl::Hits)->text(), "");
    txtNotes(*window)->setPlainText("moved meanwhile");
    window->commands.saveVardeckDetails();
    EXPECT_EQ(stored("W4").childText("NOTES"), "moved meanwhile");
    EXPECT_EQ(stored("W4").childText("HITS"), "3");
    EXPECT_EQ(childIdsOnDisk(path, "T4", "VARDECKS"), QStringList({"W5", "W2", "W4"}));
}

TEST_F(PopupsTest, moveButtonsMoveTheShownVardeckOrFolderAndSayWhenNothingIsShown)
{
    open();
    tabIndex(*window)->setTab(1);
    window->commands.cmdMoveFolder_Click();
    EXPECT_TRUE(prompts.messages().empty()) << "away from the Index tab the buttons do nothing";
    tabIndex(*window)->setTab(0);
    {
        ModalDriver driver;
        window->commands.cmdMoveVD_Click();
        window->commands.cmdMoveFolder_Click();
        EXPECT_TRUE(driver.opened().isEmpty());
    }
    ASSERT_EQ(prompts.messages().size(), 2u) << "nothing shown: one message each";

    showVardeck("T1", "W2");
    QString source;
    {
        ModalDriver driver([&](QDialog *dialog) {
            source = dialog->findChild<QLabel *>("lblCurrentTopic")->text();
            chooseAndSave(dialog, "T4");
        });
        cmdMoveVD(*window)->click();
        EXPECT_EQ(driver.opened(), QStringList({"frmMoveVardeck"}));
    }
    EXPECT_EQ(source, "Alpha");
    EXPECT_EQ(childIdsOnDisk(path, "T4", "VARDECKS"), QStringList({"W5", "W2"}));
    // The source folder stays shown, and it is the folder the window's commands act on.
    EXPECT_EQ(window->currentTID(), "T1");
    EXPECT_EQ(rowIds(), QStringList({"W4", "W1", "W3"}));
    EXPECT_EQ(lblWName(*window)->text(), "No Vardeck selected");
    EXPECT_TRUE(window->aspectPageStale(frmVardecks::AllPage));

    // Moving a folder rebuilds the tree with the folder in its new place.
    clickFolder("T2");
    ASSERT_FALSE(StatusBar1(*window)->panelText(2).isEmpty());
    {
        ModalDriver driver([&](QDialog *dialog) { chooseAndSave(dialog, ""); });
        cmdMoveFolder(*window)->click();
        EXPECT_EQ(driver.opened(), QStringList({"frmMoveTopic"}));
    }
    EXPECT_EQ(childIdsOnDisk(path, "", ""), QStringList({"T1", "T4", "T5", "T2"}));
    ASSERT_NE(node("T2"), nullptr);
    EXPECT_EQ(node("T2")->parent(), root());
    EXPECT_EQ(StatusBar1(*window)->panelText(2), "");
    EXPECT_TRUE(topics()->isVisible());
}

TEST_F(PopupsTest, rowsDraggedOntoAFolderMoveInListOrderAreSavedOnceAndGoneOnesAreSkipped)
{
    open();
    clickFolder("T1");
    window->aspectPageMade(frmVardecks::FavsPage);
    window->aspectPageMade(frmVardecks::AllPage);
    // The list shows One, Three, Two: the rows' order, not the file's, is kept.
    ASSERT_EQ(rowIds(), QStringList({"W4", "W1", "W3", "W2"}));
    EXPECT_TRUE(dragRows({"W1", "W3", "W2"}, "T4"));

    EXPECT_EQ(childIdsOnDisk(path, "T4", "VARDECKS"), QStringList({"W5", "W1", "W3", "W2"}));
    EXPECT_EQ(childIdsOnDisk(path, "T1", "VARDECKS"), QStringList({"W4"}));
    // The shown folder stays, refilled.
    EXPECT_EQ(window->currentTID(), "T1");
    EXPECT_EQ(topics()->currentItem(), node("T1"));
    EXPECT_EQ(rowIds(), QStringList({"W4"}));
    EXPECT_EQ(lblWName(*window)->text(), "No Vardeck selected");
    EXPECT_TRUE(window->aspectPageStale(frmVardecks::AllPage));
    EXPECT_FALSE(window->aspectPageStale(frmVardecks::FavsPage));
    EXPECT_EQ(window->drag.dragKind(), DragKind::None);
    EXPECT_EQ(drags().dropHighlight(), nullptr);

    // A failed save: one message for all rows; the move stays in the document.
    clickFolder("T4");
    {
        FailingDisk disk;
        EXPECT_TRUE(dragRows({"W1", "W3"}, "T5"));
    }
    EXPECT_EQ(prompts.messages().size(), 1u);
    EXPECT_EQ(childIds(*doc(), "T5", "VARDECKS"), QStringList({"W1", "W3"}));

    // Rows whose Vardecks have gone since the drag started: nothing moved, nothing saved,
    // and the drop says so once it is over.
    prompts.clear();
    clickFolder("T4");
    selectRows({"W5", "W2"});
    std::unique_ptr<QMimeData> data(drags().listVD_OLEStartDrag());
    removeElement("W5");
    removeElement("W2");
    const QByteArray before = fileBytes();
    {
        FailingDisk disk;
        dropOn(topics()->viewport(), data.get(), folderPoint("T1"));
    }
    drags().OLECompleteDrag();
    QCoreApplication::processEvents();
    EXPECT_EQ(prompts.texts(), QStringList({"The Vardecks to move no longer exist - nothing was moved"}));
    EXPECT_EQ(fileBytes(), before);
    EXPECT_EQ(childIds(*doc(), "T1", "VARDECKS"), QStringList({"W4"}));
}

// The shown folder keeps one order, by name without regard to case, in the tree and in the list,
// whatever led to it: a click, a drop into it, an add, a new name.
TEST_F(PopupsTest, theShownFolderKeepsOneOrderByNameWhateverLedThere)
{
    open();
    const auto treeIds = [this] {
        QStringList out;
        for (int i = 0; i < tvwWM(*window)->topLevelItemCount(); ++i)
            out << tag(tvwWM(*window)->topLevelItem(i));
        return out;
    };
    const QStringList byName = {"W4", "W1", "W3", "W2"}; // Four, One, Three, Two
    clickFolder("T1");
    EXPECT_EQ(treeIds(), byName) << "a click";
    EXPECT_EQ(rowIds(), byName);

    // Dropped on its own folder, One goes to the end of the stored order and the views stay by name.
    ASSERT_TRUE(dragRows({"W1"}, "T1"));
    ASSERT_EQ(childIds(*doc(), "T1", "VARDECKS"), QStringList({"W2", "W3", "W4", "W1"}));
    EXPECT_EQ(treeIds(), byName) << "a drop";
    EXPECT_EQ(rowIds(), byName);
    clickFolder("T4");
    clickFolder("T1");
    EXPECT_EQ(treeIds(), byName) << "a click again";

    window->commands.mnuAddVardeck_Click();
    txtWName(*window)->setText("eleven");
    window->commands.saveVardeckDetails();
    ASSERT_EQ(childIds(*doc(), "T1", "VARDECKS").size(), 5);
    const QString added = childIds(*doc(), "T1", "VARDECKS").last();
    EXPECT_EQ(treeIds(), QStringList({added, "W4", "W1", "W3", "W2"})) << "an add";
    EXPECT_EQ(rowIds(), treeIds());

    // Renamed, a Vardeck moves to its new place in both views.
    clickVardeck("W2");
    window->commands.mnuEditModify_Click();
    txtWName(*window)->setText("Apple");
    window->commands.saveVardeckDetails();
    EXPECT_EQ(treeIds(), QStringList({"W2", added, "W4", "W1", "W3"})) << "a new name";
    EXPECT_EQ(rowIds(), treeIds());
    EXPECT_EQ(tvwWM(*window)->currentItem(), wmNode("W2"));
    clickFolder("T4");
    clickFolder("T1");
    EXPECT_EQ(treeIds(), QStringList({"W2", added, "W4", "W1", "W3"}));
}

TEST_F(PopupsTest, refusedDropsMoveNothingAndNoDragActsWhileAVardeckIsEdited)
{
    open();
    clickFolder("T4");
    const QByteArray before = fileBytes();
    dragFolder("T1", "T3");
    EXPECT_EQ(prompts.lastText(), "A folder cannot be moved to its own sub-folder");
    EXPECT_EQ(drags().dropHighlight(), nullptr);
    EXPECT_EQ(topics()->currentItem(), node("T4")) << "the selection is the shown folder's";
    EXPECT_EQ(lblTName(*window)->text(), "Delta");
    EXPECT_EQ(fileBytes(), before);
    EXPECT_EQ(node("T3")->parent(), node("T2"));

    // A folder onto itself: nothing, and no message.
    prompts.clear();
    dragFolder("T2", "T2");
    EXPECT_TRUE(prompts.messages().empty());
    EXPECT_EQ(fileBytes(), before);

    // Vardecks onto the root: nothing moves and the root stays selected.
    clickFolder("T4");
    tvwWM(*window)->setCurrentItem(wmNode("W5"));
    dragOntoFolder(drags().tvwWM_OLEStartDrag(wmNode("W5")), "");
    EXPECT_EQ(fileBytes(), before);
    EXPECT_EQ(topics()->currentItem(), root());
    EXPECT_EQ(lblTName(*window)->text(), "Delta");
    EXPECT_EQ(childIds(*doc(), "T4", "VARDECKS"), QStringList({"W5"}));

    // While a Vardeck is edited no drag starts and none is taken.
    clickFolder("T1");
    selectRows({"W1"});
    std::unique_ptr<QMimeData> data(drags().listVD_OLEStartDrag());
    ASSERT_NE(data, nullptr);
    EXPECT_EQ(window->drag.dragKind(), DragKind::Vardeck);

    window->setEditState(EditState::Modifying);
    EXPECT_EQ(drags().listVD_OLEStartDrag(), nullptr);
    topics()->setCurrentItem(node("T4"));
    EXPECT_EQ(drags().tvwTopics_OLEStartDrag(node("T4")), nullptr);
    EXPECT_FALSE(dropOn(topics()->viewport(), data.get(), folderPoint("T4")));
    EXPECT_EQ(fileBytes(), before);
    window->setEditState(EditState::Viewing);
    drags().OLECompleteDrag();

    // A link from a browser is no move.
    EXPECT_FALSE(dropOn(topics()->viewport(), textData("http://www.example.com/").get(), folderPoint("T4")));
    EXPECT_EQ(fileBytes(), before);

    // The root carries no folder.
    topics()->setCurrentItem(root());
    EXPECT_EQ(drags().tvwTopics_OLEStartDrag(root()), nullptr);

    // Taken at last: a folder dropped on the root is sorted among the folders there.
    EXPECT_TRUE(dragFolder("T2", ""));
    EXPECT_EQ(childTexts(root()), QStringList({"Alpha", "Beta", "Delta", "Echo"}));
}

// A folder dropped where the tree would nest deeper than a database may be is refused as the Move folder
// dialog refuses it.
TEST_F(PopupsTest, aFolderDropThatWouldNestTooDeepIsRefusedWithTheMoveDialogsMessage)
{
    QByteArray chain; // T1 .. T<deepest level>, each inside the one before
    for (int level = kMaxFolderLevels; level >= 1; --level)
        chain = folderXml("T" + QByteArray::number(level), "L", {}, chain);
    openDatabase("<FOLDERS>" + chain + folderXml("T900", "Two levels", {}, folderXml("T901", "Inner")) + "</FOLDERS>");
    topics()->setIndentation(0); // the deepest folders stand where the drop reaches them
    const QByteArray before = fileBytes();
    EXPECT_TRUE(dragFolder("T900", QStringLiteral("T%1").arg(kMaxFolderLevels - 1)));
    EXPECT_EQ(prompts.texts(), QStringList{"A folder cannot go there: folders may be nested at most 500 levels deep."});
    EXPECT_EQ(prompts.messages().front().icon, MsgIcon::Exclamation);
    EXPECT_EQ(fileBytes(), before);
    EXPECT_EQ(node("T900")->parent(), root());
}

TEST_F(PopupsTest, aMouseDragMovesTheFolderPressedOnAndARefusedDropLeavesTheNextClickToTheTree)
{
    openDatabase("<FOLDERS>" +
                 folderXml("T1", "Alpha", {}, folderXml("T2", "AlphaSub", {}, folderXml("T3", "AlphaSubSub"))) +
                 folderXml("T4", "Beta") + folderXml("T5", "Gamma") + "</FOLDERS>");
    clickFolder("T1");
    mouseDragFolder("T1", "T3", true);
    EXPECT_EQ(prompts.lastText(), "A folder cannot be moved to its own sub-folder");
    EXPECT_EQ(topics()->currentItem(), node("T1"));
    EXPECT_EQ(topics()->selectedItems(), QList<QTreeWidgetItem *>{node("T1")});
    EXPECT_EQ(lblTName(*window)->text(), "Alpha");

    // The next drag moves the folder it starts on, even in one quick move.
    mouseDragFolder("T3", "", false);
    EXPECT_EQ(childIdsOnDisk(path, "", ""), QStringList({"T1", "T4", "T5", "T3"}));
    EXPECT_EQ(childIdsOnDisk(path, "T2", "SUBFOLDERS"), QStringList());
    EXPECT_EQ(node("T3")->parent(), root());
    EXPECT_EQ(node("T2")->parent(), node("T1"));

    // After a refused drop the next click shows the folder clicked, and Shift+Del asks about that one.
    mouseDragFolder("T1", "T2", true);
    EXPECT_EQ(lblTName(*window)->text(), "Alpha");
    clickFolder("T4");
    EXPECT_EQ(lblTName(*window)->text(), "Beta");
    EXPECT_EQ(topics()->currentItem(), node("T4"));
    prompts.clear();
    prompts.answer(MsgResult::No);
    QTest::keyClick(topics(), Qt::Key_Delete, Qt::ShiftModifier);
    EXPECT_EQ(prompts.texts(),
              QStringList({"Are you sure you wish to delete the folder Beta and all its Vardecks and sub-folders?"}));
}

// However a folder drag ends, the folder moved is the one pressed on, also when the press is on its
// expand arrow (which selects nothing), and the tree selects the folder shown again: a New Vardeck
// goes where the panel says, and the next click on the dragged folder is a first click.
TEST_F(PopupsTest, aFolderDragMovesTheFolderPressedOnEvenOnItsArrowAndLeavesTheShownFolderSelected)
{
    open();
    clickFolder("T4");
    const QRect alpha = topics()->visualItemRect(node("T1"));
    const QPoint arrow(alpha.left() - topics()->indentation() / 2, alpha.center().y());
    // Alpha onto Echo from its arrow; Echo into its own sub-folder (refused); Echo, cancelled.
    const std::tuple<QPoint, QString> drags[] = {{arrow, "T5"}, {folderPoint("T5"), "T2"}, {folderPoint("T5"), ""}};
    for (const auto &[from, target] : drags) {
        SCOPED_TRACE(target.toStdString());
        // The target is found as the tree shows it during the drag (the press may open a folder).
        this->drags().setDragLoop([this, target = target](QWidget *source, QMimeData *data) {
            std::unique_ptr<QMimeData> owned(data);
            if (!target.isEmpty())
                dropOn(source, owned.get(), folderPoint(target));
        });
        test::mouseDragFrom(topics()->viewport(), from, true);
        EXPECT_EQ(childIdsOnDisk(path, "T5", "SUBFOLDERS"), QStringList{"T1"});
        EXPECT_EQ(topics()->selectedItems(), QList<QTreeWidgetItem *>{node("T4")});
        EXPECT_EQ(topics()->currentItem(), node("T4"));
    }
}

// What the window shows after its folder tree changed under it, each view says: the folder
// tab, the path in the status bar, the count and the lists, and the tree's highlight.
TEST_F(PopupsTest, afterAFolderDeletedOrMovedEveryViewSaysWhatIsShown)
{
    open();
    const auto shows = [&](const char *folder, const char *path, const char *count) {
        EXPECT_EQ(lblTName(*window)->text(), folder);
        EXPECT_EQ(StatusBar1(*window)->panelText(int(StatusPanel::FolderPath)), path);
        EXPECT_EQ(lbl(*window, Lbl::VardeckCount)->text(), count);
    };
    // A folder deleted from its popup while the root is selected: no folder is shown.
    clickFolder("T1");
    clickItem(topics(), root());
    rightClick(topics(), node("T5"));
    prompts.answer(MsgResult::Yes);
    window->menuItem(MenuId::mnuDeleteFolder)->trigger();
    ASSERT_EQ(node("T5"), nullptr);
    shows("No folder selected", "", "0");
    EXPECT_EQ(tvwWM(*window)->topLevelItemCount(), 0);
    EXPECT_EQ(listVD(*window)->topLevelItemCount(), 0);
    EXPECT_EQ(topics()->currentItem(), root());

    // The folder shown dragged into another: the tree highlights it where it now stands.
    // As the platform's drag loop does, the drop is delivered and the loop ends before
    // the move the drop left for later.
    clickFolder("T2");
    drags().setDragLoop([this](QWidget *source, QMimeData *data) {
        std::unique_ptr<QMimeData> owned(data);
        const QPoint at = folderPoint("T4");
        QDragEnterEvent enter(at, Qt::MoveAction, owned.get(), Qt::LeftButton, {});
        QApplication::sendEvent(source, &enter);
        QDragMoveEvent move(at, Qt::MoveAction, owned.get(), Qt::LeftButton, {});
        QApplication::sendEvent(source, &move);
        QDropEvent drop(QPointF(at), Qt::MoveAction, owned.get(), Qt::LeftButton, {});
        QApplication::sendEvent(source, &drop);
    });
    test::mouseDragFrom(topics()->viewport(), folderPoint("T2"), true);
    ASSERT_EQ(childIdsOnDisk(path, "T4", "SUBFOLDERS"), QStringList{"T2"});
    shows("Beta", "\\Delta\\Beta", "0");
    EXPECT_EQ(topics()->currentItem(), node("T2"));
    EXPECT_EQ(topics()->selectedItems(), QList<QTreeWidgetItem *>{node("T2")});
}

// The platform's drag loop watches the whole application while it runs and keeps the wheel.
struct WheelKeeper : QObject {
    WheelKeeper() { qApp->installEventFilter(this); }
    ~WheelKeeper() override { qApp->removeEventFilter(this); }
    bool eventFilter(QObject *, QEvent *event) override { return event->type() == QEvent::Wheel; }
};

// A far folder is reached during a drag: the folder tree scrolls while the drag rests at its
// bottom edge, and the wheel scrolls it too.
TEST_F(PopupsTest, aDragRestingAtTheFolderTreesEdgeScrollsItAndTheWheelScrollsItDuringTheDrag)
{
    QByteArray folders;
    for (int i = 10; i < 50; ++i)
        folders += folderXml("T" + QByteArray::number(i), "Folder " + QByteArray::number(i));
    openDatabase("<FOLDERS>" + folders + "</FOLDERS>");
    QScrollBar *bar = topics()->verticalScrollBar();
    QString reached;
    drags().setDragLoop([&](QWidget *viewport, QMimeData *data) {
        std::unique_ptr<QMimeData> owned(data);
        const WheelKeeper platform;
        QCoreApplication::processEvents();
        const QPoint bottom(30, viewport->height() - 2);
        QDragEnterEvent enter(bottom, Qt::MoveAction, owned.get(), Qt::LeftButton, {});
        QApplication::sendEvent(viewport, &enter);
        QDragMoveEvent move(bottom, Qt::MoveAction, owned.get(), Qt::LeftButton, {});
        QApplication::sendEvent(viewport, &move);
        EXPECT_TRUE(QTest::qWaitFor([&] { return bar->value() == bar->maximum(); }, 3000));
        QWheelEvent wheel(bottom, viewport->mapToGlobal(bottom), {}, {0, QWheelEvent::DefaultDeltasPerStep},
                          Qt::LeftButton, {}, Qt::NoScrollPhase, false);
        QApplication::sendEvent(viewport, &wheel);
        EXPECT_EQ(bar->value(), bar->maximum() - QApplication::wheelScrollLines()) << "one notch up";
        reached = tag(topics()->itemAt(bottom));
        dropOn(viewport, owned.get(), bottom);
    });
    test::mouseDragFrom(topics()->viewport(), folderPoint("T10"), true);
    EXPECT_EQ(childIdsOnDisk(path, reached, "SUBFOLDERS"), QStringList{"T10"}) << "dropped on the folder reached";
}

} // namespace
