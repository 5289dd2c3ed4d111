#pragma once
// The folder picker of the PDF import: a tree of the file system's folders that
// starts at the home folder, the chosen folder under it, and "Import all
// sub-folders". OK leaves the folder in chosenFolderPath and the box in
// pdfIncludeSubfolders; Cancel and the close box leave chosenFolderPath empty.
#include "storage/ui/buttondialog.h"

class QCheckBox;
class QFileSystemModel;
class QTreeView;

namespace rr
{

// The folder picked in the last use of the picker ("" when it was cancelled), and
// whether its sub-folders are to be imported too (1) or not (0).
inline QString chosenFolderPath;
inline int pdfIncludeSubfolders = 0;

class frmDirSelect : public ButtonDialog
{
    Q_OBJECT
public:
    explicit frmDirSelect(QWidget *parent = nullptr, const QString &startFolder = QString());

    // Shows the picker modally; true when a folder was chosen.
    static bool run(QWidget *parent);

    // The folder the list has open (the one OK takes).
    QString currentFolder() const { return m_current; }
    void setCurrentFolder(const QString &path);

    QLabel *Label2 = nullptr;
    QTreeView *Dir1 = nullptr;
    QLabel *lblTopicName = nullptr;
    QCheckBox *Check1 = nullptr;
    qbButtons_H *cmdCancel = nullptr;
    qbButtons_H *cmdSave = nullptr;

private:
    void revealCurrent();
    void cmdSave_Click();
    void cmdCancel_Click();

    QFileSystemModel *m_model = nullptr;
    QString m_current;
};

} // namespace rr
