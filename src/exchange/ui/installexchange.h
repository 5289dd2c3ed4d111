#pragma once

namespace rr
{

class frmVardecks;

// Attaches File > Import/Export to the main window: it shows the Import/Export window.
void installImportExport(frmVardecks &w);

} // namespace rr
