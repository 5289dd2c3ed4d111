#pragma once
// File > E-mail: the shown Vardeck as message text, or the collection, all Vardecks
// or the favourites as an attached page made through the self-contained stylesheets.
#include <QString>

namespace rr
{

class Commands;
class OpenDatabase;
class ShownItems;

// Attaches mnuEmailVD_Click, mnuEmailAllFolders_Click, mnuEmailAllVardecks_Click and
// mnuEmailFavorites_Click, which mail from the open database what the window shows.
void installEmailCommands(Commands &commands, const OpenDatabase &db, const ShownItems &shown);

void mnuEmailVD_Click(const OpenDatabase &db, const ShownItems &shown);
// Writes the open database through xsl to "Vardecks.htm" in the program folder and
// hands it to the mail program under subject. Nothing is mailed when the page could
// not be made; the user is told why.
bool emailTransformedDB(const OpenDatabase &db, const QString &xsl, const QString &subject);

} // namespace rr
