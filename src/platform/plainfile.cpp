#include "platform/plainfile.h"

#include <QFile>

#include <sys/stat.h>

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

} // namespace rr
