#include "platform/launcher.h"

#include <QElapsedTimer>
#include <QProcess>
#include <QStandardPaths>

#include <algorithm>
#include <memory>

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
    if (opener.isEmpty())
        return false;
    // Owned by no one while it runs, and deleted once it ends: the program ending
    // first never kills an opener, nor a browser it runs in its place.
    auto *process = new QProcess;
    process->setProgram(opener);
    process->setArguments({url});
    process->setStandardInputFile(QProcess::nullDevice());
    process->setStandardOutputFile(QProcess::nullDevice());
    // The error output is read as it comes, so that a browser writing there for hours
    // never fills the pipe; only its end is kept.
    constexpr qsizetype kKeptOutput = 4096;
    auto errorOutput = std::make_shared<QByteArray>();
    QObject::connect(process, &QProcess::readyReadStandardError, process, [process, errorOutput] {
        *errorOutput += process->readAllStandardError();
        if (errorOutput->size() > kKeptOutput)
            errorOutput->remove(0, errorOutput->size() - kKeptOutput);
    });
    QElapsedTimer started;
    started.start();
    QObject::connect(process, &QProcess::finished, process,
                     [process, url, errorOutput, started](int exitCode, QProcess::ExitStatus status) {
                         *errorOutput += process->readAllStandardError();
                         const bool crashed = status == QProcess::CrashExit;
                         if ((crashed || exitCode != 0) && started.elapsed() < launcher::kOpenerWatchMs)
                             launcher::reportOpenerFailure(
                                 url, launcher::openerFailureReason(exitCode, crashed, *errorOutput));
                         process->deleteLater();
                     });
    process->start();
    if (!process->waitForStarted()) {
        delete process;
        return false;
    }
    return true;
}

namespace launcher
{
namespace
{
ProcessLauncher g_processLauncher;
Launcher *g_launcher = nullptr;

std::function<void(const Notice &)> &failureHandler()
{
    static std::function<void(const Notice &)> handler;
    return handler;
}
} // namespace

void install(Launcher *launcher)
{
    g_launcher = launcher;
}

Launcher &installed()
{
    return g_launcher ? *g_launcher : g_processLauncher;
}

QString openerFailureReason(int exitCode, bool crashed, const QByteArray &errorOutput)
{
    const QList<QByteArray> lines = errorOutput.split('\n');
    for (auto line = lines.crbegin(); line != lines.crend(); ++line) {
        const QString said = QString::fromLocal8Bit(*line).trimmed();
        if (!said.isEmpty())
            return said;
    }
    if (crashed)
        return QStringLiteral("the desktop's opener (xdg-open) stopped unexpectedly");
    switch (exitCode) {
    case 1:
        return QStringLiteral("the desktop's opener (xdg-open) did not understand the request");
    case 2:
        return QStringLiteral("there is no such file");
    case 3:
        return QStringLiteral("the desktop has no program to open it");
    case 4:
        return QStringLiteral("the program that was to open it failed");
    case 5:
        return QStringLiteral("the file may not be read");
    default:
        return QStringLiteral("the desktop's opener (xdg-open) ended with error %1").arg(exitCode);
    }
}

Notice openerFailureNotice(const QString &url, const QString &reason)
{
    QString text = QStringLiteral("The address ") + url + QStringLiteral(" could not be opened: ") + reason;
    if (!text.endsWith(QLatin1Char('.')))
        text += QLatin1Char('.');
    return {text, MsgIcon::Exclamation};
}

void setOpenerFailureHandler(std::function<void(const Notice &)> handler)
{
    failureHandler() = std::move(handler);
}

void reportOpenerFailure(const QString &url, const QString &reason)
{
    if (failureHandler())
        failureHandler()(openerFailureNotice(url, reason));
}

} // namespace launcher
} // namespace rr
