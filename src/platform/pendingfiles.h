#pragma once
// Files the program writes under a temporary name in a folder of the user's choosing
// (a PDF being printed is ".<name>.printing" beside the file asked for), which a
// process killed part-way would leave behind. Traps kept here:
// - The folder is the user's: nothing in it is ever looked for by pattern. While such
//   a file is written, its path is recorded in the settings folder under the writer's
//   process id ("printing-<pid>"), and only a recorded path is ever removed.
// - A record of a process that still runs is its work in progress: kept. The next
//   start removes the files of writers that are gone, then their records.
// - A recorded path is removed only while it is a plain file of this user's (never
//   through a link) whose name still has the temporary form.
#include <QString>

namespace rr::pendingfiles
{

// The temporary name of a print to the file at target: ".<name>.printing" beside it.
QString printingNameFor(const QString &target);
// Records that this process writes the file at path; false when the record could not
// be written (the print goes on: only its cleanup after a kill is lost).
bool remember(const QString &path);
// The file at path was put in place or removed: its record goes.
void forget(const QString &path);
// Removes the recorded files of writers that are gone, and their records; returns
// how many files were removed.
int removeLeftovers();

} // namespace rr::pendingfiles
