// An import or a merge that could not be saved is taken back: the database then holds
// an unsaved change only if it held one before.
#include "exchange/databasemerge.h"
#include "exchange/exchangefixture.h"
#include "exchange/importbuilder.h"
#include "platform/atomicfile.h"

#include <QTemporaryDir>

using namespace rr;
using namespace rr::test;

TEST(Rollback, aTakenBackImportOrMergeLeavesTheUnsavedStateAsItWasBefore)
{
    QTemporaryDir dir;
    const QString other = dir.filePath("Other.xml");
    writeBytes(other,
               "<?xml version='1.0'?>\n<FOLDERS>" + folderXml("T1", "Merged", vardeckXml("W1", "m1")) + "</FOLDERS>");
    // Each way adds a folder to the document and returns what takes it back.
    const std::pair<const char *, std::function<std::function<void()>(XMLDatabase &)>> ways[] = {
        {"import",
         [](XMLDatabase &db) -> std::function<void()> {
             auto builder = std::make_shared<ImportBuilder>(db);
             EXPECT_FALSE(builder->createFolderNode("Imported", "").isNull());
             return [builder] { builder->rollback(); };
         }},
        {"merge",
         [&other](XMLDatabase &db) -> std::function<void()> {
             auto merge = std::make_shared<DatabaseMerge>(db);
             EXPECT_TRUE(merge->merge(other)) << qPrintable(merge->error());
             return [merge] { merge->rollback(); };
         }},
    };
    for (const auto &[way, add] : ways) {
        for (const bool unsavedBefore : {false, true}) {
            SCOPED_TRACE(std::string(way) + (unsavedBefore ? ", with an unsaved change before" : ""));
            OpenDb open;
            // Another program changed the file: no save writes over it here.
            ASSERT_TRUE(writeFileAtomically(open.path, readBytes(open.path) + "<!-- theirs -->"));
            if (unsavedBefore) {
                open.doc().nodeFromID("T1").setChildText("NAME", "Renamed");
                ASSERT_FALSE(open.db.save());
            }
            ASSERT_EQ(open.db.hasUnsavedChanges(), unsavedBefore);
            const std::function<void()> takeBack = add(open.db);
            ASSERT_FALSE(open.db.save());
            ASSERT_TRUE(open.db.hasUnsavedChanges());
            takeBack();
            EXPECT_EQ(open.db.hasUnsavedChanges(), unsavedBefore);
            EXPECT_EQ(open.doc().documentElement().childElements().size(), 1);
        }
    }
}
