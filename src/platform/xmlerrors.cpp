#include "platform/xmlerrors.h"

#include <libxml/xmlerror.h>

namespace rr
{
namespace
{

QString text(const char *s)
{
    return s ? QString::fromUtf8(s).trimmed() : QString();
}

// A name the library reports, in quotes; empty when it reported none.
QString quoted(const char *name)
{
    const QString n = text(name);
    return n.isEmpty() ? QString() : QLatin1Char('"') + n + QLatin1Char('"');
}

QString characterCode(int value)
{
    return QStringLiteral("U+") + QString::number(value, 16).toUpper().rightJustified(4, QLatin1Char('0'));
}

QString sentenceOf(const xmlError &e)
{
    switch (e.code) {
    case XML_ERR_NO_MEMORY:
        return QStringLiteral("There was not enough memory to read the file.");
    case XML_ERR_DOCUMENT_START:
    case XML_ERR_DOCUMENT_EMPTY:
        return QStringLiteral("The file holds no element: it is empty or does not begin with \"<\".");
    case XML_ERR_DOCUMENT_END:
    case XML_ERR_EXTRA_CONTENT:
        return QStringLiteral("The file goes on after the end of its outermost element.");
    case XML_ERR_INVALID_HEX_CHARREF:
    case XML_ERR_INVALID_DEC_CHARREF:
    case XML_ERR_INVALID_CHARREF:
        return QStringLiteral("A character reference is not written properly.");
    case XML_ERR_INVALID_CHAR:
        if (e.message && qstrncmp(e.message, "Input is not proper UTF-8", 25) == 0)
            return QStringLiteral("The file holds bytes that are not proper UTF-8 text.");
        if (e.int1 > 0)
            return QStringLiteral("The file holds the character %1, which XML does not allow.")
                .arg(characterCode(e.int1));
        return QStringLiteral("The file holds a character that XML does not allow.");
    case XML_ERR_INVALID_ENCODING:
        return QStringLiteral("The file holds bytes that are not proper text in its encoding.");
    case XML_ERR_UNSUPPORTED_ENCODING:
        return QStringLiteral("The file is written in an encoding that cannot be read: %1.").arg(text(e.str1));
    case XML_ERR_ENTITYREF_NO_NAME:
    case XML_ERR_ENTITYREF_SEMICOL_MISSING:
        return QStringLiteral("An \"&\" does not begin a reference; a text writes it as \"&amp;\".");
    case XML_ERR_UNDECLARED_ENTITY:
    case XML_WAR_UNDECLARED_ENTITY:
        return QStringLiteral("The text uses the entity %1, which is not declared.").arg(quoted(e.str1));
    case XML_ERR_LT_IN_ATTRIBUTE:
        return QStringLiteral("An attribute value holds \"<\", which it must write as \"&lt;\".");
    case XML_ERR_ATTRIBUTE_NOT_STARTED:
        return QStringLiteral("An attribute value does not begin with a quote.");
    case XML_ERR_ATTRIBUTE_NOT_FINISHED:
        return QStringLiteral("An attribute value has no closing quote.");
    case XML_ERR_ATTRIBUTE_WITHOUT_VALUE:
        return QStringLiteral("The attribute %1 has no value.").arg(quoted(e.str1));
    case XML_ERR_ATTRIBUTE_REDEFINED:
        return QStringLiteral("An element has the attribute %1 twice.").arg(quoted(e.str2 ? e.str2 : e.str1));
    case XML_ERR_COMMENT_NOT_FINISHED:
        return QStringLiteral("A comment is not closed with \"-->\".");
    case XML_ERR_HYPHEN_IN_COMMENT:
        return QStringLiteral("A comment holds \"--\", which a comment may not hold.");
    case XML_ERR_PI_NOT_STARTED:
    case XML_ERR_PI_NOT_FINISHED:
        return QStringLiteral("A processing instruction is not written properly.");
    case XML_ERR_CDATA_NOT_FINISHED:
        return QStringLiteral("A CDATA section is not closed with \"]]>\".");
    case XML_ERR_MISPLACED_CDATA_END:
        return QStringLiteral("A text holds \"]]>\", which it must write as \"]]&gt;\".");
    case XML_ERR_RESERVED_XML_NAME:
        return QStringLiteral("An XML declaration stands elsewhere than at the very start of the file.");
    case XML_ERR_SPACE_REQUIRED:
        return QStringLiteral("The markup lacks a blank here.");
    case XML_ERR_NAME_REQUIRED:
        return QStringLiteral("The markup lacks a name here.");
    case XML_ERR_EQUAL_REQUIRED:
        return QStringLiteral("An attribute's name is not followed by \"=\".");
    case XML_ERR_GT_REQUIRED:
        return QStringLiteral("The start tag of %1 is not closed with \">\".").arg(quoted(e.str1));
    case XML_ERR_LTSLASH_REQUIRED:
        return QStringLiteral("An end tag is missing.");
    case XML_ERR_TAG_NAME_MISMATCH:
        return QStringLiteral("The element %1 is closed by the end tag of %2.").arg(quoted(e.str1), quoted(e.str2));
    case XML_ERR_TAG_NOT_FINISHED:
        return QStringLiteral("The file ends before the element %1 is closed.").arg(quoted(e.str1));
    case XML_ERR_NOT_WELL_BALANCED:
        return QStringLiteral("The elements are not nested properly.");
    case XML_ERR_STRING_NOT_STARTED:
    case XML_ERR_STRING_NOT_CLOSED:
        return QStringLiteral("A quoted text in the markup is not written properly.");
    case XML_ERR_XMLDECL_NOT_STARTED:
    case XML_ERR_XMLDECL_NOT_FINISHED:
    case XML_ERR_VERSION_MISSING:
    case XML_ERR_ENCODING_NAME:
    case XML_ERR_STANDALONE_VALUE:
        return QStringLiteral("The XML declaration at the start of the file is not written properly.");
    case XML_ERR_DOCTYPE_NOT_FINISHED:
    case XML_ERR_ELEMCONTENT_NOT_STARTED:
    case XML_ERR_ELEMCONTENT_NOT_FINISHED:
    case XML_ERR_ATTLIST_NOT_STARTED:
    case XML_ERR_ATTLIST_NOT_FINISHED:
    case XML_ERR_NOTATION_NOT_STARTED:
    case XML_ERR_NOTATION_NOT_FINISHED:
    case XML_ERR_ENTITY_NOT_STARTED:
    case XML_ERR_ENTITY_NOT_FINISHED:
    case XML_ERR_ENTITY_BOUNDARY:
    case XML_ERR_EXT_SUBSET_NOT_FINISHED:
    case XML_ERR_CONDSEC_NOT_STARTED:
    case XML_ERR_CONDSEC_NOT_FINISHED:
    case XML_ERR_CONDSEC_INVALID:
    case XML_ERR_CONDSEC_INVALID_KEYWORD:
    case XML_ERR_PEREF_SEMICOL_MISSING:
    case XML_ERR_PEREF_NO_NAME:
    case XML_ERR_PEREF_IN_INT_SUBSET:
        return QStringLiteral("The document type at the start of the file is not written properly.");
    case XML_NS_ERR_UNDEFINED_NAMESPACE:
        return QStringLiteral("The element or attribute %1 uses the prefix %2, which no namespace declaration gives.")
            .arg(quoted(e.str2), quoted(e.str1));
    case XML_NS_ERR_XML_NAMESPACE:
    case XML_NS_ERR_QNAME:
    case XML_NS_ERR_ATTRIBUTE_REDEFINED:
    case XML_NS_ERR_EMPTY:
    case XML_NS_ERR_COLON:
        return QStringLiteral("A namespace or a prefixed name is not written properly.");
    default:
        return QStringLiteral("The file is not well-formed XML.");
    }
}

} // namespace

QString xmlErrorSentence(const xmlError &error)
{
    QString sentence = sentenceOf(error);
    if (error.line > 0 && error.int2 > 0)
        sentence += QStringLiteral(" (line %1, column %2)").arg(error.line).arg(error.int2);
    else if (error.line > 0)
        sentence += QStringLiteral(" (line %1)").arg(error.line);
    return sentence;
}

} // namespace rr
