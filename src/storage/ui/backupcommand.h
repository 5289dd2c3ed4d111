#pragma once
// File > Database > Backup: asks where to copy the open database, refuses the open
// database's own file, asks before replacing another file, copies through a
// temporary file and reports the outcome.
#include <QString>

namespace rr
{

// databasePath: the open database's file (getPath); dbName: its file name
// (currentDBName), offered as the backup's name. True when a backup was written.
bool runBackupCommand(const QString &databasePath, const QString &dbName);

} // namespace rr
