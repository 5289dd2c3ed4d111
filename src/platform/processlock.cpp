#include "platform/processlock.h"

#include <QFile>

#include <arpa/inet.h>
#include <cerrno>
#include <ifaddrs.h>
#include <netinet/in.h>
#include <signal.h>
#include <unistd.h>

namespace rr::processlock
{
namespace
{

bool isAddressOfThisMachine(const QString &ip)
{
    in_addr wanted{};
    if (::inet_pton(AF_INET, ip.toLatin1().constData(), &wanted) != 1)
        return false;
    if ((ntohl(wanted.s_addr) >> 24) == 127)
        return true;
    ifaddrs *list = nullptr;
    if (::getifaddrs(&list) != 0)
        return false;
    bool found = false;
    for (const ifaddrs *a = list; a && !found; a = a->ifa_next) {
        if (a->ifa_addr && a->ifa_addr->sa_family == AF_INET)
            found = reinterpret_cast<const sockaddr_in *>(a->ifa_addr)->sin_addr.s_addr == wanted.s_addr;
    }
    ::freeifaddrs(list);
    return found;
}

} // namespace

qint64 pidOfTarget(const QString &target, QString *ip)
{
    const qsizetype sep = target.lastIndexOf(QLatin1String(":+"));
    if (sep <= 0 || target.size() - sep > 12)
        return 0;
    bool ok = false;
    const qint64 pid = target.mid(sep + 2).toLongLong(&ok);
    if (!ok || pid <= 0 || pid > 0x3fffffff)
        return 0;
    for (const QChar c : target.mid(sep + 2))
        if (!c.isDigit())
            return 0;
    if (ip)
        *ip = target.left(sep);
    return pid;
}

bool namesLiveLocalProcess(const QString &path)
{
    // The target as written, not resolved against the folder as Qt would.
    char target[256];
    const ssize_t n = ::readlink(QFile::encodeName(path).constData(), target, sizeof target - 1);
    if (n <= 0)
        return false;
    QString ip;
    const qint64 pid = pidOfTarget(QString::fromLatin1(target, n), &ip);
    if (pid == 0 || !isAddressOfThisMachine(ip))
        return false;
    if (::kill(pid_t(pid), 0) != 0 && errno != EPERM)
        return false;
    // A process that has ended but not been reaped yet still answers the signal test.
    QFile stat(QStringLiteral("/proc/%1/stat").arg(pid));
    if (stat.open(QIODevice::ReadOnly)) {
        const QByteArray line = stat.read(512);
        const qsizetype close = line.lastIndexOf(')');
        if (close > 0 && line.mid(close + 2, 1) == "Z")
            return false;
    }
    return true;
}

} // namespace rr::processlock
