#include "finding/vardeckscan.h"

#include "finding/favorites.h"
#include "finding/popularlist.h"
#include "finding/vardeckwalk.h"
#include "storage/record.h"

#include <libxml/tree.h>

#include <cstring>

namespace rr
{
namespace
{

bool named(xmlNodePtr node, const char *name)
{
    return node->type == XML_ELEMENT_NODE && std::strcmp(reinterpret_cast<const char *>(node->name), name) == 0;
}

// The element's text when it is one plain text node (the usual case), else null.
const char *simpleText(xmlNodePtr element)
{
    xmlNodePtr only = element->children;
    if (!only)
        return "";
    if (only->next || only->type != XML_TEXT_NODE || !only->content)
        return nullptr;
    return reinterpret_cast<const char *>(only->content);
}

bool favoriteMark(xmlNodePtr fav)
{
    if (const char *text = simpleText(fav))
        return strcasecmp(text, "TRUE") == 0;
    return isFavoriteText(XmlNode(fav).text());
}

void scanVardeck(xmlNodePtr vardeck, VardeckScan &scan)
{
    bool favoriteSeen = false;
    for (xmlNodePtr c = vardeck->children; c; c = c->next) {
        if (!favoriteSeen && named(c, tag::Fav.data())) {
            // The first FAV child decides, as the readers by name do.
            favoriteSeen = true;
            if (favoriteMark(c))
                scan.favoriteWids.append(XmlNode(vardeck).attribute(tag::Wid));
        } else if (named(c, tag::Hits.data())) {
            const char *text = simpleText(c);
            if (text && std::strcmp(text, "1") == 0)
                continue; // no visit recorded: the common case, decided on the bytes
            const QString hits = text ? QString::fromUtf8(text) : XmlNode(c).text();
            if (isVisitedHits(hits))
                scan.visited.append({vardeck, hits});
        }
    }
}

} // namespace

const VardeckScan &scanVardecks(const XmlDocument *doc)
{
    static VardeckScan kept;
    static quint64 keptStamp = 0;
    const XmlNode root = doc ? doc->documentElement() : XmlNode();
    if (!root) {
        kept = VardeckScan();
        keptStamp = 0;
        return kept;
    }
    if (keptStamp == doc->changeStamp())
        return kept;
    kept = VardeckScan();
    // A Vardeck's own children are read by scanVardeck; the walk goes no deeper.
    walkVardecks(root.raw(), [](xmlNodePtr vardeck) {
        scanVardeck(vardeck, kept);
        return true;
    });
    keptStamp = doc->changeStamp();
    return kept;
}

} // namespace rr
