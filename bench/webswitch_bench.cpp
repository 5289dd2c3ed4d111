// Times the Web Aspect at 32,767 Vardecks in a real main window, each figure beside
// the floor it is measured against in the same run:
//   a view made anew, its first screen and its whole page   vs the bare XSL transform
//   a view shown before and unchanged, coming back           vs the same
//   the pane formatting the database itself, anew and back   vs the same
//   printing the All Vardecks view to a PDF file             vs the same
// For the print it gives the program's own peak memory and that of the process that
// draws the web pages (which printing must not grow), and says met or MISSED against
// the targets: the first screen within 2 s, a view coming back within 0.5 s, the print
// done within 120 s with the drawing process grown by less than 300 MB.
// Offscreen unless DISPLAY is set. Usage: webswitch_bench [rounds]
#include "benchtime.h"
#include "collectiongen.h"
#include "platform/gui/webgraphics.h"
#include "platform/prompt.h"
#include "platform/xmldocument.h"
#include "platform/xslttransform.h"
#include "shell/frmvardecks.h"
#include "storage/session.h"
#include "storage/xmldatabase.h"
#include "web/aspectfiles.h"
#include "web/ui/aspects.h"
#include "web/ui/webaspect.h"
#include "web/ui/webpane.h"

#include <QApplication>
#include <QFile>
#include <QPrinter>
#include <QTemporaryDir>
#include <QWebEnginePage>
#include <QWebEngineView>

#include <cstdio>

using namespace rr;

namespace
{

constexpr int kVardecks = 32767;

bool waitFor(const std::function<bool()> &done, int timeoutMs = 300000)
{
    const auto start = std::chrono::steady_clock::now();
    while (!done()) {
        if (bench::msSince(start) > timeoutMs)
            return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents, 10);
    }
    return true;
}

class AnswerYes final : public PromptHandler
{
public:
    MsgResult message(const MessageRequest &request) override
    {
        std::printf("  told: %s\n", qPrintable(request.text.simplified()));
        return MsgResult::Yes;
    }
    QString file(const FileRequest &) override { return {}; }
    QString input(const InputRequest &, bool *) override { return {}; }
};

// A process's resident memory now and at its peak, in MB, from /proc.
std::pair<double, double> memoryOf(qint64 pid)
{
    QFile status(QStringLiteral("/proc/%1/status").arg(pid));
    double now = 0, peak = 0;
    if (status.open(QIODevice::ReadOnly)) {
        for (const QByteArray &line : status.readAll().split('\n')) {
            if (line.startsWith("VmRSS:"))
                now = line.mid(6).trimmed().split(' ').value(0).toDouble() / 1024;
            if (line.startsWith("VmHWM:"))
                peak = line.mid(6).trimmed().split(' ').value(0).toDouble() / 1024;
        }
    }
    return {now, peak};
}

const char *verdict(bool met)
{
    return met ? "met" : "MISSED";
}

} // namespace

int main(int argc, char **argv)
{
    if (!qEnvironmentVariableIsSet("DISPLAY") && !qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    deferWebGraphics();
    QApplication app(argc, argv);
    Session benchSession;
    AnswerYes answers;
    prompt::install(&answers);
    const int rounds = argc > 1 ? std::max(1, atoi(argv[1])) : 3;
    QTemporaryDir dir;
    const QString folder = dir.path() + QLatin1Char('/');
    bench::CollectionShape shape;
    shape.vardecks = kVardecks;
    // A tenth are local documents, as the PDF import adds them: their file: links cost
    // the stylesheets more than a web address does.
    shape.pathPercent = 10;
    const QString dbPath = bench::writeCollection(dir.path(), QStringLiteral("Vardecks.xml"), shape);
    aspectfiles::restoreMissing(folder);

    frmVardecks window;
    window.LoadDynamicMenus();
    window.resetToolbarButtons();
    window.resetMenuItems();
    installAspects(window);
    installWebAspect(window);
    window.resize(1400, 900);
    window.show();
    auto db = std::make_unique<XMLDatabase>();
    db->setPath(dbPath);
    if (!db->openDBValidate(dbPath)) {
        std::printf("the collection could not be opened\n");
        return 1;
    }
    window.dbXML.open(std::move(db), QStringLiteral("Vardecks.xml"));
    WebPane *pane = webAspectPane(window);
    const auto idle = [&] { return waitFor([&] { return !pane->isLoading(); }); };
    std::printf("%d Vardecks, %d rounds, %s; min/median/max ms\n", kVardecks, rounds,
                qPrintable(QGuiApplication::platformName()));

    bool allMet = true;
    for (bool programPages : {true, false}) {
        session().webAspectHtml = programPages;
        std::printf("%s\n", programPages ? "pages made by the program" : "pages formatted by the pane");
        window.commands.mnuAspectWeb_Click();
        idle();
        std::vector<double> floor, first, whole, back;
        for (int round = 0; round < rounds; ++round) {
            floor.push_back(bench::timeMs([&] {
                QByteArray html;
                xslt::transform(folder + QStringLiteral("VDAll.xsl"), *window.dbXML.document(), &html, nullptr);
            }));
            // The collection changed: the folder view and the All Vardecks view are made anew.
            window.collectionChanged(StalePages::everyPage());
            window.dbXML.document()->noteChange();
            for (int button : {0, 1}) {
                double firstMs = -1;
                const auto t0 = std::chrono::steady_clock::now();
                window.commands.cmdWeb_Click(button);
                auto *shown = qobject_cast<QWebEngineView *>(pane->view());
                if (shown && pane->isLoading()) {
                    QObject::connect(shown, &QWebEngineView::loadFinished, shown,
                                     [&] { firstMs = firstMs < 0 ? bench::msSince(t0) : firstMs; });
                }
                idle();
                whole.push_back(bench::msSince(t0));
                first.push_back(firstMs < 0 ? whole.back() : firstMs);
            }
            // Back to each, nothing changed.
            for (int button : {0, 1}) {
                const auto t1 = std::chrono::steady_clock::now();
                window.commands.cmdWeb_Click(button);
                idle();
                back.push_back(bench::msSince(t1));
            }
        }
        const auto fs = bench::spreadOf(first), ws = bench::spreadOf(whole), bs = bench::spreadOf(back),
                   ts = bench::spreadOf(floor);
        std::printf("  bare XSL transform of All Vardecks    %s\n", bench::formatSpread(ts, 0).c_str());
        std::printf("  new view (folders, all), first screen %s   ratio %.2f   (2 s: %s)\n",
                    bench::formatSpread(fs, 0).c_str(), fs.median / ts.median, verdict(fs.median <= 2000));
        std::printf("  new view (folders, all), whole page   %s   ratio %.2f\n", bench::formatSpread(ws, 0).c_str(),
                    ws.median / ts.median);
        std::printf("  a view shown before comes back        %s   ratio %.2f   (0.5 s: %s)\n",
                    bench::formatSpread(bs, 0).c_str(), bs.median / ts.median, verdict(bs.median <= 500));
        allMet = allMet && bs.median <= 500 && fs.median <= 2000;
    }

    // Printing the All Vardecks view.
    session().webAspectHtml = true;
    window.commands.cmdWeb_Click(1);
    idle();
    auto *view = qobject_cast<QWebEngineView *>(pane->view());
    const qint64 renderer = view ? view->page()->renderProcessPid() : 0;
    const double rendererBefore = memoryOf(renderer).first;
    const QString pdf = folder + QStringLiteral("printed.pdf");
    setPrinterChooser([&](QWidget *) {
        auto printer = std::make_shared<QPrinter>();
        printer->setOutputFormat(QPrinter::PdfFormat);
        printer->setOutputFileName(pdf);
        return printer;
    });
    double rendererPeak = rendererBefore;
    const auto t0 = std::chrono::steady_clock::now();
    window.commands.mnuFilePrint_Click();
    waitFor([&] {
        rendererPeak = std::max(rendererPeak, memoryOf(renderer).first);
        return !window.findChild<QWidget *>(QStringLiteral("frmPrintProgress")) && QFile::exists(pdf);
    });
    const double printMs = bench::msSince(t0);
    const auto [ownNow, ownPeak] = memoryOf(QCoreApplication::applicationPid());
    const bool printMet = printMs <= 120000 && rendererPeak - rendererBefore < 300 && QFile(pdf).size() > 0;
    std::printf("print All Vardecks to PDF: %.0f ms, %lld bytes; the program's peak %.0f MB (now %.0f MB); the "
                "drawing process %.0f MB before, %.0f MB at its peak (%s)\n",
                printMs, QFile(pdf).size(), ownPeak, ownNow, rendererBefore, rendererPeak, verdict(printMet));
    setPrinterChooser({});
    prompt::install(nullptr);
    return allMet && printMet ? 0 : 1;
}
