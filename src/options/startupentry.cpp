#include "options/startupentry.h"

#include "platform/atomicfile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace rr::startupentry
{

QString filePath()
{
    QString config = qEnvironmentVariable("XDG_CONFIG_HOME");
    if (config.isEmpty() || !QDir::isAbsolutePath(config))
        config = QDir::homePath() + QStringLiteral("/.config");
    return QDir::cleanPath(config) + QStringLiteral("/autostart/razuzezu-revidod.desktop");
}

QString execLine(const QString &programPath)
{
    // Inside a quoted argument of Exec, '"', '`', '$' and '\' take a backslash; "%"
    // is doubled because Exec expands field codes. The desktop file's own string
    // escapes then apply to the whole value, so every backslash is doubled again.
    QString quoted;
    for (const QChar c : programPath) {
        if (c == QLatin1Char('"') || c == QLatin1Char('`') || c == QLatin1Char('$') || c == QLatin1Char('\\'))
            quoted += QLatin1Char('\\');
        quoted += c;
        if (c == QLatin1Char('%'))
            quoted += c;
    }
    QString value = QLatin1Char('"') + quoted + QStringLiteral("\" /startup");
    value.replace(QLatin1Char('\\'), QStringLiteral("\\\\"));
    value.replace(QLatin1Char('\n'), QStringLiteral("\\n"));
    value.replace(QLatin1Char('\t'), QStringLiteral("\\t"));
    value.replace(QLatin1Char('\r'), QStringLiteral("\\r"));
    return value;
}

QByteArray fileText(const QString &programPath)
{
    const QString text = QStringLiteral("[Desktop Entry]\n"
                                        "Type=Application\n"
                                        "Name=Razuzezu Revidod\n"
                                        "Comment=Starts Razuzezu Revidod when you log in\n"
                                        "Exec=") +
                         execLine(programPath) +
                         QStringLiteral("\n"
                                        "Terminal=false\n"
                                        "X-GNOME-Autostart-enabled=true\n");
    return text.toUtf8();
}

bool setRunAtStartup(bool run, const QString &programPath, QString *error)
{
    const QString path = filePath();
    if (!run) {
        QFile file(path);
        if (!file.exists() || file.remove())
            return true;
        if (error)
            *error = file.errorString();
        return false;
    }
    const QString folder = QFileInfo(path).absolutePath();
    if (!QDir().mkpath(folder)) {
        if (error)
            *error = QStringLiteral("The folder %1 could not be created.").arg(folder);
        return false;
    }
    return writeFileAtomically(path, fileText(programPath), error);
}

} // namespace rr::startupentry
