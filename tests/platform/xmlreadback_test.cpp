// What a database file holds beyond the program's own elements: its limits hold when it
// is opened, and its document type comes back from a save as it was read.
#include "platform/xmldocument.h"
#include "support/dbfixture.h"
#include "support/testenv.h"

#include <gtest/gtest.h>
#include <libxml/tree.h>

using namespace rr;

namespace
{

// The attribute declarations of a document's internal subset, one line each:
// element, attribute, type, kind of default and the default value.
QStringList attributeDeclarationsOf(const XmlDocument &doc)
{
    QStringList lines;
    const xmlDtd *subset = doc.raw() ? doc.raw()->intSubset : nullptr;
    for (const xmlNode *node = subset ? subset->children : nullptr; node; node = node->next) {
        if (node->type != XML_ATTRIBUTE_DECL)
            continue;
        const auto *declaration = reinterpret_cast<const xmlAttribute *>(node);
        const auto text = [](const xmlChar *s) {
            return s ? QString::fromUtf8(reinterpret_cast<const char *>(s)) : "-";
        };
        lines << QStringLiteral("%1 %2:%3 type %4 default %5 [%6]")
                     .arg(text(declaration->elem), text(declaration->prefix), text(declaration->name))
                     .arg(int(declaration->atype))
                     .arg(int(declaration->def))
                     .arg(text(declaration->defaultValue));
    }
    return lines;
}

QByteArray database(const QByteArray &subset, const QByteArray &body)
{
    return "<?xml version='1.0'?><!DOCTYPE FOLDERS SYSTEM 'Vardecks.dtd' [" + subset + "]><FOLDERS>" + body +
           "</FOLDERS>";
}

// A FOLDER start tag with the given number of attributes and namespace declarations.
QByteArray folderWith(int attributes, int namespaces)
{
    QByteArray tag = "<FOLDER TID=\"T1\"";
    for (int i = 2; i <= attributes; ++i)
        tag += " a" + QByteArray::number(i) + "=\"v\"";
    for (int i = 1; i <= namespaces; ++i)
        tag += " xmlns:n" + QByteArray::number(i) + "=\"urn:n" + QByteArray::number(i) + "\"";
    return tag + "><NAME>F</NAME></FOLDER>";
}

} // namespace

TEST(XmlReadBack, namespaceDeclarationsCountTowardTheAttributeLimitWhenAFileIsOpened)
{
    test::TempHome home;
    const QString tooMany =
        "The file has an element with more attributes than a Vardecks database may have: at most 64.";
    struct Case {
        int attributes;
        int namespaces;
        bool opens;
    };
    const Case cases[] = {
        {64, 0, true}, {40, 24, true}, {1, 63, true}, {41, 24, false}, {64, 1, false}, {1, 64, false},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(QStringLiteral("%1 attributes, %2 namespaces").arg(c.attributes).arg(c.namespaces).toStdString());
        XmlDocument doc;
        const bool opened = doc.loadXml(database("", folderWith(c.attributes, c.namespaces)), home.path());
        EXPECT_EQ(opened, c.opens);
        EXPECT_EQ(doc.parseErrorReason(), c.opens ? QString() : tooMany);
        if (opened) {
            EXPECT_EQ(doc.nodeFromID("T1").childText("NAME"), "F");
        }
    }
}

TEST(XmlReadBack, fixedDefaultsOfTheInternalSubsetReadBackAfterASave)
{
    test::TempHome home;
    const QByteArray subsets[] = {
        "<!ATTLIST FOLDER kind CDATA #FIXED 'plain'>",
        "<!ATTLIST FOLDER kind (a|b) #FIXED 'b'>",
        // Markup and quotes given by references in the fixed value.
        "<!ATTLIST FOLDER kind CDATA #FIXED 'a&#60;b &amp; \"c\"'>",
        "<!ATTLIST FOLDER kind CDATA #FIXED 'l&#10;t&#9;r'>",
        // A fixed namespace declaration: the elements it names are written by the library.
        "<!ATTLIST FOLDER p:kind CDATA #FIXED 'pv' xmlns:p CDATA #FIXED 'urn:p'>",
        // Beside a document whose namespaces the library writes.
        "<!ATTLIST FOLDER kind CDATA #FIXED 'x&#60;y'>",
    };
    const QByteArray bodies[] = {
        test::folderXml("T1", "F"),
        "<FOLDER TID=\"T1\" xmlns:q=\"urn:q\"><NAME>F</NAME><q:extra/></FOLDER>",
    };
    for (const QByteArray &body : bodies) {
        for (const QByteArray &subset : subsets) {
            SCOPED_TRACE((subset + " " + body).constData());
            const QString path = test::writeDatabase(home.path(), "fixed.xml", "");
            test::writeBytes(path, database(subset, body));
            XmlDocument doc;
            ASSERT_TRUE(doc.load(path)) << qPrintable(doc.parseErrorReason());
            const QStringList declared = attributeDeclarationsOf(doc);
            ASSERT_FALSE(declared.isEmpty());
            QString error;
            ASSERT_TRUE(doc.save(path, &error)) << qPrintable(error);
            XmlDocument again;
            ASSERT_TRUE(again.load(path)) << qPrintable(again.parseErrorReason()) << test::readBytes(path).constData();
            EXPECT_EQ(attributeDeclarationsOf(again), declared);
            EXPECT_EQ(again.nodeFromID("T1").childText("NAME"), "F");
        }
    }
}
