#include "media/iconrun.h"

#include "media/urlsupport.h"

#include <QTimer>

namespace rr
{
namespace
{

// Bytes of downloaded icons a run keeps for Vardecks that share an icon address.
constexpr qint64 kSharedBytesCap = 32 * 1024 * 1024;

QString hostKey(const QString &address)
{
    const QUrl url = HttpFetcher::fetchableUrl(address);
    return url.isValid() ? url.host().toLower() + QLatin1Char(':') + QString::number(url.port(0)) : QString();
}

} // namespace

IconRun::IconRun(const QString &basePath, const QString &dbName, QList<IconJob> jobs, HttpFetcher &net, QObject *parent)
    : IconRun(basePath, dbName, std::move(jobs), net, Options(), parent)
{
}

IconRun::IconRun(const QString &basePath, const QString &dbName, QList<IconJob> jobs, HttpFetcher &net, Options options,
                 QObject *parent)
    : QObject(parent), m_basePath(basePath), m_dbName(dbName), m_fetches(new QObject(this)), m_net(net),
      m_options(options)
{
    m_options.maxInFlight = std::max(1, m_options.maxInFlight);
    m_options.maxPerHost = std::max(1, m_options.maxPerHost);
    m_total = m_remaining = int(jobs.size());
    for (qsizetype i = 0; i < jobs.size(); ++i) {
        urlSupport url;
        url.createURL(jobs.at(i).address);
        Waiting waiting{i, jobs.at(i), url.getHomeURL(), QString()};
        if (urlSupport::isValidWWW(waiting.home))
            waiting.host = hostKey(waiting.job.address);
        std::deque<Waiting> &queue = m_pending[waiting.host];
        if (queue.empty())
            m_ready.emplace(i, waiting.host);
        queue.push_back(std::move(waiting));
    }
    m_waitingCount = jobs.size();
}

void IconRun::start()
{
    if (m_started)
        return;
    m_started = true;
    QTimer::singleShot(0, this, [this] { pump(); });
}

void IconRun::cancel()
{
    if (m_cancelled)
        return;
    m_cancelled = true;
    // Every request still running is aborted now: nothing of it is counted or written,
    // and no site keeps the run busy until its time-out.
    delete m_fetches;
    m_fetches = nullptr;
    m_inFlight = 0;
    m_perHost.clear();
    m_running.clear();
    m_waiting.clear();
    // The end is reported from the event loop, never from inside the caller's handler.
    QTimer::singleShot(0, this, [this] { finishIfDone(); });
}

void IconRun::pump()
{
    while (!m_cancelled && m_inFlight < m_options.maxInFlight && startNext()) {
    }
    finishIfDone();
}

bool IconRun::startNext()
{
    if (m_ready.empty())
        return false;
    const QString host = m_ready.begin()->second;
    m_ready.erase(m_ready.begin());
    std::deque<Waiting> &queue = m_pending[host];
    Waiting next = std::move(queue.front());
    queue.pop_front();
    --m_waitingCount;
    if (next.host.isEmpty() && !urlSupport::isValidWWW(next.home)) {
        // No web address: it fails at once, and the next such job is ready too.
        markReady(host);
        ++m_failed;
        --m_remaining;
        emit counted();
        return true;
    }
    auto run = std::make_shared<Running>(Running{std::move(next.job), host, next.home});
    ++m_inFlight;
    ++m_perHost[host];
    markReady(host);
    urlSupport url;
    url.createURL(run->job.address);
    m_running.append(run);
    if (m_running.size() == 1)
        emit waitingOn(run->job.name, run->home);
    IconSupport::calcIconURL(url, m_net, m_fetches,
                             [this, run](const QStringList &addresses) { iconAddressesFound(run, addresses); });
    return true;
}

// The site's next job may start once the site has room for one more fetch.
void IconRun::markReady(const QString &host)
{
    const auto queue = m_pending.constFind(host);
    if (queue == m_pending.constEnd() || queue->empty()) {
        m_pending.remove(host);
        return;
    }
    if (!host.isEmpty() && m_perHost.value(host) >= m_options.maxPerHost)
        return;
    m_ready.emplace(queue->front().order, host);
}

void IconRun::iconAddressesFound(const std::shared_ptr<Running> &run, QStringList addresses)
{
    if (m_cancelled || addresses.isEmpty())
        return;
    const QUrl url = HttpFetcher::fetchableUrl(addresses.takeFirst());
    // bytes are "" when the address gave no picture.
    const auto tried = [this, run, addresses](const QByteArray &bytes) {
        if (bytes.isEmpty() && !addresses.isEmpty())
            iconAddressesFound(run, addresses);
        else
            iconBytes(run, bytes, true);
    };
    const auto pictureOf = [](const FetchResult &result) {
        return result.ok() && IconSupport::isValidIconData(result.body) ? result.body : QByteArray();
    };
    if (!m_options.shareDownloads) {
        m_net.get(url, IconSupport::iconLimits, m_fetches,
                  [tried, pictureOf](const FetchResult &result) { tried(pictureOf(result)); });
        return;
    }
    const QString key = url.toString();
    const auto known = m_downloaded.constFind(key);
    if (known != m_downloaded.constEnd()) {
        tried(known.value());
        return;
    }
    auto waiting = m_waiting.find(key);
    const bool first = waiting == m_waiting.end();
    m_waiting[key].append(tried);
    if (!first)
        return;
    m_net.get(url, IconSupport::iconLimits, m_fetches, [this, key, pictureOf](const FetchResult &result) {
        // Checked once for every Vardeck that shares the address.
        const QByteArray bytes = pictureOf(result);
        if (m_downloadedBytes + bytes.size() <= kSharedBytesCap) {
            m_downloaded.insert(key, bytes);
            m_downloadedBytes += bytes.size();
        }
        const auto waiters = m_waiting.take(key);
        for (const auto &waiter : waiters)
            waiter(bytes);
    });
}

void IconRun::iconBytes(const std::shared_ptr<Running> &run, const QByteArray &bytes, bool checked)
{
    // Dropped uncounted: nothing is written for a cancelled run.
    if (m_cancelled)
        return;
    IconSupport icons;
    icons.setIconPath(m_basePath, m_dbName);
    if (icons.acceptDownload(bytes, checked).isEmpty()) {
        ++m_failed;
    } else {
        ++m_loaded;
        const QString target = icons.saveAsVDIfFavExists(m_basePath, run->job.wid, m_dbName);
        icons.clearIconFile();
        emit iconLoaded(run->job.wid, target);
    }
    --m_remaining;
    emit counted();
    endOne(run);
}

void IconRun::endOne(const std::shared_ptr<Running> &run)
{
    --m_inFlight;
    const bool waitedOn = !m_running.isEmpty() && m_running.constFirst() == run;
    m_running.removeOne(run);
    if (waitedOn && !m_running.isEmpty())
        emit waitingOn(m_running.constFirst()->job.name, m_running.constFirst()->home);
    const bool wasFull = m_perHost.value(run->host) >= m_options.maxPerHost;
    if (--m_perHost[run->host] <= 0)
        m_perHost.remove(run->host);
    if (wasFull)
        markReady(run->host);
    pump();
}

void IconRun::finishIfDone()
{
    if (!m_started || m_finished || m_inFlight > 0 || (!m_cancelled && m_waitingCount > 0))
        return;
    m_finished = true;
    emit finished(m_cancelled);
}

} // namespace rr
