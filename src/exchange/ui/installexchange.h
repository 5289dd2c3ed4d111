#pragma once
#include "exchange/ui/exchangewindow.h"

namespace rr
{

class frmVardecks;

// What the Import/Export window uses of the main window.
ExchangeWindow exchangeWindowOf(frmVardecks &w);

// Attaches File > Import/Export to the main window: it shows the Import/Export window.
void installImportExport(frmVardecks &w);

} // namespace rr
