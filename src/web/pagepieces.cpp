#include "web/pagepieces.h"

#include <libxml/HTMLparser.h>
#include <libxml/HTMLtree.h>
#include <libxml/tree.h>

#include <memory>
#include <unordered_map>
#include <unordered_set>
#include <vector>

namespace rr::pagepieces
{
namespace
{

struct DocFree {
    void operator()(xmlDocPtr doc) const { xmlFreeDoc(doc); }
};
using DocHandle = std::unique_ptr<xmlDoc, DocFree>;

bool named(const xmlNode *node, const char *name)
{
    return node && node->type == XML_ELEMENT_NODE && xmlStrcasecmp(node->name, BAD_CAST name) == 0;
}

xmlNodePtr firstElement(xmlNodePtr parent, const char *name = nullptr)
{
    for (xmlNodePtr child = parent ? parent->children : nullptr; child; child = child->next) {
        if (child->type == XML_ELEMENT_NODE && (!name || named(child, name)))
            return child;
    }
    return nullptr;
}

// A table's heading: its thead, or a first row that holds th cells.
xmlNodePtr headingOf(xmlNodePtr table)
{
    xmlNodePtr first = firstElement(table);
    if (named(first, "thead"))
        return first;
    if (named(first, "tbody"))
        first = firstElement(first);
    return named(first, "tr") && firstElement(first, "th") ? first : nullptr;
}

class Splitter
{
public:
    Splitter(xmlDocPtr page, int maxNodes) : m_page(page), m_budget(std::max(1, maxNodes))
    {
        xmlNodePtr html = xmlDocGetRootElement(page);
        m_html = html;
        m_head = firstElement(html, "head");
        m_body = firstElement(html, "body");
    }

    QList<QByteArray> run()
    {
        if (!m_body) {
            // A page with no body (a fragment) is one piece as it is.
            m_pieces << dump(m_page);
            return m_pieces;
        }
        weigh(m_body);
        std::vector<xmlNodePtr> enclosing;
        for (xmlNodePtr child = m_body->children; child; child = child->next)
            place(child, enclosing);
        finishPiece();
        if (m_pieces.isEmpty()) {
            startPiece();
            m_used = 1;
            finishPiece();
        }
        return m_pieces;
    }

private:
    int weigh(xmlNodePtr node)
    {
        int weight = 1;
        for (xmlNodePtr child = node->children; child; child = child->next)
            weight += weigh(child);
        m_weights[node] = weight;
        return weight;
    }

    static QByteArray dump(xmlDocPtr doc)
    {
        xmlChar *bytes = nullptr;
        int size = 0;
        htmlDocDumpMemoryFormat(doc, &bytes, &size, 0);
        QByteArray text(reinterpret_cast<const char *>(bytes), size);
        xmlFree(bytes);
        return text;
    }

    void startPiece()
    {
        m_piece.reset(htmlNewDocNoDtD(nullptr, nullptr));
        if (m_page->intSubset)
            xmlCreateIntSubset(m_piece.get(), m_page->intSubset->name, m_page->intSubset->ExternalID,
                               m_page->intSubset->SystemID);
        xmlNodePtr html = xmlDocCopyNode(m_html, m_piece.get(), 2);
        xmlDocSetRootElement(m_piece.get(), html);
        if (m_head)
            xmlAddChild(html, xmlDocCopyNode(m_head, m_piece.get(), 1));
        m_pieceBody = xmlAddChild(html, xmlDocCopyNode(m_body, m_piece.get(), 2));
        m_open.clear();
        m_used = 0;
    }

    // A heading row that starts a table becomes the table's heading, which a printed
    // table repeats at the top of every page.
    void headTables(xmlNodePtr node)
    {
        for (xmlNodePtr child = node->children; child; child = child->next) {
            if (child->type != XML_ELEMENT_NODE)
                continue;
            xmlNodePtr first = named(child, "table") ? firstElement(child) : nullptr;
            if (named(first, "tr") && firstElement(first, "th")) {
                xmlNodePtr head = xmlNewDocNode(m_piece.get(), nullptr, BAD_CAST "thead", nullptr);
                xmlAddPrevSibling(first, head);
                xmlUnlinkNode(first);
                xmlAddChild(head, first);
            }
            headTables(child);
        }
    }

    void finishPiece()
    {
        if (m_piece && m_used > 0) {
            headTables(m_pieceBody);
            m_pieces << dump(m_piece.get());
        }
        m_piece.reset();
    }

    // The copy in the piece of the innermost enclosing element, made with the ones
    // around it where the piece has none yet.
    xmlNodePtr parentFor(const std::vector<xmlNodePtr> &enclosing)
    {
        size_t kept = 0;
        while (kept < m_open.size() && kept < enclosing.size() && m_open[kept].first == enclosing[kept])
            ++kept;
        m_open.resize(kept);
        xmlNodePtr parent = kept ? m_open[kept - 1].second : m_pieceBody;
        for (size_t i = kept; i < enclosing.size(); ++i) {
            xmlNodePtr copy = xmlAddChild(parent, xmlDocCopyNode(enclosing[i], m_piece.get(), 2));
            // A table cut across pieces shows its heading again once it was shown.
            xmlNodePtr heading = named(enclosing[i], "table") ? headingOf(enclosing[i]) : nullptr;
            if (heading && m_placedHeadings.count(heading)) {
                xmlNodePtr head = xmlAddChild(copy, xmlNewDocNode(m_piece.get(), nullptr, BAD_CAST "thead", nullptr));
                xmlAddChild(head, xmlDocCopyNode(named(heading, "thead") ? firstElement(heading, "tr") : heading,
                                                 m_piece.get(), 1));
                m_used += m_weights[heading];
            }
            m_open.emplace_back(enclosing[i], copy);
            parent = copy;
        }
        return parent;
    }

    void place(xmlNodePtr node, std::vector<xmlNodePtr> &enclosing)
    {
        const int weight = m_weights[node];
        if (weight <= m_budget || !node->children) {
            if (m_piece && m_used > 0 && m_used + weight > m_budget)
                finishPiece();
            if (!m_piece)
                startPiece();
            xmlAddChild(parentFor(enclosing), xmlDocCopyNode(node, m_piece.get(), 1));
            m_used += weight;
            if (named(node, "thead") || (named(node, "tr") && firstElement(node, "th")))
                m_placedHeadings.insert(node);
            return;
        }
        enclosing.push_back(node);
        for (xmlNodePtr child = node->children; child; child = child->next)
            place(child, enclosing);
        enclosing.pop_back();
    }

    xmlDocPtr m_page;
    int m_budget;
    xmlNodePtr m_html = nullptr;
    xmlNodePtr m_head = nullptr;
    xmlNodePtr m_body = nullptr;
    std::unordered_map<xmlNodePtr, int> m_weights;
    std::unordered_set<xmlNodePtr> m_placedHeadings;
    DocHandle m_piece;
    xmlNodePtr m_pieceBody = nullptr;
    // The enclosing elements copied into the piece, outermost first: {the page's, the copy}.
    std::vector<std::pair<xmlNodePtr, xmlNodePtr>> m_open;
    int m_used = 0;
    QList<QByteArray> m_pieces;
};

} // namespace

bool split(const QByteArray &page, int maxNodes, QList<QByteArray> *pieces, QString *error)
{
    DocHandle doc(htmlReadMemory(page.constData(), int(page.size()), nullptr, "UTF-8",
                                 HTML_PARSE_RECOVER | HTML_PARSE_NOERROR | HTML_PARSE_NOWARNING | HTML_PARSE_NONET |
                                     HTML_PARSE_COMPACT));
    if (!doc || !xmlDocGetRootElement(doc.get())) {
        if (error)
            *error = QStringLiteral("The page holds no HTML document.");
        return false;
    }
    *pieces = Splitter(doc.get(), maxNodes).run();
    return true;
}

} // namespace rr::pagepieces
