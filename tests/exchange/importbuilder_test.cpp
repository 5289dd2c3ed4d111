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
