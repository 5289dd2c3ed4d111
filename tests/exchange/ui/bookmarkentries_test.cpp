// The entries of the Import/Export window for the Chromium-family browsers and for one
// bookmark file, both ways: each through the window as a user runs it, with files the
// real browsers and buku wrote.
#include "controls/qbbuttons_h.h"
#include "exchange/ui/frmimportexport.h"
#include "exchange/ui/frmprogress.h"
#include "exchange/ui/installexchange.h"
#include "explorer/explorerfixture.h"
#include "support/dialogcontrols.h"

#include <QComboBox>
#include <QElapsedTimer>
#include <QLabel>
#include <QRadioButton>

using namespace rr;
using namespace rr::test;

namespace
{

// Lets window events run until done() or 10 seconds have passed; true when done.
bool waitUntil(const std::function<bool()> &done)
{
    QElapsedTimer clock;
    clock.start();
    while (!done() && clock.elapsed() < 10000)
        QTest::qWait(5);
    return done();
}

constexpr int kChromiumEntry = 5;
constexpr int kBookmarkFileImport = 6;
constexpr int kBookmarkFileExport = 6;

class BookmarkEntriesTest : public ExplorerTest
{
protected:
    void SetUp() override
    {
        ExplorerTest::SetUp();
        openDatabase();
        qunsetenv("XDG_CONFIG_HOME");
        dialog = new frmImportExport(exchangeWindowOf(*window));
        dialog->importDay = QDate(2026, 12, 7);
        dialog->appDataPath = files.path();
        dialog->show();
    }
    void TearDown() override
    {
        delete frmProgress::current();
        ExplorerTest::TearDown();
    }

    // Chooses an entry as the user does, presses OK and waits for the run's end.
    void run(bool import, int entry)
    {
        QTest::mouseClick(dialogControl<QRadioButton>(*dialog, import ? "opt(0)" : "opt(1)"), Qt::LeftButton);
        QComboBox *list =
            import ? dialogControl<QComboBox>(*dialog, "cmbImport") : dialogControl<QComboBox>(*dialog, "cmbExport");
        list->setCurrentIndex(entry);
        emit list->activated(entry);
        QTest::mouseClick(dialogControl<qbButtons_H>(*dialog, "cmdSave"), Qt::LeftButton);
        ASSERT_TRUE(waitUntil([this] { return !dialog->isRunning(); }));
    }
    QString progressTitle() const { return frmProgress::current() ? frmProgress::current()->windowTitle() : ""; }
    // The names of the top folders of the database as saved.
    QStringList savedTops() const
    {
        QStringList out;
        for (const XmlNode &top : freshDb().getTheDOM()->documentElement().childElements())
            out << top.childText("NAME");
        return out;
    }

    QTemporaryDir files;
    frmImportExport *dialog = nullptr;
};

} // namespace

TEST_F(BookmarkEntriesTest, theNewEntriesComeLastInTheirListsWithTheirDescriptions)
{
    const struct {
        const char *list;
        int entry;
        const char *text;
        const char *description;
    } entries[] = {
        {"cmbImport", kChromiumEntry, "Chromium bookmarks",
         "Import your Chromium, Google Chrome, Brave, Vivaldi and Microsoft Edge bookmarks and folders into Razuzezu "
         "Revidod.  These will be stored in a new folder for each browser and profile, such as Imported Chromium "
         "bookmarks"},
        {"cmbImport", kBookmarkFileImport, "Bookmark file",
         "Import a bookmark file that a browser or another program wrote (HTML, a Firefox backup or a Chromium "
         "Bookmarks file) into Razuzezu Revidod.  These will be stored in a new folder named after the file"},
        {"cmbExport", kBookmarkFileExport, "Bookmark file",
         "Export your Razuzezu Revidod folders and Vardecks to a bookmark file (HTML), which Firefox, Chromium and "
         "other bookmark programs import as it is."},
    };
    for (const auto &e : entries) {
        SCOPED_TRACE(e.text);
        QComboBox *list = dialogControl<QComboBox>(*dialog, e.list);
        EXPECT_EQ(list->count(), 7);
        QTest::mouseClick(dialogControl<QRadioButton>(*dialog, list->objectName() == "cmbImport" ? "opt(0)" : "opt(1)"),
                          Qt::LeftButton);
        list->setCurrentIndex(e.entry);
        emit list->activated(e.entry);
        EXPECT_EQ(list->currentText(), e.text);
        EXPECT_EQ(dialogControl<QLabel>(*dialog, "lblDesc")->text(), e.description);
    }
}

TEST_F(BookmarkEntriesTest, chromiumImportAsksThenMakesAFolderForEachProfileOrSaysWhereItLooked)
{
    const QByteArray before = fileBytes();
    prompts.answer(MsgResult::Yes);
    run(true, kChromiumEntry);
    ASSERT_EQ(prompts.messages().size(), 2u);
    EXPECT_EQ(prompts.messages()[0].title, "Import bookmarks?");
    EXPECT_EQ(prompts.messages()[0].text, "You are about to import your Chromium, Google Chrome, Brave, Vivaldi and "
                                          "Microsoft Edge bookmarks on this computer into Razuzezu Revidod.  Do you "
                                          "wish to proceed?");
    EXPECT_EQ(prompts.lastText(), "No Chromium bookmarks could be found: none of Chromium, Google Chrome, Brave, "
                                  "Vivaldi, Microsoft Edge keeps a Bookmarks file in " +
                                      files.filePath(".config") + " or in its Flatpak or Snap folder.");
    EXPECT_EQ(fileBytes(), before);

    // The profiles real Chromium wrote, one of them in the Flatpak's home.
    writeBytes(files.filePath(".config/chromium/Default/Bookmarks"),
               readBytes(dataFile("exchange/chromium-Bookmarks")));
    writeBytes(files.filePath(".var/app/org.chromium.Chromium/config/chromium/Profile 1/Bookmarks"),
               readBytes(dataFile("exchange/chromium-profile1-Bookmarks")));
    prompts.answer(MsgResult::No);
    run(true, kChromiumEntry);
    EXPECT_EQ(fileBytes(), before);
    prompts.answer(MsgResult::Yes);
    run(true, kChromiumEntry);
    EXPECT_EQ(progressTitle(), "Vardecks imported: 20");
    EXPECT_EQ(dialogControl<QLabel>(*frmProgress::current(), "lblFolders")->text(), "14");
    EXPECT_EQ(savedTops().mid(savedTops().size() - 2),
              QStringList({"Imported Chromium bookmarks", "Imported Chromium bookmarks (Flatpak, Profile 1)"}));
    // Both are in the folder tree, the first one shown.
    EXPECT_EQ(childTexts(root()), QStringList({"Apple", "banana", "Imported Chromium bookmarks",
                                               "Imported Chromium bookmarks (Flatpak, Profile 1)", "zebra"}));
    ASSERT_NE(topics()->currentItem(), nullptr);
    EXPECT_EQ(topics()->currentItem()->text(0), "Imported Chromium bookmarks");
    EXPECT_EQ(rowIds().size(), 0) << "its links are in its sub-folders";
}

// A file picked in the file dialog, whatever its name, into a new folder named after it
// (each kind of file is read in tests/exchange/bookmarkformats_test.cpp).
TEST_F(BookmarkEntriesTest, aPickedBookmarkFileOfEachKindGoesIntoAFolderNamedAfterIt)
{
    const struct {
        const char *file;
        const char *saveAs;
        const char *imported;
        const char *folders;
    } cases[] = {
        {"chromium-Bookmarks", "Bookmarks", "Vardecks imported: 18", "11"},
        {"firefox-esr-backup.jsonlz4", "backup.txt", "Vardecks imported: 18", "11"},
        {"buku-export.html", "buku export", "Vardecks imported: 5", "1"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.file);
        const QString picked = files.filePath(c.saveAs);
        writeBytes(picked, readBytes(dataFile(QStringLiteral("exchange/") + c.file)));
        prompts.clear();
        prompts.answerFile(picked);
        run(true, kBookmarkFileImport);
        ASSERT_EQ(prompts.fileRequests().size(), 1u);
        EXPECT_EQ(prompts.fileRequests()[0].title, "Import a bookmark file");
        EXPECT_EQ(prompts.fileRequests()[0].filters,
                  QStringList({"Bookmark files (*.html *.htm *.json *.jsonlz4 Bookmarks)", "All files (*)"}));
        EXPECT_EQ(prompts.fileRequests()[0].startFolder, files.path());
        EXPECT_EQ(progressTitle(), c.imported);
        EXPECT_EQ(dialogControl<QLabel>(*frmProgress::current(), "lblFolders")->text(), c.folders);
        EXPECT_EQ(savedTops().last(), c.saveAs);
        EXPECT_EQ(topics()->currentItem()->text(0), c.saveAs);
    }
}

TEST_F(BookmarkEntriesTest, aPickedFileThatHoldsNoBookmarksIsRefusedWithWhatItIsAndNothingIsAdded)
{
    const QByteArray before = fileBytes();
    // Cancelled: nothing at all.
    run(true, kBookmarkFileImport);
    EXPECT_TRUE(prompts.messages().empty());
    EXPECT_EQ(frmProgress::current(), nullptr);

    const QString pdf = files.filePath("bookmarks.html");
    writeBytes(pdf, "%PDF-1.7\n");
    prompts.answerFile(pdf);
    run(true, kBookmarkFileImport);
    EXPECT_EQ(prompts.lastText(),
              "The import was stopped and nothing was added: the file " + pdf +
                  " cannot be read as bookmarks: it is a PDF document, not a bookmark file.\n\nThe bookmark files "
                  "that can be imported are those browsers and other programs write: an HTML bookmark file (which "
                  "Firefox, Chromium, buku and many others export), a Firefox bookmark backup (.json or .jsonlz4) or "
                  "a Chromium Bookmarks file.");
    EXPECT_EQ(prompts.messages().back().icon, MsgIcon::Exclamation);
    EXPECT_EQ(fileBytes(), before);
    EXPECT_EQ(doc()->documentElement().childElements().size(), 3);
}

TEST_F(BookmarkEntriesTest, theBookmarkFileExportWritesTheVardecksAloneAndSaysWhereTheyGoNext)
{
    dialog->exportTime = QDateTime::fromSecsSinceEpoch(1765100000, Qt::UTC);
    const QString chosen = files.filePath("for browsers");
    prompts.answerFile(chosen);
    run(false, kBookmarkFileExport);
    ASSERT_EQ(prompts.fileRequests().size(), 1u);
    EXPECT_EQ(prompts.fileRequests()[0].title, "Choose a folder and file name to save as a bookmark file");
    EXPECT_EQ(prompts.fileRequests()[0].filters, QStringList({"Bookmark files (*.html)"}));
    EXPECT_EQ(prompts.lastText(), "Your Vardecks have been exported to " + chosen +
                                      ".html.  Firefox (Import Bookmarks from HTML... in its Library), Chromium "
                                      "(Import bookmarks in its bookmark manager) and buku (buku --import) add them, "
                                      "with their folders, to the bookmarks they have.");
    const QByteArray written = readBytes(chosen + ".html");
    EXPECT_TRUE(written.startsWith("<!DOCTYPE NETSCAPE-Bookmark-file-1>\n"));
    EXPECT_TRUE(written.contains("    <DT><H3 ADD_DATE=\"1765100000\">zebra</H3>\n    <DL><p>\n"
                                 "        <DT><A HREF=\"http://www.beta.example/docs/page.html\" "
                                 "ADD_DATE=\"1765100000\">Beta site</A>\n"
                                 "        <DT><A HREF=\"ftp://files.example/x\" ADD_DATE=\"1765100000\">alpha &amp; "
                                 "co</A>\n"));

    // Exported again over it: asked first, and No leaves it.
    prompts.answerFile(chosen + ".html");
    prompts.answer(MsgResult::No);
    writeBytes(chosen + ".html", "kept");
    run(false, kBookmarkFileExport);
    EXPECT_EQ(prompts.lastText(), "The file " + chosen + ".html already exists - do you wish to overwrite it?");
    EXPECT_EQ(readBytes(chosen + ".html"), "kept");
}
