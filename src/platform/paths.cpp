#include "platform/paths.h"

#include <QCoreApplication>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>

namespace rr::paths
{
namespace
{

const char kVendorPath[] = "/Quorvane/Vardecks";

QString envFolder(const char *name)
{
    const QString value = qEnvironmentVariable(name);
    return value.isEmpty() ? QString() : QDir::cleanPath(value);
}

QString xdgFolder(const char *variable, const char *fallbackBelowHome)
{
    QString base = envFolder(variable);
    if (base.isEmpty() || !QDir::isAbsolutePath(base))
        base = QDir::homePath() + QLatin1String(fallbackBelowHome);
    return base + QLatin1String(kVendorPath);
}

bool copyIfMissing(const QString &from, const QString &to)
{
    if (QFileInfo::exists(to))
        return true;
    QDir().mkpath(QFileInfo(to).absolutePath());
    if (!QFile::copy(from, to))
        return false;
    // Installed data may be read-only; the user's copy must be writable.
    QFile::setPermissions(to, QFile::permissions(to) | QFileDevice::WriteOwner);
    return true;
}

} // namespace

QString programFolder()
{
    const QString home = envFolder("RAZUZEZU_HOME");
    if (!home.isEmpty())
        return home + QLatin1String("/data");
    return xdgFolder("XDG_DATA_HOME", "/.local/share");
}

QString databaseFolder()
{
    return programFolder() + QLatin1String("/DeVivozoda/");
}

QString configFolder()
{
    const QString home = envFolder("RAZUZEZU_HOME");
    if (!home.isEmpty())
        return home + QLatin1String("/config");
    return xdgFolder("XDG_CONFIG_HOME", "/.config");
}

QString installedDataFolder()
{
    const QString fromEnv = envFolder("RAZUZEZU_DATA_DIR");
    if (!fromEnv.isEmpty())
        return fromEnv;
    // The program's data sits beside its folder as the install lays it out
    // (bin/ and share/razuzezu-revidod/); the build folder mirrors that layout.
    if (!QCoreApplication::instance())
        return QString();
    return QDir::cleanPath(QCoreApplication::applicationDirPath() + QLatin1String("/../share/razuzezu-revidod"));
}

bool prepareProgramFolder(QString *error)
{
    const QString dbFolder = databaseFolder();
    const bool firstRun = !QFileInfo::exists(dbFolder);
    if (!QDir().mkpath(dbFolder)) {
        if (error)
            *error = QStringLiteral("The folder %1 could not be created.").arg(dbFolder);
        return false;
    }
    const QString seed = installedDataFolder() + QLatin1String("/DeVivozoda");
    QDirIterator it(seed, QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString from = it.next();
        const QString relative = QDir(seed).relativeFilePath(from);
        const bool isDatabase =
            relative.endsWith(QLatin1String(".xml"), Qt::CaseInsensitive) && !relative.contains(QLatin1Char('/'));
        if (isDatabase && !firstRun)
            continue;
        copyIfMissing(from, dbFolder + relative);
    }
    return true;
}

} // namespace rr::paths
