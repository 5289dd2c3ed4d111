#include "platform/loopbackhttp.h"

#include <QDeadlineTimer>
#include <QList>

#include <arpa/inet.h>
#include <cerrno>
#include <fcntl.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

namespace rr::loopbackhttp
{
namespace
{

class Socket
{
public:
    Socket() : fd(::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0)) {}
    ~Socket()
    {
        if (fd >= 0)
            ::close(fd);
    }
    Socket(const Socket &) = delete;
    Socket &operator=(const Socket &) = delete;
    int fd;
};

// Waits until fd is ready for events or the deadline passes.
bool waitFor(int fd, short events, const QDeadlineTimer &deadline)
{
    for (;;) {
        const qint64 left = deadline.remainingTime();
        if (left <= 0)
            return false;
        pollfd p{fd, events, 0};
        const int n = ::poll(&p, 1, int(qMin<qint64>(left, 60000)));
        if (n > 0)
            return true;
        if (n < 0 && errno != EINTR)
            return false;
    }
}

bool connectLoopback(int fd, quint16 port, const QDeadlineTimer &deadline, Status *status)
{
    sockaddr_in addr{};
    addr.sin_family = AF_INET;
    addr.sin_port = htons(port);
    addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    if (::connect(fd, reinterpret_cast<sockaddr *>(&addr), sizeof addr) == 0)
        return true;
    if (errno != EINPROGRESS) {
        *status = Status::Refused;
        return false;
    }
    if (!waitFor(fd, POLLOUT, deadline)) {
        *status = Status::TimedOut;
        return false;
    }
    int error = 0;
    socklen_t len = sizeof error;
    if (::getsockopt(fd, SOL_SOCKET, SO_ERROR, &error, &len) != 0 || error != 0) {
        *status = Status::Refused;
        return false;
    }
    return true;
}

bool sendAll(int fd, const QByteArray &data, const QDeadlineTimer &deadline)
{
    qint64 sent = 0;
    while (sent < data.size()) {
        const ssize_t n = ::send(fd, data.constData() + sent, size_t(data.size() - sent), MSG_NOSIGNAL);
        if (n > 0) {
            sent += n;
        } else if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK || errno == EINTR)) {
            if (!waitFor(fd, POLLOUT, deadline))
                return false;
        } else {
            return false;
        }
    }
    return true;
}

// Splits a whole reply into status and body; false when it is no HTTP reply.
bool parseReply(const QByteArray &raw, Reply *reply)
{
    const qsizetype headEnd = raw.indexOf("\r\n\r\n");
    if (headEnd < 0)
        return false;
    const QList<QByteArray> lines = raw.left(headEnd).split('\n');
    const QList<QByteArray> statusLine = lines.value(0).trimmed().split(' ');
    if (statusLine.size() < 2 || !statusLine[0].startsWith("HTTP/1."))
        return false;
    bool ok = false;
    reply->httpStatus = statusLine[1].toInt(&ok);
    if (!ok)
        return false;
    reply->body = raw.mid(headEnd + 4);
    for (const QByteArray &line : lines) {
        const qsizetype colon = line.indexOf(':');
        if (colon > 0 && line.left(colon).trimmed().toLower() == "content-length") {
            const qint64 length = line.mid(colon + 1).trimmed().toLongLong(&ok);
            if (!ok || length != reply->body.size())
                return false;
        }
    }
    return true;
}

} // namespace

Reply get(quint16 port, const QByteArray &path, int timeoutMs, qint64 maxBytes)
{
    Reply reply;
    const QDeadlineTimer deadline(timeoutMs);
    Socket socket;
    if (socket.fd < 0 || port == 0 || !path.startsWith('/') || path.contains('\r') || path.contains('\n'))
        return reply;
    if (!connectLoopback(socket.fd, port, deadline, &reply.status))
        return reply;
    const QByteArray request = "GET " + path + " HTTP/1.0\r\nHost: 127.0.0.1:" + QByteArray::number(port) +
                               "\r\nAccept: application/json\r\nConnection: close\r\n\r\n";
    if (!sendAll(socket.fd, request, deadline)) {
        reply.status = Status::TimedOut;
        return reply;
    }
    // The head counts against the cap too: a few kilobytes of allowance for it.
    const qint64 cap = maxBytes + 16 * 1024;
    QByteArray raw;
    char buffer[16384];
    for (;;) {
        const ssize_t n = ::recv(socket.fd, buffer, sizeof buffer, 0);
        if (n > 0) {
            raw.append(buffer, n);
            if (raw.size() > cap) {
                reply.status = Status::ExceedSize;
                return reply;
            }
        } else if (n == 0) {
            break;
        } else if (errno == EAGAIN || errno == EWOULDBLOCK || errno == EINTR) {
            if (!waitFor(socket.fd, POLLIN, deadline)) {
                reply.status = Status::TimedOut;
                return reply;
            }
        } else {
            reply.status = Status::Malformed;
            return reply;
        }
    }
    if (!parseReply(raw, &reply)) {
        reply.status = Status::Malformed;
        reply.body.clear();
        return reply;
    }
    if (reply.body.size() > maxBytes) {
        reply.status = Status::ExceedSize;
        reply.body.clear();
        return reply;
    }
    reply.status = reply.httpStatus == 200 ? Status::Ok : Status::HttpError;
    if (reply.status != Status::Ok)
        reply.body.clear();
    return reply;
}

} // namespace rr::loopbackhttp
