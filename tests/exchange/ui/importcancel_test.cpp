// Every import and the merge can be stopped from their progress window, by its Cancel
// button or its close box, at any time before they save: the database is then as it
// was, in memory and on disk, and the user is told that nothing was added. Once the
// import saves, it can no longer be cancelled.
#include "exchange/ui/frmdirselect.h"
#include "exchange/ui/frmimportexport.h"
#include "exchange/ui/frmprogress.h"
#include "exchange/ui/installexchange.h"
#include "explorer/explorerfixture.h"
#include "support/dialogcontrols.h"
#include "support/workhold.h"

#include <QComboBox>
#include <QRadioButton>
#include <QtTest/qtestspontaneevent.h>

using namespace rr;
using namespace rr::test;

namespace
{

const QString kCancelled = QStringLiteral("The import was cancelled, so nothing was added.");

enum class Entry { Favorites = 0, Firefox = 1, Database = 3, Documents = 4 };
enum class Way { CancelButton, CloseBox };

class ImportCancelTest : public ExplorerTest
{
protected:
    void SetUp() override
    {
        ExplorerTest::SetUp();
        openDatabase();
        favorites = files.filePath("Favorites");
        for (const char *name : {"One", "Two", "Sub/Three"})
            writeBytes(favorites + "/" + name + ".url",
                       QByteArray("[InternetShortcut]\r\nURL=http://") + name + ".example/\r\n");
        for (const char *name : {"Papers/a.pdf", "Papers/b.pdf"})
            writeBytes(files.filePath(name), "%PDF-1.4\n");
        const QByteArray bookmarks = readBytes(dataFile("exchange/bookmarks.html"));
        for (const char *profile : {"a.default", "b.default"})
            writeBytes(files.filePath(QStringLiteral(".mozilla/firefox/%1/bookmarks.html").arg(profile)), bookmarks);
        other = files.filePath("Other.xml");
        writeBytes(other, "<?xml version='1.0'?>\n<!DOCTYPE FOLDERS SYSTEM 'Vardecks.dtd'>\n<FOLDERS>" +
                              folderXml("T1", "Merged", vardeckXml("W1", "m1") + vardeckXml("W2", "m2")) +
                              folderXml("T2", "Also merged", vardeckXml("W3", "m3")) + "</FOLDERS>");
        dialog = new frmImportExport(exchangeWindowOf(*window));
        dialog->appDataPath = files.path();
        dialog->firefoxRoot = files.filePath(".mozilla/firefox");
        dialog->favoritesPath = favorites;
        dialog->chooseFolder = [this](QWidget *) {
            return std::optional<FolderChoice>({files.filePath("Papers"), false});
        };
        dialog->show();
    }
    void TearDown() override
    {
        delete frmProgress::current();
        ExplorerTest::TearDown();
    }

    // Chooses the entry as the user does and presses OK; returns once the run is over.
    void run(Entry entry)
    {
        if (entry == Entry::Database)
            prompts.answerFile(other);
        else if (entry != Entry::Documents)
            prompts.answer(MsgResult::Yes);
        QTest::mouseClick(dialogControl<QRadioButton>(*dialog, "opt(0)"), Qt::LeftButton);
        auto *list = dialogControl<QComboBox>(*dialog, "cmbImport");
        list->setCurrentIndex(int(entry));
        emit list->activated(int(entry));
        QTest::mouseClick(dialogControl<qbButtons_H>(*dialog, "cmdSave"), Qt::LeftButton);
        ASSERT_TRUE(QTest::qWaitFor([&] { return !dialog->isRunning(); }, 20000));
    }
    // The user's press on the progress window: its Cancel button, or its close box.
    static void stop(Way way)
    {
        frmProgress *progress = frmProgress::current();
        ASSERT_NE(progress, nullptr);
        if (way == Way::CancelButton) {
            QTest::mouseClick(dialogControl<qbButtons_H>(*progress, "cmdCancel"), Qt::LeftButton);
            return;
        }
        auto *close = new QCloseEvent;
        QSpontaneKeyEvent::setSpontaneous(close);
        QCoreApplication::sendEvent(progress->windowHandle(), close);
        delete close;
    }
    // Runs act from the event loop as soon as an import's progress window is up, which
    // is in the middle of the import.
    static void onceRunning(std::function<void()> act)
    {
        QMetaObject::invokeMethod(
            qApp,
            [act] {
                frmProgress *progress = frmProgress::current();
                if (progress && dialogControl<qbButtons_H>(*progress, "cmdCancel")->isVisible())
                    act();
                else
                    onceRunning(act);
            },
            Qt::QueuedConnection);
    }
    int topFolders() const { return int(doc()->documentElement().childElements().size()); }

    QTemporaryDir files;
    QString favorites;
    QString other;
    frmImportExport *dialog = nullptr;
};

} // namespace

TEST_F(ImportCancelTest, aCancelledImportLeavesTheDatabaseAsItWasAndSaysSo)
{
    const struct {
        const char *what;
        Entry entry;
        Way way;
        // The start of long work on its own thread at which the user stops it: the
        // bookmark import's second file read, the merge's release of the other file
        // once its folders are in; 0: as the progress window first shows.
        int atWork;
    } cases[] = {
        {"the Favorites import, at once", Entry::Favorites, Way::CancelButton, 0},
        {"the PDF import, by the close box", Entry::Documents, Way::CloseBox, 0},
        {"the bookmark import, between its two files", Entry::Firefox, Way::CancelButton, 2},
        {"the merge, with the folders in", Entry::Database, Way::CloseBox, 2},
    };
    const QByteArray fileBefore = fileBytes();
    const QByteArray documentBefore = doc()->toBytes();
    const int foldersBefore = topFolders();
    for (const auto &c : cases) {
        SCOPED_TRACE(c.what);
        prompts.clear();
        std::optional<WorkHold> hold;
        if (c.atWork > 0)
            hold.emplace(c.atWork, [&] { stop(c.way); });
        else
            onceRunning([&] { stop(c.way); });
        run(c.entry);
        if (hold) {
            EXPECT_TRUE(hold->done());
            EXPECT_FALSE(hold->timedOut());
        }
        ASSERT_FALSE(prompts.messages().empty());
        EXPECT_EQ(prompts.lastText(), kCancelled);
        EXPECT_EQ(prompts.messages().back().icon, MsgIcon::Information);
        EXPECT_EQ(topFolders(), foldersBefore);
        EXPECT_EQ(doc()->toBytes(), documentBefore);
        EXPECT_FALSE(window->dbXML->hasUnsavedChanges());
        EXPECT_EQ(fileBytes(), fileBefore);
        EXPECT_TRUE(QTest::qWaitFor([] { return frmProgress::current() == nullptr; }, 5000));
        EXPECT_TRUE(topics()->isVisible());
        EXPECT_EQ(QApplication::overrideCursor(), nullptr);
    }

    // The next import is not cancelled by the last one's Cancel.
    prompts.clear();
    run(Entry::Favorites);
    ASSERT_NE(frmProgress::current(), nullptr);
    EXPECT_EQ(frmProgress::current()->windowTitle(), "Vardecks imported: 3");
    EXPECT_EQ(topFolders(), foldersBefore + 1);
    EXPECT_NE(fileBytes(), fileBefore);
}

TEST_F(ImportCancelTest, onceTheImportSavesItsCancelIsOffAndTheImportIsKept)
{
    bool cancelOn = true;
    // The only long work of a Favorites import is the writing of the save.
    WorkHold hold(1, [&] {
        auto *cancel = dialogControl<qbButtons_H>(*frmProgress::current(), "cmdCancel");
        cancelOn = cancel->isEnabled();
        QTest::mouseClick(cancel, Qt::LeftButton);
        stop(Way::CloseBox);
    });
    run(Entry::Favorites);
    EXPECT_TRUE(hold.done());
    EXPECT_FALSE(cancelOn);
    ASSERT_NE(frmProgress::current(), nullptr);
    EXPECT_EQ(frmProgress::current()->windowTitle(), "Vardecks imported: 3");
    EXPECT_FALSE(dialogControl<qbButtons_H>(*frmProgress::current(), "cmdCancel")->isVisible());
    EXPECT_TRUE(dialogControl<qbButtons_H>(*frmProgress::current(), "Command1")->isVisible());
    EXPECT_TRUE(readBytes(path).contains("One.example"));
}
