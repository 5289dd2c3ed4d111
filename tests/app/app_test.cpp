// The program as put together: two collection boxes, the command walk, and the hand-over between two copies.
#include "app/assembly.h"
#include "app/collectiondialogs.h"
#include "controls/qbbuttons_h.h"
#include "dialogs/frmduplicates.h"
#include "dialogs/frmstats.h"
#include "explorer/editing.h"
#include "explorer/explorerfixture.h"
#include "shell/fonthelpers.h"
#include "shell/singleinstance.h"

#include <QCheckBox>
#include <QClipboard>
#include <QLocalSocket>
#include <QProcess>
#include <QSignalSpy>

using namespace rr;
using namespace rr::test;

namespace
{

struct CollectionDialogsTest : ExplorerTest {
    void SetUp() override
    {
        ExplorerTest::SetUp();
        installEditing(*window);
        installCollectionDialogs(*window);
        sansSerifInstalled = false; // the designed font is missing: the fallback applies
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
        EXPECT_TRUE(QTest::qWaitFor([&] { return acted; }, 1000));
    }
};

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
    EXPECT_TRUE(writeBytes(icon, "x"));
    EXPECT_TRUE(writeBytes(thumb, "x"));

    whileOpen<frmDuplicates>("mnuToolsDup_Click", [](frmDuplicates &dialog) {
        EXPECT_EQ(dialog.findChild<QLabel *>()->font().family(), "MS Sans Serif") << "the font fallback";
        dialog.chkSuppress->setChecked(true);
        dialog.cmdDelete_Click(); // the first row: the later copy
        dialog.cmdCancel_Click();
    });
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
        EXPECT_EQ(box.findChild<QLabel *>()->font().family(), "MS Sans Serif") << "the font fallback";
        box.cmdCopy_Click();
        box.accept();
    });
    // Six folders and the root; W1 has an empty HITS (0), W2 none (1), W3 "9".
    EXPECT_EQ(QGuiApplication::clipboard()->text(),
              "Database name: Vardecks.xml\r\nTotal folders: 7\r\nTotal Vardecks: 3\r\nFavorites: 1\r\nTotal hits: 10");
}

TEST_F(CollectionDialogsTest, statisticsCountOnlyTheFavouritesTheDatabaseStillHolds)
{
    QByteArray copy = vardeckXml("W2", "copy", "https://a.example/x");
    copy.replace("<FAV>FALSE</FAV>", "<FAV>True</FAV>");
    openDatabase("<FOLDERS>" + folderXml("T1", "Inbox", vardeckXml("W1", "first", "http://a.example/x/") + copy) +
                 "</FOLDERS>");
    window->favsColl = QStringList{"W2"}; // as the favourites list is filled when the database opens

    // The duplicate manager deletes the favourite.
    whileOpen<frmDuplicates>("mnuToolsDup_Click", [](frmDuplicates &dialog) {
        dialog.chkSuppress->setChecked(true);
        dialog.cmdDelete_Click();
        dialog.cmdCancel_Click();
    });
    ASSERT_FALSE(doc()->nodeFromID("W2"));
    QString favorites;
    whileOpen<frmStats>("mnuViewStats_Click", [&](frmStats &box) {
        favorites = box.lblFavs->text();
        box.accept();
    });
    EXPECT_EQ(favorites, "0");
}

TEST(CommandWalk, everyItemAndButtonRunsAnAttachedCommandAndTheInternetExplorerItemsSaySo)
{
    TempHome home;
    ScriptedPrompts prompts;
    frmVardecks window;
    assembleMainWindow(window);
    window.LoadDynamicMenus();

    // Each control with its command, and what the tab strips and the View menu run themselves.
    using Handler = std::pair<QString, QString>;
    QList<Handler> handlers;
    for (QAction *item : window.allMenuItems()) {
        if (!item->isSeparator() && !item->menu())
            handlers.append({item->objectName(), item->property("rrCommand").toString()});
    }
    for (int position = 1; position <= window.toolbarButtonCount(); ++position) {
        QAction *button = window.toolbarButton(position);
        if (!button->isSeparator())
            handlers.append({button->objectName(), button->property("rrCommand").toString()});
    }
    handlers.append(Handler{"Toolbar2.Buttons(1)", "mnuAspectExplorer_Click"});
    handlers.append(Handler{"Toolbar2.Buttons(2)", "mnuAspectWeb_Click"});
    for (const char *command : {"showAspectExplorer", "populateFavsList", "populateWMOnTopicNode"})
        handlers.append(Handler{"tab strips", command});
    for (const qbButtons_H *button : window.findChildren<qbButtons_H *>())
        handlers.append({button->objectName(), button->property("rrCommand").toString()});

    QStringList missing, controls;
    for (const auto &[control, command] : handlers) {
        controls << control;
        if (command.isEmpty() || !window.hasCommand(command))
            missing.append(control + " -> " + command);
    }
    EXPECT_TRUE(missing.isEmpty()) << qPrintable(missing.join(", "));
    // The walk met the menus, both toolbars and the panes' buttons.
    EXPECT_GT(handlers.size(), 120);
    EXPECT_TRUE(controls.contains("cmdWeb(0)"));
    EXPECT_TRUE(controls.contains("mnuList(11)"));

    window.menuItem("mnuToolsIntegrate")->trigger();
    window.menuItem("mnuUndoIntegration")->trigger();
    EXPECT_EQ(prompts.texts(),
              QStringList({"There is no Internet Explorer on this system, so Razuzezu Revidod cannot be integrated "
                           "with it.",
                           "There is no Internet Explorer on this system, so there is no integration with it to "
                           "undo."}));
}

bool startProgram(QProcess &program, const QString &home)
{
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("RAZUZEZU_HOME", home);
    env.insert("QT_QPA_PLATFORM", "offscreen");
    program.setProcessEnvironment(env);
    program.start(QStringLiteral(RR_APP_BINARY), {});
    return program.waitForStarted();
}

bool serverAnswers()
{
    QLocalSocket probe;
    probe.connectToServer(SingleInstance::serverName());
    const bool up = probe.waitForConnected(200);
    probe.abort();
    return up;
}

TEST(HandOff, aSecondLaunchHandsOverOnceAndWritesNothing)
{
    TempHome home;
    SingleInstance first;
    ASSERT_EQ(first.start(), SingleInstance::Role::First);
    QSignalSpy received(&first, &SingleInstance::handOffReceived);

    QProcess second;
    ASSERT_TRUE(startProgram(second, home.path()));
    // The first copy answers from its event loop while the second waits.
    ASSERT_TRUE(QTest::qWaitFor([&] { return second.state() == QProcess::NotRunning; }, 15000))
        << "the second copy ends";
    EXPECT_EQ(second.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(second.exitCode(), 0);
    QTest::qWait(100);
    ASSERT_EQ(received.count(), 1);
    const int number = received.at(0).at(0).toString().toInt();
    EXPECT_GE(number, 1);
    EXPECT_LE(number, 1000000);

    // Nothing of the second copy's: no settings, no data folder.
    const QStringList written = QDir(paths::configFolder()).entryList(QDir::Files | QDir::NoDotAndDotDot);
    EXPECT_TRUE(written.isEmpty()) << written.join(", ").toStdString();
    EXPECT_FALSE(QDir(paths::programFolder()).exists());
}

TEST(HandOff, aSocketLeftByAKilledCopyDoesNotStopTheNextStart)
{
    TempHome home;
    QProcess crashed;
    ASSERT_TRUE(startProgram(crashed, home.path()));
    ASSERT_TRUE(QTest::qWaitFor(serverAnswers, 15000));
    crashed.kill();
    crashed.waitForFinished();

    SingleInstance next;
    EXPECT_EQ(next.start(), SingleInstance::Role::First);
    EXPECT_TRUE(serverAnswers());
}

} // namespace
