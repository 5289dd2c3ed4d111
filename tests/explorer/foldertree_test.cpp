#include "explorerfixture.h"

#include "dialogs/frmtopicdialog.h"
#include "explorer/foldertree.h"
#include "shell/statuspanels.h"

#include <QLineEdit>
#include <QTimer>

using namespace rr;
using namespace rr::test;

namespace
{

TEST_F(ExplorerTest, folderTreeSortsOnFirstExpandAndAClickShowsTheFolderAndItsPath)
{
    openDatabase();
    ASSERT_EQ(topics()->topLevelItemCount(), 1);
    EXPECT_EQ(root()->text(0), "FOLDERS");
    EXPECT_EQ(tag(root()), "");
    EXPECT_EQ(childTexts(root()), QStringList({"Apple", "banana", "zebra"}));
    EXPECT_EQ(tag(root()->child(2)), "T1");
    EXPECT_FALSE(root()->child(2)->isExpanded());

    QTreeWidgetItem *zebra = node("T1");
    EXPECT_EQ(childTexts(zebra), QStringList({"Work", "archive", "Music"}));
    zebra->setExpanded(true);
    EXPECT_EQ(childTexts(zebra), QStringList({"archive", "Music", "Work"}));
    EXPECT_EQ(tag(zebra->child(0)), "T3");
    // Nothing of the tree is shown before a click.
    EXPECT_EQ(window->lblTName->text(), "No folder selected");

    clickFolder("T5");
    EXPECT_EQ(window->lblTName->text(), "Apple");
    EXPECT_EQ(window->currentTID, "T5");
    EXPECT_EQ(window->currentFolderName, "Apple");
    EXPECT_EQ(window->tabView->TabCaption(1), "   Apple   ");
    EXPECT_EQ(window->StatusBar1->panelText(2), "\\Apple");

    clickFolder("T3");
    EXPECT_EQ(window->StatusBar1->panelText(2), "\\zebra\\archive");
    EXPECT_EQ(window->lbl(12)->text(), "0");

    // The root changes nothing.
    QTest::mouseClick(topics()->viewport(), Qt::LeftButton, {}, topics()->visualItemRect(root()).center());
    EXPECT_EQ(window->currentTID, "T3");
    // Shown through other code, the root shows no folder.
    callOp(window->ops.populateWMOnTopicNode);
    EXPECT_EQ(window->lblTName->text(), "No folder selected");
    EXPECT_FALSE(window->toolbarButton(5)->isEnabled());

    // Collapsing a folder above the selection shows that folder.
    clickFolder("T2");
    node("T1")->setExpanded(false);
    EXPECT_EQ(topics()->currentItem(), node("T1"));
    EXPECT_EQ(window->lblTName->text(), "zebra");
    EXPECT_EQ(window->currentTID, "T1");
    EXPECT_EQ(window->tvwWM->topLevelItemCount(), 2);

    // Collapsing the root empties the Vardeck tree and keeps the caption.
    root()->setExpanded(false);
    EXPECT_EQ(window->tvwWM->topLevelItemCount(), 0);
    EXPECT_EQ(window->currentFolderName, "No folder");
    EXPECT_EQ(window->lblTName->text(), "zebra");

    // An empty database shows the root alone.
    openDatabase("<FOLDERS></FOLDERS>");
    ASSERT_EQ(topics()->topLevelItemCount(), 1);
    EXPECT_EQ(root()->childCount(), 0);
}

TEST_F(ExplorerTest, renamingInPlaceSavesAndKeepsTheOldNameForAnEmptyOne)
{
    openDatabase();
    clickFolder("T5");
    window->aspectPageStale[frmVardecks::FoldersPage] = false;
    FolderTree *tree = folderTreeOf(*window);

    tree->tvwTopics_AfterLabelEdit(node("T5"), "");
    EXPECT_EQ(prompts.lastText(), "The folder must have a name.");
    EXPECT_EQ(prompts.messages().back().icon, MsgIcon::Exclamation);
    EXPECT_EQ(node("T5")->text(0), "Apple");
    EXPECT_EQ(onDisk("T5", "NAME"), "Apple");
    EXPECT_TRUE(window->aspectPageStale[frmVardecks::FoldersPage]);

    tree->tvwTopics_AfterLabelEdit(node("T5"), "Pears & plums");
    EXPECT_EQ(onDisk("T5", "NAME"), "Pears & plums");
    EXPECT_EQ(node("T5")->text(0), "Pears & plums");
    EXPECT_EQ(window->lblTName->text(), "Pears & plums");

    // Another folder than the one shown keeps the caption.
    tree->tvwTopics_AfterLabelEdit(node("T6"), "cherry");
    EXPECT_EQ(onDisk("T6", "NAME"), "cherry");
    EXPECT_EQ(window->lblTName->text(), "Pears & plums");
}

TEST_F(ExplorerTest, aFolderDeletedElsewhereIsShownAsNoFolderAndTheTreeRebuilt)
{
    openDatabase();
    XmlNode apple = doc()->nodeFromID("T5");
    apple.parentNode().removeChild(apple);
    clickFolder("T5");
    EXPECT_EQ(window->lblTName->text(), "No folder selected");
    EXPECT_EQ(window->currentTID, "txtTID");
    EXPECT_EQ(window->listVD->topLevelItemCount(), 0);
    QTest::qWait(20);
    EXPECT_EQ(node("T5"), nullptr);
    EXPECT_EQ(childTexts(root()), QStringList({"banana", "zebra"}));
}

} // namespace
