#pragma once
// A server on 127.0.0.1 that answers each request with the raw bytes reply(path)
// returns; an empty answer keeps the connection silent until the server stops.
#include <QByteArray>
#include <QList>
#include <arpa/inet.h>
#include <atomic>
#include <functional>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <thread>
#include <unistd.h>

namespace rr::test
{

class LoopbackServer
{
public:
    using Reply = std::function<QByteArray(const QByteArray &path)>;

    explicit LoopbackServer(Reply reply) : m_reply(std::move(reply))
    {
        m_fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
        sockaddr_in addr{};
        addr.sin_family = AF_INET;
        addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t len = sizeof addr;
        ::bind(m_fd, reinterpret_cast<sockaddr *>(&addr), len);
        ::listen(m_fd, 8);
        ::getsockname(m_fd, reinterpret_cast<sockaddr *>(&addr), &len);
        m_port = ntohs(addr.sin_port);
        m_thread = std::thread([this] { serve(); });
    }
    ~LoopbackServer()
    {
        m_stop = true;
        m_thread.join();
        ::close(m_fd);
    }
    quint16 port() const { return m_port; }

    static QByteArray ok(const QByteArray &body)
    {
        return "HTTP/1.1 200 OK\r\nContent-Type: application/json\r\nContent-Length: " +
               QByteArray::number(body.size()) + "\r\n\r\n" + body;
    }

private:
    bool readable(int fd) const
    {
        while (!m_stop) {
            pollfd p{fd, POLLIN, 0};
            if (::poll(&p, 1, 20) > 0)
                return true;
        }
        return false;
    }
    void serve()
    {
        while (readable(m_fd)) {
            const int client = ::accept(m_fd, nullptr, nullptr);
            if (client < 0)
                continue;
            QByteArray request;
            char buffer[4096];
            while (!request.contains("\r\n\r\n") && readable(client)) {
                const ssize_t n = ::recv(client, buffer, sizeof buffer, 0);
                if (n <= 0)
                    break;
                request.append(buffer, n);
            }
            const QByteArray answer = m_reply(request.split(' ').value(1));
            if (answer.isEmpty()) {
                while (!m_stop)
                    ::usleep(10000);
            } else {
                qsizetype sent = 0;
                while (sent < answer.size()) {
                    const ssize_t n = ::send(client, answer.constData() + sent, answer.size() - sent, MSG_NOSIGNAL);
                    if (n <= 0)
                        break;
                    sent += n;
                }
            }
            ::close(client);
        }
    }

    Reply m_reply;
    int m_fd = -1;
    quint16 m_port = 0;
    std::atomic<bool> m_stop{false};
    std::thread m_thread;
};

} // namespace rr::test
