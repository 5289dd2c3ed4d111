#pragma once
// The Explorer's part of a window found for the operations other parts call directly
// (detailsops.h, folderops.h). A window a test puts together in part may lack it: the
// operation then does nothing, as it does before the window is put together.
#include "shell/frmvardecks.h"

namespace rr
{

template <typename Part> Part *installedPart(const frmVardecks &w)
{
    return w.findChild<Part *>(QString(), Qt::FindDirectChildrenOnly);
}

} // namespace rr
