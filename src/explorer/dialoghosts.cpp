#include "explorer/dialoghosts.h"

#include "shell/fonthelpers.h"
#include "shell/frmvardecks.h"

namespace rr
{

void WindowFolderDialogHost::collectionChanged(const StalePages &stale)
{
    w.collectionChanged(stale);
}

void WindowFolderDialogHost::applyFontFallback(QWidget *dialog)
{
    rr::applyFontFallback(dialog);
}

} // namespace rr
