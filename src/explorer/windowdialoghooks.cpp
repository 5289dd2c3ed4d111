#include "explorer/windowdialoghooks.h"

#include "explorer/nodetags.h"
#include "shell/fonthelpers.h"
#include "shell/frmvardecks.h"

namespace rr
{

DialogHooks windowDialogHooks(frmVardecks &w)
{
    DialogHooks hooks;
    hooks.collectionChanged = [&w](const StalePages &stale) {
        w.aspectPageStale[frmVardecks::FoldersPage] |= stale.folders;
        w.aspectPageStale[frmVardecks::AllPage] |= stale.all;
        w.aspectPageStale[frmVardecks::HitsPage] |= stale.hits;
        w.aspectPageStale[frmVardecks::FavsPage] |= stale.favorites;
        if (stale.reshowWebAspect && sameText(w.currentAspect, QStringLiteral("Web")))
            callOp(w.ops.showAspectWeb);
    };
    hooks.applyFontFallback = applyFontFallback;
    return hooks;
}

} // namespace rr
