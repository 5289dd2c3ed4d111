#pragma once
// A walk over the Vardeck elements of a document, without building a list.
#include <libxml/tree.h>

#include <cstring>

namespace rr
{

inline bool isVardeckElement(xmlNodePtr node)
{
    return node && node->type == XML_ELEMENT_NODE &&
           std::strcmp(reinterpret_cast<const char *>(node->name), "VARDECK") == 0;
}

// Calls visit for every VARDECK element below top, in document order; the walk does
// not go into a Vardeck, which holds only its fields. visit returns false to stop;
// the result says whether the walk saw every Vardeck.
template <typename Visit> bool walkVardecks(xmlNodePtr top, Visit &&visit)
{
    xmlNodePtr node = top->children;
    while (node) {
        if (isVardeckElement(node)) {
            if (!visit(node))
                return false;
        } else if (node->type == XML_ELEMENT_NODE && node->children) {
            node = node->children;
            continue;
        }
        while (node && !node->next) {
            node = node->parent;
            if (node == top)
                node = nullptr;
        }
        if (node)
            node = node->next;
    }
    return true;
}

} // namespace rr
