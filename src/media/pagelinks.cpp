#include "media/pagelinks.h"

#include <libxml/HTMLparser.h>
#include <libxml/tree.h>

#include <memory>

namespace rr
{
namespace
{

QString attribute(xmlNode *node, const char *name)
{
    xmlChar *value = xmlGetProp(node, reinterpret_cast<const xmlChar *>(name));
    if (!value)
        return {};
    const QString text = QString::fromUtf8(reinterpret_cast<const char *>(value));
    xmlFree(value);
    return text;
}

// The next node in document order, without recursion (pages nest deeply at times).
xmlNode *nextInOrder(xmlNode *node)
{
    if (node->children && node->type == XML_ELEMENT_NODE)
        return node->children;
    while (node) {
        if (node->next)
            return node->next;
        node = node->parent;
        if (node && node->type != XML_ELEMENT_NODE)
            return nullptr;
    }
    return nullptr;
}

} // namespace

QList<PageLink> readPageLinks(const QByteArray &html, QString *baseHref)
{
    QList<PageLink> links;
    if (baseHref)
        baseHref->clear();
    if (html.isEmpty())
        return links;
    const int options = HTML_PARSE_RECOVER | HTML_PARSE_NOERROR | HTML_PARSE_NOWARNING | HTML_PARSE_NONET;
    std::unique_ptr<xmlDoc, void (*)(xmlDoc *)> doc(
        htmlReadMemory(html.constData(), int(html.size()), "page.html", nullptr, options), xmlFreeDoc);
    if (!doc)
        return links;
    xmlNode *root = xmlDocGetRootElement(doc.get());
    bool baseFound = false;
    for (xmlNode *node = root; node; node = nextInOrder(node)) {
        if (node->type != XML_ELEMENT_NODE)
            continue;
        if (!xmlStrcasecmp(node->name, reinterpret_cast<const xmlChar *>("link"))) {
            links.append({attribute(node, "rel"), attribute(node, "href"), attribute(node, "type")});
        } else if (baseHref && !baseFound && !xmlStrcasecmp(node->name, reinterpret_cast<const xmlChar *>("base")) &&
                   xmlHasProp(node, reinterpret_cast<const xmlChar *>("href"))) {
            *baseHref = attribute(node, "href").trimmed();
            baseFound = true;
        }
    }
    return links;
}

} // namespace rr
