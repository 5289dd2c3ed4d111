#include "controls/qbbuttons_h.h"
#include "platform/paths.h"
#include "storage/chosendatabase.h"
#include "storage/dbfolder.h"
#include "storage/ui/backupcommand.h"
#include "storage/ui/databasehost.h"
#include "storage/ui/databaselist.h"
#include "storage/ui/frmnew.h"
#include "storage/ui/frmopen.h"
#include "storage/vardeckmodule.h"
#include "storage/xmldatabase.h"
#include "support/dialogcontrols.h"
#include "support/failingdisk.h"
#include "support/testenv.h"

#include <QLabel>
#include <QLineEdit>
#include <QTest>
#include <QTimer>
#include <functional>
#include <gtest/gtest.h>

using namespace rr;
using rr::test::dialogControl;

namespace
{

struct Env {
    test::TempHome home;
    test::ScriptedPrompts prompts;
    QString folder = home.databaseFolder();
    DatabaseFolder db{folder};
    Env() { paths::prepareProgramFolder(); }
};

// What the database window asks of the main window, as a test sets it; what it leaves
// unset does nothing.
struct StandInHost final : DatabaseHost {
    std::function<void(const ChosenDatabase &)> open;
    std::function<void()> close;
    std::function<bool(const QString &)> isOpen;
    void openTheDatabase(const ChosenDatabase &chosen) override
    {
        if (open)
            open(chosen);
    }
    void closeDB() override
    {
        if (close)
            close();
    }
    bool isOpenDatabase(const QString &fileName) override { return isOpen && isOpen(fileName); }
};

void clickNode(QTreeWidget *tree, const QString &text)
{
    QTreeWidgetItem *item = tree->findItems(text, Qt::MatchExactly).value(0);
    ASSERT_NE(item, nullptr) << text.toStdString();
    tree->setCurrentItem(item);
    emit tree->itemClicked(item, 0);
}

} // namespace

TEST(DatabaseFolder, listsOnlyXmlFilesWithAStem)
{
    test::TempHome home;
    const QString path = home.path() + "/dbs/";
    for (const char *name : {"b.xml", "A.XML", "notes.txt", ".xml", "fooXML", "c.Xml"})
        EXPECT_TRUE(test::writeBytes(path + name, "x"));
    QDir().mkpath(path + "folder.xml");
    EXPECT_EQ(DatabaseFolder(path).databaseFiles(), QStringList({"A.XML", "b.xml", "c.Xml"}));
    EXPECT_TRUE(DatabaseFolder(path + "missing").databaseFiles().isEmpty());
}

TEST(DatabaseFolder, typedNamesAreTrimmedCheckedAndLoseOneExtension)
{
    Env f;
    struct Case {
        QString typed;
        DatabaseFolder::NameProblem problem;
        QString stem;
    };
    using P = DatabaseFolder::NameProblem;
    const QList<Case> cases = {
        {"  Work  ", P::None, "Work"},
        {"Work.XML.xml", P::None, "Work.XML"},
        {" VARDECKS.xml", P::Exists, "VARDECKS"},
        {"a/b", P::Unsafe, "a/b"},
        {"a\\b", P::Unsafe, "a\\b"},
        {".hidden", P::Unsafe, ".hidden"},
        {"tab\there", P::Unsafe, "tab\there"},
        {"", P::Empty, ""},
        {".xml", P::Empty, ""},
        {QString(300, 'w'), P::TooLong, QString(300, 'w')},
    };
    for (const Case &c : cases) {
        QString stem;
        EXPECT_EQ(f.db.checkNewName(c.typed, &stem), c.problem) << c.typed.toStdString();
        EXPECT_EQ(stem, c.stem) << c.typed.toStdString();
    }
}

TEST(DatabaseFolder, createWritesTheFileFoldersAndPicturesKeepsExistingFoldersAndLeavesNothingWhenItFails)
{
    Env f;
    EXPECT_TRUE(test::writeBytes(f.folder + "thumbs/Work/W1.gif", "x"));
    QString error;
    ASSERT_TRUE(f.db.createDatabase("Work", &error)) << error.toStdString();
    EXPECT_EQ(test::readBytes(f.folder + "Work.xml"), XMLDatabase::newDatabaseText());
    EXPECT_EQ(test::readBytes(f.folder + "icons/Work/Vardeck.gif"), test::readBytes(f.folder + "Vardeck.gif"));
    EXPECT_EQ(test::readBytes(f.folder + "icons/Work/SelVardeck.gif"), test::readBytes(f.folder + "SelVardeck.gif"));
    EXPECT_TRUE(QFile::exists(f.folder + "thumbs/Work/W1.gif"));

    // A stock picture removed from the database folder comes from the installed data.
    QFile::remove(f.folder + "Vardeck.gif");
    EXPECT_TRUE(f.db.createDatabase("Second", &error)) << error.toStdString();
    EXPECT_TRUE(QFile::exists(f.folder + "icons/Second/Vardeck.gif"));

    // A failed create leaves no database file.
    QDir(f.folder + "thumbs").removeRecursively();
    EXPECT_TRUE(test::writeBytes(f.folder + "thumbs", "x")); // a file where the folder must go
    EXPECT_FALSE(f.db.createDatabase("Third", &error));
    EXPECT_TRUE(error.contains("thumbs/Third")) << error.toStdString();
    EXPECT_FALSE(QFile::exists(f.folder + "Third.xml"));
    EXPECT_FALSE(f.db.createDatabase("../Escape", &error));
}

TEST(DatabaseFolder, deleteRemovesFileAndFoldersButNeverSharedOrLinkedTargets)
{
    Env f;
    ASSERT_TRUE(f.db.createDatabase("Work"));
    EXPECT_TRUE(test::writeBytes(f.folder + "icons/Work/W1.ico", "x"));
    QDir(f.folder + "thumbs/Work").removeRecursively();

    // An empty stem never reaches the folders every database shares.
    EXPECT_TRUE(test::writeBytes(f.folder + ".xml", "x"));
    EXPECT_TRUE(f.db.deleteDatabase(".xml"));
    EXPECT_FALSE(QFile::exists(f.folder + ".xml"));
    EXPECT_TRUE(QFile::exists(f.folder + "icons/Work/W1.ico"));

    QString error;
    ASSERT_TRUE(f.db.deleteDatabase("Work.xml", &error)) << error.toStdString();
    EXPECT_FALSE(QFile::exists(f.folder + "Work.xml"));
    EXPECT_FALSE(QFileInfo::exists(f.folder + "icons/Work"));
    EXPECT_TRUE(QFile::exists(f.folder + "Vardecks.xml"));
    EXPECT_FALSE(f.db.deleteDatabase("../Vardecks.xml", &error));

    // A linked side folder goes, its target's files stay.
    EXPECT_TRUE(test::writeBytes(f.folder + "Work.xml", "x"));
    const QString elsewhere = f.home.path() + "/precious";
    EXPECT_TRUE(test::writeBytes(elsewhere + "/keep.gif", "x"));
    ASSERT_TRUE(QFile::link(elsewhere, f.folder + "icons/Work"));
    EXPECT_TRUE(f.db.deleteDatabase("Work.xml"));
    EXPECT_TRUE(QFile::exists(elsewhere + "/keep.gif"));
    EXPECT_FALSE(QFileInfo(f.folder + "icons/Work").isSymLink());
}

TEST(frmOpen, listsDatabasesSelectsTheFirstLeavesTheChoiceEnterPressesOkAndCancelLeavesNone)
{
    Env env;
    EXPECT_TRUE(test::writeBytes(env.folder + "Work.XML", "x"));
    {
        frmOpen dialog;
        dialog.show();
        EXPECT_EQ(dialog.windowTitle(), "Open database");
        EXPECT_EQ(dialogControl<QLabel>(dialog, "Label2")->text(), "Choose a Vardecks database to open:");
        ASSERT_EQ(dialogControl<DatabaseList>(dialog, "tvwDB")->topLevelItemCount(), 2);
        EXPECT_EQ(dialogControl<QLabel>(dialog, "lblDBName")->text(), "Vardecks.xml");

        clickNode(dialogControl<DatabaseList>(dialog, "tvwDB"), "Work.XML");
        EXPECT_EQ(dialogControl<QLabel>(dialog, "lblDBName")->text(), "Work.XML");
        dialogControl<qbButtons_H>(dialog, "cmdOK")->click();
        EXPECT_EQ(dialog.result(), QDialog::Accepted);
        EXPECT_EQ(dialog.choice(), (ChosenDatabase{env.folder + "Work.XML", "Work.XML"}));
    }
    // Run modally, Enter takes the first database.
    QTimer::singleShot(0, [] {
        auto *dialog = qobject_cast<frmOpen *>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        QTest::keyClick(dialog, Qt::Key_Return);
    });
    const std::optional<ChosenDatabase> chosen = frmOpen::chooseDatabase();
    ASSERT_TRUE(chosen);
    EXPECT_EQ(chosen->name, "Vardecks.xml");

    // An empty folder keeps OK disabled, and Cancel leaves no choice.
    QFile::remove(env.folder + "Vardecks.xml");
    QFile::remove(env.folder + "Work.XML");
    frmOpen dialog;
    dialog.show();
    EXPECT_EQ(dialogControl<QLabel>(dialog, "lblDBName")->text(), "No database selected");
    EXPECT_FALSE(dialogControl<qbButtons_H>(dialog, "cmdOK")->isEnabled());
    dialogControl<qbButtons_H>(dialog, "cmdCancel")->click();
    EXPECT_FALSE(dialog.choice());
}

TEST(frmNew, newModeRefusesATakenNameCreatesOpensOnlyOnYesAndKeepsTheWindowOnAFailure)
{
    Env env;
    QStringList opened;
    QStringList openedNames;
    StandInHost host;
    host.open = [&](const ChosenDatabase &chosen) {
        opened << chosen.path;
        openedNames << chosen.name;
    };
    const auto create = [&](frmNew &dialog, const QString &name, MsgResult answer) {
        dialog.show();
        dialogControl<QLineEdit>(dialog, "txtName")->setText(name);
        env.prompts.clear();
        env.prompts.answer(answer);
        dialogControl<qbButtons_H>(dialog, "cmdOK")->click();
    };
    {
        frmNew dialog(frmNew::Mode::New, host, nullptr, env.folder);
        dialog.show();
        EXPECT_EQ(dialog.windowTitle(), "New database");
        EXPECT_EQ(dialogControl<QLabel>(dialog, "Label1")->text(), "Existing databases:");
        EXPECT_EQ(dialogControl<QLabel>(dialog, "Label2")->text(), "Choose a new Vardecks database name:");
        EXPECT_EQ(dialogControl<qbButtons_H>(dialog, "cmdOK")->Caption(), "Save the new database");
        EXPECT_TRUE(dialogControl<QLineEdit>(dialog, "txtName")->isVisible());
        EXPECT_FALSE(dialogControl<QLabel>(dialog, "lblName")->isVisible());
        EXPECT_FALSE(dialogControl<qbButtons_H>(dialog, "cmdOK")->isEnabled());
        dialogControl<QLineEdit>(dialog, "txtName")->setText("W");
        EXPECT_EQ(dialog.defaultButton(), dialogControl<qbButtons_H>(dialog, "cmdOK"));
        dialogControl<QLineEdit>(dialog, "txtName")->setText("  ");
        EXPECT_FALSE(dialogControl<qbButtons_H>(dialog, "cmdOK")->isEnabled());
        EXPECT_EQ(dialog.defaultButton(), dialogControl<qbButtons_H>(dialog, "cmdCancel"));

        const QStringList before = QDir(env.folder).entryList(QDir::AllEntries | QDir::NoDotAndDotDot);
        dialogControl<QLineEdit>(dialog, "txtName")->setText(" VARDECKS.XML ");
        dialogControl<qbButtons_H>(dialog, "cmdOK")->click();
        EXPECT_EQ(env.prompts.texts(), QStringList{"The database already exists - please choose a different name"});
        EXPECT_EQ(env.prompts.messages()[0].icon, MsgIcon::Exclamation);
        EXPECT_TRUE(dialog.isVisible());
        EXPECT_EQ(dialogControl<QLineEdit>(dialog, "txtName")->selectedText(), " VARDECKS.XML ");
        EXPECT_EQ(QDir(env.folder).entryList(QDir::AllEntries | QDir::NoDotAndDotDot), before);

        // The next name is created; No leaves it closed.
        create(dialog, "Work", MsgResult::No);
        EXPECT_TRUE(QFile::exists(env.folder + "Work.xml"));
        EXPECT_TRUE(opened.isEmpty());
        EXPECT_TRUE(openedNames.isEmpty());
        EXPECT_FALSE(dialog.isVisible());
    }
    {
        frmNew dialog(frmNew::Mode::New, host, nullptr, env.folder);
        create(dialog, " Second.xml ", MsgResult::Yes);
        ASSERT_EQ(env.prompts.messages().size(), 1u);
        const MessageRequest &ask = env.prompts.messages()[0];
        EXPECT_EQ(ask.text, "The database Second was successfully created.  Do you wish to open it now?");
        EXPECT_EQ(ask.title, "Open database Second?");
        EXPECT_EQ(ask.buttons, MsgButtons::YesNo);
        EXPECT_EQ(opened, QStringList{env.folder + "Second.xml"});
        EXPECT_EQ(openedNames, QStringList{"Second.xml"});
        EXPECT_EQ(dialog.result(), QDialog::Accepted);
    }
    QDir(env.folder + "icons").removeRecursively();
    EXPECT_TRUE(test::writeBytes(env.folder + "icons", "x"));
    frmNew dialog(frmNew::Mode::New, host, nullptr, env.folder);
    create(dialog, "Other", MsgResult::Yes);
    ASSERT_EQ(env.prompts.messages().size(), 1u);
    // The number and the description with nothing between, then what failed.
    EXPECT_TRUE(env.prompts.lastText().startsWith("There was an error: 75Path/File access error\n\n"))
        << env.prompts.lastText().toStdString();
    EXPECT_EQ(env.prompts.messages()[0].icon, MsgIcon::Exclamation);
    EXPECT_TRUE(dialog.isVisible());
}

TEST(frmNew, deleteModeAsksWithNoAsDefaultAndClosesOnlyTheOpenDatabaseFirst)
{
    Env env;
    DatabaseFolder(env.folder).createDatabase("Work");
    const QString openDatabase = "Work.xml";
    bool fileThereWhenClosed = false;
    int closes = 0;
    StandInHost host;
    host.isOpen = [&](const QString &fileName) { return fileName == openDatabase; };
    host.close = [&] {
        ++closes;
        fileThereWhenClosed = QFile::exists(env.folder + "Work.xml");
    };
    frmNew dialog(frmNew::Mode::Delete, host, nullptr, env.folder);
    dialog.show();
    EXPECT_EQ(dialog.windowTitle(), "Delete database");
    EXPECT_EQ(dialogControl<QLabel>(dialog, "Label1")->text(), "Choose a database to delete:");
    EXPECT_FALSE(dialogControl<QLineEdit>(dialog, "txtName")->isVisible());
    EXPECT_EQ(dialogControl<qbButtons_H>(dialog, "cmdOK")->Caption(), "Delete the database");
    EXPECT_FALSE(dialogControl<qbButtons_H>(dialog, "cmdOK")->isEnabled());
    clickNode(dialogControl<DatabaseList>(dialog, "tvwDB"), "Work.xml");
    EXPECT_EQ(dialogControl<QLabel>(dialog, "lblName")->text(), "Work.xml");

    dialogControl<qbButtons_H>(dialog, "cmdOK")->click(); // unanswered: the default, No
    ASSERT_EQ(env.prompts.messages().size(), 1u);
    EXPECT_EQ(env.prompts.messages()[0].text, "Are you sure you wish to permanently delete the database Work.xml?");
    EXPECT_EQ(env.prompts.messages()[0].title, "Delete Vardecks database?");
    EXPECT_EQ(env.prompts.messages()[0].defaultButton, MsgResult::No);
    EXPECT_TRUE(QFile::exists(env.folder + "Work.xml"));
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_EQ(closes, 0);

    env.prompts.answer(MsgResult::Yes);
    dialogControl<qbButtons_H>(dialog, "cmdOK")->click();
    EXPECT_EQ(closes, 1);
    EXPECT_TRUE(fileThereWhenClosed);
    EXPECT_FALSE(QFile::exists(env.folder + "Work.xml"));
    EXPECT_EQ(env.prompts.lastText(), "The database Work.xml was successfully deleted.");
    EXPECT_EQ(env.prompts.messages().back().icon, MsgIcon::Information);
    EXPECT_FALSE(dialog.isVisible());

    // Deleting another database than the open one closes nothing.
    DatabaseFolder(env.folder).createDatabase("Other");
    frmNew again(frmNew::Mode::Delete, host, nullptr, env.folder);
    again.show();
    clickNode(dialogControl<DatabaseList>(again, "tvwDB"), "Other.xml");
    env.prompts.answer(MsgResult::Yes);
    dialogControl<qbButtons_H>(again, "cmdOK")->click();
    EXPECT_EQ(closes, 1);
    EXPECT_FALSE(QFile::exists(env.folder + "Other.xml"));
}

TEST(BackupCommand, refusesTheOpenDatabaseOrALinkToItAndReportsOnlyARealSuccess)
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

    const QString link = env.home.path() + "/link.xml";
    ASSERT_TRUE(QFile::link(source, link));
    // Refused, the picker comes back; cancelled there, nothing is written.
    EXPECT_FALSE(backUpTo(link, MsgResult::Yes));
    ASSERT_EQ(env.prompts.fileRequests().size(), 2u);
    for (const FileRequest &request : env.prompts.fileRequests()) {
        EXPECT_EQ(request.title, "Choose a folder location to backup your Vardecks database to...");
        EXPECT_EQ(request.defaultName, "Vardecks-backup.xml") << "never the open database's own name";
        EXPECT_EQ(request.filters, QStringList{"XML Files (*.xml)"});
    }
    EXPECT_EQ(env.prompts.fileRequests()[0].startFolder, QFileInfo(source).absolutePath());
    EXPECT_EQ(env.prompts.fileRequests()[1].startFolder, env.home.path()) << "where the refused file was";
    EXPECT_EQ(env.prompts.texts(), QStringList{"The backup cannot be written over the open database itself - "
                                               "please choose a different file"});
    EXPECT_EQ(env.prompts.messages()[0].icon, MsgIcon::Exclamation);
    EXPECT_EQ(proposedBackupName("Work.xml"), "Work-backup.xml");

    // The open database itself, refused, then another file: the backup is written there.
    const QString second = env.home.path() + "/second.xml";
    env.prompts.clear();
    env.prompts.answerFile(source);
    env.prompts.answerFile(second);
    EXPECT_TRUE(runBackupCommand(source, "Vardecks.xml"));
    EXPECT_EQ(env.prompts.fileRequests().size(), 2u);
    EXPECT_EQ(test::readBytes(second), original);
    EXPECT_EQ(env.prompts.lastText(), "Vardecks database successfully backed-up to " + second);
    // The copy itself refuses the source too, and a missing source.
    EXPECT_FALSE(DatabaseFolder::backupDatabase(source, source));
    EXPECT_FALSE(DatabaseFolder::backupDatabase(source, link));
    EXPECT_EQ(test::readBytes(source), original);

    const QString target = env.home.path() + "/copy.xml";
    EXPECT_TRUE(test::writeBytes(target, "old"));
    EXPECT_FALSE(DatabaseFolder::backupDatabase(env.folder + "missing.xml", target));
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

    EXPECT_TRUE(backUpTo(target, MsgResult::Yes));
    EXPECT_EQ(test::readBytes(target), original);
    EXPECT_EQ(env.prompts.lastText(), "Vardecks database successfully backed-up to " + target);
    EXPECT_EQ(env.prompts.messages().back().title, "Successful Vardecks backup");

    env.prompts.clear();
    EXPECT_FALSE(runBackupCommand(source, "Vardecks.xml")); // the file dialog cancelled
    EXPECT_TRUE(env.prompts.messages().empty());
}
