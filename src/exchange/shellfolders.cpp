#include "exchange/shellfolders.h"

#include "storage/registryfunctions.h"

#include <QDir>

namespace rr
{
namespace
{

QString shellFolderValue(const char *valueName)
{
    return RegistryFunctions::QueryValue(reg::HKEY_CURRENT_USER, QLatin1String(kShellFoldersKey),
                                         QLatin1String(valueName))
        .toString();
}

} // namespace

QString favoritesFolder()
{
    const QString set = shellFolderValue("Favorites");
    return set.isEmpty() ? QDir::homePath() + QStringLiteral("/Favorites") : set;
}

QString appDataFolder()
{
    const QString set = shellFolderValue("AppData");
    return set.isEmpty() ? QDir::homePath() : set;
}

} // namespace rr
