#pragma once
// What tells one state of a file from another: the file a name leads to (its device
// and inode: a file replaced by a rename is another one), its size, its time of last
// change of content and its time of last change of any kind (st_ctime), both to the
// nanosecond, all read without reading the file; and a digest of its content, taken
// as the bytes passed when the file was read or written.
//
// The kernel stamps a write with its file clock (fileClockNs), which moves in ticks of
// a few milliseconds: a write within the tick of the last one can leave both times as
// they were. A stamp therefore decides alone (decisive) only when every write after it
// was taken must move the modification time it holds:
// - a stamp read after the file clock had passed the file's modification time (by
//   the file system's step, told by the trailing zeros of the nanoseconds): any later
//   write is stamped later;
// - the stamp of a file this program has just written: the writer sets the
//   modification time a nanosecond before the file clock (a mark) and records that
//   time, so any write by anyone after the mark, even within the same tick and even
//   before the stamp was read, stamps a later time.
// Times are trusted only on the local file systems whose kernel stamps them with its
// own clock; on any other (a network or user-space file system) no stamp decides.
// When a stamp cannot decide, or only the change time moved (a change of mode or
// links, or a rewrite whose modification time was put back), the content decides.
#include <QByteArray>
#include <QString>

#include <memory>
#include <optional>

struct stat;
struct XXH3_state_s;

namespace rr
{

// A digest of a file's content (XXH3, 64 bits), taken as its bytes pass: it runs at
// the speed of memory, so the reader or the writer that feeds it hardly notices.
class ContentDigest
{
public:
    ContentDigest();
    ~ContentDigest();
    ContentDigest(const ContentDigest &) = delete;
    ContentDigest &operator=(const ContentDigest &) = delete;

    void reset();
    void add(const char *data, qsizetype size);
    quint64 result() const;
    // Adds what is left of an open file from its current offset; false when it
    // cannot be read.
    bool addRestOf(int fd);
    // The digest of the whole content of the file at path; none when it cannot be read.
    static std::optional<quint64> ofFile(const QString &path);

private:
    std::unique_ptr<XXH3_state_s, void (*)(XXH3_state_s *)> m_state;
};

// The clock the kernel stamps file times with (CLOCK_REALTIME_COARSE), in
// nanoseconds since the epoch.
qint64 fileClockNs();

struct FileStamp {
    quint64 device = 0;
    quint64 inode = 0;
    qint64 size = -1; // -1: no stamp
    qint64 modifiedNs = 0;
    qint64 changedNs = 0;
    // The content's digest, when the bytes were seen as the stamp was taken; stamps
    // compare without it.
    std::optional<quint64> digest;
    // True when any later write to the file must move modifiedNs (see above).
    bool decisive = false;

    bool isNull() const { return size < 0; }
    bool operator==(const FileStamp &other) const { return sameButChangeTime(other) && changedNs == other.changedNs; }
    // The same file, size and modification time: only the change time may differ.
    bool sameButChangeTime(const FileStamp &other) const
    {
        return device == other.device && inode == other.inode && size == other.size && modifiedNs == other.modifiedNs;
    }

    // The stamp of a stat result (never decisive).
    static FileStamp of(const struct stat &st);
    // The stamp of an open file, or of the file the path leads to (links followed);
    // null when there is none. Never decisive.
    static FileStamp ofOpenFile(int fd);
    static FileStamp ofPath(const QString &path);
    // The same, with the file clock read before the file's times, so that the stamp
    // says whether it decides alone.
    static FileStamp takeOf(int fd);
    static FileStamp takeOfPath(const QString &path);
    // The stamp of a file this program has just put in place (through fd, or path
    // when fd is -1), whose writer set its modification time to markNs (0: it could
    // not). The stamp holds that time, whatever the file shows, so a write between
    // the rename and the stamp shows as a change; without a mark it never decides
    // alone, as such a write would be taken for ours.
    static FileStamp ofWritten(int fd, const QString &path, qint64 markNs);
    // The stamp of st, read after the file clock showed clockNs, on a file system of
    // the given type (statfs's f_type).
    static FileStamp taken(const struct stat &st, qint64 clockNs, long fileSystemType);

    // Whether the kernel stamps files of that file system type with its own clock.
    static bool timesFromOwnClock(long fileSystemType);

    // True when the file at path holds what the stamp's digest was taken of; false
    // when the stamp has none or the file cannot be read.
    bool sameContent(const QString &path) const;
};

} // namespace rr
