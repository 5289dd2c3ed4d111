#include "explorer/editing.h"
#include "importexportfixture.h"
#include "support/failingdisk.h"

#include <QLabel>

using namespace rr;
using namespace rr::test;

namespace
{

class FileExchangeTest : public ImportExportTest
{
protected:
    void SetUp() override
    {
        ImportExportTest::SetUp();
        dialog->appDataPath = files.path();
        dialog->firefoxRoot = files.filePath(".mozilla/firefox");
    }
    static QByteArray data(const QString &name) { return readBytes(dataFile("exchange/" + name)); }
};

} // namespace

TEST_F(FileExchangeTest, firefoxImportSaysWhatItCannotFindAndImportsWhatItFinds)
{
    const QByteArray before = fileBytes();
    const QString root = files.filePath(".mozilla/firefox");
    prompts.answer(MsgResult::Yes);
    run(true, 1);
    EXPECT_EQ(prompts.messages()[0].title, "Import bookmarks?");
    EXPECT_EQ(prompts.messages()[0].text, "You are about to import your Firefox bookmarks on this computer into "
                                          "Razuzezu Revidod.  Do you wish to proceed?");
    EXPECT_EQ(prompts.lastText(), "The folder " + root + " could not be found");

    QDir().mkpath(root + "/abc.default");
    prompts.answer(MsgResult::Yes);
    run(true, 1);
    EXPECT_EQ(prompts.lastText(), "No bookmarks files could be found in " + root + " or any of its subfolders.");
    EXPECT_EQ(fileBytes(), before);
    EXPECT_EQ(doc()->documentElement().childElements().size(), 3);

    // Profiles in Firefox's own folder and in the XDG configuration folder are both read.
    writeBytes(root + "/abc.default/bookmarks.html", data("bookmarks.html"));
    qputenv("XDG_CONFIG_HOME", files.filePath("xdg").toUtf8());
    writeBytes(files.filePath("xdg/mozilla/firefox/abc.default/bookmarks.html"), data("bookmarks.html"));
    prompts.answer(MsgResult::Yes);
    run(true, 1);
    qunsetenv("XDG_CONFIG_HOME");
    ASSERT_NE(frmProgress::current(), nullptr);
    EXPECT_EQ(frmProgress::current()->windowTitle(), "Vardecks imported: 4");
    EXPECT_EQ(frmProgress::current()->lblFolders->text(), "2");
    EXPECT_EQ(topics()->currentItem()->text(0), "Imported Firefox bookmarks");
}

TEST_F(FileExchangeTest, mergeAddsTheOtherDatabaseOrLeavesTheFileAsItWas)
{
    const QString other = files.filePath("other/Other.xml");
    writeBytes(other, "<?xml version='1.0'?>\n<!DOCTYPE FOLDERS SYSTEM 'Vardecks.dtd'>\n<FOLDERS>" +
                          folderXml("T1", "Merged", vardeckXml("W1", "m1") + vardeckXml("W2", "m2"),
                                    folderXml("T2", "Below", vardeckXml("W3", "m3"))) +
                          "</FOLDERS>");
    const QByteArray before = fileBytes();
    const QByteArray documentBefore = doc()->toBytes();
    prompts.answerFile(other);
    {
        FailingDisk disk(200);
        run(true, 3);
    }
    EXPECT_TRUE(prompts.lastText().startsWith("The imported folders and Vardecks could not be saved, so nothing was "
                                              "added: "));
    EXPECT_EQ(fileBytes(), before);
    EXPECT_EQ(doc()->toBytes(), documentBefore);
    ASSERT_EQ(prompts.fileRequests().size(), 1u);
    EXPECT_EQ(prompts.fileRequests()[0].title, "Import Vardecks database...");
    EXPECT_EQ(prompts.fileRequests()[0].startFolder, home.databaseFolder());

    // The Vardeck shown before goes, and the panel says so rather than going blank.
    installEditing(*window);
    showVardeck("T1", "W1");
    prompts.answerFile(other);
    run(true, 3);
    EXPECT_EQ(window->tabView->TabCaption(0).trimmed(), "No Vardeck selected");
    EXPECT_EQ(window->lbl(12)->text(), "0");
    ASSERT_NE(frmProgress::current(), nullptr);
    EXPECT_EQ(frmProgress::current()->windowTitle(), "Vardecks imported: 3");
    EXPECT_EQ(frmProgress::current()->lblName2->text(), "Task completed");
    EXPECT_EQ(root()->childCount(), 4);
    EXPECT_EQ(window->lblTName->text(), "No folder selected");
    XMLDatabase disk;
    ASSERT_TRUE(disk.openDBValidate(path));
    EXPECT_EQ(disk.getTheDOM()->documentElement().childElements().last().childText("NAME"), "Merged");
    EXPECT_EQ(disk.getTheDOM()->countElements("VARDECK"), 6);
    EXPECT_FALSE(QFile::exists(files.filePath("other/Vardecks.dtd")));

    prompts.answer(MsgResult::Ok);
    run(true, 3); // the file dialog cancelled
    EXPECT_EQ(disk.getTheDOM()->countElements("VARDECK"), 6);
}

TEST_F(FileExchangeTest, csvExportAsksBeforeOverwritingAndReportsAFailedWrite)
{
    const QString csv = files.filePath("out.csv");
    prompts.answerFile(csv);
    run(false, 5);
    EXPECT_EQ(prompts.lastText(), "Your Vardecks have been successfully been exported to " + csv + ".");
    ASSERT_EQ(prompts.fileRequests().size(), 1u);
    EXPECT_EQ(prompts.fileRequests()[0].title, "Choose a folder and file name to save as a CSV file");
    EXPECT_EQ(prompts.fileRequests()[0].defaultName, "Vardecks");
    EXPECT_EQ(prompts.fileRequests()[0].filters, QStringList({"CSV Files (*.csv)"}));
    EXPECT_TRUE(readBytes(csv).startsWith("NAME,ADDRESS,DESCRIPTION,CREATED DATE,LAST VISITED,KEYWORDS,FILE SIZE,"
                                          "NOTES\r\nBeta site,http://www.beta.example/docs/page.html,A page,"));

    writeBytes(csv, "mine");
    prompts.answerFile(csv);
    prompts.answer(MsgResult::No);
    run(false, 5);
    EXPECT_EQ(prompts.lastText(), "The file " + csv + " already exists - do you wish to overwrite it?");
    EXPECT_EQ(prompts.messages().back().title, "Overwrite?");
    EXPECT_EQ(readBytes(csv), "mine");

    prompts.answerFile(files.filePath("new.csv"));
    {
        FailingDisk disk(20);
        run(false, 5);
    }
    EXPECT_TRUE(prompts.lastText().startsWith("Razuzezu Revidod could not create the file to be exported.  Please "
                                              "contact support for assistance.\n\n"));
    EXPECT_FALSE(QFile::exists(files.filePath("new.csv")));
}

TEST_F(FileExchangeTest, firefoxExportWritesTheProfileFileAndSaysHowFirefoxTakesIt)
{
    const QString root = files.filePath(".mozilla/firefox");
    QDir().mkpath(root);
    run(false, 1);
    EXPECT_EQ(prompts.messages()[0].text, "Please close all open instances of Mozilla Firefox.  Your Vardecks and "
                                          "folders will be exported to a directory called Imported Vardecks.");
    EXPECT_TRUE(prompts.lastText().startsWith("No Firefox bookmarks file (bookmarks.html) could be found in " + root +
                                              ", so nothing was exported."));

    const QString file = root + "/abc.default/bookmarks.html";
    writeBytes(file, data("bookmarks.html"));
    dialog->exportTime = QDateTime::fromSecsSinceEpoch(1765100000, Qt::UTC);
    run(false, 1);
    EXPECT_EQ(prompts.lastText(), "Your Vardecks have been successfully been exported to Mozilla Firefox bookmarks.\n\n"
                                  "They were added as the folder Imported Vardecks to " +
                                      file + "; the file as it was is kept as " + file +
                                      ".bak.  Firefox does not read this file back by itself: in its Library "
                                      "(Bookmarks > Manage Bookmarks) choose Import and Backup > Import Bookmarks "
                                      "from HTML... and pick this file.");
    EXPECT_TRUE(readBytes(file).contains("<DT><H3 ADD_DATE=\"1765100000\" ID=\"rdf:#T7\">Imported Vardecks</H3>\n"));
}

TEST_F(FileExchangeTest, webExportWritesThePageOfEachStylesheetAndOffersToShowIt)
{
    QByteArray body = data("collection.xml");
    openDatabase(body.mid(body.indexOf("<FOLDERS>")));
    for (const char *sheet : {"VD_plain.xsl", "VDAll_plain.xsl", "VDFavs_plain.xsl"})
        QFile::copy(paths::installedDataFolder() + "/DeVivozoda/" + sheet, home.databaseFolder() + sheet);
    const QStringList pages = {"web-folders.htm", "web-all.htm", "web-favorites.htm"};
    for (int i = 0; i < 3; ++i) {
        const QString page = files.filePath(pages[i]);
        prompts.answerFile(page);
        prompts.answer(i == 2 ? MsgResult::Yes : MsgResult::No);
        run(false, 2 + i);
        EXPECT_EQ(prompts.messages().back().title, "View exported file?");
        EXPECT_EQ(prompts.lastText(), "Your Vardecks have been successfully been exported to " + page +
                                          ". Do you wish to view the file now?");
        EXPECT_EQ(readBytes(page), data(pages[i])) << pages[i].toStdString();
    }
    EXPECT_EQ(prompts.fileRequests()[0].title, "Choose a folder and file name to save as a web page");
    EXPECT_EQ(launcher.openedUrls(), QStringList({QUrl::fromLocalFile(files.filePath(pages[2])).toString()}));

    QFile::remove(home.databaseFolder() + "VDFavs_plain.xsl");
    const size_t asked = prompts.fileRequests().size();
    run(false, 4);
    EXPECT_TRUE(prompts.lastText().startsWith("Razuzezu Revidod could not create the file to be exported.  Please "
                                              "contact support for assistance.\n\n"));
    EXPECT_EQ(prompts.fileRequests().size(), asked);
}
