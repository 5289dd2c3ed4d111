#pragma once
// Walks over the Vardeck elements of a document and over the texts of an element, in
// document order, without building a list. Both are the platform's one walk
// (platform/xmlwalk.h), told what to go into.
#include "platform/xmlwalk.h"
#include "storage/record.h"

#include <libxml/tree.h>

#include <cstring>

namespace rr
{

inline bool isVardeckElement(xmlNodePtr node)
{
    return node && node->type == XML_ELEMENT_NODE &&
           std::strcmp(reinterpret_cast<const char *>(node->name), tag::Vardeck.data()) == 0;
}

// Calls visit for every VARDECK element below top, in document order; the walk goes
// into every other element but not into a Vardeck, which holds only its fields.
// visit returns false to stop; the result says whether the walk saw every Vardeck.
template <typename Visit> bool walkVardecks(xmlNodePtr top, Visit &&visit)
{
    return xmlwalk::walk(
        top, top->children, nullptr, xmlwalk::Level{2, 0},
        [&visit](xmlNodePtr node, const xmlwalk::Level &) {
            if (isVardeckElement(node))
                return visit(node) ? xmlwalk::Step::Over : xmlwalk::Step::Stop;
            return node->type == XML_ELEMENT_NODE ? xmlwalk::Step::Into : xmlwalk::Step::Over;
        },
        [](xmlNodePtr, const xmlwalk::Level &) {});
}

// Visits the texts that make an element's content, in the order and by the rules the
// XML layer's content reader joins them: text and CDATA nodes at any depth, entity
// references by their replacement text (the walk does not go into the entity's
// declaration, which a reference holds as its child).
template <typename Visit> void forEachText(xmlNodePtr element, Visit &visit)
{
    xmlwalk::walk(element, [&visit](xmlNodePtr node, const xmlwalk::Level &) {
        if (node->type == XML_TEXT_NODE || node->type == XML_CDATA_SECTION_NODE) {
            if (node->content)
                visit(node->content, std::strlen(reinterpret_cast<const char *>(node->content)));
        } else if (node->type == XML_ENTITY_REF_NODE) {
            if (xmlChar *content = xmlNodeGetContent(node)) {
                visit(content, std::strlen(reinterpret_cast<const char *>(content)));
                xmlFree(content);
            }
        }
        return node->children && node->children->type != XML_ENTITY_DECL ? xmlwalk::Step::Into : xmlwalk::Step::Over;
    });
}

} // namespace rr
