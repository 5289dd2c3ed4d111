#include "platform/loopbackhttp.h"

#include <QDeadlineTimer>
#include <QList>
#include <QSocketNotifier>
#include <QTimer>

#include <algorithm>
#include <memory>
#include <optional>
#include <vector>

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

sockaddr_in loopbackAddress(quint16 port)
{
    sockaddr_in addr{};
    addr.sin_family = AF_INET;
    addr.sin_port = htons(port);
    addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    return addr;
}

// Starts connecting; false (with the status) when the connection failed at once.
bool startConnect(int fd, quint16 port, bool *inProgress, Status *status)
{
    const sockaddr_in addr = loopbackAddress(port);
    *inProgress = false;
    if (::connect(fd, reinterpret_cast<const sockaddr *>(&addr), sizeof addr) == 0)
        return true;
    if (errno != EINPROGRESS) {
        *status = Status::Refused;
        return false;
    }
    *inProgress = true;
    return true;
}

// Whether a connection that was in progress has been made.
bool connectionMade(int fd)
{
    int error = 0;
    socklen_t len = sizeof error;
    return ::getsockopt(fd, SOL_SOCKET, SO_ERROR, &error, &len) == 0 && error == 0;
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

bool requestAllowed(quint16 port, const QByteArray &path)
{
    return port != 0 && path.startsWith('/') && !path.contains('\r') && !path.contains('\n');
}

QByteArray requestFor(quint16 port, const QByteArray &path)
{
    // "Connection: close" is asked for, but not relied upon: Chromium ignores it.
    return "GET " + path + " HTTP/1.1\r\nHost: 127.0.0.1:" + QByteArray::number(port) +
           "\r\nAccept: application/json\r\nConnection: close\r\n\r\n";
}

// One reply as its bytes arrive, however they are cut.
class ReplyReader
{
public:
    enum class State { More, Done, Failed };
    explicit ReplyReader(qint64 maxBytes) : m_maxBytes(maxBytes) {}

    State add(const char *data, qsizetype n)
    {
        m_raw.append(data, n);
        return check();
    }
    // The server closed the connection: a whole reply only when its body was to end
    // with the connection.
    State closed()
    {
        if (m_bodyStart < 0 || m_bodyLength >= 0)
            return fail(Status::Malformed);
        return done();
    }
    State fail(Status status)
    {
        m_reply.status = status;
        return State::Failed;
    }
    const Reply &reply() const { return m_reply; }

private:
    State check()
    {
        if (m_bodyStart < 0) {
            const qsizetype headEnd = m_raw.indexOf("\r\n\r\n");
            if (headEnd >= 0) {
                if (!parseHead(m_raw.left(headEnd), &m_reply, &m_bodyLength))
                    return fail(Status::Malformed);
                // The body of a refusal is not needed: no waiting for it.
                if (m_reply.httpStatus != 200)
                    return fail(Status::HttpError);
                m_bodyStart = headEnd + 4;
            } else if (m_raw.size() > kMaxHead) {
                return fail(Status::Malformed);
            }
        }
        if (m_bodyStart >= 0) {
            const qint64 received = m_raw.size() - m_bodyStart;
            if (m_bodyLength > m_maxBytes || (m_bodyLength < 0 && received > m_maxBytes))
                return fail(Status::ExceedSize);
            if (m_bodyLength >= 0 && received >= m_bodyLength)
                return done();
        }
        return State::More;
    }
    State done()
    {
        m_reply.status = Status::Ok;
        m_reply.body = m_raw.mid(m_bodyStart, m_bodyLength);
        return State::Done;
    }

    qint64 m_maxBytes;
    Reply m_reply;
    QByteArray m_raw;
    qsizetype m_bodyStart = -1; // where the body begins once the head is in
    qint64 m_bodyLength = -1;   // the announced length, -1 for "until the connection ends"
};

// One GET on its own non-blocking socket, moved on each time the socket is ready for
// what it waits for. The request that waits and the one on the event loop drive it
// alike, so both read a reply by the same rules.
class Exchange
{
public:
    Exchange(quint16 port, const QByteArray &path, qint64 maxBytes) : m_port(port), m_path(path), m_reader(maxBytes) {}

    // Starts connecting; a request that cannot be made is over at once.
    void start()
    {
        if (m_socket.fd < 0 || !requestAllowed(m_port, m_path))
            return end(Status::Refused);
        m_request = requestFor(m_port, m_path);
        Status status = Status::Refused;
        bool inProgress = false;
        if (!startConnect(m_socket.fd, m_port, &inProgress, &status))
            return end(status);
        m_stage = inProgress ? Stage::Connecting : Stage::Sending;
    }

    int fd() const { return m_socket.fd; }
    bool over() const { return m_stage == Stage::Over; }
    // The poll() events waited for: POLLOUT until the request is sent, then POLLIN; none once over.
    short awaited() const
    {
        switch (m_stage) {
        case Stage::Connecting:
        case Stage::Sending:
            return POLLOUT;
        case Stage::Receiving:
            return POLLIN;
        case Stage::Over:
            break;
        }
        return 0;
    }

    // The socket is ready for what it waits for, or has failed.
    void ready()
    {
        if (m_stage == Stage::Connecting) {
            if (!connectionMade(m_socket.fd))
                return end(Status::Refused);
            m_stage = Stage::Sending;
        }
        if (m_stage == Stage::Sending)
            return send();
        if (m_stage == Stage::Receiving)
            receive();
    }

    void timeOut()
    {
        if (!over())
            end(Status::TimedOut);
    }

    const Reply &reply() const { return m_reader.reply(); }

private:
    enum class Stage { Connecting, Sending, Receiving, Over };

    void send()
    {
        while (m_sent < m_request.size()) {
            const ssize_t n =
                ::send(m_socket.fd, m_request.constData() + m_sent, size_t(m_request.size() - m_sent), MSG_NOSIGNAL);
            if (n > 0)
                m_sent += n;
            else if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK || errno == EINTR))
                return;
            else
                return end(Status::TimedOut);
        }
        m_stage = Stage::Receiving;
    }

    void receive()
    {
        char buffer[16384];
        for (;;) {
            const ssize_t n = ::recv(m_socket.fd, buffer, sizeof buffer, 0);
            ReplyReader::State state = ReplyReader::State::More;
            if (n > 0)
                state = m_reader.add(buffer, n);
            else if (n == 0)
                state = m_reader.closed();
            else if (errno == EAGAIN || errno == EWOULDBLOCK)
                return;
            else if (errno != EINTR)
                state = m_reader.fail(Status::Malformed);
            if (state != ReplyReader::State::More)
                return end();
        }
    }

    // Over, with the reply as read or failed with status; the server sees the end at once.
    void end(std::optional<Status> status = std::nullopt)
    {
        if (status)
            m_reader.fail(*status);
        m_stage = Stage::Over;
        if (m_socket.fd >= 0)
            ::shutdown(m_socket.fd, SHUT_RDWR);
    }

    quint16 m_port;
    QByteArray m_path;
    Socket m_socket;
    ReplyReader m_reader;
    QByteArray m_request;
    qsizetype m_sent = 0;
    Stage m_stage = Stage::Connecting;
};

} // namespace

Reply get(quint16 port, const QByteArray &path, int timeoutMs, qint64 maxBytes)
{
    return getAll({{port, path, maxBytes}}, timeoutMs).constFirst();
}

QList<Reply> getAll(const QList<Request> &requests, int timeoutMs)
{
    const QDeadlineTimer deadline(timeoutMs);
    std::vector<std::unique_ptr<Exchange>> exchanges;
    for (const Request &request : requests) {
        exchanges.push_back(std::make_unique<Exchange>(request.port, request.path, request.maxBytes));
        exchanges.back()->start();
    }
    std::vector<pollfd> polled;
    std::vector<Exchange *> waiting;
    for (;;) {
        polled.clear();
        waiting.clear();
        for (const std::unique_ptr<Exchange> &exchange : exchanges) {
            if (!exchange->over()) {
                polled.push_back({exchange->fd(), exchange->awaited(), 0});
                waiting.push_back(exchange.get());
            }
        }
        if (waiting.empty())
            break;
        const qint64 left = deadline.remainingTime();
        const int n = left > 0 ? ::poll(polled.data(), nfds_t(polled.size()), int(qMin<qint64>(left, 60000))) : -1;
        if (n < 0 && (left <= 0 || errno != EINTR)) {
            for (Exchange *exchange : waiting)
                exchange->timeOut();
            break;
        }
        for (size_t i = 0; n > 0 && i < polled.size(); ++i)
            if (polled[i].revents != 0)
                waiting[i]->ready();
    }
    QList<Reply> replies;
    replies.reserve(qsizetype(exchanges.size()));
    for (const std::unique_ptr<Exchange> &exchange : exchanges)
        replies << exchange->reply();
    return replies;
}

class PendingGet::Impl : public QObject
{
public:
    Impl(quint16 port, const QByteArray &path, int timeoutMs, qint64 maxBytes, Done done)
        : m_exchange(port, path, maxBytes), m_timeoutMs(timeoutMs), m_done(std::move(done))
    {
        // The time-out counts from when the event loop can wait for the reply, not from
        // whatever the caller does before it lets the loop run.
        QTimer::singleShot(0, this, [this] { begin(); });
    }

private:
    void begin()
    {
        m_deadline.setSingleShot(true);
        QObject::connect(&m_deadline, &QTimer::timeout, this, [this] {
            m_exchange.timeOut();
            settle();
        });
        m_deadline.start(m_timeoutMs);
        m_exchange.start();
        if (!m_exchange.over()) {
            m_writable = std::make_unique<QSocketNotifier>(m_exchange.fd(), QSocketNotifier::Write);
            m_readable = std::make_unique<QSocketNotifier>(m_exchange.fd(), QSocketNotifier::Read);
            for (QSocketNotifier *notifier : {m_writable.get(), m_readable.get()})
                QObject::connect(notifier, &QSocketNotifier::activated, this, [this] {
                    m_exchange.ready();
                    settle();
                });
        }
        settle();
    }

    // Waits for what the exchange needs next; once it is over, calls done with the reply
    // as the very last step.
    void settle()
    {
        const short awaited = m_exchange.awaited();
        if (m_writable)
            m_writable->setEnabled(awaited == POLLOUT);
        if (m_readable)
            m_readable->setEnabled(awaited == POLLIN);
        if (!m_exchange.over() || m_answered)
            return;
        m_answered = true;
        m_deadline.stop();
        const Done done = std::move(m_done);
        const Reply reply = m_exchange.reply();
        if (done)
            done(reply);
    }

    Exchange m_exchange;
    int m_timeoutMs;
    Done m_done;
    bool m_answered = false;
    QTimer m_deadline;
    std::unique_ptr<QSocketNotifier> m_writable;
    std::unique_ptr<QSocketNotifier> m_readable;
};

PendingGet::PendingGet(quint16 port, const QByteArray &path, int timeoutMs, qint64 maxBytes, Done done)
    : d(std::make_unique<Impl>(port, path, timeoutMs, maxBytes, std::move(done)))
{
}

PendingGet::~PendingGet() = default;

} // namespace rr::loopbackhttp
