#pragma once
// A Vardeck's site icon in the open database's icon folder: finding the icon address
// of a page, downloading it, checking that it is a picture, and filing it under the
// Vardeck's WID; also the icon a user picks from a file and the stock PDF picture.
// One object serves one job; everything durable is in the file system. File errors
// show as an empty result or a file left in place, never as a message.
//
// Folder layout below the database folder (basePath, with its trailing separator):
//   icons/<stem>/<WID>.ico    the Vardeck's icon (an icon, GIF, JPEG, PNG or bitmap,
//                             stored byte for byte whatever the ".ico" name says)
//   icons/<stem>/favicon.ico  the download target while an icon is fetched
//   pdficon.gif               the stock icon of PDF Vardecks
// stem is the database's file name (dbName, "Vardecks.xml") without its last four
// characters; the caller names the database whose folders are meant. Only
// identifiers of the W1..W99999 form ever name a file; the icon folder is created
// when a write finds it missing.
//
// Fetching runs on the event loop through HttpFetcher (its limits apply: http and
// https only, time-outs, body caps, at most five redirects); results come to a
// callback bound to a context object.
#include "media/pagelinks.h"
#include "platform/net/httpfetch.h"
#include "storage/vardeckmodule.h"

#include <QImage>
#include <QString>
#include <QStringList>
#include <functional>

namespace rr
{

class urlSupport;

// The picture in a file as it is now. Icons and thumbnails are replaced under the same
// name, often within the second and at the same size, which Qt's pixmap cache cannot
// tell apart: every picture of a Vardeck is read through here, never by QPixmap(path).
QImage pictureFromFile(const QString &path);

// Removes the icon and thumbnail files left under these identifiers (by a Vardeck
// deleted outside the program, or an import or add that never reached the disk), so
// that a Vardeck newly given one of them starts without pictures of someone else.
// Called before the new Vardecks are saved; a missing file is no error. Many
// identifiers are matched against one listing of each folder.
void removeLeftSideFiles(const QString &basePath, const QStringList &wids, const QString &dbName);

class IconSupport
{
public:
    // Limits of the page read for its links and of the icon download.
    static FetchLimits pageLimits;
    static FetchLimits iconLimits;
    // The largest picture side checkValidIcon decodes.
    static constexpr int kMaxPictureSide = 2048;

    // The icon folder becomes basePath & "icons/" & stem & "/", with the download
    // target and the reserved generic name in it. A stem that cannot name a folder
    // leaves every path empty, and the operations then do nothing.
    void setIconPath(const QString &basePath, const QString &dbName);
    QString getIconPath() const { return m_iconPath; }
    QString getIconFile() const { return m_iconFile; }
    QString getGenericIconFile() const { return m_genericIconFile; }

    // The most icon links of one page that are tried before the home page's favicon.ico.
    static constexpr int kMaxIconLinks = 3;

    // The addresses a page's icon may be downloaded from, in the order they are tried:
    // the links whose rel is "shortcut icon" or "icon" (any case) in page order, then
    // the home page & "favicon.ico". A link the picture check could never accept is
    // passed over: an SVG drawing (by its type or a ".svg"/".svgz" path) and anything
    // not fetched from the web (a "data:" address, for one). An absolute address stays
    // as it is written; any other is read against pageBase as a browser reads it ("/x"
    // from the host, "x" beside the page, "../x" one folder up, "//host/x" with the
    // page's scheme). pageBase is the address the page came from, or its BASE
    // element's; when empty, the page's own address.
    static QStringList iconAddressesFromLinks(const QList<PageLink> &links, const urlSupport &url,
                                              const QUrl &pageBase = QUrl());
    // The first of those.
    static QString iconAddressFromLinks(const QList<PageLink> &links, const urlSupport &url,
                                        const QUrl &pageBase = QUrl());
    // Reads the page and passes its icon addresses to done (only the home page's
    // favicon.ico when the page cannot be read).
    static void calcIconURL(const urlSupport &url, HttpFetcher &net, QObject *context,
                            std::function<void(const QStringList &)> done);
    // setIconPath(basePath, dbName), then finds and downloads the page's icon into the
    // download target, trying its icon addresses in turn until one gives a picture;
    // done gets its path, or "" (and no file is left) when none does. cancelIcons is left for the caller to test.
    void loadIcon(const QString &basePath, const QString &dbName, const urlSupport &url, HttpFetcher &net,
                  QObject *context, std::function<void(const QString &)> done);
    // Writes downloaded bytes into the download target when they are a picture
    // (checked: the caller has already seen isValidIconData say so); returns the
    // target, or "" with nothing left behind.
    QString acceptDownload(const QByteArray &bytes, bool checked = false);

    // True for an icon, GIF, JPEG, PNG or bitmap picture that decodes, no side longer
    // than kMaxPictureSide; the size is read before any pixel is decoded.
    static bool isValidIconData(const QByteArray &bytes);
    // The same for an existing, non-empty file.
    static bool checkValidIcon(const QString &path);
    // Deletes the download target; the name is kept.
    void clearIconFile();
    // Deletes the icon file of the Vardeck wid; a missing file is no error.
    void deleteIcon(const QString &wid);
    // Files an accepted download under the Vardeck's name (replacing an older icon)
    // and returns that file; "" when there is no valid download.
    QString saveAsVDIfFavExists(const QString &basePath, const QString &wid, const QString &dbName);
    // Copies a picture file as the Vardeck's icon below folder's icon folder and
    // returns the copy; "" when the file is no picture or the copy fails.
    QString saveAsVDIfFileOK(const QString &filePath, const QString &wid, const QString &fileTitle,
                             const QString &folder, const QString &dbName);

    // For an address ending in "PDF" (any case): the stock "pdficon.gif" of the
    // database folder becomes the Vardeck's icon. Returns the icon file, or "".
    static QString checkSavePDFIcon(const QString &basePath, const QString &wid, const QString &address,
                                    const QString &dbName);

private:
    QString m_iconPath;
    QString m_iconFile;
    QString m_genericIconFile;
};

} // namespace rr
