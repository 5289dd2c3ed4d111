// Times a Web Aspect page change at 32,767 Vardecks, split where the time goes, each
// part against the floor it should approach, in the same run:
//   the program's transform and page write    vs xsltproc, same stylesheet and database
//   the Web Aspect's pane drawing the page    vs a bare engine view loading the same file
//                                              and Debian's chromium --headless (when
//                                              installed) dumping the same file
//   the pane formatting the database itself   vs the bare view loading the same file
//   ("Use default browser formatting")
// A draw ends when the engine reports the page loaded, as the window's busy signs do.
// The steps run in turn, round by round; times are min/median/max in ms and the ratio
// is the median of the rounds' ratios. Each round checks its result: our page is
// byte for byte xsltproc's, and every engine shows the same title and one entry per
// Vardeck. Exits non-zero when a result differs or a run fails. Offscreen unless
// DISPLAY is set. Usage: webaspect_bench [rounds]
#include "benchtime.h"
#include "collectiongen.h"
#include "platform/gui/webgraphics.h"
#include "platform/xmldocument.h"
#include "platform/xslttransform.h"
#include "storage/session.h"
#include "web/aspectfiles.h"
#include "web/ui/webpane.h"

#include <QApplication>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QWebEngineScript>
#include <QWebEngineView>

#include <cstdio>
#include <functional>

using namespace rr;

namespace
{

constexpr int kVardecks = 32767;
constexpr int kLoadTimeoutMs = 180000;

bool waitFor(const std::function<bool()> &done, int timeoutMs = kLoadTimeoutMs)
{
    const auto start = std::chrono::steady_clock::now();
    while (!done()) {
        if (bench::msSince(start) > timeoutMs)
            return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents, 20);
    }
    return true;
}

QByteArray readAll(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// What a drawn page shows: its title and its number of Vardeck entries.
struct Shown {
    QString title;
    int entries = -1;
    bool operator==(const Shown &other) const { return title == other.title && entries == other.entries; }
};

Shown shownBy(QWebEngineView *view)
{
    Shown shown;
    bool answered = false;
    view->page()->runJavaScript(QStringLiteral("[document.title, document.querySelectorAll('.vardeck').length]"),
                                QWebEngineScript::ApplicationWorld, [&](const QVariant &v) {
                                    const QVariantList list = v.toList();
                                    shown.title = list.value(0).toString();
                                    shown.entries = list.value(1).toInt();
                                    answered = true;
                                });
    waitFor([&] { return answered; }, 30000);
    return shown;
}

// A view that loads a file and tells how long the engine took to report it loaded.
class Drawer
{
public:
    virtual ~Drawer() = default;
    virtual QWebEngineView *view() = 0;
    virtual void navigate(const QUrl &url) = 0;
    virtual int finishedLoads() const = 0;

    // Shows a blank page first, untimed, so that each draw starts alike.
    void clear()
    {
        const int before = finishedLoads();
        navigate(QUrl(QStringLiteral("about:blank")));
        waitFor([&] { return finishedLoads() > before; });
    }
    // Milliseconds until loaded; -1 for a failure. start runs first, inside the timing.
    double draw(const QUrl &url, const std::function<void()> &start = {})
    {
        const int before = finishedLoads();
        const auto t0 = std::chrono::steady_clock::now();
        if (start)
            start();
        navigate(url);
        if (!waitFor([&] { return finishedLoads() > before; }))
            return -1;
        return bench::msSince(t0);
    }
};

// The Web Aspect's pane as the window has it: its private profile, no script.
class PaneDrawer final : public Drawer
{
public:
    PaneDrawer()
    {
        m_host.resize(1000, 700);
        m_host.show();
        m_pane = new WebPane(&m_host, WebPane::Kind::Aspect);
        QObject::connect(m_pane, &WebPane::loadFinished, [this] { ++m_finished; });
        // Made now, as the bare view is: the first draw does not pay for it.
        m_pane->view();
    }
    QWebEngineView *view() override { return qobject_cast<QWebEngineView *>(m_pane->view()); }
    void navigate(const QUrl &url) override { m_pane->navigate(url); }
    int finishedLoads() const override { return m_finished; }

private:
    QWidget m_host;
    WebPane *m_pane = nullptr;
    int m_finished = 0;
};

// The engine's view alone, as it comes.
class BareDrawer final : public Drawer
{
public:
    BareDrawer()
    {
        m_view.resize(1000, 700);
        m_view.show();
        QObject::connect(&m_view, &QWebEngineView::loadFinished, [this] { ++m_finished; });
    }
    QWebEngineView *view() override { return &m_view; }
    void navigate(const QUrl &url) override { m_view.load(url); }
    int finishedLoads() const override { return m_finished; }

private:
    QWebEngineView m_view;
    int m_finished = 0;
};

// Debian's browser dumping the file's document once loaded: {ms, dump}.
std::pair<double, QByteArray> chromiumDump(const QString &chromium, const QString &profile, const QString &file)
{
    QProcess browser;
    const auto t0 = std::chrono::steady_clock::now();
    browser.start(chromium, {QStringLiteral("--headless"), QStringLiteral("--no-sandbox"),
                             QStringLiteral("--disable-gpu"), QStringLiteral("--user-data-dir=") + profile,
                             QStringLiteral("--dump-dom"), QUrl::fromLocalFile(file).toString()});
    if (!browser.waitForFinished(kLoadTimeoutMs) || browser.exitCode() != 0)
        return {-1, {}};
    const double ms = bench::msSince(t0);
    return {ms, browser.readAllStandardOutput()};
}

Shown shownInDump(const QByteArray &dom)
{
    Shown shown;
    const int open = dom.indexOf("<title>");
    const int close = dom.indexOf("</title>", open);
    if (open >= 0 && close > open)
        shown.title = QString::fromUtf8(dom.mid(open + 7, close - open - 7));
    // The elements of class "vardeck", alone or with others ("vardecks" is another).
    shown.entries = int(dom.count("class=\"vardeck\"") + dom.count("class=\"vardeck "));
    return shown;
}

void printLine(const char *what, const bench::Spread &times, const char *floorName, const bench::Spread &floor,
               const bench::Spread &ratio)
{
    std::printf("  %-34s %22s ms   %-24s %22s ms   ratio %.2f\n", what, bench::formatSpread(times, 0).c_str(),
                floorName, bench::formatSpread(floor, 0).c_str(), ratio.median);
}

bench::Spread ratios(const std::vector<double> &a, const std::vector<double> &b)
{
    std::vector<double> r;
    for (size_t i = 0; i < a.size() && i < b.size(); ++i)
        r.push_back(a[i] / b[i]);
    return bench::spreadOf(r);
}

} // namespace

int main(int argc, char **argv)
{
    if (!qEnvironmentVariableIsSet("DISPLAY") && !qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    // As the program starts: the engine's OpenGL context waits for the first web view.
    deferWebGraphics();
    QApplication app(argc, argv);
    Session benchSession;
    const int rounds = argc > 1 ? std::max(1, atoi(argv[1])) : 3;
    const QString xsltproc = QStandardPaths::findExecutable(QStringLiteral("xsltproc"));
    const QString chromium = QStandardPaths::findExecutable(QStringLiteral("chromium"));
    if (xsltproc.isEmpty()) {
        std::printf("xsltproc is not installed: nothing to compare the transform with\n");
        return 0;
    }
    QTemporaryDir dir;
    const QString folder = dir.path() + QLatin1Char('/');
    bench::CollectionShape shape;
    shape.vardecks = kVardecks;
    // A tenth are local documents, as the PDF import adds them: their file: links cost
    // the stylesheets more than a web address does.
    shape.pathPercent = 10;
    const QString db = bench::writeCollection(dir.path(), QStringLiteral("Vardecks.xml"), shape);
    XmlDocument document;
    if (!aspectfiles::restoreMissing(folder) || !document.load(db)) {
        std::printf("the collection could not be prepared: %s\n", qPrintable(document.parseErrorReason()));
        return 1;
    }
    PaneDrawer pane;
    BareDrawer bare;
    std::printf("%d Vardecks, %d rounds, %s; min/median/max\n", kVardecks, rounds,
                qPrintable(QGuiApplication::platformName()));
    if (!chromium.isEmpty()) {
        const QString tiny = folder + QStringLiteral("tiny.htm");
        QFile f(tiny);
        f.open(QIODevice::WriteOnly);
        f.write("<p>tiny</p>");
        f.close();
        std::vector<double> start;
        for (int i = 0; i < rounds; ++i)
            start.push_back(chromiumDump(chromium, folder + QStringLiteral("chromium"), tiny).first);
        std::printf("  chromium --headless start and dump of a tiny page %s ms (inside its figures below)\n",
                    bench::formatSpread(bench::spreadOf(start), 0).c_str());
    }

    bool allSame = true;
    const auto check = [&allSame](bool same, const char *what) {
        if (!same)
            std::printf("  RESULT DIFFERS: %s\n", what);
        allSame = allSame && same;
    };
    for (const char *view : {"VD.xsl", "VDAll.xsl"}) {
        const QString stylesheet = folder + QLatin1String(view);
        const QString page = folder + QStringLiteral("Vardecks") + QLatin1String(view) + QStringLiteral(".htm");
        const QString theirs = folder + QStringLiteral("xsltproc.htm");
        std::vector<double> transform, xslt, paneDraw, bareDraw, whole, chromiumMs;
        Shown paneShown, bareShown, chromiumShown;
        for (int round = 0; round < rounds; ++round) {
            pane.clear();
            QString error;
            double transformMs = -1;
            const auto t0 = std::chrono::steady_clock::now();
            // As the window does: the pane starts on the page as soon as it is written.
            const double wholeMs = pane.draw(QUrl::fromLocalFile(page), [&] {
                if (!xslt::transformToFile(stylesheet, document, page, &error, std::nullopt,
                                           [&] { transformMs = bench::msSince(t0); }))
                    std::printf("  %s could not be made: %s\n", view, qPrintable(error));
            });
            if (transformMs < 0 || wholeMs < 0) {
                std::printf("  %s: the page was not %s\n", view, transformMs < 0 ? "made" : "drawn in time");
                return 1;
            }
            transform.push_back(transformMs);
            whole.push_back(wholeMs);
            paneDraw.push_back(wholeMs - transformMs);
            paneShown = shownBy(pane.view());
            xslt.push_back(bench::timeMs([&] { QProcess::execute(xsltproc, {"-o", theirs, stylesheet, db}); }));
            check(readAll(page) == readAll(theirs), "our page and xsltproc's");
            bare.clear();
            bareDraw.push_back(bare.draw(QUrl::fromLocalFile(page)));
            bareShown = shownBy(bare.view());
            if (!chromium.isEmpty()) {
                const auto [ms, dom] = chromiumDump(chromium, folder + QStringLiteral("chromium"), page);
                chromiumMs.push_back(ms);
                chromiumShown = shownInDump(dom);
            }
        }
        std::printf("%s: \"%s\", %d entries drawn by the pane\n", view, qPrintable(paneShown.title), paneShown.entries);
        printLine("transform + page write", bench::spreadOf(transform), "xsltproc", bench::spreadOf(xslt),
                  ratios(transform, xslt));
        printLine("pane draws the page", bench::spreadOf(paneDraw), "bare engine view", bench::spreadOf(bareDraw),
                  ratios(paneDraw, bareDraw));
        if (!chromium.isEmpty())
            printLine("pane draws the page", bench::spreadOf(paneDraw), "chromium --headless",
                      bench::spreadOf(chromiumMs), ratios(paneDraw, chromiumMs));
        std::vector<double> floorWhole;
        for (size_t i = 0; i < xslt.size() && i < bareDraw.size(); ++i)
            floorWhole.push_back(xslt[i] + bareDraw[i]);
        printLine("page change as a whole", bench::spreadOf(whole), "xsltproc + bare view", bench::spreadOf(floorWhole),
                  ratios(whole, floorWhole));
        check(paneShown.entries == kVardecks && paneShown == bareShown, "the pane's page and the bare view's");
        if (!chromium.isEmpty())
            check(chromiumShown == paneShown, "the pane's page and chromium's");
    }

    // The pane formats the database file itself through its stylesheet instruction.
    aspectfiles::setStylesheetInstruction(document, QStringLiteral("VD.xsl"));
    QString error;
    if (!document.save(db, &error)) {
        std::printf("the database could not be saved: %s\n", qPrintable(error));
        return 1;
    }
    std::vector<double> paneDraw, bareDraw;
    Shown paneShown, bareShown;
    for (int round = 0; round < rounds; ++round) {
        pane.clear();
        paneDraw.push_back(pane.draw(QUrl::fromLocalFile(db)));
        paneShown = shownBy(pane.view());
        bare.clear();
        bareDraw.push_back(bare.draw(QUrl::fromLocalFile(db)));
        bareShown = shownBy(bare.view());
    }
    std::printf("database with VD.xsl's instruction: \"%s\", %d entries drawn by the pane\n",
                qPrintable(paneShown.title), paneShown.entries);
    printLine("pane formats and draws it", bench::spreadOf(paneDraw), "bare engine view", bench::spreadOf(bareDraw),
              ratios(paneDraw, bareDraw));
    check(paneShown.entries == kVardecks && paneShown == bareShown, "the pane's formatting and the bare view's");
    return allSame ? 0 : 1;
}
