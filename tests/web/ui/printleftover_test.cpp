// A print killed midway leaves its hidden partial file beside the file asked for; the
// next start removes it and leaves the file that was there before.
#include "platform/paths.h"
#include "support/httpserver.h"
#include "support/testenv.h"
#include "web/ui/pageprint.h"

#include <QFileInfo>
#include <QPrinter>
#include <QProcess>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <csignal>
#include <cstdio>

using namespace rr;
using namespace rr::test;

namespace
{
const char kChildVariable[] = "RR_PRINT_KILLED_CHILD";
const char kHomeVariable[] = "RR_PRINT_KILLED_HOME";
} // namespace

// The child's part: in the parent's home, prints a long collection to the PDF file
// named in the variable, says so once its second page is under way, and goes on until
// it is killed.
TEST(PrintKilledMidwayChild, printsUntilKilled)
{
    if (!qEnvironmentVariableIsSet(kChildVariable))
        GTEST_SKIP() << "runs in the process PrintKilledMidway starts";
    qputenv("RAZUZEZU_HOME", qgetenv(kHomeVariable));
    const QString pdf = qEnvironmentVariable(kChildVariable);
    auto printer = std::make_shared<QPrinter>();
    printer->setOutputFormat(QPrinter::PdfFormat);
    printer->setOutputFileName(pdf);
    const QList<QByteArray> pieces(4000, "<p>" + QByteArray("A Vardeck's long description. ").repeated(150) + "</p>");
    PagePrintJob job(printer, pieces, QUrl::fromLocalFile(QFileInfo(pdf).path() + "/"));
    QObject::connect(&job, &PagePrintJob::pageStarted, [](int page, int) {
        if (page == 2) {
            std::puts("printing");
            std::fflush(stdout);
        }
    });
    QSignalSpy finished(&job, &PagePrintJob::finished);
    job.start();
    waitUntil([&] { return finished.count() == 1; }, 110000);
}

TEST(PrintKilledMidway, leavesNoHiddenPartialFileAfterTheNextStart)
{
    TempHome home;
    QTemporaryDir chosen;
    const QString pdf = chosen.filePath("collection.pdf");
    ASSERT_TRUE(writeBytes(pdf, "earlier"));
    QProcess child;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(kChildVariable, pdf);
    env.insert(kHomeVariable, home.path());
    child.setProcessEnvironment(env);
    child.start(QCoreApplication::applicationFilePath(), {"--gtest_filter=PrintKilledMidwayChild.*"});
    QByteArray said;
    ASSERT_TRUE(waitUntil(
        [&] {
            said += child.readAllStandardOutput();
            return said.contains("printing") || child.state() == QProcess::NotRunning;
        },
        60000));
    ASSERT_TRUE(said.contains("printing")) << said.toStdString();
    ::kill(pid_t(child.processId()), SIGKILL);
    ASSERT_TRUE(child.waitForFinished(10000));
    const QString partial = chosen.filePath(".collection.pdf.printing");
    ASSERT_TRUE(QFile::exists(partial)) << "the kill left the print's partial file";

    paths::removeSaveLeftovers(); // the next start
    EXPECT_FALSE(QFile::exists(partial));
    EXPECT_EQ(readBytes(pdf), "earlier");
}
