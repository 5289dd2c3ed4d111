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
    const int strip = at<QCheckBox>(Place::WebBrowserCheck)->geometry().right() + 1 + toPx(120);
    const int panes = toPx(Splitter2->SplitterPos() + Splitter2->SplitterSize()) + rightPaneLeast();
    const int height = int(std::ceil((2785 + 1500 + 100 + 1450 + 430 + 1280 + 1220) / double(kPerPixel)));
    return {std::max(strip, panes), height};
}

int frmVardecks::rightPaneLeast() const
{
    return at(Place::PreviewButtons)->geometry().right() + 1 + twips::toPx(100 + 30);
}

int frmVardecks::fittedLeftPane(int savedTwips, int clientWidth) const
{
    const double room = twips::fromPx(clientWidth - rightPaneLeast()) - Splitter2->SplitterSize();
    return std::min(savedTwips, std::max(0, int(room)));
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
    at(Place::WebStrip)->setGeometry(0, top, w, at(Place::WebStrip)->height());
    int bottom = h - toPx(375);
    StatusBar1->setGeometry(0, bottom, w, toPx(375));
    bottom -= toPx(330);
    Toolbar2->setGeometry(0, bottom, w, toPx(330));
}

// The folder path's panel takes what the others leave of the window's width.
void frmVardecks::sizeStatusPanels()
{
    StatusBar1->setPanelWidth(int(StatusPanel::Message), 3000);
    StatusBar1->setPanelWidth(int(StatusPanel::Spare), 1500);
    StatusBar1->setPanelWidth(int(StatusPanel::Database), 2500);
    StatusBar1->setPanelWidth(int(StatusPanel::FolderPath), outerWidth() -
                                                                StatusBar1->panelWidth(int(StatusPanel::Message)) -
                                                                StatusBar1->panelWidth(int(StatusPanel::Database)) -
                                                                StatusBar1->panelWidth(int(StatusPanel::Spare)));
}

void frmVardecks::showPaneButtons(bool fromFormResize)
{
    const IndexTab tab = indexTab();
    at<qbButtons_H>(Place::SearchButton)->setVisible(tab == IndexTab::Search);
    at<qbButtons_H>(Place::MoveVardeckButton)->setVisible(tab == IndexTab::Index);
    at<qbButtons_H>(Place::MoveFolderButton)->setVisible(tab == IndexTab::Index);
    at<qbButtons_H>(Place::AddFavoriteButton)->setVisible(tab != IndexTab::Index && tab != IndexTab::Search);
    at<qbButtons_H>(Place::DeleteFavoriteButton)->setVisible(tab != IndexTab::Index && tab != IndexTab::Search);
    if (fromFormResize) {
        at<QLabel>(Place::SearchMark)->setVisible(tab == IndexTab::Search);
        at<QLabel>(Place::FavoritesMark)->setVisible(tab != IndexTab::Index && tab != IndexTab::Search);
        at<QLabel>(Place::FavoritesCount)->setVisible(tab != IndexTab::Index && tab != IndexTab::Search);
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
    const int boxHeight = at<QPlainTextEdit>(Place::DescriptionBox)->height();
    int descriptionHeight = boxHeight;
    if (!at<QPlainTextEdit>(Place::DescriptionBox)->isVisibleTo(at(Place::Details))) {
        const int designed = std::min(twips::sizeToPx(855), boxHeight);
        const int text =
            at<QLabel>(Place::DescriptionLabel)->heightForWidth(at<QLabel>(Place::DescriptionLabel)->width());
        descriptionHeight = std::clamp(text, designed, std::max(designed, boxHeight));
    }
    at<QLabel>(Place::DescriptionLabel)->resize(at<QLabel>(Place::DescriptionLabel)->width(), descriptionHeight);
    const double below = tw::top(at<QLabel>(Place::DescriptionLabel)) + tw::height(at<QLabel>(Place::DescriptionLabel));
    tw::setTop(at<QLabel>(Place::KeywordsLabel), below + 100);
    tw::setTop(at<QLabel>(Place::KeywordsCaption), below + 80);
    tw::setTop(at(Place::KeywordsButton), below + 80);
    at<QLabel>(Place::KeywordsLabel)
        ->resize(
            at<QLabel>(Place::KeywordsLabel)->width(),
            std::clamp(at(Place::Details)->height() - at<QLabel>(Place::KeywordsLabel)->y(), 0, twips::sizeToPx(1450)));
}

// "Found:" ends before its count whatever the font: a caption wider than the 520 twips
// between the two lefts moves left, the count keeps its place. A count longer than its
// 615 twips ("2,632 (500 listed)") grows to the left, its right end where the rules put
// it, and the caption moves left before it.
void frmVardecks::placeSearchCaptions()
{
    QLabel *count = at<QLabel>(Place::FoundCount);
    if (tabIndex) {
        const int designed = tw::sizeToPx(615);
        const int right = tw::toPx(tw::left(tabIndex) + tw::width(tabIndex) - 780) + designed;
        const int width = std::max(designed, count->sizeHint().width());
        count->setGeometry(right - width, count->y(), width, count->height());
    }
    QLabel *found = at<QLabel>(Place::FoundCaption);
    const int foundWidth = std::max(found->width(), found->sizeHint().width());
    found->resize(foundWidth, found->height());
    const int gap = 4;
    if (found->geometry().right() + gap >= at<QLabel>(Place::FoundCount)->x())
        found->move(std::max(0, at<QLabel>(Place::FoundCount)->x() - gap - foundWidth), found->y());
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
    const bool explorer = m_aspect == Aspect::Explorer;
    const bool holdTabs =
        explorer && (at<QLabel>(Place::NameLabel)->isVisible() || at<QLineEdit>(Place::NameBox)->isVisible());
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

    tw::setHeight(at<QTreeWidget>(Place::SearchList), tw::height(tabIndex) - 2760);
    setColumnWidth(at<QTreeWidget>(Place::SearchList), 1, tw::width(tabIndex) - 1000);
    setColumnWidth(at<QTreeWidget>(Place::SearchList), 2, 980);
    tw::setHeight(at<QTreeWidget>(Place::FavoritesTree), tw::height(tabIndex) - 1280);
    tw::setHeight(at<QTreeWidget>(Place::PopularList), tw::height(tabIndex) - 400);
    setColumnWidth(at<QTreeWidget>(Place::PopularList), 1, tw::width(tabIndex) - 800);
    setColumnWidth(at<QTreeWidget>(Place::PopularList), 2, 800);

    tw::setWidth(StatusBar1, outerWidth());
    sizeStatusPanels();

    if (tw::width(Picture1) > 2520) {
        tw::setWidth(tabInfo, tw::width(tabView) - 30);
        tw::setHeight(tabInfo, tw::height(Picture1) - 1280);
        tw::setWidth(at(Place::Details), tw::width(tabInfo));
        tw::setHeight(at(Place::Details), tw::height(tabInfo) - 400);
        const double fieldWidth = tw::width(at(Place::Details)) - 1440;
        const double fieldHeight = qMax(1500.0, tw::height(tabInfo) - 4860);
        for (QWidget *field : {static_cast<QWidget *>(at<QPlainTextEdit>(Place::DescriptionBox)),
                               static_cast<QWidget *>(at<QLabel>(Place::DescriptionLabel))})
            tw::move(field, tw::left(field), tw::top(field), fieldWidth, fieldHeight);
        tw::move(at<QPlainTextEdit>(Place::KeywordsBox), tw::left(at<QPlainTextEdit>(Place::KeywordsBox)),
                 tw::top(at<QPlainTextEdit>(Place::DescriptionBox)) +
                     tw::height(at<QPlainTextEdit>(Place::DescriptionBox)) + 100,
                 fieldWidth, 1450);
        tw::move(at<QLabel>(Place::KeywordsLabel), tw::left(at<QLabel>(Place::KeywordsLabel)),
                 tw::top(at<QLabel>(Place::DescriptionLabel)) + tw::height(at<QLabel>(Place::DescriptionLabel)) + 100,
                 fieldWidth, 1450);
        tw::setTop(at<QLabel>(Place::KeywordsCaption),
                   tw::top(at<QLabel>(Place::DescriptionLabel)) + tw::height(at<QLabel>(Place::DescriptionLabel)) + 80);
        tw::setTop(at(Place::KeywordsButton),
                   tw::top(at<QLabel>(Place::DescriptionLabel)) + tw::height(at<QLabel>(Place::DescriptionLabel)) + 80);
        tw::setWidth(at<QTextEdit>(Place::Notes), tw::width(tabInfo));
        tw::setHeight(at<QTextEdit>(Place::Notes), tw::height(tabInfo) - 395);
        tw::setWidth(at(Place::Preview), tw::width(tabInfo) - 200);
        tw::setHeight(at(Place::Preview), tw::height(tabInfo) - 1380);
        at(Place::Preview)->setVisible(true);
        tw::setWidth(at(Place::VardeckFields), tw::width(tabView) - 30);
        tw::setHeight(at(Place::VardeckFields), tw::height(tabView) - 330);
        placeKeywordRow();
    }

    tw::setWidth(at(Place::WebView), scaleWidth - 100);
    tw::setHeight(at(Place::WebView), scaleHeight - 2040);

    if (explorer && holdTabs) {
        tabInfo->setVisible(true);
        tabInfo->setUpdatesEnabled(true);
    }
    tabIndex->setVisible(true);
    tabIndex->setUpdatesEnabled(true);

    if (m_firstResize) {
        m_firstResize = false;
        if (indexTab() == IndexTab::Search) {
            prepareSearchBox();
            at<QComboBox>(Place::SearchBox)->setFocus();
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
    tw::setWidth(at<QTreeWidget>(Place::PopularList), paneWidth);
    setColumnWidth(at<QTreeWidget>(Place::PopularList), 1, paneWidth - 800);
    setColumnWidth(at<QTreeWidget>(Place::PopularList), 2, 800);
    tw::setWidth(at<QTreeWidget>(Place::SearchList), paneWidth);
    setColumnWidth(at<QTreeWidget>(Place::SearchList), 1, paneWidth - 1000);
    setColumnWidth(at<QTreeWidget>(Place::SearchList), 2, 980);
    tw::setWidth(at<QComboBox>(Place::SearchBox), paneWidth - 500);
    tw::setLeft(at<QLabel>(Place::FoundCount), paneLeft + paneWidth - 780);
    tw::setLeft(at<QLabel>(Place::FoundCaption), paneLeft + paneWidth - 1300);
    tw::setLeft(at<qbButtons_H>(Place::SearchButton), paneLeft + paneWidth - 1300);
    tw::setWidth(at<QGroupBox>(Place::SearchIn), paneWidth - 250);
    placeSearchCaptions();

    showPaneButtons(false);
    tw::setWidth(at<QTreeWidget>(Place::FavoritesTree), paneWidth);

    if (tw::width(Picture1) > 2520) {
        tw::setWidth(tabView, tw::width(Picture1));
        tw::setHeight(tabView, tw::height(Picture1));
        tw::setWidth(tabInfo, tw::width(tabView) - 30);
        tw::setHeight(tabInfo, tw::height(Picture1) - 1280);
        for (QWidget *list : {static_cast<QWidget *>(at<QTreeWidget>(Place::FolderList)),
                              static_cast<QWidget *>(at<QTreeWidget>(Place::SearchResults))}) {
            tw::setWidth(list, tw::width(tabView));
            tw::setHeight(list, tw::height(tabView) - 400);
        }
        tw::setWidth(at(Place::VardeckFields), tw::width(tabView) - 30);
        tw::setHeight(at(Place::VardeckFields), tw::height(tabView) - 330);
        tw::setWidth(at(Place::Details), tw::width(tabInfo));
        tw::setHeight(at(Place::Details), tw::height(tabInfo) - 430);
        const double fieldWidth = tw::width(at(Place::Details)) - 1440;
        tw::setWidth(at<QPlainTextEdit>(Place::DescriptionBox), fieldWidth);
        tw::setWidth(at<QLabel>(Place::DescriptionLabel), fieldWidth);
        tw::move(at<QPlainTextEdit>(Place::KeywordsBox), tw::left(at<QPlainTextEdit>(Place::KeywordsBox)),
                 tw::top(at<QPlainTextEdit>(Place::DescriptionBox)) +
                     tw::height(at<QPlainTextEdit>(Place::DescriptionBox)) + 100,
                 fieldWidth, tw::height(at<QPlainTextEdit>(Place::KeywordsBox)));
        tw::move(at<QLabel>(Place::KeywordsLabel), tw::left(at<QLabel>(Place::KeywordsLabel)),
                 tw::top(at<QLabel>(Place::DescriptionLabel)) + tw::height(at<QLabel>(Place::DescriptionLabel)) + 100,
                 fieldWidth, tw::height(at<QLabel>(Place::KeywordsLabel)));
        tw::setWidth(at<QTextEdit>(Place::Notes), tw::width(tabInfo));
        tw::setWidth(at(Place::Preview), tw::width(tabInfo) - 200);
        at(Place::Preview)->setVisible(true);
        // The boxes may start a little after their designed 720 twips (see the panes).
        const double boxShift = tw::left(at<QLineEdit>(Place::NameBox)) - 720;
        tw::setWidth(at<QLineEdit>(Place::NameBox), tw::width(Picture1) - 800 - boxShift);
        tw::setWidth(at<QLineEdit>(Place::AddressBox), tw::width(Picture1) - 800 - boxShift);
        tw::setWidth(at<QLabel>(Place::NameLabel), tw::width(Picture1) - 300);
        tw::setWidth(at<QLabel>(Place::AddressLabel), tw::width(Picture1) - 300);
        for (QWidget *label : {static_cast<QWidget *>(at<QLabel>(Place::HomeLabel)),
                               static_cast<QWidget *>(at<QLabel>(Place::FileSizeLabel)),
                               static_cast<QWidget *>(at<QLabel>(Place::HitsLabel))})
            tw::setWidth(label, tw::width(Picture1) - 600);
        placeKeywordRow();
    }

    sizeStatusPanels();

    const double bottom = tw::top(tabIndex) + tw::height(tabIndex) - 750;
    for (QWidget *button : {static_cast<QWidget *>(at<qbButtons_H>(Place::MoveVardeckButton)),
                            static_cast<QWidget *>(at<qbButtons_H>(Place::MoveFolderButton)),
                            static_cast<QWidget *>(at<qbButtons_H>(Place::AddFavoriteButton)),
                            static_cast<QWidget *>(at<qbButtons_H>(Place::DeleteFavoriteButton))})
        tw::setTop(button, bottom);
    for (Place caption : {Place::FavoritesCount, Place::VardecksCaption}) {
        tw::setLeft(at<QLabel>(caption), paneLeft + 2100);
        tw::setTop(at<QLabel>(caption), bottom);
    }
    tw::setLeft(at<QLabel>(Place::VardeckCount), paneLeft + 2950);
    tw::setTop(at<QLabel>(Place::VardeckCount), bottom);
    // The Favorites tab's mark between its buttons and its count, in the row that
    // follows the pane's foot rather than over the list.
    tw::move(at<QLabel>(Place::FavoritesMark), paneLeft + 1845, bottom + 30, 240, 240);
    // The favourites count runs to the pane's edge: thousands of favourites still show
    // their whole number.
    tw::setWidth(at<QLabel>(Place::FavoritesCount), qMax(1095.0, tw::width(tabIndex) - 2100 - 120));
}

void frmVardecks::leastSizeFollowsLeftPane()
{
    // Up to the width the window has: a bar dragged far right never widens the window,
    // and one brought back lets the window narrow again.
    const QSize least = layoutMinimumSize();
    formClient->setMinimumSize(std::min(least.width(), formClient->width()), least.height());
}

void frmVardecks::applyFontSize(int &size)
{
    if (size == 0)
        size = 8;
    const Place places[] = {
        Place::FolderTree,    Place::VardeckTree,    Place::SearchList,   Place::FavoritesTree,    Place::PopularList,
        Place::SearchResults, Place::FolderList,     Place::Notes,        Place::DescriptionLabel, Place::KeywordsLabel,
        Place::KeywordsBox,   Place::DescriptionBox, Place::AddressBox,   Place::NameBox,          Place::AddressLabel,
        Place::NameLabel,     Place::SearchBox,      Place::WebSearchBox,
    };
    for (Place place : places) {
        // The fallback face is given to every widget one by one, so the parts of a
        // control keep a font of their own: the size goes to them too, or a tree's
        // in-place editor (a child of its viewport) and a combo box's text stay small.
        QWidget *control = at(place);
        QList<QWidget *> parts = control->findChildren<QWidget *>();
        parts.prepend(control);
        for (QWidget *part : std::as_const(parts)) {
            QFont font = part->font();
            font.setPointSize(size);
            part->setFont(font);
        }
    }
    // Taller rows push the row the user is on down, out of sight: each list and tree
    // shows it whole again.
    for (Place place : places) {
        auto *view = qobject_cast<QAbstractItemView *>(at(place));
        if (view && view->currentIndex().isValid())
            view->scrollTo(view->currentIndex());
    }
    if (size == 8 || size == 9) {
        twips::setHeight(at(Place::AddressBox), 280);
        twips::setHeight(at(Place::NameBox), 280);
        twips::setHeight(at(Place::WebSearchBox), 280);
    } else if (size == 10 || size == 11) {
        twips::setHeight(at(Place::NameBox), 300);
        twips::setHeight(at(Place::WebSearchBox), 300);
    }
}

} // namespace rr
