#pragma once
// An icon run: the site icons of a list of Vardecks, fetched a few at a time on the
// event loop and filed under each Vardeck's WID. The counters keep the meaning of a
// run done one Vardeck after the other: loaded, failed ("No icon found"), remaining,
// total; every Vardeck counts once, as loaded or failed, when its fetch ends.
//
// - At most maxInFlight Vardecks are fetched at once, at most maxPerHost of them on
//   one site (host and port), so no site sees more than a browser would send.
// - An address that is no web address fails at once, without network traffic.
// - A page's icon addresses are tried in turn until one gives a picture.
// - Within one run an icon address is downloaded once; Vardecks that share it get
//   its bytes (a site's pages mostly share one icon).
// - cancel() starts no new fetch and aborts those in flight at once: they are
//   dropped uncounted and leave no file; finished(true) follows from the event loop.
// - While fetches run, the window names the Vardeck the run waits on: the first
//   started of those still running, not the one started last.
#include "media/iconsupport.h"

#include <QHash>
#include <QList>
#include <QObject>
#include <QSet>
#include <QString>
#include <deque>
#include <functional>
#include <map>

namespace rr
{

struct IconJob {
    QString wid;
    QString name;
    QString address;
};

class IconRun : public QObject
{
    Q_OBJECT
public:
    struct Options {
        int maxInFlight = 6;
        int maxPerHost = 2;
        bool shareDownloads = true;
    };

    // The icons go into the icon folder of the database dbName ("Vardecks.xml") below basePath.
    IconRun(const QString &basePath, const QString &dbName, QList<IconJob> jobs, HttpFetcher &net,
            QObject *parent = nullptr);
    IconRun(const QString &basePath, const QString &dbName, QList<IconJob> jobs, HttpFetcher &net, Options options,
            QObject *parent = nullptr);

    // Starts fetching; finished comes later even for an empty list.
    void start();
    void cancel();
    bool isCancelled() const { return m_cancelled; }
    bool isFinished() const { return m_finished; }

    int loaded() const { return m_loaded; }
    int failed() const { return m_failed; }
    int remaining() const { return m_remaining; }
    int total() const { return m_total; }

signals:
    // The Vardeck the run now waits on changed: its name and its home page.
    void waitingOn(const QString &name, const QString &home);
    // A Vardeck's icon is filed; iconFile is "" when the filing failed.
    void iconLoaded(const QString &wid, const QString &iconFile);
    // The counters changed.
    void counted();
    void finished(bool cancelled);

private:
    struct Running {
        IconJob job;
        QString host;
        QString home;
    };
    // A job waiting, with its home page and site worked out once.
    struct Waiting {
        qsizetype order = 0;
        IconJob job;
        QString home;
        QString host;
    };
    void pump();
    bool startNext();
    void markReady(const QString &host);
    // Downloads the first of the icon addresses; one that gives no picture hands on to the next.
    void iconAddressesFound(const std::shared_ptr<Running> &run, QStringList addresses);
    void iconBytes(const std::shared_ptr<Running> &run, const QByteArray &bytes, bool checked);
    void endOne(const std::shared_ptr<Running> &run);
    void finishIfDone();

    QString m_basePath;
    QString m_dbName;
    // The context of every request of the run: deleting it aborts them all.
    QObject *m_fetches;
    // The Vardecks being fetched, in the order they started.
    QList<std::shared_ptr<Running>> m_running;
    // The waiting jobs by site ("" holds those that are no web address), and the sites
    // that may start one more fetch, by their first job's place in the list: the next
    // job is found without reading the whole list again.
    QHash<QString, std::deque<Waiting>> m_pending;
    std::map<qsizetype, QString> m_ready;
    qsizetype m_waitingCount = 0;
    HttpFetcher &m_net;
    Options m_options;
    QHash<QString, int> m_perHost;
    int m_inFlight = 0;
    QHash<QString, QByteArray> m_downloaded; // icon address -> bytes ("" failed)
    QHash<QString, QList<std::function<void(const QByteArray &)>>> m_waiting;
    qint64 m_downloadedBytes = 0;
    int m_loaded = 0;
    int m_failed = 0;
    int m_remaining = 0;
    int m_total = 0;
    bool m_cancelled = false;
    bool m_finished = false;
    bool m_started = false;
};

} // namespace rr
