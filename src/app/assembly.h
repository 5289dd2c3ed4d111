#pragma once
namespace rr
{
class frmVardecks;
// Gives the main window the behaviour of every subsystem: every slot of its commands.
// A slot left unattached is reported on stderr and stops a debug build.
void assembleMainWindow(frmVardecks &window);
} // namespace rr
