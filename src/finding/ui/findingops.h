#pragma once
// What the parts above the finding panes (the Explorer, the icon runs) ask of the
// finding lists: the rows selected in them, the rows of Vardecks that went or changed,
// the favourites and the Go commands on their tabs. The finding panes own these: other
// parts include this header and call them directly (they link rr_finding_ui), handing
// the window the panes belong to. A window without the finding panes has no rows in
// them, and these do nothing there. What the
// frame and the options dialog, which the finding panes link, ask of them is offered on
// the window (shell/findingoperations.h: clearSearchResults, populateFavsList,
// showSearchOptions…).
#include "platform/gui/entrylist.h"

#include <QString>
#include <QStringList>

class QObject;

namespace rr
{

// The WID of the row selected in one of the finding lists (its current row when
// selected, else the first selected), "" when none.
QString selectedRowOf(const QObject &window, EntryList list);
// The WIDs of the rows selected in one of the finding lists, first to last; of the
// popular list, which takes one row, its current row.
QStringList selectedRowsOf(const QObject &window, EntryList list);
// The rows of Vardecks the document no longer holds leave the search results and the
// popular list; nothing stays selected in them.
void dropRowsOfGoneVardecks(const QObject &window);
// The rows of these Vardecks leave the popular list (they went with their folder).
void removeVardeckRows(const QObject &window, const QStringList &wids);
// A Vardeck has a new name: the popular list's row says so.
void showNameOf(const QObject &window, const QString &wid, const QString &name);
// A Vardeck has a new site icon: the favourites' node shows it.
void showIconOf(const QObject &window, const QString &wid);

// Makes the Vardeck a favourite, with the "already" and "added" messages.
void addToFavorites(const QObject &window, const QString &wid);
// The favourites popup's show step: the node right-clicked, when it is one of the
// tree's, is selected and shown as a click on it shows it.
void showRightClickedFavorite(const QObject &window);
// The Favorites tab's Add and Delete buttons work or not (a Vardeck shown, no edit).
void enableFavoriteButtons(const QObject &window, bool enabled);

// Go First (1), Previous (2), Next (3) or Last (4) in the list of the Search, Favorites
// or Popular tab, whichever is shown: the row reached is shown as a click on it shows it.
void goToFindingRow(const QObject &window, int move);
// The keyboard went to a Vardeck list: Enter no longer presses the Search button.
void releaseSearchButton(const QObject &window);

} // namespace rr
