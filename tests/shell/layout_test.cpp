// The main window's layout rules at a small and a large size, the guards at their
// edges, and what a move of the main splitter alone changes.
#include "windowfixture.h"

#include <QHeaderView>

namespace
{

namespace tw = rr::twips;

int px(double twips)
{
    return tw::sizeToPx(twips);
}

struct LayoutTest : rr::test::MainWindowTest {
    // The rules that hold at any size, checked against the window's own inner size.
    void expectFrameRules(int barPos = 3944)
    {
        const double sw = window->ScaleWidth();
        const double sh = window->ScaleHeight();
        const rr::frmVardecks &w = *window;
        EXPECT_EQ(w.Toolbar1->geometry(), QRect(0, 0, w.formClient->width(), px(420)));
        EXPECT_EQ(w.StatusBar1->y(), w.formClient->height() - px(375));
        EXPECT_EQ(w.Toolbar2->y(), w.formClient->height() - px(375) - px(330));
        EXPECT_EQ(w.Splitter2->geometry(), QRect(0, px(420), px(sw), px(sh - 1220)));

        // Splitter2's two panes: the bar stays where it was put as long as the right pane has room.
        const int pos = std::min(barPos, int(sw) - 80);
        EXPECT_EQ(w.tabIndex->geometry(), QRect(0, 0, px(pos), w.Splitter2->height()));
        EXPECT_EQ(w.Picture1->geometry(), QRect(px(pos + 80), 0, px(sw - pos - 80), w.Splitter2->height()));

        const double paneW = tw::width(w.tabIndex);
        const double paneH = tw::height(w.tabIndex);
        EXPECT_EQ(w.lstSrch->size(), QSize(px(paneW), px(paneH - 2760)));
        EXPECT_EQ(w.lstSrch->header()->sectionSize(0), px(paneW - 1000));
        EXPECT_EQ(w.lstSrch->header()->sectionSize(1), px(980));

        const int bottom = tw::toPx(paneH - 750);
        EXPECT_EQ(w.cmdMoveVD->y(), bottom);
        EXPECT_EQ(w.cmdFDelete->y(), bottom);

        const double outer = window->outerWidth();
        EXPECT_EQ(w.StatusBar1->panelWidth(1), 3000);
        EXPECT_EQ(w.StatusBar1->panelWidth(2), std::max(0.0, outer - 7000));

        EXPECT_EQ(w.wbWeb->size(), QSize(px(sw - 100), px(sh - 2040)));
        EXPECT_EQ(w.wbWeb->pos(), QPoint(tw::toPx(50), tw::toPx(1180)));
    }

    void expectRightPaneRules(double detailsBelowTabs)
    {
        const rr::frmVardecks &w = *window;
        EXPECT_EQ(w.tabView->size(), w.Picture1->size());
        const double viewW = tw::width(w.tabView);
        EXPECT_EQ(w.tabInfo->size(), QSize(px(viewW - 30), px(tw::height(w.Picture1) - 1280)));
        const double infoW = tw::width(w.tabInfo);
        const double infoH = tw::height(w.tabInfo);
        EXPECT_EQ(w.PictureDetails->size(), QSize(px(infoW), px(infoH - detailsBelowTabs)));
        const double fieldW = tw::width(w.PictureDetails) - 1440;
        EXPECT_EQ(w.txtDescription->width(), px(fieldW));
        EXPECT_EQ(w.txtKeywords->y(), tw::toPx(tw::top(w.txtDescription) + tw::height(w.txtDescription) + 100));
        EXPECT_EQ(w.txtNotes->width(), px(infoW));
        // The name box keeps its right edge where the rule puts it, starting after its caption.
        EXPECT_EQ(w.txtWName->width(), px(tw::width(w.Picture1) - 800 - (tw::left(w.txtWName) - 720)));
        EXPECT_GT(w.txtWName->x(), w.lbl(25)->geometry().right());
    }
};

TEST_F(LayoutTest, largeWindowLaysOutEveryPane)
{
    setClientSize(1400, 900);
    ASSERT_EQ(window->ScaleWidth(), 21000);
    ASSERT_EQ(window->ScaleHeight(), 13500);
    expectFrameRules();
    EXPECT_EQ(window->Splitter1->height(), px(13500 - 2500));
    expectRightPaneRules(400);
    const double infoH = rr::twips::height(window->tabInfo);
    EXPECT_EQ(window->txtDescription->height(), px(std::max(1500.0, infoH - 4860)));
    EXPECT_EQ(window->txtNotes->height(), px(infoH - 395));
}

TEST_F(LayoutTest, smallWindowKeepsTheRightPaneAndClampsNegativeSizes)
{
    setClientSize(1400, 900);
    const QSize viewBefore = window->tabView->size();
    setClientSize(300, 200);
    ASSERT_EQ(window->ScaleWidth(), 4500);
    expectFrameRules();
    EXPECT_EQ(window->Splitter1->height(), px(3000 - 2500));
    EXPECT_EQ(window->lstSrch->height(), 0) << "a negative height becomes 0";
    EXPECT_EQ(window->StatusBar1->panelWidth(2), 0) << "narrower than 7000 twips";
    EXPECT_EQ(window->tabView->size(), viewBefore) << "the right pane is too narrow to lay out";
}

TEST_F(LayoutTest, theGuardsHoldAtTheirEdges)
{
    setClientSize(600, 400);
    const int splitter1Height = window->Splitter1->height();
    setClientSize(600, 93); // 1395 twips: not above 1400
    EXPECT_EQ(window->Splitter1->height(), splitter1Height);
    setClientSize(600, 94); // 1410 twips: 1410 - 2500 is clamped
    EXPECT_EQ(window->Splitter1->height(), 0);

    setClientSize(700, 500);
    const QSize viewBefore = window->tabView->size();
    setClientSize(436, 500); // the right pane exactly 2520 twips wide
    EXPECT_EQ(rr::twips::width(window->Picture1), 2520);
    EXPECT_EQ(window->tabView->size(), viewBefore);
    setClientSize(437, 500);
    EXPECT_GT(rr::twips::width(window->Picture1), 2520);
    EXPECT_EQ(window->tabView->size(), window->Picture1->size());
}

TEST_F(LayoutTest, tallDetailsGiveTheDescriptionTheRestAndShortOnesItsMinimum)
{
    setClientSize(1000, 1000);
    double infoH = rr::twips::height(window->tabInfo);
    ASSERT_GT(infoH - 4860, 1500);
    EXPECT_EQ(window->txtDescription->height(), px(infoH - 4860));
    setClientSize(1000, 500);
    infoH = rr::twips::height(window->tabInfo);
    ASSERT_LT(infoH - 4860, 1500);
    EXPECT_EQ(window->txtDescription->height(), px(1500));
    EXPECT_EQ(window->lblDescription->height(), px(1500));
}

TEST_F(LayoutTest, theKeywordsEditButtonSitsInsideThePanelBeforeItsCaption)
{
    setClientSize(1380, 840);
    const QRect button = window->cmdEdit(0)->geometry();
    EXPECT_GE(button.left(), 2) << "clear of the panel's frame";
    EXPECT_LT(button.right(), window->lbl(9)->geometry().left());
    EXPECT_EQ(button.top(), window->lbl(9)->geometry().top());
    EXPECT_EQ(window->lblKeyWords->y(), window->lblDescription->geometry().bottom() + 1 + px(100));
}

TEST_F(LayoutTest, movingTheMainBarAloneRelaysTheWidthsButNotTheHeights)
{
    setClientSize(1000, 700);
    const int descriptionHeight = window->txtDescription->height();
    window->Splitter2->setSplitterPos(5000);
    EXPECT_EQ(window->tabIndex->width(), px(5000));
    expectFrameRules(5000); // widths follow the bar
    expectRightPaneRules(430);
    EXPECT_EQ(window->txtDescription->height(), descriptionHeight);
    setClientSize(1000, 701);
    expectRightPaneRules(400);
}

TEST_F(LayoutTest, lastStateSkipsMinimisedAndTheFirstResizePreparesTheSearchBox)
{
    window->setWindowState(Qt::WindowMaximized);
    QCoreApplication::processEvents();
    EXPECT_EQ(window->LastState, 2);
    window->setWindowState(Qt::WindowMinimized);
    QCoreApplication::processEvents();
    EXPECT_EQ(window->LastState, 2);
    window->setWindowState(Qt::WindowNoState);
    QCoreApplication::processEvents();
    EXPECT_EQ(window->LastState, 0);

    window->tabIndex->setTab(1);
    window->cmbSearch->setEditText("earlier search");
    window->tvwTopics->setFocus();
    window->firstResize = true;
    setClientSize(810, 610);
    EXPECT_FALSE(window->firstResize);
    EXPECT_TRUE(window->cmbSearch->hasFocus());
    EXPECT_EQ(window->cmbSearch->currentText(), "earlier search");
    EXPECT_EQ(window->cmbSearch->lineEdit()->selectedText(), "earlier search");
}

TEST_F(LayoutTest, resizingKeepsTheFocusInTheDetails)
{
    window->lblWName->show();
    window->txtWName->show();
    window->txtWName->setFocus();
    setClientSize(900, 650);
    EXPECT_TRUE(window->txtWName->hasFocus());
    EXPECT_TRUE(window->tabInfo->isVisible());
    EXPECT_TRUE(window->tabIndex->isVisible());
}

} // namespace

TEST_F(LayoutTest, previewButtonsShowTheirWholeCaptionsOnOneLine)
{
    setClientSize(1000, 700);
    for (int i = 0; i < 6; ++i) {
        const rr::qbButtons_H *button = window->cmdPreview(i);
        // The caption wraps at the button's inner width (8 pixels of frame): a word
        // pushed to a second line would fall below a one-line button.
        const int captionWidth = QFontMetrics(button->font()).horizontalAdvance(button->Caption());
        EXPECT_LE(captionWidth, button->width() - 8) << button->Caption().toStdString();
        if (i > 0)
            EXPECT_LT(window->cmdPreview(i - 1)->geometry().right(), button->x()) << i;
    }
}

TEST_F(LayoutTest, theFavouritesCountShowsAFiveDigitNumberWhole)
{
    window->tabIndex->setTab(2);
    window->lbl(2)->setText("Favorites: 32767");
    setClientSize(800, 600);
    const QLabel *count = window->lbl(2);
    EXPECT_LE(QFontMetrics(count->font()).horizontalAdvance(count->text()), count->width());
    EXPECT_LE(count->geometry().right(), window->tabIndex->width());
}
