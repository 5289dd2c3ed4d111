#include "popupsfixture.h"

#include "support/failingdisk.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QLineEdit>

using namespace rr;
using namespace rr::test;

namespace
{

TEST_F(PopupsTest, vardeckNodeMenuActsOnTheRightClickedVardeckAndSkipsItOnceGone)
{
    open();
    clickFolder("T1");
    EXPECT_EQ(rightClick(window->tvwWM, wmNode("W2")), "mnuStartVD");

    window->menuItem("mnuOpenVD")->trigger();
    EXPECT_EQ(launcher.openedUrls(), QStringList({"http://two.example/a"}));
    EXPECT_EQ(onDisk("W2", "HITS"), "2");
    ASSERT_FALSE(recentColl.isEmpty());
    EXPECT_EQ(recentColl.last().getID(), "W2");

    window->menuItem("mnuCopyVD")->trigger();
    EXPECT_EQ(QGuiApplication::clipboard()->text(), window->dbXML->getVDAsFormattedString("W2"));

    window->tabView->setTab(1);
    window->menuItem("mnuOpenN")->trigger();
    EXPECT_EQ(window->lblWName->text(), "Two");
    EXPECT_EQ(window->currentWID, "W2");
    EXPECT_EQ(window->tabView->Tab(), 0);

    window->menuItem("mnuOpenVDHome")->trigger();
    EXPECT_EQ(launcher.openedUrls().last(), "http://two.example/");
    EXPECT_EQ(window->popup.homePageName, "Two");

    // Once its Vardeck has gone, the right-clicked node is skipped.
    rightClick(window->tvwWM, wmNode("W3"));
    removeElement("W3");
    const QStringList opened = launcher.openedUrls();
    const QByteArray before = fileBytes();
    {
        ModalDriver driver;
        window->menuItem("mnuOpenVD")->trigger();
        window->menuItem("mnuModVD")->trigger();
        window->menuItem("mnuMoveVD")->trigger();
        EXPECT_TRUE(driver.opened().isEmpty());
    }
    EXPECT_EQ(launcher.openedUrls(), opened);
    EXPECT_EQ(window->txtMode->text(), "");
    EXPECT_EQ(prompts.lastText(), "No Vardeck has been selected to move");
    EXPECT_EQ(fileBytes(), before);

    // The node itself is gone once the folder is shown again.
    clickFolder("T4");
    EXPECT_TRUE(window->popup.popupNode.isNull());
    window->menuItem("mnuOpenVD")->trigger();
    window->menuItem("mnuCopyVD")->trigger();
    EXPECT_EQ(launcher.openedUrls(), opened);
}

TEST_F(PopupsTest, openingRowsRecordsEveryVisitFirstAndDeletingRowsSkipsGoneOnesAndSavesOnce)
{
    open();
    clickFolder("T1");
    SnapshotLauncher pages([this] {
        QStringList hits;
        for (const char *wid : {"W1", "W2", "W3"})
            hits << doc()->nodeFromID(wid).childText("HITS");
        return hits.join(',');
    });
    selectRows({"W3", "W1", "W2"});
    window->popup.popupListName = "listVD";
    window->tabView->setTab(1);
    window->menuItem("mnuMulti", 1)->trigger();
    // Rows in list order (One, Three, Two), each page opened after all three visits.
    EXPECT_EQ(pages.opened, QStringList({"http://one.example/ 2,2,2", "https://three.example/x 2,2,2",
                                         "http://two.example/a 2,2,2"}));
    EXPECT_EQ(onDisk("W3", "HITS"), "2");
    ASSERT_GE(recentColl.size(), 3);
    EXPECT_EQ(recentColl.last().getID(), "W2");
    EXPECT_EQ(window->tabView->Tab(), 1) << "opening several rows leaves the right pane as it is";

    // Deleting rows skips the one whose Vardeck has gone and saves the rest once.
    selectRows({"W1", "W2", "W3"});
    removeElement("W2");
    {
        FailingDisk disk;
        prompts.answer(MsgResult::Yes);
        window->menuItem("mnuMulti", 3)->trigger();
    }
    EXPECT_EQ(prompts.messages().size(), 2u) << "the question, then one failed save";
    EXPECT_EQ(idsInDoc("T1", "VARDECKS"), QStringList({"W4"}));
}

TEST_F(PopupsTest, deleteVardecksRemovesTheSelectedRowsAfterYesAndNothingWhenAllHaveGone)
{
    open();
    clickFolder("T1");
    selectRows({"W1", "W3"});
    window->popup.popupListName = "listVD";
    const QByteArray before = fileBytes();
    prompts.answer(MsgResult::No);
    window->menuItem("mnuMulti", 3)->trigger();
    ASSERT_EQ(prompts.messages().size(), 1u);
    EXPECT_EQ(prompts.messages()[0].text, "Are you sure you wish to permanently delete the selected Vardecks?");
    EXPECT_EQ(fileBytes(), before);

    prompts.answer(MsgResult::Yes);
    window->menuItem("mnuMulti", 3)->trigger();
    EXPECT_EQ(idsOnDisk("T1", "VARDECKS"), QStringList({"W2", "W4"}));
    EXPECT_EQ(rowIds(), QStringList({"W4", "W2"}));
    EXPECT_EQ(window->tvwWM->topLevelItemCount(), 2);
    EXPECT_TRUE(window->aspectPageStale[frmVardecks::FavsPage]);

    prompts.clear();
    // Only rows whose Vardecks have gone: nothing is saved.
    clickFolder("T4");
    selectRows({"W5"});
    removeElement("W5");
    {
        FailingDisk disk;
        prompts.answer(MsgResult::Yes);
        window->menuItem("mnuMulti", 3)->trigger();
    }
    EXPECT_EQ(prompts.messages().size(), 1u);
}

TEST_F(PopupsTest, folderMenuDeletesOpensAndRenamesTheRightClickedFolder)
{
    open();
    topics()->setCurrentItem(root());
    EXPECT_EQ(rightClick(topics(), node("T4")), "mnuTopicMenu");
    prompts.answer(MsgResult::Yes);
    window->menuItem("mnuDeleteFolder")->trigger();
    EXPECT_EQ(prompts.texts(),
              QStringList({"Are you sure you wish to delete the folder Delta and all its Vardecks and sub-folders?"}));
    EXPECT_EQ(idsOnDisk("", ""), QStringList({"T1", "T5"}));
    EXPECT_EQ(topics()->currentItem(), root());
    EXPECT_EQ(window->lblTName->text(), "No folder selected");

    // The root's own menu: the base directory stays.
    prompts.clear();
    rightClick(topics(), root());
    window->menuItem("mnuDeleteFolder")->trigger();
    EXPECT_EQ(prompts.texts(), QStringList({"The base directory cannot be deleted"}));

    rightClick(topics(), node("T5"));
    window->menuItem("mnuOpenF")->trigger();
    EXPECT_EQ(window->lblTName->text(), "Echo");

    // No Vardeck menu's Rename renames the folder selected in the tree, whatever was
    // right-clicked last.
    clickFolder("T1");
    rightClick(window->tvwWM, wmNode("W1"));
    QString renamed;
    {
        ModalDriver driver([&](QDialog *dialog) {
            if (auto *name = dialog->findChild<QLineEdit *>("txtTName"))
                renamed = name->text();
        });
        window->menuItem("mnuModFolder")->trigger();
        EXPECT_EQ(driver.opened(), QStringList({"frmModifyTopic"}));
    }
    EXPECT_EQ(renamed, "Alpha");
}

TEST_F(PopupsTest, newFolderStartsFromTheRememberedFolderOrTheTopLevelWhenItHasGone)
{
    open();
    rightClick(topics(), node("T4"));
    EXPECT_EQ(popups().rememberedFolderTID(), "T4");
    rightClick(topics(), node("T5"));
    const XmlNode gone = doc()->nodeFromID("T5");
    removeElement("T5");
    EXPECT_EQ(popups().rememberedFolderTID(), "");
    // New folders may take the freed element's memory: none of them is the folder
    // that was right-clicked.
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

} // namespace
