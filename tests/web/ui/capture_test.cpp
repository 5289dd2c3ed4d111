// Get Vardeck from browser, its dialog, the hand-off and Close all, against a
// test-written Firefox profile and a debugging endpoint on 127.0.0.1.
#include "explorer/editingfixture.h"
#include "platform/gui/partoperations.h"
#include "platform/net/connection.h"
#include "shell/captureoperations.h"
#include "storage/settingsstore.h"
#include "support/devtoolsserver.h"
#include "support/dialogcontrols.h"
#include "support/firefoxprofile.h"
#include "support/windowcontrols.h"
#include "support/xsession.h"
#include "web/ui/capture.h"
#include "web/ui/frmvardeckdialog.h"
#include "web/ui/installweb.h"

#include <QCheckBox>
#include <QDialog>
#include <QElapsedTimer>
#include <QGuiApplication>
#include <QScreen>

namespace rr::test
{
namespace
{

// The scan replaced by scan; the dialog and the start-up's scan stay those of the capture
// offered before.
class ScanStandIn : public QObject, public CaptureOperations
{
public:
    ScanStandIn(QObject &window, std::function<int(bool topOnly)> scan)
        : m_capture(operationsOf<CaptureOperations>(window)), m_scan(std::move(scan))
    {
        offerOperations<CaptureOperations>(window, *this, *this);
    }
    int getOpenBrowserPages(bool topOnly) override { return m_scan(topOnly); }
    void showDetectedPagesDialog() override { m_capture.showDetectedPagesDialog(); }
    void offerOpenBrowserPages() override { m_capture.offerOpenBrowserPages(); }

private:
    CaptureOperations &m_capture;
    std::function<int(bool topOnly)> m_scan;
};

class CaptureTest : public EditingTest
{
protected:
    void SetUp() override
    {
        EditingTest::SetUp();
        installCapture(*window);
        useSources({});
    }
    void TearDown() override
    {
        setCaptureSettings(std::nullopt);
        forceOffline(false);
        EditingTest::TearDown();
    }
    // A later launch hands over: the hand-off box takes its number and the hand-off timer starts.
    void handOff()
    {
        window->receiveHandOff(QString::number(++handOffs));
        // The timer stops itself as it fires and does the whole hand-off at once.
        waitUntil([&] { return !Timer1(*window)->isActive(); });
    }
    // timeoutMs: 10 s only ends a test whose own server hangs; a loaded machine must not reach it.
    void useSources(QList<quint16> ports, const QString &display = QStringLiteral(":none"), int timeoutMs = 10000)
    {
        CaptureSettings s;
        s.home = profile.home();
        s.ports = ports;
        s.display = display;
        s.ownCaption = window->windowTitle();
        s.timeoutMs = timeoutMs;
        setCaptureSettings(s);
    }
    int vardeckCount() const { return int(freshDb().getTheDOM()->getElementsByTagName("VARDECK").size()); }

    FirefoxProfile profile;
    int handOffs = 0;
};

TEST_F(CaptureTest, getSaysWhenNothingIsOpenStartsANewVardeckForOnePageAndOffersSeveral)
{
    openDb();
    clickFolder("T6");
    profile.writeSession(
        R"({"windows":[{"tabs":[{"entries":[{"url":"https://shop.example/cart","title":"Shop & cart"}]}]}]})");
    profile.lockBy(0x3ffffff0); // that Firefox has quit
    menu(MenuId::mnuToolsGet);
    ASSERT_EQ(prompts.messages().size(), 1u);
    EXPECT_EQ(prompts.lastText(), "Razuzezu Revidod cannot detect any open browser windows.");
    EXPECT_EQ(window->editState(), EditState::Viewing);

    prompts.clear();
    profile.lockBy(QCoreApplication::applicationPid());
    menu(MenuId::mnuToolsGet);
    EXPECT_TRUE(prompts.messages().empty());
    EXPECT_EQ(window->editState(), EditState::Adding);
    EXPECT_EQ(txtWName(*window)->text(), "Shop & cart");
    EXPECT_EQ(txtAddress(*window)->text(), "https://shop.example/cart");
    EXPECT_EQ(window->detectedPages().first().browser, "Mozilla Firefox");
    prompts.answer(MsgResult::Yes);
    window->commands.cancelVardeckEdit();

    // Several pages are offered in the dialog, and only OK saves one.
    profile.writeSession(FirefoxProfile::twoWindows());
    DevToolsServer server;
    server.setTargets({{"page", "Mail & <b>inbox</b>", "https://mail.example/inbox?a=1&b=2"},
                       {"page", "New Tab", "chrome://newtab/"}});
    useSources({server.port()});
    const int before = vardeckCount();
    const QString addressBefore = txtAddress(*window)->text();
    // Escape and the close box add nothing and keep the AutoSave choice.
    appOptions().setAutoSave(true);
    whileModal<frmVardeckDialog>(
        [&](frmVardeckDialog *d) {
            EXPECT_TRUE(dialogControl<QCheckBox>(*d, "chkAutosave")->isChecked());
            QTest::mouseClick(dialogControl<QCheckBox>(*d, "chkAutosave"), Qt::LeftButton);
            QTest::keyClick(dialogControl<QTreeWidget>(*d, "tvwDetected"), Qt::Key_Escape);
        },
        [&] { menu(MenuId::mnuToolsGet); });
    EXPECT_FALSE(appOptions().getAutoSave());
    whileModal<frmVardeckDialog>([&](frmVardeckDialog *d) { d->close(); }, [&] { menu(MenuId::mnuToolsGet); });
    EXPECT_EQ(txtAddress(*window)->text(), addressBefore) << "no page reached the details";
    EXPECT_EQ(window->editState(), EditState::Viewing);
    EXPECT_EQ(vardeckCount(), before);

    whileModal<frmVardeckDialog>(
        [&](frmVardeckDialog *d) {
            EXPECT_EQ(d->windowTitle(), "Vardeck detected");
            EXPECT_EQ(dialogControl<QTreeWidget>(*d, "tvwDetected")->topLevelItemCount(), 4);
            EXPECT_EQ(dialogControl<QTreeWidget>(*d, "tvwDetected")->currentItem(),
                      dialogControl<QTreeWidget>(*d, "tvwDetected")->topLevelItem(0));
            EXPECT_EQ(dialogControl<QLabel>(*d, "lblName")->textFormat(), Qt::PlainText);
            QTest::mouseClick(dialogControl<QTreeWidget>(*d, "tvwDetected")->viewport(), Qt::LeftButton, {},
                              dialogControl<QTreeWidget>(*d, "tvwDetected")
                                  ->visualItemRect(dialogControl<QTreeWidget>(*d, "tvwDetected")->topLevelItem(3))
                                  .center());
            EXPECT_EQ(QStringList({dialogControl<QLabel>(*d, "lblName")->text(),
                                   dialogControl<QLabel>(*d, "lblAddress")->text(),
                                   dialogControl<QLabel>(*d, "lblDesc")->text(),
                                   dialogControl<QLabel>(*d, "lblBrowser")->text()}),
                      QStringList({"Mail & <b>inbox</b>", "https://mail.example/inbox?a=1&b=2", "", "Chrome"}));
            QTest::mouseClick(dialogControl<QCheckBox>(*d, "chkAutosave"), Qt::LeftButton);
            EXPECT_TRUE(appOptions().getAutoSave());
            QTest::keyClick(d, Qt::Key_Return);
        },
        [&] { menu(MenuId::mnuToolsGet); });
    EXPECT_EQ(lblWName(*window)->text(), "Mail & <b>inbox</b>");
    EXPECT_EQ(window->editState(), EditState::Viewing) << "AutoSave saved it at once";
    EXPECT_EQ(vardeckCount(), before + 1);
    EXPECT_EQ(stored("W4").childText("NAME"), "Mail & <b>inbox</b>");
    EXPECT_EQ(stored("W4").childText("ADDRESS"), "https://mail.example/inbox?a=1&b=2");
    EXPECT_EQ(stored("W4").parentNode().parentNode().attribute("TID"), "T6");
}

// Closes the detected-pages dialog each time it opens, noting when and what it listed.
struct DetectedDialogWatch {
    DetectedDialogWatch()
    {
        clock.start();
        QObject::connect(&poll, &QTimer::timeout, [this] {
            if (auto *d = qobject_cast<frmVardeckDialog *>(QApplication::activeModalWidget())) {
                openedAt << clock.elapsed();
                for (int i = 0; i < dialogControl<QTreeWidget>(*d, "tvwDetected")->topLevelItemCount(); ++i)
                    listed << dialogControl<QTreeWidget>(*d, "tvwDetected")->topLevelItem(i)->text(0);
                d->reject();
            }
        });
        poll.start(10);
    }
    QElapsedTimer clock;
    QTimer poll;
    QList<qint64> openedAt;
    QStringList listed;
};

TEST_F(CaptureTest, theStartScanLeavesTheWindowInUseAndOffersItsPagesWhenItEndsAndTheWindowIsFree)
{
    openDb();
    auto silent = std::make_unique<DevToolsServer>();
    silent->http().route("/json/list", {.hang = true});
    DevToolsServer chromium;
    chromium.setTargets({{"page", "Mail", "https://mail.example/"}, {"page", "Maps", "https://maps.example/"}});
    useSources({silent->port(), chromium.port()}, QStringLiteral(":none"), 1000);
    DetectedDialogWatch watch;
    operationsOf<CaptureOperations>(*window).offerOpenBrowserPages();
    EXPECT_LT(watch.clock.elapsed(), 200) << "the window does not wait for the browsers";
    EXPECT_TRUE(window->detectedPages().isEmpty());

    // A modal window the user opened meanwhile is closed first.
    qint64 otherClosedAt = -1;
    QTimer::singleShot(0, window.get(), [&] {
        QDialog other(window.get());
        QTimer::singleShot(1500, &other, &QDialog::reject);
        other.exec();
        otherClosedAt = watch.clock.elapsed();
    });
    ASSERT_TRUE(waitUntil([&] { return !watch.openedAt.isEmpty(); }, 5000));
    EXPECT_GE(watch.openedAt.first(), otherClosedAt);
    EXPECT_GE(otherClosedAt, 1450);
    EXPECT_EQ(watch.listed, QStringList({"Mail", "Maps"}));
    EXPECT_EQ(window->detectedPages().size(), 2);
    EXPECT_EQ(window->editState(), EditState::Viewing) << "cancelled";
    waitUntil([] { return false; }, 600);
    EXPECT_EQ(watch.openedAt.size(), 1) << "offered once";
}

TEST_F(CaptureTest, theStartScanOffersNothingOnceTheUserEditsOrClosesTheWindowOrScansAgain)
{
    openDb();
    clickFolder("T6");
    auto silent = std::make_unique<DevToolsServer>();
    silent->http().route("/json/list", {.hang = true});
    DevToolsServer chromium;
    chromium.setTargets({{"page", "Mail", "https://mail.example/"}});
    useSources({silent->port(), chromium.port()}, QStringLiteral(":none"), 300);
    DetectedDialogWatch watch;

    // A new Vardeck begun while the browsers are asked is not interrupted.
    operationsOf<CaptureOperations>(*window).offerOpenBrowserPages();
    menu(MenuId::mnuAddVardeck);
    txtWName(*window)->setText("typed meanwhile");
    waitUntil([] { return false; }, 700);
    EXPECT_TRUE(watch.openedAt.isEmpty());
    EXPECT_EQ(txtWName(*window)->text(), "typed meanwhile");
    prompts.answer(MsgResult::Yes);
    window->commands.cancelVardeckEdit();

    // Get from browser takes the place of the scan still running (one browser has answered
    // it): its one page is taken once.
    operationsOf<CaptureOperations>(*window).offerOpenBrowserPages();
    waitUntil([] { return false; }, 100);
    menu(MenuId::mnuToolsGet);
    EXPECT_EQ(txtAddress(*window)->text(), "https://mail.example/");
    prompts.answer(MsgResult::Yes);
    window->commands.cancelVardeckEdit();
    waitUntil([] { return false; }, 700);
    EXPECT_TRUE(watch.openedAt.isEmpty());

    EXPECT_EQ(window->editState(), EditState::Viewing);
    // A window closed while the browsers are asked offers nothing after.
    prompts.clear();
    operationsOf<CaptureOperations>(*window).offerOpenBrowserPages();
    window->close();
    ASSERT_TRUE(window->isUnloaded());
    waitUntil([] { return false; }, 700);
    EXPECT_TRUE(watch.openedAt.isEmpty());
    EXPECT_EQ(prompts.texts(), QStringList());
}

TEST_F(CaptureTest, theDialogComesBackWhereItWasAndAlwaysOnAScreen)
{
    const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
    const QList<DetectedPage> pages = {{"https://a.example/", "A", "", "", "", "Chrome"}};
    SettingsStore::setVDFormValues(9090, 6090, 1500, 750);
    {
        frmVardeckDialog d(pages, QIcon());
        EXPECT_EQ(d.size(), QSize(600, 376));
        EXPECT_EQ(d.pos(), QPoint(100, 50));
        d.resize(640, 400);
        d.reject();
    }
    EXPECT_EQ(SettingsStore::getFrmVDWidthSetting(), 640 * 15 + 90);
    EXPECT_EQ(SettingsStore::getFrmVDHeightSetting(), 400 * 15 + 450);

    // Values beyond 16 bits (a large screen, or a place on a screen that is gone).
    SettingsStore::setVDFormValues(70000, 60000, 90000, 40000);
    frmVardeckDialog far(pages, QIcon());
    EXPECT_TRUE(screen.contains(QRect(far.pos(), far.size()))) << "on the screen, and no larger than it";

    // No pages: no dialog at all.
    window->browserPagesFound({});
    showDetectedPagesDialog(webWindowOf(*window));
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
}

TEST_F(CaptureTest, aHandOffTakesTheTopPageAndBringsTheWindowForward)
{
    openDb();
    QList<bool> scans;
    ScanStandIn topPage(*window, [&](bool topOnly) {
        scans << topOnly;
        window->browserPagesFound({{"https://top.example/", "Top page", "", "", "", "Mozilla Firefox"}});
        return 1;
    });
    window->showMinimized();
    handOff();
    EXPECT_EQ(scans, QList<bool>({true}));
    EXPECT_EQ(window->editState(), EditState::Adding);
    EXPECT_EQ(txtWName(*window)->text(), "Top page");
    EXPECT_FALSE(window->isMinimized());
    EXPECT_EQ(window->WindowState(), 2) << "a minimised window comes back maximised";
    EXPECT_TRUE(prompts.messages().empty());

    // Nothing found: silent; a window that was not minimised keeps its size.
    ScanStandIn nothingFound(*window, [&](bool) { return 0; });
    window->showNormal();
    handOff();
    EXPECT_TRUE(prompts.messages().empty());
    EXPECT_EQ(window->WindowState(), 0);
}

TEST_F(CaptureTest, firefoxIntegrationOpensTheExtensionInFirefoxOrSaysWhyNot)
{
    const QString extension = "https://www.quorvane.example/Vardecks/firefox/vardecks.xpi";
    menu(MenuId::mnuToolsIntegrateFF);
    EXPECT_EQ(prompts.lastText(), "The Firefox extension could not be loaded: " + extension);
    prompts.clear();

    launcher.addProgram("firefox", "/usr/bin/firefox");
    forceOffline(true);
    prompts.answer(MsgResult::No);
    menu(MenuId::mnuToolsIntegrateFF);
    EXPECT_EQ(prompts.messages().back().title, "Internet connection?");
    EXPECT_TRUE(launcher.starts().empty());
    prompts.answer(MsgResult::Yes);
    menu(MenuId::mnuToolsIntegrateFF);
    ASSERT_EQ(launcher.starts().size(), 1u);
    EXPECT_EQ(launcher.starts().front().program, "/usr/bin/firefox");
    EXPECT_EQ(launcher.starts().front().args, QStringList({extension}));
}

// The test's own X server: a Firefox window under a non-browser one titled "Netscape notes".
class BrowserWindowsTest : public CaptureTest
{
protected:
    void SetUp() override
    {
        CaptureTest::SetUp();
        if (!x.problem().isEmpty())
            GTEST_SKIP() << "no X server for this test: " << x.problem().toStdString();
        // The test's own X server gives the stacking order, whatever session runs the tests.
        qunsetenv("WAYLAND_DISPLAY");
        qunsetenv("XDG_SESSION_TYPE");
        useSources({}, x.display());
        firefox = std::make_unique<HelperWindow>(x.display(), "https://docs.example/guide \u2014 Mozilla Firefox",
                                                 "Navigator", "firefox");
        ASSERT_TRUE(x.waitForWindows(1));
        notes = std::make_unique<HelperWindow>(x.display(), "Netscape notes", "notes", "Notes");
        ASSERT_TRUE(x.waitForWindows(2));
    }
    XSession x;
    std::unique_ptr<HelperWindow> firefox;
    std::unique_ptr<HelperWindow> notes;
};

TEST_F(BrowserWindowsTest, aHandOffTakesThePageOfTheBrowserWindowOnTopAndCloseAllClosesOnlyBrowsers)
{
    openDb();
    profile.writeSession(FirefoxProfile::twoWindows());
    // The Firefox window on screen shows the first window's tab, not the last-used window's.
    handOff();
    ASSERT_EQ(window->detectedPages().size(), 1);
    EXPECT_EQ(window->editState(), EditState::Adding);
    EXPECT_EQ(txtAddress(*window)->text(), "https://docs.example/guide");

    // The user switched to the window's other tab: Firefox has not written its file since,
    // so it still marks the guide as selected; the title tells the tab on screen.
    prompts.answer(MsgResult::Yes);
    window->commands.cancelVardeckEdit();
    prompts.clear();
    firefox->setTitle("News <b>today</b> \u2014 Mozilla Firefox");
    ASSERT_TRUE(waitUntil([&] {
        const auto windows = x11::windowsTopFirst(x.display());
        return windows && windows->size() == 2 && windows->value(1).title.startsWith("News");
    }));
    handOff();
    EXPECT_EQ(txtAddress(*window)->text(), "https://news.example/today");
    EXPECT_EQ(txtWName(*window)->text(), "News <b>today</b>");

    menu(MenuId::mnuToolsCloseAll);
    EXPECT_TRUE(prompts.messages().empty());
    EXPECT_TRUE(firefox->closeRequested(10000));
    EXPECT_FALSE(notes->closeRequested(300));
}

} // namespace
} // namespace rr::test
