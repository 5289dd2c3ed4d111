#pragma once
// The web panes' view of the main window, made from the window by the one file of the
// web panes that sees it whole (installweb.cpp).
#include "web/ui/webwindow.h"

namespace rr
{

WebWindow webWindowOf(frmVardecks &w);

} // namespace rr
