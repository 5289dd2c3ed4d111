#pragma once
// Where the program keeps its files. The program folder is a per-user data folder; the database folder "DeVivozoda"
// lives inside it, and the settings store lives in the per-user config folder. RAZUZEZU_HOME points both at one folder
// of the caller's choosing (tests, portable use).
#include <QString>

namespace rr::paths
{

// The per-user program folder, without a trailing separator.
QString programFolder();
// The database folder, with its trailing separator ("…/DeVivozoda/").
QString databaseFolder();
// The folder of the settings store files, without a trailing separator.
QString configFolder();
// The read-only installed data (DTD, stylesheets, pictures, help pages).
QString installedDataFolder();

// Creates the program and database folders when missing and restores the support
// files (never databases, except on the very first run) from the installed data.
// Returns false with a reason when a folder cannot be created.
bool prepareProgramFolder(QString *error = nullptr);

} // namespace rr::paths
