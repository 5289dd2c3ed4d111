#pragma once
// The main window's popup menu commands, the Move Vardeck and Move folder launchers
// (the popups and the two Move buttons), the drags inside the window and the drops
// from other programs.
namespace rr
{

class frmVardecks;
struct ExplorerParts;
class PopupCommands;
class MoveLaunchers;
class InternalDrags;
class ExternalDrops;

// The parts installPopupsAndDrops made; they belong to the window.
struct PopupsAndDrops {
    PopupCommands &popups;
    MoveLaunchers &moves;
    InternalDrags &drags;
    ExternalDrops &drops;
};

// Attaches the popup commands (mnuOpenN_Click … mnuList_Click, mnuMulti_Click), the
// Move buttons (cmdMoveVD_Click, cmdMoveFolder_Click), and the drag sources and drop
// targets (the Explorer's views among them), and offers the drops to the other parts'
// lists (shell/listdropoperations.h). Call once per window, after the other installs.
PopupsAndDrops installPopupsAndDrops(frmVardecks &w, const ExplorerParts &explorer);

} // namespace rr
