#pragma once
// Deleting a folder with all its Vardecks and sub-folders: the root cannot go; after
// the question the FOLDER element leaves the document, the file is saved, and only
// then are the icons and thumbnails of every Vardeck of the sub-tree deleted.
#include "platform/xmldocument.h"

#include <QObject>
#include <QString>
#include <QStringList>

class QTreeWidgetItem;

namespace rr
{

class frmVardecks;

// The WIDs of every Vardeck of the folder and of all folders below it, in document
// order, each once.
QStringList vardecksInFolderAndSubFolders(const XmlNode &folder);

class FolderDeletion : public QObject
{
    Q_OBJECT
public:
    explicit FolderDeletion(frmVardecks &w);
    // The window's folder deletion (made by installEditing).
    static FolderDeletion &of(const frmVardecks &w);

    void mnuEditDeleteTopic_Click();
    // The folder popup's deletion of the folder tid: the tree selects selectBack again
    // first (none: the selection stays), and the deletion comes back to it.
    void deleteChosenFolder(const QString &tid, QTreeWidgetItem *selectBack);
    void delFolder(const XmlNode &folder, const QString &tid);
    // Removes the folder, saves, deletes the side files after a successful save and
    // drops the folder's node from the tree.
    void deleteFolderVardecks(const XmlNode &folder, const QString &tid);

private:
    frmVardecks &w;
};

} // namespace rr
