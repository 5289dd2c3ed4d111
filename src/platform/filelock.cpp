#include "platform/filelock.h"

#include <QDeadlineTimer>
#include <QFile>

#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace rr
{
namespace
{

enum class Attempt { Locked, Held, Replaced, Failed };

// Locks the open file fd without waiting; Replaced when the path no longer names it.
Attempt lockOpenFile(int fd, const QByteArray &path)
{
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0)
        return errno == EWOULDBLOCK || errno == EINTR ? Attempt::Held : Attempt::Failed;
    struct stat opened {
    };
    struct stat named {
    };
    if (::fstat(fd, &opened) != 0)
        return Attempt::Failed;
    if (::stat(path.constData(), &named) != 0 || named.st_dev != opened.st_dev || named.st_ino != opened.st_ino)
        return Attempt::Replaced;
    return Attempt::Locked;
}

int openLockFile(const QByteArray &path, bool create)
{
    const int flags = O_CLOEXEC | (create ? O_CREAT : 0);
    int fd = ::open(path.constData(), O_RDWR | flags, 0600);
    // A lock file that may only be read locks as well.
    if (fd < 0 && errno == EACCES)
        fd = ::open(path.constData(), O_RDONLY | O_CLOEXEC);
    return fd;
}

} // namespace

FileLock::FileLock(const QString &path) : m_path(path) {}

FileLock::~FileLock()
{
    unlock();
}

bool FileLock::tryLock(int timeoutMs)
{
    if (isLocked())
        return true;
    const QByteArray path = QFile::encodeName(m_path);
    const QDeadlineTimer deadline(qMax(0, timeoutMs));
    int pauseMs = 2;
    for (;;) {
        const int fd = openLockFile(path, true);
        if (fd < 0) {
            m_error = Error::NoAccess;
            return false;
        }
        const Attempt attempt = lockOpenFile(fd, path);
        if (attempt == Attempt::Locked) {
            m_fd = fd;
            m_error = Error::None;
            return true;
        }
        ::close(fd);
        if (attempt == Attempt::Failed) {
            m_error = Error::NoAccess;
            return false;
        }
        // A file removed under the taker is tried again at once.
        if (attempt == Attempt::Replaced && !deadline.hasExpired())
            continue;
        if (deadline.hasExpired()) {
            m_error = Error::Held;
            return false;
        }
        ::usleep(useconds_t(qMin<qint64>(pauseMs, qMax<qint64>(1, deadline.remainingTime())) * 1000));
        pauseMs = qMin(pauseMs * 2, 50);
    }
}

void FileLock::unlock()
{
    if (!isLocked())
        return;
    ::unlink(QFile::encodeName(m_path).constData());
    ::close(m_fd);
    m_fd = -1;
}

bool FileLock::removeIfUnheld(const QString &path)
{
    const QByteArray name = QFile::encodeName(path);
    const int fd = openLockFile(name, false);
    if (fd < 0)
        return false;
    const bool removed = lockOpenFile(fd, name) == Attempt::Locked && ::unlink(name.constData()) == 0;
    ::close(fd);
    return removed;
}

} // namespace rr
