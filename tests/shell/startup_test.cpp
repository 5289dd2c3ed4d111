// Start and close on a temporary home: first run, a later run restoring what the close wrote, a
// database that fails to open, and the splash hand-over.
#include "platform/paths.h"
#include "shell/frmsplash.h"
#include "shell/mainmodule.h"
#include "storage/lists.h"
#include "storage/registryfunctions.h"
#include "storage/useroptions.h"
#include "storage/vardeckmodule.h"
#include "windowfixture.h"

#include <QAction>
#include <QEventLoop>
#include <QHeaderView>
#include <QTimer>

using namespace rr;

namespace
{

const QString kApp = QStringLiteral("Software\\Quorvane\\Vardecks\\");
const QString kOptions = QStringLiteral("Software\\Quorvane\\Vardecks\\UserOptions\\");

QString stored(const QString &key, const QString &name)
{
    return RegistryFunctions::QueryValue(reg::HKEY_CURRENT_USER, key, name).toString();
}

void store(const QString &key, const QString &name, const QString &value)
{
    RegistryFunctions::WriteValue(reg::HKEY_CURRENT_USER, key, name, value);
}

class StartUp : public ::testing::Test
{
protected:
    void SetUp() override
    {
        appOptions() = UserOptions();
        paths::prepareProgramFolder();
    }
    std::unique_ptr<frmVardecks> start()
    {
        auto window = std::make_unique<frmVardecks>();
        Main(*window);
        return window;
    }
    test::TempHome home;
    test::ScriptedPrompts prompts;
};

TEST_F(StartUp, firstRunWritesTheDefaultsAndOpensTheSeededDatabase)
{
    auto window = start();
    EXPECT_EQ(stored(kApp, "BasicApp"), "ok");
    EXPECT_EQ(stored(kApp, "Aspect"), "Explorer");

    ASSERT_NE(window->dbXML, nullptr);
    EXPECT_EQ(window->StatusBar1->panelText(3), "Vardecks.xml");
    EXPECT_EQ(window->currentTID, "txtTID");
    EXPECT_EQ(recentMax, 15);
    EXPECT_TRUE(window->chkSearch(0)->isChecked());
    // The splash hands over to the window on its timer.
    ASSERT_NE(window->splashWindow(), nullptr);
    EXPECT_TRUE(QTest::qWaitFor([&] { return window->isVisible(); }));
    EXPECT_EQ(window->focusWidget(), window->tvwTopics) << "the keyboard starts in the folder tree";
}

TEST_F(StartUp, aLaterRunRestoresWhatThePreviousCloseWroteAndMaximisedOrMinimisedStoreFixedValues)
{
    {
        auto first = start();
        ASSERT_TRUE(QTest::qWaitFor([&] { return first->isVisible(); }));
        first->tabIndex->setTab(2);
        first->tabView->setTab(1);
        first->showNormal();
        first->resize(700, 500);
        first->move(30, 40);
        first->Splitter1->setSplitterPos(3000);
        appOptions().setHideSplash(true);
        first->close();
        ASSERT_TRUE(first->isUnloaded());
    }
    EXPECT_EQ(stored(kApp, "frmHeight"), "7500");
    EXPECT_EQ(stored(kApp, "frmLeft"), "450");
    EXPECT_EQ(stored(kApp, "Maximised"), "False");
    EXPECT_EQ(stored(kApp, "webAspectHtml"), "False");
    EXPECT_EQ(stored(kApp, "currentDB"), ""); // dbDefault off: the options' database, none chosen
    EXPECT_EQ(stored(kOptions, "recentNo"), "15");

    appOptions() = UserOptions();
    auto second = start(); // the restored tab, width and hidden splash prove what was stored
    EXPECT_EQ(second->splashWindow(), nullptr);
    EXPECT_TRUE(second->isVisible());
    EXPECT_EQ(second->tabIndex->Tab(), 2);
    EXPECT_EQ(second->tabView->Tab(), 1);
    EXPECT_EQ(second->width(), 700);
    EXPECT_EQ(second->Splitter1->SplitterPos(), 3000);
    EXPECT_TRUE(second->cmdFAdd->isVisible());
    second.reset();

    // A maximised or minimised window stores fixed values.
    for (const auto &[state, maximised] : {std::pair{Qt::WindowMaximized, "True"}, {Qt::WindowMinimized, "False"}}) {
        appOptions() = UserOptions();
        auto window = start();
        window->setWindowState(state);
        QTest::qWait(20);
        window->Form_Unload();
        EXPECT_EQ(stored(kApp, "frmWidth"), "10500");
        EXPECT_EQ(stored(kApp, "frmHeight"), "7590");
        EXPECT_EQ(stored(kApp, "frmLeft"), "0");
        EXPECT_EQ(stored(kApp, "Maximised"), maximised);
    }
}

// Notes whether a splash was on screen at each message, and holds it open a moment while events go on.
class SplashWatch final : public PromptHandler
{
public:
    SplashWatch() : m_previous(prompt::installed()) { prompt::install(this); }
    ~SplashWatch() override { prompt::install(m_previous); }
    MsgResult message(const MessageRequest &request) override
    {
        const QWidgetList windows = QApplication::topLevelWidgets();
        splashShown << std::any_of(windows.begin(), windows.end(),
                                   [](QWidget *w) { return qobject_cast<frmSplash *>(w) && w->isVisible(); });
        ++m_open;
        mostOpenAtOnce = std::max(mostOpenAtOnce, m_open);
        QEventLoop reading;
        QTimer::singleShot(400, &reading, &QEventLoop::quit);
        reading.exec();
        --m_open;
        return m_previous->message(request);
    }
    QString file(const FileRequest &request) override { return m_previous->file(request); }
    QString input(const InputRequest &request, bool *ok) override { return m_previous->input(request, ok); }
    QList<bool> splashShown;
    int mostOpenAtOnce = 0;

private:
    int m_open = 0;
    PromptHandler *m_previous;
};

TEST_F(StartUp, aDatabaseThatFailsToOpenIsToldWithTheSplashGoneAndLeavesOnlyTheDatabaseCommands)
{
    store(kApp, "BasicApp", "ok");
    store(kApp, "currentDB", "Broken.xml");
    ASSERT_TRUE(test::writeBytes(paths::databaseFolder() + "Broken.xml", "<?xml version='1.0'?>\n<FOLDERS><FOLDER>"));
    SplashWatch watch;
    auto window = std::make_unique<frmVardecks>();
    window->ops.showTips = [] { prompt::show("A tip"); };
    Main(*window);
    ASSERT_FALSE(prompts.messages().empty());
    const QString text = prompts.messages().front().text;
    EXPECT_TRUE(text.startsWith(
        "Failed to open the default Vardecks database.  Please select another from the File->Database->Open "
        "menu, or create a new database from the File->Database->New menu option.\n\nBroken.xml: "))
        << text.toStdString();
    EXPECT_GT(text.size(), text.indexOf("Broken.xml: ") + 13) << "the parser's reason follows";
    EXPECT_FALSE(watch.splashShown.value(0, true));
    EXPECT_EQ(watch.mostOpenAtOnce, 1) << "the tip of the day waits until the message is answered";
    EXPECT_EQ(prompts.messages().front().icon, MsgIcon::Exclamation);
    EXPECT_TRUE(QTest::qWaitFor([&] { return window->isVisible(); }));
    EXPECT_EQ(window->dbXML, nullptr);
    QStringList enabled;
    for (QAction *item : window->allMenuItems())
        if (item->isEnabled() && item->objectName().startsWith("mnu") && !item->isSeparator())
            enabled << item->objectName();
    enabled.sort();
    EXPECT_EQ(enabled, QStringList({"mnuFile", "mnuFileDatabase", "mnuFileExit", "mnuFileNew", "mnuFileOpen"}));
}

TEST_F(StartUp, listColumnsShareTheLaidOutListAndTinyStoredWidthsCountAsMissing)
{
    store(kApp, "BasicApp", "ok");
    store(kApp, "frmWidth", "15000"); // 1000 px
    store(kApp, "c1", "150");         // 10 px: a width that hides its column
    store(kApp, "c2", "1500");        // 100 px
    store(kOptions, "hideSplash", "True");
    auto window = start();
    QHeaderView *header = window->listVD->header();
    const int share = window->listVD->width() / 6;
    EXPECT_GT(share, 80) << "the list is laid out before its share is taken";
    EXPECT_NEAR(header->sectionSize(0), share, 2);
    EXPECT_EQ(header->sectionSize(1), 100);
    EXPECT_NEAR(header->sectionSize(5), share, 2);
    EXPECT_NEAR(window->lstSearch->header()->sectionSize(0), window->lstSearch->width() / 7, 2);
}

TEST_F(StartUp, storedDatabaseNamesThatAreNotBareFileNamesAreIgnored)
{
    EXPECT_EQ(safeDatabaseName("Work.xml"), "Work.xml");
    for (const char *bad : {"../x.xml", "/etc/passwd", "a/b.xml", "", "  ", ".."})
        EXPECT_EQ(safeDatabaseName(bad), "Vardecks.xml") << bad;
}

TEST(Splash, handsOverAtTheNextTickAndOpensTipsUnlessTurnedOff)
{
    test::TempHome home;
    for (bool tipsOff : {false, true}) {
        appOptions() = UserOptions();
        appOptions().setTipStartup(tipsOff);
        int shown = 0, tips = 0;
        auto *splash = new frmSplash([&] { ++shown; }, [&] { ++tips; });
        QPointer<frmSplash> guard(splash);
        splash->Form_Load();
        EXPECT_EQ(splash->lastAlpha(), 252);
        QTest::qWait(250);
        EXPECT_EQ(shown, 0); // still loading: the timer keeps polling
        splash->setUnload();
        EXPECT_TRUE(QTest::qWaitFor([&] { return shown == 1; }, 1000));
        EXPECT_EQ(tips, tipsOff ? 0 : 1);
        EXPECT_TRUE(QTest::qWaitFor([&] { return guard.isNull(); }, 1000));
    }
}

} // namespace
