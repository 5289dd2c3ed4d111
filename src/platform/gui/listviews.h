#pragma once
// How the main window's lists and trees keep their headers and the keyboard's place.
// - A list sorted by its own code (a header click, a refill) never has Qt's sorting on:
//   Qt would re-sort on every insertion and take header clicks its own way. Turning
//   Qt's sorting off also makes the header sections unclickable, so a list is set up
//   once with sortByHand and never calls setSortingEnabled again.
// - A result list that gets the focus from the keyboard or a command with nothing
//   selected selects the row the keyboard is on (the first when none), so the arrows
//   move on from a row that shows as chosen and a single result can be chosen at all.
// - After a row goes, the keyboard stays in the view on the row next to it, which is
//   not chosen by that (no Vardeck is shown); Enter there chooses it first.
#include <QString>

#include <functional>

class QAbstractItemView;
class QTreeWidget;

namespace rr
{

// The list sorts only when its code sorts it; its header sections stay clickable and
// show the order the code gives.
void sortByHand(QTreeWidget *list);

// Watches view: the focus arriving by Tab, Shift+Tab, a shortcut or a command while
// no row is selected selects the current row, or the first.
void selectCurrentOnFocus(QAbstractItemView *view);

// Each key pressed and released in view runs shown as the key is released, so that
// moving with the arrows shows each row reached. A release whose press went elsewhere
// (the Tab or the shortcut that brought the focus here), or was a command's key (with
// Ctrl, Alt or the logo key), runs nothing.
void showRowOnKeyRelease(QAbstractItemView *view, std::function<void()> shown);

// Selects the row the keyboard is on when none is selected, for Enter to act on it.
void chooseKeyboardRow(QAbstractItemView *view);
// Gives view the focus, its keyboard on the top-level row tagged tag when there is
// one; no row is selected by it.
void focusRowTagged(QAbstractItemView *view, const QString &tag);

// The Go commands First (1), Previous (2), Next (3) and Last (4) in a view that holds
// its Vardecks at one level. The selection moves and shown shows the row reached, as a
// click on it does. First and Last go to the first and the last row shown; in a tree
// Previous and Next stop at either end without showing anything, in a list they leave
// the end row selected and show it again; without a selected row they do nothing.
// When an edit was under way (editing) and still is after shown (the user chose to
// keep it), the highlight goes back to the row it was on and the keyboard stays where
// it was; otherwise the view takes the keyboard.
void goToRow(QTreeWidget *view, bool tree, int move, const std::function<bool()> &editing,
             const std::function<void()> &shown);

} // namespace rr
