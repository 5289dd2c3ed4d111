#pragma once
// Saving the database after a change, with what the user is told when the file could
// not be written.
#include "platform/notice.h"
#include "storage/xmldatabase.h"

#include <QString>

namespace rr
{

// The text shown when the database file could not be written; reason is the
// writer's explanation.
QString saveFailedMessage(const QString &reason);

// The question asked when another program changed or replaced the database file at
// path after it was read: Yes writes over it; the question says what No does to the
// change (kept for the next save, or an import or merge taken back).
QString changedFileQuestion(const QString &path, XMLDatabase::OnKeep onKeep);

// Writes the whole database file. When that fails, false comes back and the notice
// saying why (exclamation icon) is appended to notices; the change stays in the
// document in memory, so the next successful save writes it. A file another program
// changed that the user chose to keep adds no notice: the question said what No does.
bool saveDatabase(XMLDatabase &db, Notices &notices);

} // namespace rr
