#pragma once
// One pass over every Vardeck of a document for the lists the main window fills at
// start: the favourites and the candidates of the popular list. The pass reads the
// FAV and HITS texts as the document holds them, as bytes, and makes strings only
// for what it keeps. Its result is kept for the document's change stamp, so the
// favourites and the popular list filled one after the other share one pass.
#include "platform/xmldocument.h"

#include <QList>
#include <QString>
#include <QStringList>

struct _xmlNode;

namespace rr
{

struct VardeckScan {
    // The WID of every VARDECK whose FAV says "TRUE" (any letter case), in document order.
    QStringList favoriteWids;
    // Every HITS child of a VARDECK whose count records a visit, in document order,
    // with its element; the elements are valid while the document is unchanged.
    struct Visited {
        _xmlNode *vardeck = nullptr;
        QString hits;
    };
    QList<Visited> visited;
};

// The scan of doc as it is now (empty for no document).
const VardeckScan &scanVardecks(const XmlDocument *doc);

} // namespace rr
