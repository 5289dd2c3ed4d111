#pragma once
#include "dialogs/dialoghooks.h"

namespace rr
{

class frmVardecks;

// What the folder and move dialogs report back to the main window: the Web Aspect
// pages they made stale (and the Web Aspect shown again when it is up), and the font
// fallback of the window's dialogs.
DialogHooks windowDialogHooks(frmVardecks &w);

} // namespace rr
