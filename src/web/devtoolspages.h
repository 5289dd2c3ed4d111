#pragma once
// The pages of a Chromium-family browser that its user started with remote
// debugging on a local port: its /json/version names the product, its /json/list the
// open targets, of which only "page" targets count. The program only reads there and
// never starts a browser that way itself.
#include "web/detectedpage.h"

#include "platform/loopbackhttp.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <functional>
#include <memory>

namespace rr::devtools
{

// The product a /json/version reply names ("Chrome" of "Chrome/120.0.1"), or "".
QString productName(const QByteArray &versionJson);

// The process that listens on a local TCP port: the name it gives itself and its
// executable file; both empty when it cannot be found (another user's, or none).
struct ListeningProgram {
    QString name;
    QString executable;
};
ListeningProgram programListeningOn(quint16 port);
// The label of the pages of a browser: "Chromium" for a Chromium program whatever
// product its endpoint names, otherwise that product ("Chromium" when none).
QString browserLabel(const QString &product, const ListeningProgram &program);
// The "page" targets of a /json/list reply, labelled with label; none when the
// reply is not a list. The list carries titles HTML-escaped: they come back as the
// pages give them.
QList<DetectedPage> parsePageList(const QByteArray &listJson, const QString &label);
// Asks the browsers listening on 127.0.0.1 at each of ports, all at the same time:
// their pages in the order of the ports, nothing from a port where none answers in
// time. Waits at most twice the time-out: for the lists, then for the names of the
// browsers that sent one.
QList<DetectedPage> pagesOn(const QList<quint16> &ports, int timeoutMs);

// The same question without waiting, on the calling thread's event loop: done gets
// the pages (none when the browser did not answer in time) once, and must leave the
// query alive. Deleting the query before abandons it.
class PageQuery
{
public:
    using Done = std::function<void(const QList<DetectedPage> &)>;
    PageQuery(quint16 port, int timeoutMs, Done done);
    ~PageQuery();
    PageQuery(const PageQuery &) = delete;
    PageQuery &operator=(const PageQuery &) = delete;

private:
    void listed(const loopbackhttp::Reply &list);

    quint16 m_port;
    int m_timeoutMs;
    Done m_done;
    QByteArray m_list;
    std::unique_ptr<loopbackhttp::PendingGet> m_listGet;
    std::unique_ptr<loopbackhttp::PendingGet> m_versionGet;
};

} // namespace rr::devtools
