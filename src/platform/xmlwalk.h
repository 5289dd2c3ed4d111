#pragma once
// The one walk over a document's tree and the one rule for what a folder is. The load
// measures a tree's nesting with it, the save measures while it writes with it and
// cuts a large document into parts with it, so the two count alike: what the save
// accepts opens again, and what opens can be saved.
#include "platform/xmldocument.h"

#include <libxml/tree.h>

#include <algorithm>

namespace rr::xmlwalk
{

// A FOLDER element: what the folder levels count, wherever it stands (the document
// element too) and whatever namespace it is in; the open, which has no node yet, asks
// by the local name. The name is compared here rather than by the library's
// xmlStrEqual, a call: a walk asks this of every element up to three times, and most
// names differ from "FOLDER" at the first byte.
inline bool isFolderName(const xmlChar *name)
{
    for (const char *folder = "FOLDER";; ++folder, ++name) {
        if (*name != xmlChar(*folder))
            return false;
        if (!*folder)
            return true;
    }
}

inline bool isFolder(const xmlNode *n)
{
    return n->type == XML_ELEMENT_NODE && n->name && isFolderName(n->name);
}

// Where a node stands in the walk: its element depth (the walk's top counting 1) and
// the folders enclosing it, itself not counted.
struct Level {
    int depth = 1;
    int folders = 0;
};

// Counts an element standing at level into the nesting.
inline void measure(Nesting &nesting, const xmlNode *element, const Level &level)
{
    nesting.elements = std::max(nesting.elements, level.depth);
    if (isFolder(element))
        nesting.folders = std::max(nesting.folders, level.folders + 1);
}

// What the walk does after a node: walks its children next, steps over them, or stops.
// An element without children is stepped over whatever is asked.
enum class Step { Into, Over, Stop };

// Walks the nodes of top's subtree in document order, from first (top or a node below
// it, standing at level) up to until (null: to the end of the subtree), without
// recursion, so no nesting of a hostile file can exhaust the stack. visit(node, level)
// says what comes next; leave(element, level) follows the last of the element's
// children that were walked, with the element's own level. False when visit stopped it.
template <typename Visit, typename Leave>
bool walk(xmlNodePtr top, xmlNodePtr first, xmlNodePtr until, Level level, Visit &&visit, Leave &&leave)
{
    xmlNodePtr node = first;
    while (node && node != until) {
        const Step step = visit(node, level);
        if (step == Step::Stop)
            return false;
        if (step == Step::Into && node->children) {
            level.folders += isFolder(node) ? 1 : 0;
            ++level.depth;
            node = node->children;
            continue;
        }
        while (node != top && !node->next) {
            node = node->parent;
            --level.depth;
            level.folders -= isFolder(node) ? 1 : 0;
            leave(node, level);
        }
        node = node == top ? nullptr : node->next;
    }
    return true;
}

// Walks the whole subtree of top, top included and standing at depth 1.
template <typename Visit> bool walk(xmlNodePtr top, Visit &&visit)
{
    return walk(top, top, nullptr, Level{}, visit, [](xmlNodePtr, const Level &) {});
}

} // namespace rr::xmlwalk
