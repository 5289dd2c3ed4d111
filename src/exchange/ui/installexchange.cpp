// The one file of the Import/Export window that sees the whole main window: it hands the
// window what it uses (ExchangeWindow) and attaches File > Import/Export.
#include "exchange/ui/installexchange.h"

#include "exchange/ui/frmimportexport.h"
#include "shell/frmvardecks.h"

namespace rr
{

ExchangeWindow exchangeWindowOf(frmVardecks &w)
{
    return ExchangeWindow{.mainWindow = w,
                          .parts = w,
                          .db = w.dbXML,
                          .commands = w.commands,
                          .shown = w,
                          .status = w,
                          .changes = w,
                          .options = w};
}

void installImportExport(frmVardecks &w)
{
    w.commands.mnuFileImportExport_Click = [&w](int) { frmImportExport::showFor(exchangeWindowOf(w)); };
}

} // namespace rr
