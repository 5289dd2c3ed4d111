// File > Database: New, Open, Backup, Close and Delete through the window and its dialogs.
#include "editingfixture.h"

#include "platform/paths.h"
#include "storage/ui/databaselist.h"
#include "storage/ui/frmnew.h"
#include "storage/ui/frmopen.h"

using namespace rr;
using namespace rr::test;

namespace
{

void chooseNode(QTreeWidget *tree, const QString &text)
{
    QTreeWidgetItem *item = tree->findItems(text, Qt::MatchExactly).value(0);
    ASSERT_NE(item, nullptr) << text.toStdString();
    tree->setCurrentItem(item);
    emit tree->itemClicked(item, 0);
}

class DatabaseCommands : public EditingTest
{
protected:
    void SetUp() override
    {
        EditingTest::SetUp();
        paths::prepareProgramFolder();
    }
    // File > Database > Open (its command when editing disables the menu) with the dialog choosing fileName.
    void openThroughDialog(const QString &fileName, bool byCommand = false)
    {
        whileModal<frmOpen>(
            [&](frmOpen *dialog) {
                chooseNode(dialog->tvwDB, fileName);
                dialog->cmdOK->click();
            },
            [&] { byCommand ? window->runCommand("mnuFileOpen_Click") : menu("mnuFileOpen"); });
    }
    bool onlyDatabaseCommandsEnabled() const
    {
        const QStringList open = {"mnuFile", "mnuFileOpen", "mnuFileDatabase", "mnuFileNew", "mnuFileExit"};
        for (QAction *item : window->allMenuItems()) {
            const QString name = item->objectName();
            if (name.startsWith("mnu") && item->isEnabled() != open.contains(name))
                return false;
        }
        return true;
    }
};

TEST_F(DatabaseCommands, openRefusesABrokenFileAsksWhileEditingAndKeepsTheSessionsLists)
{
    openDb();
    ASSERT_TRUE(writeBytes(home.databaseFolder() + "broken.xml", "<FOLDERS><FOLDER>"));
    writeDatabase(home.databaseFolder(), "Other.xml", "<FOLDERS>" + folderXml("T1", "Elsewhere") + "</FOLDERS>");
    showVardeck("T1", "W1");

    // A file that is no database leaves the previous one open, and saving still goes there.
    openThroughDialog("broken.xml");
    EXPECT_EQ(prompts.lastText(), "Failed to open the Vardecks file broken.xml");
    EXPECT_EQ(prompts.messages().back().icon, MsgIcon::Exclamation);
    EXPECT_EQ(currentDBName, "Vardecks.xml");
    EXPECT_EQ(window->lblWName->text(), "Beta site");
    menu("mnuEditModify");
    window->txtWName->setText("Still here");
    save();
    EXPECT_EQ(stored("W1").childText("NAME"), "Still here");

    VDData made;
    made.loadDataFromReg("W1", "Made this session", "http://a.example/", "Vardecks.xml");
    recentColl = {made};
    searchColl = {"typed today"};
    appOptions().setdbDefault(true);
    // While editing, the menu item is off and the command asks first.
    menu("mnuEditModify");
    EXPECT_FALSE(menuEnabled("mnuFileOpen"));
    prompts.answer(MsgResult::No);
    window->runCommand("mnuFileOpen_Click");
    EXPECT_EQ(prompts.lastText(), "Opening a new Vardecks file will lose any unsaved changes.  Are you sure?");
    EXPECT_EQ(prompts.messages().back().title, "Exit Vardecks application?");
    EXPECT_EQ(window->txtMode->text(), "mod");

    prompts.answer(MsgResult::Yes);
    openThroughDialog("Other.xml", true);
    EXPECT_EQ(currentDBName, "Other.xml");
    EXPECT_EQ(window->txtMode->text(), "");
    EXPECT_TRUE(menuEnabled("mnuFileOpen"));
    EXPECT_EQ(window->StatusBar1->panelText(3), "Other.xml");
    EXPECT_EQ(childTexts(root()), QStringList({"Elsewhere"}));
    EXPECT_EQ(window->lblWName->text(), "No Vardeck selected");
    EXPECT_EQ(window->tvwWM->topLevelItemCount(), 0);
    EXPECT_FALSE(menuEnabled("mnuEditModify"));
    EXPECT_TRUE(menuEnabled("mnuThumbAll"));
    ASSERT_EQ(recentColl.size(), 1);
    EXPECT_EQ(recentColl[0].getName(), "Made this session");
    EXPECT_EQ(searchColl, QStringList({"typed today"}));
    EXPECT_EQ(appOptions().getDBToOpen(), "Other.xml");
}

TEST_F(DatabaseCommands, closeKeepsTheDatabaseOnAFailedSaveAndAsksWhileEditing)
{
    openDb();
    {
        FailingDisk disk;
        menu("mnuFileClose");
    }
    EXPECT_EQ(prompts.messages().size(), 1u);
    EXPECT_EQ(prompts.messages().back().icon, MsgIcon::Exclamation);
    EXPECT_NE(getMyDB(*window), nullptr) << "the file could not be written: still open";

    showVardeck("T1", "W1");
    menu("mnuEditModify");
    prompts.answer(MsgResult::No);
    window->runCommand("mnuFileClose_Click");
    EXPECT_EQ(prompts.lastText(), "You are about to lose unsaved changes - do you wish to continue?");
    EXPECT_NE(getMyDB(*window), nullptr);
    EXPECT_EQ(window->txtMode->text(), "mod");

    prompts.answer(MsgResult::Yes);
    window->runCommand("mnuFileClose_Click");
    EXPECT_EQ(getMyDB(*window), nullptr);
    EXPECT_EQ(window->txtMode->text(), "");
    EXPECT_EQ(topics()->topLevelItemCount(), 0);
    EXPECT_EQ(window->listVD->topLevelItemCount(), 0);
    EXPECT_EQ(window->lblTName->text(), "No folder selected");
    EXPECT_EQ(window->tabView->TabCaption(1), "   No folder selected   ") << "not the closed folder's name";
    EXPECT_EQ(window->StatusBar1->panelText(3), "");
    EXPECT_TRUE(onlyDatabaseCommandsEnabled());
    EXPECT_TRUE(stored("W1")) << "the file stays whole";
}

TEST_F(DatabaseCommands, backupCopiesTheOpenDatabaseDeletingItClosesTheWindowAndANewOneOpensInIt)
{
    openDb();
    const QString target = home.path() + "/copy.xml";
    prompts.answerFile(target);
    menu("mnuFileBackup");
    EXPECT_EQ(readBytes(target), fileBytes());

    showVardeck("T1", "W1");
    prompts.clear();
    prompts.answer(MsgResult::Yes);
    whileModal<frmNew>(
        [](frmNew *dialog) {
            chooseNode(dialog->tvwDB, "Vardecks.xml");
            dialog->cmdOK->click();
        },
        [&] { menu("mnuFileDeleteDB"); });
    EXPECT_EQ(prompts.messages().size(), 2u);
    EXPECT_FALSE(QFile::exists(path));
    EXPECT_EQ(getMyDB(*window), nullptr);
    EXPECT_TRUE(onlyDatabaseCommandsEnabled());

    // A new database opens in the closed window.
    prompts.answer(MsgResult::Yes);
    whileModal<frmNew>(
        [](frmNew *dialog) {
            dialog->txtName->setText("Work");
            dialog->cmdOK->click();
        },
        [&] { menu("mnuFileNew"); });
    EXPECT_EQ(window->StatusBar1->panelText(3), "Work.xml");
    EXPECT_TRUE(QFileInfo(getMyDB(*window)->getPath()) == QFileInfo(home.databaseFolder() + "Work.xml"));
    ASSERT_EQ(topics()->topLevelItemCount(), 1);
    EXPECT_EQ(root()->childCount(), 0);
    EXPECT_TRUE(menuEnabled("mnuAddTopic"));
    EXPECT_TRUE(QDir(home.databaseFolder() + "thumbs/Work").exists());
}

} // namespace
