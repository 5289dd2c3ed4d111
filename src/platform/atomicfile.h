#pragma once
// Atomic file writing, the one way every file of the program is written:
// - the bytes go to a new temporary file in the target's folder, are flushed to the
//   disk, and the file is renamed over the target; the folder is flushed after the
//   rename, so an acknowledged save survives a power cut;
// - a failure at any step removes the temporary file, leaves the old file as it was,
//   and says what really happened (disk full, file too large, folder not writable);
// - a write past the process's file-size limit fails with an error instead of
//   ending the program (the signal for it is ignored);
// - a symbolic link is written through: the file it points at is replaced.
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

private:
    bool fail(int error);

    QString m_path;
    QByteArray m_target;
    QByteArray m_temp;
    int m_fd = -1;
    QString m_error;
};

// The user's words for a failed write of path with that errno.
QString writeFailureText(const QString &path, int error);

} // namespace rr
