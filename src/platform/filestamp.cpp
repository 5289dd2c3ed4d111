#include "platform/filestamp.h"

#include <QFile>

#include <cerrno>
#include <ctime>

#include <fcntl.h>
#include <linux/magic.h>
#include <sys/stat.h>
#include <sys/vfs.h>
#include <unistd.h>

#define XXH_STATIC_LINKING_ONLY
#include <xxhash.h>

namespace rr
{
namespace
{

// Read in pieces that stay in the processor's cache while they are hashed.
constexpr size_t kReadPiece = 256 * 1024;

// File systems absent from linux/magic.h.
constexpr long kZfsMagic = 0x2fc12fc1;
constexpr long kBcachefsMagic = 0xca451a4e;

// The step in which the file system keeps a time, as far as the time itself tells:
// ten to the power of the trailing zeros of its nanoseconds. A whole second may be
// one of a file system that keeps two.
qint64 stepOf(qint64 ns)
{
    qint64 fraction = ns % 1000000000;
    if (fraction < 0)
        fraction += 1000000000;
    if (fraction == 0)
        return 2000000000;
    qint64 step = 1;
    while (fraction % 10 == 0) {
        fraction /= 10;
        step *= 10;
    }
    return step;
}

} // namespace

ContentDigest::ContentDigest() : m_state(XXH3_createState(), [](XXH3_state_s *state) { XXH3_freeState(state); })
{
    reset();
}

ContentDigest::~ContentDigest() = default;

void ContentDigest::reset()
{
    XXH3_64bits_reset(m_state.get());
}

void ContentDigest::add(const char *data, qsizetype size)
{
    XXH3_64bits_update(m_state.get(), data, size_t(size));
}

quint64 ContentDigest::result() const
{
    return XXH3_64bits_digest(m_state.get());
}

bool ContentDigest::addRestOf(int fd)
{
    const std::unique_ptr<char[]> buffer(new char[kReadPiece]);
    for (;;) {
        const ssize_t n = ::read(fd, buffer.get(), kReadPiece);
        if (n == 0)
            return true;
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        add(buffer.get(), n);
    }
}

std::optional<quint64> ContentDigest::ofFile(const QString &path)
{
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0)
        return std::nullopt;
    ContentDigest digest;
    const bool read = digest.addRestOf(fd);
    ::close(fd);
    return read ? std::optional<quint64>(digest.result()) : std::nullopt;
}

qint64 fileClockNs()
{
    struct timespec now;
    ::clock_gettime(CLOCK_REALTIME_COARSE, &now);
    return qint64(now.tv_sec) * 1000000000 + now.tv_nsec;
}

FileStamp FileStamp::of(const struct stat &st)
{
    FileStamp stamp;
    stamp.device = quint64(st.st_dev);
    stamp.inode = quint64(st.st_ino);
    stamp.size = qint64(st.st_size);
    stamp.modifiedNs = qint64(st.st_mtim.tv_sec) * 1000000000 + st.st_mtim.tv_nsec;
    stamp.changedNs = qint64(st.st_ctim.tv_sec) * 1000000000 + st.st_ctim.tv_nsec;
    return stamp;
}

FileStamp FileStamp::ofOpenFile(int fd)
{
    struct stat st;
    return ::fstat(fd, &st) == 0 ? of(st) : FileStamp();
}

FileStamp FileStamp::ofPath(const QString &path)
{
    struct stat st;
    return ::stat(QFile::encodeName(path).constData(), &st) == 0 ? of(st) : FileStamp();
}

FileStamp FileStamp::takeOf(int fd)
{
    const qint64 clock = fileClockNs();
    struct stat st;
    struct statfs fs;
    if (::fstat(fd, &st) != 0)
        return {};
    return taken(st, clock, ::fstatfs(fd, &fs) == 0 ? long(fs.f_type) : 0);
}

FileStamp FileStamp::takeOfPath(const QString &path)
{
    const QByteArray name = QFile::encodeName(path);
    const qint64 clock = fileClockNs();
    struct stat st;
    struct statfs fs;
    if (::stat(name.constData(), &st) != 0)
        return {};
    return taken(st, clock, ::statfs(name.constData(), &fs) == 0 ? long(fs.f_type) : 0);
}

FileStamp FileStamp::ofWritten(int fd, const QString &path, qint64 markNs)
{
    const qint64 clock = fileClockNs();
    struct stat st;
    struct statfs fs;
    const QByteArray name = QFile::encodeName(path);
    if ((fd >= 0 ? ::fstat(fd, &st) : ::stat(name.constData(), &st)) != 0)
        return {};
    if (markNs == 0)
        return of(st);
    st.st_mtim = {time_t(markNs / 1000000000), long(markNs % 1000000000)};
    return taken(st, clock,
                 (fd >= 0 ? ::fstatfs(fd, &fs) : ::statfs(name.constData(), &fs)) == 0 ? long(fs.f_type) : 0);
}

FileStamp FileStamp::taken(const struct stat &st, qint64 clockNs, long fileSystemType)
{
    FileStamp stamp = of(st);
    // A later write is stamped no earlier than clockNs, kept in the file system's
    // step: past this time only when the clock had passed it by a whole step.
    stamp.decisive = timesFromOwnClock(fileSystemType) && stamp.modifiedNs + stepOf(stamp.modifiedNs) <= clockNs;
    return stamp;
}

bool FileStamp::timesFromOwnClock(long fileSystemType)
{
    switch (quint32(fileSystemType)) {
    case EXT4_SUPER_MAGIC: // also ext2 and ext3
    case XFS_SUPER_MAGIC:
    case BTRFS_SUPER_MAGIC:
    case TMPFS_MAGIC:
    case RAMFS_MAGIC:
    case F2FS_SUPER_MAGIC:
    case OVERLAYFS_SUPER_MAGIC:
    case quint32(kZfsMagic):
    case quint32(kBcachefsMagic):
        return true;
    default:
        return false;
    }
}

bool FileStamp::sameContent(const QString &path) const
{
    if (!digest)
        return false;
    return ContentDigest::ofFile(path) == digest;
}

} // namespace rr
