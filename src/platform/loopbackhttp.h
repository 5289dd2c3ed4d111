#pragma once
// A plain HTTP GET to a server on this machine's loopback address, for the local
// debugging endpoints browsers offer. Traps kept here so no caller meets them:
// - Only 127.0.0.1 is ever contacted: the address is fixed, callers give a port.
// - Every step has a deadline (connect, send, receive together): a server that
//   accepts and never answers costs at most the time-out, never a frozen window.
// - The reply is untrusted: at most maxBytes are read; a longer one is refused, not
//   cut; a reply without a status line or with a non-200 status is a failure.
// - HTTP/1.1 with a Host header is spoken: browsers' debugging servers close an
//   HTTP/1.0 request without a word. They also keep the connection open after the
//   reply whatever the request asks, so the body is read up to its Content-Length
//   and the connection closed by us; only a reply without one is read until the
//   server closes. Chunked replies are not read (these servers send none).
// - The socket is closed on every path; SIGPIPE is never raised by a send.
// - Several requests are waited for together: getAll makes them all at once, so
//   servers that accept and never answer cost one time-out in all, not one each.
// - A request need not wait: PendingGet runs the same request on the calling
//   thread's event loop, so that several ports are asked at once and the window goes
//   on meanwhile.
#include <QByteArray>
#include <QList>
#include <QString>
#include <functional>
#include <memory>

namespace rr::loopbackhttp
{

enum class Status { Ok, Refused, TimedOut, ExceedSize, Malformed, HttpError };

struct Reply {
    Status status = Status::Refused;
    int httpStatus = 0;
    QByteArray body;
};

struct Request {
    quint16 port = 0;
    QByteArray path;
    qint64 maxBytes = 0;
};

// GET path (beginning with "/") from 127.0.0.1:port.
Reply get(quint16 port, const QByteArray &path, int timeoutMs, qint64 maxBytes);

// Every request at the same time, each read as get() reads it, waited for together:
// the replies in the order of the requests, within one time-out counted from the call.
// Window events do not run meanwhile.
QList<Reply> getAll(const QList<Request> &requests, int timeoutMs);

// The same GET without waiting. It runs on the calling thread's event loop from the
// loop's next turn on, and its time-out counts from there; done is called once with
// the reply, always from that loop (never from the constructor). Deleting the request
// before abandons it: the socket closes and done is not called. done itself must
// leave the request alive (its owner lets go of it later).
class PendingGet
{
public:
    using Done = std::function<void(const Reply &)>;
    PendingGet(quint16 port, const QByteArray &path, int timeoutMs, qint64 maxBytes, Done done);
    ~PendingGet();
    PendingGet(const PendingGet &) = delete;
    PendingGet &operator=(const PendingGet &) = delete;

private:
    class Impl;
    std::unique_ptr<Impl> d;
};

} // namespace rr::loopbackhttp
