#pragma once
// Saving the database after a change, telling the user when the file could not be written.
#include "storage/xmldatabase.h"

#include <QString>

namespace rr
{

// The text shown when the database file could not be written; reason is the
// writer's explanation.
QString saveFailedMessage(const QString &reason);

// Writes the whole database file. When that fails the user is told why (exclamation
// icon) and false comes back; the change stays in the document in memory, so the
// next successful save writes it.
bool saveDatabaseReporting(const XMLDatabase &db);

} // namespace rr
