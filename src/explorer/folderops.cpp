#include "explorer/folderops.h"

#include "explorer/foldertree.h"
#include "explorer/vardeckviews.h"
#include "shell/frmvardecks.h"
#include "shell/installedpart.h"

namespace rr
{

int folderNodeCount(const frmVardecks &w)
{
    const FolderTree *tree = installedPart<FolderTree>(w);
    return tree ? tree->nodeCount() : 0;
}

void relistSelectedFolder(frmVardecks &w)
{
    if (FolderTree *tree = installedPart<FolderTree>(w))
        tree->relistSelectedFolder();
}

void showImportedFolder(frmVardecks &w, const QString &tid)
{
    if (FolderTree *tree = installedPart<FolderTree>(w))
        tree->showImportedFolder(tid);
}

void holdFolderTree(frmVardecks &w, bool held)
{
    if (FolderTree *tree = installedPart<FolderTree>(w))
        tree->hold(held);
}

void emptyVardeckTree(frmVardecks &w)
{
    if (VardeckViews *views = installedPart<VardeckViews>(w))
        views->showNoVardecks(VardeckViews::View::Tree);
}

void showVisitInFolderList(frmVardecks &w, const QString &wid, const QString &stamp, const QString &hits)
{
    if (VardeckViews *views = installedPart<VardeckViews>(w))
        views->showVisit(wid, stamp, hits);
}

void showVardeckTreeIcon(frmVardecks &w, const QString &wid)
{
    if (VardeckViews *views = installedPart<VardeckViews>(w))
        views->showTreeIcon(wid);
}

} // namespace rr
