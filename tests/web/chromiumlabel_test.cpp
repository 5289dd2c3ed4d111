// Chromium names itself "Chrome" on its debugging endpoint (seen from Chromium 156): its
// pages are labelled by the program that listens on the port.
#include "support/devtoolsserver.h"
#include "web/devtoolspages.h"

#include <QFile>
#include <gtest/gtest.h>
#include <sys/prctl.h>
#include <unistd.h>

using namespace rr;

namespace
{

QString linkOf(const char *path)
{
    char target[4096];
    const ssize_t size = ::readlink(path, target, sizeof target);
    return size > 0 ? QFile::decodeName(QByteArray(target, int(size))) : QString();
}

// The calling thread named as a program is for the time of the test; the main thread's
// name is the process's.
class ThreadName
{
public:
    explicit ThreadName(const char *name)
    {
        ::prctl(PR_GET_NAME, m_saved);
        ::prctl(PR_SET_NAME, name);
    }
    ~ThreadName() { ::prctl(PR_SET_NAME, m_saved); }

private:
    char m_saved[17] = {};
};

} // namespace

TEST(ChromiumLabel, aChromiumProgramIsLabelledChromiumWhateverProductItsEndpointNames)
{
    const struct {
        const char *product, *name, *executable, *label;
    } cases[] = {
        {"Chrome", "chromium", "/usr/lib/chromium/chromium", "Chromium"},
        {"Chrome", "chrome", "/snap/chromium/3012/usr/lib/chromium-browser/chrome", "Chromium"},
        {"HeadlessChrome", "", "/app/chromium/Chromium", "Chromium"},
        {"Chrome", "chrome", "/opt/google/chrome/chrome", "Chrome"},
        {"Brave", "brave", "/opt/brave.com/brave/brave", "Brave"},
        {"Chrome", "", "", "Chrome"},
        {"", "", "", "Chromium"},
    };
    for (const auto &c : cases)
        EXPECT_EQ(devtools::browserLabel(c.product, {c.name, c.executable}), c.label) << c.executable;
}

TEST(ChromiumLabel, theProgramListeningOnThePortNamesTheBrowser)
{
    test::DevToolsServer server;
    server.setTargets({{"page", "Mail", "https://mail.example/"}});
    const devtools::ListeningProgram program = devtools::programListeningOn(server.port());
    QFile comm("/proc/self/comm");
    ASSERT_TRUE(comm.open(QIODevice::ReadOnly));
    EXPECT_EQ(program.name, QString::fromUtf8(comm.readAll()).trimmed());
    EXPECT_EQ(program.executable, linkOf("/proc/self/exe"));
    EXPECT_EQ(devtools::pagesOn({server.port()}, 5000).value(0).browser, "Chrome");

    {
        ThreadName chromium("chromium");
        EXPECT_EQ(devtools::pagesOn({server.port()}, 5000).value(0).browser, "Chromium");
    }
    EXPECT_EQ(devtools::pagesOn({server.port()}, 5000).value(0).browser, "Chrome") << "the test's own name is back";
    EXPECT_EQ(devtools::programListeningOn(0).executable, "") << "no program listens on port 0";
}
