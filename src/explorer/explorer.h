#pragma once
// The Explorer core of the main window: the folder tree, the shown folder's Vardeck
// tree and list, the details panel, the Go commands and the clipboard commands.
#include <QString>

namespace rr
{

class frmVardecks;
class FolderTree;
class VardeckViews;
class DetailsPanel;

// The parts installExplorer made; they belong to the window.
struct ExplorerParts {
    FolderTree &tree;
    VardeckViews &views;
    DetailsPanel &panel;
};

// Attaches the Explorer's commands to w.commands, offers the folder tree's and the
// Vardeck views' operations on the window (shell/foldertreeoperations.h,
// shell/vardeckviewsoperations.h), and installs the details panel (detailspanel.h) with
// its own. Call once per window.
ExplorerParts installExplorer(frmVardecks &w);

} // namespace rr
