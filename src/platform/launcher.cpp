#include "platform/launcher.h"

#include <QProcess>
#include <QStandardPaths>

namespace rr
{

QString Launcher::findExecutable(const QString &name) const
{
    return QStandardPaths::findExecutable(name);
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
