// Times the program's start as a whole process, on generated collections: from the
// launch to the main window shown (the program says "shown" once the window's first
// events are handled), with the splash and tips off, offscreen. The floor is
// xmllint reading the same file with its DTD and validating it; the process's peak
// memory is compared with the file's size. The start must make no web view (the
// first costs ~100 ms and waits until a pane shows it), load no browser engine and
// make no OpenGL context (each tens of megabytes). Given an X display (one with a
// window manager), the program starts there instead of offscreen.
//   launch -> window shown vs xmllint --noout --loaddtd --valid   goal <= 1.2
//   peak memory vs file size                                       goal <= 10
// The goals are judged at 32,767 Vardecks. The program and xmllint run in turn, round
// by round; times are min/median/max and the ratio is the median of the rounds'
// ratios. Exits non-zero when a goal is missed or a run fails.
// Usage: startup_bench [runs] [X display, e.g. :151]
#include "benchtime.h"
#include "collectiongen.h"
#include "platform/paths.h"
#include "storage/registryfunctions.h"
#include "storage/session.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QTemporaryDir>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <signal.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

extern char **environ;

using namespace rr;

namespace
{

constexpr double kLaunchGoal = 1.2;

struct Run {
    double ms = -1;               // until "shown" (or the exit, for a program that says nothing)
    long peakKb = 0;              // the process's peak resident memory
    long webViews = -1;           // web views made by the start, as the program reports them
    bool engineLeftAlone = false; // neither the browser engine nor an OpenGL context
    bool ok = false;
};

// Starts the program with its output on a pipe; waits for "shown" when asked to.
Run launch(const std::vector<std::string> &argv, bool waitForShown)
{
    int out[2];
    if (pipe(out) != 0)
        return {};
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, out[1], STDOUT_FILENO);
    posix_spawn_file_actions_addclose(&actions, out[0]);
    std::vector<char *> args;
    for (const std::string &a : argv)
        args.push_back(const_cast<char *>(a.c_str()));
    args.push_back(nullptr);
    Run run;
    const auto start = std::chrono::steady_clock::now();
    pid_t pid = 0;
    const int spawned = posix_spawn(&pid, args[0], &actions, nullptr, args.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    close(out[1]);
    if (spawned != 0) {
        close(out[0]);
        return {};
    }
    std::string said;
    char buffer[256];
    ssize_t n = 0;
    while ((n = read(out[0], buffer, sizeof buffer)) > 0) {
        said.append(buffer, size_t(n));
        const size_t shown = said.find("shown ");
        if (waitForShown && shown != std::string::npos && said.find('\n', shown) != std::string::npos) {
            run.ms = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
            run.webViews = std::atol(said.c_str() + shown + 6);
            run.engineLeftAlone =
                said.find("browser engine not loaded, OpenGL context none", shown) != std::string::npos;
            break;
        }
    }
    close(out[0]);
    int status = 0;
    rusage usage{};
    wait4(pid, &status, 0, &usage);
    if (!waitForShown)
        run.ms = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
    run.peakKb = usage.ru_maxrss;
    run.ok = WIFEXITED(status) && WEXITSTATUS(status) == 0 && run.ms >= 0 &&
             (!waitForShown || (run.webViews == 0 && run.engineLeftAlone));
    return run;
}

bool allOk(const std::vector<Run> &runs)
{
    return std::all_of(runs.begin(), runs.end(), [](const Run &r) { return r.ok; });
}

bench::Spread spreadOf(const std::vector<Run> &runs, double (*figure)(const Run &))
{
    std::vector<double> values;
    for (const Run &r : runs)
        values.push_back(figure(r));
    return bench::spreadOf(values);
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    rr::Session benchSession;
    const int runs = argc > 1 ? std::max(1, atoi(argv[1])) : 5;
    const QByteArray display = argc > 2 ? QByteArray(argv[2]) : QByteArray();
    if (display.isEmpty()) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    } else {
        qputenv("QT_QPA_PLATFORM", "xcb");
        qputenv("DISPLAY", display);
        std::printf("on the X display %s\n", display.constData());
    }
    qputenv("RAZUZEZU_REPORT_SHOWN", "1");
    // A runtime folder of its own (mode 0700), as the program expects one.
    QTemporaryDir runtime;
    if (!qEnvironmentVariableIsSet("XDG_RUNTIME_DIR"))
        qputenv("XDG_RUNTIME_DIR", runtime.path().toUtf8());
    bool good = true;
    for (int vardecks : {1000, 10000, 32767}) {
        QTemporaryDir home;
        qputenv("RAZUZEZU_HOME", home.path().toUtf8());
        // The launched window looks for pages open in browsers and offers them in a
        // dialog nobody answers here: it finds no browser profile and asks no port.
        qputenv("HOME", home.path().toUtf8());
        qputenv("RAZUZEZU_DEVTOOLS_PORTS", "");
        paths::prepareProgramFolder();
        bench::CollectionShape shape;
        shape.vardecks = vardecks;
        const QString path = bench::writeCollection(paths::databaseFolder(), QStringLiteral("Vardecks.xml"), shape);
        const QString options = QStringLiteral("Software\\Quorvane\\Vardecks\\UserOptions\\");
        RegistryFunctions::WriteValue(reg::HKEY_CURRENT_USER, options, QStringLiteral("hideSplash"), "True");
        RegistryFunctions::WriteValue(reg::HKEY_CURRENT_USER, options, QStringLiteral("tipStartup"), "True");

        std::vector<Run> program, floor;
        std::vector<double> ratios;
        for (int i = 0; i < runs; ++i) {
            program.push_back(launch({RR_APP_BINARY}, true));
            floor.push_back(launch({"/usr/bin/xmllint", "--noout", "--loaddtd", "--valid", path.toStdString()}, false));
            ratios.push_back(program.back().ms / floor.back().ms);
        }
        const double fileKb = QFileInfo(path).size() / 1024.0;
        const bench::Spread shown = spreadOf(program, [](const Run &r) { return r.ms; });
        const bench::Spread lint = spreadOf(floor, [](const Run &r) { return r.ms; });
        const bench::Spread peak = spreadOf(program, [](const Run &r) { return r.peakKb / 1024.0; });
        const double ratio = bench::spreadOf(ratios).median;
        const double memory = peak.median * 1024 / fileKb;
        const bool ran = allOk(program) && allOk(floor);
        // The goals hold at the largest collection; the program's fixed start-up cost
        // outweighs a small file.
        const bool judged = vardecks == 32767;
        good = good && ran && (!judged || (ratio <= kLaunchGoal && memory <= 10));
        auto verdict = [&](bool met) { return judged ? bench::verdict(met) : "(judged at 32767 only)"; };
        std::printf("%6d Vardecks (%5.1f MB): launch to window shown %s ms vs xmllint --valid %s ms: ratio %.2f "
                    "(goal <= %.1f) %s | peak memory %s MB: %.1f x the file (goal <= 10) %s%s\n",
                    vardecks, fileKb / 1024, bench::formatSpread(shown, 1).c_str(),
                    bench::formatSpread(lint, 1).c_str(), ratio, kLaunchGoal, verdict(ratio <= kLaunchGoal),
                    bench::formatSpread(peak, 1).c_str(), memory, verdict(memory <= 10),
                    ran ? "" : "  A RUN FAILED, MADE A WEB VIEW OR STARTED THE BROWSER ENGINE");
    }
    return good ? 0 : 1;
}
