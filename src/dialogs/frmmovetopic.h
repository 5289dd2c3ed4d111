#pragma once
// "Move folder": moves one folder, with everything under it, to the end of another
// folder's sub-folders or of the top level. A move into the folder's own sub-folder
// is refused. Save saves and reports FolderMoved; the main window rebuilds its tree.
#include "dialogs/folderdialog.h"

namespace rr
{

class frmMoveTopic : public FolderDialog
{
    Q_OBJECT
public:
    using Moved = std::function<void(const FolderMoved &)>;
    frmMoveTopic(XMLDatabase &db, const QString &folderTID, FolderDialogHost &host, Moved onMoved,
                 QWidget *parent = nullptr);

    // False, after saying "No folder has been selected to move", when folderTID names
    // no folder; the dialog is not to be opened then.
    static bool checkRequest(const XMLDatabase &db, const QString &folderTID);
    static bool run(XMLDatabase &db, const QString &folderTID, FolderDialogHost &host, Moved onMoved,
                    QWidget *parent = nullptr);

private:
    void showTargetFolder();
    void saveClicked();

    QString m_movedTID;
    Moved m_onMoved;
    QLabel *Label3 = nullptr;
    QLabel *lblCurrentFolder = nullptr;
    QLabel *Label4 = nullptr;
    QLabel *lblNewFolder = nullptr;
};

} // namespace rr
