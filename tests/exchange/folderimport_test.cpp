#include "exchange/folderimport.h"
#include "exchangefixture.h"

#include <QTemporaryDir>

using namespace rr;
using namespace rr::test;

namespace
{

// A Favorites folder as it arrives from other computers: nested folders, shortcut
// files with sections, BASEURL and IconFile lines, empty, UTF-16 and garbage files,
// a file that cannot be read, a picture, an empty folder and a link back up the tree.
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
