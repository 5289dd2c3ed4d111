#pragma once
// Writes the whole collection into a new folder of the Favorites folder: every folder
// a directory, every Vardeck an Internet Shortcut file, in the same tree shape.
//
// The target is "Imported Vardecks", or the first free "Imported Vardecks 1", " 2"…;
// it is created fresh, so nothing already there is ever replaced. Every name becomes
// one safe path component, and two entries of one directory that would get the same
// name are told apart with " (2)", " (3)"…, so each folder and Vardeck gets exactly
// one entry and nothing is written outside the target. A directory or file that
// cannot be written is passed over (with what it holds) and reported; a missing
// Favorites folder stops the export before anything is written.
//
// The files are written plainly, one after another, and the whole tree is made safe
// on the disk once at the end (one flush of the file system that holds it): a flush
// per file would cost a disk round trip for every Vardeck. The export counts as done
// only when that flush succeeded; otherwise error says why.
#include "platform/xmldocument.h"

#include <QString>
#include <QStringList>

#include <functional>

namespace rr
{

struct FavoritesExportResult {
    // Why nothing was written, or why what was written may not be on the disk; empty
    // when the whole tree was written and made safe.
    QString error;
    QString targetDir;
    int folders = 0;
    int vardecks = 0;
    // The folders and Vardecks that could not be written, each with its reason.
    QStringList failures;
};

// keepAlive is called after every folder and file written (the window may repaint).
FavoritesExportResult exportToFavorites(const XmlDocument &doc, const QString &favoritesPath,
                                        const std::function<void()> &keepAlive = {});

} // namespace rr
