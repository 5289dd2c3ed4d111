// File > Database: New, Open, Backup, Close and Delete through the window and its dialogs;
// a database's icon files: a download filed under a Vardeck's name, the PDF icon, deletions.
#include "editingfixture.h"
#include "explorer/iconfetchoperations.h"

#include "platform/atomicfile.h"
#include "platform/gui/partoperations.h"
#include "platform/paths.h"
#include "storage/session.h"
#include "storage/ui/databaselist.h"
#include "storage/ui/frmnew.h"
#include "storage/ui/frmopen.h"
#include "support/dialogcontrols.h"
#include "support/windowcontrols.h"

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
                chooseNode(dialogControl<DatabaseList>(*dialog, "tvwDB"), fileName);
                dialogControl<qbButtons_H>(*dialog, "cmdOK")->click();
            },
            [&] { byCommand ? window->commands.mnuFileOpen_Click() : menu(MenuId::mnuFileOpen); });
    }
    // The database commands that need no open database, Exit and the whole Help menu.
    bool onlyDatabaseCommandsEnabled() const
    {
        QStringList open = {"mnuFile",         "mnuFileOpen", "mnuFileDatabase", "mnuFileNew",
                            "mnuFileDeleteDB", "mnuFileExit", "mnuHelp"};
        for (QAction *item : window->subMenu(MenuId::mnuHelp)->actions())
            open << item->objectName();
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

    // A file that is no database leaves the previous one open, and saving still goes there; the
    // message says what the parser found, as at start-up.
    openThroughDialog("broken.xml");
    EXPECT_EQ(prompts.lastText(),
              "Failed to open the Vardecks file broken.xml\n\n"
              "broken.xml: The file ends before the element \"FOLDER\" is closed. (line 1, column 18)");
    EXPECT_EQ(prompts.messages().back().icon, MsgIcon::Exclamation);
    EXPECT_EQ(window->dbXML.name(), "Vardecks.xml");
    EXPECT_EQ(lblWName(*window)->text(), "Beta site");
    menu(MenuId::mnuEditModify);
    txtWName(*window)->setText("Still here");
    save();
    EXPECT_EQ(stored("W1").childText("NAME"), "Still here");

    VDData made;
    made.loadDataFromReg("W1", "Made this session", "http://a.example/", "Vardecks.xml");
    session().recentColl = {made};
    session().searchColl = {"typed today"};
    appOptions().setdbDefault(true);
    // While editing, the menu item is off and the command asks first.
    menu(MenuId::mnuEditModify);
    EXPECT_FALSE(menuEnabled(MenuId::mnuFileOpen));
    prompts.answer(MsgResult::No);
    window->commands.mnuFileOpen_Click();
    EXPECT_EQ(prompts.lastText(), "Opening a new Vardecks file will lose any unsaved changes.  Are you sure?");
    EXPECT_EQ(prompts.messages().back().title, "Exit Vardecks application?");
    EXPECT_EQ(window->editState(), EditState::Modifying);

    prompts.answer(MsgResult::Yes);
    openThroughDialog("Other.xml", true);
    EXPECT_EQ(window->dbXML.name(), "Other.xml");
    EXPECT_EQ(window->editState(), EditState::Viewing);
    EXPECT_TRUE(menuEnabled(MenuId::mnuFileOpen));
    EXPECT_EQ(StatusBar1(*window)->panelText(3), "Other.xml");
    EXPECT_EQ(childTexts(root()), QStringList({"Elsewhere"}));
    EXPECT_EQ(lblWName(*window)->text(), "No Vardeck selected");
    EXPECT_EQ(tvwWM(*window)->topLevelItemCount(), 0);
    EXPECT_TRUE(menuEnabled(MenuId::mnuThumbAll));
    ASSERT_EQ(session().recentColl.size(), 1);
    EXPECT_EQ(session().recentColl[0].getName(), "Made this session");
    EXPECT_EQ(session().searchColl, QStringList({"typed today"}));
    EXPECT_EQ(appOptions().getDBToOpen(), "Other.xml");
}

// A click on the folder tree and a command's key that reach the window while another
// database opens: they were aimed at the database that is going, so they are dropped rather
// than run on a window whose tree is new while its lists, captions and menus are the old
// ones (or handed to the new database once it is open).
TEST_F(DatabaseCommands, aClickAndAKeyMadeWhileADatabaseOpensAreDroppedAndTheWindowShowsTheNewOne)
{
    openDb();
    writeDatabase(home.databaseFolder(), "Other.xml",
                  "<FOLDERS>" + folderXml("T1", "Elsewhere", VD{"W1", "Far site", "http://far.example/"}.xml()) +
                      "</FOLDERS>");
    showVardeck("T1", "W1");
    tvwTopics(*window)->setFocus();
    QStringList clicked;
    QObject::connect(tvwTopics(*window), &QTreeWidget::itemClicked, window.get(),
                     [&](QTreeWidgetItem *item) { clicked << item->text(0); });

    const QPointF at = shownAt(topics(), root()->child(0)); // where the new tree's first folder comes
    for (QEvent::Type type : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease})
        QCoreApplication::postEvent(
            tvwTopics(*window)->viewport(),
            new QMouseEvent(type, at, tvwTopics(*window)->viewport()->mapToGlobal(at), Qt::LeftButton,
                            type == QEvent::MouseButtonPress ? Qt::LeftButton : Qt::NoButton, Qt::NoModifier));
    for (QEvent::Type type : {QEvent::KeyPress, QEvent::KeyRelease})
        QCoreApplication::postEvent(tvwTopics(*window), new QKeyEvent(type, Qt::Key_N, Qt::ControlModifier));

    ASSERT_TRUE(openTheDatabase(*window, ChosenDatabase{home.databaseFolder() + "Other.xml", "Other.xml"}));
    settle();

    EXPECT_EQ(clicked, QStringList()) << "the tree took no click";
    EXPECT_EQ(window->editState(), EditState::Viewing) << "no new Vardeck was begun";
    EXPECT_EQ(lblTName(*window)->text(), "No folder selected");
    EXPECT_EQ(lblWName(*window)->text(), "No Vardeck selected");
    EXPECT_EQ(tvwWM(*window)->topLevelItemCount(), 0);
    EXPECT_EQ(topics()->currentItem(), root());
    EXPECT_EQ(childTexts(root()), QStringList({"Elsewhere"}));
    EXPECT_EQ(StatusBar1(*window)->panelText(3), "Other.xml");
    EXPECT_FALSE(menuEnabled(MenuId::mnuEditModify));
    EXPECT_TRUE(prompts.messages().empty());

    // Input made once the database is open reaches it as usual.
    clickFolder("T1");
    EXPECT_EQ(clicked, QStringList({"Elsewhere"}));
    EXPECT_EQ(lblTName(*window)->text(), "Elsewhere");
}

// The site icon of a page being added is fetched only while that add goes on: a database opened
// before the icon timer ran ends the add, and no fetch follows.
TEST_F(DatabaseCommands, aDatabaseOpenedDuringAnAddFromABrowserEndsTheAddBeforeItsIconIsFetched)
{
    openDb();
    writeDatabase(home.databaseFolder(), "Other.xml", "<FOLDERS>" + folderXml("T1", "Elsewhere") + "</FOLDERS>");
    int fetches = 0;
    struct IconFetch final : QObject, IconFetchOperations {
        int &fetches;
        explicit IconFetch(int &count) : fetches(count) {}
        void timerIcon_Timer(const QString &) override { ++fetches; }
    } iconFetch(fetches);
    offerOperations<IconFetchOperations>(*window, iconFetch, iconFetch);
    clickFolder("T6");
    window->commands.addVardeckSetup(DetectedPage{"http://page.example/", "Page", "", "", "", "Firefox"});
    ASSERT_TRUE(timerIcon(*window)->isActive());

    ASSERT_TRUE(openTheDatabase(*window, ChosenDatabase{home.databaseFolder() + "Other.xml", "Other.xml"}));
    QTest::qWait(50);
    EXPECT_EQ(window->editState(), EditState::Viewing);
    EXPECT_EQ(fetches, 0);
}

TEST_F(DatabaseCommands, closeKeepsTheDatabaseOnAFailedSaveAndAsksBackupCopiesDeleteClosesAndNewOpensInTheWindow)
{
    openDb();
    {
        FailingDisk disk;
        menu(MenuId::mnuFileClose);
    }
    EXPECT_EQ(prompts.messages().size(), 1u);
    EXPECT_EQ(prompts.messages().back().icon, MsgIcon::Exclamation);
    EXPECT_NE(window->dbXML.get(), nullptr) << "the file could not be written: still open";

    const QString target = home.path() + "/copy.xml";
    prompts.answerFile(target);
    menu(MenuId::mnuFileBackup);
    EXPECT_EQ(readBytes(target), fileBytes());

    showVardeck("T1", "W1");
    menu(MenuId::mnuEditModify);
    prompts.answer(MsgResult::No);
    window->commands.mnuFileClose_Click();
    EXPECT_EQ(prompts.lastText(), "You are about to lose unsaved changes - do you wish to continue?");
    EXPECT_NE(window->dbXML.get(), nullptr);
    EXPECT_EQ(window->editState(), EditState::Modifying);

    prompts.answer(MsgResult::Yes);
    window->commands.mnuFileClose_Click();
    EXPECT_EQ(window->dbXML.get(), nullptr);
    EXPECT_EQ(window->editState(), EditState::Viewing);
    EXPECT_EQ(topics()->topLevelItemCount(), 0);
    EXPECT_EQ(listVD(*window)->topLevelItemCount(), 0);
    EXPECT_EQ(lblTName(*window)->text(), "No folder selected");
    EXPECT_EQ(tabView(*window)->TabCaption(1), "   No folder selected   ") << "not the closed folder's name";
    EXPECT_EQ(StatusBar1(*window)->panelText(3), "");
    EXPECT_EQ(window->dbXML.name(), "") << "a closed database is no longer named as the open one";
    EXPECT_EQ(window->dbXML.mostRecentName(), "Vardecks.xml") << "the next start may open it again";
    EXPECT_TRUE(onlyDatabaseCommandsEnabled());
    EXPECT_TRUE(stored("W1")) << "the file stays whole";

    // Deleting the open database closes it.
    openDb();
    showVardeck("T1", "W1");
    prompts.clear();
    prompts.answer(MsgResult::Yes);
    whileModal<frmNew>(
        [](frmNew *dialog) {
            chooseNode(dialogControl<DatabaseList>(*dialog, "tvwDB"), "Vardecks.xml");
            dialogControl<qbButtons_H>(*dialog, "cmdOK")->click();
        },
        [&] { menu(MenuId::mnuFileDeleteDB); });
    EXPECT_EQ(prompts.messages().size(), 2u);
    EXPECT_FALSE(QFile::exists(path));
    EXPECT_EQ(window->dbXML.get(), nullptr);

    // A new database opens in the closed window.
    prompts.answer(MsgResult::Yes);
    whileModal<frmNew>(
        [](frmNew *dialog) {
            dialogControl<QLineEdit>(*dialog, "txtName")->setText("Work");
            dialogControl<qbButtons_H>(*dialog, "cmdOK")->click();
        },
        [&] { menu(MenuId::mnuFileNew); });
    EXPECT_EQ(StatusBar1(*window)->panelText(3), "Work.xml");
    EXPECT_TRUE(QFileInfo(window->dbXML.get()->getPath()) == QFileInfo(home.databaseFolder() + "Work.xml"));
    ASSERT_EQ(topics()->topLevelItemCount(), 1);
    EXPECT_EQ(root()->childCount(), 0);
    EXPECT_TRUE(menuEnabled(MenuId::mnuAddTopic));
    EXPECT_TRUE(QDir(home.databaseFolder() + "thumbs/Work").exists());
}

TEST_F(DatabaseCommands, aSaveOverAFileAnotherProgramChangedAsksNamingItAndByDefaultKeepsTheFileAndTheChange)
{
    openDb();
    const auto modify = [this](const QString &name) {
        showVardeck("T1", "W1");
        menu(MenuId::mnuEditModify);
        txtWName(*window)->setText(name);
        save();
    };
    // Another program puts its own version of the file in place of the one read.
    ASSERT_TRUE(writeFileAtomically(path, fileBytes().replace("Beta site", "Their name")));
    const QByteArray theirs = fileBytes();
    modify("Mine");
    ASSERT_EQ(prompts.messages().size(), 1u);
    EXPECT_EQ(prompts.lastText(), "The Vardecks database file " + path +
                                      " was changed by another program after it was read.\n\n"
                                      "Replace it with the database as it is here?  No keeps the file as it is on "
                                      "disk, and the change here until the next save.");
    EXPECT_EQ(prompts.messages().back().icon, MsgIcon::Exclamation);
    EXPECT_EQ(prompts.messages().back().defaultButton, MsgResult::No);
    EXPECT_EQ(fileBytes(), theirs) << "No, the default, keeps the file";
    EXPECT_EQ(doc()->nodeFromID("W1").childText("NAME"), "Mine") << "and the change in memory";
    EXPECT_EQ(lblWName(*window)->text(), "Mine");

    // The next save asks again; Yes writes the database over the file.
    prompts.answer(MsgResult::Yes);
    modify("Mine again");
    EXPECT_EQ(prompts.messages().size(), 2u);
    EXPECT_EQ(stored("W1").childText("NAME"), "Mine again");
    // What the program wrote itself is no change.
    modify("Mine once more");
    EXPECT_EQ(prompts.messages().size(), 2u);
    EXPECT_EQ(stored("W1").childText("NAME"), "Mine once more");
}

struct IconFolder {
    TempHome home;
    QString base = home.path() + "/db/";
    QString icons = base + "icons/Work/";
    IconFolder() { QDir().mkpath(icons); }
    void picture(const QString &path, const char *format = "PNG") const
    {
        QImage image(16, 16, QImage::Format_ARGB32);
        image.fill(Qt::blue);
        image.save(path, format);
    }
};

TEST(IconSupport, filesAPictureUnderTheVardeckReplacingAnOlderIconAndRefusesWhatIsNone)
{
    IconFolder f;
    IconSupport icons;
    EXPECT_EQ(icons.saveAsVDIfFavExists(f.base, "W1", "Work.xml"), "") << "no download";
    writeBytes(f.icons + "favicon.ico", "<html>Not found</html>");
    EXPECT_FALSE(IconSupport::checkValidIcon(f.icons + "favicon.ico"));
    EXPECT_EQ(icons.saveAsVDIfFavExists(f.base, "W1", "Work.xml"), "");
    EXPECT_FALSE(QFile::exists(f.icons + "W1.ico"));
    icons.clearIconFile();
    EXPECT_FALSE(QFile::exists(f.icons + "favicon.ico"));
    icons.clearIconFile(); // nothing left to delete is no error

    icons.setIconPath(f.base, "Work.xml");
    EXPECT_EQ(icons.getIconFile(), f.icons + "favicon.ico");
    EXPECT_EQ(icons.getGenericIconFile(), f.icons + "generic.ico");
    f.picture(f.icons + "favicon.ico", "BMP");
    writeBytes(f.icons + "W7.ico", "older");
    EXPECT_EQ(icons.saveAsVDIfFavExists(f.base, "W7", "Work.xml"), f.icons + "W7.ico");
    EXPECT_FALSE(QFile::exists(f.icons + "favicon.ico"));
    EXPECT_FALSE(QImage(f.icons + "W7.ico").isNull()) << "any picture format under the .ico name";
}

TEST(IconSupport, deletesOnlyAVardecksOwnIconAndGivesAPdfTheStockIcon)
{
    IconFolder f;
    f.picture(f.icons + "W2.ico");
    f.picture(f.icons + "Vardeck.gif");
    IconSupport icons;
    icons.setIconPath(f.base, "Work.xml");
    icons.deleteIcon("W9");
    icons.deleteIcon("../Vardeck");
    icons.deleteIcon("W2");
    EXPECT_FALSE(QFile::exists(f.icons + "W2.ico"));
    EXPECT_TRUE(QFile::exists(f.icons + "Vardeck.gif"));

    // A database name that cannot name a folder gives no paths at all.
    icons.setIconPath(f.base, "../x");
    EXPECT_EQ(icons.getIconPath(), "");

    // A PDF address gets the stock icon, once there is one.
    EXPECT_EQ(IconSupport::checkSavePDFIcon(f.base, "W3", "http://a.example/paper.pdf", "Work.xml"), "")
        << "no stock icon yet";
    f.picture(f.base + "pdficon.gif", "PNG");
    EXPECT_EQ(IconSupport::checkSavePDFIcon(f.base, "W3", "http://a.example/paper.PDF", "Work.xml"),
              f.icons + "W3.ico");
    EXPECT_TRUE(QFile::exists(f.base + "pdficon.gif"));
    EXPECT_TRUE(QFile::exists(f.icons + "W3.ico"));
}

} // namespace
