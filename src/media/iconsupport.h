#pragma once
// A Vardeck's site icon in the open database's icon folder: the download target
// "favicon.ico" that a fetch fills while a new Vardeck is edited, the Vardeck's own
// icon file named by its WID, and the stock PDF picture. One object serves one job;
// everything durable is in the file system. File errors are not reported: a failed
// step shows only as an empty result or a file left in place.
//
// Folder layout below the database folder (basePath, with its trailing separator):
//   icons/<stem>/<WID>.ico    the Vardeck's icon (any picture format the loader reads)
//   icons/<stem>/favicon.ico  the download target while an icon is fetched
//   pdficon.gif               the stock icon of PDF Vardecks
// stem is the open database's file name without its last four characters.
#include "storage/vardeckmodule.h"

#include <QString>

namespace rr
{

// Raised by the Explorer's Save (unless a fetched icon is shown), Cancel and the
// automatic save of a new Vardeck, so that an icon fetch still running drops its icon;
// cleared by the fetch when it starts.
inline bool cancelIcons = false;

class IconSupport
{
public:
    // The icon folder becomes basePath & "icons/" & stem & "/", with the download
    // target and the reserved generic name in it. A stem that cannot name a folder
    // leaves every path empty, and the operations then do nothing.
    void setIconPath(const QString &basePath, const QString &dbName = currentDBName);
    QString getIconPath() const { return m_iconPath; }
    QString getIconFile() const { return m_iconFile; }
    QString getGenericIconFile() const { return m_genericIconFile; }
    // The download target becomes prefix & "favicon.ico".
    void setIconFile(const QString &prefix);

    // True for an existing, non-empty file that the picture loader reads.
    static bool checkValidIcon(const QString &path);
    // Deletes the download target; the name is kept.
    void clearIconFile();
    // Deletes the icon file of the Vardeck wid; a missing file is no error.
    void deleteIcon(const QString &wid);
    // Files an accepted download under the Vardeck's name (replacing an older icon)
    // and returns that file; "" when there is no valid download.
    QString saveAsVDIfFavExists(const QString &basePath, const QString &wid);
    // Copies a picture file as the Vardeck's icon below folder's icon folder and
    // returns the copy; "" when the file is no picture or the copy fails.
    QString saveAsVDIfFileOK(const QString &filePath, const QString &wid, const QString &fileTitle,
                             const QString &folder);

    // For an address ending in "PDF" (any case): the stock "pdficon.gif" of the
    // database folder becomes the Vardeck's icon. Returns the icon file, or "".
    static QString checkSavePDFIcon(const QString &basePath, const QString &wid, const QString &address,
                                    const QString &dbName = currentDBName);

private:
    QString m_iconPath;
    QString m_iconFile;
    QString m_genericIconFile;
};

} // namespace rr
