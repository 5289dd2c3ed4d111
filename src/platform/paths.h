#pragma once
// Where the program keeps its files. The program folder is a per-user data folder; the database folder "DeVivozoda"
// lives inside it, and the settings store lives in the per-user config folder. RAZUZEZU_HOME points both at one folder
// of the caller's choosing (tests, portable use).
//
// The program folder and the config folder are private to the user, as browsers keep
// their profiles: their folders are 0700 and their files 0600 whatever the umask.
// Files the user exports elsewhere get the usual permissions.
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

// Creates the program, database and config folders when missing, makes folders
// that an older version left readable by others private (with everything in them),
// and restores the support files (never databases, except on the very first run)
// from the installed data. Returns false with a reason when a folder cannot be created.
bool prepareProgramFolder(QString *error = nullptr);

// Whether path lies in the program folder or the config folder (or is one of them).
bool isPrivate(const QString &path);
// Creates the folder and every missing folder above it; for a private path each
// created folder is 0700. True when the folder exists afterwards.
bool makeFolder(const QString &path);
// Makes a file copied into a private folder readable and writable by its owner only.
void keepPrivate(const QString &file);
// Removes from the program and config folders the temporary files of saves, and the
// lock files of settings writes, whose process was killed part-way, and the partial
// files such a process was printing (platform/pendingfiles.h); returns how many.
// Run at start, in the copy that keeps the folders.
int removeSaveLeftovers();

} // namespace rr::paths
