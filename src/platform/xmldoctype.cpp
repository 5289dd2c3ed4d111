#include "platform/xmldoctype.h"

#include <libxml/hash.h>
#include <libxml/tree.h>
#include <libxml/valid.h>

#include <algorithm>
#include <cstring>
#include <memory>
#include <vector>

namespace rr::xmloutput
{
namespace
{

// A text in quotes as the library writes it: in double quotes, in single ones when it
// holds a double one, and with the double ones escaped when it holds both.
void putQuoted(Output &out, const xmlChar *text, bool escapeBlanks)
{
    const bool hasDouble = xmlStrchr(text, '"');
    const bool single = hasDouble && !xmlStrchr(text, '\'');
    out.put(single ? "'" : "\"");
    for (const xmlChar *c = text; *c; ++c) {
        switch (*c) {
        case '"':
            single ? out.put("\"") : out.put("&quot;");
            break;
        // The library keeps an attribute's value with "&" already as "&#38;" (and an
        // entity's reference as it was written); "<" it keeps as it is.
        case '<':
            out.put("&#60;");
            break;
        // Blanks a reference put there: written out as themselves, they would be read
        // as blanks of the file and become spaces.
        case '\n':
            escapeBlanks ? out.put("&#10;") : out.put("\n");
            break;
        case '\r':
            escapeBlanks ? out.put("&#13;") : out.put("\r");
            break;
        case '\t':
            escapeBlanks ? out.put("&#9;") : out.put("\t");
            break;
        default:
            out.put(reinterpret_cast<const char *>(c), 1);
        }
    }
    out.put(single ? "'" : "\"");
}

void putBuffer(Output &out, const std::unique_ptr<xmlBuffer, void (*)(xmlBufferPtr)> &buffer)
{
    out.put(reinterpret_cast<const char *>(xmlBufferContent(buffer.get())), size_t(xmlBufferLength(buffer.get())));
}

// "<!ATTLIST X a CDATA #IMPLIED>" and the like, as the library writes them.
void putAttributeDeclaration(Output &out, const xmlAttribute *attribute)
{
    out.put("<!ATTLIST ");
    out.put(attribute->elem);
    out.put(" ");
    if (attribute->prefix) {
        out.put(attribute->prefix);
        out.put(":");
    }
    out.put(attribute->name);
    static const char *const kTypes[] = {nullptr,     " CDATA",   " ID",       " IDREF", " IDREFS",    " ENTITY",
                                         " ENTITIES", " NMTOKEN", " NMTOKENS", " (",     " NOTATION ("};
    const int type = attribute->atype;
    const char *typeName = type >= 1 && type <= XML_ATTRIBUTE_NOTATION ? kTypes[type] : " CDATA";
    out.put(typeName, std::strlen(typeName));
    if (type == XML_ATTRIBUTE_ENUMERATION || type == XML_ATTRIBUTE_NOTATION) {
        for (xmlEnumerationPtr value = attribute->tree; value; value = value->next) {
            out.put(value->name);
            if (value->next)
                out.put(" | ");
        }
        out.put(")");
    }
    switch (attribute->def) {
    case XML_ATTRIBUTE_REQUIRED:
        out.put(" #REQUIRED");
        break;
    case XML_ATTRIBUTE_IMPLIED:
        out.put(" #IMPLIED");
        break;
    case XML_ATTRIBUTE_FIXED:
        out.put(" #FIXED");
        break;
    default:
        break;
    }
    if (attribute->defaultValue) {
        out.put(" ");
        putQuoted(out, attribute->defaultValue, true);
    }
    out.put(">\n");
}

} // namespace

bool knowsDoctype(const _xmlDtd *dtd)
{
    if (dtd->entities || dtd->pentities)
        return false;
    for (const xmlNode *node = dtd->children; node; node = node->next)
        if (node->type != XML_ELEMENT_DECL && node->type != XML_ATTRIBUTE_DECL && node->type != XML_PI_NODE &&
            node->type != XML_COMMENT_NODE)
            return false;
    return true;
}

void writeDoctype(Output &out, const _xmlDtd *dtd)
{
    out.put("<!DOCTYPE ");
    out.put(dtd->name);
    if (dtd->ExternalID) {
        out.put(" PUBLIC ");
        putQuoted(out, dtd->ExternalID, false);
        out.put(" ");
        putQuoted(out, dtd->SystemID, false);
    } else if (dtd->SystemID) {
        out.put(" SYSTEM ");
        putQuoted(out, dtd->SystemID, false);
    }
    if (!dtd->children && !dtd->notations) {
        out.put(">");
        return;
    }
    out.put(" [\n");
    // The notations first, as the library writes them: they are no children of it. The
    // library keeps them in a table whose order changes from run to run; by name, the
    // same document is always written alike.
    const std::unique_ptr<xmlBuffer, void (*)(xmlBufferPtr)> buffer(xmlBufferCreate(), xmlBufferFree);
    std::vector<xmlNotationPtr> notations;
    xmlHashScan(
        static_cast<xmlHashTablePtr>(dtd->notations),
        [](void *notation, void *list, const xmlChar *) {
            static_cast<std::vector<xmlNotationPtr> *>(list)->push_back(static_cast<xmlNotationPtr>(notation));
        },
        &notations);
    std::sort(notations.begin(), notations.end(),
              [](xmlNotationPtr a, xmlNotationPtr b) { return xmlStrcmp(a->name, b->name) < 0; });
    for (const xmlNotationPtr notation : notations) {
        xmlBufferEmpty(buffer.get());
        xmlDumpNotationDecl(buffer.get(), notation);
        putBuffer(out, buffer);
    }
    for (const xmlNode *node = dtd->children; node; node = node->next) {
        switch (node->type) {
        case XML_ELEMENT_DECL:
            xmlBufferEmpty(buffer.get());
            xmlDumpElementDecl(buffer.get(), reinterpret_cast<xmlElementPtr>(const_cast<xmlNode *>(node)));
            putBuffer(out, buffer);
            break;
        case XML_ATTRIBUTE_DECL:
            putAttributeDeclaration(out, reinterpret_cast<const xmlAttribute *>(node));
            break;
        case XML_PI_NODE:
            out.putProcessingInstruction(node->name, node->content);
            break;
        case XML_COMMENT_NODE:
            out.putComment(node->content);
            break;
        default:
            break;
        }
    }
    out.put("]>");
}

} // namespace rr::xmloutput
