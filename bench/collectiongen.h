#pragma once
// Writes realistic Vardeck collections for benchmarks: nested folders, names with
// "&" and non-ASCII letters, notes with several lines, varied addresses.
#include <QByteArray>
#include <QString>

namespace rr::bench
{

struct CollectionShape {
    int vardecks = 1000;
    int topFolders = 12;
    int subfoldersPerFolder = 4;
    int depth = 3;
    unsigned seed = 42;
    // Percent of Vardecks whose address repeats an earlier one (scheme and a trailing
    // "/" varied); 0 makes every address unique.
    int duplicatePercent = 0;
    // Percent of Vardecks whose address is a local document's path, as the PDF
    // import stores it: blanks, "#", "%", "&" and non-ASCII letters in its folders
    // and name. 0 gives web addresses only.
    int pathPercent = 0;
};

// The whole database text, DOCTYPE included, identifiers W1..Wn and T1..Tm.
QByteArray generateCollection(const CollectionShape &shape);

// Writes the collection and the DTD into folder; returns the database path.
QString writeCollection(const QString &folder, const QString &fileName, const CollectionShape &shape);

} // namespace rr::bench
