// The program as put together: two collection boxes and the hand-over between two copies.
#include "app/assembly.h"
#include "app/collectiondialogs.h"
#include "controls/qbbuttons_h.h"
#include "dialogs/frmduplicates.h"
#include "dialogs/frmstats.h"
#include "explorer/databasecommands.h"
#include "explorer/duplicatesoperations.h"
#include "explorer/editing.h"
#include "explorer/explorerfixture.h"
#include "platform/gui/partoperations.h"
#include "shell/fonthelpers.h"
#include "shell/mainmodule.h"
#include "shell/singleinstance.h"
#include "storage/chosendatabase.h"
#include "storage/registryfunctions.h"
#include "storage/session.h"
#include "storage/settingsstore.h"
#include "storage/useroptions.h"
#include "support/devtoolsserver.h"
#include "support/dialogcontrols.h"
#include "support/xsession.h"
#include "web/ui/capture.h"
#include "web/ui/frmvardeckdialog.h"

#include <QCheckBox>
#include <QClipboard>
#include <QElapsedTimer>
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
        session().sansSerifInstalled = false; // the designed font is missing: the fallback applies
    }

    // Runs the command and hands the modal window it opens to act, which must close it.
    template <typename Dialog> void whileOpen(HandlerRef command, const std::function<void(Dialog &)> &act)
    {
        whileOpenedBy<Dialog>([&] { (window->commands.*command)(); }, act);
    }
    template <typename Dialog>
    void whileOpenedBy(const std::function<void()> &open, const std::function<void(Dialog &)> &act)
    {
        bool acted = false;
        QTimer::singleShot(50, window.get(), [&] {
            if (auto *dialog = qobject_cast<Dialog *>(QApplication::activeModalWidget())) {
                act(*dialog);
                acted = true;
            }
        });
        open();
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
    const QString icon = iconFilePath(base, window->dbXML.name(), "W2");
    const QString thumb = thumbFilePath(base, window->dbXML.name(), "W2");
    EXPECT_TRUE(writeBytes(icon, "x"));
    EXPECT_TRUE(writeBytes(thumb, "x"));

    whileOpen<frmDuplicates>(&Commands::mnuToolsDup_Click, [](frmDuplicates &dialog) {
        EXPECT_EQ(dialog.findChild<QLabel *>()->font().family(), "MS Sans Serif") << "the font fallback";
        dialogControl<QCheckBox>(dialog, "chkSuppress")->setChecked(true);
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

TEST_F(CollectionDialogsTest, theCheckAfterASaveShowsOnlyTheSetOfTheSavedAddress)
{
    openDatabase("<FOLDERS>" +
                 folderXml("T1", "Inbox",
                           vardeckXml("W1", "a", "http://a.example/") + vardeckXml("W2", "a again", "a.example") +
                               vardeckXml("W3", "b", "http://b.example/") + vardeckXml("W4", "b again", "b.example")) +
                 "</FOLDERS>");
    appOptions().setCheckDup(true);
    whileOpenedBy<frmDuplicates>(
        [&] { operationsOf<DuplicatesOperations>(*window).frmDuplicates_Show("http://b.example/"); },
        [](frmDuplicates &dialog) {
            EXPECT_EQ(dialog.setCount(), 1);
            QTreeWidget *rows = dialogControl<QTreeWidget>(dialog, "listVD");
            QStringList wids;
            for (int i = 0; i < rows->topLevelItemCount(); ++i)
                wids << rows->topLevelItem(i)->data(0, Qt::UserRole).toString();
            wids.sort();
            EXPECT_EQ(wids, QStringList({"W3", "W4"}));
            dialog.cmdCancel_Click();
        });
}

TEST_F(CollectionDialogsTest, statisticsShowAndCopyTheFiguresOfTheOpenDatabase)
{
    openDatabase();
    whileOpen<frmStats>(&Commands::mnuViewStats_Click, [](frmStats &box) {
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

    // The duplicate manager deletes the favourite.
    whileOpen<frmDuplicates>(&Commands::mnuToolsDup_Click, [](frmDuplicates &dialog) {
        dialogControl<QCheckBox>(dialog, "chkSuppress")->setChecked(true);
        dialog.cmdDelete_Click();
        dialog.cmdCancel_Click();
    });
    ASSERT_FALSE(doc()->nodeFromID("W2"));
    QString favorites;
    whileOpen<frmStats>(&Commands::mnuViewStats_Click, [&](frmStats &box) {
        favorites = dialogControl<QLabel>(box, "lblFavs")->text();
        box.accept();
    });
    EXPECT_EQ(favorites, "0");
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
    probe.connectToServer(SingleInstance::serverPath());
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

TEST(HandOff, anEmptyInstanceLockLeftByAKilledCopyDoesNotDelayTheStart)
{
    TempHome home;
    // The copy was killed between making its lock file and writing into it.
    ASSERT_TRUE(writeBytes(paths::configFolder() + "/instance.lock", ""));
    QElapsedTimer clock;
    clock.start();
    SingleInstance first;
    EXPECT_EQ(first.start(), SingleInstance::Role::First);
    EXPECT_LT(clock.elapsed(), 1000);
    EXPECT_TRUE(serverAnswers());
    EXPECT_FALSE(QFile::exists(paths::configFolder() + "/instance.lock"));
}

// Browsers started with remote debugging that accept and never answer do not hold the
// window back; the pages of the one that answers are offered once the others timed out.
TEST(Start, theWindowShowsWithoutWaitingForSilentBrowsersAndTheirPagesAreOfferedAfter)
{
    TempHome home;
    ScriptedPrompts prompts;
    ASSERT_TRUE(paths::prepareProgramFolder());
    const QString options = QStringLiteral("Software\\Quorvane\\Vardecks\\UserOptions\\");
    RegistryFunctions::WriteValue(reg::HKEY_CURRENT_USER, options, QStringLiteral("hideSplash"), "True");
    RegistryFunctions::WriteValue(reg::HKEY_CURRENT_USER, options, QStringLiteral("tipStartup"), "True");
    std::vector<std::unique_ptr<DevToolsServer>> browsers;
    QList<quint16> ports;
    for (int i = 0; i < 8; ++i) {
        browsers.push_back(std::make_unique<DevToolsServer>());
        if (i < 7)
            browsers.back()->http().route(QStringLiteral("/json/list"), {.hang = true});
        ports << browsers.back()->port();
    }
    browsers.back()->setTargets({{"page", "Titled page", "http://127.0.0.1:8766/t01.html"},
                                 {"page", "127.0.0.1:8766/t06.html", "http://127.0.0.1:8766/t06.html"}});
    QTemporaryDir noFirefox;
    setCaptureSettings(
        CaptureSettings{noFirefox.path(), ports, QStringLiteral(":none"), QStringLiteral("Razuzezu Revidod"), 0, 1500});

    frmVardecks window;
    assembleMainWindow(window);
    QStringList offered;
    QTimer watch;
    QObject::connect(&watch, &QTimer::timeout, [&] {
        if (auto *dialog = qobject_cast<frmVardeckDialog *>(QApplication::activeModalWidget())) {
            for (int i = 0; i < dialogControl<QTreeWidget>(*dialog, "tvwDetected")->topLevelItemCount(); ++i)
                offered << dialogControl<QTreeWidget>(*dialog, "tvwDetected")->topLevelItem(i)->text(0);
            dialog->reject();
        }
    });
    watch.start(10);
    QElapsedTimer clock;
    clock.start();
    Main(window);
    EXPECT_LT(clock.elapsed(), 3000) << "the start waited for the browsers";
    EXPECT_TRUE(window.isVisible());
    EXPECT_TRUE(offered.isEmpty());
    EXPECT_TRUE(waitUntil([&] { return !offered.isEmpty(); }, 10000));
    EXPECT_EQ(offered, QStringList({"Titled page", "http://127.0.0.1:8766/t06.html"}));
    setCaptureSettings(std::nullopt);
    window.close();
}

// Once the window has started, the preview's and the Web Aspect's boxes show the stored
// options; a database opened later leaves the preview's box unticked, the option kept.
TEST(Start, theWebPanesBoxesShowTheStoredOptionsAndAnOpenedDatabaseUnticksThePreviewsBox)
{
    struct Case {
        const char *autoPreview, *webAspectHtml;
        bool previewTicked, browserFormatsTicked;
    };
    const Case cases[] = {{"True", "False", true, true}, {"False", "True", false, false}};
    for (const Case &c : cases) {
        Session run;
        TempHome home;
        ScriptedPrompts prompts;
        ASSERT_TRUE(paths::prepareProgramFolder());
        const QString app = QString::fromLatin1(SettingsStore::kAppKey);
        RegistryFunctions::WriteValue(reg::HKEY_CURRENT_USER, app, QStringLiteral("BasicApp"), "ok");
        RegistryFunctions::WriteValue(reg::HKEY_CURRENT_USER, app, QStringLiteral("WebAspectHtml"), c.webAspectHtml);
        const QString options = app + QStringLiteral("UserOptions\\");
        for (const char *name : {"hideSplash", "tipStartup"})
            RegistryFunctions::WriteValue(reg::HKEY_CURRENT_USER, options, QString::fromLatin1(name), "True");
        RegistryFunctions::WriteValue(reg::HKEY_CURRENT_USER, options, QStringLiteral("autoPreview"), c.autoPreview);
        setCaptureSettings(
            CaptureSettings{home.path(), {}, QStringLiteral(":none"), QStringLiteral("Razuzezu Revidod"), 0, 100});

        frmVardecks window;
        assembleMainWindow(window);
        Main(window);
        EXPECT_EQ(chkAutoPreview(window)->isChecked(), c.previewTicked) << c.autoPreview;
        EXPECT_EQ(chkWebAspectBrowser(window)->isChecked(), c.browserFormatsTicked) << c.webAspectHtml;
        openTheDatabase(window, ChosenDatabase{writeDatabase(home.databaseFolder(), "Other.xml",
                                                             "<FOLDERS>" + folderXml("T1", "Other") + "</FOLDERS>"),
                                               QStringLiteral("Other.xml")});
        EXPECT_EQ(window.dbXML.name(), "Other.xml");
        EXPECT_FALSE(chkAutoPreview(window)->isChecked());
        EXPECT_EQ(appOptions().getAutoPreview(), c.previewTicked);
        setCaptureSettings(std::nullopt);
        window.close();
    }
}

// The keyboard's order over the window: leaving the Web Aspect, whose search box had the
// keys, hands them to the left pane's tabs as it always did, not to the first button of
// the Preview tab shown on the right.
TEST(Keyboard, leavingTheWebAspectGivesTheKeysToTheIndexTabsNotToThePreviewsButtons)
{
    TempHome home;
    ScriptedPrompts prompts;
    frmVardecks window;
    assembleMainWindow(window);
    window.show();
    QApplication::setActiveWindow(&window);
    tabInfo(window)->setTab(1);
    ASSERT_TRUE(cmdPreview(window, 0)->isVisible());
    window.aspectButton(AspectButton::Web)->trigger();
    QCoreApplication::processEvents();
    ASSERT_EQ(QApplication::focusWidget(), txtS(window));
    window.aspectButton(AspectButton::Explorer)->trigger();
    QCoreApplication::processEvents();
    EXPECT_EQ(QApplication::focusWidget(), tabIndex(window)->tabBar());
}

// A start that shows no web page makes no web view, loads no browser engine and makes
// no OpenGL context: on an X display each is tens of megabytes and part of a second.
TEST(Start, onAnXDisplayLoadsNoBrowserEngineAndMakesNoOpenGLContext)
{
    XSession x;
    if (!x.problem().isEmpty())
        GTEST_SKIP() << x.problem().toStdString();
    TempHome home;
    QProcess program;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("RAZUZEZU_HOME", home.path());
    env.insert("QT_QPA_PLATFORM", "xcb");
    env.insert("DISPLAY", x.display());
    env.insert("RAZUZEZU_REPORT_SHOWN", "1");
    program.setProcessEnvironment(env);
    program.start(QStringLiteral(RR_APP_BINARY), {});
    // The first start opens the tip of the day too: the line is all this test waits for.
    QDeadlineTimer deadline(30000);
    while (!program.canReadLine() && !deadline.hasExpired() && program.state() != QProcess::NotRunning)
        program.waitForReadyRead(100);
    EXPECT_EQ(program.readLine().trimmed().toStdString(),
              "shown 0 web views, browser engine not loaded, OpenGL context none");
    program.kill();
    program.waitForFinished();
}

} // namespace
