#include "platform/plainfile.h"

#include <QFile>

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace rr
{

QString whyNotAPlainFile(mode_t mode)
{
    if (S_ISREG(mode))
        return {};
    if (S_ISDIR(mode))
        return QStringLiteral("it is a folder.");
    if (S_ISFIFO(mode))
        return QStringLiteral("it is a named pipe, not a file.");
    if (S_ISSOCK(mode))
        return QStringLiteral("it is a socket, not a file.");
    if (S_ISCHR(mode) || S_ISBLK(mode))
        return QStringLiteral("it is a device, not a file.");
    return QStringLiteral("it is not a plain file.");
}

QString whyNotAPlainFile(const QString &path)
{
    struct stat st;
    return ::stat(QFile::encodeName(path).constData(), &st) == 0 ? whyNotAPlainFile(st.st_mode) : QString();
}

bool openPlainFile(QFile &file, QString *reason)
{
    const int fd = ::open(QFile::encodeName(file.fileName()).constData(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0) {
        *reason = qt_error_string(errno);
        return false;
    }
    struct stat st;
    QString why = ::fstat(fd, &st) == 0 ? whyNotAPlainFile(st.st_mode) : qt_error_string(errno);
    // A plain file reads the same whether or not a read may wait.
    if (why.isEmpty() && ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK) != 0)
        why = qt_error_string(errno);
    if (why.isEmpty() && !file.open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle))
        why = file.errorString();
    if (why.isEmpty())
        return true;
    ::close(fd);
    *reason = why;
    return false;
}

} // namespace rr
