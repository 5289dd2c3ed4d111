#include "platform/net/httpfetch.h"

#include "platform/webaddress.h"

#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QPointer>
#include <QTimer>

namespace rr
{

struct HttpFetcher::Request {
    QUrl url;
    FetchLimits limits;
    QPointer<QObject> context;
    Callback done;
    int redirects = 0;
    QTimer *totalTimer = nullptr;
    QPointer<QNetworkReply> reply;
    QByteArray body;
    bool finished = false;
    QMetaObject::Connection contextGone;
};

namespace
{

bool isWebScheme(const QUrl &url)
{
    const QString scheme = url.scheme().toLower();
    return url.isValid() && !url.host().isEmpty() &&
           (scheme == QLatin1String("http") || scheme == QLatin1String("https"));
}

bool isRedirect(int status)
{
    return status == 301 || status == 302 || status == 303 || status == 307 || status == 308;
}

FetchResult failure(FetchResult::Outcome outcome, const QString &error, int status = 0)
{
    FetchResult result;
    result.outcome = outcome;
    result.error = error;
    result.status = status;
    return result;
}

} // namespace

HttpFetcher::HttpFetcher(QObject *parent) : QObject(parent), m_network(new QNetworkAccessManager(this))
{
    // Redirects are checked hop by hop in finishHop.
    m_network->setRedirectPolicy(QNetworkRequest::ManualRedirectPolicy);
}

HttpFetcher::~HttpFetcher()
{
    // Replies die with the network manager; none may call back into a half-destroyed
    // fetcher while it goes.
    const auto replies = m_network->findChildren<QNetworkReply *>();
    for (QNetworkReply *reply : replies) {
        reply->disconnect(this);
        reply->abort();
    }
}

QUrl HttpFetcher::fetchableUrl(const QString &address)
{
    const QUrl url(withWebScheme(address.trimmed()));
    return isWebScheme(url) ? url : QUrl();
}

void HttpFetcher::get(const QUrl &url, const FetchLimits &limits, QObject *context, Callback done)
{
    auto request = std::make_shared<Request>();
    request->url = url;
    request->limits = limits;
    request->context = context;
    request->done = std::move(done);
    ++m_inFlight;
    if (context) {
        const std::weak_ptr<Request> weak = request;
        request->contextGone = connect(context, &QObject::destroyed, this, [this, weak] {
            if (const auto gone = weak.lock())
                abandon(gone);
        });
    }
    if (!isWebScheme(url)) {
        complete(request,
                 failure(FetchResult::Outcome::Refused,
                         QStringLiteral("Only http and https addresses are fetched: %1").arg(url.toDisplayString())));
        return;
    }
    request->totalTimer = new QTimer(this);
    request->totalTimer->setSingleShot(true);
    connect(request->totalTimer, &QTimer::timeout, this, [this, request] {
        if (request->finished)
            return;
        request->finished = true;
        if (request->reply)
            request->reply->abort();
        complete(request, failure(FetchResult::Outcome::TimedOut, QStringLiteral("The server took too long.")));
    });
    request->totalTimer->start(limits.totalTimeoutMs);
    startHop(request);
}

void HttpFetcher::startHop(const std::shared_ptr<Request> &request)
{
    QNetworkRequest hop(request->url);
    hop.setAttribute(QNetworkRequest::RedirectPolicyAttribute, QNetworkRequest::ManualRedirectPolicy);
    hop.setTransferTimeout(request->limits.idleTimeoutMs);
    hop.setHeader(QNetworkRequest::UserAgentHeader,
                  QStringLiteral("Mozilla/5.0 (X11; Linux x86_64) RazuzezuRevidod/3"));
    request->body.clear();
    QNetworkReply *reply = m_network->get(hop);
    request->reply = reply;

    auto tooLarge = [this, request, reply] {
        request->finished = true;
        reply->abort();
        complete(request, failure(FetchResult::Outcome::TooLarge,
                                  QStringLiteral("The answer is larger than %1 bytes.").arg(request->limits.maxBody)));
    };
    connect(reply, &QNetworkReply::metaDataChanged, this, [request, reply, tooLarge] {
        if (request->finished)
            return;
        const qint64 declared = reply->header(QNetworkRequest::ContentLengthHeader).toLongLong();
        if (declared > request->limits.maxBody)
            tooLarge();
    });
    connect(reply, &QNetworkReply::readyRead, this, [request, reply, tooLarge] {
        if (request->finished)
            return;
        request->body += reply->read(request->limits.maxBody + 1 - request->body.size());
        if (request->body.size() > request->limits.maxBody)
            tooLarge();
    });
    connect(reply, &QNetworkReply::finished, this, [this, request, reply] { finishHop(request, reply); });
}

void HttpFetcher::finishHop(const std::shared_ptr<Request> &request, QNetworkReply *reply)
{
    reply->deleteLater();
    if (request->finished)
        return;
    const int status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
    if (isRedirect(status)) {
        const QByteArray location = reply->rawHeader("Location");
        const QUrl next = request->url.resolved(QUrl::fromEncoded(location));
        if (location.isEmpty() || !isWebScheme(next)) {
            request->finished = true;
            complete(request, failure(FetchResult::Outcome::Refused,
                                      QStringLiteral("A redirect leads to an address that is not fetched."), status));
            return;
        }
        if (++request->redirects > request->limits.maxRedirects) {
            request->finished = true;
            complete(request,
                     failure(FetchResult::Outcome::TooManyRedirects,
                             QStringLiteral("More than %1 redirects.").arg(request->limits.maxRedirects), status));
            return;
        }
        request->url = next;
        startHop(request);
        return;
    }
    request->finished = true;
    if (status == 0) {
        const QNetworkReply::NetworkError code = reply->error();
        const bool idle = code == QNetworkReply::OperationCanceledError || code == QNetworkReply::TimeoutError;
        complete(request, failure(idle ? FetchResult::Outcome::TimedOut : FetchResult::Outcome::NetworkError,
                                  reply->errorString()));
        return;
    }
    if (status < 200 || status > 299) {
        complete(request, failure(FetchResult::Outcome::HttpError,
                                  QStringLiteral("The server answered with status %1.").arg(status), status));
        return;
    }
    if (reply->error() != QNetworkReply::NoError) {
        // A connection cut off in the middle of a body.
        complete(request, failure(FetchResult::Outcome::NetworkError, reply->errorString(), status));
        return;
    }
    request->body += reply->read(request->limits.maxBody + 1 - request->body.size());
    if (request->body.size() > request->limits.maxBody) {
        complete(request,
                 failure(FetchResult::Outcome::TooLarge,
                         QStringLiteral("The answer is larger than %1 bytes.").arg(request->limits.maxBody), status));
        return;
    }
    FetchResult result;
    result.outcome = FetchResult::Outcome::Ok;
    result.status = status;
    result.body = std::move(request->body);
    result.finalUrl = request->url;
    complete(request, std::move(result));
}

void HttpFetcher::finish(Request &request)
{
    request.finished = true;
    QObject::disconnect(request.contextGone);
    if (request.totalTimer) {
        request.totalTimer->stop();
        request.totalTimer->deleteLater();
        request.totalTimer = nullptr;
    }
}

void HttpFetcher::abandon(const std::shared_ptr<Request> &request)
{
    if (request->finished)
        return;
    finish(*request);
    // The reply's own end (finishHop) sees the request finished and only tidies up.
    if (request->reply)
        request->reply->abort();
    --m_inFlight;
}

void HttpFetcher::complete(const std::shared_ptr<Request> &request, FetchResult result)
{
    finish(*request);
    if (result.finalUrl.isEmpty())
        result.finalUrl = request->url;
    --m_inFlight;
    QObject *context = request->context;
    if (!context)
        return;
    // Always later: a caller never sees its callback run inside its own get().
    QTimer::singleShot(0, context, [request, result = std::move(result)] {
        if (request->done)
            request->done(result);
    });
}

} // namespace rr
