#pragma once
// The commands of the six popup menus. The right-click handlers of the trees and
// lists record what was clicked in the window's popup state (w.popup); these commands
// act on that record, or forward to the menu-bar command that does the same job.
//
// Everything remembered is found again by its identifier when a command runs: a
// tree node or list row whose Vardeck or folder has been removed since is skipped,
// a remembered folder that has gone stands for the top level.
#include <QObject>
#include <QString>

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

    // The list popupListName names ("listVD", "listPop", "lstSrch", else lstSearch).
    QTreeWidget *popupList() const;
    // popupFolderTID when that folder is still in the document; ""
    // (the top level) when it is none or has gone.
    QString rememberedFolderTID() const;

private:
    // Shows the right-clicked Vardeck as a click would; true when it is the one shown.
    bool showStep();
    QString popupWid() const;
    void openAction(QTreeWidget *list);
    bool rowIsShown(const QString &wid) const;
    void openRows(QTreeWidget *list);
    void openHomeOf(const QString &wid);
    void copyVardeck(const QString &wid);
    void addToFavorites(QTreeWidget *list, QTreeWidgetItem *row);
    void deleteSelectedRows();

    frmVardecks &w;
    MoveLaunchers &m_moves;
};

} // namespace rr
