#include "explorer/deletefolder.h"

#include "explorer/deletevardeck.h"
#include "explorer/editmode.h"
#include "explorer/foldertree.h"
#include "explorer/nodetags.h"
#include "explorer/vardeckviews.h"
#include "finding/ui/findingops.h"
#include "platform/gui/partoperations.h"
#include "platform/prompt.h"
#include "shell/findingoperations.h"
#include "shell/frmvardecks.h"
#include "shell/installedpart.h"
#include "storage/record.h"
#include "storage/ui/savereport.h"
#include "storage/xmldatabase.h"

#include <QTreeWidget>

namespace rr
{
namespace
{

void collect(const XmlNode &folder, QStringList &wids)
{
    for (const XmlNode &vardeck : folder.child(tag::Vardecks).childElements()) {
        const QString wid = vardeck.attribute(tag::Wid);
        if (vardeck.nodeName() == tag::Vardeck && !wids.contains(wid))
            wids.append(wid);
    }
    for (const XmlNode &sub : folder.child(tag::SubFolders).childElements()) {
        if (sub.nodeName() == tag::Folder)
            collect(sub, wids);
    }
}

} // namespace

QStringList vardecksInFolderAndSubFolders(const XmlNode &folder)
{
    QStringList wids;
    if (folder)
        collect(folder, wids);
    return wids;
}

FolderDeletion::FolderDeletion(frmVardecks &window) : QObject(&window), w(window)
{
    setObjectName(QStringLiteral("folderDeletion"));
}

void FolderDeletion::mnuEditDeleteTopic_Click()
{
    FolderTree &folders = FolderTree::of(w);
    const bool noFolder = !w.folderShown() || folders.currentNode() == folders.root();
    if (noFolder) {
        prompt::show(QStringLiteral("A folder must be selected to delete"));
        return;
    }
    delFolder(w.dbXML.folder(w.currentTID()), w.currentTID());
}

void FolderDeletion::deleteChosenFolder(const QString &tid, QTreeWidgetItem *selectBack)
{
    if (selectBack)
        FolderTree::of(w).selectNode(selectBack);
    delFolder(w.dbXML.folder(tid), tid);
}

FolderDeletion &FolderDeletion::of(const frmVardecks &w)
{
    auto *deletion = installedPart<FolderDeletion>(w);
    Q_ASSERT_X(deletion, "FolderDeletion::of", "the window has no folder deletion");
    return *deletion;
}

void FolderDeletion::delFolder(const XmlNode &folder, const QString &tid)
{
    FolderTree &folders = FolderTree::of(w);
    // The folder to delete is what counts, not the tree's selection: a folder deleted
    // from its popup may be deleted while the root is selected.
    if (identifierOf(tid).isEmpty()) {
        prompt::show(QStringLiteral("The base directory cannot be deleted"));
        return;
    }
    if (!folder)
        return;
    if (!prompt::askYesNo(QStringLiteral("Are you sure you wish to delete the folder ") + folder.childText(tag::Name) +
                              QStringLiteral(" and all its Vardecks and sub-folders?"),
                          MsgIcon::None, QStringLiteral("Delete folder?")))
        return;
    deleteFolderVardecks(folder, tid);

    leaveEditMode(w);
    setNonEditableFields(w, false);
    folders.focusTree();
    if (!folders.currentNode() || folders.currentNode() == folders.root()) {
        // No folder shown: no list, no count and no path of one.
        w.showNoFolder();
        VardeckViews::of(w).showNoVardecks(VardeckViews::View::Both);
        w.forgetFolderPath();
    } else {
        folders.populateWMOnTopicNode();
    }
    operationsOf<FindingOperations>(w).clearSearchResults();
    operationsOf<FindingOperations>(w).favoritesOutOfDate();
    w.showIndexTab(IndexTab::Index);
}

void FolderDeletion::deleteFolderVardecks(const XmlNode &folder, const QString &tid)
{
    XmlNode parent = folder ? folder.parentNode() : XmlNode();
    if (!parent)
        return;
    // Identifiers, not elements: the removal frees the elements.
    const QStringList wids = vardecksInFolderAndSubFolders(folder);
    parent.removeChild(folder);
    const bool saved = saveDatabaseReporting(*w.dbXML);
    w.collectionChanged(StalePages::everyPage());
    if (saved)
        deleteSideFiles(w, wids);
    FolderTree::of(w).removeFolderNode(tid);
    // The Popular list is filled once and kept: the folder's Vardecks leave it too.
    removeVardeckRows(w, wids);
}

} // namespace rr
