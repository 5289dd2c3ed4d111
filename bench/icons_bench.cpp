// An icon run over 1,000 Vardecks on two local sites (icons of 1 to 20 KB; answers
// after 3 ms, one page in ten after 60 ms), done one Vardeck after the other and then
// with a few downloads in flight (at most 6, at most 2 per site). Prints Vardecks per
// second for both and the floor the second run should approach: each site's answer
// times spread over the two requests it may see at once, or the filing of 1,000 icon
// files measured in the same folder when that is slower.
// Then the same bookkeeping over 1,000 and 32,767 Vardecks of one refusing site.
// Checks every file. BENCHDIR names the folder for the files (default: /dev/shm when
// there is one, so that the figures measure the fetching and not the disk's mood).
#include "media/iconrun.h"
#include "storage/session.h"
#include "support/httpserver.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QTemporaryDir>
#include <cstdio>

using namespace rr;
using rr::test::HttpServer;

namespace
{

constexpr int kVardecks = 1000;
constexpr int kIconsPerSite = 10;
constexpr int kSlowMs = 60;
constexpr int kQuickMs = 3;

// A bitmap picture of 1 to 20 KB.
QByteArray bitmap(int index, int site)
{
    const int side = 18 + index * 62 / (kIconsPerSite - 1);
    QImage image(side, side, QImage::Format_RGB888);
    image.fill(QColor::fromHsv((index * 36 + site * 180) % 360, 200, 220));
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "BMP");
    return bytes;
}

struct Fixture {
    HttpServer sites[2]{HttpServer(300000), HttpServer(300000)};
    QList<IconJob> jobs;
    QHash<QString, QByteArray> expected; // WID -> icon bytes
    qint64 answerMsPerSite[2] = {0, 0};

    Fixture()
    {
        QByteArray icons[2][kIconsPerSite + 1];
        for (int s = 0; s < 2; ++s) {
            for (int i = 0; i < kIconsPerSite; ++i) {
                icons[s][i] = bitmap(i, s);
                route(s, QString("/i/%1.bmp").arg(i), icons[s][i]);
            }
            icons[s][kIconsPerSite] = bitmap(kIconsPerSite / 2, s);
            route(s, "/favicon.ico", icons[s][kIconsPerSite]);
        }
        for (int k = 0; k < kVardecks; ++k) {
            const int s = k % 2;
            const int n = k / 2;
            const int icon = n % 3 == 0 ? kIconsPerSite : n % kIconsPerSite;
            const QByteArray link = icon == kIconsPerSite
                                        ? QByteArray()
                                        : "<link rel=\"icon\" href=\"/i/" + QByteArray::number(icon) + ".bmp\">";
            const int delay = n % 10 == 0 ? kSlowMs : kQuickMs;
            answerMsPerSite[s] += delay;
            const QString path = QString("/p/%1.html").arg(n);
            sites[s].route(path, rr::test::page("<html><head><title>Page</title>" + link +
                                                    "</head><body><p>Some text of the page.</p></body></html>",
                                                delay));
            const QString wid = QString("W%1").arg(k + 1);
            jobs.append({wid, QString("Page %1").arg(k + 1), sites[s].url(path)});
            expected.insert(wid, icons[s][icon]);
        }
    }

    void route(int site, const QString &path, const QByteArray &icon)
    {
        HttpServer::Response r = rr::test::picture(icon, "image/bmp");
        r.delayMs = kQuickMs;
        sites[site].route(path, r);
        answerMsPerSite[site] += kQuickMs;
    }
};

struct Outcome {
    double seconds = 0;
    int loaded = 0;
    int failed = 0;
    int wrongFiles = 0;
};

Outcome runOnce(Fixture &f, const QString &base, IconRun::Options options)
{
    const QString folder = base + "icons/Bench/";
    HttpFetcher net;
    IconRun run(base, "Bench.xml", f.jobs, net, options);
    QElapsedTimer clock;
    clock.start();
    run.start();
    rr::test::waitUntil([&] { return run.isFinished(); }, 600000);
    Outcome out;
    out.seconds = clock.nsecsElapsed() / 1e9;
    out.loaded = run.loaded();
    out.failed = run.failed();
    for (auto it = f.expected.constBegin(); it != f.expected.constEnd(); ++it) {
        QFile file(folder + it.key() + ".ico");
        if (!file.open(QIODevice::ReadOnly) || file.readAll() != it.value())
            ++out.wrongFiles;
    }
    return out;
}

// Filing alone: 1,000 icons written to the download target and renamed, as a run does.
double filingSeconds(const Fixture &f, const QString &folder)
{
    QDir().mkpath(folder);
    QElapsedTimer clock;
    clock.start();
    for (auto it = f.expected.constBegin(); it != f.expected.constEnd(); ++it) {
        QFile target(folder + "favicon.ico");
        if (target.open(QIODevice::WriteOnly))
            target.write(it.value());
        target.close();
        std::rename(QFile::encodeName(folder + "favicon.ico").constData(),
                    QFile::encodeName(folder + it.key() + ".ico").constData());
    }
    return clock.nsecsElapsed() / 1e9;
}

// A run over n Vardecks of one site that refuses every connection: each fails fast, so
// the figure is the run's own bookkeeping per Vardeck, which must not grow with n.
double refusedRunSeconds(int n, const QString &base)
{
    QList<IconJob> jobs;
    for (int i = 1; i <= n; ++i)
        jobs.append({QString("W%1").arg(i), "Refused", QString("http://127.0.0.1:1/p%1.html").arg(i)});
    HttpFetcher net;
    IconRun run(base, "Bench.xml", jobs, net);
    QElapsedTimer clock;
    clock.start();
    run.start();
    rr::test::waitUntil([&] { return run.isFinished(); }, 600000);
    return run.failed() == n ? clock.nsecsElapsed() / 1e9 : -1.0;
}

void report(const char *label, const Outcome &o)
{
    std::printf("%-34s %7.2f s  %8.1f Vardecks/s  loaded %d, failed %d, wrong files %d\n", label, o.seconds,
                kVardecks / o.seconds, o.loaded, o.failed, o.wrongFiles);
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    rr::Session benchSession;
    const QString parent = qEnvironmentVariable(
        "BENCHDIR", QFileInfo(QStringLiteral("/dev/shm")).isWritable() ? QStringLiteral("/dev/shm") : QDir::tempPath());
    QTemporaryDir dir(parent + "/icons-bench-XXXXXX");
    Fixture fixture;

    // Each run files into a fresh folder of its own.
    const double filing = filingSeconds(fixture, dir.path() + "/filing/");
    const Outcome serial = runOnce(fixture, dir.path() + "/serial/", {1, 1, false});
    const Outcome parallel = runOnce(fixture, dir.path() + "/parallel/", IconRun::Options());
    const double answers = std::max(fixture.answerMsPerSite[0], fixture.answerMsPerSite[1]) / 2.0 / 1000.0;
    // Filing runs while other answers are awaited: the slower of the two bounds the run.
    const double floor = std::max(answers, filing);
    std::printf("Icon run over %d Vardecks on two local sites (answers after %d ms, one page in ten after %d ms), "
                "files in %s\n",
                kVardecks, kQuickMs, kSlowMs, qPrintable(parent));
    report("one Vardeck at a time", serial);
    report("6 in flight, 2 per site", parallel);
    std::printf("%-34s %7.2f s  %8.1f Vardecks/s  (answers 2 at once per site %.2f s, filing %.2f s)\n", "floor", floor,
                kVardecks / floor, answers, filing);
    const double ratio = serial.seconds / parallel.seconds;
    std::printf("speed-up %.1fx (target 4x) %s; %.0f%% of the floor's rate\n", ratio, ratio >= 4.0 ? "met" : "MISSED",
                100.0 * floor / parallel.seconds);
    const bool correct = serial.loaded == kVardecks && parallel.loaded == kVardecks && serial.wrongFiles == 0 &&
                         parallel.wrongFiles == 0;
    if (!correct)
        std::printf("FAILED: not every icon was filed with its own bytes\n");

    // Many Vardecks of one site: the floor is the rate of a short run of the same kind.
    const double small = refusedRunSeconds(1000, dir.path() + "/refused-small/");
    const double large = refusedRunSeconds(32767, dir.path() + "/refused-large/");
    const double scale = small > 0 && large > 0 ? (32767 / large) / (1000 / small) : 0.0;
    std::printf("one refusing site: 1000 in %.2f s, 32767 in %.2f s; rate at 32767 / rate at 1000: %.2f "
                "(target >= 0.5) %s\n",
                small, large, scale, scale >= 0.5 ? "met" : "MISSED");
    if (small < 0 || large < 0)
        std::printf("FAILED: a refused Vardeck was not counted as failed\n");
    return correct && ratio >= 4.0 && scale >= 0.5 ? 0 : 1;
}
