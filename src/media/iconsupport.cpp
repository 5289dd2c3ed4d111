#include "media/iconsupport.h"

#include "media/urlsupport.h"

#include <QFile>
#include <QFileInfo>
#include <QImageReader>

namespace rr
{
namespace
{

QString withSeparator(const QString &folder)
{
    return folder.endsWith(QLatin1Char('/')) ? folder : folder + QLatin1Char('/');
}

// Replaces target by source; a move when keepSource is false.
bool replaceFile(const QString &source, const QString &target, bool keepSource)
{
    QFile::remove(target);
    return keepSource ? QFile::copy(source, target) : QFile::rename(source, target);
}

} // namespace

void IconSupport::setIconPath(const QString &basePath, const QString &dbName)
{
    const QString stem = databaseStem(dbName);
    if (basePath.isEmpty() || !isSafeStem(stem)) {
        m_iconPath.clear();
        m_iconFile.clear();
        m_genericIconFile.clear();
        return;
    }
    m_iconPath = withSeparator(basePath) + QStringLiteral("icons/") + stem + QLatin1Char('/');
    m_iconFile = m_iconPath + QStringLiteral("favicon.ico");
    m_genericIconFile = m_iconPath + QStringLiteral("generic.ico");
}

void IconSupport::setIconFile(const QString &prefix)
{
    m_iconFile = prefix + QStringLiteral("favicon.ico");
}

bool IconSupport::checkValidIcon(const QString &path)
{
    const QFileInfo file(path);
    if (path.isEmpty() || !file.isFile() || file.size() == 0)
        return false;
    QImageReader reader(path);
    // The content decides, whatever the ".ico" name says.
    reader.setDecideFormatFromContent(true);
    return reader.canRead();
}

void IconSupport::clearIconFile()
{
    if (!m_iconFile.isEmpty())
        QFile::remove(m_iconFile);
}

void IconSupport::deleteIcon(const QString &wid)
{
    if (m_iconPath.isEmpty() || !isValidIdentifier(wid))
        return;
    QFile::remove(m_iconPath + wid + QStringLiteral(".ico"));
}

QString IconSupport::saveAsVDIfFavExists(const QString &basePath, const QString &wid)
{
    setIconPath(basePath);
    if (!checkValidIcon(m_iconFile))
        return {};
    const QString target = iconFilePath(basePath, currentDBName, wid);
    if (target.isEmpty() || !replaceFile(m_iconFile, target, false))
        return {};
    return target;
}

QString IconSupport::saveAsVDIfFileOK(const QString &filePath, const QString &wid, const QString &fileTitle,
                                      const QString &folder)
{
    Q_UNUSED(fileTitle);
    if (!checkValidIcon(filePath))
        return {};
    const QString target = iconFilePath(withSeparator(folder), currentDBName, wid);
    if (target.isEmpty() || QFileInfo(target) == QFileInfo(filePath) || !replaceFile(filePath, target, true))
        return {};
    return target;
}

QString IconSupport::checkSavePDFIcon(const QString &basePath, const QString &wid, const QString &address,
                                      const QString &dbName)
{
    if (!isPDF(address))
        return {};
    const QString stock = withSeparator(basePath) + QStringLiteral("pdficon.gif");
    const QString target = iconFilePath(basePath, dbName, wid);
    if (target.isEmpty() || !checkValidIcon(stock) || !replaceFile(stock, target, true))
        return {};
    return target;
}

} // namespace rr
