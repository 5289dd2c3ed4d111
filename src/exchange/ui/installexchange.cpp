#include "exchange/ui/installexchange.h"

#include "exchange/ui/frmimportexport.h"
#include "shell/frmvardecks.h"

namespace rr
{

void installImportExport(frmVardecks &w)
{
    w.commands.mnuFileImportExport_Click = [&w](int) { frmImportExport::showFor(w); };
}

} // namespace rr
