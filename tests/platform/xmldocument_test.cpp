#include "platform/xmldocument.h"
#include "support/dbfixture.h"
#include "support/failingdisk.h"
#include "support/testenv.h"

#include <QElapsedTimer>
#include <gtest/gtest.h>
#include <libxml/tree.h>

using namespace rr;

TEST(XmlDocument, textWithMarkupAndForbiddenCharactersRoundTripsTheDtdIsFoundFromAnOddFolderAndNeeded)
{
    test::TempHome home;
    // A folder path with blanks, an accent and URL-like characters still finds the DTD.
    const QString folder = home.path() + QString::fromUtf8("/My Bookmarks é %20#?/DeVivozoda");
    const QString path = test::writeDatabase(folder, "db.xml", "<FOLDERS>" + test::folderXml("T1", "F") + "</FOLDERS>");
    XmlDocument doc;
    ASSERT_TRUE(doc.load(path)) << qPrintable(doc.parseErrorReason());
    XmlNode name = doc.nodeFromID("T1").child("NAME");
    name.setText(QString("AT&T <x> \"q\" ") + QChar(0x01) + "end" + QChar(0xFFFF) + QChar(0xD800) + " 😀\r\nline2");
    ASSERT_TRUE(doc.save(path));

    XmlDocument again;
    ASSERT_TRUE(again.load(path)) << qPrintable(again.parseErrorReason());
    EXPECT_EQ(again.nodeFromID("T1").childText("NAME"), QString("AT&T <x> \"q\" end 😀\nline2"));

    // Without the DTD beside the file or in the program's folders, the open fails.
    const QString elsewhere = test::writeDatabase(home.path() + "/elsewhere", "db.xml", "<FOLDERS/>");
    QFile::remove(home.path() + "/elsewhere/Vardecks.dtd");
    const QByteArray programData = qgetenv("RAZUZEZU_DATA_DIR");
    qputenv("RAZUZEZU_DATA_DIR", home.path().toUtf8());
    XmlDocument missing;
    EXPECT_FALSE(missing.load(elsewhere));
    qputenv("RAZUZEZU_DATA_DIR", programData);
    EXPECT_TRUE(missing.parseErrorReason().contains("Vardecks.dtd"));
}

TEST(XmlDocument, idsFollowAddMoveAndRemoveWithOrWithoutADoctype)
{
    test::TempHome home;
    const QString path = test::writeDatabase(home.path(), "db.xml",
                                             "<FOLDERS>" + test::folderXml("T1", "A", test::vardeckXml("W1", "one")) +
                                                 test::folderXml("T2", "B") + "</FOLDERS>");
    XmlDocument doc;
    ASSERT_TRUE(doc.load(path));

    // Created in code: the ID is found as soon as the attribute is set.
    XmlNode vd = doc.createElement("VARDECK");
    vd.setAttribute("WID", "W2");
    doc.nodeFromID("T2").child("VARDECKS").appendChild(vd);
    EXPECT_EQ(doc.nodeFromID("W2"), vd);
    EXPECT_EQ(doc.countElements("VARDECK"), 2);

    // Moved within the document: still found, counts unchanged.
    doc.nodeFromID("T2").child("VARDECKS").appendChild(doc.nodeFromID("W1"));
    EXPECT_EQ(doc.nodeFromID("W1").parentNode().parentNode(), doc.nodeFromID("T2"));
    EXPECT_EQ(doc.countElements("VARDECK"), 2);

    // A removed folder takes its Vardecks' IDs with it.
    doc.documentElement().removeChild(doc.nodeFromID("T2"));
    EXPECT_FALSE(doc.nodeFromID("T2"));
    EXPECT_FALSE(doc.nodeFromID("W1"));
    EXPECT_FALSE(doc.nodeFromID("W2"));
    EXPECT_EQ(doc.countElements("FOLDER"), 1);
    EXPECT_EQ(doc.countElements("VARDECK"), 0);

    // A copy from another document gets its IDs here once attached.
    XmlDocument other;
    ASSERT_TRUE(other.loadXml("<?xml version='1.0'?><!DOCTYPE FOLDERS SYSTEM 'Vardecks.dtd'><FOLDERS>" +
                                  test::folderXml("T9", "I", test::vardeckXml("W9", "nine")) + "</FOLDERS>",
                              home.path()));
    doc.documentElement().appendChild(doc.importNode(other.nodeFromID("T9")));
    EXPECT_TRUE(doc.nodeFromID("W9"));
    EXPECT_EQ(doc.countElements("VARDECK"), 1);
    EXPECT_EQ(doc.countElements("FOLDER"), 2);

    // Without a doctype too, for added elements and for two holders of one identifier.
    XmlDocument bare;
    ASSERT_TRUE(bare.loadXml("<?xml version='1.0'?><FOLDERS>" + test::folderXml("T1", "A") +
                                 test::folderXml("T2", "first") + test::folderXml("T2", "second") + "</FOLDERS>",
                             home.path()));
    XmlNode added = bare.createElement("FOLDER");
    added.setAttribute("TID", "T7");
    bare.documentElement().appendChild(added);
    EXPECT_EQ(bare.nodeFromID("T7"), added);
    EXPECT_EQ(bare.nodeFromID("T2").childText("NAME"), "first");

    // The first holder goes: the identifier still belongs to the second, never free.
    bare.documentElement().removeChild(bare.nodeFromID("T2"));
    EXPECT_EQ(bare.nodeFromID("T2").childText("NAME"), "second");
}

TEST(XmlDocument, aTreeAsDeepAsMaySavedOpensAgainAndATooDeepOrFailedSaveKeepsTheOldFileAndTheChange)
{
    test::TempHome home;
    const QString path = test::writeDatabase(home.path(), "deep.xml", "<FOLDERS/>");
    XmlDocument doc;
    ASSERT_TRUE(doc.load(path));
    XmlNode container = doc.documentElement();
    for (int level = 1; level <= kMaxFolderLevels; ++level) {
        XmlNode folder = doc.createElement("FOLDER");
        folder.setAttribute("TID", QStringLiteral("T%1").arg(level));
        folder.appendChild(doc.createElement("VARDECKS"));
        container.appendChild(folder);
        container = folder.appendChild(doc.createElement("SUBFOLDERS"));
    }
    XmlNode deepest = doc.nodeFromID(QStringLiteral("T%1").arg(kMaxFolderLevels)).child("VARDECKS");
    XmlNode vd = deepest.appendChild(doc.createElement("VARDECK"));
    vd.setAttribute("WID", "W1");
    vd.setChildText("NAME", "bottom");
    QString error;
    ASSERT_TRUE(doc.save(path, &error)) << qPrintable(error);
    XmlDocument again;
    ASSERT_TRUE(again.load(path)) << qPrintable(again.parseErrorReason());
    EXPECT_EQ(again.nodeFromID("W1").childText("NAME"), "bottom");

    // One level more would not open again: the save refuses and keeps the old file.
    const QByteArray before = test::readBytes(path);
    XmlNode tooDeep = doc.createElement("FOLDER");
    tooDeep.setAttribute("TID", "T9999");
    container.appendChild(tooDeep);
    tooDeep.setChildText("NAME", "one too many");
    EXPECT_FALSE(doc.save(path, &error));
    EXPECT_TRUE(error.contains(QStringLiteral("nested more than %1 levels").arg(kMaxFolderLevels)))
        << qPrintable(error);
    EXPECT_EQ(test::readBytes(path), before);

    // A save on a failing disk keeps the old file and the change in memory.
    container.removeChild(tooDeep);
    vd.setChildText("NAME", QString(5000, 'n'));
    error.clear();
    {
        test::FailingDisk disk(64);
        EXPECT_FALSE(doc.save(path, &error));
    }
    EXPECT_FALSE(error.isEmpty());
    EXPECT_EQ(test::readBytes(path), before);
    EXPECT_EQ(doc.nodeFromID("W1").childText("NAME").size(), 5000);
}

TEST(XmlDocument, savedBytesAreTheLibrarysOwnCompactOutputWithTheStylesheetFirst)
{
    test::TempHome home;
    XmlDocument doc;
    ASSERT_TRUE(doc.loadXml("<?xml version='1.0' standalone='yes'?><!-- top --><!DOCTYPE FOLDERS SYSTEM "
                            "'Vardecks.dtd'><FOLDERS><!-- inside --><?app data?>" +
                                test::folderXml("T1", "<![CDATA[a<b]]>", test::vardeckXml("W1", "one")) + "</FOLDERS>",
                            home.path()));
    // The stylesheet instruction goes right after the declaration, and only once.
    doc.insertProcessingInstruction("xml-stylesheet", "type='text/xsl' href='VD.xsl'");
    doc.removeProcessingInstructions("xml-stylesheet", "type='text/xsl'");
    doc.insertProcessingInstruction("xml-stylesheet", "type='text/xsl' href='VDAll.xsl'");
    EXPECT_TRUE(doc.toBytes().startsWith("<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\n"
                                         "<?xml-stylesheet type='text/xsl' href='VDAll.xsl'?>\n<!-- top -->"))
        << doc.toBytes().constData();
    EXPECT_EQ(doc.processingInstructionData("xml-stylesheet").size(), 1);
    XmlNode vd = doc.nodeFromID("W1");
    vd.setAttribute("NOTE", "q\"uote <a> & b\ttab\nline 'single'");
    vd.setChildText("NOTES", "AT&T <x> > y\nzweite Zeile\tTab é 😀");
    vd.setChildText("KEYWORD2", "");
    vd.appendChild(doc.createElement("EMPTY"));

    xmlChar *mem = nullptr;
    int len = 0;
    xmlDocDumpFormatMemoryEnc(doc.raw(), &mem, &len, "UTF-8", 0);
    const QByteArray library(reinterpret_cast<const char *>(mem), len);
    xmlFree(mem);
    EXPECT_EQ(doc.toBytes(), library);
}

namespace
{

// What a document type holds: its declarations, processing instructions and comments.
int declarationsOf(const XmlDocument &doc)
{
    const xmlDtd *subset = doc.raw()->intSubset;
    int count = subset && subset->notations ? xmlHashSize(static_cast<xmlHashTablePtr>(subset->notations)) : 0;
    for (const xmlNode *node = subset ? subset->children : nullptr; node; node = node->next)
        ++count;
    return count;
}

} // namespace

TEST(XmlDocument, everyKindOfInternalSubsetIsSavedSoThatItOpensAgainAsItWasOrTheFileIsRefusedAtOnce)
{
    test::TempHome home;
    const auto dropped = [](const char *attribute, const char *value) {
        return QStringLiteral("The file's document type gives the attribute %1 the default value \"%2\", which its "
                              "type does not allow.")
            .arg(attribute, value);
    };
    const QPair<QByteArray, QString> subsets[] = {
        {"<!ELEMENT X EMPTY><!ELEMENT Y ANY><!ELEMENT Z ((A,B?)|(C+,D*))+><!ELEMENT M (#PCDATA|A)*>", ""},
        {"<!ATTLIST X a CDATA #IMPLIED b ID #REQUIRED c CDATA #FIXED 'f' d CDATA 'v' p:e CDATA 'g'>", ""},
        {"<!NOTATION n SYSTEM 's'><!NOTATION m PUBLIC 'p'><!NOTATION o PUBLIC 'p' 's'>"
         "<!ATTLIST X a (x|y) 'y' b NOTATION (n|m) #IMPLIED c NMTOKENS 'a b' d ENTITIES 'e f'>",
         ""},
        // Markup, quotes and blanks given by references in a default value.
        {"<!ATTLIST X a CDATA 'a&#60;b&lt;c&amp;d&#38;e' b CDATA \"it's &quot;q&quot;\" c CDATA 'l&#10;t&#9;r&#13;'>",
         ""},
        {"<?target some data?><!-- a comment --><?bare?>", ""},
        {"<!ATTLIST X a CDATA '1'><!ATTLIST X a NMTOKEN 'a b'>", ""}, // the second declaration counts for nothing
        // Defaults the library drops: the document type could not be saved as it is.
        {"<!ATTLIST VARDECK WID ID '1'>", dropped("WID of VARDECK", "1")},
        {"<!ATTLIST X a NMTOKEN #FIXED 'a b'>", dropped("a of X", "a b")},
        {"<!ATTLIST X a IDREFS '1'>", dropped("a of X", "1")},
    };
    for (const QByteArray &doctype :
         {QByteArray("SYSTEM 'Vardecks.dtd'"), QByteArray("PUBLIC '-//Q//V' 'Vardecks.dtd'")}) {
        for (const auto &[declarations, refusedWith] : subsets) {
            SCOPED_TRACE(declarations.constData());
            XmlDocument doc;
            const bool opened =
                doc.loadXml("<?xml version='1.0'?><!DOCTYPE FOLDERS " + doctype + " [" + declarations + "]><FOLDERS>" +
                                test::folderXml("T1", "F", test::vardeckXml("W1", "v")) + "</FOLDERS>",
                            home.path());
            EXPECT_EQ(doc.parseErrorReason(), refusedWith);
            if (!opened)
                continue;
            const QByteArray saved = doc.toBytes();
            XmlDocument again;
            ASSERT_TRUE(again.loadXml(saved, home.path())) << qPrintable(again.parseErrorReason()) << saved.constData();
            EXPECT_EQ(again.toBytes(), saved) << "read back as it was saved";
            EXPECT_EQ(declarationsOf(again), declarationsOf(doc));
            EXPECT_EQ(again.nodeFromID("W1").childText("NAME"), "v");
        }
    }
}

TEST(XmlDocument, theOpenAndTheSaveMeasureNestingAlikeSoWhatOpensCanBeSaved)
{
    test::TempHome home;
    // Folders one level too deep, with nothing but names: no deeper in elements than
    // a tree of the deepest folders holding Vardecks, yet more folder levels.
    QByteArray folders = "<FOLDER TID=\"T501\"><NAME>bottom</NAME></FOLDER>";
    for (int level = kMaxFolderLevels; level >= 1; --level)
        folders = "<FOLDER TID=\"T" + QByteArray::number(level) + "\"><NAME>n</NAME><SUBFOLDERS>" + folders +
                  "</SUBFOLDERS></FOLDER>";
    // Few folders, but other elements nested past what any database holds.
    const QByteArray junk =
        QByteArray("<X>").repeated(kMaxElementDepth) + QByteArray("</X>").repeated(kMaxElementDepth);
    // Each is refused with the limit it passed, while it is read: before the text ends
    // where it is broken, and before a tree of all its levels is made.
    const QString tooManyFolders = "The folders are nested more deeply than a Vardecks database may be: at most 500 "
                                   "levels.";
    const QString tooDeep =
        "The elements of the file are nested more deeply than a Vardecks database may be: at most 1003 levels.";
    const QList<QPair<QByteArray, QString>> refused = {
        {"<FOLDERS>" + folders + "</FOLDERS>", tooManyFolders},
        {"<FOLDERS>" + test::folderXml("T1", "F", "<VARDECK WID=\"W1\"><NOTES>" + junk + "</NOTES></VARDECK>") +
             "</FOLDERS>",
         tooDeep},
        {"<FOLDERS>" + QByteArray("<FOLDER><SUBFOLDERS>").repeated(kMaxFolderLevels + 1) + "<broken", tooManyFolders},
        {"<FOLDERS>" + QByteArray("<X>").repeated(200000), tooDeep},
    };
    for (const auto &[body, reason] : refused) {
        const QString path = test::writeDatabase(home.path(), "deep.xml", body);
        XmlDocument doc;
        EXPECT_FALSE(doc.load(path));
        EXPECT_EQ(doc.parseErrorReason(), reason);
    }

    // The same trees made in memory are not saved either.
    const QString path =
        test::writeDatabase(home.path(), "shallow.xml",
                            "<FOLDERS>" + test::folderXml("T1", "F", test::vardeckXml("W1", "v")) + "</FOLDERS>");
    XmlDocument doc;
    ASSERT_TRUE(doc.load(path));
    XmlNode deepest = doc.nodeFromID("W1").child("NOTES");
    for (int i = 0; i < kMaxElementDepth; ++i)
        deepest = deepest.appendChild(doc.createElement("X"));
    QString error;
    EXPECT_FALSE(doc.save(path, &error));
    EXPECT_EQ(error, path + " was not saved: its elements are nested more than 1003 levels deep.");
}

namespace
{

// An element with n attributes whose values hold "=", ">" and the other quote.
QByteArray wideFolder(int n)
{
    QByteArray tag = "<FOLDER TID=\"T1\"";
    for (int i = 2; i <= n; ++i)
        tag += i % 2 ? " a" + QByteArray::number(i) + "='x=\"" + QByteArray::number(i) + "\">'"
                     : " a" + QByteArray::number(i) + " = \"y='>=\"";
    return tag + "><NAME>a = \"b\" &gt; c</NAME></FOLDER>";
}

} // namespace

TEST(XmlDocument, anElementPastTheAttributeLimitIsRefusedWhileItIsReadInAnyEncodingAndNeverSaved)
{
    test::TempHome home;
    const QString tooMany =
        "The file has an element with more attributes than a Vardecks database may have: at most 64.";
    const QByteArray head = "<?xml version='1.0'?><!DOCTYPE FOLDERS SYSTEM 'Vardecks.dtd'><FOLDERS>";
    // The library decodes a text before it parses it: the limits hold in every encoding,
    // also those whose markup is no ASCII after an ASCII declaration.
    const char *const encodings[] = {"UTF-8", "UTF-16BE", "UTF-16LE", "UTF-7", "IBM037"};
    for (const char *encoding : encodings) {
        SCOPED_TRACE(encoding);
        const auto encoded = [encoding](const QByteArray &text) { return test::declaredAs(encoding, text); };
        XmlDocument doc;
        ASSERT_TRUE(doc.loadXml(encoded(head + wideFolder(64) + "</FOLDERS>"), home.path()))
            << qPrintable(doc.parseErrorReason());
        EXPECT_EQ(doc.nodeFromID("T1").attribute("a63"), "x=\"63\">");
        EXPECT_EQ(doc.nodeFromID("T1").attribute("a64"), "y='>=");
        EXPECT_EQ(doc.nodeFromID("T1").childText("NAME"), "a = \"b\" > c");
        EXPECT_FALSE(doc.loadXml(encoded(head + wideFolder(65) + "</FOLDERS>"), home.path()));
        EXPECT_EQ(doc.parseErrorReason(), tooMany);
        EXPECT_FALSE(doc.isLoaded());
    }
    // An older program's file in its code page is refused the same way when it is read again as such.
    XmlDocument older;
    EXPECT_FALSE(older.loadXml("<?xml version='1.0'?><FOLDERS><!-- caf\xe9 -->" + wideFolder(65) + "</FOLDERS>"));
    EXPECT_EQ(older.parseErrorReason(), tooMany);

    // The files users met: one element with 200,000 attributes (2.2 MB), which the
    // library would take minutes to compare, in any encoding.
    QByteArray huge = head + "<FOLDER TID=\"T1\"";
    for (int i = 0; i < 200000; ++i)
        huge += " a" + QByteArray::number(i) + "=\"\"";
    huge += "/></FOLDERS>";
    for (const char *encoding : encodings) {
        SCOPED_TRACE(encoding);
        const QString path = home.path() + "/huge.xml";
        test::writeBytes(path, test::declaredAs(encoding, huge));
        XmlDocument user;
        QElapsedTimer clock;
        clock.start();
        EXPECT_FALSE(user.load(path));
        EXPECT_LT(clock.elapsed(), 2000);
        EXPECT_EQ(user.parseErrorReason(), tooMany);
    }

    // What could not be opened again is not saved: the old file stays.
    const QString saved = test::writeDatabase(home.path(), "db.xml", "<FOLDERS>" + wideFolder(64) + "</FOLDERS>");
    XmlDocument doc;
    ASSERT_TRUE(doc.load(saved));
    const QByteArray before = test::readBytes(saved);
    XmlNode folder = doc.nodeFromID("T1");
    folder.setAttribute("a65", "one too many");
    QString error;
    EXPECT_FALSE(doc.save(saved, &error));
    EXPECT_EQ(error, saved + " was not saved: an element has more than 64 attributes or namespaces.");
    xmlUnsetProp(folder.raw(), BAD_CAST "a65");
    xmlNewNs(folder.raw(), BAD_CAST "urn:x", BAD_CAST "x");
    EXPECT_FALSE(doc.save(saved, &error)) << "a namespace declaration counts as an attribute";
    EXPECT_EQ(test::readBytes(saved), before);
}
