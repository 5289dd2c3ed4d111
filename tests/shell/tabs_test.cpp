// The three tab strips: captions, the click handling code also runs, popups and the View menu's order.
#include "storage/xmldatabase.h"
#include "windowfixture.h"

#include <QAction>
#include <QMenu>

#include <tuple>

namespace
{

using TabsTest = rr::test::MainWindowTest;

TEST_F(TabsTest, tabCaptionsKeepTheirBlanksAndAccessLettersAndANameItsAmpersand)
{
    const std::tuple<rr::TabStrip *, int, int, const char *> spots[] = {
        {window->tabIndex, 4, 2, "    Favo&rites   "},
        {window->tabView, 3, 1, "   No folder selected   "},
        {window->tabInfo, 3, 1, "   Previe&w   "}};
    for (const auto &[strip, count, tab, caption] : spots) {
        EXPECT_EQ(strip->Tabs(), count) << caption;
        EXPECT_EQ(strip->TabCaption(tab), caption);
        EXPECT_EQ(strip->shownCaption(tab), caption);
    }
    window->tabView->setTabText(1, "   Fish & Chips   ");
    EXPECT_EQ(window->tabView->TabCaption(1), "   Fish & Chips   ");
    EXPECT_EQ(window->tabView->shownCaption(1), "   Fish && Chips   ");
    window->tabView->setTabText(1, window->tabView->TabCaption(1).trimmed());
    EXPECT_EQ(window->tabView->shownCaption(1), "Fish && Chips") << "reading back and setting again escapes once";
}

TEST_F(TabsTest, pickingATabFromCodeRunsItsClickHandlingAndEnterPressesItsDefaultButton)
{
    record("cmdSearch_Click");
    window->tabIndex->setTab(1);
    EXPECT_FALSE(window->cmdSearch->isHidden());
    EXPECT_EQ(window->defaultButton(), window->cmdSearch);
    EXPECT_TRUE(window->cmdMoveVD->isHidden());
    EXPECT_TRUE(window->cmdFAdd->isHidden());
    EXPECT_TRUE(window->cmbSearch->hasFocus());
    QTest::keyClick(window->cmbSearch, Qt::Key_Return);
    QCoreApplication::processEvents();
    EXPECT_EQ(runs.size(), 1) << "Enter presses the default button";
    setClientSize(800, 600); // the layout shows the pictures of the tab
    EXPECT_FALSE(window->Picture5->isHidden());

    window->tabIndex->setTab(2);
    setClientSize(800, 601);
    EXPECT_FALSE(window->Picture4->isHidden());
    EXPECT_TRUE(window->Picture5->isHidden());
    EXPECT_FALSE(window->cmdFAdd->isHidden());
    EXPECT_FALSE(window->lbl(2)->isHidden());
    EXPECT_TRUE(window->cmdSearch->isHidden());
    EXPECT_EQ(window->defaultButton(), window->cmdFAdd);

    window->tabIndex->setTab(0);
    EXPECT_FALSE(window->cmdMoveVD->isHidden());
    EXPECT_FALSE(window->lbl(11)->isHidden());
    EXPECT_TRUE(window->lbl(2)->isHidden());
    EXPECT_TRUE(prompts.messages().empty()) << "no database: nothing to fill";

    window->tabInfo->setTab(2);
    window->txtNotes->setFocus();
    QTest::keyClick(window->txtNotes, Qt::Key_Return);
    QCoreApplication::processEvents();
    EXPECT_EQ(runs.size(), 1) << "but not in the notes";
    EXPECT_EQ(window->txtNotes->toPlainText(), "\n");
}

TEST_F(TabsTest, theFavoritesAndIndexTabsFillTheirEmptyViewsOnlyWhenNeeded)
{
    record("populateFavsList");
    window->favsColl = {"W1"};
    window->tabIndex->setTab(2);
    EXPECT_TRUE(runs.isEmpty());
    EXPECT_EQ(window->favsColl, QStringList{"W1"}) << "left as it was without a database";

    window->tabIndex->setTab(0);
    window->dbXML = std::make_unique<rr::XMLDatabase>();
    window->tabIndex->setTab(2);
    EXPECT_EQ(runs.size(), 1);
    EXPECT_TRUE(window->favsColl.isEmpty());

    new QTreeWidgetItem(window->tvwFavs, {"A favorite"});
    window->tabIndex->setTab(0);
    window->tabIndex->setTab(2);
    EXPECT_EQ(runs.size(), 1) << "a tree with nodes is not filled again";

    // The Index tab shows the selected folder when its list is empty.
    runs.clear();
    record("populateWMOnTopicNode");
    auto *root = new QTreeWidgetItem(window->tvwTopics, {"Vardecks"});
    auto *folder = new QTreeWidgetItem(root, {"News"});
    window->lblTName->setText("No folder selected");

    window->tvwTopics->setCurrentItem(root);
    window->tabIndex->setTab(1);
    window->tabIndex->setTab(0);
    EXPECT_TRUE(runs.isEmpty()) << "the Index tab never refills the first node";

    window->tvwTopics->setCurrentItem(folder);
    window->tabIndex->setTab(1);
    window->tabIndex->setTab(0);
    EXPECT_EQ(runs.size(), 1);

    window->lblTName->setText("News");
    window->tabIndex->setTab(1);
    window->tabIndex->setTab(0);
    EXPECT_EQ(runs.size(), 1) << "the folder is shown already";
}

TEST_F(TabsTest, viewCommandsPickTabsBeforeOrAfterTheAspectSwitch)
{
    QList<QString> order;
    window->setCommand("showAspectExplorer", [&](int) {
        order << QStringLiteral("explorer index=%1 view=%2 info=%3")
                     .arg(window->tabIndex->Tab())
                     .arg(window->tabView->Tab())
                     .arg(window->tabInfo->Tab());
    });
    window->tabView->setTab(1);
    window->menuItem("mnuViewFavs")->trigger();
    window->menuItem("mnuViewSearchResults")->trigger();
    window->menuItem("mnuViewNotes")->setEnabled(true);
    window->menuItem("mnuViewNotes")->trigger();
    window->menuItem("mnuViewPop")->trigger();
    EXPECT_EQ(order, QList<QString>({"explorer index=2 view=1 info=0", "explorer index=2 view=1 info=0",
                                     "explorer index=2 view=0 info=2", "explorer index=3 view=0 info=2"}));
    EXPECT_EQ(window->tabView->Tab(), 0);
}

TEST_F(TabsTest, rightClicksOpenThePopupThatFitsWhatIsShownAndAMoveRestsTheLinks)
{
    auto rightClick = [&](rr::TabStrip *strip) {
        QTest::mouseClick(strip->tabBar(), Qt::RightButton, Qt::NoModifier, QPoint(5, 5));
    };
    auto shown = [&](const char *menu) {
        const bool visible = window->subMenu(menu)->isVisible();
        window->subMenu(menu)->close();
        return visible;
    };
    rightClick(window->tabIndex);
    EXPECT_TRUE(shown("mnuNoVD"));
    rightClick(window->tabView);
    EXPECT_TRUE(shown("mnuNoVD"));

    rightClick(window->tabInfo);
    EXPECT_TRUE(shown("mnuNoVD")) << "no Vardeck shown";
    window->lblWName->setText("A Vardeck");
    window->lblTName->setText("A folder");
    rightClick(window->tabInfo);
    EXPECT_TRUE(shown("mnuCopyMenu"));
    window->txtMode->setText("add");
    rightClick(window->tabInfo);
    EXPECT_FALSE(shown("mnuCopyMenu"));
    EXPECT_FALSE(shown("mnuNoVD")) << "no popup while a Vardeck is added";

    // Moving over the Index strip rests the links.
    window->StatusBar1->setPanelText(1, "http://example.org/");
    window->Splitter2->setToolTip("http://example.org/");
    QFont underlined = window->lblAddress->font();
    underlined.setUnderline(true);
    window->lblAddress->setFont(underlined);
    window->tabIndex_MouseMove();
    EXPECT_EQ(window->StatusBar1->panelText(1), "");
    EXPECT_EQ(window->Splitter2->toolTip(), "");
    EXPECT_FALSE(window->lblAddress->font().underline());
}

} // namespace
