// Saving a document large enough to be written in parts side by side, or by one
// thread with the file written by a second beside it, or by the saving thread alone:
// the bytes are the XML library's own compact output, and a failure in any part
// keeps the old file and says why.
#include "platform/xmldocument.h"
#include "support/dbfixture.h"
#include "support/failingdisk.h"
#include "support/smalldisk.h"
#include "support/testenv.h"

#include <gtest/gtest.h>
#include <libxml/tree.h>
#include <unistd.h>

using namespace rr;

namespace
{

// Each way a large document is written, whatever the machine: in parts side by side;
// made by the saving thread and written to the file by a second (two processors);
// by the saving thread alone (one processor).
struct Way {
    const char *name;
    int partThreads;
    int processors;
};
constexpr Way kWays[] = {{"in parts", 3, -1}, {"file written beside", 0, 2}, {"alone", 0, 1}};

// Writes the way while it lives.
struct WritingWay {
    explicit WritingWay(const Way &way)
    {
        xmlsave_testing::setPartThreads(way.partThreads);
        xmlsave_testing::setProcessors(way.processors);
    }
    ~WritingWay()
    {
        xmlsave_testing::setPartThreads(-1);
        xmlsave_testing::setProcessors(-1);
    }
};

QByteArray libraryOutput(const XmlDocument &doc)
{
    xmlChar *mem = nullptr;
    int len = 0;
    xmlDocDumpFormatMemoryEnc(doc.raw(), &mem, &len, "UTF-8", 0);
    const QByteArray bytes(reinterpret_cast<const char *>(mem), len);
    xmlFree(mem);
    return bytes;
}

// Folders three levels deep, each holding Vardecks whose texts need every escape,
// with comments, instructions and CDATA among them: 8,000 Vardecks, 2.3 MB.
QByteArray collection()
{
    QByteArray top;
    int tid = 0;
    int wid = 0;
    for (int a = 0; a < 4; ++a) {
        QByteArray middle;
        for (int b = 0; b < 8; ++b) {
            QByteArray inner;
            for (int c = 0; c < 5; ++c) {
                QByteArray vardecks;
                for (int v = 0; v < 50; ++v) {
                    ++wid;
                    vardecks += test::vardeckXml(QStringLiteral("W%1").arg(wid),
                                                 QStringLiteral("AT&amp;T &lt;%1&gt; \"q\" 'é' 😀").arg(wid));
                    if (v % 17 == 0)
                        vardecks +=
                            "<!-- after W" + QByteArray::number(wid) + " --><?mark " + QByteArray::number(wid) + "?>";
                }
                inner += test::folderXml("T" + QByteArray::number(++tid), "<![CDATA[a<b]]> c&amp;d", vardecks);
            }
            middle += test::folderXml("T" + QByteArray::number(++tid), "middle", {}, inner);
        }
        top += test::folderXml("T" + QByteArray::number(++tid), "top", {}, middle);
    }
    return "<FOLDERS>" + top + "</FOLDERS>\n<!-- after the folders -->";
}

} // namespace

TEST(XmlSave, aDocumentWrittenInPartsIsTheLibrarysOwnOutputAsIsOneTheWriterLeavesToTheLibrary)
{
    for (const Way &way : kWays) {
        SCOPED_TRACE(way.name);
        WritingWay writing(way);
        test::TempHome home;
        const QString path = test::writeDatabase(home.path(), "db.xml", collection());
        XmlDocument doc;
        ASSERT_TRUE(doc.load(path)) << qPrintable(doc.parseErrorReason());
        doc.insertProcessingInstruction("xml-stylesheet", "type='text/xsl' href='VD.xsl'");
        XmlNode last = doc.nodeFromID("W8000");
        ASSERT_TRUE(last);
        last.setAttribute("NOTE", "q\"uote <a> & b\ttab\nline\r'single'");
        last.setChildText("NOTES", "AT&T <x> > y\nzweite Zeile\tTab é 😀\r\nend");
        // More names than the writer keeps the lengths of, of every length, as elements
        // and as attributes, in the first Vardeck and the last.
        for (int n = 1; n <= 300; ++n) {
            const QString name = QStringLiteral("N%1_").arg(n) + QString(n % 40, QLatin1Char('x'));
            for (const char *wid : {"W1", "W8000"}) {
                XmlNode element = doc.nodeFromID(wid).appendChild(doc.createTextElement(name, "t"));
                element.setAttribute(QStringLiteral("A") + name, "v");
            }
        }

        const QByteArray library = libraryOutput(doc);
        ASSERT_GT(library.size(), 2'000'000);
        EXPECT_TRUE(library.startsWith("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<?xml-stylesheet type='text/xsl' "
                                       "href='VD.xsl'?>\n<!DOCTYPE FOLDERS SYSTEM \"Vardecks.dtd\">\n<FOLDERS>"));
        EXPECT_TRUE(library.endsWith("</FOLDERS>\n<!-- after the folders -->\n"));
        EXPECT_TRUE(library.contains("<N300_xxxxxxxxxxxxxxxxxxxx AN300_xxxxxxxxxxxxxxxxxxxx=\"v\">t"
                                     "</N300_xxxxxxxxxxxxxxxxxxxx></VARDECK><!-- after W1 -->"));
        EXPECT_EQ(doc.toBytes(), library);
        ASSERT_TRUE(doc.save(path));
        EXPECT_EQ(test::readBytes(path), library);

        // A namespace in the last part: the library writes the whole file.
        xmlNewNs(last.raw(), BAD_CAST "urn:x", BAD_CAST "x");
        const QByteArray withNamespace = libraryOutput(doc);
        EXPECT_TRUE(withNamespace.contains("<VARDECK xmlns:x=\"urn:x\" WID=\"W8000\""));
        ASSERT_TRUE(doc.save(path));
        EXPECT_EQ(test::readBytes(path), withNamespace);
        XmlDocument again;
        ASSERT_TRUE(again.load(path)) << qPrintable(again.parseErrorReason());
        EXPECT_EQ(again.countElements("VARDECK"), 8000);
    }
}

TEST(XmlSave, aFullDiskOrTooDeepATreeInAnyPartKeepsTheOldFileAndSaysWhy)
{
    test::TempHome home;
    const QString folder = home.path() + "/disk";
    test::SmallDisk small(folder, 0, "size=2m");
    for (const Way &way : kWays) {
        SCOPED_TRACE(way.name);
        WritingWay writing(way);
        const QString path = test::writeDatabase(home.path(), "db.xml", collection());
        const QByteArray before = test::readBytes(path);
        XmlDocument doc;
        ASSERT_TRUE(doc.load(path));
        doc.nodeFromID("W1").setChildText("NAME", "changed");
        const auto leftAlone = [&] {
            EXPECT_EQ(test::readBytes(path), before);
            EXPECT_EQ(QDir(home.path()).entryList(QDir::Files | QDir::Hidden), QStringList({"db.xml", "Vardecks.dtd"}));
            EXPECT_EQ(doc.nodeFromID("W1").childText("NAME"), "changed");
        };
        QString error;
        const rlim_t size = rlim_t(doc.toBytes().size());
        for (const rlim_t limit : {rlim_t(4096), size / 2, size - 100}) {
            SCOPED_TRACE(limit);
            {
                test::FailingDisk disk(limit);
                EXPECT_FALSE(doc.save(path, &error));
            }
            EXPECT_EQ(error, path + " could not be written: the file would be larger than this system allows.");
            leftAlone();
        }

        // Folders nested one level too deep below the last Vardecks: the parts before
        // are made, the file is not.
        XmlNode container = doc.nodeFromID("W8000").parentNode().parentNode().child("SUBFOLDERS");
        for (int level = 4; level <= kMaxFolderLevels + 1; ++level) {
            XmlNode folder = container.appendChild(doc.createElement("FOLDER"));
            folder.setAttribute("TID", QStringLiteral("T%1").arg(1000 + level));
            container = folder.appendChild(doc.createElement("SUBFOLDERS"));
        }
        EXPECT_FALSE(doc.save(path, &error));
        EXPECT_EQ(error, path + " was not saved: the folders are nested more than 500 levels deep.");
        leftAlone();
        // As deep as may be, it is saved, and opens again.
        const XmlNode deepest = doc.nodeFromID(QStringLiteral("T%1").arg(1000 + kMaxFolderLevels + 1));
        deepest.parentNode().removeChild(deepest);
        ASSERT_TRUE(doc.save(path, &error)) << qPrintable(error);
        XmlDocument again;
        ASSERT_TRUE(again.load(path)) << qPrintable(again.parseErrorReason());
        EXPECT_EQ(again.nodeFromID("W1").childText("NAME"), "changed");

        // A disk that fills up part-way says so.
        if (!small.mounted())
            continue;
        const QString full = folder + "/db.xml";
        test::writeBytes(full, "old");
        EXPECT_FALSE(doc.save(full, &error));
        EXPECT_EQ(error, full + " could not be written: the disk is full.");
        EXPECT_EQ(test::readBytes(full), "old");
        EXPECT_EQ(QDir(folder).entryList(QDir::Files | QDir::Hidden), QStringList{"db.xml"});
    }
    if (!small.mounted())
        GTEST_SKIP() << "no right to mount a small disk here";
}

TEST(XmlSave, whateverWritesTheFileATreeAtTheLimitsOpensAgainAndOnePastThemIsRefusedByTheSaveAndTheOpen)
{
    test::TempHome home;
    const QString foldersPast =
        "The folders are nested more deeply than a Vardecks database may be: at most 500 levels.";
    const QString elementsPast =
        "The elements of the file are nested more deeply than a Vardecks database may be: at most 1003 levels.";
    // The program's own writer, the same in parts side by side or with the file written
    // beside it (a few thousand Vardecks before the deep folders), and the library's
    // writer (a namespace it leaves to it).
    for (const char *writer : {"whole", "parts", "beside", "library"}) {
        SCOPED_TRACE(writer);
        const bool beside = qstrcmp(writer, "beside") == 0;
        WritingWay writing(beside ? kWays[1] : kWays[0]);
        QByteArray vardecks;
        for (int wid = 1; (qstrcmp(writer, "parts") == 0 || beside) && wid <= 5000; ++wid)
            vardecks += test::vardeckXml(QStringLiteral("W%1").arg(wid), "v");
        // The document element is a folder: the first of the levels.
        const QString path = test::writeDatabase(home.path(), "deep.xml", test::folderXml("T1", "top", vardecks));
        XmlDocument doc;
        ASSERT_TRUE(doc.load(path)) << qPrintable(doc.parseErrorReason());
        if (qstrcmp(writer, "library") == 0)
            xmlNewNs(doc.documentElement().raw(), BAD_CAST "urn:x", BAD_CAST "x");
        XmlNode container = doc.documentElement().child("SUBFOLDERS");
        for (int level = 2; level <= kMaxFolderLevels; ++level) {
            XmlNode folder = container.appendChild(doc.createElement("FOLDER"));
            folder.setAttribute("TID", QStringLiteral("T%1").arg(level));
            container = folder.appendChild(doc.createElement("SUBFOLDERS"));
        }
        // Elements as deep as may be below the deepest folder (at depth 999): its
        // VARDECKS, a VARDECK, its NOTES, then X down to the limit.
        XmlNode bottom = doc.nodeFromID("T500").appendChild(doc.createElement("VARDECKS"));
        bottom = bottom.appendChild(doc.createElement("VARDECK"));
        bottom.setAttribute("WID", "W9999");
        bottom = bottom.appendChild(doc.createElement("NOTES"));
        for (int depth = 2 * kMaxFolderLevels + 3; depth <= kMaxElementDepth; ++depth)
            bottom = bottom.appendChild(doc.createElement("X"));
        QString error;
        ASSERT_TRUE(doc.save(path, &error)) << qPrintable(error);
        XmlDocument again;
        ASSERT_TRUE(again.load(path)) << qPrintable(again.parseErrorReason());
        EXPECT_EQ(folderLevel(again.nodeFromID("T500")), 500);
        EXPECT_EQ(folderLevels(again.documentElement()), 500);
        const QByteArray saved = test::readBytes(path);
        EXPECT_EQ(saved, libraryOutput(doc));

        // One past either limit: the save keeps the old file, and the same tree does not open.
        const auto refusedAlike = [&](const QString &saveReason, const QString &openReason) {
            EXPECT_FALSE(doc.save(path, &error));
            EXPECT_EQ(error, path + saveReason);
            EXPECT_EQ(test::readBytes(path), saved);
            XmlDocument past;
            EXPECT_FALSE(past.loadXml(libraryOutput(doc), home.path()));
            EXPECT_EQ(past.parseErrorReason(), openReason);
        };
        XmlNode x = bottom.appendChild(doc.createElement("X"));
        refusedAlike(" was not saved: its elements are nested more than 1003 levels deep.", elementsPast);
        bottom.removeChild(x);
        container.appendChild(doc.createElement("FOLDER")).setAttribute("TID", "T501");
        refusedAlike(" was not saved: the folders are nested more than 500 levels deep.", foldersPast);
    }
}
