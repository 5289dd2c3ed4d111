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
#include "platform/xmldocument.h"

#include <QString>
#include <QStringList>

namespace rr
{

struct FavoritesExportResult {
    // Why nothing was written; empty when the target directory was made.
    QString error;
    QString targetDir;
    int folders = 0;
    int vardecks = 0;
    // The folders and Vardecks that could not be written, each with its reason.
    QStringList failures;
};

FavoritesExportResult exportToFavorites(const XmlDocument &doc, const QString &favoritesPath);

} // namespace rr
