#pragma once
// The commands of the six popup menus. The right-click handlers of the trees and
// lists record what was clicked in the window's popup state (w.popup); these commands
// act on that record, or forward to the menu-bar command that does the same job.
//
// Everything remembered is found again by its identifier when a command runs: a
// tree node or list row whose Vardeck or folder has been removed since is skipped,
// a remembered folder that has gone stands for the top level.
#include "platform/gui/entrylist.h"

#include <QObject>
#include <QString>
#include <QStringList>

class QTreeWidget;
class QTreeWidgetItem;

namespace rr
{

class frmVardecks;
class MoveLaunchers;

class PopupCommands : public QObject
{
    Q_OBJECT
public:
    PopupCommands(frmVardecks &w, MoveLaunchers &moves);

    // mnuStartVD: a Vardeck node of tvwWM or tvwFavs.
    void mnuOpenN_Click();
    void mnuOpenVD_Click();
    void mnuOpenVDHome_Click();
    void mnuMoveVD_Click();
    void mnuModVD_Click();
    void mnuDeleteVD_Click();
    void mnuCopyVD_Click();
    // mnuTopicMenu: a folder node of tvwTopics (mnuNewFolder_Click also for mnuNoVD).
    void mnuNewFolder_Click();
    void mnuOpenF_Click();
    void mnuMoveFolder_Click();
    void mnuRenameFolder_Click();
    void mnuDeleteFolder_Click();
    // mnuNoVD.
    void mnuModFolder_Click();
    // mnuListVD and mnuListVDMulti.
    void mnuList_Click(int index);
    void mnuMulti_Click(int index);

    // The WID of the row selected in the list that showed the list popup (its current
    // row when selected, else the first selected), and the WIDs of its selected rows
    // (of the popular list, which takes one row, its current row); "" and none when
    // there are none. The folder's list is the explorer's own; the others are asked of
    // the finding panes that own them.
    QString selectedRowOf(EntryList list) const;
    QStringList selectedRowsOf(EntryList list) const;
    // popupFolderTID when that folder is still in the document; ""
    // (the top level) when it is none or has gone.
    QString rememberedFolderTID() const;

private:
    // Shows the right-clicked Vardeck as a click would; true when it is the one shown.
    bool showStep();
    QString popupWid() const;
    void openAction(EntryList list);
    bool rowIsShown(const QString &wid) const;
    // Whether Update Vardeck of a row's popup may go on to show wid and modify it: the
    // Vardeck being modified is left as it is (false, nothing asked), as Ctrl+U leaves
    // it; for any other the edit under way is ended first, after the question.
    bool mayUpdate(const QString &wid) const;
    void openRows(EntryList list);
    void openHomeOf(const QString &wid);
    void copyVardeck(const QString &wid);
    void deleteSelectedRows();
    // The list the multi-row popup acts on: the folder's list or the search results.
    EntryList multiRowList() const;

    frmVardecks &w;
    MoveLaunchers &m_moves;
};

} // namespace rr
