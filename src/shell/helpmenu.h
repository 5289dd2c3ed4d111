#pragma once
namespace rr {
class frmVardecks;
// The Help menu: the help file at its topics, the About box, the maker's web pages
// and the e-mail to support.
void installHelpMenu(frmVardecks &window);
}  // namespace rr
