// Text between the elements of a database file, and the sentences a file that cannot
// be read is refused with.
#include "platform/xmldocument.h"
#include "support/dbfixture.h"
#include "support/testenv.h"

#include <gtest/gtest.h>

using namespace rr;

TEST(XmlText, blanksBetweenElementsStayWhereAnElementHoldsWordsAndGoWhereTheyAreOnlyLayout)
{
    test::TempHome home;
    const QPair<QByteArray, QByteArray> cases[] = {
        // Words between the elements of a FOLDER, with blanks of their own between elements.
        {"<FOLDER TID=\"T1\">Note: <B>bold</B> <I>it</I>\n<NAME>F</NAME> <VARDECKS/></FOLDER>",
         "<FOLDER TID=\"T1\">Note: <B>bold</B> <I>it</I>\n<NAME>F</NAME> <VARDECKS/></FOLDER>"},
        {"<FOLDER TID=\"T1\"> <B>b</B> <I>i</I> tail</FOLDER>", "<FOLDER TID=\"T1\"> <B>b</B> <I>i</I> tail</FOLDER>"},
        // Blanks past what the library hands over at once stay with the words after them.
        {"<FOLDER TID=\"T1\"><NAME>F</NAME>" + QByteArray(700, ' ') + "x</FOLDER>",
         "<FOLDER TID=\"T1\"><NAME>F</NAME>" + QByteArray(700, ' ') + "x</FOLDER>"},
        // A file laid out for reading loses its layout, and blanks in a name stay.
        {"<FOLDER TID=\"T1\">\n  <NAME> F </NAME>\n  <VARDECKS>\n  </VARDECKS>\n  <SUBFOLDERS/>\n</FOLDER>\n",
         "<FOLDER TID=\"T1\"><NAME> F </NAME><VARDECKS/><SUBFOLDERS/></FOLDER>"},
        {"<FOLDER TID=\"T1\">\n\t<NAME>F</NAME>\n\t<X>\n\t\t<Y/>\n\t</X>\n</FOLDER>",
         "<FOLDER TID=\"T1\"><NAME>F</NAME><X><Y/></X></FOLDER>"},
    };
    for (const auto &[body, saved] : cases) {
        SCOPED_TRACE(body.constData());
        const QString path = test::writeDatabase(home.path(), "blanks.xml", "<FOLDERS>\n" + body + "\n</FOLDERS>");
        XmlDocument doc;
        ASSERT_TRUE(doc.load(path)) << qPrintable(doc.parseErrorReason());
        ASSERT_TRUE(doc.save(path));
        const QByteArray bytes = test::readBytes(path);
        EXPECT_TRUE(bytes.contains("<FOLDERS>" + saved + "</FOLDERS>")) << bytes.constData();
        XmlDocument again;
        ASSERT_TRUE(again.load(path));
        EXPECT_EQ(again.toBytes(), bytes);
    }
}

TEST(XmlText, aFileThatIsNotWellFormedIsRefusedWithASentenceNamingWhereItBreaks)
{
    test::TempHome home;
    const QPair<QByteArray, QString> cases[] = {
        {"<FOLDERS><FOLDER>", "The file ends before the element \"FOLDER\" is closed. (line 3, column 18)"},
        {"<FOLDERS>\n<FOLDER TID=\"T1\"><NAME>a</VARDECKS>",
         "The element \"NAME\" is closed by the end tag of \"VARDECKS\". (line 4, column 36)"},
        {"<FOLDERS><FOLDER TID=\"T1\"x=\"2\"/></FOLDERS>", "The markup lacks a blank here. (line 3, column 26)"},
        {"<FOLDERS a=\"<\"/>", "An attribute value holds \"<\", which it must write as \"&lt;\". (line 3, column 13)"},
        {"<FOLDERS/><FOLDERS/>", "The file goes on after the end of its outermost element. (line 3, column 11)"},
        {"<FOLDERS>AT&T</FOLDERS>",
         "An \"&\" does not begin a reference; a text writes it as \"&amp;\". (line 3, column 14)"},
        {"<FOLDERS>\x07</FOLDERS>",
         "The file holds the character U+0007, which XML does not allow. (line 3, column 10)"},
        {"<FOLDERS><p:X/></FOLDERS>",
         "The element or attribute \"X\" uses the prefix \"p\", which no namespace declaration gives. (line 3, "
         "column 14)"},
        {"not xml", "The file holds no element: it is empty or does not begin with \"<\". (line 3, column 1)"},
    };
    for (const auto &[body, sentence] : cases) {
        SCOPED_TRACE(body.constData());
        const QString path = test::writeDatabase(home.path(), "broken.xml", body);
        XmlDocument doc;
        EXPECT_FALSE(doc.load(path));
        EXPECT_EQ(doc.parseErrorReason().toStdString(), sentence.toStdString());
    }
}
