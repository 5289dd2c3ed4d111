// Deleting Vardecks and folders: what the question names goes, and the side files go
// only once the file no longer holds their Vardecks.
#include "editingfixture.h"

#include <QFile>

using namespace rr;
using namespace rr::test;

namespace
{

// FOLDERS
//   T1 zebra     W1, W2
//     T2 Work    W5
//       T7 Deep  W6
//   T5 Apple     W3
QByteArray nestedBody()
{
    const QByteArray deep = folderXml("T7", "Deep", vardeckXml("W6", "Six"));
    const QByteArray work = folderXml("T2", "Work", vardeckXml("W5", "Five"), deep);
    const QByteArray zebra = folderXml("T1", "zebra", vardeckXml("W1", "One") + vardeckXml("W2", "Two"), work);
    return "<FOLDERS>" + zebra + folderXml("T5", "Apple", vardeckXml("W3", "Three")) + "</FOLDERS>";
}

TEST_F(EditingTest, deletingAVardeckAsksAndRemovesTheShownOneWithItsSideFiles)
{
    openDb();
    window->runCommand("mnuEditDelete_Click");
    EXPECT_EQ(prompts.lastText(), "No Vardeck has been selected to delete.");
    window->runCommand("mnuEditDeleteTopic_Click");
    EXPECT_EQ(prompts.lastText(), "A folder must be selected to delete");
    makeSideFiles({"W1", "W2"});
    callOp(window->ops.populateIconList);
    showVardeck("T1", "W1");
    // The Vardeck last opened from a list is another one: the shown one goes.
    window->selectedWID = "W2";
    EXPECT_EQ(window->lbl(12)->text(), "2");
    // The Popular tab's list, filled before, loses the row though another tab is open.
    doc()->nodeFromID("W1").setChildText("HITS", "5");
    callOp(window->ops.populatePopList, doc());
    ASSERT_NE(findByTag(window->listPop, "W1"), nullptr);
    const QByteArray before = fileBytes();
    prompts.answer(MsgResult::No);
    menu("mnuEditDelete");
    EXPECT_EQ(fileBytes(), before) << "No";
    EXPECT_EQ(window->lblWName->text(), "Beta site");
    prompts.answer(MsgResult::Yes);
    menu("mnuEditDelete");
    EXPECT_EQ(findByTag(window->listPop, "W1"), nullptr);

    EXPECT_EQ(prompts.lastText(), "Are you sure you wish to delete Beta site?");
    EXPECT_EQ(prompts.messages().back().title, "Delete Vardeck?");
    EXPECT_EQ(prompts.messages().back().icon, MsgIcon::None);
    EXPECT_FALSE(stored("W1"));
    EXPECT_TRUE(stored("W2"));
    EXPECT_FALSE(QFile::exists(iconFile("W1")));
    EXPECT_FALSE(QFile::exists(thumbFile("W1")));
    EXPECT_TRUE(QFile::exists(iconFile("W2")));
    EXPECT_TRUE(QFile::exists(thumbFile("W2")));
    EXPECT_FALSE(window->ImageListWM.contains("W1"));
    EXPECT_EQ(wmNode("W1"), nullptr);
    EXPECT_NE(wmNode("W2"), nullptr);
    EXPECT_EQ(row("W1"), nullptr);
    EXPECT_EQ(window->lbl(12)->text(), "1");
    EXPECT_EQ(window->lblWName->text(), "No Vardeck selected");
    EXPECT_EQ(window->lblTName->text(), "zebra");
    EXPECT_EQ(window->selectedWID, "");
    // Nothing shown, nothing selected: no row keeps a highlight the panel disowns.
    EXPECT_TRUE(window->tvwWM->selectedItems().isEmpty());
    EXPECT_TRUE(window->listVD->selectedItems().isEmpty());
    EXPECT_EQ(window->tvwFavs->topLevelItemCount(), 0);
    EXPECT_TRUE(window->aspectPageStale[frmVardecks::FavsPage]);

    // From the Popular tab the row goes and no folder stays shown.
    showVardeck("T5", "W3");
    window->tabIndex->setTab(3);
    callOp(window->ops.populatePopList, doc());
    ASSERT_NE(findByTag(window->listPop, "W3"), nullptr);
    prompts.answer(MsgResult::Yes);
    menu("mnuEditDelete");
    EXPECT_EQ(findByTag(window->listPop, "W3"), nullptr);
    EXPECT_EQ(window->lblTName->text(), "No folder selected");
    EXPECT_EQ(window->listVD->topLevelItemCount(), 0);
    EXPECT_FALSE(stored("W3"));
}

TEST_F(EditingTest, deletingAFolderTakesItsWholeSubTreeAndItsSideFiles)
{
    openDb(nestedBody());
    makeSideFiles({"W1", "W5", "W6", "W3"});
    doc()->nodeFromID("W6").setChildText("HITS", "5");
    callOp(window->ops.populatePopList, doc());
    ASSERT_NE(findByTag(window->listPop, "W6"), nullptr);
    clickFolder("T1");
    prompts.answer(MsgResult::Yes);
    menu("mnuEditDeleteTopic");
    EXPECT_EQ(findByTag(window->listPop, "W6"), nullptr);
    EXPECT_EQ(prompts.lastText(),
              "Are you sure you wish to delete the folder zebra and all its Vardecks and sub-folders?");
    EXPECT_EQ(prompts.messages().back().title, "Delete folder?");

    XMLDatabase &disk = freshDb();
    for (const char *id : {"T1", "T2", "T7", "W1", "W2", "W5", "W6"})
        EXPECT_FALSE(disk.getTheDOM()->nodeFromID(id)) << id;
    EXPECT_TRUE(disk.getTheDOM()->nodeFromID("W3"));
    for (const char *wid : {"W1", "W5", "W6"}) {
        EXPECT_FALSE(QFile::exists(iconFile(wid))) << wid;
        EXPECT_FALSE(QFile::exists(thumbFile(wid))) << wid;
    }
    EXPECT_TRUE(QFile::exists(iconFile("W3")));
    EXPECT_EQ(node("T1"), nullptr);
    EXPECT_EQ(node("T2"), nullptr);
    EXPECT_NE(node("T5"), nullptr);
    EXPECT_EQ(window->lblWName->text(), "No Vardeck selected");
    EXPECT_EQ(window->tabIndex->Tab(), 0);
    // Whatever the tree selected next is what the window shows.
    QTreeWidgetItem *current = topics()->currentItem();
    if (current == root())
        EXPECT_EQ(window->lblTName->text(), "No folder selected");
    else
        EXPECT_EQ(window->lblTName->text(), current->text(0));
}

TEST_F(EditingTest, deletionsThatCannotBeSavedKeepTheFileAndTheSideFiles)
{
    openDb(nestedBody());
    makeSideFiles({"W1", "W5", "W6"});
    showVardeck("T1", "W1");
    const QByteArray before = fileBytes();
    prompts.answer(MsgResult::Yes);
    {
        FailingDisk disk;
        menu("mnuEditDelete");
    }
    EXPECT_EQ(prompts.messages().size(), 2u);
    EXPECT_EQ(prompts.messages().back().icon, MsgIcon::Exclamation);
    EXPECT_TRUE(QFile::exists(iconFile("W1")));
    EXPECT_TRUE(QFile::exists(thumbFile("W1")));
    EXPECT_FALSE(doc()->nodeFromID("W1")) << "the deletion stays in memory for the next save";

    clickFolder("T2");
    prompts.answer(MsgResult::Yes);
    {
        FailingDisk disk;
        menu("mnuEditDeleteTopic");
    }
    EXPECT_EQ(prompts.messages().size(), 4u);
    EXPECT_EQ(prompts.messages().back().icon, MsgIcon::Exclamation);
    EXPECT_EQ(fileBytes(), before);
    EXPECT_TRUE(QFile::exists(iconFile("W5")));
    EXPECT_TRUE(QFile::exists(thumbFile("W6")));
    EXPECT_FALSE(doc()->nodeFromID("T2"));
}

} // namespace
