#include "shell/mainmodule.h"

#include "platform/paths.h"
#include "shell/fonthelpers.h"
#include "shell/frmvardecks.h"
#include "shell/singleinstance.h"
#include "storage/session.h"
#include "storage/settingsstore.h"
#include "storage/vardeckmodule.h"

#include <QDir>

namespace rr
{

QString pageNameForStyle(const QString &style)
{
    const QString s = style.toLower();
    if (s == QLatin1String("vdall.xsl"))
        return QStringLiteral("AllTemp");
    if (s == QLatin1String("vdfavs.xsl"))
        return QStringLiteral("FavsTemp");
    if (s == QLatin1String("vdhits.xsl"))
        return QStringLiteral("HitsTemp");
    return QStringLiteral("FoldersTemp");
}

void checkCreateThumbsDir(const QString &dbName)
{
    const QString stem = databaseStem(dbName);
    if (!isSafeStem(stem))
        return;
    paths::makeFolder(paths::databaseFolder() + QLatin1String("thumbs/") + stem);
}

QString safeDatabaseName(const QString &stored)
{
    const QString name = stored.trimmed();
    const bool bare = !name.isEmpty() && !name.contains(QLatin1Char('/')) && !name.contains(QLatin1Char('\\')) &&
                      name != QLatin1String(".") && name != QLatin1String("..") && !name.contains(QChar(0));
    return bare ? name : QStringLiteral("Vardecks.xml");
}

void setupFirstRun()
{
    SettingsStore::addBasicAppRegEntries();
    SettingsStore::addDefaultFormValues(0, 0, 0, QStringLiteral("Explorer"), QStringLiteral("VD.xsl"),
                                        QStringLiteral("true"), false);
}

void registerAppPath()
{
    SettingsStore::setupAppPathInRegistry();
}

void Main(frmVardecks &window, SingleInstance *instance)
{
    session().sansSerifInstalled = detectSansSerifInstalled();
    // There is no Internet Explorer to integrate with here: the first run only writes
    // its settings.
    if (!SettingsStore::isBasicAppRegistered())
        setupFirstRun();
    registerAppPath();
    SettingsStore::setVersion();
    if (instance) {
        // A later launch's hand-off changes the hidden text box, which starts the
        // hand-off timer — on every hand-off, even when the text happens to repeat.
        QObject::connect(instance, &SingleInstance::handOffReceived, &window,
                         [&window](const QString &text) { window.receiveHandOff(text); });
    }
    window.Form_Load();
}

} // namespace rr
