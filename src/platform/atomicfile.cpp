#include "platform/atomicfile.h"

#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace rr
{
namespace
{

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

QByteArray folderOf(const QByteArray &path)
{
    const int slash = path.lastIndexOf('/');
    return slash < 0 ? QByteArray(".") : slash == 0 ? QByteArray("/") : path.left(slash);
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
    if (m_error.isEmpty())
        m_error = writeFailureText(m_path, error);
    cancel();
    return false;
}

bool AtomicFileWriter::open()
{
    ignoreFileSizeSignal();
    m_error.clear();
    // A link is written through, so the link itself stays a link.
    const QFileInfo info(m_path);
    m_target = QFile::encodeName(info.isSymLink() ? info.symLinkTarget() : m_path);
    struct stat st;
    const bool exists = ::stat(m_target.constData(), &st) == 0;
    if (exists && S_ISDIR(st.st_mode))
        return fail(EISDIR);
    m_temp = m_target + ".XXXXXX";
    m_fd = ::mkostemp(m_temp.data(), O_CLOEXEC);
    if (m_fd < 0) {
        const int error = errno;
        m_temp.clear();
        return fail(error);
    }
    // The new file gets the old one's permissions, or the usual ones for a new file.
    if (::fchmod(m_fd, exists ? (st.st_mode & 07777) : creationMode()) != 0) {
        // Not fatal: the file is still ours to write.
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
        data += n;
        size -= n;
    }
    return true;
}

bool AtomicFileWriter::commit()
{
    if (m_fd < 0)
        return false;
    if (::fdatasync(m_fd) != 0)
        return fail(errno);
    const int fd = m_fd;
    m_fd = -1;
    if (::close(fd) != 0) {
        const int error = errno;
        ::unlink(m_temp.constData());
        m_temp.clear();
        return fail(error);
    }
    if (::rename(m_temp.constData(), m_target.constData()) != 0) {
        const int error = errno;
        ::unlink(m_temp.constData());
        m_temp.clear();
        return fail(error);
    }
    m_temp.clear();
    // The rename is only durable once the folder itself is on the disk.
    const int dir = ::open(folderOf(m_target).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dir >= 0) {
        ::fsync(dir);
        ::close(dir);
    }
    return true;
}

void AtomicFileWriter::cancel()
{
    if (m_fd >= 0) {
        ::close(m_fd);
        m_fd = -1;
    }
    if (!m_temp.isEmpty()) {
        ::unlink(m_temp.constData());
        m_temp.clear();
    }
}

bool writeFileAtomically(const QString &path, const QByteArray &data, QString *error)
{
    AtomicFileWriter writer(path);
    const bool ok = writer.open() && writer.write(data.constData(), data.size()) && writer.commit();
    if (!ok && error)
        *error = writer.errorString();
    return ok;
}

} // namespace rr
