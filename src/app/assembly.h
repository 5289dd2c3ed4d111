#pragma once
namespace rr
{
class frmVardecks;
// Gives the main window the behaviour of every subsystem: every slot of its commands,
// and every part's operations offered on it. A slot left unattached, or a class of
// operations nobody offers, is reported on stderr and stops a debug build.
void assembleMainWindow(frmVardecks &window);
} // namespace rr
