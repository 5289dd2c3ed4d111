// Profile locks, the loopback HTTP fetch and the mail program: what lies outside fails quietly with its reason.
#include "platform/loopbackhttp.h"
#include "platform/mail.h"
#include "platform/processlock.h"
#include "support/fakelauncher.h"
#include "support/httpserver.h"
#include "support/testenv.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QThread>
#include <gtest/gtest.h>
#include <optional>
#include <sys/wait.h>
#include <unistd.h>

using namespace rr;

TEST(ProfileLock, onlyALiveProcessOfThisMachineCounts)
{
    EXPECT_EQ(processlock::pidOfTarget("127.0.1.1:+4242"), 4242);
    for (const char *bad : {"", "4242", "127.0.0.1:+", "127.0.0.1:+-5", "127.0.0.1:+12x", "127.0.0.1:+0",
                            "127.0.0.1:+99999999999999999999"})
        EXPECT_EQ(processlock::pidOfTarget(bad), 0) << bad;

    QTemporaryDir dir;
    const QString lock = dir.filePath("lock");
    const auto lockAs = [&](const QByteArray &target) {
        QFile::remove(lock);
        ::symlink(target.constData(), QFile::encodeName(lock).constData());
    };
    EXPECT_FALSE(processlock::namesLiveLocalProcess(lock)) << "no lock at all";
    const QByteArray self = QByteArray::number(QCoreApplication::applicationPid());
    lockAs("127.0.1.1:+" + self);
    EXPECT_TRUE(processlock::namesLiveLocalProcess(lock));
    // Another machine's process with our number, and a process that has ended.
    lockAs("203.0.113.9:+" + self);
    EXPECT_FALSE(processlock::namesLiveLocalProcess(lock));
    const pid_t child = fork();
    if (child == 0)
        _exit(0);
    // Ended but not yet reaped, then gone.
    lockAs("127.0.0.1:+" + QByteArray::number(child));
    usleep(100000);
    EXPECT_FALSE(processlock::namesLiveLocalProcess(lock));
    waitpid(child, nullptr, 0);
    EXPECT_FALSE(processlock::namesLiveLocalProcess(lock));
    // A plain file named lock is no lock of this kind.
    QFile::remove(lock);
    ASSERT_TRUE(test::writeBytes(lock, "127.0.0.1:+" + self));
    EXPECT_FALSE(processlock::namesLiveLocalProcess(lock));
}

namespace
{

// One GET, waited for or run on the event loop.
loopbackhttp::Reply fetch(bool waiting, quint16 port, const QByteArray &path, int timeoutMs, qint64 maxBytes)
{
    if (waiting)
        return loopbackhttp::get(port, path, timeoutMs, maxBytes);
    std::optional<loopbackhttp::Reply> reply;
    int answers = 0;
    loopbackhttp::PendingGet request(port, path, timeoutMs, maxBytes, [&](const loopbackhttp::Reply &r) {
        reply = r;
        ++answers;
    });
    EXPECT_FALSE(reply) << "the answer comes from the event loop, never at once";
    test::waitUntil([&] { return reply.has_value(); }, timeoutMs + 5000);
    QCoreApplication::processEvents();
    EXPECT_EQ(answers, 1);
    return reply.value_or(loopbackhttp::Reply{loopbackhttp::Status::Malformed, 0, "no answer"});
}

} // namespace

TEST(LoopbackHttp, readsABodyAndRefusesWhatIsTooBigBrokenOrSilentWaitingOrNot)
{
    for (const bool waiting : {true, false}) {
        SCOPED_TRACE(waiting ? "waiting" : "on the event loop");
        // As a browser's debugging server: HTTP/1.0 refused, the connection kept open after each reply.
        test::HttpServer server(60000, true, true);
        server.route("/ok", test::json("[1,2,3]"));
        server.route("/tight", {.raw = "HTTP/1.1 200 OK\r\nContent-Length:5\r\nContent-Type:application/json\r\n\r\n"
                                       "[1,2]"});
        server.route("/big", test::json(QByteArray(300000, 'x')));
        server.route("/missing", {.raw = "HTTP/1.1 404 Not Found\r\nContent-Length: 2\r\n\r\nno"});
        server.route("/short", {.raw = "HTTP/1.1 200 OK\r\nContent-Length: 50\r\n\r\ncut"});
        server.route("/garbage", {.raw = "hello there\r\n\r\n"});
        server.route("/chunked", {.raw = "HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\n3\r\nabc\r\n0\r\n\r\n"});
        server.route("/twice", {.raw = "HTTP/1.1 200 OK\r\nContent-Length: 3\r\nContent-Length: 4\r\n\r\nabcd"});
        server.route("/signed", {.raw = "HTTP/1.1 200 OK\r\nContent-Length: +3\r\n\r\nabc"});
        server.route("/silent", {.hang = true});

        // The reply is read up to its length: the open connection costs no time-out.
        QElapsedTimer clock;
        clock.start();
        const loopbackhttp::Reply ok = fetch(waiting, server.port(), "/ok", 5000, 1000);
        EXPECT_EQ(ok.status, loopbackhttp::Status::Ok);
        EXPECT_EQ(ok.body, "[1,2,3]");
        EXPECT_EQ(fetch(waiting, server.port(), "/tight", 5000, 5).body, "[1,2]") << "exactly the cap";
        EXPECT_EQ(fetch(waiting, server.port(), "/missing", 5000, 1000).status, loopbackhttp::Status::HttpError);
        EXPECT_LT(clock.elapsed(), 2500);
        EXPECT_EQ(server.refused(), 0) << "no HTTP/1.0 request";
        // HTTP/1.1 asks for the host by name; Chromium answers without one, but a request without it
        // is not HTTP/1.1, and a name other than the address would be refused.
        const QByteArray host = "127.0.0.1:" + QByteArray::number(server.port());
        EXPECT_EQ(server.hostHeaders(), QList<QByteArray>({host, host, host})) << "each request names 127.0.0.1";
        if (!waiting) {
            // A caller busy past the time-out before its event loop runs still gets the
            // reply: the time-out counts from the loop.
            std::optional<loopbackhttp::Reply> late;
            loopbackhttp::PendingGet request(server.port(), "/ok", 300, 1000,
                                             [&](const loopbackhttp::Reply &r) { late = r; });
            ::usleep(500 * 1000);
            ASSERT_TRUE(test::waitUntil([&] { return late.has_value(); }, 5000));
            EXPECT_EQ(late->status, loopbackhttp::Status::Ok);
            EXPECT_EQ(late->body, "[1,2,3]");
        }

        EXPECT_EQ(fetch(waiting, server.port(), "/big", 2000, 100000).status, loopbackhttp::Status::ExceedSize);
        EXPECT_EQ(fetch(waiting, server.port(), "/tight", 2000, 4).status, loopbackhttp::Status::ExceedSize);
        for (const char *broken : {"/garbage", "/chunked", "/twice", "/signed"})
            EXPECT_EQ(fetch(waiting, server.port(), broken, 2000, 1000).status, loopbackhttp::Status::Malformed)
                << broken;
        EXPECT_EQ(fetch(waiting, server.port(), "/a\r\nX: y", 2000, 1000).status, loopbackhttp::Status::Refused);

        const quint16 closedPort = test::HttpServer().port(); // closed again at once
        EXPECT_EQ(fetch(waiting, closedPort, "/json/list", 2000, 1000).status, loopbackhttp::Status::Refused);

        // A body that stops short of its length on an open connection, and a server that never answers.
        for (const char *stalled : {"/short", "/silent"}) {
            clock.restart();
            EXPECT_EQ(fetch(waiting, server.port(), stalled, 300, 1000).status, loopbackhttp::Status::TimedOut)
                << stalled;
            EXPECT_LT(clock.elapsed(), 2000);
        }

        // A server that closes after its reply: a body shorter than its length is broken; without a
        // length the body ends with the connection.
        test::HttpServer closing(60000, false);
        closing.route("/short", {.raw = "HTTP/1.1 200 OK\r\nContent-Length: 50\r\n\r\ncut"});
        closing.route("/until-closed", {.raw = "HTTP/1.0 200 OK\r\n\r\n[4]"});
        EXPECT_EQ(fetch(waiting, closing.port(), "/short", 2000, 1000).status, loopbackhttp::Status::Malformed);
        EXPECT_EQ(fetch(waiting, closing.port(), "/until-closed", 2000, 1000).body, "[4]");
    }
}

namespace
{

const char *statusName(loopbackhttp::Status status)
{
    switch (status) {
    case loopbackhttp::Status::Ok:
        return "Ok";
    case loopbackhttp::Status::Refused:
        return "Refused";
    case loopbackhttp::Status::TimedOut:
        return "TimedOut";
    case loopbackhttp::Status::ExceedSize:
        return "ExceedSize";
    case loopbackhttp::Status::Malformed:
        return "Malformed";
    case loopbackhttp::Status::HttpError:
        return "HttpError";
    }
    return "?";
}

} // namespace

TEST(LoopbackHttp, requestsWaitedForTogetherAreMadeAtOnceAndEachIsReadByItsOwnLimits)
{
    test::HttpServer server(60000, true, true);
    server.route("/ok", test::json("[1,2,3]"));
    server.route("/big", test::json(QByteArray(300000, 'x')));
    server.route("/missing", {.raw = "HTTP/1.1 404 Not Found\r\nContent-Length: 2\r\n\r\nno"});
    server.route("/chunked", {.raw = "HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\n3\r\nabc\r\n0\r\n\r\n"});
    server.route("/silent", {.hang = true});
    const quint16 port = server.port();
    const quint16 closedPort = test::HttpServer().port();

    QElapsedTimer clock;
    clock.start();
    const QList<loopbackhttp::Reply> replies = loopbackhttp::getAll({{port, "/silent", 1000},
                                                                     {port, "/ok", 1000},
                                                                     {closedPort, "/ok", 1000},
                                                                     {port, "/big", 100000},
                                                                     {port, "/silent", 1000},
                                                                     {port, "/missing", 1000},
                                                                     {port, "/chunked", 1000},
                                                                     {port, "/a\r\nX: y", 1000},
                                                                     {port, "/silent", 1000},
                                                                     {port, "/ok", 4}},
                                                                    500);
    const qint64 took = clock.elapsed();
    QStringList statuses;
    for (const loopbackhttp::Reply &reply : replies)
        statuses << statusName(reply.status);
    EXPECT_EQ(statuses.join(' '), "TimedOut Ok Refused ExceedSize TimedOut HttpError Malformed Refused TimedOut "
                                  "ExceedSize");
    ASSERT_EQ(replies.size(), 10);
    EXPECT_EQ(replies[1].body, "[1,2,3]");
    EXPECT_EQ(replies[5].httpStatus, 404);
    EXPECT_TRUE(replies[0].body.isEmpty());
    // The three silent requests were open side by side and cost one time-out together.
    EXPECT_EQ(server.hits("/silent"), 3);
    EXPECT_GE(server.maxOpen(), 3);
    EXPECT_GE(took, 450);
    EXPECT_LT(took, 1000);
    EXPECT_EQ(server.refused(), 0) << "every request in HTTP/1.1";

    clock.restart();
    EXPECT_TRUE(loopbackhttp::getAll({}, 5000).isEmpty());
    EXPECT_LT(clock.elapsed(), 100) << "nothing to wait for";
}

TEST(Mail, withoutAMailProgramAMailtoAddressOpensAndTheUserIsToldToAttach)
{
    test::ScriptedPrompts prompts;
    EXPECT_EQ(mailtoAddress("a@b", "x&y=z", "a?b"), "mailto:a@b?subject=x%26y%3Dz&body=a%3Fb");
    test::FakeLauncher launcher; // no xdg-email
    Notice said;
    EXPECT_TRUE(
        SendMAPIMail("support@quorvane.example", false, "", "Razuzezu Revidod support request", "", "", {}, &said));
    EXPECT_TRUE(said.isEmpty());
    EXPECT_TRUE(SendMAPIMail("", true, "", "Favorite Vardecks", "", "/data/Vardecks.htm", {}, &said));
    EXPECT_EQ(launcher.openedUrls(),
              QStringList({"mailto:support@quorvane.example?subject=Razuzezu%20Revidod%20support%20request",
                           "mailto:?subject=Favorite%20Vardecks"}));
    EXPECT_EQ(said.text, "Your mail program was started without the attachment.  Please attach the file "
                         "/data/Vardecks.htm to the message.");
    EXPECT_EQ(said.icon, MsgIcon::Information);

    launcher.addProgram("xdg-email", "/usr/bin/xdg-email");
    launcher.failStarts();
    EXPECT_FALSE(SendMAPIMail("a@b", false, "", "s", "", "/tmp/x", {}, &said));
    EXPECT_EQ(said.text, "There was an error logging in to e-mail messaging program.");
    EXPECT_TRUE(prompts.messages().empty()) << "the window shows the notice";
}

namespace
{

// Runs send with a mail program first on the path that writes down the arguments it
// receives, and returns them.
template <typename Send> QList<QByteArray> argumentsTheMailProgramReceives(Send send)
{
    QTemporaryDir bin;
    const QString received = bin.filePath("received");
    QFile script(bin.filePath("xdg-email"));
    test::writeBytes(script.fileName(), "#!/bin/sh\nfor a in \"$@\"; do printf '%s\\0' \"$a\"; done > "
                                        "\"$0.out\"\nmv \"$0.out\" \"" +
                                            received.toUtf8() + "\"\n");
    script.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    const QByteArray path = qgetenv("PATH");
    qputenv("PATH", bin.path().toUtf8() + ":" + path);
    EXPECT_TRUE(send());
    qputenv("PATH", path);
    QElapsedTimer timer;
    timer.start();
    while (!QFile::exists(received) && timer.elapsed() < 10000)
        QThread::msleep(20);
    QList<QByteArray> args = test::readBytes(received).split('\0');
    if (!args.isEmpty())
        args.removeLast();
    return args;
}

} // namespace

TEST(Mail, aMailProgramFirstOnThePathReceivesEachFieldAsItsOwnArgument)
{
    test::ScriptedPrompts prompts;
    const QList<QByteArray> args = argumentsTheMailProgramReceives([] {
        return SendMAPIMail("support@quorvane.example", true, "", "A & B; $(rm -rf)", "two\nlines; $(x) 'q'",
                            "/tmp/Vardecks listing.htm");
    });
    EXPECT_EQ(args, QList<QByteArray>({"--utf8", "--subject", "A & B; $(rm -rf)", "--body", "two\nlines; $(x) 'q'",
                                       "--attach", "/tmp/Vardecks listing.htm", "support@quorvane.example"}));
    EXPECT_TRUE(prompts.messages().empty());
}

TEST(Mail, aBodyWithWindowsLineBreaksReachesTheMailProgramWithOneBreakPerLine)
{
    // xdg-email writes every line break of the body as CR LF itself; a CR left in front of
    // it would reach the message as a second break.
    const QList<QByteArray> args = argumentsTheMailProgramReceives([] {
        return SendMAPIMail("", true, "", "Vardeck", "Name: Alpha\r\n\r\nFile size:12\r\n\r\nKeywords: a b\r\n", "");
    });
    EXPECT_EQ(args, QList<QByteArray>({"--utf8", "--subject", "Vardeck", "--body",
                                       "Name: Alpha\n\nFile size:12\n\nKeywords: a b\n"}));
    // Without xdg-email the mailto: address carries each break as %0D%0A, once.
    EXPECT_EQ(mailtoAddress("", "Vardeck", "Name: Alpha\r\n\r\nKeywords: a b\r\n"),
              "mailto:?subject=Vardeck&body=Name%3A%20Alpha%0D%0A%0D%0AKeywords%3A%20a%20b%0D%0A");
}

TEST(Mail, aMailProgramThatFailsIsReportedAndOneThatKeepsRunningIsLeftToRun)
{
    test::ScriptedPrompts prompts;
    QTemporaryDir bin;
    QFile script(bin.filePath("xdg-email"));
    ASSERT_TRUE(test::writeBytes(script.fileName(), "#!/bin/sh\nexit 3\n"));
    script.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    const QByteArray path = qgetenv("PATH");
    qputenv("PATH", bin.path().toUtf8() + ":" + path);
    int waits = 0;
    Notice said;
    const bool sent = SendMAPIMail(
        "", true, "", "Vardeck", "body", "", [&] { ++waits; }, &said);
    qputenv("PATH", path);
    EXPECT_FALSE(sent);
    EXPECT_EQ(said.text, "There was an error logging in to e-mail messaging program.");
    EXPECT_EQ(said.icon, MsgIcon::Critical);
    EXPECT_TRUE(prompts.messages().empty());

    // A program that keeps the caller waiting is waited for only so long, and runs on.
    ProcessLauncher launcher;
    const QString done = bin.filePath("done");
    QElapsedTimer clock;
    clock.start();
    const ProgramRun running =
        launcher.startAndWait("/bin/sh", {"-c", "sleep 0.7; touch \"$0\"", done}, 200, [&] { ++waits; });
    EXPECT_EQ(running.state, ProgramRun::State::StillRunning);
    EXPECT_GE(waits, 2) << "the caller's windows kept repainting meanwhile";
    EXPECT_FALSE(QFile::exists(done));
    while (!QFile::exists(done) && clock.elapsed() < 10000) {
        QCoreApplication::processEvents();
        QThread::msleep(20);
    }
    EXPECT_TRUE(QFile::exists(done)) << "it was not stopped";
    const ProgramRun ended = launcher.startAndWait("/bin/sh", {"-c", "exit 4"}, 5000, {});
    EXPECT_EQ(ended.state, ProgramRun::State::Ended);
    EXPECT_EQ(ended.exitCode, 4);
}
