#pragma once
// The main window's File > Database commands (New, Open, Backup, Close, Delete) and
// File > Exit, with openTheDatabase, which makes the chosen file the open database
// and rebuilds the window from it, and the window's side of closing a database.
namespace rr
{

class frmVardecks;
class XMLDatabase;
struct ChosenDatabase;

// Attaches mnuFileNew_Click, mnuFileOpen_Click, mnuFileBackup_Click,
// mnuFileClose_Click, mnuFileDeleteDB_Click and mnuFileExit_Click. New and Delete hand
// their window the main window as its DatabaseHost (openTheDatabase, closeTheDatabase).
// Call once per window.
void installDatabaseCommands(frmVardecks &w);

// Opens the chosen database. A file that fails to open is reported and the database
// open before stays open and shown. True when the file was opened.
bool openTheDatabase(frmVardecks &w, const ChosenDatabase &chosen);
// Empties the window; any edit under way ends with it.
void closeTheDatabase(frmVardecks &w);

void mnuFileOpen_Click(frmVardecks &w);
void mnuFileNew_Click(frmVardecks &w);
void mnuFileDeleteDB_Click(frmVardecks &w);
void mnuFileBackup_Click(frmVardecks &w);
void mnuFileClose_Click(frmVardecks &w);
void mnuFileExit_Click(frmVardecks &w);

} // namespace rr
