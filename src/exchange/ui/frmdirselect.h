#pragma once
// The folder picker of the PDF import: a tree of the file system's folders that
// starts at the home folder, the chosen folder under it, and "Import all
// sub-folders". OK makes the folder and the box the picker's choice; Cancel and the
// close box leave none.
#include "storage/ui/buttondialog.h"

#include <optional>

class QCheckBox;
class QFileSystemModel;
class QTreeView;

namespace rr
{

// The folder picked, and whether its sub-folders are to be imported too.
struct FolderChoice {
    QString folder;
    bool includeSubfolders = false;
};

class frmDirSelect : public ButtonDialog
{
    Q_OBJECT
public:
    explicit frmDirSelect(QWidget *parent = nullptr, const QString &startFolder = QString());

    // Shows the picker modally; the choice, or none when it was cancelled.
    static std::optional<FolderChoice> run(QWidget *parent);
    std::optional<FolderChoice> choice() const { return m_choice; }

    // The folder the list has open (the one OK takes).
    QString currentFolder() const { return m_current; }
    void setCurrentFolder(const QString &path);

private:
    std::optional<FolderChoice> m_choice;
    void revealCurrent();
    void cmdSave_Click();
    void cmdCancel_Click();

    QFileSystemModel *m_model = nullptr;
    QString m_current;
    QLabel *Label2 = nullptr;
    QTreeView *Dir1 = nullptr;
    QLabel *lblTopicName = nullptr;
    QCheckBox *Check1 = nullptr;
    qbButtons_H *cmdCancel = nullptr;
    qbButtons_H *cmdSave = nullptr;
};

} // namespace rr
