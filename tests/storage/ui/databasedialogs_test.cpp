#include "controls/qbbuttons_h.h"
#include "platform/paths.h"
#include "storage/dbfolder.h"
#include "storage/ui/backupcommand.h"
#include "storage/ui/databaselist.h"
#include "storage/ui/frmnew.h"
#include "storage/ui/frmopen.h"
#include "storage/vardeckmodule.h"
#include "support/failingdisk.h"
#include "support/testenv.h"

#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

using namespace rr;

namespace
{

struct Env {
    test::TempHome home;
    test::ScriptedPrompts prompts;
    QString folder = home.databaseFolder();
    Env()
    {
        paths::prepareProgramFolder();
        chosenDBPath.clear();
        chosenDBName.clear();
        currentDBName = "Vardecks.xml";
    }
};

void clickNode(QTreeWidget *tree, const QString &text)
{
    QTreeWidgetItem *item = tree->findItems(text, Qt::MatchExactly).value(0);
    ASSERT_NE(item, nullptr) << text.toStdString();
    tree->setCurrentItem(item);
    emit tree->itemClicked(item, 0);
}

} // namespace

TEST(frmOpen, listsDatabasesSelectsTheFirstLeavesTheChoiceEnterPressesOkAndCancelLeavesNone)
{
    Env env;
    EXPECT_TRUE(test::writeBytes(env.folder + "Work.XML", "x"));
    EXPECT_TRUE(test::writeBytes(env.folder + "readme.txt", "x"));
    {
        frmOpen dialog;
        dialog.show();
        EXPECT_EQ(dialog.windowTitle(), "Open database");
        EXPECT_EQ(dialog.Label2->text(), "Choose a Vardecks database to open:");
        ASSERT_EQ(dialog.tvwDB->topLevelItemCount(), 2);
        EXPECT_EQ(dialog.lblDBName->text(), "Vardecks.xml");
        EXPECT_TRUE(dialog.cmdOK->isEnabled());
        EXPECT_EQ(dialog.defaultButton(), dialog.cmdOK);

        clickNode(dialog.tvwDB, "Work.XML");
        EXPECT_EQ(dialog.lblDBName->text(), "Work.XML");
        dialog.cmdOK->click();
        EXPECT_EQ(dialog.result(), QDialog::Accepted);
        EXPECT_EQ(chosenDBPath, env.folder + "Work.XML");
        EXPECT_EQ(chosenDBName, "Work.XML");
    }
    // Run modally, Enter takes the first database.
    QTimer::singleShot(0, [] {
        auto *dialog = qobject_cast<frmOpen *>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        QTest::keyClick(dialog, Qt::Key_Return);
    });
    EXPECT_TRUE(frmOpen::chooseDatabase());
    EXPECT_EQ(chosenDBName, "Vardecks.xml");

    // An empty folder keeps OK disabled, and Cancel leaves no choice.
    QFile::remove(env.folder + "Vardecks.xml");
    QFile::remove(env.folder + "Work.XML");
    frmOpen dialog;
    dialog.show();
    EXPECT_EQ(dialog.lblDBName->text(), "No database selected");
    EXPECT_FALSE(dialog.cmdOK->isEnabled());
    dialog.cmdCancel->click();
    EXPECT_TRUE(chosenDBPath.isEmpty());
    EXPECT_TRUE(chosenDBName.isEmpty());
}

TEST(frmNew, newModeTextsOkFollowsTheNameAndARefusedNameKeepsTheWindowOpen)
{
    Env env;
    frmNew dialog("new", {}, nullptr, env.folder);
    dialog.show();
    EXPECT_EQ(dialog.windowTitle(), "New database");
    EXPECT_EQ(dialog.Label1->text(), "Existing databases:");
    EXPECT_EQ(dialog.Label2->text(), "Choose a new Vardecks database name:");
    EXPECT_EQ(dialog.cmdOK->Caption(), "Save the new database");
    EXPECT_TRUE(dialog.txtName->isVisible());
    EXPECT_FALSE(dialog.lblName->isVisible());
    EXPECT_FALSE(dialog.cmdOK->isEnabled());
    dialog.txtName->setText("W");
    EXPECT_TRUE(dialog.cmdOK->isEnabled());
    EXPECT_EQ(dialog.defaultButton(), dialog.cmdOK);
    dialog.txtName->setText("  ");
    EXPECT_FALSE(dialog.cmdOK->isEnabled());
    EXPECT_EQ(dialog.defaultButton(), dialog.cmdCancel);

    const QStringList before = QDir(env.folder).entryList(QDir::AllEntries | QDir::NoDotAndDotDot);
    dialog.txtName->setText(" VARDECKS.XML ");
    dialog.cmdOK->click();
    EXPECT_EQ(env.prompts.texts(), QStringList{"The database already exists - please choose a different name"});
    EXPECT_EQ(env.prompts.messages()[0].icon, MsgIcon::Exclamation);
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_EQ(dialog.txtName->selectedText(), " VARDECKS.XML ");
    EXPECT_EQ(QDir(env.folder).entryList(QDir::AllEntries | QDir::NoDotAndDotDot), before);
}

TEST(frmNew, createsTheDatabaseOpensItOnlyOnYesAndAFailureKeepsTheWindowOpen)
{
    Env env;
    QStringList opened;
    DatabaseHooks hooks;
    hooks.openTheDatabase = [&] { opened << chosenDBPath; };
    const auto create = [&](frmNew &dialog, const QString &name, MsgResult answer) {
        dialog.show();
        dialog.txtName->setText(name);
        env.prompts.clear();
        env.prompts.answer(answer);
        dialog.cmdOK->click();
    };
    {
        frmNew dialog("new", hooks, nullptr, env.folder);
        create(dialog, "Work", MsgResult::No);
        EXPECT_TRUE(opened.isEmpty());
        EXPECT_TRUE(chosenDBPath.isEmpty());
        EXPECT_FALSE(dialog.isVisible());
    }
    {
        frmNew dialog("new", hooks, nullptr, env.folder);
        create(dialog, " Second.xml ", MsgResult::Yes);
        ASSERT_EQ(env.prompts.messages().size(), 1u);
        const MessageRequest &ask = env.prompts.messages()[0];
        EXPECT_EQ(ask.text, "The database Second was successfully created.  Do you wish to open it now?");
        EXPECT_EQ(ask.title, "Open database Second?");
        EXPECT_EQ(ask.buttons, MsgButtons::YesNo);
        EXPECT_TRUE(QFile::exists(env.folder + "Second.xml"));
        EXPECT_EQ(opened, QStringList{env.folder + "Second.xml"});
        EXPECT_EQ(chosenDBName, "Second.xml");
        EXPECT_EQ(dialog.result(), QDialog::Accepted);
    }
    QDir(env.folder + "icons").removeRecursively();
    EXPECT_TRUE(test::writeBytes(env.folder + "icons", "x"));
    frmNew dialog("new", hooks, nullptr, env.folder);
    create(dialog, "Other", MsgResult::Yes);
    ASSERT_EQ(env.prompts.messages().size(), 1u);
    // The number and the description with nothing between, then what failed.
    EXPECT_TRUE(env.prompts.lastText().startsWith("There was an error: 75Path/File access error\n\n"))
        << env.prompts.lastText().toStdString();
    EXPECT_EQ(env.prompts.messages()[0].icon, MsgIcon::Exclamation);
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_FALSE(QFile::exists(env.folder + "Other.xml"));
}

TEST(frmNew, deleteModeAsksWithNoAsDefaultAndClosesOnlyTheOpenDatabaseFirst)
{
    Env env;
    DatabaseFolder(env.folder).createDatabase("Work");
    currentDBName = "Work.xml";
    bool fileThereWhenClosed = false;
    int closes = 0;
    DatabaseHooks hooks;
    hooks.closeDB = [&] {
        ++closes;
        fileThereWhenClosed = QFile::exists(env.folder + "Work.xml");
    };
    frmNew dialog("delete", hooks, nullptr, env.folder);
    dialog.show();
    EXPECT_EQ(dialog.windowTitle(), "Delete database");
    EXPECT_EQ(dialog.Label1->text(), "Choose a database to delete:");
    EXPECT_FALSE(dialog.txtName->isVisible());
    EXPECT_EQ(dialog.cmdOK->Caption(), "Delete the database");
    EXPECT_FALSE(dialog.cmdOK->isEnabled());
    clickNode(dialog.tvwDB, "Work.xml");
    EXPECT_EQ(dialog.lblName->text(), "Work.xml");
    EXPECT_TRUE(dialog.cmdOK->isEnabled());

    dialog.cmdOK->click(); // unanswered: the default, No
    ASSERT_EQ(env.prompts.messages().size(), 1u);
    EXPECT_EQ(env.prompts.messages()[0].text, "Are you sure you wish to permanently delete the database Work.xml?");
    EXPECT_EQ(env.prompts.messages()[0].title, "Delete Vardecks database?");
    EXPECT_EQ(env.prompts.messages()[0].defaultButton, MsgResult::No);
    EXPECT_TRUE(QFile::exists(env.folder + "Work.xml"));
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_EQ(closes, 0);

    env.prompts.answer(MsgResult::Yes);
    dialog.cmdOK->click();
    EXPECT_EQ(closes, 1);
    EXPECT_TRUE(fileThereWhenClosed);
    EXPECT_FALSE(QFile::exists(env.folder + "Work.xml"));
    EXPECT_EQ(env.prompts.lastText(), "The database Work.xml was successfully deleted.");
    EXPECT_EQ(env.prompts.messages().back().icon, MsgIcon::Information);
    EXPECT_FALSE(dialog.isVisible());

    // Deleting another database than the open one closes nothing.
    DatabaseFolder(env.folder).createDatabase("Other");
    frmNew again("delete", hooks, nullptr, env.folder);
    again.show();
    clickNode(again.tvwDB, "Other.xml");
    env.prompts.answer(MsgResult::Yes);
    again.cmdOK->click();
    EXPECT_EQ(closes, 1);
    EXPECT_FALSE(QFile::exists(env.folder + "Other.xml"));
}

TEST(BackupCommand, refusesTheOpenDatabaseAndReportsOnlyARealSuccess)
{
    Env env;
    const QString source = env.folder + "Vardecks.xml";
    const QByteArray original = test::readBytes(source);
    const auto backUpTo = [&](const QString &target, MsgResult answer) {
        env.prompts.clear();
        env.prompts.answerFile(target);
        env.prompts.answer(answer);
        return runBackupCommand(source, "Vardecks.xml");
    };

    EXPECT_FALSE(backUpTo(source, MsgResult::Yes));
    ASSERT_EQ(env.prompts.fileRequests().size(), 1u);
    EXPECT_EQ(env.prompts.fileRequests()[0].title, "Choose a folder location to backup your Vardecks database to...");
    EXPECT_EQ(env.prompts.fileRequests()[0].defaultName, "Vardecks.xml");
    EXPECT_EQ(env.prompts.fileRequests()[0].filters, QStringList{"XML Files (*.xml)"});
    ASSERT_EQ(env.prompts.messages().size(), 1u);
    EXPECT_EQ(env.prompts.messages()[0].icon, MsgIcon::Exclamation);
    EXPECT_EQ(test::readBytes(source), original);

    const QString target = env.home.path() + "/copy.xml";
    EXPECT_TRUE(test::writeBytes(target, "old"));
    EXPECT_FALSE(backUpTo(target, MsgResult::No));
    EXPECT_EQ(env.prompts.lastText(),
              "The file " + target + " already exists.  Do you wish to overwrite the existing file?");
    EXPECT_EQ(env.prompts.messages()[0].title, "Overwrite file?");
    EXPECT_EQ(test::readBytes(target), "old");

    {
        test::FailingDisk disk;
        EXPECT_FALSE(backUpTo(target, MsgResult::Yes));
    }
    EXPECT_EQ(test::readBytes(target), "old");
    EXPECT_TRUE(env.prompts.lastText().startsWith("The Vardecks database could not be backed-up to "));
    EXPECT_FALSE(env.prompts.texts().join("|").contains("successfully"));

    EXPECT_TRUE(backUpTo(target, MsgResult::Yes));
    EXPECT_EQ(test::readBytes(target), original);
    EXPECT_EQ(env.prompts.lastText(), "Vardecks database successfully backed-up to " + target);
    EXPECT_EQ(env.prompts.messages().back().title, "Successful Vardecks backup");

    env.prompts.clear();
    EXPECT_FALSE(runBackupCommand(source, "Vardecks.xml")); // the file dialog cancelled
    EXPECT_TRUE(env.prompts.messages().empty());
}
