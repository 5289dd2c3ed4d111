#pragma once
// "Rename folder": opens on one folder with its name selected in the name box; the
// user may pick another folder in the tree. Save writes the NAME, saves and reports
// FolderRenamed. The root cannot be renamed.
#include "dialogs/folderdialog.h"

class QLineEdit;

namespace rr
{

class frmModifyTopic : public FolderDialog
{
    Q_OBJECT
public:
    using Renamed = std::function<void(const FolderRenamed &)>;
    // folderTID: the folder to rename (the right-clicked one, else the shown one);
    // "" or an identifier that matches nothing starts at the root.
    frmModifyTopic(XMLDatabase &db, const QString &folderTID, FolderDialogHost &host, Renamed onRenamed,
                   QWidget *parent = nullptr);

    static bool run(XMLDatabase &db, const QString &folderTID, FolderDialogHost &host, Renamed onRenamed,
                    QWidget *parent = nullptr);

private:
    void nodeChosen();
    void showSelectedFolder();
    void nameChanged(const QString &text);
    void saveClicked();

    Renamed m_onRenamed;
    QLabel *lblTopicName = nullptr;
    QLabel *Label1 = nullptr;
    QLineEdit *txtTName = nullptr;
};

} // namespace rr
