#pragma once
// An HTTP/1.1 server on 127.0.0.1 in its own thread for at most its lifetime: fixed responses per path
// (404 otherwise), late or never; connections stay open unless keepAlive is false. With http11Only, as
// browsers' debugging servers do: an HTTP/1.0 request gets its connection closed without a reply, and a
// request whose Host header names neither an address nor "localhost" gets a 500 reply (a request with no
// Host header is answered).
#include <QByteArray>
#include <QHash>
#include <QList>
#include <QMutex>
#include <QPair>
#include <QString>
#include <QThread>
#include <functional>

namespace rr::test
{

class HttpServer
{
public:
    struct Response {
        int status = 200;
        QByteArray body{};
        QByteArray contentType = "text/html";
        QList<QPair<QByteArray, QByteArray>> headers{};
        int delayMs = 0;
        bool hang = false;
        QByteArray raw{}; // when set, sent as it is instead of a status line, headers and body
    };

    explicit HttpServer(int lifetimeMs = 60000, bool keepAlive = true, bool http11Only = false);
    ~HttpServer();

    void route(const QString &path, const Response &response);
    // "http://127.0.0.1:<port>" followed by path.
    QString url(const QString &path = QString()) const;
    // Requests seen for a path (query included), and in all.
    int hits(const QString &path) const;
    int totalHits() const;
    // The most requests the server had open (received, not yet answered) at once.
    int maxOpen() const;
    quint16 port() const { return m_port; }
    bool keepAlive() const { return m_keepAlive; }
    bool http11Only() const { return m_http11Only; }
    // Requests refused for their HTTP version or their Host header.
    int refused() const;
    // The Host header of each request in the order they came; a null array for a request without one.
    QList<QByteArray> hostHeaders() const;

    // Used by the server thread.
    Response responseFor(const QString &path);
    void answered();
    void refusedOne();
    void sawHost(const QByteArray &host);

private:
    QThread m_thread;
    quint16 m_port = 0;
    bool m_keepAlive;
    bool m_http11Only;
    mutable QMutex m_mutex;
    QHash<QString, Response> m_routes;
    QHash<QString, int> m_hits;
    int m_total = 0;
    int m_open = 0;
    int m_maxOpen = 0;
    int m_refused = 0;
    QList<QByteArray> m_hosts;
};

// Runs the calling thread's event loop until done() or timeoutMs; true when done.
bool waitUntil(const std::function<bool()> &done, int timeoutMs = 10000);

// Response helpers.
HttpServer::Response page(const QByteArray &html, int delayMs = 0);
HttpServer::Response json(const QByteArray &body);
HttpServer::Response picture(const QByteArray &bytes, const QByteArray &type = "image/x-icon");
HttpServer::Response redirect(const QString &location);

} // namespace rr::test
