#pragma once
// A browser's remote-debugging endpoint as Chromium 156 serves it (its replies were captured from the
// real program): an HTTP/1.0 request gets its connection closed without a reply; an HTTP/1.1 request
// whose Host header names another host than an address or "localhost" gets a 500 reply ("Host header
// is specified and is not an IP address or localhost."); any other HTTP/1.1 request, with or without
// a Host header, gets "Name:value" headers with a Content-Length,
// and the connection stays open after the reply whatever the request asked. /json/list is an indented
// array of targets with their fields in alphabetical order, the titles HTML-escaped ("&" "<" ">" '"'
// "'" as "&amp;" "&lt;" "&gt;" "&quot;" "&#39;"), addresses and descriptions as they are, other
// letters unescaped.
#include "support/httpserver.h"

#include <QJsonArray>
#include <QJsonDocument>

namespace rr::test
{

struct DevToolsTarget {
    QString type;
    QString title; // as the page gives it
    QString url;
    QString description{};
};

class DevToolsServer
{
public:
    explicit DevToolsServer(const QByteArray &browser = "Chrome/156.0.8078.129") : m_http(60000, true, true)
    {
        m_http.route(QStringLiteral("/json/version"),
                     reply("{\n   \"Browser\": \"" + browser +
                           "\",\n   \"Protocol-Version\": \"1.3\",\n   \"V8-Version\": \"15.6.75.95\"\n}\n"));
        setTargets({});
    }
    quint16 port() const { return m_http.port(); }
    HttpServer &http() { return m_http; }

    void setTargets(const QList<DevToolsTarget> &targets) { setListBody(listJson(targets)); }
    // Any body on /json/list, sent as the browser sends a list.
    void setListBody(const QByteArray &body) { m_http.route(QStringLiteral("/json/list"), reply(body)); }

    static QString escapedTitle(const QString &title)
    {
        QString out;
        for (const QChar c : title) {
            switch (c.unicode()) {
            case '&':
                out += QStringLiteral("&amp;");
                break;
            case '<':
                out += QStringLiteral("&lt;");
                break;
            case '>':
                out += QStringLiteral("&gt;");
                break;
            case '"':
                out += QStringLiteral("&quot;");
                break;
            case '\'':
                out += QStringLiteral("&#39;");
                break;
            default:
                out += c;
            }
        }
        return out;
    }

    static QByteArray listJson(const QList<DevToolsTarget> &targets)
    {
        QByteArray out = "[ ";
        for (qsizetype i = 0; i < targets.size(); ++i) {
            const DevToolsTarget &t = targets.at(i);
            const QByteArray id = QByteArray::number(0xA0D91383B500ULL + quint64(i), 16).toUpper();
            out += i == 0 ? "{\n" : ", {\n";
            out += field("description", t.description) + ",\n";
            out += field("devtoolsFrontendUrl",
                         "https://chrome-devtools-frontend.appspot.com/serve_rev/@1a2e4e6f/inspector.html?ws=127.0.0.1:"
                         "9222/devtools/page/" +
                             QString::fromLatin1(id)) +
                   ",\n";
            out += field("id", QString::fromLatin1(id)) + ",\n";
            out += field("title", escapedTitle(t.title)) + ",\n";
            out += field("type", t.type) + ",\n";
            out += field("url", t.url) + ",\n";
            out +=
                field("webSocketDebuggerUrl", "ws://127.0.0.1:9222/devtools/page/" + QString::fromLatin1(id)) + "\n}";
        }
        return out + " ]\n";
    }

    static HttpServer::Response reply(const QByteArray &body)
    {
        HttpServer::Response r;
        r.raw = "HTTP/1.1 200 OK\r\nContent-Security-Policy:frame-ancestors 'none'\r\nContent-Length:" +
                QByteArray::number(body.size()) + "\r\nContent-Type:application/json; charset=UTF-8\r\n\r\n" + body;
        return r;
    }

private:
    static QByteArray field(const char *name, const QString &value)
    {
        // A JSON string: the array's compact form without its brackets.
        const QByteArray quoted = QJsonDocument(QJsonArray{value}).toJson(QJsonDocument::Compact);
        return "   \"" + QByteArray(name) + "\": " + quoted.mid(1, quoted.size() - 2);
    }

    HttpServer m_http;
};

} // namespace rr::test
