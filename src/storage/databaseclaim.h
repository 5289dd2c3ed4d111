#pragma once
// One copy of the program at a time writes a database file. The copy whose window
// opens the file claims it: it holds a lock (platform/filelock.h) on a hidden file
// beside it, ".<name>.lock", for as long as it has the file open. A copy that finds
// the lock held has the file read-only: each of its saves is refused with a sentence
// until the holder lets go (it closed the file, or ended however it ended); the next
// save then takes the lock and writes. Two copies therefore never both write one
// database, whether or not they found each other at start (a copy that does not
// answer, a settings folder others may write in, a runtime folder whose path is too
// long for a socket).
//
// A handle that never claimed (one made to read a file) is not held back. A lock that
// cannot be made at all (a folder nobody may write in) holds nothing back either: the
// save then fails or succeeds on its own terms. The lock is beside the file the links
// lead to, so two paths to one file share it.
#include <QString>

#include <memory>

namespace rr
{

class FileLock;

class DatabaseClaim
{
public:
    enum class State { Unclaimed, Held, HeldElsewhere };

    DatabaseClaim();
    ~DatabaseClaim();
    DatabaseClaim(const DatabaseClaim &) = delete;
    DatabaseClaim &operator=(const DatabaseClaim &) = delete;

    // Claims the file at path for this copy's saves: Held, or HeldElsewhere when
    // another copy has it (Unclaimed when no lock can be made there).
    State claim(const QString &path);
    // Lets go of the file; later saves are not held back.
    void release();
    State state() const;
    // True when a save may write the file at path: it is not claimed, or this copy
    // holds it or takes it now. False, with the sentence that says why, while another
    // copy holds it.
    bool allowsWrite(const QString &path, QString *error = nullptr);

    // The lock file of the database file at path.
    static QString lockPathFor(const QString &path);
    // Why a save did not write the file at path.
    static QString heldElsewhereMessage(const QString &path);
    // What the user is told when a window opens the file at path read-only.
    static QString openedReadOnlyMessage(const QString &path);

private:
    bool take(const QString &path);

    std::unique_ptr<FileLock> m_lock;
    bool m_claimed = false;
    bool m_heldElsewhere = false;
};

} // namespace rr
