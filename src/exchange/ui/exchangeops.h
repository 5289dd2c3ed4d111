#pragma once
// What the import and export operations of the Import/Export window share: the busy
// window, the checks before a run, and the one way every import runs.
#include "exchange/importbuilder.h"

#include <QStringList>
#include <functional>

namespace rr
{

class frmImportExport;
class frmProgress;
class Commands;
class frmVardecks;
class OpenDatabase;
class XMLDatabase;
struct ExchangeWindow;

// For the length of an operation: the busy cursor and, for imports, the window's folder
// tree hidden. Both come back however the operation ends.
class BusyWindow
{
public:
    BusyWindow();
    explicit BusyWindow(frmVardecks &holdTreeOf);
    ~BusyWindow();
    BusyWindow(const BusyWindow &) = delete;
    BusyWindow &operator=(const BusyWindow &) = delete;

private:
    // The window whose folder tree is held hidden, or nullptr.
    frmVardecks *m_window = nullptr;
};

// True when a database is open; otherwise the user is told.
bool checkDatabaseOpen(const OpenDatabase &db);
// An import may not throw away an edit under way in the details panel unasked.
bool dropEditBeforeImport(Commands &commands);

// Puts the progress window on the screen before a run changes anything: the pending
// window events run once. False (and the progress window closed) when the database
// changed hands meanwhile; then nothing may be imported.
bool settleProgressWindow(const OpenDatabase &db, frmProgress *progress);

// Saves the database after an import while its progress window keeps repainting;
// from here the import can no longer be cancelled. A change another program made to
// the file is asked about first; the question says that No adds nothing, as the
// caller then takes the import back.
bool saveWhileShowing(XMLDatabase &db, frmProgress *progress, QString *error);

// An import the user cancelled, taken back already: the progress window closes and
// the user is told that nothing was added.
void tellCancelled(frmProgress *progress);

struct ImportRun {
    // The progress window's first line, and whether it counts folders.
    QString searching;
    bool countsFolders = true;
    // Adds everything to the document through the builder; false (with the reason)
    // when it had to stop. What it passed over or moved up goes to notes.
    std::function<bool(ImportBuilder &builder, frmProgress *progress, ImportNotes *notes, QString *error)> body;
};

// Runs one import behind the progress window and either saves all of it, shows the
// new top folder and finishes the progress window, or, when the import cannot finish
// or be saved, takes all of it back and says why.
void runImport(const ExchangeWindow &w, frmImportExport &dialog, const ImportRun &run);

} // namespace rr
