#include "popupsfixture.h"

using namespace rr;
using namespace rr::test;

namespace
{

TEST_F(PopupsTest, moveButtonsSayWhenNothingIsShownAndDoNothingAwayFromTheIndexTab)
{
    open();
    {
        ModalDriver driver;
        window->runCommand("cmdMoveVD_Click");
        window->runCommand("cmdMoveFolder_Click");
        EXPECT_TRUE(driver.opened().isEmpty());
    }
    ASSERT_EQ(prompts.messages().size(), 2u);
    EXPECT_EQ(prompts.messages()[0].text, "No Vardeck has been selected to move");
    EXPECT_EQ(prompts.messages()[0].icon, MsgIcon::None);
    EXPECT_EQ(prompts.messages()[0].title, "Razuzezu Revidod");
    EXPECT_EQ(prompts.messages()[1].text, "No folder has been selected to move");

    prompts.clear();
    window->tabIndex->setTab(1);
    window->runCommand("cmdMoveFolder_Click");
    EXPECT_TRUE(prompts.messages().empty());
}

TEST_F(PopupsTest, moveVardeckButtonMovesTheShownVardeckAndKeepsTheShownFolder)
{
    open();
    showVardeck("T1", "W2");
    QString source;
    {
        ModalDriver driver([&](QDialog *dialog) {
            source = dialog->findChild<QLabel *>("lblCurrentTopic")->text();
            chooseAndSave(dialog, "T4");
        });
        window->cmdMoveVD->click();
        EXPECT_EQ(driver.opened(), QStringList({"frmMoveVardeck"}));
    }
    EXPECT_EQ(source, "Alpha");
    EXPECT_EQ(idsOnDisk("T4", "VARDECKS"), QStringList({"W5", "W2"}));
    EXPECT_EQ(window->popup.moveFromTID, "T1");
    // The source folder stays shown, and it is the folder the window's commands act on.
    EXPECT_EQ(window->currentTID, "T1");
    EXPECT_EQ(window->lblTName->text(), "Alpha");
    EXPECT_EQ(rowIds(), QStringList({"W4", "W1", "W3"}));
    EXPECT_EQ(window->lblWName->text(), "No Vardeck selected");
    EXPECT_TRUE(window->aspectPageStale[frmVardecks::AllPage]);
}

TEST_F(PopupsTest, movingSelectedRowsKeepsTheirListOrder)
{
    open();
    clickFolder("T1");
    selectRows({"W2", "W3"});
    window->popup.popupListName = "listVD";
    QString moving;
    {
        ModalDriver driver([&](QDialog *dialog) {
            moving = dialog->findChild<QLabel *>("lblWMName")->text();
            chooseAndSave(dialog, "T5");
        });
        window->menuItem("mnuMulti", 2)->trigger();
    }
    EXPECT_EQ(moving, "Selected Vardecks");
    EXPECT_EQ(window->popup.moveVDWID, "");
    EXPECT_EQ(idsOnDisk("T5", "VARDECKS"), QStringList({"W3", "W2"}));
    EXPECT_EQ(rowIds(), QStringList({"W4", "W1"}));
    EXPECT_EQ(window->currentTID, "T1");
}

TEST_F(PopupsTest, listMoveOfAVardeckAwayFromTheIndexTabShowsTheTargetFolder)
{
    open();
    showVardeck("T1", "W1");
    selectRows({"W1"});
    window->popup.popupListName = "listVD";
    window->tabIndex->setTab(3);
    {
        ModalDriver driver([&](QDialog *dialog) { chooseAndSave(dialog, "T4"); });
        window->menuItem("mnuList", 7)->trigger();
    }
    EXPECT_EQ(idsOnDisk("T4", "VARDECKS"), QStringList({"W5", "W1"}));
    EXPECT_EQ(window->lblWName->text(), "One");
    EXPECT_EQ(window->lblTName->text(), "Delta");
    EXPECT_EQ(window->currentTID, "T4");
}

TEST_F(PopupsTest, moveDialogsNeverOpenOnAVardeckOrFolderThatHasGone)
{
    open();
    clickFolder("T1");
    rightClick(window->tvwWM, wmNode("W3"));
    removeElement("W3");
    rightClick(topics(), node("T5"));
    removeElement("T5");
    const QByteArray before = fileBytes();
    {
        ModalDriver driver;
        window->menuItem("mnuMoveVD")->trigger();
        window->menuItem("mnuMoveFolder")->trigger();
        // Rows whose Vardecks have all gone.
        clickFolder("T4");
        selectRows({"W5"});
        removeElement("W5");
        window->popup.popupListName = "listVD";
        window->menuItem("mnuMulti", 2)->trigger();
        EXPECT_TRUE(driver.opened().isEmpty());
    }
    EXPECT_EQ(prompts.texts(),
              QStringList({"No Vardeck has been selected to move", "No folder has been selected to move",
                           "No Vardeck has been selected to move"}));
    EXPECT_EQ(fileBytes(), before);

    // The root's folder menu holds no folder to move either.
    prompts.clear();
    rightClick(topics(), root());
    window->menuItem("mnuMoveFolder")->trigger();
    EXPECT_EQ(prompts.texts(), QStringList({"No folder has been selected to move"}));
}

TEST_F(PopupsTest, moveFolderRebuildsTheTreeWithTheFolderInItsNewPlace)
{
    open();
    clickFolder("T2");
    ASSERT_FALSE(window->StatusBar1->panelText(2).isEmpty());
    {
        ModalDriver driver([&](QDialog *dialog) { chooseAndSave(dialog, ""); });
        window->cmdMoveFolder->click();
        EXPECT_EQ(driver.opened(), QStringList({"frmMoveTopic"}));
    }
    EXPECT_EQ(idsOnDisk("", ""), QStringList({"T1", "T4", "T5", "T2"}));
    ASSERT_NE(node("T2"), nullptr);
    EXPECT_EQ(node("T2")->parent(), root());
    EXPECT_EQ(window->StatusBar1->panelText(2), "");
    EXPECT_TRUE(topics()->isVisible());
}

} // namespace
