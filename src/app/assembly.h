#pragma once
namespace rr {
class frmVardecks;
// Gives the main window the behaviour of every subsystem: their commands and their
// refresh operations.
void assembleMainWindow(frmVardecks &window);
}  // namespace rr
