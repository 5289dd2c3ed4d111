#pragma once
// File > E-mail: the shown Vardeck as message text, or the collection, all Vardecks
// or the favourites as an attached page made through the self-contained stylesheets.
#include <QString>

namespace rr
{

class frmVardecks;

// Attaches mnuEmailVD_Click, mnuEmailAllFolders_Click, mnuEmailAllVardecks_Click and
// mnuEmailFavorites_Click.
void installEmailCommands(frmVardecks &w);

void mnuEmailVD_Click(frmVardecks &w);
// Writes the open database through xsl to "Vardecks.htm" in the program folder and
// hands it to the mail program under subject. Nothing is mailed when the page could
// not be made; the user is told why.
bool emailTransformedDB(frmVardecks &w, const QString &xsl, const QString &subject);

} // namespace rr
