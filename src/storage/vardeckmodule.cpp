#include "storage/vardeckmodule.h"

#include <QRegularExpression>

namespace rr
{

bool isValidIdentifier(const QString &id)
{
    static const QRegularExpression form(QStringLiteral("^[TW][1-9][0-9]{0,4}$"));
    return form.match(id).hasMatch();
}

QString databaseStem(const QString &dbName)
{
    return dbName.left(qMax(0, int(dbName.size()) - 4));
}

bool isSafeStem(const QString &stem)
{
    return !stem.isEmpty() && stem != QLatin1String(".") && stem != QLatin1String("..") &&
           !stem.contains(QLatin1Char('/')) && !stem.contains(QLatin1Char('\\')) && !stem.contains(QChar(0));
}

namespace
{

QString sideFilePath(const QString &basePath, const char *folder, const QString &dbName, const QString &wid,
                     const char *extension)
{
    const QString stem = databaseStem(dbName);
    if (!isValidIdentifier(wid) || !isSafeStem(stem))
        return {};
    QString base = basePath;
    if (!base.endsWith(QLatin1Char('/')))
        base += QLatin1Char('/');
    return base + QLatin1String(folder) + QLatin1Char('/') + stem + QLatin1Char('/') + wid + QLatin1String(extension);
}

} // namespace

QString iconFilePath(const QString &basePath, const QString &dbName, const QString &wid)
{
    return sideFilePath(basePath, "icons", dbName, wid, ".ico");
}

QString thumbFilePath(const QString &basePath, const QString &dbName, const QString &wid)
{
    return sideFilePath(basePath, "thumbs", dbName, wid, ".gif");
}

} // namespace rr
