#pragma once
// What the parts above the Explorer (the web panes, the icon and thumbnail runs, the
// Import/Export window, the collection dialogs' launchers) ask of the folder tree and
// the Vardeck views: they include this header and call these directly, as they link the
// Explorer. What the frame, the options dialog and the finding panes, which sit below
// the Explorer, ask of them they ask of the window (shell/foldertreeoperations.h,
// shell/vardeckviewsoperations.h).
#include <QString>

namespace rr
{

class frmVardecks;

// How many nodes the folder tree has, the root included.
int folderNodeCount(const frmVardecks &w);
// The Vardecks of the folder selected in the folder tree are listed again.
void relistSelectedFolder(frmVardecks &w);
// A top-level folder an import made joins the tree, opened, in its sorted place, and
// its Vardecks are listed.
void showImportedFolder(frmVardecks &w, const QString &tid);
// The folder tree is hidden while held (a long run changes what it shows) and shows
// again when released, if it showed before.
void holdFolderTree(frmVardecks &w, bool held);
// The Vardeck tree lists nothing and the count under it says 0; the folder list keeps
// its rows.
void emptyVardeckTree(frmVardecks &w);
// The folder list's row of the Vardeck wid shows a visit just recorded.
void showVisitInFolderList(frmVardecks &w, const QString &wid, const QString &stamp, const QString &hits);
// The Vardeck tree's node of wid shows the picture the window holds for it now.
void showVardeckTreeIcon(frmVardecks &w, const QString &wid);

} // namespace rr
