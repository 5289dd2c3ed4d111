#pragma once
// The main window's popup menu commands, the Move Vardeck and Move folder launchers
// (the popups and the two Move buttons), the drags inside the window and the drops
// from other programs.
namespace rr
{

class frmVardecks;
class PopupCommands;
class MoveLaunchers;
class InternalDrags;
class ExternalDrops;

// Attaches the popup commands (mnuOpenN_Click … mnuList_Click, mnuMulti_Click), the
// Move buttons (cmdMoveVD_Click, cmdMoveFolder_Click), and the drag sources and drop
// targets. Call once per window, after installExplorer and the other installs.
void installPopupsAndDrops(frmVardecks &w);

// The installed parts, or nullptr before the install.
PopupCommands *popupCommandsOf(const frmVardecks &w);
MoveLaunchers *moveLaunchersOf(const frmVardecks &w);
InternalDrags *internalDragsOf(const frmVardecks &w);
ExternalDrops *externalDropsOf(const frmVardecks &w);

} // namespace rr
