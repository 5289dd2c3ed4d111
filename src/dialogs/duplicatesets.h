#pragma once
// The duplicate-address search and the collection statistics as data, without their
// windows.
//
// Two addresses are duplicates when they are equal, letter case included, after
// normalisation: everything up to and including the first "//" is dropped, and then
// one trailing "/". An address without "//" is used as it stands.
#include "platform/xmldocument.h"

#include <QList>
#include <QString>

namespace rr
{

QString normaliseAddress(const QString &address);

// A set of VARDECK elements sharing one normalised address.
using DuplicateSet = QList<XmlNode>;

// The full scan over every ADDRESS element of the document, in document order: one set
// per address that occurs more than once, the sets in the order of each address's first
// occurrence; in a set the later copies come first, in document order, and the first
// occurrence last. Each address is normalised once and grouped through a hash.
QList<DuplicateSet> findDuplicateSets(const XmlDocument &doc);

// The VARDECK elements whose normalised address equals that of address, in document
// order (the single-address check after a new Vardeck is saved).
DuplicateSet findAddressCopies(const XmlDocument &doc, const QString &address);

struct CollectionFigures {
    int vardecks = 0;
    // The Vardecks whose FAV mark reads TRUE: counted from the document, so a favourite
    // deleted by any path is gone from the count.
    int favorites = 0;
    // Every VARDECK's HITS as a number; a missing HITS counts 1, a text that is not a
    // number 0. 64 bits, so no collection can overflow it.
    qint64 totalHits = 0;
};

// The figures of every VARDECK below the document element.
CollectionFigures collectionFigures(const XmlDocument &doc);

// The statistics as the Copy button puts them on the clipboard: five lines joined by
// CR LF, no line break after the last.
QString statisticsText(const QString &database, const QString &folders, const QString &vardecks,
                       const QString &favorites, const QString &hits);

} // namespace rr
