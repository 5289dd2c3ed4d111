#include "exchange/favoritesexport.h"

#include "exchange/exchangenames.h"
#include "exchange/internetshortcut.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSet>

#include <cerrno>
#include <cstring>
#include <sys/stat.h>

namespace rr
{
namespace
{

// The number of the last numbered target name ("Imported Vardecks 32767").
constexpr int kLastTargetNumber = 32767;

// Creates a new directory; never follows or reuses what is there already.
bool makeDirectory(const QString &path, int *errorNumber)
{
    if (::mkdir(QFile::encodeName(path).constData(), 0777) == 0)
        return true;
    *errorNumber = errno;
    return false;
}

QString errorText(int errorNumber)
{
    return QString::fromLocal8Bit(std::strerror(errorNumber));
}

class FolderWriter
{
public:
    explicit FolderWriter(FavoritesExportResult &result) : m_result(result) {}

    void createIEFolder(const XmlNode &folder, const QString &path, QSet<QString> &takenInPath)
    {
        const QString name = folder.childText(QStringLiteral("NAME"));
        const QString dir =
            path + QLatin1Char('/') + uniqueEntryName(path, safePathComponent(name), QString(), takenInPath);
        int errorNumber = 0;
        if (!makeDirectory(dir, &errorNumber)) {
            m_result.failures << QStringLiteral("Folder \"%1\": %2").arg(name, errorText(errorNumber));
            return;
        }
        ++m_result.folders;
        QSet<QString> taken;
        createIEBookmarks(folder.child(QStringLiteral("VARDECKS")), dir, taken);
        for (const XmlNode &sub : folder.child(QStringLiteral("SUBFOLDERS")).childElements()) {
            if (sub.nodeName() == QLatin1String("FOLDER"))
                createIEFolder(sub, dir, taken);
        }
    }

private:
    void createIEBookmarks(const XmlNode &vardecks, const QString &dir, QSet<QString> &taken)
    {
        for (const XmlNode &vardeck : vardecks.childElements()) {
            if (vardeck.nodeName() != QLatin1String("VARDECK"))
                continue;
            const QString name = vardeck.childText(QStringLiteral("NAME"));
            const QString file =
                dir + QLatin1Char('/') + uniqueEntryName(dir, safePathComponent(name), QStringLiteral(".url"), taken);
            QString error;
            if (writeShortcutFile(file, vardeck.childText(QStringLiteral("ADDRESS")), &error))
                ++m_result.vardecks;
            else
                m_result.failures << QStringLiteral("Vardeck \"%1\": %2").arg(name, error);
        }
    }

    FavoritesExportResult &m_result;
};

} // namespace

FavoritesExportResult exportToFavorites(const XmlDocument &doc, const QString &favoritesPath)
{
    FavoritesExportResult result;
    if (favoritesPath.isEmpty() || !QFileInfo(favoritesPath).isDir()) {
        result.error = QStringLiteral("The Favorites folder %1 does not exist, so nothing was exported.")
                           .arg(QDir::toNativeSeparators(favoritesPath));
        return result;
    }
    const QString base = QDir::cleanPath(favoritesPath) + QStringLiteral("/Imported Vardecks");
    QString target = base;
    int errorNumber = 0;
    for (int n = 1; !makeDirectory(target, &errorNumber); ++n) {
        if (errorNumber != EEXIST || n > kLastTargetNumber) {
            result.error = QStringLiteral("The folder %1 could not be created (%2), so nothing was exported.")
                               .arg(QDir::toNativeSeparators(target), errorText(errorNumber));
            return result;
        }
        target = base + QLatin1Char(' ') + QString::number(n);
    }
    result.targetDir = target;
    FolderWriter writer(result);
    QSet<QString> taken;
    for (const XmlNode &folder : doc.documentElement().childElements()) {
        if (folder.nodeName() == QLatin1String("FOLDER"))
            writer.createIEFolder(folder, target, taken);
    }
    return result;
}

} // namespace rr
