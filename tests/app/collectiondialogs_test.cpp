// The duplicates manager and the statistics box opened from the real main window's menu commands,
// each in the font fallback when the designed font is missing.
#include "app/collectiondialogs.h"
#include "dialogs/frmduplicates.h"
#include "dialogs/frmstats.h"
#include "explorer/editing.h"
#include "explorer/explorerfixture.h"
#include "shell/fonthelpers.h"
#include "support/testenv.h"

#include <QCheckBox>
#include <QClipboard>
#include <QGuiApplication>
#include <QLabel>
#include <QTimer>

#include <utility>

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

    const bool installed = std::exchange(sansSerifInstalled, false);
    whileOpen<frmDuplicates>("mnuToolsDup_Click", [](frmDuplicates &dialog) {
        EXPECT_EQ(dialog.findChild<QLabel *>()->font().family(), "MS Sans Serif") << "the font fallback";
        EXPECT_EQ(dialog.Label2->text(), "1 duplicate set(s) found");
        dialog.chkSuppress->setChecked(true);
        dialog.cmdDelete_Click(); // the first row: the later copy
        dialog.cmdCancel_Click();
    });
    sansSerifInstalled = installed;
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
    const bool installed = std::exchange(sansSerifInstalled, false);
    whileOpen<frmStats>("mnuViewStats_Click", [](frmStats &box) {
        EXPECT_EQ(box.findChild<QLabel *>()->font().family(), "MS Sans Serif") << "the font fallback";
        box.cmdCopy_Click();
        box.accept();
    });
    sansSerifInstalled = installed;
    // Six folders and the root; W1 has an empty HITS (0), W2 none (1), W3 "9".
    EXPECT_EQ(QGuiApplication::clipboard()->text(),
              "Database name: Vardecks.xml\r\nTotal folders: 7\r\nTotal Vardecks: 3\r\nFavorites: 1\r\nTotal hits: 10");
}
