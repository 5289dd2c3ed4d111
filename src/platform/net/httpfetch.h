#pragma once
// Plain HTTP GETs with limits: the one way the program fetches pages and pictures
// from the sites of its Vardecks. Requests run on the caller's event loop; nothing
// blocks, and the answer comes to a callback bound to a context object.
//
// Rules kept here so no caller has to remember them:
// - Only http and https addresses are fetched, redirects included; anything else
//   (file:, ftp:, data:, javascript:) is refused without touching the network.
// - Redirects are followed here, not by the network layer, so each hop is checked:
//   at most maxRedirects of them, each to http or https.
// - A body larger than maxBody is cut off as soon as the declared length or the
//   bytes received pass it; the whole body is never held beyond the cap.
// - Two time-outs: idleTimeoutMs with no byte moving (a server that accepts and
//   never answers, a connect that hangs), totalTimeoutMs for the whole request with
//   its redirects (a server that trickles forever).
// - A status outside 200..299 is a failure: error pages never reach a caller as a
//   page or a picture.
// - The callback runs once, later, from the event loop, and only while its context
//   object lives. When the context object goes, its requests still running are
//   aborted at once (a cancelled job frees its connections and time-outs); a
//   fetcher deleted with requests in flight aborts them silently too.
#include <QByteArray>
#include <QObject>
#include <QString>
#include <QUrl>
#include <functional>

class QNetworkAccessManager;
class QNetworkReply;

namespace rr
{

struct FetchLimits {
    int idleTimeoutMs = 15000;
    int totalTimeoutMs = 15000;
    qint64 maxBody = 2 * 1024 * 1024;
    int maxRedirects = 5;
};

struct FetchResult {
    enum class Outcome { Ok, Refused, HttpError, NetworkError, TimedOut, TooLarge, TooManyRedirects };
    Outcome outcome = Outcome::NetworkError;
    int status = 0;  // the last HTTP status seen, 0 when none
    QByteArray body; // the body of a successful answer
    QUrl finalUrl;   // the address that answered, after redirects
    QString error;   // a plain reason for a failure
    bool ok() const { return outcome == Outcome::Ok; }
};

class HttpFetcher : public QObject
{
    Q_OBJECT
public:
    using Callback = std::function<void(const FetchResult &)>;

    explicit HttpFetcher(QObject *parent = nullptr);
    ~HttpFetcher() override;

    // The address a user typed as a fetchable one: "www.…" gains "http://"; anything
    // but http or https gives an invalid QUrl.
    static QUrl fetchableUrl(const QString &address);

    // Starts a GET; done runs with the result unless context is gone by then.
    void get(const QUrl &url, const FetchLimits &limits, QObject *context, Callback done);
    // Requests still running.
    int inFlight() const { return m_inFlight; }

private:
    struct Request;
    void startHop(const std::shared_ptr<Request> &request);
    void finishHop(const std::shared_ptr<Request> &request, QNetworkReply *reply);
    void complete(const std::shared_ptr<Request> &request, FetchResult result);
    void abandon(const std::shared_ptr<Request> &request);
    // Marks the request finished and stops its watchers.
    static void finish(Request &request);

    QNetworkAccessManager *m_network;
    int m_inFlight = 0;
};

} // namespace rr
