#pragma once
// Atomic file writing, the one way every file of the program is written:
// - the bytes go to a new temporary file in the target's folder, are flushed to the
//   disk, and the file is renamed over the target; the folder is flushed after the
//   rename, so an acknowledged save survives a power cut;
// - the temporary file has no name while it is written (O_TMPFILE) where the file
//   system allows it: a save killed part-way leaves nothing behind. It is linked
//   under a temporary name only for the moment before the rename; that name (and the
//   name of every temporary file on file systems without unnamed files) carries the
//   writer's process id, so removeSaveLeftovers can tell a leftover of a process
//   that is gone from a save in progress;
// - the disk starts writing a large file while later parts of it are still being
//   made, so the flush at the end waits for the last stretch only;
// - a failure at any step removes the temporary file, leaves the old file as it was,
//   and says what really happened (disk full, file too large, folder not writable);
// - the new file keeps the permissions of the file it replaces; a new file in the
//   program's own folders is readable by its owner only (0600), any other new file
//   gets the usual permissions (0666 less the umask);
// - a write past the process's file-size limit fails with an error instead of
//   ending the program (the signal for it is ignored);
// - a symbolic link is written through: the file at the end of a chain of links is
//   replaced and every link stays; a link to nothing and a chain that loops are
//   failures, never a file made somewhere else;
// - a file whose mode bits forbid this process to write it (for root: one nobody
//   may write) is read-only: the save fails and the file stays as it is;
// - the finished file's modification time is set a nanosecond before the kernel's
//   file clock (platform/filestamp.h): the stamp of the file put in place then tells
//   any later write by another program, even one within the same tick of that clock.
//   The digest of the content is taken as the bytes pass.
#include "platform/filestamp.h"

#include <QByteArray>
#include <QString>

namespace rr
{

// Writes the whole file through a temporary file in the same folder, flushed to
// disk and renamed over the target. On failure the old file is left untouched and
// the reason is returned in error.
bool writeFileAtomically(const QString &path, const QByteArray &data, QString *error = nullptr);

// The same, for writers that produce their bytes in pieces (no copy of the whole
// file is made). Use: open(), write() any number of times, then commit(); a writer
// destroyed without commit() removes its temporary file.
class AtomicFileWriter
{
public:
    explicit AtomicFileWriter(const QString &path);
    ~AtomicFileWriter();
    AtomicFileWriter(const AtomicFileWriter &) = delete;
    AtomicFileWriter &operator=(const AtomicFileWriter &) = delete;

    bool open();
    // False once any write has failed; later writes do nothing.
    bool write(const char *data, qsizetype size);
    bool commit();
    void cancel();
    // The reason of the first failure, naming the file.
    QString errorString() const { return m_error; }
    // The stamp of the file a commit put in place, with the digest of what was
    // written and the modification time this writer set (null before one succeeded).
    FileStamp committed() const { return m_committed; }

private:
    bool fail(int error);
    bool fail(const QString &reason);
    bool linkUnderTemporaryName();
    bool markModification();

    // Written bytes the disk is asked to take while later ones are being written.
    static constexpr qint64 kFlushStretch = 2 * 1024 * 1024;

    QString m_path;
    QByteArray m_target;
    qint64 m_written = 0;
    qint64 m_flushStarted = 0;
    QByteArray m_temp; // the temporary file's name while it has one
    int m_fd = -1;
    bool m_unnamed = false;
    QString m_error;
    ContentDigest m_digest;
    // The modification time set on the finished file (0: none could be set exactly).
    qint64 m_markNs = 0;
    FileStamp m_committed;
};

// The user's words for a failed write of path with that errno.
QString writeFailureText(const QString &path, int error);

// Whether a file name is that of a temporary file of a save.
bool isSaveTemporaryName(const QString &fileName);
// Removes, in folder and every folder below it (links are not followed), the
// temporary files of saves whose process is gone; returns how many were removed.
int removeSaveLeftovers(const QString &folder);

// For tests that stop a save part-way: hook is called with the name of each step a
// save reaches ("written", "synced", "linked", "renamed"); unnamed false makes
// every save use a named temporary file, as on file systems without unnamed files.
namespace atomicfile_testing
{
void setStepHook(void (*hook)(const char *step));
void setUnnamedTemporaryFiles(bool unnamed);
} // namespace atomicfile_testing

} // namespace rr
