#include "support/httpserver.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QHostAddress>
#include <QPointer>
#include <QSemaphore>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTimer>

namespace rr::test
{
namespace
{

// Answers one request, then keeps the connection open or closes it.
void answer(HttpServer *owner, QTcpSocket *socket, const HttpServer::Response &r)
{
    owner->answered();
    const QByteArray reason = r.status == 200   ? "OK"
                              : r.status == 302 ? "Found"
                              : r.status == 404 ? "Not Found"
                                                : "Status";
    QByteArray head = "HTTP/1.1 " + QByteArray::number(r.status) + ' ' + reason + "\r\n";
    head += "Content-Type: " + r.contentType + "\r\n";
    head += "Content-Length: " + QByteArray::number(r.body.size()) + "\r\n";
    for (const auto &[name, value] : r.headers)
        head += name + ": " + value + "\r\n";
    head += owner->keepAlive() ? "Connection: keep-alive\r\n\r\n" : "Connection: close\r\n\r\n";
    socket->write(r.raw.isEmpty() ? head + r.body : r.raw);
    if (!owner->keepAlive())
        socket->disconnectFromHost();
}

// The value of the request's Host header; null when it has none.
QByteArray hostHeader(const QByteArray &head)
{
    const QList<QByteArray> lines = head.split('\n');
    for (qsizetype i = 1; i < lines.size(); ++i) {
        const QByteArray header = lines[i].trimmed();
        const qsizetype colon = header.indexOf(':');
        if (colon > 0 && header.left(colon).trimmed().toLower() == "host")
            return header.mid(colon + 1).trimmed();
    }
    return {};
}

// A debugging server answers only requests that name no host, or a host that is an
// address or "localhost": a page that tricks a browser into asking it under another name
// gets nothing.
bool isLoopbackHost(const QByteArray &host)
{
    QByteArray name = host;
    if (name.startsWith('[')) // "[::1]:9222"
        name = name.mid(1, name.indexOf(']') - 1);
    else if (name.count(':') == 1)
        name = name.left(name.indexOf(':'));
    return name.toLower() == "localhost" || !QHostAddress(QString::fromLatin1(name)).isNull();
}

// Reads requests in turn: clients wait for each answer before sending the next one.
void serve(HttpServer *owner, QTcpSocket *socket)
{
    auto *pending = new QByteArray;
    QObject::connect(socket, &QObject::destroyed, [pending] { delete pending; });
    QObject::connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
    QObject::connect(socket, &QTcpSocket::readyRead, socket, [owner, socket, pending] {
        *pending += socket->readAll();
        qsizetype end;
        while ((end = pending->indexOf("\r\n\r\n")) >= 0) {
            const QByteArray head = pending->left(end);
            pending->remove(0, end + 4);
            const QList<QByteArray> line = head.left(head.indexOf("\r\n")).split(' ');
            const QByteArray host = hostHeader(head);
            owner->sawHost(host);
            if (owner->http11Only() && line.value(2).trimmed() == "HTTP/1.0") {
                owner->refusedOne();
                pending->clear();
                socket->disconnectFromHost();
                return;
            }
            if (owner->http11Only() && !host.isNull() && !isLoopbackHost(host)) {
                owner->refusedOne();
                socket->write(
                    "HTTP/1.1 500 Internal Server Error\r\nContent-Length:63\r\nContent-Type:text/html\r\n\r\n"
                    "Host header is specified and is not an IP address or localhost.");
                continue;
            }
            const QString path = line.size() > 1 ? QString::fromLatin1(line.at(1)) : QStringLiteral("/");
            const HttpServer::Response response = owner->responseFor(path);
            if (response.hang)
                continue;
            if (response.delayMs <= 0) {
                answer(owner, socket, response);
                continue;
            }
            QPointer<QTcpSocket> alive(socket);
            QTimer::singleShot(response.delayMs, socket, [owner, alive, response] {
                if (alive)
                    answer(owner, alive, response);
            });
        }
    });
}

} // namespace

HttpServer::HttpServer(int lifetimeMs, bool keepAlive, bool http11Only)
    : m_keepAlive(keepAlive), m_http11Only(http11Only)
{
    QSemaphore ready;
    auto *server = new QTcpServer;
    server->moveToThread(&m_thread);
    QObject::connect(&m_thread, &QThread::started, server, [this, server, lifetimeMs, &ready] {
        server->listen(QHostAddress::LocalHost, 0);
        m_port = server->serverPort();
        QObject::connect(server, &QTcpServer::newConnection, server, [this, server] {
            while (QTcpSocket *socket = server->nextPendingConnection())
                serve(this, socket);
        });
        // Bounded lifetime: the server closes even when a test forgets it.
        QTimer::singleShot(lifetimeMs, server, [server] { server->close(); });
        ready.release();
    });
    QObject::connect(&m_thread, &QThread::finished, server, &QObject::deleteLater);
    m_thread.start();
    ready.acquire();
}

HttpServer::~HttpServer()
{
    m_thread.quit();
    m_thread.wait();
}

void HttpServer::route(const QString &path, const Response &response)
{
    QMutexLocker lock(&m_mutex);
    m_routes.insert(path, response);
}

QString HttpServer::url(const QString &path) const
{
    return QStringLiteral("http://127.0.0.1:%1%2").arg(m_port).arg(path);
}

int HttpServer::hits(const QString &path) const
{
    QMutexLocker lock(&m_mutex);
    return m_hits.value(path);
}

int HttpServer::totalHits() const
{
    QMutexLocker lock(&m_mutex);
    return m_total;
}

HttpServer::Response HttpServer::responseFor(const QString &path)
{
    QMutexLocker lock(&m_mutex);
    ++m_hits[path];
    ++m_total;
    m_maxOpen = std::max(m_maxOpen, ++m_open);
    const auto found = m_routes.constFind(path);
    if (found != m_routes.constEnd())
        return found.value();
    return {404, "<html><head><title>Not found</title></head><body>No such page</body></html>"};
}

void HttpServer::answered()
{
    QMutexLocker lock(&m_mutex);
    --m_open;
}

void HttpServer::refusedOne()
{
    QMutexLocker lock(&m_mutex);
    ++m_refused;
}

void HttpServer::sawHost(const QByteArray &host)
{
    QMutexLocker lock(&m_mutex);
    m_hosts << host;
}

QList<QByteArray> HttpServer::hostHeaders() const
{
    QMutexLocker lock(&m_mutex);
    return m_hosts;
}

int HttpServer::refused() const
{
    QMutexLocker lock(&m_mutex);
    return m_refused;
}

int HttpServer::maxOpen() const
{
    QMutexLocker lock(&m_mutex);
    return m_maxOpen;
}

bool waitUntil(const std::function<bool()> &done, int timeoutMs)
{
    if (done())
        return true;
    // A real event loop: events are handled as they come, the check runs every 2 ms.
    QElapsedTimer clock;
    clock.start();
    QEventLoop loop;
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, &loop, [&] {
        if (done() || clock.elapsed() > timeoutMs)
            loop.quit();
    });
    poll.start(2);
    loop.exec();
    return done();
}

HttpServer::Response page(const QByteArray &html, int delayMs)
{
    return {200, html, "text/html", {}, delayMs};
}

HttpServer::Response json(const QByteArray &body)
{
    return {200, body, "application/json"};
}

HttpServer::Response picture(const QByteArray &bytes, const QByteArray &type)
{
    return {200, bytes, type};
}

HttpServer::Response redirect(const QString &location)
{
    return {302, {}, "text/html", {{"Location", location.toUtf8()}}};
}

} // namespace rr::test
