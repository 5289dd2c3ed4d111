#pragma once
// A lock between processes, and between threads, on a lock file, held with flock(2).
// Traps kept here:
// - Only a live holder makes a lock: the kernel lets go of it when its holder ends,
//   however it ends. A lock file left behind, empty or not, however new, is taken at
//   once; its content and its age say nothing.
// - The holder removes the file as it lets go, while it still holds it; a taker checks
//   that the file it locked is still the one at the path (it may have been removed
//   between the opening and the locking) and tries again otherwise. A lock file is
//   removed only under its lock.
// - The file is opened close-on-exec: a program started meanwhile does not inherit it.
// - QLockFile takes the same flock on the files it locks, so a copy of the program that
//   locks with it and one that locks here keep each other out.
#include <QString>

namespace rr
{

class FileLock
{
public:
    enum class Error { None, Held, NoAccess };

    explicit FileLock(const QString &path);
    ~FileLock();
    FileLock(const FileLock &) = delete;
    FileLock &operator=(const FileLock &) = delete;

    // Waits up to timeoutMs for the lock (0: one try). False when another holder kept
    // it (Held) or the file cannot be made or opened (NoAccess).
    bool tryLock(int timeoutMs);
    // Removes the file and lets go; nothing when the lock is not held.
    void unlock();
    bool isLocked() const { return m_fd >= 0; }
    Error error() const { return m_error; }
    QString path() const { return m_path; }

    // Removes the lock file at path when no live holder has it (one left by a process
    // that ended); true when it was removed. Creates nothing.
    static bool removeIfUnheld(const QString &path);

private:
    QString m_path;
    int m_fd = -1;
    Error m_error = Error::None;
};

} // namespace rr
