// Every save of the window's database asks before it writes over a file another
// program changed: Yes writes the database over it; No keeps the file as it is and the
// change in memory (an import or a merge, which cannot stay half done, is taken back).
#include "exchange/shellfolders.h"
#include "exchange/ui/frmimportexport.h"
#include "exchange/ui/frmprogress.h"
#include "exchange/ui/installexchange.h"
#include "explorer/editingfixture.h"
#include "platform/atomicfile.h"
#include "platform/gui/itemtags.h"
#include "shell/dragsources.h"
#include "storage/registryfunctions.h"
#include "support/dialogcontrols.h"

#include <QApplication>
#include <QComboBox>
#include <QDropEvent>
#include <QMimeData>
#include <QPointer>
#include <QRadioButton>
#include <QTemporaryDir>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace rr;
using namespace rr::test;

namespace
{

class ChangedFileTest : public EditingTest
{
protected:
    void SetUp() override
    {
        EditingTest::SetUp();
        openDb();
        const QString favorites = files.filePath("Favorites");
        writeBytes(favorites + "/Example.url", "[InternetShortcut]\r\nURL=http://example.com/\r\n");
        RegistryFunctions::WriteValue(reg::HKEY_CURRENT_USER, QLatin1String(kShellFoldersKey), "Favorites", favorites);
        writeBytes(other(), "<?xml version='1.0'?>\n<FOLDERS>" + folderXml("T1", "Merged", vardeckXml("W1", "m1")) +
                                "</FOLDERS>");
    }
    void TearDown() override
    {
        delete frmProgress::current();
        delete dialog;
        EditingTest::TearDown();
    }
    QString other() const { return files.filePath("other/Other.xml"); }

    // Another program rewrites the file in place, keeping its size, and puts its times
    // back as touch -r does; theirs is what it wrote.
    void changeFromOutside()
    {
        struct stat before {
        };
        EXPECT_EQ(::stat(QFile::encodeName(path).constData(), &before), 0);
        ::usleep(15 * 1000); // a later tick of the kernel's clock
        theirs = fileBytes().replace("Beta site", "Zeta site");
        const int fd = ::open(QFile::encodeName(path).constData(), O_WRONLY);
        EXPECT_EQ(::pwrite(fd, theirs.constData(), size_t(theirs.size()), 0), theirs.size());
        ::close(fd);
        const struct timespec times[2] = {before.st_atim, before.st_mtim};
        EXPECT_EQ(::utimensat(AT_FDCWD, QFile::encodeName(path).constData(), times, 0), 0);
    }

    // Runs an entry of the Import/Export window's import list as the user does.
    void import(int entry)
    {
        if (!dialog) {
            dialog = new frmImportExport(exchangeWindowOf(*window));
            dialog->appDataPath = files.path();
            dialog->firefoxRoot = files.filePath(".mozilla/firefox");
            dialog->show();
        }
        QTest::mouseClick(dialogControl<QRadioButton>(*dialog, "opt(0)"), Qt::LeftButton);
        dialogControl<QComboBox>(*dialog, "cmbImport")->setCurrentIndex(entry);
        emit dialogControl<QComboBox>(*dialog, "cmbImport")->activated(entry);
        QTest::mouseClick(dialogControl<qbButtons_H>(*dialog, "cmdSave"), Qt::LeftButton);
        for (int i = 0; i < 200 && dialog->isRunning(); ++i)
            QTest::qWait(5);
        delete frmProgress::current();
    }

    // What the question says No does: the change kept for the next save, or (an import,
    // a merge) taken back.
    QString question(bool keptOnNo) const
    {
        return "The Vardecks database file " + path +
               " was changed by another program after it was read.\n\n"
               "Replace it with the database as it is here?  No keeps the file as it is on disk, and " +
               (keptOnNo ? "the change here until the next save." : "nothing is added.");
    }
    QString importRefused() const
    {
        return "The imported folders and Vardecks could not be saved, so nothing was added: " + path +
               " was changed by another program after it was read, so it was not written over.";
    }
    static bool hasTopFolder(const XmlDocument &doc, const QString &name)
    {
        for (const XmlNode &folder : doc.documentElement().childElements())
            if (folder.childText("NAME") == name)
                return true;
        return false;
    }

    QTemporaryDir files;
    QPointer<frmImportExport> dialog;
    QByteArray theirs;
};

struct SavePath {
    const char *name;
    // Questions of the command itself answered Yes before the save asks.
    int confirmations;
    std::function<void()> run;
    // Whether a document holds the command's change.
    std::function<bool(const XmlDocument &)> holdsChange;
    // True when No keeps the change in memory; an import or a merge is taken back.
    bool keptOnNo;
    // What is told after the question when the answer is No.
    QStringList toldAfterNo;
};

} // namespace

TEST_F(ChangedFileTest, everySaveAsksBeforeWritingOverAChangedFileAndYesWritesWhileNoKeepsIt)
{
    const SavePath paths[] = {
        {"the favourite star",
         0,
         [this] {
             showVardeck("T1", "W2");
             changeFromOutside();
             cmdAddFavs(*window)->click();
         },
         [](const XmlDocument &doc) { return doc.nodeFromID("W2").childText("FAV") == "TRUE"; },
         true,
         {"The Vardeck alpha & co has been added to your favorite Vardecks list"}},
        {"a visit",
         0,
         [this] {
             showVardeck("T1", "W1");
             changeFromOutside();
             window->menuItem(MenuId::mnuToolsOpen)->trigger();
         },
         [](const XmlDocument &doc) { return doc.nodeFromID("W1").childText("KEYWORD2") != "01 Dec 2026 10:00 AM"; },
         true,
         {}},
        {"clearing the rankings",
         1,
         [this] {
             changeFromOutside();
             window->commands.mnuClearPop_Click(0);
         },
         [](const XmlDocument &doc) { return doc.nodeFromID("W3").childText("HITS") == "1"; },
         true,
         {}},
        {"an import",
         1,
         [this] {
             changeFromOutside();
             import(0);
         },
         [](const XmlDocument &doc) { return hasTopFolder(doc, "Imported favorites"); },
         false,
         {importRefused()}},
        {"a merge",
         0,
         [this] {
             changeFromOutside();
             prompts.answerFile(other());
             import(3);
         },
         [](const XmlDocument &doc) { return hasTopFolder(doc, "Merged"); },
         false,
         {importRefused()}},
    };
    for (const SavePath &save : paths) {
        for (const MsgResult answer : {MsgResult::No, MsgResult::Yes}) {
            SCOPED_TRACE(std::string(save.name) + (answer == MsgResult::Yes ? ", Yes" : ", No"));
            openDb();
            prompts.clear();
            for (int i = 0; i < save.confirmations; ++i)
                prompts.answer(MsgResult::Yes);
            prompts.answer(answer);
            save.run();
            const QStringList texts = prompts.texts();
            ASSERT_GT(texts.size(), save.confirmations);
            EXPECT_EQ(texts[save.confirmations], question(save.keptOnNo));
            EXPECT_EQ(prompts.messages()[size_t(save.confirmations)].defaultButton, MsgResult::No);
            if (answer == MsgResult::Yes) {
                EXPECT_TRUE(save.holdsChange(*freshDb().getTheDOM())) << "written";
                EXPECT_EQ(stored("W1").childText("NAME"), "Beta site") << "over the other program's change";
                EXPECT_FALSE(window->dbXML->hasUnsavedChanges());
                continue;
            }
            EXPECT_EQ(fileBytes(), theirs) << "the file stays as the other program left it";
            EXPECT_FALSE(save.holdsChange(*freshDb().getTheDOM()));
            EXPECT_EQ(save.holdsChange(*doc()), save.keptOnNo);
            EXPECT_EQ(window->dbXML->hasUnsavedChanges(), save.keptOnNo);
            EXPECT_EQ(texts.mid(save.confirmations + 1), save.toldAfterNo);
        }
    }
}

TEST_F(ChangedFileTest, exitAsksToReplaceAChangedFileBeforeOfferingToLoseTheChange)
{
    showVardeck("T1", "W2");
    changeFromOutside();
    prompts.answer(MsgResult::No);
    cmdAddFavs(*window)->click();
    ASSERT_TRUE(window->dbXML->hasUnsavedChanges());

    // Exit, No to replacing, No to leaving without the change: the window stays.
    prompts.clear();
    for (const MsgResult answer : {MsgResult::Yes, MsgResult::No, MsgResult::No})
        prompts.answer(answer);
    EXPECT_FALSE(window->close());
    EXPECT_EQ(
        prompts.texts(),
        QStringList({"Are you sure you wish exit Vardecks with unsaved changes?", question(true),
                     "The Vardecks database could not be saved, so the unsaved changes would be lost.  Exit "
                     "anyway?\n\n" +
                         path + " was changed by another program after it was read, so it was not written over."}));
    EXPECT_EQ(fileBytes(), theirs);

    // Exit, Yes to replacing: the change is written and the window closes.
    prompts.clear();
    prompts.answer(MsgResult::Yes);
    prompts.answer(MsgResult::Yes);
    EXPECT_TRUE(window->close());
    EXPECT_EQ(prompts.texts(),
              QStringList({"Are you sure you wish exit Vardecks with unsaved changes?", question(true)}));
    EXPECT_EQ(stored("W2").childText("FAV"), "TRUE");
}

TEST_F(ChangedFileTest, anImportTakenBackForAChangedFileLeavesNothingForTheCloseToWarnOf)
{
    changeFromOutside();
    prompts.answer(MsgResult::Yes);
    prompts.answer(MsgResult::No);
    import(0);
    ASSERT_EQ(prompts.lastText(), importRefused());
    EXPECT_FALSE(hasTopFolder(*doc(), "Imported favorites"));

    prompts.clear();
    EXPECT_TRUE(window->close());
    EXPECT_EQ(prompts.texts(), QStringList());
}

// A drop's save asks its question once the drop has been delivered, never from inside
// the drop event, where the program the drag came from would wait on it.
TEST_F(ChangedFileTest, aDropOnTheFavouritesAsksOnceItsDeliveryIsOver)
{
    showVardeck("T1", "W2");
    tabIndex(*window)->setTab(2);
    QWidget *target = tvwFavs(*window)->viewport();
    const QPoint pos(10, 10);
    changeFromOutside();
    prompts.clear();
    std::unique_ptr<QMimeData> data(window->dragSources().startVardeckDrag({"W2"}));
    ASSERT_TRUE(data);
    const Qt::DropActions actions = Qt::CopyAction | Qt::MoveAction;
    QDragEnterEvent enter(pos, actions, data.get(), Qt::LeftButton, {});
    QApplication::sendEvent(target, &enter);
    QDragMoveEvent move(pos, actions, data.get(), Qt::LeftButton, {});
    QApplication::sendEvent(target, &move);
    QDropEvent drop(QPointF(pos), actions, data.get(), Qt::LeftButton, {});
    QApplication::sendEvent(target, &drop);
    window->dragSources().endDrag();
    EXPECT_TRUE(drop.isAccepted());
    EXPECT_EQ(prompts.texts(), QStringList()) << "nothing is asked while the drop is delivered";
    QApplication::processEvents();
    EXPECT_TRUE(prompts.texts().contains(question(true))) << prompts.texts().join("|").toStdString();
    EXPECT_EQ(fileBytes(), theirs) << "No keeps the file as the other program wrote it";
}
