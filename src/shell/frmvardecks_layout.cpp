// The two layout handlers: Form_Resize sizes the outer frame and the heights of the
// panes' contents when the window changes; Splitter2_Resize sizes the widths and the
// bottom row of the left pane whenever the main splitter has laid out its panes.
#include "controls/qbbuttons_h.h"
#include "platform/textutil.h"
#include "shell/frmvardecks.h"
#include "shell/splitter.h"
#include "shell/statuspanels.h"
#include "shell/tabstrip.h"
#include "shell/twips.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTextEdit>
#include <QToolBar>
#include <QTreeWidget>
#include <algorithm>
#include <cmath>

namespace rr
{
namespace
{

using namespace twips;
namespace tw = twips;

void setColumnWidth(QTreeWidget *list, int column, double widthTwips)
{
    list->header()->resizeSection(column - 1, sizeToPx(widthTwips));
}

} // namespace

double frmVardecks::ScaleWidth() const
{
    return fromPx(formClient->width());
}
double frmVardecks::ScaleHeight() const
{
    return fromPx(formClient->height());
}
double frmVardecks::outerWidth() const
{
    return fromPx(frameGeometry().width());
}

int frmVardecks::WindowState() const
{
    if (windowState() & Qt::WindowMinimized)
        return 1;
    if (windowState() & (Qt::WindowMaximized | Qt::WindowFullScreen))
        return 2;
    return 0;
}

// The smallest client area at which the layout rules still place every control whole.
// Across: the Web Aspect's strip, which its check box ends, and the left pane as it is
// set, the bar and a right pane that holds the preview's row of buttons (the widest row
// of the details tabs), 30 twips more than the tabs within it. Down: the details tab
// holding the description box (from 2785 down) at its least height, the keyword box
// 100 below it and 1450 high, and the 430 the tab keeps below the fields; the tabs
// start 1280 down the right pane, which is 1220 less than the client area.
QSize frmVardecks::layoutMinimumSize() const
{
    using namespace twips;
    const int strip = chkWebAspectBrowser->geometry().right() + 1 + toPx(120);
    const int rightPane = cmdPreview(5)->geometry().right() + 1 + toPx(100 + 30);
    const int panes = toPx(Splitter2->SplitterPos() + Splitter2->SplitterSize()) + rightPane;
    const int height = int(std::ceil((2785 + 1500 + 100 + 1450 + 430 + 1280 + 1220) / double(kPerPixel)));
    return {std::max(strip, panes), height};
}

// The toolbars, the Web Aspect strip and the status bar hold on to the window's edges.
void frmVardecks::placeAlignedControls()
{
    const int w = formClient->width();
    const int h = formClient->height();
    int top = 0;
    Toolbar1->setGeometry(0, top, w, toPx(420));
    top += toPx(420);
    // Also while hidden: the Web Aspect shows the strip without a resize of its own.
    Picture2->setGeometry(0, top, w, Picture2->height());
    int bottom = h - toPx(375);
    StatusBar1->setGeometry(0, bottom, w, toPx(375));
    bottom -= toPx(330);
    Toolbar2->setGeometry(0, bottom, w, toPx(330));
}

void frmVardecks::showPaneButtons(bool fromFormResize)
{
    const int tab = tabIndex->Tab();
    cmdSearch->setVisible(tab == 1);
    cmdMoveVD->setVisible(tab == 0);
    cmdMoveFolder->setVisible(tab == 0);
    cmdFAdd->setVisible(tab != 0 && tab != 1);
    cmdFDelete->setVisible(tab != 0 && tab != 1);
    if (fromFormResize) {
        Picture5->setVisible(tab == 1);
        Picture4->setVisible(tab != 0 && tab != 1);
        lbl(Lbl::FavoritesCount)->setVisible(tab != 0 && tab != 1);
    }
}

// The description's label has the height of its box. While viewing, the label stands
// in for the box and shows its text at the top, so the keyword row would stand apart
// at the foot of a tall panel: the label is then as tall as its text, no less than
// 855 twips and no more than the box, and the keyword row follows it 80 to 100 twips
// below. While editing the label keeps the box's height. The keyword label ends
// inside the panel.
void frmVardecks::placeKeywordRow()
{
    const int boxHeight = txtDescription->height();
    int descriptionHeight = boxHeight;
    if (!txtDescription->isVisibleTo(PictureDetails)) {
        const int designed = std::min(twips::sizeToPx(855), boxHeight);
        const int text = lblDescription->heightForWidth(lblDescription->width());
        descriptionHeight = std::clamp(text, designed, std::max(designed, boxHeight));
    }
    lblDescription->resize(lblDescription->width(), descriptionHeight);
    const double below = tw::top(lblDescription) + tw::height(lblDescription);
    tw::setTop(lblKeyWords, below + 100);
    tw::setTop(lbl(Lbl::KeywordsCaption), below + 80);
    tw::setTop(cmdEdit(0), below + 80);
    lblKeyWords->resize(lblKeyWords->width(),
                        std::clamp(PictureDetails->height() - lblKeyWords->y(), 0, twips::sizeToPx(1450)));
}

// "Found:" ends before its count whatever the font: a caption wider than the 520 twips
// between the two lefts moves left, the count keeps its place. The frame "Search in"
// draws its caption above its top line; the five rows of boxes start below that line
// and, when the caption takes more than the 200 twips the rows leave above them, stand
// closer together so that the last still ends inside the frame.
void frmVardecks::placeSearchCaptions()
{
    QLabel *found = lbl(Lbl::FoundCaption);
    const int foundWidth = std::max(found->width(), found->sizeHint().width());
    found->resize(foundWidth, found->height());
    const int gap = 4;
    if (found->geometry().right() + gap >= lblFound->x())
        found->move(std::max(0, lblFound->x() - gap - foundWidth), found->y());

    const QList<QCheckBox *> rows[] = {{chkSearch(0), chkSearch(3)},
                                       {chkSearch(1), chkSearch(4)},
                                       {chkSearch(2), chkSearch(5)},
                                       {m_chkOpt6},
                                       {m_chkOptt7}};
    const int boxHeight = toPx(230);
    const int firstTop = std::max(toPx(200), Frame4->contentsRect().top() + 1);
    const int lastTop = Frame4->height() - 2 - boxHeight;
    // The design's rows: 220 twips apart, with 240 before the two option boxes.
    const double designed[] = {0, 220, 440, 680, 900};
    const double scale = std::min(1.0, (lastTop - firstTop) / double(toPx(900)));
    for (int row = 0; row < 5; ++row) {
        for (QCheckBox *box : rows[row])
            box->move(box->x(), firstTop + int(toPx(designed[row]) * scale));
    }
}

void frmVardecks::Form_Resize()
{
    if (m_inFormResize || !Splitter2)
        return;
    m_inFormResize = true;

    if (WindowState() != 1)
        m_lastState = WindowState();

    // The two tab strips would flicker while their pages move; holding back their
    // painting spares that without taking the keyboard focus from them.
    const bool explorer = sameText(m_currentAspect, QStringLiteral("Explorer"));
    const bool holdTabs = explorer && (lblWName->isVisible() || txtWName->isVisible());
    if (holdTabs) {
        tabInfo->setUpdatesEnabled(false);
        tabIndex->setUpdatesEnabled(false);
    }

    const double scaleWidth = ScaleWidth();
    const double scaleHeight = ScaleHeight();
    if (scaleHeight > 1400)
        Splitter1->moveTwips(tw::left(Splitter1), tw::top(Splitter1), tw::width(Splitter1), scaleHeight - 2500);

    showPaneButtons(true);
    Splitter2->moveTwips(tw::left(Splitter2), tw::top(Splitter2), scaleWidth, scaleHeight - 1220);

    tw::setHeight(lstSrch, tw::height(tabIndex) - 2760);
    setColumnWidth(lstSrch, 1, tw::width(tabIndex) - 1000);
    setColumnWidth(lstSrch, 2, 980);
    tw::setHeight(tvwFavs, tw::height(tabIndex) - 1280);
    tw::setHeight(listPop, tw::height(tabIndex) - 400);
    setColumnWidth(listPop, 1, tw::width(tabIndex) - 800);
    setColumnWidth(listPop, 2, 800);

    const double outer = outerWidth();
    tw::setWidth(StatusBar1, outer);
    StatusBar1->setPanelWidth(1, 3000);
    StatusBar1->setPanelWidth(4, 1500);
    StatusBar1->setPanelWidth(3, 2500);
    StatusBar1->setPanelWidth(2, outer - StatusBar1->panelWidth(1) - StatusBar1->panelWidth(3) -
                                     StatusBar1->panelWidth(4));

    if (tw::width(Picture1) > 2520) {
        tw::setWidth(tabInfo, tw::width(tabView) - 30);
        tw::setHeight(tabInfo, tw::height(Picture1) - 1280);
        tw::setWidth(PictureDetails, tw::width(tabInfo));
        tw::setHeight(PictureDetails, tw::height(tabInfo) - 400);
        const double fieldWidth = tw::width(PictureDetails) - 1440;
        const double fieldHeight = qMax(1500.0, tw::height(tabInfo) - 4860);
        for (QWidget *field : {static_cast<QWidget *>(txtDescription), static_cast<QWidget *>(lblDescription)})
            tw::move(field, tw::left(field), tw::top(field), fieldWidth, fieldHeight);
        tw::move(txtKeywords, tw::left(txtKeywords), tw::top(txtDescription) + tw::height(txtDescription) + 100,
                 fieldWidth, 1450);
        tw::move(lblKeyWords, tw::left(lblKeyWords), tw::top(lblDescription) + tw::height(lblDescription) + 100,
                 fieldWidth, 1450);
        tw::setTop(lbl(Lbl::KeywordsCaption), tw::top(lblDescription) + tw::height(lblDescription) + 80);
        tw::setTop(cmdEdit(0), tw::top(lblDescription) + tw::height(lblDescription) + 80);
        tw::setWidth(txtNotes, tw::width(tabInfo));
        tw::setHeight(txtNotes, tw::height(tabInfo) - 395);
        tw::setWidth(wbPreview, tw::width(tabInfo) - 200);
        tw::setHeight(wbPreview, tw::height(tabInfo) - 1380);
        wbPreview->setVisible(true);
        tw::setWidth(Frame2, tw::width(tabView) - 30);
        tw::setHeight(Frame2, tw::height(tabView) - 330);
        placeKeywordRow();
    }

    tw::setWidth(wbWeb, scaleWidth - 100);
    tw::setHeight(wbWeb, scaleHeight - 2040);

    if (explorer && holdTabs) {
        tabInfo->setVisible(true);
        tabInfo->setUpdatesEnabled(true);
    }
    tabIndex->setVisible(true);
    tabIndex->setUpdatesEnabled(true);

    if (firstResize) {
        firstResize = false;
        if (tabIndex->Tab() == 1) {
            prepareSearchBox();
            cmbSearch->setFocus();
        }
    }
    m_inFormResize = false;
}

void frmVardecks::Splitter2_Resize()
{
    if (!tabIndex || !Picture1 || !tabView)
        return;
    const double paneLeft = tw::left(tabIndex);
    const double paneWidth = tw::width(tabIndex);
    tw::setWidth(Splitter1, paneWidth);
    tw::setWidth(listPop, paneWidth);
    setColumnWidth(listPop, 1, paneWidth - 800);
    setColumnWidth(listPop, 2, 800);
    tw::setWidth(lstSrch, paneWidth);
    setColumnWidth(lstSrch, 1, paneWidth - 1000);
    setColumnWidth(lstSrch, 2, 980);
    tw::setWidth(cmbSearch, paneWidth - 500);
    tw::setLeft(lblFound, paneLeft + paneWidth - 780);
    tw::setLeft(lbl(Lbl::FoundCaption), paneLeft + paneWidth - 1300);
    tw::setLeft(cmdSearch, paneLeft + paneWidth - 1300);
    tw::setWidth(Frame4, paneWidth - 250);
    placeSearchCaptions();

    showPaneButtons(false);
    tw::setWidth(tvwFavs, paneWidth);

    if (tw::width(Picture1) > 2520) {
        tw::setWidth(tabView, tw::width(Picture1));
        tw::setHeight(tabView, tw::height(Picture1));
        tw::setWidth(tabInfo, tw::width(tabView) - 30);
        tw::setHeight(tabInfo, tw::height(Picture1) - 1280);
        for (QWidget *list : {static_cast<QWidget *>(listVD), static_cast<QWidget *>(lstSearch)}) {
            tw::setWidth(list, tw::width(tabView));
            tw::setHeight(list, tw::height(tabView) - 400);
        }
        tw::setWidth(Frame2, tw::width(tabView) - 30);
        tw::setHeight(Frame2, tw::height(tabView) - 330);
        tw::setWidth(PictureDetails, tw::width(tabInfo));
        tw::setHeight(PictureDetails, tw::height(tabInfo) - 430);
        const double fieldWidth = tw::width(PictureDetails) - 1440;
        tw::setWidth(txtDescription, fieldWidth);
        tw::setWidth(lblDescription, fieldWidth);
        tw::move(txtKeywords, tw::left(txtKeywords), tw::top(txtDescription) + tw::height(txtDescription) + 100,
                 fieldWidth, tw::height(txtKeywords));
        tw::move(lblKeyWords, tw::left(lblKeyWords), tw::top(lblDescription) + tw::height(lblDescription) + 100,
                 fieldWidth, tw::height(lblKeyWords));
        tw::setWidth(txtNotes, tw::width(tabInfo));
        tw::setWidth(wbPreview, tw::width(tabInfo) - 200);
        wbPreview->setVisible(true);
        // The boxes may start a little after their designed 720 twips (see the panes).
        const double boxShift = tw::left(txtWName) - 720;
        tw::setWidth(txtWName, tw::width(Picture1) - 800 - boxShift);
        tw::setWidth(txtAddress, tw::width(Picture1) - 800 - boxShift);
        tw::setWidth(lblWName, tw::width(Picture1) - 300);
        tw::setWidth(lblAddress, tw::width(Picture1) - 300);
        for (QWidget *label : {static_cast<QWidget *>(lblHome), static_cast<QWidget *>(lblFileSize),
                               static_cast<QWidget *>(lbl(Lbl::Hits))})
            tw::setWidth(label, tw::width(Picture1) - 600);
        placeKeywordRow();
    }

    const double outer = outerWidth();
    StatusBar1->setPanelWidth(1, 3000);
    StatusBar1->setPanelWidth(4, 1500);
    StatusBar1->setPanelWidth(3, 2500);
    StatusBar1->setPanelWidth(2, outer - StatusBar1->panelWidth(1) - StatusBar1->panelWidth(3) -
                                     StatusBar1->panelWidth(4));

    const double bottom = tw::top(tabIndex) + tw::height(tabIndex) - 750;
    for (QWidget *button : {static_cast<QWidget *>(cmdMoveVD), static_cast<QWidget *>(cmdMoveFolder),
                            static_cast<QWidget *>(cmdFAdd), static_cast<QWidget *>(cmdFDelete)})
        tw::setTop(button, bottom);
    for (Lbl index : {Lbl::FavoritesCount, Lbl::VardecksCaption}) {
        tw::setLeft(lbl(index), paneLeft + 2100);
        tw::setTop(lbl(index), bottom);
    }
    tw::setLeft(lbl(Lbl::VardeckCount), paneLeft + 2950);
    tw::setTop(lbl(Lbl::VardeckCount), bottom);
    // The Favorites tab's mark between its buttons and its count, in the row that
    // follows the pane's foot rather than over the list.
    tw::move(Picture4, paneLeft + 1845, bottom + 30, 240, 240);
    // The favourites count runs to the pane's edge: thousands of favourites still show
    // their whole number.
    tw::setWidth(lbl(Lbl::FavoritesCount), qMax(1095.0, tw::width(tabIndex) - 2100 - 120));
}

} // namespace rr
