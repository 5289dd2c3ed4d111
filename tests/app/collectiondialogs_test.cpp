// The duplicates manager and the statistics box on the real main window: opened from
// their menu commands, deleting through the window's own deletion (file saved, side
// files removed) and copying the figures to the clipboard.
#include "app/collectiondialogs.h"
#include "dialogs/frmduplicates.h"
#include "dialogs/frmstats.h"
#include "explorer/editing.h"
#include "explorer/explorerfixture.h"
#include "shell/fonthelpers.h"
#include "support/testenv.h"

#include <QCheckBox>
#include <QClipboard>
#include <QDir>
#include <QGuiApplication>
#include <QLabel>
#include <QTimer>

using namespace rr;
using namespace rr::test;

namespace
{

class CollectionDialogsTest : public ExplorerTest
{
protected:
    void SetUp() override
    {
        ExplorerTest::SetUp();
        installEditing(*window);
        installCollectionDialogs(*window);
    }

    // Runs the command and hands the modal window it opens to act, which must close it.
    template <typename Dialog> void whileOpen(const QString &command, const std::function<void(Dialog &)> &act)
    {
        bool acted = false;
        QTimer::singleShot(50, window.get(), [&] {
            if (auto *dialog = qobject_cast<Dialog *>(QApplication::activeModalWidget())) {
                act(*dialog);
                acted = true;
            }
        });
        window->runCommand(command);
        for (int i = 0; i < 100 && !acted; ++i)
            QTest::qWait(10);
        EXPECT_TRUE(acted);
    }
};

} // namespace

TEST_F(CollectionDialogsTest, deletingADuplicateSavesTheFileAndRemovesItsSideFiles)
{
    openDatabase(
        "<FOLDERS>" +
        folderXml("T1", "Inbox",
                  vardeckXml("W1", "first", "http://a.example/x/") + vardeckXml("W2", "copy", "https://a.example/x")) +
        "</FOLDERS>");
    const QString base = window->dbXML->getBasePath();
    const QString icon = iconFilePath(base, currentDBName, "W2");
    const QString thumb = thumbFilePath(base, currentDBName, "W2");
    EXPECT_TRUE(test::writeBytes(icon, "x"));
    EXPECT_TRUE(test::writeBytes(thumb, "x"));

    whileOpen<frmDuplicates>("mnuToolsDup_Click", [](frmDuplicates &dialog) {
        EXPECT_EQ(dialog.Label2->text(), "1 duplicate set(s) found");
        dialog.chkSuppress->setChecked(true);
        dialog.cmdDelete_Click(); // the first row: the later copy
        dialog.cmdCancel_Click();
    });
    EXPECT_FALSE(doc()->nodeFromID("W2"));
    XMLDatabase saved;
    ASSERT_TRUE(saved.openDBValidate(path));
    EXPECT_FALSE(saved.getTheDOM()->nodeFromID("W2"));
    EXPECT_TRUE(saved.getTheDOM()->nodeFromID("W1"));
    EXPECT_FALSE(QFile::exists(icon));
    EXPECT_FALSE(QFile::exists(thumb));
}

TEST_F(CollectionDialogsTest, statisticsShowAndCopyTheFiguresOfTheOpenDatabase)
{
    openDatabase();
    window->favsColl = QStringList{"W1"};
    whileOpen<frmStats>("mnuViewStats_Click", [](frmStats &box) {
        box.cmdCopy_Click();
        box.accept();
    });
    // Six folders and the root; W1 has an empty HITS (0), W2 none (1), W3 "9".
    EXPECT_EQ(QGuiApplication::clipboard()->text(),
              "Database name: Vardecks.xml\r\nTotal folders: 7\r\nTotal Vardecks: 3\r\nFavorites: 1\r\nTotal hits: 10");
}

TEST_F(CollectionDialogsTest, bothWindowsTakeTheFontFallbackWithoutTheDesignedFont)
{
    openDatabase();
    const bool installed = sansSerifInstalled;
    sansSerifInstalled = false;
    QString statsFont, duplicatesFont;
    whileOpen<frmStats>("mnuViewStats_Click", [&](frmStats &box) {
        statsFont = box.findChild<QLabel *>()->font().family();
        box.accept();
    });
    whileOpen<frmDuplicates>("mnuToolsDup_Click", [&](frmDuplicates &dialog) {
        duplicatesFont = dialog.findChild<QLabel *>()->font().family();
        dialog.accept();
    });
    sansSerifInstalled = installed;
    EXPECT_EQ(statsFont, "MS Sans Serif");
    EXPECT_EQ(duplicatesFont, "MS Sans Serif");
}
