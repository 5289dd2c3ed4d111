// The Search tab driven as a user would; the ranking, cell and history rules are the core tests'.
#include "findinguifixture.h"

#include "finding/ui/searchpane.h"

using namespace rr;
using test::Vd;

using SearchUiTest = test::FindingUiTest;

TEST_F(SearchUiTest, bothListsFillByMatchesSortOnTheirOwnAndOpenTheirMenus)
{
    openCounted();
    window->lstSearch->header()->resizeSection(2, 123);
    search("q");
    EXPECT_EQ(window->lblFound->text(), "3");
    EXPECT_EQ(column(window->lstSearch, -1), QStringList({"W2", "W1", "W3"}));
    EXPECT_EQ(window->lstSearch->header()->sectionSize(2), 123) << "filling keeps the column widths";

    window->tabView->setTab(2);
    QHeaderView *header = window->lstSearch->header();
    const int x = header->sectionViewportPosition(1) + header->sectionSize(1) / 2;
    QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, QPoint(x, header->height() / 2));
    EXPECT_EQ(column(window->lstSearch, -1), QStringList({"W3", "W1", "W2"}));
    EXPECT_EQ(column(window->lstSrch, -1), QStringList({"W2", "W1", "W3"})) << "each list sorts on its own";
    search("q");
    EXPECT_EQ(column(window->lstSearch, -1), QStringList({"W2", "W1", "W3"})) << "a new fill sorts by matches again";

    // Right clicks record the list and open its menu, except while editing.
    clickRow(window->lstSrch, 1, Qt::RightButton);
    EXPECT_EQ(window->popup.popupListName, "lstSrch");
    EXPECT_TRUE(window->subMenu("mnuListVD")->isVisible());
    window->subMenu("mnuListVD")->hide();

    window->tabView->setTab(2);
    window->lstSearch->clearSelection();
    clickRow(window->lstSearch, 0, Qt::RightButton);
    EXPECT_EQ(window->popup.popupListName, "lstSearch");
    EXPECT_TRUE(window->subMenu("mnuListVDMulti")->isVisible()) << "no row selected before: the several-rows menu";
    window->subMenu("mnuListVDMulti")->hide();

    window->txtMode->setText("add");
    clickRow(window->lstSearch, 1, Qt::RightButton);
    EXPECT_FALSE(window->subMenu("mnuListVD")->isVisible());
    EXPECT_FALSE(window->subMenu("mnuListVDMulti")->isVisible());

    // A left click while editing asks before the edit is lost.
    window->txtMode->setText("mod");
    prompts.answer(MsgResult::No);
    clickRow(window->lstSrch, 0);
    EXPECT_TRUE(shown.isEmpty());
    EXPECT_EQ(prompts.lastText(), "You are about to lose unsaved changes - do you wish to continue?");
}

TEST_F(SearchUiTest, theTickedBoxesChooseTheFieldsAndEnterOrAPickSearchOnce)
{
    open({Vd("W1").name("alpha").notes("beta")});
    window->tabIndex->setTab(1);
    QTest::mouseClick(window->chkSearch(1), Qt::LeftButton); // Name only
    search("beta");
    EXPECT_EQ(prompts.texts(), QStringList{"No search results were found"});
    EXPECT_EQ(window->lblFound->text(), "0");

    // Enter in the search box and a pick from its list search once.
    prompts.clear();
    window->cmbSearch->setFocus();
    window->cmbSearch->setEditText("nothing");
    QTest::keyClick(window->cmbSearch, Qt::Key_Return);
    QCoreApplication::processEvents();
    EXPECT_EQ(prompts.texts(), QStringList{"No search results were found"});

    window->cmbSearch->setEditText("alpha");
    QTest::keyClick(window->cmbSearch, Qt::Key_Return);
    QCoreApplication::processEvents();
    EXPECT_EQ(prompts.messages().size(), 1u);
    EXPECT_EQ(window->lblFound->text(), "1");
    EXPECT_EQ(searchColl, QStringList({"alpha", "nothing", "beta"}));

    // An arrow key in the closed box picks the next entry of its list.
    window->cmbSearch->setCurrentIndex(0);
    QTest::keyClick(window->cmbSearch, Qt::Key_Down);
    EXPECT_EQ(window->cmbSearch->currentText(), "nothing");
    EXPECT_EQ(prompts.messages().size(), 2u);
}

TEST_F(SearchUiTest, aClickShowsTheVardeckWithItsFolderAndOpenFirstResultOpensTheTopRow)
{
    openCounted();
    search("q");
    window->currentTID = "T1";
    window->tabView->setTab(2);
    clickRow(window->lstSrch, 2);
    EXPECT_EQ(shown, QStringList{"W3"});
    EXPECT_EQ(listed, QStringList{"T3"});
    EXPECT_EQ(window->currentTID, "T3") << "the shown folder follows the list";
    EXPECT_EQ(window->lblTName->text(), "Inner");
    EXPECT_EQ(window->StatusBar1->panelText(2), "\\Second\\Inner");
    EXPECT_EQ(window->tabView->Tab(), 0);
    EXPECT_EQ(window->selectedWID, "W3");
    EXPECT_EQ(editModes, QList<bool>{false});
    EXPECT_EQ(ui->search().lstSrchToolTip(window->lstSrch->visualItemRect(window->lstSrch->topLevelItem(2)).center()),
              "http://inner.example/x");

    window->lstSrch->setFocus();
    QTest::keyClick(window->lstSrch, Qt::Key_Up);
    EXPECT_EQ(shown.last(), "W1");

    // The detailed list shows on a double click only.
    window->tabView->setTab(2);
    const QRect rect = window->lstSearch->visualItemRect(window->lstSearch->topLevelItem(2));
    QTest::mouseClick(window->lstSearch->viewport(), Qt::LeftButton, {}, rect.center());
    EXPECT_EQ(shown.last(), "W1");
    QTest::mouseDClick(window->lstSearch->viewport(), Qt::LeftButton, {}, rect.center());
    EXPECT_EQ(shown.last(), "W3");

    // With "open first result" a search opens the top row without counting a visit.
    window->tabIndex->setTab(1);
    QTest::mouseClick(window->chkOpt(6), Qt::LeftButton);
    QTest::mouseClick(window->chkOptt(7), Qt::LeftButton);
    const QByteArray before = test::readBytes(path);

    search("nothing-like-this");
    EXPECT_TRUE(launcher.openedUrls().isEmpty()) << "no first row, nothing opened";
    search("q");
    EXPECT_EQ(launcher.openedUrls(), QStringList{"http://a.example/"});
    EXPECT_EQ(shown.last(), "W2");
    EXPECT_EQ(window->tabView->Tab(), 2);
    EXPECT_EQ(test::readBytes(path), before) << "opening the first result records no visit";
}

TEST_F(SearchUiTest, detailsButtonsSearchAllDataAndToolsItemsOnlyTickTheirBox)
{
    open({Vd("W1").created("06 Dec 2026"), Vd("W2").created("07 Dec 2026").keyword2("06 Dec 2026 10:00:00")});
    QTest::mouseClick(window->chkSearch(4), Qt::LeftButton);
    window->lblCreatedDate->setText("06 Dec 2026");
    window->lblHome->setText("http://www.a.example/");
    window->cmdSearchHome(2)->click();
    EXPECT_EQ(window->cmbSearch->currentText(), "06 Dec 2026");
    EXPECT_EQ(window->tabIndex->Tab(), 1);
    EXPECT_TRUE(window->chkSearch(0)->isChecked());
    EXPECT_EQ(window->lblFound->text(), "2") << "all data holds the last-visited date too";
    window->lbl(3)->setText("06 Dec 2026 10:00:00");
    window->cmbSearch->setEditText(QString());
    window->cmdSearchHome(1)->click();
    EXPECT_EQ(window->cmbSearch->currentText(), "06 Dec 2026") << "the last visit's date without its time";
    window->cmdSearchHome(0)->click();
    EXPECT_EQ(window->cmbSearch->currentText(), "a.example");

    searchColl.clear();
    window->tabIndex->setTab(0);
    window->menuItem("mnuToolsSearchKeywords")->trigger();
    EXPECT_EQ(window->tabIndex->Tab(), 1);
    for (int i = 0; i < 6; ++i)
        EXPECT_EQ(window->chkSearch(i)->isChecked(), i == 5) << i;
    EXPECT_TRUE(searchColl.isEmpty());
}
