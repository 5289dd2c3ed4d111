#include "explorerfixture.h"

using namespace rr;
using namespace rr::test;

namespace
{

const QDateTime kEvening(QDate(2026, 12, 5), QTime(19, 30));

TEST_F(ExplorerTest, openingRecordsTheVisitBeforeTheBrowserStarts)
{
    openDatabase();
    setVisitClock([] { return kEvening; });
    SnapshotLauncher disk([this] { return onDisk("W3", "HITS"); });
    showVardeck("T5", "W3");
    window->runCommand("mnuToolsOpen_Click");
    EXPECT_EQ(disk.opened, QStringList({"https://www.bank.example/login/x 10"})) << "the hits saved before the start";
    EXPECT_EQ(window->lbl(3)->text(), "05 Dec 2026 07:30 PM");
    EXPECT_EQ(window->lbl(14)->text(), "10");
    EXPECT_EQ(row("W3")->text(4), "    10");
    EXPECT_TRUE(window->aspectPageStale[frmVardecks::HitsPage]);
    ASSERT_EQ(recentColl.size(), 1);
    EXPECT_EQ(recentColl[0].getID(), "W3");
    EXPECT_EQ(window->menuItem("second", 0)->text(), "1  Secure bank");
}

TEST_F(ExplorerTest, openCommandsSayWhenNothingIsShownRefuseAnOptionAndFallBackToTheDefaultBrowser)
{
    const VD option{"W4", "Looks like an option", "--help", "06 Dec 2026", "", "", "", "", "", "4", "FALSE"};
    QByteArray body = sampleBody();
    body.replace("<NAME>banana</NAME><VARDECKS>", "<NAME>banana</NAME><VARDECKS>" + option.xml());
    openDatabase(body);
    window->runCommand("mnuToolsOpen_Click");
    EXPECT_EQ(prompts.lastText(), "A Vardeck must be selected to open in the browser window");
    EXPECT_EQ(prompts.messages().back().icon, MsgIcon::None);
    window->runCommand("mnuToolsOpenHome_Click");
    EXPECT_EQ(prompts.lastText(), "A Vardeck must be selected to open its homepage in the browser window");
    EXPECT_EQ(prompts.messages().back().icon, MsgIcon::Information);

    // A refused address is no visit.
    const QByteArray before = fileBytes();
    showVardeck("T6", "W4");
    window->runCommand("mnuToolsOpen_Click");
    EXPECT_TRUE(prompts.lastText().startsWith("The address --help was not opened: "));
    EXPECT_TRUE(launcher.openedUrls().isEmpty());
    EXPECT_EQ(fileBytes(), before);
    EXPECT_EQ(window->lbl(14)->text(), "4");
    EXPECT_TRUE(recentColl.isEmpty());

    window->runCommand("mnuToolsOpenBlank_Click");
    EXPECT_EQ(launcher.openedUrls(), QStringList({"about:blank"}));

    // A chosen browser that is missing falls back to the default browser.
    appOptions().setDefaultBrowser("Op");
    showVardeck("T5", "W3");
    window->runCommand("mnuToolsOpen_Click");
    EXPECT_EQ(launcher.openedUrls(), QStringList({"about:blank", "https://www.bank.example/login/x"}));
}

TEST_F(ExplorerTest, goCommandsWalkTheFolderAndStopAtItsEnds)
{
    const VD a{"W1", "A", "http://a.example/"}, b{"W2", "B", "http://b.example/"}, c{"W3", "C", "http://c.example/"};
    openDatabase("<FOLDERS>" + folderXml("T1", "f", a.xml() + b.xml() + c.xml()) + folderXml("T2", "empty") +
                 "</FOLDERS>");
    clickFolder("T1");
    clickVardeck("W2");
    window->runCommand("mnuNav_Click", 3);
    EXPECT_EQ(window->lblWName->text(), "C");
    // At the end Next keeps C and shows nothing new.
    window->lbl(3)->setText("marker");
    window->runCommand("mnuNav_Click", 3);
    EXPECT_EQ(window->tvwWM->currentItem(), wmNode("W3"));
    EXPECT_EQ(window->lbl(3)->text(), "marker");
    window->runCommand("mnuNav_Click", 1);
    EXPECT_EQ(window->lblWName->text(), "A");
    window->lbl(3)->setText("marker");
    window->runCommand("mnuNav_Click", 2);
    EXPECT_EQ(window->lbl(3)->text(), "marker");
    window->runCommand("mnuNav_Click", 4);
    EXPECT_EQ(window->lblWName->text(), "C");
    EXPECT_EQ(window->selectedWID, "W3");

    // F2 is First.
    QTest::keyClick(window->tvwWM, Qt::Key_F2);
    QCoreApplication::processEvents();
    EXPECT_EQ(window->lblWName->text(), "A");

    // An empty folder: nothing happens.
    clickFolder("T2");
    for (int index = 1; index <= 4; ++index)
        window->runCommand("mnuNav_Click", index);
    EXPECT_EQ(window->lblWName->text(), "No Vardeck selected");
    EXPECT_TRUE(prompts.messages().empty());
}

} // namespace
