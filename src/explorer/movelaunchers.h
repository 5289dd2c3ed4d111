#pragma once
// The Move Vardeck and Move folder dialogs as the main window opens them (the buttons
// under the folder tree, the popup menus), and what the window shows after a move.
//
// The dialogs are given identifiers found afresh when they open: a Vardeck or folder
// that matches nothing (removed since it was clicked) opens no dialog and is reported
// as no selection.
#include <QObject>
#include <QString>
#include <QStringList>

class QTreeWidget;

namespace rr
{

class frmVardecks;
struct FolderMoved;
struct VardecksMoved;

class MoveLaunchers : public QObject
{
    Q_OBJECT
public:
    explicit MoveLaunchers(frmVardecks &w);

    // The move state of the window (moveVDWID, popupFolderTID, moveFromTID), then the
    // Move Vardeck dialog for the one Vardeck wid. False when no dialog was shown or
    // nothing was moved.
    bool moveOneVardeck(const QString &wid);
    // The same for the Vardecks of the selected rows of a list, in list order, coming
    // from fromTID.
    bool moveSelectedRows(const QStringList &wids, const QString &fromTID);
    // The Move folder dialog for the folder tid ("" or a vanished folder: none).
    bool moveFolder(const QString &tid);

    void cmdMoveVD_Click();
    void cmdMoveFolder_Click();

private:
    void vardecksMoved(const VardecksMoved &moved, const QString &movedCaption);
    void folderMoved(const FolderMoved &moved);

    frmVardecks &w;
};

} // namespace rr
