#include "platform/atomicfile.h"

#include "platform/paths.h"

#include <QDir>
#include <QFile>
#include <QRandomGenerator>

#include <algorithm>
#include <atomic>
#include <cctype>
#include <cerrno>
#include <climits>
#include <csignal>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace rr
{
namespace
{

constexpr char kTemporaryMark[] = ".rrsave-";
constexpr int kRandomLength = 6;
// Folders below a tidied folder are followed this deep at most.
constexpr int kMaxTidyDepth = 16;

std::atomic<void (*)(const char *)> g_stepHook{nullptr};
std::atomic<bool> g_unnamedAllowed{true};

void reached(const char *step)
{
    if (const auto hook = g_stepHook.load())
        hook(step);
}

// Without this, a write past RLIMIT_FSIZE ends the process and loses the edit.
void ignoreFileSizeSignal()
{
    static const bool done = [] {
        std::signal(SIGXFSZ, SIG_IGN);
        return true;
    }();
    (void)done;
}

mode_t creationMode()
{
    static const mode_t mode = [] {
        const mode_t mask = ::umask(0);
        ::umask(mask);
        return mode_t(0666 & ~mask);
    }();
    return mode;
}

// An unnamed file is linked into its folder through its /proc entry, which needs no
// privilege (linkat with AT_EMPTY_PATH would).
bool canLinkUnnamedFiles()
{
    static const bool procMounted = ::access("/proc/self/fd", X_OK) == 0;
    return procMounted && g_unnamedAllowed.load();
}

QByteArray folderOf(const QByteArray &path)
{
    const int slash = path.lastIndexOf('/');
    return slash < 0 ? QByteArray(".") : slash == 0 ? QByteArray("/") : path.left(slash);
}

// ".<name>.rrsave-<pid>-": hidden, so no listing of the folder shows it, and naming
// the process that writes it. Long names are shortened to stay within the limit of
// a file name.
QByteArray temporaryPrefix(const QByteArray &target)
{
    const int slash = target.lastIndexOf('/');
    const QByteArray folder = slash < 0 ? QByteArray() : target.left(slash + 1);
    const QByteArray name = target.mid(slash + 1).left(200);
    return folder + '.' + name + kTemporaryMark + QByteArray::number(qint64(::getpid())) + '-';
}

QByteArray randomSuffix()
{
    static const char kLetters[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
    QByteArray suffix(kRandomLength, Qt::Uninitialized);
    for (char &c : suffix)
        c = kLetters[QRandomGenerator::global()->bounded(int(sizeof kLetters - 1))];
    return suffix;
}

// The process id in a temporary file's name ".<name>.rrsave-<pid>-<6 letters or
// digits>", or 0 when the name is no such name. No static objects: the start's walk
// may still run while the program ends.
qint64 writerOfTemporaryName(const QByteArray &name)
{
    const qsizetype markLength = qsizetype(std::strlen(kTemporaryMark));
    const qsizetype dash = name.size() - kRandomLength - 1;
    if (!name.startsWith('.') || dash < 0 || name.at(dash) != '-')
        return 0;
    for (qsizetype i = dash + 1; i < name.size(); ++i)
        if (!std::isalnum(static_cast<unsigned char>(name.at(i))))
            return 0;
    const qsizetype mark = name.lastIndexOf(kTemporaryMark, dash);
    if (mark < 2)
        return 0;
    const QByteArray pid = name.mid(mark + markLength, dash - mark - markLength);
    if (pid.isEmpty() || pid.size() > 10 || pid.startsWith('0'))
        return 0;
    for (const char c : pid)
        if (c < '0' || c > '9')
            return 0;
    return pid.toLongLong();
}

bool processIsGone(qint64 pid)
{
    return pid != ::getpid() && ::kill(pid_t(pid), 0) != 0 && errno == ESRCH;
}

int tidyFolder(int folderFd, int depth)
{
    DIR *dir = ::fdopendir(folderFd);
    if (!dir) {
        ::close(folderFd);
        return 0;
    }
    int removed = 0;
    while (const dirent *entry = ::readdir(dir)) {
        const QByteArray name(entry->d_name);
        if (name == "." || name == "..")
            continue;
        unsigned char type = entry->d_type;
        if (type == DT_UNKNOWN) {
            struct stat st;
            if (::fstatat(::dirfd(dir), entry->d_name, &st, AT_SYMLINK_NOFOLLOW) != 0)
                continue;
            type = S_ISDIR(st.st_mode) ? DT_DIR : S_ISREG(st.st_mode) ? DT_REG : DT_UNKNOWN;
        }
        if (type == DT_DIR && depth < kMaxTidyDepth) {
            const int child = ::openat(::dirfd(dir), entry->d_name, O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
            if (child >= 0)
                removed += tidyFolder(child, depth + 1);
        } else if (type == DT_REG) {
            const qint64 writer = writerOfTemporaryName(name);
            if (writer && processIsGone(writer) && ::unlinkat(::dirfd(dir), entry->d_name, 0) == 0)
                ++removed;
        }
    }
    ::closedir(dir);
    return removed;
}

// Links followed before a chain is taken for a loop, as the kernel counts them.
constexpr int kMaxLinks = 40;

// The file path finally names, every symbolic link on the way followed (a relative
// target is read from the link's own folder). A name that does not exist yet is its
// own target; a link whose target does not exist is dangling, and the missing name
// comes back in missing. errno of the failure, or 0.
int finalTarget(const QByteArray &path, QByteArray *target, QByteArray *missing)
{
    QByteArray current = path;
    for (int links = 0;; ++links) {
        struct stat st;
        if (::lstat(current.constData(), &st) != 0) {
            if (errno == ENOENT && links > 0) {
                *missing = current;
                return ENOENT;
            }
            break; // a new file, or a folder that cannot be read: the open says why
        }
        if (!S_ISLNK(st.st_mode))
            break;
        if (links == kMaxLinks)
            return ELOOP;
        QByteArray link(PATH_MAX, Qt::Uninitialized);
        const ssize_t length = ::readlink(current.constData(), link.data(), size_t(link.size()));
        if (length < 0)
            return errno;
        if (length >= link.size())
            return ENAMETOOLONG;
        link.truncate(length);
        current = link.startsWith('/') ? link : folderOf(current) + '/' + link;
    }
    *target = current;
    return 0;
}

bool isInGroup(gid_t group)
{
    if (group == ::getegid())
        return true;
    const int count = ::getgroups(0, nullptr);
    std::vector<gid_t> groups(size_t(qMax(count, 0)));
    const int filled = count > 0 ? ::getgroups(count, groups.data()) : 0;
    return std::find(groups.begin(), groups.begin() + qMax(filled, 0), group) != groups.begin() + qMax(filled, 0);
}

// Whether the mode bits say this process may not write the file. Root may write
// any file, but a file whose bits let nobody write it was made read-only on
// purpose, and is read-only for root too.
bool isReadOnly(const struct stat &st)
{
    const uid_t user = ::geteuid();
    if (user == 0)
        return (st.st_mode & 0222) == 0;
    if (user == st.st_uid)
        return !(st.st_mode & S_IWUSR);
    return !(st.st_mode & (isInGroup(st.st_gid) ? S_IWGRP : S_IWOTH));
}

} // namespace

QString writeFailureText(const QString &path, int error)
{
    switch (error) {
    case ENOSPC:
    case EDQUOT:
        return QStringLiteral("%1 could not be written: the disk is full.").arg(path);
    case EFBIG:
        return QStringLiteral("%1 could not be written: the file would be larger than this system allows.").arg(path);
    case EACCES:
    case EPERM:
        return QStringLiteral("%1 could not be written: its folder may not be written to.").arg(path);
    case EROFS:
        return QStringLiteral("%1 could not be written: the disk is read-only.").arg(path);
    case ENOENT:
    case ENOTDIR:
        return QStringLiteral("%1 could not be written: its folder does not exist.").arg(path);
    case EISDIR:
        return QStringLiteral("%1 could not be written: it is a folder.").arg(path);
    case ELOOP:
        return QStringLiteral("%1 could not be written: it is a link that leads round in a circle.").arg(path);
    default:
        return QStringLiteral("%1 could not be written: %2.").arg(path, QString::fromLocal8Bit(std::strerror(error)));
    }
}

AtomicFileWriter::AtomicFileWriter(const QString &path) : m_path(path) {}

AtomicFileWriter::~AtomicFileWriter()
{
    cancel();
}

bool AtomicFileWriter::fail(int error)
{
    return fail(writeFailureText(m_path, error));
}

bool AtomicFileWriter::fail(const QString &reason)
{
    if (m_error.isEmpty())
        m_error = reason;
    cancel();
    return false;
}

bool AtomicFileWriter::open()
{
    ignoreFileSizeSignal();
    cancel();
    m_error.clear();
    m_digest.reset();
    // A link is written through, so every link of a chain stays a link and the file
    // at its end gets the bytes.
    QByteArray missing;
    if (const int error = finalTarget(QFile::encodeName(m_path), &m_target, &missing)) {
        if (error != ENOENT)
            return fail(error);
        return fail(QStringLiteral("%1 could not be written: it is a link to %2, which does not exist.")
                        .arg(m_path, QDir::cleanPath(QFile::decodeName(missing))));
    }
    struct stat st;
    const bool exists = ::stat(m_target.constData(), &st) == 0;
    if (exists && S_ISDIR(st.st_mode))
        return fail(EISDIR);
    // The rename would replace a file the user made read-only; that is not a save.
    if (exists && isReadOnly(st))
        return fail(QStringLiteral("%1 could not be written: the file is read-only.").arg(m_path));
    // The new file gets the old one's permissions, or those of a new file there: in
    // the program's folders owner-only, elsewhere 0666 less the umask.
    const bool setMode = exists || paths::isPrivate(m_path);
    const mode_t mode = exists ? mode_t(st.st_mode & 07777) : 0600;
    if (canLinkUnnamedFiles()) {
        // The kernel applies the umask in force now to the mode given here.
        m_fd = ::open(folderOf(m_target).constData(), O_TMPFILE | O_WRONLY | O_CLOEXEC, setMode ? 0600 : 0666);
        m_unnamed = m_fd >= 0;
    }
    if (m_fd < 0) {
        // This file system has no unnamed files: a named one, which a later start
        // removes when this process is killed before the rename.
        m_temp = temporaryPrefix(m_target) + QByteArray(kRandomLength, 'X');
        m_fd = ::mkostemp(m_temp.data(), O_CLOEXEC);
        if (m_fd < 0) {
            const int error = errno;
            m_temp.clear();
            return fail(error);
        }
    }
    if (setMode || !m_unnamed) {
        if (::fchmod(m_fd, setMode ? mode : creationMode()) != 0) {
            // Not fatal: the file is still ours to write.
        }
    }
    return true;
}

bool AtomicFileWriter::write(const char *data, qsizetype size)
{
    if (m_fd < 0)
        return false;
    while (size > 0) {
        const ssize_t n = ::write(m_fd, data, size_t(size));
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return fail(errno);
        }
        m_digest.add(data, n);
        data += n;
        size -= n;
        m_written += n;
    }
    // The disk starts on what is written while the rest is made, so that the flush
    // at the end waits for the last stretch only. Only a start: the flush says
    // whether it all arrived.
    if (m_written - m_flushStarted >= kFlushStretch) {
        ::sync_file_range(m_fd, m_flushStarted, m_written - m_flushStarted, SYNC_FILE_RANGE_WRITE);
        m_flushStarted = m_written;
    }
    return true;
}

// linkat cannot replace a name, so the finished file gets a temporary name of its
// own first and is then renamed over the target in one step.
bool AtomicFileWriter::linkUnderTemporaryName()
{
    const QByteArray source = "/proc/self/fd/" + QByteArray::number(m_fd);
    const QByteArray prefix = temporaryPrefix(m_target);
    for (int attempt = 0; attempt < 100; ++attempt) {
        const QByteArray name = prefix + randomSuffix();
        if (::linkat(AT_FDCWD, source.constData(), AT_FDCWD, name.constData(), AT_SYMLINK_FOLLOW) == 0) {
            m_temp = name;
            return true;
        }
        if (errno != EEXIST)
            return fail(errno);
    }
    return fail(EEXIST);
}

// Sets the modification time of the finished file a nanosecond before the file
// clock, and a little more where that would end in a zero: a write by anyone after
// this is stamped no earlier than the clock, so the time moves even within the same
// tick. Read back, the time tells whether the file system keeps nanoseconds; where it
// rounds, there is no mark and the content decides.
bool AtomicFileWriter::markModification()
{
    qint64 mark = fileClockNs() - 1;
    if (mark % 10 == 0)
        --mark;
    const struct timespec times[2] = {{0, UTIME_OMIT}, {time_t(mark / 1000000000), long(mark % 1000000000)}};
    struct stat st;
    if (::futimens(m_fd, times) != 0 || ::fstat(m_fd, &st) != 0 || FileStamp::of(st).modifiedNs != mark)
        return false;
    m_markNs = mark;
    return true;
}

bool AtomicFileWriter::commit()
{
    if (m_fd < 0)
        return false;
    m_markNs = 0;
    markModification();
    reached("written");
    if (::fdatasync(m_fd) != 0)
        return fail(errno);
    reached("synced");
    if (m_unnamed && !linkUnderTemporaryName())
        return false;
    // The rename sets the file's change time: its stamp is read after it, through a
    // second descriptor, so that it is this file's even if another one took the name
    // at once. The first descriptor is closed before the rename, which reports what
    // a close finds (on a network file system, a write that failed).
    const int fd = m_fd;
    m_fd = -1;
    const int kept = ::fcntl(fd, F_DUPFD_CLOEXEC, 0);
    if (::close(fd) != 0) {
        const int error = errno;
        if (kept >= 0)
            ::close(kept);
        return fail(error);
    }
    reached("linked");
    if (::rename(m_temp.constData(), m_target.constData()) != 0) {
        const int error = errno;
        if (kept >= 0)
            ::close(kept);
        return fail(error);
    }
    m_temp.clear();
    // Without a mark the content decides until a stamp read later can.
    m_committed = FileStamp::ofWritten(kept, QFile::decodeName(m_target), m_markNs);
    if (kept >= 0)
        ::close(kept);
    m_committed.digest = m_digest.result();
    reached("renamed");
    // The rename is only durable once the folder itself is on the disk; with it goes
    // the link count of a file that was unnamed.
    const int dir = ::open(folderOf(m_target).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dir >= 0) {
        ::fsync(dir);
        ::close(dir);
    }
    return true;
}

void AtomicFileWriter::cancel()
{
    m_written = m_flushStarted = 0;
    if (m_fd >= 0) {
        // An unnamed file is gone with its last descriptor.
        ::close(m_fd);
        m_fd = -1;
    }
    if (!m_temp.isEmpty()) {
        ::unlink(m_temp.constData());
        m_temp.clear();
    }
    m_unnamed = false;
}

bool writeFileAtomically(const QString &path, const QByteArray &data, QString *error)
{
    AtomicFileWriter writer(path);
    const bool ok = writer.open() && writer.write(data.constData(), data.size()) && writer.commit();
    if (!ok && error)
        *error = writer.errorString();
    return ok;
}

bool isSaveTemporaryName(const QString &fileName)
{
    return writerOfTemporaryName(QFile::encodeName(fileName)) != 0;
}

int removeSaveLeftovers(const QString &folder)
{
    const int fd = ::open(QFile::encodeName(folder).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    return fd < 0 ? 0 : tidyFolder(fd, 0);
}

namespace atomicfile_testing
{

void setStepHook(void (*hook)(const char *step))
{
    g_stepHook = hook;
}

void setUnnamedTemporaryFiles(bool unnamed)
{
    g_unnamedAllowed = unnamed;
}

} // namespace atomicfile_testing

} // namespace rr
