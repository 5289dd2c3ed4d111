#include "platform/loopbackhttp.h"

#include <QDeadlineTimer>
#include <QList>

#include <algorithm>

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

// The largest reply head read; a debugging server's head is a few hundred bytes.
constexpr qsizetype kMaxHead = 16 * 1024;

// Reads the status and the body length from a reply head (without its blank line).
// bodyLength becomes -1 when the body ends with the connection. False when it is no
// HTTP reply or frames its body in a way not read here.
bool parseHead(const QByteArray &head, Reply *reply, qint64 *bodyLength)
{
    const QList<QByteArray> lines = head.split('\n');
    const QList<QByteArray> statusLine = lines.value(0).trimmed().split(' ');
    if (statusLine.size() < 2 || !statusLine[0].startsWith("HTTP/1."))
        return false;
    bool ok = false;
    reply->httpStatus = statusLine[1].toInt(&ok);
    if (!ok)
        return false;
    *bodyLength = -1;
    for (qsizetype i = 1; i < lines.size(); ++i) {
        const QByteArray &line = lines.at(i);
        const qsizetype colon = line.indexOf(':');
        if (colon <= 0)
            return false;
        const QByteArray name = line.left(colon).trimmed().toLower();
        const QByteArray value = line.mid(colon + 1).trimmed();
        if (name == "transfer-encoding" && value.toLower() != "identity")
            return false;
        if (name != "content-length")
            continue;
        // Digits only: "+5", "-1" or "5, 7" are no length to trust.
        const bool digits =
            !value.isEmpty() && std::all_of(value.begin(), value.end(), [](char c) { return c >= '0' && c <= '9'; });
        const qint64 length = value.toLongLong(&ok);
        if (!digits || !ok || (*bodyLength >= 0 && *bodyLength != length))
            return false;
        *bodyLength = length;
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
    // "Connection: close" is asked for, but not relied upon: Chromium ignores it.
    const QByteArray request = "GET " + path + " HTTP/1.1\r\nHost: 127.0.0.1:" + QByteArray::number(port) +
                               "\r\nAccept: application/json\r\nConnection: close\r\n\r\n";
    if (!sendAll(socket.fd, request, deadline)) {
        reply.status = Status::TimedOut;
        return reply;
    }
    QByteArray raw;
    qsizetype bodyStart = -1; // where the body begins once the head is in
    qint64 bodyLength = -1;   // the announced length, -1 for "until the connection ends"
    char buffer[16384];
    for (;;) {
        if (bodyStart < 0) {
            const qsizetype headEnd = raw.indexOf("\r\n\r\n");
            if (headEnd >= 0) {
                if (!parseHead(raw.left(headEnd), &reply, &bodyLength)) {
                    reply.status = Status::Malformed;
                    return reply;
                }
                // The body of a refusal is not needed: no waiting for it.
                if (reply.httpStatus != 200) {
                    reply.status = Status::HttpError;
                    return reply;
                }
                bodyStart = headEnd + 4;
            } else if (raw.size() > kMaxHead) {
                reply.status = Status::Malformed;
                return reply;
            }
        }
        if (bodyStart >= 0) {
            const qint64 received = raw.size() - bodyStart;
            if (bodyLength > maxBytes || (bodyLength < 0 && received > maxBytes)) {
                reply.status = Status::ExceedSize;
                return reply;
            }
            if (bodyLength >= 0 && received >= bodyLength)
                break;
        }
        const ssize_t n = ::recv(socket.fd, buffer, sizeof buffer, 0);
        if (n > 0) {
            raw.append(buffer, n);
        } else if (n == 0) {
            // Closed: a whole reply only when its body was to end with the connection.
            if (bodyStart < 0 || bodyLength >= 0) {
                reply.status = Status::Malformed;
                return reply;
            }
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
    reply.status = Status::Ok;
    reply.body = raw.mid(bodyStart, bodyLength);
    return reply;
}

} // namespace rr::loopbackhttp
