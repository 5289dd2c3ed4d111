#include "media/iconsupport.h"

#include "media/urlsupport.h"
#include "platform/atomicfile.h"
#include "platform/paths.h"
#include "platform/plainfile.h"
#include "platform/textutil.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QImageReader>
#include <QRegularExpression>
#include <QSet>

#include <cstdio>

namespace rr
{

FetchLimits IconSupport::pageLimits = {15000, 15000, 2 * 1024 * 1024, 5};
FetchLimits IconSupport::iconLimits = {15000, 15000, 1024 * 1024, 5};

namespace
{

QString withSeparator(const QString &folder)
{
    return folder.endsWith(QLatin1Char('/')) ? folder : folder + QLatin1Char('/');
}

bool ensureFolderOf(const QString &file)
{
    return paths::makeFolder(QFileInfo(file).absolutePath());
}

// Moves source over target in one step: the old icon stays until the new one is there.
bool moveOver(const QString &source, const QString &target)
{
    return std::rename(QFile::encodeName(source).constData(), QFile::encodeName(target).constData()) == 0;
}

// Copies source over target through a temporary file; the old icon stays on failure.
bool copyOver(const QString &source, const QString &target)
{
    QFile in(source);
    QString reason;
    if (!openPlainFile(in, &reason))
        return false;
    return writeFileAtomically(target, in.readAll());
}

bool isIconRel(const QString &rel)
{
    const QString words = rel.simplified();
    return sameText(words, QLatin1String("shortcut icon")) || sameText(words, QLatin1String("icon"));
}

bool hasScheme(const QString &href)
{
    static const QRegularExpression scheme(QStringLiteral("^[A-Za-z][A-Za-z0-9+.-]*:"));
    return scheme.match(href).hasMatch();
}

// Only a picture fetched from the web can pass the picture check: an SVG drawing or a
// "data:" address never can, and a page often names one before its usable icon.
bool isFetchableIcon(const PageLink &link, const QUrl &address)
{
    const QString scheme = address.scheme().toLower();
    if (!address.isValid() || (scheme != QLatin1String("http") && scheme != QLatin1String("https")))
        return false;
    if (link.type.contains(QLatin1String("svg"), Qt::CaseInsensitive))
        return false;
    const QString path = address.path().toLower();
    return !path.endsWith(QLatin1String(".svg")) && !path.endsWith(QLatin1String(".svgz"));
}

QString fallbackAddress(const urlSupport &url)
{
    return url.getHomeURL() + QStringLiteral("favicon.ico");
}

} // namespace

void removeLeftSideFiles(const QString &basePath, const QStringList &wids, const QString &dbName)
{
    // Up to this many identifiers are removed by name; more are looked up in a listing.
    constexpr qsizetype kByName = 64;
    const QString stem = databaseStem(dbName);
    if (basePath.isEmpty() || !isSafeStem(stem) || wids.isEmpty())
        return;
    const std::pair<const char *, const char *> kinds[] = {{"icons/", ".ico"}, {"thumbs/", ".gif"}};
    for (const auto &[folderName, extension] : kinds) {
        const QString folder = withSeparator(basePath) + QLatin1String(folderName) + stem + QLatin1Char('/');
        if (wids.size() <= kByName) {
            for (const QString &wid : wids) {
                if (isValidIdentifier(wid) && wid.startsWith(QLatin1Char('W')))
                    QFile::remove(folder + wid + QLatin1String(extension));
            }
            continue;
        }
        const QSet<QString> wanted(wids.cbegin(), wids.cend());
        const QStringList present = QDir(folder).entryList({QStringLiteral("W*") + QLatin1String(extension)},
                                                           QDir::Files | QDir::System | QDir::Hidden);
        for (const QString &name : present) {
            const QString wid = name.chopped(4);
            if (wanted.contains(wid) && isValidIdentifier(wid))
                QFile::remove(folder + name);
        }
    }
}

QImage pictureFromFile(const QString &path)
{
    return path.isEmpty() ? QImage() : QImage(path);
}

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

QStringList IconSupport::iconAddressesFromLinks(const QList<PageLink> &links, const urlSupport &url,
                                                const QUrl &pageBase)
{
    QStringList addresses;
    const QUrl base = pageBase.isEmpty() ? HttpFetcher::fetchableUrl(url.getFullURL()) : pageBase;
    for (const PageLink &link : links) {
        if (addresses.size() == kMaxIconLinks)
            break;
        const QString href = link.href.trimmed();
        if (!isIconRel(link.rel) || href.isEmpty())
            continue;
        const bool absolute = hasScheme(href);
        if (!absolute && !base.isValid())
            continue;
        const QUrl address = absolute ? QUrl(href, QUrl::TolerantMode) : base.resolved(QUrl(href, QUrl::TolerantMode));
        if (!isFetchableIcon(link, address))
            continue;
        const QString text = absolute ? href : address.toString(QUrl::FullyEncoded);
        if (!addresses.contains(text))
            addresses.append(text);
    }
    const QString fallback = fallbackAddress(url);
    if (!addresses.contains(fallback))
        addresses.append(fallback);
    return addresses;
}

QString IconSupport::iconAddressFromLinks(const QList<PageLink> &links, const urlSupport &url, const QUrl &pageBase)
{
    return iconAddressesFromLinks(links, url, pageBase).constFirst();
}

void IconSupport::calcIconURL(const urlSupport &url, HttpFetcher &net, QObject *context,
                              std::function<void(const QStringList &)> done)
{
    const QUrl page = HttpFetcher::fetchableUrl(url.getFullURL());
    net.get(page, pageLimits, context, [url, done = std::move(done)](const FetchResult &result) {
        if (!result.ok()) {
            done({fallbackAddress(url)});
            return;
        }
        // Relative links are read against the address that answered (after redirects),
        // or against the page's BASE element when that names a web address.
        QString baseHref;
        const QList<PageLink> links = readPageLinks(result.body, &baseHref);
        QUrl base = result.finalUrl.isValid() ? result.finalUrl : HttpFetcher::fetchableUrl(url.getFullURL());
        if (!baseHref.isEmpty()) {
            const QUrl named = base.resolved(QUrl(baseHref, QUrl::TolerantMode));
            if (named.scheme() == QLatin1String("http") || named.scheme() == QLatin1String("https"))
                base = named;
        }
        done(iconAddressesFromLinks(links, url, base));
    });
}

namespace
{

// Downloads the addresses in turn until one gives a picture, and files that one.
void downloadFirstPicture(IconSupport job, HttpFetcher *net, QObject *context, QStringList addresses,
                          std::function<void(const QString &)> done)
{
    const QUrl address = HttpFetcher::fetchableUrl(addresses.takeFirst());
    net->get(address, IconSupport::iconLimits, context,
             [job, net, context, addresses, done = std::move(done)](const FetchResult &result) mutable {
                 const bool picture = result.ok() && IconSupport::isValidIconData(result.body);
                 if (!picture && !addresses.isEmpty()) {
                     downloadFirstPicture(job, net, context, std::move(addresses), std::move(done));
                     return;
                 }
                 done(job.acceptDownload(picture ? result.body : QByteArray(), true));
             });
}

} // namespace

void IconSupport::loadIcon(const QString &basePath, const QString &dbName, const urlSupport &url, HttpFetcher &net,
                           QObject *context, std::function<void(const QString &)> done)
{
    setIconPath(basePath, dbName);
    IconSupport job = *this;
    HttpFetcher *fetcher = &net;
    calcIconURL(url, net, context,
                [job, fetcher, context, done = std::move(done)](const QStringList &addresses) mutable {
                    downloadFirstPicture(job, fetcher, context, addresses, std::move(done));
                });
}

QString IconSupport::acceptDownload(const QByteArray &bytes, bool checked)
{
    if (m_iconFile.isEmpty())
        return {};
    // The download target is scratch space: a plain write of bytes already checked.
    QFile target(m_iconFile);
    const bool written = !bytes.isEmpty() && (checked || isValidIconData(bytes)) && ensureFolderOf(m_iconFile) &&
                         target.open(QIODevice::WriteOnly) && target.write(bytes) == bytes.size() && target.flush();
    target.close();
    paths::keepPrivate(m_iconFile);
    if (!written) {
        clearIconFile();
        m_iconFile.clear();
        return {};
    }
    return m_iconFile;
}

bool IconSupport::isValidIconData(const QByteArray &bytes)
{
    if (bytes.isEmpty())
        return false;
    QBuffer buffer;
    buffer.setData(bytes);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer);
    // The content decides, whatever the ".ico" name says.
    reader.setDecideFormatFromContent(true);
    static const QList<QByteArray> accepted = {"ico", "gif", "jpeg", "jpg", "png", "bmp"};
    if (!reader.canRead() || !accepted.contains(reader.format().toLower()))
        return false;
    const QSize size = reader.size();
    if (size.isValid() && (size.width() > kMaxPictureSide || size.height() > kMaxPictureSide))
        return false;
    QImage image;
    if (!reader.read(&image) || image.isNull())
        return false;
    return image.width() <= kMaxPictureSide && image.height() <= kMaxPictureSide;
}

bool IconSupport::checkValidIcon(const QString &path)
{
    QFile file(path);
    // No picture of a Vardeck comes near this size; a bigger file is not read at all.
    constexpr qint64 kMaxFile = 16 * 1024 * 1024;
    if (path.isEmpty() || file.size() <= 0 || file.size() > kMaxFile || !file.open(QIODevice::ReadOnly))
        return false;
    return isValidIconData(file.readAll());
}

void IconSupport::clearIconFile()
{
    if (!m_iconFile.isEmpty())
        QFile::remove(m_iconFile);
}

void IconSupport::deleteIcon(const QString &wid)
{
    if (m_iconPath.isEmpty() || !isValidIdentifier(wid) || !wid.startsWith(QLatin1Char('W')))
        return;
    QFile::remove(m_iconPath + wid + QStringLiteral(".ico"));
}

QString IconSupport::saveAsVDIfFavExists(const QString &basePath, const QString &wid, const QString &dbName)
{
    setIconPath(basePath, dbName);
    if (!wid.startsWith(QLatin1Char('W')) || !checkValidIcon(m_iconFile))
        return {};
    const QString target = iconFilePath(basePath, dbName, wid);
    if (target.isEmpty() || !moveOver(m_iconFile, target))
        return {};
    return target;
}

QString IconSupport::saveAsVDIfFileOK(const QString &filePath, const QString &wid, const QString &fileTitle,
                                      const QString &folder, const QString &dbName)
{
    Q_UNUSED(fileTitle);
    if (!wid.startsWith(QLatin1Char('W')) || !checkValidIcon(filePath))
        return {};
    const QString target = iconFilePath(withSeparator(folder), dbName, wid);
    if (target.isEmpty() || QFileInfo(target) == QFileInfo(filePath) || !ensureFolderOf(target) ||
        !copyOver(filePath, target))
        return {};
    return target;
}

QString IconSupport::checkSavePDFIcon(const QString &basePath, const QString &wid, const QString &address,
                                      const QString &dbName)
{
    if (!isPDF(address) || !wid.startsWith(QLatin1Char('W')))
        return {};
    const QString stock = withSeparator(basePath) + QStringLiteral("pdficon.gif");
    const QString target = iconFilePath(basePath, dbName, wid);
    if (target.isEmpty() || !checkValidIcon(stock) || !ensureFolderOf(target) || !copyOver(stock, target))
        return {};
    return target;
}

} // namespace rr
