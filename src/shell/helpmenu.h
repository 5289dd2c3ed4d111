#pragma once
#include <QString>

namespace rr
{
class frmVardecks;
// The Help menu: the help file at its topics, the About box, the maker's web pages
// and the e-mail to support.
void installHelpMenu(frmVardecks &window);
// Shows a page of the installed help file ("" for its contents), or tells why it
// cannot.
void showHelpTopic(const QString &topic);
} // namespace rr
