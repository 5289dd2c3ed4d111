#pragma once
// The one place where the program starts another program. A program is started with
// its arguments as separate items, never through a shell, so an address can't carry
// shell syntax into the command. Tests install a launcher that records the calls.
//
// The desktop's opener (xdg-open) is never waited for: it may run as long as the
// browser it starts. Its end is watched from the event loop, and when it ends with an
// error soon after it started, the opener-failure handler gets what the user is to be
// told, with the reason the opener gave.
#include "platform/notice.h"

#include <QByteArray>
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
    // Hands url to the desktop's default handler (xdg-open) and returns at once; false
    // when that could not be started. A failure of the handler comes later, through
    // launcher::reportOpenerFailure.
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

// An opener that ends with an error this long after it started failed to open the
// address; a later end is the end of the program it started (a browser that ran in
// its place), and says nothing about the address.
inline constexpr int kOpenerWatchMs = 60000;
// Why the opener failed, in words: the last line it wrote to its error output, else
// what its exit status means (xdg-open's statuses: 1 a wrong call, 2 no such file,
// 3 nothing to open it with, 4 the opening failed, 5 no permission to read the file).
QString openerFailureReason(int exitCode, bool crashed, const QByteArray &errorOutput);
// "The address <url> could not be opened: <reason>."
Notice openerFailureNotice(const QString &url, const QString &reason);
// Where openerFailureNotice goes; none by default. The window layer installs one that
// shows it.
void setOpenerFailureHandler(std::function<void(const Notice &)> handler);
void reportOpenerFailure(const QString &url, const QString &reason);

} // namespace launcher
} // namespace rr
