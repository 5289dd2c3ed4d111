#include "platform/launcher.h"

#include <QElapsedTimer>
#include <QProcess>
#include <QStandardPaths>

#include <algorithm>

namespace rr
{

QString Launcher::findExecutable(const QString &name) const
{
    return QStandardPaths::findExecutable(name);
}

ProgramRun Launcher::startAndWait(const QString &program, const QStringList &args, int, const std::function<void()> &)
{
    return {startDetached(program, args) ? ProgramRun::State::StillRunning : ProgramRun::State::NotStarted};
}

ProgramRun ProcessLauncher::startAndWait(const QString &program, const QStringList &args, int timeoutMs,
                                         const std::function<void()> &whileWaiting)
{
    // Owned by no one while it runs: a program still running after the wait keeps its
    // process object until it ends.
    auto *process = new QProcess;
    process->setProgram(program);
    process->setArguments(args);
    process->setStandardInputFile(QProcess::nullDevice());
    process->setStandardOutputFile(QProcess::nullDevice());
    process->setStandardErrorFile(QProcess::nullDevice());
    process->start();
    if (!process->waitForStarted()) {
        delete process;
        return {};
    }
    QElapsedTimer clock;
    clock.start();
    // whileWaiting may let the process's own end be noticed, after which waiting for
    // it says nothing more: its state tells.
    while (process->state() != QProcess::NotRunning &&
           !process->waitForFinished(int(std::clamp<qint64>(timeoutMs - clock.elapsed(), 0, 50)))) {
        if (clock.elapsed() >= timeoutMs) {
            QObject::connect(process, &QProcess::finished, process, &QObject::deleteLater);
            return {ProgramRun::State::StillRunning};
        }
        if (whileWaiting)
            whileWaiting();
    }
    ProgramRun run{ProgramRun::State::Ended, process->exitStatus() == QProcess::NormalExit ? process->exitCode() : -1};
    delete process;
    return run;
}

bool ProcessLauncher::startDetached(const QString &program, const QStringList &args)
{
    QProcess process;
    process.setProgram(program);
    process.setArguments(args);
    process.setStandardInputFile(QProcess::nullDevice());
    process.setStandardOutputFile(QProcess::nullDevice());
    process.setStandardErrorFile(QProcess::nullDevice());
    return process.startDetached();
}

bool ProcessLauncher::openUrl(const QString &url)
{
    const QString opener = findExecutable(QStringLiteral("xdg-open"));
    return !opener.isEmpty() && startDetached(opener, {url});
}

namespace launcher
{
namespace
{
ProcessLauncher g_processLauncher;
Launcher *g_launcher = nullptr;
} // namespace

void install(Launcher *launcher)
{
    g_launcher = launcher;
}

Launcher &installed()
{
    return g_launcher ? *g_launcher : g_processLauncher;
}

} // namespace launcher
} // namespace rr
