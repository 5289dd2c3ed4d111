// The files of the Import/Export window: the progress window of a Firefox import names the
// bookmark file it read and when that file was written, so an old file taken over a newer
// one cannot pass unseen; a web page is exported under a name that opens as a web page.
#include "exchange/ui/frmimportexport.h"
#include "exchange/ui/frmprogress.h"
#include "exchange/ui/installexchange.h"
#include "explorer/explorerfixture.h"
#include "platform/mozlz4.h"
#include "platform/paths.h"
#include "support/dialogcontrols.h"

#include <QComboBox>
#include <QLabel>
#include <QRadioButton>

using namespace rr;
using namespace rr::test;

namespace
{

class ExchangeFilesTest : public ExplorerTest
{
protected:
    void SetUp() override
    {
        ExplorerTest::SetUp();
        openDatabase();
        dialog = new frmImportExport(exchangeWindowOf(*window));
        dialog->appDataPath = files.path();
        dialog->firefoxRoot = files.filePath(".mozilla/firefox");
        dialog->show();
    }
    void TearDown() override
    {
        delete frmProgress::current();
        ExplorerTest::TearDown();
    }
    void importFirefox()
    {
        prompts.answer(MsgResult::Yes);
        run(true, 1);
    }
    void run(bool import, int entry)
    {
        QTest::mouseClick(dialogControl<QRadioButton>(*dialog, import ? "opt(0)" : "opt(1)"), Qt::LeftButton);
        QComboBox *list =
            import ? dialogControl<QComboBox>(*dialog, "cmbImport") : dialogControl<QComboBox>(*dialog, "cmbExport");
        list->setCurrentIndex(entry);
        emit list->activated(entry);
        QTest::mouseClick(dialogControl<qbButtons_H>(*dialog, "cmdSave"), Qt::LeftButton);
        for (int i = 0; i < 200 && dialog->isRunning(); ++i)
            QTest::qWait(5);
    }
    QString write(const QString &path, const QByteArray &bytes, const char *when)
    {
        const QString full = files.filePath(".mozilla/firefox/" + path);
        writeBytes(full, bytes);
        QFile file(full);
        EXPECT_TRUE(file.open(QIODevice::ReadWrite));
        EXPECT_TRUE(
            file.setFileTime(QDateTime::fromString(when, "yyyy-MM-dd hh:mm"), QFileDevice::FileModificationTime));
        return QDir::toNativeSeparators(full);
    }

    QTemporaryDir files;
    frmImportExport *dialog = nullptr;
};

const QByteArray kLink = "<DL><p>\n<DT><A HREF=\"https://a.example/\">A</A>\n</DL>\n";

} // namespace

TEST_F(ExchangeFilesTest, theSummaryNamesTheFileReadOrCountsSeveralAndListsThemInItsTip)
{
    write("a.default/bookmarks.html", kLink, "2024-01-02 03:04");
    const QString backup =
        write("a.default/bookmarkbackups/bookmarks-2026-12-06_1_x.jsonlz4",
              mozlz4::compress(R"({"children":[{"title":"B","uri":"https://b.example/"}]})"), "2026-12-06 21:15");
    importFirefox();
    frmProgress *progress = frmProgress::current();
    ASSERT_NE(progress, nullptr);
    EXPECT_EQ(progress->windowTitle(), "Vardecks imported: 1");
    EXPECT_TRUE(dialogControl<QLabel>(*progress, "lblRead")->isVisibleTo(progress));
    EXPECT_EQ(dialogControl<QLabel>(*progress, "lblRead")->toolTip(), backup + ", written 2026-12-06 21:15");
    // The file without its folder, shortened in its middle where it is long.
    const QString shown = dialogControl<QLabel>(*progress, "lblRead")->text();
    EXPECT_TRUE(shown.startsWith("Read: bookmarks-2026-12-06")) << shown.toStdString();
    EXPECT_TRUE(shown.endsWith(", written 2026-12-06 21:15")) << shown.toStdString();
    EXPECT_FALSE(shown.contains("a.default")) << shown.toStdString();
    EXPECT_EQ(dialogControl<QLabel>(*progress, "lblName2")->text(), "Task completed");

    const QString second = write("b.default/bookmarks.html", kLink, "2026-12-07 08:00");
    importFirefox();
    EXPECT_EQ(dialogControl<QLabel>(*progress, "lblRead")->text(), "Files read: 2");
    EXPECT_EQ(dialogControl<QLabel>(*progress, "lblRead")->toolTip(),
              backup + ", written 2026-12-06 21:15\n" + second + ", written 2026-12-07 08:00");
    EXPECT_LE(dialogControl<QLabel>(*progress, "lblRead")->geometry().bottom(),
              dialogControl<QLabel>(*progress, "lblFolders")->y())
        << "above the counts";

    // The next import of another kind starts without it.
    progress->begin();
    EXPECT_FALSE(dialogControl<QLabel>(*progress, "lblRead")->isVisibleTo(progress));
}

TEST_F(ExchangeFilesTest, aWebPageExportedUnderANameWithoutItsEndingGetsHtm)
{
    QFile::copy(paths::installedDataFolder() + "/DeVivozoda/VD_plain.xsl", home.databaseFolder() + "VD_plain.xsl");
    const struct {
        const char *typed, *written;
    } cases[] = {
        {"links", "links.htm"},         {"links.HTM", "links.HTM"},   {"page.html", "page.html"},
        {"notes.txt", "notes.txt.htm"}, {"my.pages", "my.pages.htm"},
    };
    for (const auto &c : cases) {
        const QString written = files.filePath(c.written);
        prompts.answerFile(files.filePath(c.typed));
        prompts.answer(MsgResult::No);
        run(false, 2);
        EXPECT_EQ(prompts.lastText(), "Your Vardecks have been successfully been exported to " + written +
                                          ". Do you wish to view the file now?");
        EXPECT_TRUE(readBytes(written).contains("<html")) << c.typed;
        if (QString(c.typed) != c.written) {
            EXPECT_FALSE(QFile::exists(files.filePath(c.typed))) << c.typed;
        }
    }

    // The file with the ending added is the one asked about before it is replaced.
    writeBytes(files.filePath("links.htm"), "mine");
    prompts.answerFile(files.filePath("links"));
    prompts.answer(MsgResult::No);
    run(false, 2);
    EXPECT_EQ(prompts.lastText(),
              "The file " + files.filePath("links.htm") + " already exists - do you wish to overwrite it?");
    EXPECT_EQ(readBytes(files.filePath("links.htm")), "mine");
}
