// Visits, the browser-opening commands and the Web Aspect's stylesheet files.
#include "platform/xmldocument.h"
#include "storage/useroptions.h"
#include "storage/xmldatabase.h"
#include "support/dbfixture.h"
#include "support/failingdisk.h"
#include "support/fakelauncher.h"
#include "support/testenv.h"
#include "web/aspectfiles.h"
#include "web/visits.h"

#include <QLocale>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <vector>

using namespace rr;

namespace
{

QByteArray bareVardeck(const QByteArray &wid, const QByteArray &children)
{
    return "<VARDECK WID=\"" + wid + "\"><NAME>n</NAME><ADDRESS>http://a.example/</ADDRESS>" + children + "</VARDECK>";
}

// A database of four Vardecks whose visit records differ, opened with listener,
// prompts and launcher in place.
class Visits : public ::testing::Test
{
protected:
    void SetUp() override
    {
        const QByteArray vardecks = test::vardeckXml("W1", "one") + bareVardeck("W2", "<KEYWORD2/><HITS></HITS>") +
                                    bareVardeck("W3", "<KEYWORD2>old</KEYWORD2><HITS>9</HITS><FAV>FALSE</FAV>") +
                                    bareVardeck("W4", "<FAV>TRUE</FAV>");
        path = test::writeDatabase(home.databaseFolder(), "Vardecks.xml",
                                   "<FOLDERS>" + test::folderXml("T1", "f", vardecks) + "</FOLDERS>");
        db.setPath(path);
        ASSERT_TRUE(db.openDBValidate(path));
        setVisitListener([this](const VisitRecord &r) { records.push_back(r); });
    }
    void TearDown() override
    {
        setVisitListener({});
        appOptions().setDefaultBrowser(QString());
    }

    QString childOnDisk(const QString &wid, const QString &child)
    {
        XMLDatabase reopened;
        EXPECT_TRUE(reopened.openDBValidate(path));
        return reopened.getTheDOM()->nodeFromID(wid).childText(child);
    }

    test::TempHome home;
    test::ScriptedPrompts prompts;
    test::FakeLauncher launcher;
    XMLDatabase db;
    QString path;
    std::vector<VisitRecord> records;
    const QDateTime evening{QDate(2026, 12, 5), QTime(19, 30)};
};

} // namespace

TEST_F(Visits, hitsGrowByOneStartAtTwoAndTheEnglishStampReachesTheListenerButNotForAVanishedVardeck)
{
    const QByteArray before = test::readBytes(path);
    EXPECT_EQ(updateLastAccessed(db, "W99", evening), "");
    EXPECT_EQ(updateLastAccessed(db, "T1", evening), ""); // a folder is no Vardeck
    EXPECT_EQ(updateLastAccessed(db, "", evening), "");
    XMLDatabase closed;
    EXPECT_EQ(updateLastAccessed(closed, "W1", evening), "") << "no database open";
    EXPECT_EQ(test::readBytes(path), before);
    EXPECT_FALSE(db.getTheDOM()->nodeFromID("T1").child("HITS"));
    EXPECT_TRUE(records.empty());

    const std::pair<const char *, const char *> cases[] = {{"W1", "2"}, {"W2", "2"}, {"W3", "10"}, {"W4", "2"}};
    for (const auto &[wid, hits] : cases) {
        EXPECT_EQ(updateLastAccessed(db, wid, evening), "05 Dec 2026 07:30 PM") << wid;
        EXPECT_EQ(childOnDisk(wid, "HITS"), hits) << wid;
        EXPECT_EQ(childOnDisk(wid, "KEYWORD2"), "05 Dec 2026 07:30 PM") << wid;
    }
    EXPECT_EQ(db.getTheDOM()->nodeFromID("W4").childElements().size(), 5) << "W4 gains exactly both children";

    // The stamp is English in any locale, and the listener hears it.
    QLocale::setDefault(QLocale(QLocale::French, QLocale::France));
    const QString stamp = updateLastAccessed(db, "W3", QDateTime(QDate(2026, 2, 7), QTime(9, 5)));
    QLocale::setDefault(QLocale::c());
    EXPECT_EQ(stamp, "07 Feb 2026 09:05 AM");
    EXPECT_EQ(childOnDisk("W3", "HITS"), "11");
    ASSERT_EQ(records.size(), 5u);
    EXPECT_EQ(records.back().wid, "W3");
    EXPECT_EQ(records.back().stamp, stamp);
    EXPECT_EQ(records.back().hits, "11");
    EXPECT_TRUE(records.back().saved);
    EXPECT_TRUE(prompts.messages().empty());
}

TEST_F(Visits, failedSaveShowsTheReasonAndKeepsTheChange)
{
    const QByteArray before = test::readBytes(path);
    QString stamp;
    {
        test::FailingDisk disk;
        stamp = updateLastAccessed(db, "W3", evening);
    }
    EXPECT_EQ(stamp, "05 Dec 2026 07:30 PM");
    EXPECT_EQ(test::readBytes(path), before);
    const XmlNode w3 = db.getTheDOM()->nodeFromID("W3");
    EXPECT_EQ(w3.childText("HITS"), "10");
    EXPECT_EQ(w3.childText("KEYWORD2"), stamp);
    ASSERT_EQ(prompts.messages().size(), 1u);
    EXPECT_FALSE(prompts.lastText().isEmpty());
    EXPECT_EQ(prompts.messages().back().icon, MsgIcon::Exclamation);
    ASSERT_EQ(records.size(), 1u);
    EXPECT_FALSE(records[0].saved);

    // The next visit saves both changes.
    updateLastAccessed(db, "W3", evening);
    EXPECT_EQ(childOnDisk("W3", "HITS"), "11");
}

TEST_F(Visits, openingAVardeckRecordsTheVisitEvenWhenTheBrowserFailsAndHomeAndBlankPagesDoNot)
{
    appOptions().setDefaultBrowser("Op"); // not installed
    EXPECT_EQ(openVardeckInBrowser(db, "W1", "http://a.example/x"), urlSupport::OpenResult::FellBackToDefault);
    EXPECT_EQ(childOnDisk("W1", "HITS"), "2");
    EXPECT_EQ(launcher.openedUrls(), QStringList{"http://a.example/x"});
    records.clear();
    prompts.clear();

    launcher.addProgram("firefox", "/usr/bin/firefox");
    appOptions().setDefaultBrowser("FF");
    const QByteArray before = test::readBytes(path);

    EXPECT_EQ(openHome("https://www.a.example/deep/er/page.html?x=1", "Deep"), urlSupport::OpenResult::Started);
    EXPECT_EQ(openBlankBrowserWindow(), urlSupport::OpenResult::Started);
    ASSERT_EQ(launcher.starts().size(), 2u);
    EXPECT_EQ(launcher.starts()[0].args, QStringList{"https://www.a.example/"});
    EXPECT_EQ(launcher.starts()[1].args, QStringList{"about:blank"});

    EXPECT_EQ(openHome("file:///home/me/page.html", "Local page"), urlSupport::OpenResult::Refused);
    ASSERT_EQ(prompts.messages().size(), 1u);
    EXPECT_EQ(prompts.lastText(), "The homepage for Local page could not be loaded");
    EXPECT_EQ(prompts.messages().back().icon, MsgIcon::Information);
    EXPECT_EQ(launcher.starts().size(), 2u);
    EXPECT_EQ(test::readBytes(path), before);
    EXPECT_TRUE(records.empty());
}

TEST(AspectFiles, onlyTheFiveViewStylesheetsAreUsedAsStoredStyles)
{
    EXPECT_EQ(aspectfiles::safeViewStylesheet("vdfavs.XSL"), "VDFavs.xsl");
    EXPECT_EQ(aspectfiles::safeViewStylesheet(" VDSearch.xsl "), "VDSearch.xsl");
    for (const char *stored :
         {"", "../../secret.xsl", "VD.xsl' href='http://evil.example/x.xsl", "VD_plain.xsl", "/tmp/VD.xsl"})
        EXPECT_EQ(aspectfiles::safeViewStylesheet(stored), "VD.xsl") << stored;
}

TEST(AspectFiles, theInstructionReplacesEveryXslInstructionWhateverItsQuotesAndCase)
{
    QTemporaryDir dir;
    const QString path = test::writeDatabase(dir.path(), "Vardecks.xml", "<FOLDERS/>");
    ASSERT_TRUE(test::writeBytes(
        path, "<?xml version='1.0'?>\n<?xml-stylesheet type='text/xsl' href='VDAll.xsl'?>\n"
              "<?xml-stylesheet type=\"text/xsl\" href=\"VDHits.xsl\"?>\n<?xml-stylesheet TYPE='Text/XSL' "
              "href='VDFavs.xsl'?>\n<?xml-stylesheet type='text/css' href='print.css'?>\n"
              "<!DOCTYPE FOLDERS SYSTEM 'Vardecks.dtd'>\n<FOLDERS/>\n"));
    XmlDocument doc;
    ASSERT_TRUE(doc.load(path)) << doc.parseErrorReason().toStdString();
    aspectfiles::setStylesheetInstruction(doc, "vdsearch.xsl");
    EXPECT_EQ(doc.processingInstructionData("xml-stylesheet"),
              QList<QString>({"type='text/xsl' href='VDSearch.xsl'", "type='text/css' href='print.css'"}));
    const QByteArray saved = doc.toBytes();
    EXPECT_TRUE(saved.startsWith("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<?xml-stylesheet type='text/xsl' "
                                 "href='VDSearch.xsl'?>\n"))
        << saved.left(200).toStdString();
}

TEST(AspectFiles, missingStylesheetsAndStylesArePutBesideTheDatabaseAndOthersKept)
{
    QTemporaryDir dir;
    ASSERT_TRUE(test::writeBytes(dir.filePath("VDStyle.css"), "body { color: red; }"));
    ASSERT_TRUE(aspectfiles::restoreMissing(dir.path() + "/"));
    for (const char *name :
         {"VD.xsl", "VDAll.xsl", "VDFavs.xsl", "VDHits.xsl", "VDSearch.xsl", "VD_plain.xsl", "VDAll_plain.xsl",
          "VDFavs_plain.xsl", "VD_plain.css", "VD_courier.css", "VD_comic.css", "VD_verdana.css"})
        EXPECT_TRUE(QFileInfo(dir.filePath(name)).isWritable()) << name;
    EXPECT_EQ(test::readBytes(dir.filePath("VDStyle.css")), "body { color: red; }");
    EXPECT_EQ(aspectfiles::pagePath("/d/", "HitsTemp"), "/d/VardecksHitsTemp.htm");
}
