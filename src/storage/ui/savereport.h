#pragma once
// Saving the database after a change made in a window: a failure is shown at once.
#include "storage/xmldatabase.h"

namespace rr
{

// The question every save of the window's database asks when another program changed
// or replaced the file since it was read (changedFileQuestion, exclamation icon,
// default No): true on Yes, which writes the database over it. The window installs it
// on the handle it opens (XMLDatabase::setChangedFileQuestion).
bool askToReplaceChangedFile(const QString &path, XMLDatabase::OnKeep onKeep);

// Writes the whole database file. When the save fails the user is told why
// (exclamation icon) and false comes back; the change stays in the document in
// memory, so the next successful save writes it.
bool saveDatabaseReporting(XMLDatabase &db);

} // namespace rr
