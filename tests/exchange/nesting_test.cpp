// Imports keep the database's nesting limit in one way, whatever they read: folders
// deeper than a database holds go beside the deepest folder with all they hold.
#include "exchange/bookmarkimport.h"
#include "exchange/folderimport.h"
#include "exchangefixture.h"

#include <gtest/gtest.h>

using namespace rr;
using namespace rr::test;

namespace
{

// The deepest FOLDER level below element, and how many folders and Vardecks it holds.
struct Shape {
    int deepest = 0;
    int folders = 0;
    int vardecks = 0;
};
Shape shapeOf(const XmlNode &folder, int level = 1)
{
    Shape shape{level, 1, int(folder.child("VARDECKS").childElements().size())};
    for (const XmlNode &sub : folder.child("SUBFOLDERS").childElements()) {
        const Shape inner = shapeOf(sub, level + 1);
        shape.deepest = std::max(shape.deepest, inner.deepest);
        shape.folders += inner.folders;
        shape.vardecks += inner.vardecks;
    }
    return shape;
}

} // namespace

TEST(ImportNesting, deeperFoldersOfAFolderTreeOrABookmarkFileGoBesideTheDeepestAndNothingIsLost)
{
    // A chain of folders, each with one link, two levels deeper than a database holds
    // once under the top folder and the listed folder's own.
    const int chain = kMaxFolderLevels;
    QTemporaryDir dir;
    const QString root = dir.filePath("Favorites");
    QString path = root;
    QByteArray html = "<DL><p>";
    for (int i = 1; i <= chain; ++i) {
        path += "/L" + QString::number(i);
        writeBytes(path + "/x.url", "[InternetShortcut]\r\nURL=http://x.example/" + QByteArray::number(i) + "\r\n");
        html += "<DT><H3>L" + QByteArray::number(i) + "</H3><DL><p><DT><A HREF=\"http://x.example/\">x</A>";
    }
    for (int i = 1; i <= chain; ++i)
        html += "</DL><p>";
    writeBytes(dir.filePath("bookmarks.html"), html + "</DL>");

    struct Case {
        const char *name;
        std::function<bool(ImportBuilder &, QStringList *)> import;
        int folders; // the top folder included
        int moved;
        QString note;
    };
    const QString movedNote = QStringLiteral(": %1 folders nested more than %2 levels deep were put at level %2");
    const Case cases[] = {
        {"a folder tree of shortcuts",
         [&](ImportBuilder &builder, QStringList *notes) {
             FolderImport walk(builder);
             const bool done = walk.loadFavsFromFoundColl({root}, WalkMode::Shortcuts, "Imported favorites");
             *notes = walk.movedItems();
             return done && walk.movedFolders() == chain + 2 - kMaxFolderLevels;
         },
         chain + 2, chain + 2 - kMaxFolderLevels, root + movedNote.arg(2).arg(kMaxFolderLevels)},
        {"a bookmark file",
         [&](ImportBuilder &builder, QStringList *notes) {
             BookmarkFileImport import(builder);
             const bool done = import.run({dir.filePath("bookmarks.html")}, "Imported bookmarks");
             *notes = import.movedItems();
             return done && import.movedFolders() == chain + 1 - kMaxFolderLevels;
         },
         chain + 1, chain + 1 - kMaxFolderLevels,
         dir.filePath("bookmarks.html") + movedNote.arg(1).arg(kMaxFolderLevels)},
    };
    for (const Case &c : cases) {
        OpenDb open;
        ImportBuilder builder(open.db);
        QStringList notes;
        EXPECT_TRUE(c.import(builder, &notes)) << c.name;
        EXPECT_EQ(notes, QStringList({c.note})) << c.name;
        ASSERT_TRUE(open.db.save().written()) << c.name;
        const auto disk = open.reread();
        const Shape shape = shapeOf(disk->getTheDOM()->nodeFromID(builder.topTID()));
        EXPECT_EQ(shape.deepest, kMaxFolderLevels) << c.name;
        EXPECT_EQ(shape.folders, c.folders) << c.name;
        EXPECT_EQ(shape.vardecks, chain) << c.name << ": every link kept";
    }
}
