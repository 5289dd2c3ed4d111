#pragma once
// File > Database > Backup: asks where to copy the open database, offering a name
// beside it; the open database's own file is refused and the picker asked again; asks
// before replacing another file, copies through a temporary file and reports the
// outcome.
#include <QString>

namespace rr
{

// databasePath: the open database's file (getPath); dbName: its file name
// ("Work.xml"). True when a backup was written.
bool runBackupCommand(const QString &databasePath, const QString &dbName);

// The name the picker offers for a backup of dbName: "Work.xml" gives "Work-backup.xml".
QString proposedBackupName(const QString &dbName);

} // namespace rr
