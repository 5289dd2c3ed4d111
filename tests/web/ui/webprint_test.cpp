// Printing the Web Aspect from the program's own pages with the progress window, and
// the Web Aspect's pane keeping the pages it drew, showing a large page's first screen
// at once and telling when the process that drew its page ended.
#include "support/windowcontrols.h"
#include "web/ui/webaspect.h"

#include "explorer/detailspanel.h"
#include "shell/frmvardecks.h"
#include "storage/session.h"
#include "storage/xmldatabase.h"
#include "support/dbfixture.h"
#include "support/fakelauncher.h"
#include "support/httpserver.h"
#include "web/ui/aspects.h"
#include "web/ui/pageprint.h"
#include "web/ui/printprogress.h"
#include "web/ui/webpane.h"

#include <QCloseEvent>
#include <QLabel>
#include <QPrinter>
#include <QProcess>
#include <QRegularExpression>
#include <QSet>
#include <QSignalSpy>
#include <QTest>
#include <QWebEnginePage>
#include <QWebEngineView>
#include <QtTest/qtestspontaneevent.h>
#include <gtest/gtest.h>

#include <csignal>

using namespace rr;
using namespace rr::test;

namespace
{

// Vardecks in two folders, each with a long description: about 600 bytes of page apiece.
QByteArray collection(int vardecks)
{
    QByteArray folders[2];
    for (int i = 1; i <= vardecks; ++i) {
        const QString name = QStringLiteral("Vardeck %1 ").arg(i, 5, 10, QLatin1Char('0')) + QString(300, 'x');
        folders[i % 2] += vardeckXml(QStringLiteral("W%1").arg(i), name);
    }
    return "<FOLDERS>" + folderXml("T1", "First", folders[0]) + folderXml("T2", "Second", folders[1]) + "</FOLDERS>";
}

int pdfPages(const QByteArray &pdf)
{
    return int(pdf.count("/Type /Page\n") + pdf.count("/Type /Page\r") + pdf.count("/Type /Page ") +
               pdf.count("/Type /Page/") + pdf.count("/Type /Page>"));
}

std::shared_ptr<QPrinter> pdfPrinter(const QString &path)
{
    auto printer = std::make_shared<QPrinter>();
    printer->setOutputFormat(QPrinter::PdfFormat);
    printer->setOutputFileName(path);
    return printer;
}

class WebPrintTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        window = std::make_unique<frmVardecks>();
        window->LoadDynamicMenus();
        window->resetToolbarButtons();
        window->resetMenuItems();
        installDetailsPanel(*window);
        installAspects(*window);
        installWebAspect(*window);
        window->show();
    }
    void TearDown() override
    {
        setPrinterChooser({});
        session().webAspectHtml = false;
    }
    void open(int vardecks, bool pagesMadeByTheProgram = true)
    {
        folder = home.databaseFolder();
        dbPath = writeDatabase(folder, "Vardecks.xml", collection(vardecks));
        auto db = std::make_unique<XMLDatabase>();
        db->setPath(dbPath);
        ASSERT_TRUE(db->openDBValidate(dbPath));
        window->dbXML.open(std::move(db), "Vardecks.xml");
        session().webAspectHtml = pagesMadeByTheProgram;
    }
    WebPane *pane() const { return WebPane::of(wbWeb(*window)); }
    // The page asked for is made (on a thread of its own) and drawn.
    bool loaded(int ms = 60000) const
    {
        return waitUntil([&] { return !WebAspect::of(*window)->makingPage() && !pane()->isLoading(); }, ms);
    }
    bool made(int ms = 60000) const
    {
        return waitUntil([&] { return !WebAspect::of(*window)->makingPage(); }, ms);
    }
    PrintProgress *progress() const { return window->findChild<PrintProgress *>("frmPrintProgress"); }
    // The page the progress window says is being printed; 0 before the first.
    int pageShown() const
    {
        const QString text = progress() ? progress()->lblPage->text() : QString();
        return text.startsWith("Page ") ? text.mid(5).toInt() : 0;
    }
    QString page(const QString &name) const { return folder + "Vardecks" + name + ".htm"; }

    ScriptedPrompts prompts;
    TempHome home;
    FakeLauncher launcher;
    std::unique_ptr<frmVardecks> window;
    QString folder;
    QString dbPath;
};

} // namespace

TEST_F(WebPrintTest, aLargeViewPrintsPageByPageWithTheProgressWindowAndOnePrintAtATime)
{
    open(3000);
    window->commands.mnuAspectWeb_Click();
    window->commands.cmdWeb_Click(1);
    ASSERT_TRUE(loaded());
    const QString pdf = home.path() + "/printed.pdf";
    setPrinterChooser([&](QWidget *) { return pdfPrinter(pdf); });
    prompts.answer(MsgResult::Yes);
    window->commands.mnuFilePrint_Click();
    ASSERT_NE(progress(), nullptr);
    EXPECT_EQ(progress()->windowTitle(), "Printing...");
    EXPECT_TRUE(progress()->isVisible());
    ASSERT_TRUE(waitUntil([&] { return pageShown() >= 3; }, 20000));

    // A second print is refused while the first runs, before anything is asked.
    const size_t asked = prompts.messages().size();
    window->commands.cmdWeb_Click(3);
    ASSERT_EQ(prompts.messages().size(), asked + 1);
    EXPECT_EQ(
        prompts.lastText(),
        "The Web Aspect is being printed. Wait until it is printed, or cancel that print, before printing again.");

    ASSERT_TRUE(waitUntil([&] { return progress() == nullptr; }, 120000));
    const QByteArray printed = readBytes(pdf);
    EXPECT_TRUE(printed.startsWith("%PDF"));
    EXPECT_TRUE(printed.trimmed().endsWith("%%EOF"));
    EXPECT_GT(pdfPages(printed), 40);
    EXPECT_EQ(prompts.messages().size(), asked + 1) << "no failure told";
    EXPECT_TRUE(QDir(home.path()).entryList({"*.printing"}, QDir::Hidden | QDir::Files).isEmpty());
}

TEST_F(WebPrintTest, aCancelledOrFailedPrintKeepsTheFileThatWasThereAndOnlyAFailureIsTold)
{
    open(3000);
    window->commands.mnuAspectWeb_Click();
    window->commands.cmdWeb_Click(1);
    ASSERT_TRUE(loaded());
    const struct {
        const char *name;
        QString file;
        bool cancel;
        QString told;
        bool byCloseBox = false;
    } cases[] = {
        {"cancelled", home.path() + "/kept.pdf", true, ""},
        {"no folder", home.path() + "/missing/out.pdf", false,
         "The Web Aspect could not be printed.\n\n" + home.path() + "/missing/out.pdf could not be written."},
        {"closed by the Printing window's close box", home.path() + "/kept.pdf", true, "", true},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        writeBytes(home.path() + "/kept.pdf", "earlier");
        prompts.clear();
        setPrinterChooser([&](QWidget *) { return pdfPrinter(c.file); });
        prompts.answer(MsgResult::Yes);
        window->commands.mnuFilePrint_Click();
        if (c.cancel) {
            ASSERT_TRUE(waitUntil([&] { return pageShown() >= 2; }, 20000));
            if (c.byCloseBox) {
                QCloseEvent close;
                QSpontaneKeyEvent::setSpontaneous(&close);
                QCoreApplication::sendEvent(progress()->windowHandle(), &close);
            } else {
                QTest::mouseClick(progress()->cmdCancel, Qt::LeftButton);
            }
        }
        ASSERT_TRUE(waitUntil([&] { return progress() == nullptr; }, 20000));
        QTest::qWait(50);
        EXPECT_EQ(readBytes(home.path() + "/kept.pdf"), "earlier");
        EXPECT_EQ(prompts.messages().size(), c.told.isEmpty() ? 1u : 2u);
        if (!c.told.isEmpty()) {
            EXPECT_EQ(prompts.lastText(), c.told);
        }
        EXPECT_TRUE(QDir(home.path()).entryList({"*.printing"}, QDir::Hidden | QDir::Files).isEmpty());
    }
}

// Closing the window while a print runs asks first: Cancel keeps the window and the
// print, which ends whole; OK stops the print and leaves the file that was there.
TEST_F(WebPrintTest, exitWhileAPrintRunsAsksAndCancelKeepsPrinting)
{
    open(3000);
    window->commands.mnuAspectWeb_Click();
    window->commands.cmdWeb_Click(1);
    ASSERT_TRUE(loaded());
    const QString pdf = home.path() + "/printed.pdf";
    setPrinterChooser([&](QWidget *) { return pdfPrinter(pdf); });
    for (const MsgResult answer : {MsgResult::Cancel, MsgResult::Ok}) {
        SCOPED_TRACE(answer == MsgResult::Ok ? "OK" : "Cancel");
        writeBytes(pdf, "earlier");
        prompts.clear();
        prompts.answer(MsgResult::Yes);
        window->commands.mnuFilePrint_Click();
        ASSERT_TRUE(waitUntil([&] { return pageShown() >= 2; }, 20000));
        prompts.answer(answer);
        window->close();
        ASSERT_EQ(prompts.messages().size(), 2u);
        EXPECT_EQ(prompts.messages().back().title, "Exit Vardecks application?");
        EXPECT_EQ(prompts.lastText(), "The Web Aspect is still being printed.  Stop printing and exit?");
        EXPECT_EQ(prompts.messages().back().buttons, MsgButtons::OkCancel);
        EXPECT_EQ(prompts.messages().back().defaultButton, MsgResult::Cancel);
        EXPECT_EQ(window->isVisible(), answer == MsgResult::Cancel);
        ASSERT_TRUE(waitUntil([&] { return progress() == nullptr; }, 120000));
        if (answer == MsgResult::Cancel) {
            EXPECT_TRUE(readBytes(pdf).trimmed().endsWith("%%EOF"));
            EXPECT_GT(pdfPages(readBytes(pdf)), 40);
        } else {
            EXPECT_EQ(readBytes(pdf), "earlier");
        }
        EXPECT_TRUE(QDir(home.path()).entryList({"*.printing"}, QDir::Hidden | QDir::Files).isEmpty());
    }
}

// Each printed page of a large view shows its own part of the view: every Vardeck is
// on the paper once, the pages in the order of the view.
TEST_F(WebPrintTest, aLargeViewsPrintedPagesEachCarryTheirOwnPartOfTheView)
{
    open(3000);
    window->commands.mnuAspectWeb_Click();
    window->commands.cmdWeb_Click(1);
    ASSERT_TRUE(loaded());
    const QString pdf = home.path() + "/printed.pdf";
    setPrinterChooser([&](QWidget *) { return pdfPrinter(pdf); });
    prompts.answer(MsgResult::Yes);
    window->commands.mnuFilePrint_Click();
    ASSERT_TRUE(waitUntil([&] { return readBytes(pdf).trimmed().endsWith("%%EOF"); }, 120000));

    QProcess text;
    text.start("pdftotext", {pdf, "-"});
    ASSERT_TRUE(text.waitForFinished(60000)) << "pdftotext (poppler-utils) is needed";
    const QStringList pages = QString::fromUtf8(text.readAllStandardOutput()).split('\f', Qt::SkipEmptyParts);
    ASSERT_GT(pages.size(), 40);
    static const QRegularExpression name("Vardeck (\\d{5})");
    QList<int> printed;
    int emptyPages = 0;
    for (const QString &page : pages) {
        const qsizetype before = printed.size();
        for (const QRegularExpressionMatch &m : name.globalMatch(page))
            printed << m.captured(1).toInt();
        emptyPages += printed.size() == before;
    }
    EXPECT_EQ(emptyPages, 0) << "a page without a Vardeck of its own";
    QList<int> expected;
    for (int i = 1; i <= 3000; ++i)
        expected << i;
    QList<int> sorted = printed;
    std::sort(sorted.begin(), sorted.end());
    EXPECT_EQ(sorted, expected) << "each Vardeck once: " << printed.size() << " printed";
    EXPECT_TRUE(std::is_sorted(printed.begin(), printed.end())) << "the pages in the order of the view";
}

TEST_F(WebPrintTest, aPrintJobLaysOutEachPieceOnItsOwnPages)
{
    const QString pdf = home.path() + "/pieces.pdf";
    const struct {
        QList<QByteArray> pieces;
        int pages;
    } cases[] = {
        {{"<p>one</p>"}, 1},
        {{"<p>one</p>", "<p>two</p>", "<p>three</p>"}, 3},
        {{QByteArray("<p>long</p>").repeated(400), "<p>last</p>"}, 0},
    };
    for (const auto &c : cases) {
        PagePrintJob job(pdfPrinter(pdf), c.pieces, QUrl::fromLocalFile(home.path() + "/"));
        QList<int> started;
        QObject::connect(&job, &PagePrintJob::pageStarted, [&](int page, int) { started << page; });
        QSignalSpy finished(&job, &PagePrintJob::finished);
        job.start();
        ASSERT_TRUE(waitUntil([&] { return finished.count() == 1; }, 20000));
        EXPECT_TRUE(finished.first().at(0).toBool());
        const int pages = pdfPages(readBytes(pdf));
        if (c.pages > 0) {
            EXPECT_EQ(pages, c.pages);
        } else {
            EXPECT_GT(pages, 2) << "a piece longer than a page goes on over several";
        }
        EXPECT_EQ(started.size(), pages);
        EXPECT_EQ(started.value(0), 1);
        EXPECT_EQ(started.last(), pages);
    }
}

TEST_F(WebPrintTest, aViewShownBeforeAndUnchangedComesBackWithoutBeingDrawnAgain)
{
    for (bool programPages : {true, false}) {
        SCOPED_TRACE(programPages ? "pages made by the program" : "pages formatted by the pane");
        open(20, programPages);
        window->commands.mnuAspectWeb_Click();
        window->commands.cmdWeb_Click(0);
        ASSERT_TRUE(loaded());
        window->commands.cmdWeb_Click(1);
        ASSERT_TRUE(loaded());
        const QByteArray database = readBytes(dbPath);
        QSignalSpy started(pane(), &WebPane::loadStarted);
        window->commands.cmdWeb_Click(0);
        EXPECT_FALSE(pane()->isLoading());
        EXPECT_EQ(started.count(), 0);
        window->commands.cmdWeb_Click(1);
        EXPECT_EQ(started.count(), 0);
        EXPECT_EQ(readBytes(dbPath), database) << "the database is not written again";

        // A change to the collection draws the view again.
        window->collectionChanged(StalePages::everyPage());
        window->dbXML->getTheDOM()->noteChange();
        window->commands.cmdWeb_Click(0);
        EXPECT_TRUE(waitUntil([&] { return started.count() > 0; }, 20000));
        ASSERT_TRUE(loaded());
        window->commands.mnuAspectExplorer_Click();
    }
}

TEST_F(WebPrintTest, aLargePageShowsItsFirstScreenWhileTheWholeIsDrawn)
{
    for (bool programPages : {true, false}) {
        SCOPED_TRACE(programPages ? "pages made by the program" : "pages formatted by the pane");
        open(3000, programPages);
        window->commands.mnuAspectWeb_Click();
        window->commands.cmdWeb_Click(0);
        ASSERT_TRUE(loaded());
        window->commands.cmdWeb_Click(1);
        const QString firstScreen = page(programPages ? "AllTempFirst" : "FormattedFirst");
        const QString whole = programPages ? page("AllTemp") : dbPath;
        ASSERT_TRUE(made());
        ASSERT_TRUE(QFile::exists(firstScreen));
        const QByteArray start = readBytes(firstScreen);
        EXPECT_LT(start.size(), 100 * 1024);
        EXPECT_TRUE(start.trimmed().endsWith("</tr>")) << "cut after an element";
        EXPECT_TRUE(start.contains("<title>Vardecks - all</title>"));
        if (programPages) {
            EXPECT_TRUE(readBytes(whole).startsWith(start));
        }
        EXPECT_TRUE(pane()->isLoading());
        auto *first = qobject_cast<QWebEngineView *>(pane()->view());
        ASSERT_NE(first, nullptr);
        EXPECT_TRUE(waitUntil([&] { return first->url() == QUrl::fromLocalFile(firstScreen); }, 20000));
        ASSERT_TRUE(loaded());
        EXPECT_EQ(pane()->address(), QUrl::fromLocalFile(whole).toString());
        EXPECT_EQ(qobject_cast<QWebEngineView *>(pane()->view())->url(), QUrl::fromLocalFile(whole));
        window->commands.mnuAspectExplorer_Click();
    }
}

TEST_F(WebPrintTest, theEndOfTheProcessThatDrewThePageIsToldAndThePageDrawnAgain)
{
    open(20);
    window->commands.mnuAspectWeb_Click();
    window->commands.cmdWeb_Click(0);
    ASSERT_TRUE(loaded());
    for (const char *told : {"The page is drawn again.", "Choose a view to show it again."}) {
        SCOPED_TRACE(told);
        prompts.clear();
        auto *view = qobject_cast<QWebEngineView *>(pane()->view());
        ASSERT_TRUE(waitUntil([&] { return view->page()->renderProcessPid() > 0; }, 10000));
        QSignalSpy finished(pane(), &WebPane::loadFinished);
        ::kill(pid_t(view->page()->renderProcessPid()), SIGKILL);
        ASSERT_TRUE(waitUntil([&] { return !prompts.messages().empty(); }, 20000));
        EXPECT_EQ(prompts.lastText(),
                  QString("The Web Aspect's page is no longer shown: the process that drew it was killed.\n\n") + told);
        if (QString(told) == "The page is drawn again.") {
            EXPECT_TRUE(waitUntil([&] { return finished.count() > 0; }, 20000));
        }
    }
}

TEST_F(WebPrintTest, aKeptViewWhoseProcessEndedIsDrawnAgainWhenNextShownAndOnlyTheShownOneIsTold)
{
    open(20);
    window->commands.mnuAspectWeb_Click();
    window->commands.cmdWeb_Click(0);
    ASSERT_TRUE(loaded());
    window->commands.cmdWeb_Click(1);
    ASSERT_TRUE(loaded());
    // Every process drawing a view of the pane ends, the kept view's too.
    const QList<QWebEngineView *> views = wbWeb(*window)->findChildren<QWebEngineView *>();
    ASSERT_EQ(views.size(), 2);
    QSet<qint64> processes;
    for (QWebEngineView *view : views) {
        ASSERT_TRUE(waitUntil([&] { return view->page()->renderProcessPid() > 0; }, 10000));
        processes << view->page()->renderProcessPid();
    }
    for (qint64 process : processes)
        ::kill(pid_t(process), SIGKILL);
    ASSERT_TRUE(waitUntil([&] { return !prompts.messages().empty(); }, 20000));
    ASSERT_TRUE(loaded());
    QTest::qWait(200);
    EXPECT_EQ(prompts.messages().size(), 1u);
    QSignalSpy started(pane(), &WebPane::loadStarted);
    window->commands.cmdWeb_Click(0);
    EXPECT_TRUE(waitUntil([&] { return started.count() > 0; }, 20000)) << "the kept view is not shown blank";
    ASSERT_TRUE(loaded());
}
