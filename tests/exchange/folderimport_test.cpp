#include "exchange/folderimport.h"
#include "exchange/importbuilder.h"
#include "exchangefixture.h"

#include <QElapsedTimer>
#include <QTemporaryDir>

using namespace rr;
using namespace rr::test;

namespace
{

QStringList childNames(const XmlNode &node)
{
    QStringList names;
    for (const XmlNode &c : node.childElements())
        names << c.nodeName();
    return names;
}

// Nested folders; shortcuts with sections, BASEURL and IconFile lines; empty, UTF-16,
// garbage and unreadable files; a picture, an empty folder and a link up the tree.
struct FavoritesTree {
    QTemporaryDir dir;
    QString root;

    FavoritesTree()
    {
        root = dir.filePath("Favorites");
        writeBytes(root + "/Example.url", "[DEFAULT]\r\nBASEURL=http://a.example/\r\n[InternetShortcut]\r\n"
                                          "URL=http://b.example/x%20y\r\nIconFile=http://b.example/favicon.ico\r\n");
        writeBytes(root + "/empty.url", "");
        writeBytes(root + "/Utf16.url", QByteArray("\xFF\xFEU\0R\0L\0=\0h\0\r\0\n\0", 16));
        writeBytes(root + "/Garbage.url", QByteArray("\x00\x13\xff\x80 no key", 11));
        writeBytes(root + "/picture.png", "\x89PNG");
        writeBytes(root + "/Notes.URL", "[InternetShortcut]\nURL=http://notes.example/\n");
        QFile::link(root + "/Broken.url", root + "/Broken.url");
        writeBytes(root + "/News/Daily.url", "[InternetShortcut]\r\nURL=http://news.example/\r\n");
        writeBytes(root + "/News/Tech/Caf\xc3\xa9.url", "[InternetShortcut]\r\nURL=http://caf\xe9.example/\r\n");
        QDir().mkpath(root + "/Empty");
        QFile::link(root, root + "/News/Back");
    }
};

} // namespace

TEST(ImportBuilder, buildsFoldersAndVardecksInTheStoredLayout)
{
    OpenDb open;
    ImportBuilder builder(open.db);
    builder.setToday(QDate(2026, 12, 5));
    const XmlNode top = builder.createFolderNode("A <&> \"q\"", "");
    ASSERT_TRUE(top);
    EXPECT_EQ(builder.topTID(), "T2");
    const XmlNode sub = builder.createFolderNode("Sub", "T2");
    EXPECT_EQ(builder.topTID(), "T2");
    const XmlNode vd = builder.createVDNode(sub, "Page", "http://x/a%20b%20c%2F%41%");
    const XmlNode doc = builder.createVDNode(sub, "Doc", "/home/u/my%20file.pdf", ImportBuilder::AddressForm::AsIs);
    builder.setToday(QDate(2027, 1, 1));
    builder.createVDNode(sub, "Later", "http://later/");
    ASSERT_TRUE(open.db.save());

    const auto disk = open.reread();
    const XmlNode saved = disk->getTheDOM()->nodeFromID("T2");
    EXPECT_EQ(saved, disk->getTheDOM()->documentElement().childElements().last());
    EXPECT_EQ(folderText(saved), "A <&> \"q\"[]{Sub[Page=http://x/a b c%2F%41%,Doc=/home/u/my%20file.pdf,"
                                 "Later=http://later/]{}}");
    EXPECT_EQ(childNames(saved), QStringList({"NAME", "VARDECKS", "SUBFOLDERS"}));
    const XmlNode page = disk->getTheDOM()->nodeFromID(vd.attribute("WID"));
    EXPECT_EQ(page.attribute("WID"), "W2");
    EXPECT_EQ(doc.attribute("WID"), "W3");
    EXPECT_EQ(childNames(page), QStringList({"NAME", "ADDRESS", "CREATED_DATE", "DESCRIPTION", "NOTES", "KEYWORD1",
                                             "KEYWORD2", "FILESIZE", "HITS", "FAV"}));
    EXPECT_EQ(page.childText("CREATED_DATE"), "05 Dec 2026");
    EXPECT_EQ(disk->getTheDOM()->nodeFromID("W4").childText("CREATED_DATE"), "01 Jan 2027");
    EXPECT_EQ(page.childText("FAV"), "FALSE");
    for (const char *empty : {"DESCRIPTION", "NOTES", "KEYWORD1", "KEYWORD2", "FILESIZE", "HITS"})
        EXPECT_EQ(page.child(empty).text(), "") << empty;

    EXPECT_FALSE(builder.createFolderNode("Orphan", "T99"));
    EXPECT_EQ(builder.error(), "The folder T99 to import into no longer exists.");
}

TEST(ImportProgress, barSlowsAsItFillsAndIsDrawnAtMostEvery50ms)
{
    EXPECT_FLOAT_EQ(progressItemStep(0.0f), 1.0f);
    EXPECT_FLOAT_EQ(progressItemStep(59.5f), 60.5f);
    EXPECT_FLOAT_EQ(progressItemStep(79.9f), 80.4f);
    EXPECT_FLOAT_EQ(progressItemStep(98.95f), 99.05f);
    EXPECT_FLOAT_EQ(progressItemStep(99.05f), 99.05f);
    EXPECT_FLOAT_EQ(progressFillTo98(97.5f), 99.5f);
    EXPECT_FLOAT_EQ(progressFillTo98(98.0f), 98.0f);

    struct Counting : ImportProgress {
        int draws = 0;
        ProgressState last;
        void draw(const ProgressState &state) override
        {
            ++draws;
            last = state;
        }
    } progress;
    QElapsedTimer clock;
    clock.start();
    for (int i = 0; i < 20000; ++i)
        progress.setVardeckName(QString::number(i));
    const qint64 elapsed = clock.elapsed();
    EXPECT_LE(progress.draws, 2 + elapsed / ImportProgress::kRedrawIntervalMs);
    progress.flush();
    EXPECT_EQ(progress.last.vardeckName, "19999");
    EXPECT_GE(progress.last.bar, 99.0f);
    EXPECT_LT(progress.last.bar, 99.1f);
}

TEST(ImportBuilder, usedUpIdentifiersStopTheImportAndRollbackRestoresTheDocument)
{
    // 32766 Vardecks: the import can add exactly one more.
    QByteArray vardecks;
    for (int n = 1; n <= 32766; ++n)
        vardecks += "<VARDECK WID=\"W" + QByteArray::number(n) + "\"><NAME>v</NAME></VARDECK>";
    OpenDb open("<FOLDERS>" + folderXml("T1", "Full", vardecks) + "</FOLDERS>");
    const QByteArray before = open.doc().toBytes();
    QTemporaryDir favorites;
    writeBytes(favorites.filePath("a.url"), "URL=http://a/\r\n");
    writeBytes(favorites.filePath("b.url"), "URL=http://b/\r\n");

    ImportBuilder builder(open.db);
    FolderImport walk(builder);
    EXPECT_FALSE(walk.loadFavsFromFoundColl({favorites.path()}, WalkMode::Shortcuts, "Imported favorites"));
    EXPECT_EQ(walk.error(), "No more Vardecks can be added: every Vardeck number up to 32767 is in use.");
    EXPECT_EQ(builder.createdWIDs(), QStringList({"W32767"}));
    builder.rollback();
    EXPECT_EQ(open.doc().toBytes(), before);
    EXPECT_FALSE(open.doc().nodeFromID("W32767"));
    EXPECT_EQ(open.db.getNewWID(), "W32767");
}

TEST(FavoritesImport, importsTheTreeAsSavedAndASecondRunIntoANumberedTopFolder)
{
    FavoritesTree favorites;
    OpenDb open;
    ImportBuilder builder(open.db);
    builder.setToday(QDate(2026, 12, 7));
    FolderImport walk(builder);
    ASSERT_TRUE(walk.loadFavsFromFoundColl({favorites.root}, WalkMode::Shortcuts, "Imported favorites"));
    ASSERT_TRUE(open.db.save());

    const auto disk = open.reread();
    const XmlNode top = disk->getTheDOM()->documentElement().childElements().last();
    EXPECT_EQ(folderText(top),
              QString::fromUtf8("Imported favorites[]{Favorites 1[Example=http://b.example/x y,"
                                "Notes=http://notes.example/]{Empty[]{} News[Daily=http://news.example/]{"
                                "Tech[Caf\xc3\xa9=http://caf\xc3\xa9.example/]{}}}}"));
    EXPECT_EQ(top.attribute("TID"), builder.topTID());
    EXPECT_EQ(disk->getTheDOM()->nodeFromID("W2").childText("CREATED_DATE"), "07 Dec 2026");
    EXPECT_EQ(builder.importVDCount, 4);
    EXPECT_EQ(builder.importFolderCount, 3);
    ASSERT_EQ(walk.skipped(), 1);
    EXPECT_TRUE(walk.skippedItems()[0].startsWith(favorites.root + "/Broken.url: "));
    EXPECT_TRUE(builder.parentTIDStack().isEmpty());

    // A second run gets its own numbered top folder.
    ImportBuilder again(open.db);
    FolderImport second(again);
    const QString name = FolderImport::freeTopFolderName(open.doc(), "Imported favorites");
    ASSERT_TRUE(second.loadFavsFromFoundColl({favorites.root}, WalkMode::Shortcuts, name));
    const XmlNode last = open.lastTopFolder();
    EXPECT_EQ(last.childText("NAME") + "/" + last.child("SUBFOLDERS").firstChild().childText("NAME"),
              "Imported favorites (2)/Favorites 1");
}

TEST(PdfImport, takesDocumentsOfTheFolderOrOfTheWholeTreeIntoOneFolder)
{
    QTemporaryDir dir;
    const QString pdfs = dir.filePath("My%20Papers");
    for (const char *name : {"a.PDF", "b.pdf", "c.Pdf", "notes.txt", "xpdf", "Report.pdf.bak"})
        writeBytes(pdfs + "/" + name, "%PDF-1.4");
    writeBytes(pdfs + "/one/two/three/deep.pdf", "%PDF-1.4");
    writeBytes(pdfs + "/one/b.pdf", "%PDF-1.4");
    QFile::link(pdfs, pdfs + "/one/up");

    OpenDb open;
    for (bool withSubfolders : {false, true}) {
        ImportBuilder builder(open.db);
        FolderImport walk(builder);
        ASSERT_TRUE(walk.loadFavsFromFoundColl({pdfs}, WalkMode::Documents, "Imported PDF documents", withSubfolders));
        EXPECT_EQ(builder.importFolderCount, 0);
    }
    const QList<XmlNode> tops = open.doc().documentElement().childElements();
    ASSERT_EQ(tops.size(), 3);
    const QString p = pdfs + "/";
    EXPECT_EQ(folderText(tops[1]),
              "Imported PDF documents[a=" + p + "a.PDF,b=" + p + "b.pdf,c=" + p + "c.Pdf,=" + p + "xpdf]{}");
    EXPECT_EQ(folderText(tops[2]), "Imported PDF documents[a=" + p + "a.PDF,b=" + p + "b.pdf,c=" + p + "c.Pdf,=" + p +
                                       "xpdf,b=" + p + "one/b.pdf,deep=" + p + "one/two/three/deep.pdf]{}");
    EXPECT_NE(tops[1].attribute("TID"), tops[2].attribute("TID"));
}
