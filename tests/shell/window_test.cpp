// The main window from start to close, its layout rules, and the font, browser, error and caption helpers.
#include "explorer/explorer.h"
#include "finding/ui/findingui.h"
#include "platform/gui/columnfit.h"
#include "platform/gui/partoperations.h"
#include "platform/paths.h"
#include "platform/runtimeerror.h"
#include "platform/textutil.h"
#include "shell/fonthelpers.h"
#include "shell/frmsplash.h"
#include "shell/mainmodule.h"
#include "shell/tipsoperations.h"
#include "storage/registryfunctions.h"
#include "storage/session.h"
#include "storage/settingsstore.h"
#include "storage/useroptions.h"
#include "support/windowcontrols.h"
#include "web/ui/preview.h"
#include "web/ui/webaspect.h"
#include "windowfixture.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QHeaderView>
#include <QSignalSpy>
#include <QStyleOptionGroupBox>

using namespace rr;
using namespace rr::test;

namespace
{

const QString kApp = QStringLiteral("Software\\Quorvane\\Vardecks\\");

QString stored(const QString &key, const QString &name)
{
    return RegistryFunctions::QueryValue(reg::HKEY_CURRENT_USER, key, name).toString();
}

void store(const QString &key, const QString &name, const QString &value)
{
    RegistryFunctions::WriteValue(reg::HKEY_CURRENT_USER, key, name, value);
}

struct StartUp : ::testing::Test {
    void SetUp() override { paths::prepareProgramFolder(); }
    // The frame with the Explorer's folder tree and Vardeck views, which lay out and
    // keep their columns.
    static std::unique_ptr<frmVardecks> makeWindow()
    {
        auto made = std::make_unique<frmVardecks>();
        installExplorer(*made);
        return made;
    }
    std::unique_ptr<frmVardecks> start()
    {
        auto made = makeWindow();
        installFinding(*made);
        Main(*made);
        return made;
    }
    test::TempHome home;
    test::ScriptedPrompts prompts;
};

TEST_F(StartUp, firstRunWritesTheDefaultsAndOpensTheSeededDatabase)
{
    auto window = start();
    EXPECT_EQ(stored(kApp, "BasicApp"), "ok");

    ASSERT_TRUE(window->dbXML.isOpen());
    EXPECT_EQ(StatusBar1(*window)->panelText(3), "Vardecks.xml");
    EXPECT_FALSE(window->folderShown());
    EXPECT_EQ(session().recentMax, 15);
    EXPECT_TRUE(searchFieldBox(*window, FieldBox::AllData)->isChecked());
    // The splash hands over to the window on its timer.
    ASSERT_NE(window->splashWindow(), nullptr);
    EXPECT_TRUE(QTest::qWaitFor([&] { return window->isVisible(); }));
    EXPECT_EQ(window->focusWidget(), tvwTopics(*window)) << "the keyboard starts in the folder tree";
}

TEST_F(StartUp, aLaterRunRestoresWhatThePreviousCloseWroteAndMaximisedOrMinimisedStoreFixedValues)
{
    {
        auto first = start();
        ASSERT_TRUE(QTest::qWaitFor([&] { return first->isVisible(); }));
        tabIndex(*first)->setTab(2);
        tabView(*first)->setTab(1);
        first->showNormal();
        // The test screen is 800 pixels wide: the left pane narrower, so that the
        // window goes down to a size that fits it with its frame.
        Splitter2(*first)->setSplitterPos(2000);
        first->leastSizeFollowsLeftPane();
        first->resize(760, 640);
        first->move(30, 40);
        Splitter1(*first)->setSplitterPos(3000);
        appOptions().setHideSplash(true);
        first->close();
        ASSERT_TRUE(first->isUnloaded());
    }
    EXPECT_EQ(stored(kApp, "frmHeight"), "9600");
    EXPECT_EQ(stored(kApp, "frmLeft"), "450");
    EXPECT_EQ(stored(kApp, "Maximised"), "False");
    // No database chosen in the options: the one open now opens next, the options dialog never opened.
    EXPECT_EQ(stored(kApp, "currentDB"), "Vardecks.xml");
    EXPECT_EQ(stored(kApp + "UserOptions\\", "dbDefault"), "True");

    // The second start is a run of the program of its own.
    Session secondRun;
    auto second = start(); // the restored tab, width and hidden splash prove what was stored
    EXPECT_EQ(second->splashWindow(), nullptr);
    EXPECT_TRUE(second->isVisible());
    EXPECT_EQ(tabIndex(*second)->Tab(), 2);
    EXPECT_EQ(tabView(*second)->Tab(), 1);
    EXPECT_EQ(second->width(), 760);
    EXPECT_EQ(Splitter1(*second)->SplitterPos(), 3000);
    second.reset();

    // A maximised or minimised window stores fixed values.
    for (const auto &[state, maximised] : {std::pair{Qt::WindowMaximized, "True"}, {Qt::WindowMinimized, "False"}}) {
        Session run;
        auto window = start();
        window->setWindowState(state);
        QTest::qWait(20);
        window->Form_Unload();
        EXPECT_EQ(stored(kApp, "frmWidth"), "10500");
        EXPECT_EQ(stored(kApp, "frmLeft"), "0");
        EXPECT_EQ(stored(kApp, "Maximised"), maximised);
    }
}

TEST_F(StartUp, theTabChosenInEachTabStripComesBackAtTheNextStart)
{
    const struct {
        const char *strip;
        TabStrip *(*of)(const QWidget &);
        int chosen;
    } strips[] = {
        {"tabIndex", &tabIndex, 2},
        {"tabInfo", &tabInfo, 2},
        {"tabView", &tabView, 1},
    };
    {
        auto first = start();
        ASSERT_TRUE(QTest::qWaitFor([&] { return first->isVisible(); }));
        for (const auto &s : strips)
            s.of(*first)->setTab(s.chosen);
        first->close();
        ASSERT_TRUE(first->isUnloaded());
    }
    Session secondRun;
    auto second = start();
    for (const auto &s : strips)
        EXPECT_EQ(s.of(*second)->Tab(), s.chosen) << s.strip;
}

// With "Most recent database" in the options, a database closed before the end is the one the
// next start opens.
TEST_F(StartUp, theDatabaseClosedLastIsTheOneTheNextStartOpens)
{
    auto window = start();
    ASSERT_EQ(window->dbXML.name(), "Vardecks.xml");
    window->closeDB();
    EXPECT_EQ(window->dbXML.name(), "");
    window->Form_Unload();
    EXPECT_EQ(stored(kApp + "UserOptions\\", "dbDefault"), "True");
    EXPECT_EQ(stored(kApp, "currentDB"), "Vardecks.xml");
}

// Notes whether a splash was on screen at each message, and holds it open a moment while events go on.
struct SplashWatch final : PromptHandler {
    SplashWatch() : previous(prompt::installed()) { prompt::install(this); }
    ~SplashWatch() override { prompt::install(previous); }
    MsgResult message(const MessageRequest &request) override
    {
        const QWidgetList windows = QApplication::topLevelWidgets();
        splashShown << std::any_of(windows.begin(), windows.end(),
                                   [](QWidget *w) { return qobject_cast<frmSplash *>(w) && w->isVisible(); });
        ++open;
        mostOpenAtOnce = std::max(mostOpenAtOnce, open);
        QEventLoop reading;
        QTimer::singleShot(400, &reading, &QEventLoop::quit);
        reading.exec();
        --open;
        return previous->message(request);
    }
    QString file(const FileRequest &request) override { return previous->file(request); }
    QString input(const InputRequest &request, bool *ok) override { return previous->input(request, ok); }
    PromptHandler *previous;
    QList<bool> splashShown;
    int open = 0;
    int mostOpenAtOnce = 0;
};

TEST_F(StartUp, storedNumbersThatCannotBeReadAreShownOnceEachWithTheSplashGoneAndTheDefaultsUsed)
{
    store(kApp, "BasicApp", "ok");
    store(kApp, "frmWidth", "wide");
    store(kApp, "splitter1", "40000");
    store(kApp, "c2", "x");
    SplashWatch watch;
    auto window = start();
    EXPECT_EQ(prompts.texts(), QStringList({"[13] Type mismatch", "[6] Overflow", "[13] Type mismatch"}));
    for (const MessageRequest &shown : prompts.messages()) {
        EXPECT_EQ(shown.icon, MsgIcon::None);
        EXPECT_EQ(shown.title, "Razuzezu Revidod");
        EXPECT_EQ(shown.buttons, MsgButtons::Ok);
    }
    EXPECT_EQ(watch.splashShown, QList<bool>({false, false, false})) << "a message is never hidden behind the splash";
    EXPECT_EQ(Splitter1(*window)->SplitterPos(), 2500);
    EXPECT_TRUE(QTest::qWaitFor([&] { return window->isVisible(); }));
}

TEST_F(StartUp, storedDatabaseNamesMustBeBareFileNamesAndOneThatFailsToOpenIsToldWithTheSplashGone)
{
    EXPECT_EQ(safeDatabaseName("Work.xml"), "Work.xml");
    for (const char *bad : {"../x.xml", "/etc/passwd", "a/b.xml", "", "  ", ".."})
        EXPECT_EQ(safeDatabaseName(bad), "Vardecks.xml") << bad;

    store(kApp, "BasicApp", "ok");
    store(kApp, "currentDB", "Broken.xml");
    store(kApp, "c2", "1500");
    ASSERT_TRUE(test::writeBytes(paths::databaseFolder() + "Broken.xml", "<?xml version='1.0'?>\n<FOLDERS><FOLDER>"));
    SplashWatch watch;
    auto window = makeWindow();
    struct Tips final : QObject, TipsOperations {
        void showTips() override { prompt::show("A tip"); }
    } tips;
    offerOperations<TipsOperations>(*window, tips, tips);
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
    EXPECT_FALSE(window->dbXML.isOpen());
    QStringList enabled;
    for (QAction *item : window->allMenuItems())
        if (item->isEnabled() && item->objectName().startsWith("mnu") && !item->isSeparator())
            enabled << item->objectName();
    enabled.sort();
    // The database commands that need no open database, and Help.
    EXPECT_EQ(enabled,
              QStringList({"mnuFile", "mnuFileDatabase", "mnuFileDeleteDB", "mnuFileExit", "mnuFileNew", "mnuFileOpen",
                           "mnuHelp", "mnuHelpAbout", "mnuHelpAdd", "mnuHelpEmail", "mnuHelpFeedback",
                           "mnuHelpShortcuts", "mnuHelpStart", "mnuHelpTips", "mnuHelpTopics", "mnuHelpWeb"}));
    // What needs a database stays off.
    for (MenuId id : {MenuId::mnuFileBackup, MenuId::mnuFileClose, MenuId::mnuEdit, MenuId::mnuTools, MenuId::mnuHelp2})
        EXPECT_FALSE(window->menuItem(id)->isEnabled()) << menuEntry(id).name.toStdString();

    // No database shown: the stored column widths stay as they were.
    window->Form_Unload();
    EXPECT_EQ(stored(kApp, "c2"), "1500");
    EXPECT_EQ(stored(kApp, "c3"), "0");
}

// A timer that falls due while the program loads (a later launch's hand-off, an icon fetch)
// waits until the load is over, while the splash fades in and when a database that failed to
// open leaves the window empty.
TEST_F(StartUp, aTimerDueWhileTheProgramLoadsWaitsUntilTheLoadIsOver)
{
    store(kApp, "BasicApp", "ok");
    store(kApp, "currentDB", "Broken.xml");
    ASSERT_TRUE(test::writeBytes(paths::databaseFolder() + "Broken.xml", "<FOLDERS><FOLDER>"));
    for (bool hideSplash : {false, true}) {
        Session run;
        appOptions().setHideSplash(hideSplash);
        appOptions().setTipStartup(true);
        appOptions().saveToRegistry();
        prompts.clear();
        bool loaded = false;
        QStringList fired;
        QTimer due;
        due.setSingleShot(true);
        QObject::connect(&due, &QTimer::timeout, [&] { fired << (loaded ? "after" : "during"); });
        due.start(0);
        auto window = std::make_unique<frmVardecks>();
        Main(*window);
        loaded = true;
        EXPECT_TRUE(QTest::qWaitFor([&] { return !fired.isEmpty(); }, 1000));
        EXPECT_EQ(fired, QStringList({"after"})) << (hideSplash ? "no splash" : "with the splash");
        EXPECT_EQ(prompts.messages().size(), 1u) << "the database that failed to open";
        EXPECT_TRUE(QTest::qWaitFor([&] { return window->isVisible(); }));
    }
}

TEST_F(StartUp, listColumnsShareTheLaidOutListAndTinyStoredWidthsCountAsMissing)
{
    store(kApp, "BasicApp", "ok");
    store(kApp, "frmWidth", "11250"); // 750 px, the test screen being 800 wide
    store(kApp, "splitter2", "3000");
    store(kApp, "c1", "150");  // 10 px: a width that hides its column
    store(kApp, "c2", "1500"); // 100 px
    store(kApp + "UserOptions\\", "hideSplash", "True");
    auto window = start();
    QHeaderView *header = listVD(*window)->header();
    const int share = listVD(*window)->width() / 6;
    EXPECT_GT(share, 80) << "the list is laid out before its share is taken";
    EXPECT_NEAR(header->sectionSize(0), share, 2);
    EXPECT_EQ(header->sectionSize(1), 100);
    EXPECT_NEAR(header->sectionSize(5), share, 2);
    EXPECT_NEAR(lstSearch(*window)->header()->sectionSize(0), lstSearch(*window)->width() / 7, 2);

    // Seen with rows, the shares fit their texts; the stored width stays.
    tabView(*window)->setTab(1);
    new QTreeWidgetItem(listVD(*window), {"Tide tables", "http://tides.example/", "06 Dec 2026", "", "     1", ""});
    ASSERT_TRUE(listVD(*window)->isVisible());
    const rr::ColumnFit *fit = rr::ColumnFit::of(listVD(*window));
    ASSERT_NE(fit, nullptr);
    ASSERT_TRUE(QTest::qWaitFor([&] { return fit->fitted(); }, 1000));
    EXPECT_EQ(header->sectionSize(1), 100);
    EXPECT_LT(header->sectionSize(4), share) << "the counts need less than a sixth";
    EXPECT_GE(header->sectionSize(0), listVD(*window)->fontMetrics().horizontalAdvance("Tide tables"));
    const int hits = header->sectionSize(4);

    EXPECT_GT(hits, 0);

    // Stored at the close: what was chosen; the fit is made afresh next time.
    window->Form_Unload();
    EXPECT_EQ(stored(kApp, "c2"), "1500");
    EXPECT_EQ(stored(kApp, "c5"), "0");
    EXPECT_EQ(stored(kApp, "cs1"), "0");
}

TEST(Splash, handsOverAtTheNextTickAndOpensTipsUnlessTurnedOff)
{
    test::TempHome home;
    for (bool tipsOff : {false, true}) {
        Session run;
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

namespace tw = rr::twips;
const auto px = tw::sizeToPx;

struct LayoutTest : rr::test::MainWindowTest {
    void installParts() override
    {
        installExplorer(*window);
        rr::installWebAspect(*window);
        rr::installPreview(*window);
        installFinding(*window);
    }
    // Spot checks of the rules that hold at any size, against the window's own inner size.
    void expectFrameRules(int barPos = 3944)
    {
        const double sw = window->ScaleWidth();
        const double sh = window->ScaleHeight();
        const rr::frmVardecks &w = *window;
        EXPECT_EQ(Toolbar2(w)->y(), formClient(w)->height() - px(375) - px(330));
        EXPECT_EQ(Splitter2(w)->geometry(), QRect(0, px(420), px(sw), px(sh - 1220)));

        // Splitter2's two panes: the bar stays where it was put as long as the right pane has room.
        const int pos = std::min(barPos, int(sw) - 80);
        EXPECT_EQ(tabIndex(w)->geometry(), QRect(0, 0, px(pos), Splitter2(w)->height()));
        EXPECT_EQ(Picture1(w)->geometry(), QRect(px(pos + 80), 0, px(sw - pos - 80), Splitter2(w)->height()));

        const double paneW = tw::width(tabIndex(w));
        const double paneH = tw::height(tabIndex(w));
        EXPECT_EQ(lstSrch(w)->size(), QSize(px(paneW), px(paneH - 2760)));
        EXPECT_EQ(lstSrch(w)->header()->sectionSize(0), px(paneW - 1000));
        EXPECT_EQ(cmdMoveVD(w)->y(), tw::toPx(paneH - 750));
        EXPECT_EQ(StatusBar1(w)->panelWidth(2), std::max(0.0, window->outerWidth() - 7000));
        EXPECT_EQ(wbWeb(w)->size(), QSize(px(sw - 100), px(sh - 2040)));
    }

    void expectRightPaneRules(double detailsBelowTabs)
    {
        const rr::frmVardecks &w = *window;
        EXPECT_EQ(tabView(w)->size(), Picture1(w)->size());
        const double infoW = tw::width(tabInfo(w));
        EXPECT_EQ(PictureDetails(w)->size(), QSize(px(infoW), px(tw::height(tabInfo(w)) - detailsBelowTabs)));
        EXPECT_EQ(txtDescription(w)->width(), px(tw::width(PictureDetails(w)) - 1440));
        EXPECT_EQ(txtKeywords(w)->y(), tw::toPx(tw::top(txtDescription(w)) + tw::height(txtDescription(w)) + 100));
        // The name box keeps its right edge where the rule puts it, starting after its caption.
        EXPECT_EQ(txtWName(w)->width(), px(tw::width(Picture1(w)) - 800 - (tw::left(txtWName(w)) - 720)));
        EXPECT_GT(txtWName(w)->x(), lbl(w, Lbl::NameCaption)->geometry().right());
    }
};

TEST_F(LayoutTest, everyPaneFollowsTheSizeTheGuardsClampSmallSizesAndTheMainBarRelaysOnlyTheWidths)
{
    // The rules' guards, below the size the window itself goes down to.
    formClient(*window)->setMinimumSize(0, 0);
    setClientSize(1400, 900);
    ASSERT_EQ(window->ScaleWidth(), 21000);
    ASSERT_EQ(window->ScaleHeight(), 13500);
    expectFrameRules();
    EXPECT_EQ(Splitter1(*window)->height(), px(13500 - 2500));
    expectRightPaneRules(400);
    double infoH = tw::height(tabInfo(*window));
    ASSERT_GT(infoH - 4860, 1500);
    EXPECT_EQ(txtDescription(*window)->height(), px(infoH - 4860)) << "tall details give it the rest";
    EXPECT_EQ(txtNotes(*window)->height(), px(infoH - 395));

    setClientSize(1000, 500);
    infoH = tw::height(tabInfo(*window));
    ASSERT_LT(infoH - 4860, 1500);
    EXPECT_EQ(txtDescription(*window)->height(), px(1500)) << "short details keep the description minimum";
    EXPECT_EQ(lblDescription(*window)->height(), px(855))
        << "while viewing, a short description's label is as designed";

    setClientSize(300, 200);
    ASSERT_EQ(window->ScaleWidth(), 4500);
    expectFrameRules(); // the search list's negative height and the status panel's width become 0

    setClientSize(600, 400);
    const int splitter1Height = Splitter1(*window)->height();
    setClientSize(600, 93); // 1395 twips: not above 1400
    EXPECT_EQ(Splitter1(*window)->height(), splitter1Height);
    setClientSize(600, 94); // 1410 twips: 1410 - 2500 is clamped
    EXPECT_EQ(Splitter1(*window)->height(), 0);

    setClientSize(700, 500);
    const QSize view700 = tabView(*window)->size();
    setClientSize(436, 500); // the right pane exactly 2520 twips wide
    EXPECT_EQ(tw::width(Picture1(*window)), 2520);
    EXPECT_EQ(tabView(*window)->size(), view700) << "the right pane is too narrow to lay out";
    setClientSize(437, 500);
    EXPECT_GT(tw::width(Picture1(*window)), 2520);
    EXPECT_EQ(tabView(*window)->size(), Picture1(*window)->size());

    // Moving the main bar alone relays the widths but not the heights.
    setClientSize(1000, 700);
    const int descriptionHeight = txtDescription(*window)->height();
    Splitter2(*window)->setSplitterPos(5000);
    expectFrameRules(5000);
    expectRightPaneRules(430);
    EXPECT_EQ(txtDescription(*window)->height(), descriptionHeight);
    setClientSize(1000, 701);
    expectRightPaneRules(400);
}

TEST_F(LayoutTest, aClickOnAStatusPanelReportsThatPanelTheButtonAndThePointInsideIt)
{
    setClientSize(1200, 700);
    rr::StatusPanels *bar = StatusBar1(*window);
    ASSERT_EQ(bar->panelCount(), 4);
    QSignalSpy spy(bar, &rr::StatusPanels::MouseDown);
    int left = 0;
    for (int panel = 1; panel <= bar->panelCount(); ++panel) {
        SCOPED_TRACE(panel);
        const int width = px(bar->panelWidth(panel));
        ASSERT_GT(width, 10);
        // Where the user sees the panel: after the ones to its left, in the middle.
        const QPoint at(left + width / 2, bar->height() / 2);
        QWidget *hit = bar->childAt(at);
        ASSERT_NE(hit, nullptr);
        const Qt::MouseButton button = panel % 2 ? Qt::LeftButton : Qt::RightButton;
        QTest::mouseClick(hit, button, {}, hit->mapFrom(bar, at));
        ASSERT_EQ(spy.count(), 1);
        const QList<QVariant> args = spy.takeFirst();
        EXPECT_EQ(args.at(0).value<Qt::MouseButton>(), button);
        EXPECT_EQ(args.at(1).toInt(), panel);
        EXPECT_EQ(args.at(2).toPoint().x(), width / 2) << "the point inside the panel clicked";
        left += width;
    }
}

TEST_F(LayoutTest, theWindowGoesNoSmallerThanTheSizeAtWhichEveryControlIsPlacedWhole)
{
    setClientSize(200, 150);
    const rr::frmVardecks &w = *window;
    EXPECT_EQ(formClient(w)->size(), w.layoutMinimumSize());
    // The Move buttons below the tab captions and the folder trees, inside the pane.
    const QRect move = cmdMoveVD(w)->geometry();
    EXPECT_GT(move.top(), tabIndex(w)->tabBar()->geometry().bottom());
    EXPECT_GE(move.top(), Splitter1(w)->geometry().bottom());
    EXPECT_LE(move.bottom(), tabIndex(w)->height());
    EXPECT_GT(lstSrch(w)->height(), 0);
    // The right pane is laid out; the preview's buttons and the keyword box fit their tabs.
    EXPECT_GT(tw::width(Picture1(w)), 2520);
    EXPECT_LE(cmdPreview(w, 5)->geometry().right(), tabInfo(w)->width());
    EXPECT_LT(txtKeywords(w)->geometry().bottom(), PictureDetails(w)->height());
    EXPECT_LE(chkFav(w)->geometry().right(), PictureDetails(w)->width());
    // The Web Aspect's strip shows its check box whole; the status bar's middle panel has room.
    EXPECT_GE(chkWebAspectBrowser(w)->width(), chkWebAspectBrowser(w)->sizeHint().width());
    EXPECT_LE(chkWebAspectBrowser(w)->geometry().right(), formClient(w)->width());
    EXPECT_GT(StatusBar1(w)->panelWidth(2), 0);

    // The strip spans the window also when it was hidden while the window grew.
    setClientSize(1200, 700);
    Picture2(*window)->show();
    EXPECT_EQ(Picture2(w)->width(), formClient(w)->width());
    EXPECT_LT(chkWebAspectBrowser(w)->geometry().right(), Picture2(w)->width());
}

TEST(FirstStart, theWindowOpensCentredWithRoomAndNeverBelowItsSmallestSize)
{
    const QSize least(834, 600);
    EXPECT_EQ(rr::frmVardecks::firstStartPlace(QRect(0, 0, 1280, 1024), least), QRect(128, 102, 1024, 819));
    EXPECT_EQ(rr::frmVardecks::firstStartPlace(QRect(0, 30, 1920, 1200), least), QRect(320, 180, 1280, 900))
        << "a large screen: room enough, centred below the panel";
    EXPECT_EQ(rr::frmVardecks::firstStartPlace(QRect(0, 0, 1024, 768), least), QRect(95, 77, 834, 614));
    EXPECT_EQ(rr::frmVardecks::firstStartPlace(QRect(100, 0, 800, 600), least), QRect(100, 0, 834, 600))
        << "a screen smaller than the window: its top-left corner";
}

TEST_F(LayoutTest, lastStateSkipsMinimisedAndResizesKeepOrPrepareTheFocus)
{
    const std::pair<Qt::WindowState, int> states[] = {
        {Qt::WindowMaximized, 2}, {Qt::WindowMinimized, 2}, {Qt::WindowNoState, 0}};
    for (const auto &[state, last] : states) {
        window->setWindowState(state);
        QCoreApplication::processEvents();
        EXPECT_EQ(window->LastState(), last) << "state " << state;
    }

    lblWName(*window)->show();
    txtWName(*window)->show();
    txtWName(*window)->setFocus();
    setClientSize(900, 650);
    EXPECT_TRUE(txtWName(*window)->hasFocus()) << "a resize keeps the focus in the details";

    // The first resize prepares the search box.
    tabIndex(*window)->setTab(1);
    cmbSearch(*window)->setEditText("earlier search");
    tvwTopics(*window)->setFocus();
    window->expectFirstResize();
    setClientSize(810, 610);
    EXPECT_FALSE(window->firstResizePending());
    EXPECT_TRUE(cmbSearch(*window)->hasFocus());
    EXPECT_EQ(cmbSearch(*window)->lineEdit()->selectedText(), "earlier search");
}

TEST_F(LayoutTest, theKeywordsFollowTheDescriptionsTextWhileViewingAndItsBoxWhileEditing)
{
    setClientSize(1400, 980); // a tall details tab, as maximised
    rr::frmVardecks &w = *window;
    const int box = txtDescription(w)->height();
    ASSERT_GT(box, px(4000));
    auto keywordsGap = [&w] { return lblKeyWords(w)->y() - lblDescription(w)->geometry().bottom() - 1; };

    lblDescription(w)->setText("Cartoon page with a cat and a mouse; they fight.");
    QCoreApplication::processEvents();
    EXPECT_EQ(lblDescription(w)->height(), px(855)) << "a short description: the label as designed";
    EXPECT_EQ(keywordsGap(), px(100));
    EXPECT_NEAR(lbl(w, Lbl::KeywordsCaption)->y(), lblKeyWords(w)->y(), 2) << "the caption on the keywords' row";
    EXPECT_EQ(keywordsUpdateButton(w)->y(), lbl(w, Lbl::KeywordsCaption)->y());

    // A long one shows whole, and the keywords stay right below it.
    lblDescription(w)->setText(QString("A description that runs on and on. ").repeated(40));
    QCoreApplication::processEvents();
    EXPECT_EQ(lblDescription(w)->height(), lblDescription(w)->heightForWidth(lblDescription(w)->width()));
    EXPECT_GT(lblDescription(w)->height(), px(855));
    EXPECT_LT(lblDescription(w)->height(), box);
    EXPECT_EQ(keywordsGap(), px(100));
    EXPECT_LE(lblKeyWords(w)->geometry().bottom(), PictureDetails(w)->height());

    // Editing: the label takes the box's height, so the caption stands by the keyword box.
    lblDescription(w)->hide();
    txtDescription(w)->show();
    QCoreApplication::processEvents();
    EXPECT_EQ(lblDescription(w)->height(), box);
    EXPECT_NEAR(lbl(w, Lbl::KeywordsCaption)->y(), txtKeywords(w)->y(), px(100));
}

TEST_F(LayoutTest, captionsAndButtonsShowWholeInsideTheirPanels)
{
    setClientSize(1380, 840);
    const QRect button = keywordsUpdateButton(*window)->geometry();
    EXPECT_GE(button.left(), 2) << "the keywords' edit button is clear of the panel's frame";
    EXPECT_LT(button.right(), lbl(*window, Lbl::KeywordsCaption)->geometry().left());
    EXPECT_EQ(button.top(), lbl(*window, Lbl::KeywordsCaption)->geometry().top());
    EXPECT_EQ(lblKeyWords(*window)->y(), lblDescription(*window)->geometry().bottom() + 1 + px(100));

    setClientSize(1000, 700);
    for (int i = 0; i < 6; ++i) {
        const rr::qbButtons_H *preview = cmdPreview(*window, i);
        // A caption wider than the inner width (8 pixels of frame) wraps below a one-line button.
        const int captionWidth = QFontMetrics(preview->font()).horizontalAdvance(preview->Caption());
        EXPECT_LE(captionWidth, preview->width() - 8) << preview->Caption().toStdString();
        if (i > 0) {
            EXPECT_LT(cmdPreview(*window, i - 1)->geometry().right(), preview->x()) << i;
        }
    }

    tabIndex(*window)->setTab(2);
    lbl(*window, Lbl::FavoritesCount)->setText("Favorites: 32767");
    setClientSize(800, 600);
    const QLabel *count = lbl(*window, Lbl::FavoritesCount);
    EXPECT_LE(QFontMetrics(count->font()).horizontalAdvance(count->text()), count->width()) << "a five-digit count";
    EXPECT_LE(count->geometry().right(), tabIndex(*window)->width());
}

// The Search tab: "Found:" never runs into its count, in the window's font or a larger one,
// and every box of "Search in" stands below the frame's top line and ends inside the frame.
TEST_F(LayoutTest, theSearchTabsCaptionsStandApartAndItsBoxesInsideTheirFrame)
{
    tabIndex(*window)->setTab(1);
    for (int pointSize : {0, 14}) {
        if (pointSize) {
            QFont large = window->font();
            large.setPointSize(pointSize);
            window->setFont(large);
        }
        setClientSize(1000, 700);
        const QLabel *found = lbl(*window, Lbl::FoundCaption);
        EXPECT_LE(QFontMetrics(found->font()).horizontalAdvance(found->text()), found->width()) << pointSize;
        EXPECT_LT(found->geometry().right() + 1, lblFound(*window)->x()) << pointSize;
        EXPECT_EQ(lblFound(*window)->x(), px(tw::width(tabIndex(*window)) - 780)) << "the count keeps its place";

        QStyleOptionGroupBox frame;
        frame.initFrom(Frame4(*window));
        frame.text = Frame4(*window)->title();
        frame.subControls = QStyle::SC_GroupBoxFrame | QStyle::SC_GroupBoxLabel;
        const QRect line = Frame4(*window)->style()->subControlRect(QStyle::CC_GroupBox, &frame,
                                                                    QStyle::SC_GroupBoxFrame, Frame4(*window));
        const QRect title = Frame4(*window)->style()->subControlRect(QStyle::CC_GroupBox, &frame,
                                                                     QStyle::SC_GroupBoxLabel, Frame4(*window));
        for (QCheckBox *box : Frame4(*window)->findChildren<QCheckBox *>()) {
            EXPECT_GT(box->y(), line.top()) << box->text().toStdString() << " " << pointSize;
            EXPECT_GT(box->y(), title.bottom()) << box->text().toStdString() << " " << pointSize;
            EXPECT_LE(box->geometry().bottom(), line.bottom()) << box->text().toStdString() << " " << pointSize;
        }
    }
}

TEST_F(LayoutTest, sizeZeroMeansEightAndSingleLineBoxesTakeTheHeightOfTheSize)
{
    int zero = 0;
    rr::applyFontSize(*window, zero);
    EXPECT_EQ(zero, 8) << "also for the caller";
    EXPECT_EQ(txtNotes(*window)->font().pointSize(), 8);

    struct Case {
        int size;
        int address, name, search; // twips; 0 = unchanged
    };
    const Case cases[] = {{9, 280, 280, 280}, {10, 0, 300, 300}, {11, 0, 300, 300}, {12, 0, 0, 0}};
    for (const Case &c : cases) {
        txtAddress(*window)->resize(100, 33);
        txtWName(*window)->resize(100, 33);
        txtS(*window)->resize(100, 33);
        int size = c.size;
        rr::applyFontSize(*window, size);
        auto expected = [](int twips) { return twips ? rr::twips::toPx(twips) : 33; };
        EXPECT_EQ(txtAddress(*window)->height(), expected(c.address)) << c.size;
        EXPECT_EQ(txtWName(*window)->height(), expected(c.name)) << c.size;
        EXPECT_EQ(txtS(*window)->height(), expected(c.search)) << c.size;
        EXPECT_EQ(lstSearch(*window)->font().pointSize(), c.size);
    }
}

TEST(FormFont, everyControlButThoseInVerdanaTakesTheFallback)
{
    QWidget form;
    auto *plain = new QLabel("plain", &form);
    QFont big = plain->font();
    big.setPointSize(14);
    plain->setFont(big);
    auto *verdana = new QLabel("version", &form);
    verdana->setFont(QFont("Verdana", 9));
    rr::setFormFont(&form, "MS Sans Serif");
    EXPECT_EQ(plain->font().family(), "MS Sans Serif");
    EXPECT_EQ(plain->font().pointSize(), 14);
    EXPECT_EQ(verdana->font().family(), "Verdana");
}

TEST(AppPath, theRegistryEntryComesFirstThenThePath)
{
    rr::test::TempHome home;
    QTemporaryDir bin;
    const QByteArray savedPath = qgetenv("PATH");
    qputenv("PATH", bin.path().toUtf8());

    EXPECT_EQ(rr::getAppPathFromRegistry("Opera.exe"), "") << "no Opera anywhere";

    ASSERT_TRUE(rr::test::writeBytes(bin.path() + "/firefox-esr", "#!/bin/sh\n"));
    QFile(bin.path() + "/firefox-esr").setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    EXPECT_EQ(rr::getAppPathFromRegistry("firefox.exe"), bin.path() + "/firefox-esr");
    EXPECT_EQ(rr::getAppPathFromRegistry("Netscape.exe"), "") << "a browser that exists only on Windows";

    const QString key = QLatin1String(rr::SettingsStore::kAppPathsKey) + "\\Opera.exe";
    rr::RegistryFunctions::WriteValue(rr::reg::HKEY_LOCAL_MACHINE, key, QString(), "/opt/opera/opera");
    EXPECT_EQ(rr::getAppPathFromRegistry("Opera.exe"), "/opt/opera/opera");
    qputenv("PATH", savedPath);
}

TEST(RuntimeErrorText, namesTheNumberAndFallsBackForAnUnknownOne)
{
    EXPECT_EQ(rr::runtimeErrorText(53), "File not found");
    EXPECT_EQ(rr::runtimeErrorText(5), "Invalid procedure call or argument");
    EXPECT_EQ(rr::runtimeErrorText(12345), "Application-defined or object-defined error") << "the fallback";
}

TEST(CaptionText, ampersandsAndMarkupFromUserDataShowLiterally)
{
    EXPECT_EQ(rr::escapeMnemonic("Fish & Chips"), "Fish && Chips");
    EXPECT_EQ(rr::escapeMnemonic("A&&B"), "A&&&&B");
    EXPECT_EQ(rr::toolTipText("http://a.example/?x=1&y=2"), "http://a.example/?x=1&y=2");
    EXPECT_EQ(rr::toolTipText("<b>bold</b>  name"), "<p style='white-space:pre'>&lt;b&gt;bold&lt;/b&gt;  name</p>");
}

} // namespace
