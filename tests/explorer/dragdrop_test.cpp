#include "popupsfixture.h"

#include "support/failingdisk.h"

using namespace rr;
using namespace rr::test;

namespace
{

TEST_F(PopupsTest, threeRowsDraggedOntoAFolderMoveInListOrderAndTheShownFolderStays)
{
    open();
    clickFolder("T1");
    window->aspectPageStale[frmVardecks::FavsPage] = false;
    window->aspectPageStale[frmVardecks::AllPage] = false;
    // The list shows One, Three, Two: the rows' order, not the file's, is kept.
    ASSERT_EQ(rowIds(), QStringList({"W4", "W1", "W3", "W2"}));
    EXPECT_TRUE(dragRows({"W1", "W3", "W2"}, "T4"));

    EXPECT_EQ(idsOnDisk("T4", "VARDECKS"), QStringList({"W5", "W1", "W3", "W2"}));
    EXPECT_EQ(idsOnDisk("T1", "VARDECKS"), QStringList({"W4"}));
    EXPECT_EQ(window->lblTName->text(), "Alpha");
    EXPECT_EQ(window->currentTID, "T1");
    EXPECT_EQ(topics()->currentItem(), node("T1"));
    EXPECT_EQ(rowIds(), QStringList({"W4"}));
    EXPECT_EQ(window->tvwWM->topLevelItemCount(), 1);
    EXPECT_EQ(window->lbl(12)->text(), "1");
    EXPECT_EQ(window->lblWName->text(), "No Vardeck selected");
    EXPECT_TRUE(window->aspectPageStale[frmVardecks::AllPage]);
    EXPECT_FALSE(window->aspectPageStale[frmVardecks::FavsPage]);
    EXPECT_EQ(window->drag.dragType, "");
    EXPECT_EQ(drags().dropHighlight(), nullptr);
}

TEST_F(PopupsTest, severalRowsAreSavedOnceAndGoneOnesAreSkippedWithoutASave)
{
    open();
    clickFolder("T1");
    {
        FailingDisk disk;
        EXPECT_TRUE(dragRows({"W1", "W2"}, "T5"));
    }
    // One failed save, one message; the move stays in the document.
    EXPECT_EQ(prompts.messages().size(), 1u);
    EXPECT_EQ(idsInDoc("T5", "VARDECKS"), QStringList({"W1", "W2"}));

    prompts.clear();
    clickFolder("T1");
    selectRows({"W3", "W4"});
    std::unique_ptr<QMimeData> data(drags().listVD_OLEStartDrag());
    removeElement("W3");
    removeElement("W4");
    const QByteArray before = fileBytes();
    {
        FailingDisk disk;
        dropOn(topics()->viewport(), data.get(), folderPoint("T4"));
    }
    drags().OLECompleteDrag();
    EXPECT_TRUE(prompts.messages().empty()) << "nothing moved, nothing saved";
    EXPECT_EQ(fileBytes(), before);
    EXPECT_EQ(idsInDoc("T4", "VARDECKS"), QStringList({"W5"}));
}

TEST_F(PopupsTest, refusedDropsMoveNothing)
{
    open();
    clickFolder("T4");
    const QByteArray before = fileBytes();
    dragFolder("T1", "T3");
    EXPECT_EQ(prompts.lastText(), "A folder cannot be moved to its own sub-folder");
    EXPECT_EQ(drags().dropHighlight(), nullptr);
    EXPECT_EQ(topics()->currentItem(), node("T4")) << "the selection is the shown folder's";
    EXPECT_EQ(window->lblTName->text(), "Delta");
    EXPECT_EQ(fileBytes(), before);
    EXPECT_EQ(node("T3")->parent(), node("T2"));

    // A folder onto itself: nothing, and no message.
    prompts.clear();
    dragFolder("T2", "T2");
    EXPECT_TRUE(prompts.messages().empty());
    EXPECT_EQ(fileBytes(), before);

    // Vardecks onto the root: nothing moves and the root stays selected.
    clickFolder("T4");
    window->tvwWM->setCurrentItem(wmNode("W5"));
    dragOntoFolder(drags().tvwWM_OLEStartDrag(), "");
    EXPECT_EQ(fileBytes(), before);
    EXPECT_EQ(topics()->currentItem(), root());
    EXPECT_EQ(window->lblTName->text(), "Delta");
    EXPECT_EQ(idsInDoc("T4", "VARDECKS"), QStringList({"W5"}));
}

TEST_F(PopupsTest, dragsDoNothingWhileAVardeckIsEditedAndForeignDataNeverLandsOnTheTree)
{
    open();
    clickFolder("T1");
    selectRows({"W1"});
    std::unique_ptr<QMimeData> data(drags().listVD_OLEStartDrag());
    ASSERT_NE(data, nullptr);
    EXPECT_EQ(window->drag.dragType, "Vardeck");

    window->txtMode->setText("mod");
    EXPECT_EQ(drags().listVD_OLEStartDrag(), nullptr);
    topics()->setCurrentItem(node("T4"));
    EXPECT_EQ(drags().tvwTopics_OLEStartDrag(), nullptr);
    const QByteArray before = fileBytes();
    EXPECT_FALSE(dropOn(topics()->viewport(), data.get(), folderPoint("T4")));
    EXPECT_EQ(fileBytes(), before);
    window->txtMode->setText("");
    drags().OLECompleteDrag();

    // A link from a browser is no move.
    EXPECT_FALSE(dropOn(topics()->viewport(), textData("http://www.example.com/").get(), folderPoint("T4")));
    EXPECT_EQ(fileBytes(), before);

    // The root carries no folder.
    topics()->setCurrentItem(root());
    EXPECT_EQ(drags().tvwTopics_OLEStartDrag(), nullptr);
}

} // namespace
