#pragma once
// "New folder": the user picks where the folder goes (the root for the top level)
// and types its name; Save adds the FOLDER, saves and reports FolderCreated. A new
// database has no folders: this dialog makes the first one.
#include "dialogs/folderdialog.h"

class QLineEdit;

namespace rr
{

class frmTopicDialog : public FolderDialog
{
    Q_OBJECT
public:
    using Created = std::function<void(const FolderCreated &)>;
    // parentTID: the folder to create the new one under; "" or a folder that no
    // longer exists starts at the root.
    frmTopicDialog(XMLDatabase &db, const QString &parentTID, FolderDialogHost &host, Created onCreated,
                   QWidget *parent = nullptr);

    // Shows the dialog modally; true when a folder was created.
    static bool run(XMLDatabase &db, const QString &parentTID, FolderDialogHost &host, Created onCreated,
                    QWidget *parent = nullptr);

private:
    void showSelectedFolder();
    void nameChanged(const QString &text);
    void saveClicked();

    Created m_onCreated;
    QLabel *lblTopicName = nullptr;
    QLabel *Label1 = nullptr;
    QLineEdit *txtTName = nullptr;
};

} // namespace rr
