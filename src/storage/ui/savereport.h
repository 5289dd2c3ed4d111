#pragma once
// Saving the database after a change made in a window: a failure is shown at once.
#include "storage/xmldatabase.h"

namespace rr
{

// Writes the whole database file. When another program changed the file since it was
// read, the user is asked first whether to write over it (default No). When the save
// fails the user is told why (exclamation icon) and false comes back; the change stays
// in the document in memory, so the next successful save writes it.
bool saveDatabaseReporting(const XMLDatabase &db);

} // namespace rr
