#pragma once
// The one place where the program starts another program. A program is started with
// its arguments as separate items, never through a shell, so an address can't carry
// shell syntax into the command. Tests install a launcher that records the calls.
#include <QString>
#include <QStringList>

#include <functional>

namespace rr
{

// How a program started by startAndWait came out.
struct ProgramRun {
    enum class State { NotStarted, Ended, StillRunning };
    State state = State::NotStarted;
    // The exit status once it has ended; -1 when it crashed.
    int exitCode = -1;
};

class Launcher
{
public:
    virtual ~Launcher() = default;
    // Starts program with args and does not wait for it; false when it could not start.
    virtual bool startDetached(const QString &program, const QStringList &args) = 0;
    // Starts program and waits up to timeoutMs for it to end, calling whileWaiting
    // about every 50 ms meanwhile; a program still running then is left to run on its
    // own. Here: started detached and reported as still running.
    virtual ProgramRun startAndWait(const QString &program, const QStringList &args, int timeoutMs,
                                    const std::function<void()> &whileWaiting);
    // Hands url to the desktop's default handler (xdg-open); false when that could not
    // be started. Whether the handler then managed to open it is not known.
    virtual bool openUrl(const QString &url) = 0;
    // The full path of an executable found on PATH, or "" when there is none.
    virtual QString findExecutable(const QString &name) const;
};

// Starts programs with QProcess, their output going nowhere.
class ProcessLauncher : public Launcher
{
public:
    bool startDetached(const QString &program, const QStringList &args) override;
    ProgramRun startAndWait(const QString &program, const QStringList &args, int timeoutMs,
                            const std::function<void()> &whileWaiting) override;
    bool openUrl(const QString &url) override;
};

namespace launcher
{

// The launcher stays owned by the caller; nullptr restores the process launcher.
void install(Launcher *launcher);
Launcher &installed();

} // namespace launcher
} // namespace rr
