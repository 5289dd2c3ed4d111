#include "finding/ui/findingui.h"
#include "options/optionsfixture.h"
#include "options/ui/frmhelp.h"
#include "options/ui/frmprefs.h"
#include "options/ui/frmtips.h"
#include "platform/gui/partoperations.h"
#include "shell/aspectoperations.h"
#include "shell/mainmodule.h"
#include "shell/menutable.h"
#include "shell/trayicon.h"
#include "shell/vardeckviewsoperations.h"
#include "shell/windowfixture.h"
#include "storage/session.h"
#include "storage/useroptions.h"
#include "storage/vardeckmodule.h"
#include "storage/xmldatabase.h"
#include "support/dialogcontrols.h"
#include "support/fakelauncher.h"
#include "support/findingstandins.h"
#include "support/windowcontrols.h"
#include "web/ui/preview.h"
#include "web/ui/webaspect.h"

#include <QAction>
#include <QKeySequence>
#include <QListWidget>
#include <QMouseEvent>
#include <QRadioButton>
#include <QRegularExpression>
#include <QSet>
#include <QSystemTrayIcon>
#include <QTabWidget>
#include <QTextBrowser>
#include <QTimer>

using namespace rr;
using namespace rr::test;

namespace
{

// The Aspect switch, counting each time the Web Aspect is shown again.
class CountedWebReloads : public QObject, public AspectOperations
{
public:
    explicit CountedWebReloads(int &reloads) : m_reloads(reloads) {}
    void showAspectWeb() override { ++m_reloads; }

private:
    int &m_reloads;
};

QStringList entries(QComboBox *list)
{
    QStringList out;
    for (int i = 0; i < list->count(); ++i)
        out << list->itemText(i);
    return out;
}

// The Explorer's Vardeck views: each view the folder list is given is recorded.
class RecordedViews : public QObject, public VardeckViewsOperations
{
public:
    explicit RecordedViews(QStringList &views) : m_views(views) {}
    void viewAsIcons() override { m_views << "icons"; }
    void viewAsList() override { m_views << "list"; }

private:
    QStringList &m_views;
};

class PrefsTest : public test::MainWindowTest
{
protected:
    // The options dialog gives the window's preview and Web Aspect boxes and the finding
    // panes' search options their state.
    void installParts() override
    {
        installWebAspect(*window);
        installPreview(*window);
        installFinding(*window);
    }
    void SetUp() override
    {
        MainWindowTest::SetUp();
        // The start-up turns sizes of 0 into 15.
        appOptions().setRecentNo(15);
        appOptions().setRecentSearchNo(15);
        session().browserExePaths = {"/usr/bin/firefox", "", "", "", "", ""};
        finding = std::make_unique<test::FindingStandIn>(*window);
        finding->onPopulateSearchList = [this] { ++searchListFills; };
        offerOperations<VardeckViewsOperations>(*window, recordedViews, recordedViews);
        offerOperations<AspectOperations>(*window, aspects, aspects);
    }

    test::TempConfig config;
    std::unique_ptr<test::FindingStandIn> finding;
    int searchListFills = 0;
    int webReloads = 0;
    CountedWebReloads aspects{webReloads};
    QStringList views;
    RecordedViews recordedViews{views};
};

// Each tick box with the option it shows and sets; an inverted box is ticked when the option is off.
struct Box {
    const char *name;
    bool (UserOptions::*get)() const;
    bool inverted = false;
};
const Box boxes[] = {
    {"chk(1)", &UserOptions::getAutoSave},          {"chk(2)", &UserOptions::getCheckDup},
    {"chk(3)", &UserOptions::getWinFolders},        {"chk(6)", &UserOptions::getAutoIcon},
    {"chk(7)", &UserOptions::getLoadOnWinStart},    {"chk(8)", &UserOptions::getHideSplash},
    {"chk(9)", &UserOptions::getAutoPreview},       {"chk(11)", &UserOptions::getOpenFirst},
    {"chk(12)", &UserOptions::getShowDetailSearch}, {"chkShow", &UserOptions::getTipStartup, true},
};

} // namespace

TEST_F(PrefsTest, eachBoxShowsAndSetsOnlyItsOwnOption)
{
    const QByteArray exec = "\nExec=\"" + QCoreApplication::applicationFilePath().toUtf8() + "\" /startup\n";
    for (const Box &only : boxes) {
        SCOPED_TRACE(only.name);
        frmPrefs dialog(window->commands, window->dbXML, *window, *window);
        for (const Box &box : boxes)
            dialog.findChild<QCheckBox *>(box.name)->setChecked(&box == &only);
        dialog.cmdApply_Click();
        frmPrefs again(window->commands, window->dbXML, *window, *window);
        for (const Box &box : boxes) {
            EXPECT_EQ((appOptions().*box.get)(), (&box == &only) != box.inverted) << box.name;
            EXPECT_EQ(again.findChild<QCheckBox *>(box.name)->isChecked(), &box == &only) << box.name;
        }
        EXPECT_EQ(test::readBytes(config.path() + "/autostart/razuzezu-revidod.desktop").contains(exec),
                  only.get == &UserOptions::getLoadOnWinStart);
    }

    // The Web aspect's box, the view and the window's own copies of the boxes.
    session().webAspectHtml = true;
    frmPrefs dialog(window->commands, window->dbXML, *window, *window);
    EXPECT_FALSE(arrayControl<QCheckBox>(dialog, "chk", 10)->isChecked());
    EXPECT_TRUE(arrayControl<QRadioButton>(dialog, "optIcon", 2)->isChecked());
    for (int i : {9, 10, 11, 12})
        arrayControl<QCheckBox>(dialog, "chk", i)->setChecked(true);
    arrayControl<QRadioButton>(dialog, "optIcon", 3)->setChecked(true);
    dialog.cmdApply_Click();
    dialog.cmdApply_Click(); // unchanged choices do nothing
    EXPECT_FALSE(session().webAspectHtml);
    EXPECT_TRUE(appOptions().getIconView());
    EXPECT_TRUE(chkWebAspectBrowser(*window)->isChecked());
    EXPECT_TRUE(chkAutoPreview(*window)->isChecked());
    EXPECT_TRUE(openFirstResultBox(*window)->isChecked());
    EXPECT_TRUE(showDetailedResultsBox(*window)->isChecked());
    arrayControl<QRadioButton>(dialog, "optIcon", 2)->setChecked(true);
    dialog.cmdApply_Click();
    EXPECT_EQ(views, QStringList({"icons", "list"}));
    EXPECT_TRUE(prompts.messages().empty()) << prompts.texts().join('|').toStdString();
}

TEST_F(PrefsTest, theListsAndTheTraySwitchShowTheStoredChoicesAndApplyStoresThem)
{
    EXPECT_TRUE(test::writeBytes(home.databaseFolder() + "Work.xml", "<FOLDERS/>"));
    UserOptions &o = appOptions();
    o.setDefaultBrowser("FF");
    o.setSystemTray(false);
    o.setSystemTrayOption("mnuRecent");
    o.setRecentSearchNo(30);
    o.setDBToOpen("Work.xml");
    o.setWebCSS("Comic");
    o.setFontSize(9);

    frmPrefs dialog(window->commands, window->dbXML, *window, *window);
    EXPECT_EQ(dialogControl<QTabWidget>(dialog, "tabPrefs")->currentIndex(), 0);
    EXPECT_EQ(dialogControl<QTabWidget>(dialog, "tabPrefs")->tabText(2), "   User Interface   ");
    // Only the browsers found are offered; Internet Explorer never is.
    EXPECT_EQ(entries(arrayControl<QComboBox>(dialog, "cmb", 1)), QStringList({"Desktop default browser", "Firefox"}));
    EXPECT_EQ(arrayControl<QComboBox>(dialog, "cmb", 1)->currentText(), "Firefox");
    EXPECT_EQ(arrayControl<QLabel>(dialog, "lbl", frmPrefs::kBrowserPathLabel)->text(), "/usr/bin/firefox");
    EXPECT_FALSE(arrayControl<QCheckBox>(dialog, "chk", 0)->isChecked());
    EXPECT_FALSE(arrayControl<QRadioButton>(dialog, "opt", 1)->isEnabled());
    EXPECT_TRUE(arrayControl<QRadioButton>(dialog, "opt", 1)->isChecked());
    arrayControl<QCheckBox>(dialog, "chk", 0)->click();
    EXPECT_TRUE(arrayControl<QRadioButton>(dialog, "opt", 0)->isEnabled() &&
                arrayControl<QRadioButton>(dialog, "opt", 1)->isEnabled());
    EXPECT_EQ(arrayControl<QLineEdit>(dialog, "txtt", 3)->text(), "30");
    EXPECT_EQ(entries(arrayControl<QComboBox>(dialog, "cmb", 0)),
              QStringList({"Most recent database", "Work.xml"}) +
                  QStringList(entries(arrayControl<QComboBox>(dialog, "cmb", 0)).mid(2)));
    EXPECT_EQ(arrayControl<QComboBox>(dialog, "cmb", 0)->currentText(), "Work.xml");
    EXPECT_EQ(entries(arrayControl<QComboBox>(dialog, "cmb", 2)),
              QStringList({"Vardecks default", "Plain", "Comic", "Courier", "Verdana"}));
    EXPECT_EQ(arrayControl<QComboBox>(dialog, "cmb", 2)->currentText(), "Comic");
    EXPECT_TRUE(arrayControl<QRadioButton>(dialog, "optFont", 4)->isChecked());

    // Without a notification area the tray switch is stored but changes nothing.
    ASSERT_FALSE(QSystemTrayIcon::isSystemTrayAvailable());
    dialog.cmdApply_Click();
    dialog.cmdApply_Click();
    EXPECT_EQ(trayIcon(), nullptr);
    EXPECT_TRUE(window->isVisible());
    EXPECT_TRUE(o.getSystemTray());
    EXPECT_EQ(o.getSystemTrayOption(), "mnuRecent");
    arrayControl<QCheckBox>(dialog, "chk", 0)->setChecked(false);
    dialog.cmdApply_Click();
    EXPECT_FALSE(o.getSystemTray());
    EXPECT_EQ(o.getSystemTrayOption(), "mnuRecent");

    // A gone database falls back to the most recent one; an unknown browser or size leaves its list unchosen.
    o.setDBToOpen("Gone.xml");
    o.setDefaultBrowser("Op");
    o.setFontSize(12);
    frmPrefs again(window->commands, window->dbXML, *window, *window);
    EXPECT_EQ(arrayControl<QComboBox>(again, "cmb", 0)->currentText(), "Most recent database");
    EXPECT_TRUE(o.getdbDefault());
    EXPECT_EQ(arrayControl<QComboBox>(again, "cmb", 1)->currentIndex(), -1);
    for (int i : {0, 1, 2, 4})
        EXPECT_FALSE(arrayControl<QRadioButton>(again, "optFont", i)->isChecked());

    // The database the window had open last, closed since, is the most recent one.
    QTemporaryDir databaseFolder;
    auto db = std::make_unique<XMLDatabase>();
    db->setPath(databaseFolder.filePath("Vardecks.xml"));
    ASSERT_TRUE(XMLDatabase::createDatabaseFile(db->getPath()));
    ASSERT_TRUE(db->openDBValidate(db->getPath()));
    window->dbXML.open(std::move(db), "Vardecks.xml");
    window->dbXML.close();
    arrayControl<QComboBox>(again, "cmb", 1)->setCurrentText("Firefox");
    arrayControl<QComboBox>(again, "cmb", 2)->setCurrentText("Vardecks default");
    arrayControl<QRadioButton>(again, "optFont", 0)->setChecked(true);
    again.cmdApply_Click();
    EXPECT_EQ(o.getDefaultBrowser(), "FF");
    EXPECT_EQ(o.getDBToOpen(), "Vardecks.xml");
    EXPECT_EQ(o.getWebCSS(), "Vardecks default");
    EXPECT_EQ(o.getFontSize(), 11);
}

TEST_F(PrefsTest, listSizesOutOfRangeAreRefusedWithTheirMessagesAndResetTexts)
{
    frmPrefs dialog(window->commands, window->dbXML, *window, *window);
    arrayControl<QLineEdit>(dialog, "txtt", 2)->setText("&H10");
    arrayControl<QLineEdit>(dialog, "txtt", 3)->setText("60");
    dialog.cmdApply_Click();
    EXPECT_EQ(prompts.texts(),
              QStringList({"The number of Vardecks stored in your Recent Vardeck list must be between 1 "
                           "and 50",
                           "The number of Vardecks stored in your recent search list must be between 1 "
                           "and 50"}));
    for (const MessageRequest &message : prompts.messages()) {
        EXPECT_EQ(message.title, "Vardecks");
        EXPECT_EQ(message.icon, MsgIcon::None);
    }
    EXPECT_EQ(arrayControl<QLineEdit>(dialog, "txtt", 2)->text(), "15");
    EXPECT_EQ(arrayControl<QLineEdit>(dialog, "txtt", 3)->text(), "50");
    EXPECT_EQ(searchListFills, 1);
    EXPECT_EQ(appOptions().getRecentNo(), 15) << "nothing stored from a refused apply";
    EXPECT_EQ(appOptions().getRecentSearchNo(), 15);
    EXPECT_EQ(session().recentMax, 15);
    EXPECT_EQ(session().searchMax, 15);
}

TEST_F(PrefsTest, eachListSizeGoesToItsOwnOptionAndItsOwnListAlone)
{
    {
        frmPrefs dialog(window->commands, window->dbXML, *window, *window);
        arrayControl<QLineEdit>(dialog, "txtt", 2)->setText("7");
        arrayControl<QLineEdit>(dialog, "txtt", 3)->setText("9");
        dialog.cmdApply_Click();
    }
    EXPECT_TRUE(prompts.messages().empty()) << prompts.texts().join('|').toStdString();
    EXPECT_EQ(appOptions().getRecentNo(), 7);
    EXPECT_EQ(appOptions().getRecentSearchNo(), 9);
    EXPECT_EQ(session().recentMax, 7);
    EXPECT_EQ(session().searchMax, 9);
    frmPrefs again(window->commands, window->dbXML, *window, *window);
    EXPECT_EQ(arrayControl<QLineEdit>(again, "txtt", 2)->text(), "7");
    EXPECT_EQ(arrayControl<QLineEdit>(again, "txtt", 3)->text(), "9");

    // One size refused leaves its option alone while the other is stored.
    arrayControl<QLineEdit>(again, "txtt", 2)->setText("12");
    arrayControl<QLineEdit>(again, "txtt", 3)->setText("0");
    again.cmdApply_Click();
    EXPECT_EQ(appOptions().getRecentNo(), 12);
    EXPECT_EQ(appOptions().getRecentSearchNo(), 9);
    EXPECT_EQ(session().recentMax, 12);
    EXPECT_EQ(session().searchMax, 9);
    arrayControl<QLineEdit>(again, "txtt", 2)->setText("x");
    arrayControl<QLineEdit>(again, "txtt", 3)->setText("21");
    again.cmdApply_Click();
    EXPECT_EQ(appOptions().getRecentNo(), 12);
    EXPECT_EQ(appOptions().getRecentSearchNo(), 21);
    EXPECT_EQ(session().recentMax, 12);
    EXPECT_EQ(session().searchMax, 21);
}

TEST_F(PrefsTest, aNewStyleRewritesTheStylesheetsAndReloadsTheWebAspectOnce)
{
    QTemporaryDir folder;
    EXPECT_TRUE(test::writeBytes(folder.filePath("VD.xsl"), "<x><LINK rel=\"stylesheet\" href=\"VDStyle.css\"/></x>"));
    auto db = std::make_unique<XMLDatabase>();
    db->setPath(folder.filePath("Vardecks.xml"));
    ASSERT_TRUE(XMLDatabase::createDatabaseFile(db->getPath()));
    ASSERT_TRUE(db->openDBValidate(db->getPath()));
    window->dbXML.open(std::move(db), "Vardecks.xml");
    window->aspectShown(Aspect::Web);
    appOptions().setWebCSS("Plain");

    frmPrefs dialog(window->commands, window->dbXML, *window, *window);
    arrayControl<QComboBox>(dialog, "cmb", 2)->setCurrentText("Comic");
    dialog.cmdApply_Click();
    // Which stylesheets change, and how, is the core web style tests' matter.
    EXPECT_TRUE(
        test::readBytes(folder.filePath("VD.xsl")).contains("<LINK rel=\"stylesheet\" href=\"VD_comic.css\"/>"));
    EXPECT_EQ(appOptions().getWebCSS(), "Comic");
    EXPECT_EQ(webReloads, 1);
    EXPECT_TRUE(window->aspectPageStale(0) && window->aspectPageStale(3));
    dialog.cmdApply_Click();
    EXPECT_EQ(webReloads, 1);
    EXPECT_TRUE(prompts.messages().empty()) << prompts.texts().join('|').toStdString();
}

TEST(TipsWindow, eachOpeningShowsTheNextTipAndAChosenTitleLeavesTheRotation)
{
    appOptions().setFontSize(10);
    appOptions().setDefaultBrowser(QString());
    appOptions().setLastTip("52");
    // Opened as the Help menu does; closed by Escape or Cancel.
    const auto open = [] {
        frmTips::showTips(nullptr);
        return frmTips::existing();
    };
    const auto closeWith = [](frmTips *tips, bool escape) {
        if (escape)
            QTest::keyClick(tips, Qt::Key_Escape);
        else
            dialogControl<qbButtons_H>(*tips, "cmdCancel")->click();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    };
    for (int position : {1, 2}) {
        frmTips *tips = open();
        ASSERT_EQ(dialogControl<QComboBox>(*tips, "cmbTips")->currentIndex(), position - 1);
        EXPECT_EQ(dialogControl<QTextEdit>(*tips, "lblTipText")->toPlainText(),
                  tips->tipList[position - 1].getTipLongText());
        EXPECT_EQ(appOptions().getLastTip(), QString::number(position));
        closeWith(tips, position == 2);
        ASSERT_EQ(frmTips::existing(), nullptr);
    }

    // Choosing a title shows it and its page but leaves the rotation; the box stores tip start-up inverted.
    appOptions().setLastTip("4");
    appOptions().setTipStartup(true);
    frmTips *tips = open();
    EXPECT_EQ(dialogControl<QTextEdit>(*tips, "lblTipText")->font().pointSize(), 10);
    EXPECT_FALSE(dialogControl<QCheckBox>(*tips, "chkShow")->isChecked());
    dialogControl<QCheckBox>(*tips, "chkShow")->click();
    EXPECT_FALSE(appOptions().getTipStartup());

    dialogControl<QComboBox>(*tips, "cmbTips")->setCurrentIndex(29);
    emit dialogControl<QComboBox>(*tips, "cmbTips")->activated(29);
    EXPECT_EQ(tips->currentTip.getTipShortText(), "Dragging and dropping");
    EXPECT_TRUE(
        dialogControl<QTextEdit>(*tips, "lblTipText")->toPlainText().startsWith("Drag a Vardeck from the list"));
    // Opening it again while it is open only brings it forward.
    EXPECT_EQ(open(), tips);
    EXPECT_EQ(tips->currentTip.getTipShortText(), "Dragging and dropping");

    // The links open the shown tip's help page and the FAQ.
    test::ScriptedPrompts prompts;
    test::FakeLauncher launcher;
    test::RecordingViewer viewer;
    QTest::mouseClick(dialogControl<QLabel>(*tips, "lblReadMore"), Qt::LeftButton, {}, QPoint(4, 4));
    QTest::mouseClick(dialogControl<QLabel>(*tips, "lblURL"), Qt::LeftButton, {}, QPoint(4, 4));
    QCoreApplication::processEvents();
    EXPECT_EQ(viewer.pages, QStringList({"Browser_drag_drop.htm"}));
    EXPECT_EQ(launcher.openedUrls(), QStringList({"https://www.quorvane.example/Vardecks/faq.htm"}));
    EXPECT_TRUE(prompts.messages().empty());
    closeWith(tips, true);
    EXPECT_EQ(dialogControl<QComboBox>(*open(), "cmbTips")->currentText(), "The Web aspect");
    delete frmTips::existing();
}

TEST(HelpWindow, opensPagesByNameFollowsHelpLinksAndSendsOtherLinksToTheDesktop)
{
    test::ScriptedPrompts prompts;
    test::FakeLauncher launcher;
    installHelpWindow();
    HTMLHelp help;
    help.CHMFile = HTMLHelp::defaultHelpFile();
    ASSERT_TRUE(help.HHDisplayContents());
    frmHelp *window = frmHelp::existing();
    ASSERT_TRUE(window && window->isVisible());
    EXPECT_EQ(window->currentPage(), "index.htm");
    // The contents page first, then each page it lists once.
    ASSERT_EQ(dialogControl<QListWidget>(*window, "lstContents")->count(), 42);
    EXPECT_EQ(dialogControl<QListWidget>(*window, "lstContents")->currentItem()->text(), "Contents");

    help.HHTopicURL = "Web_Aspect.htm";
    ASSERT_TRUE(help.HHDisplayTopicURL());
    EXPECT_EQ(dialogControl<QListWidget>(*window, "lstContents")->currentItem()->text(), "The Web Aspect");
    EXPECT_EQ(window->windowTitle(), "Razuzezu Revidod Help - The Web Aspect");

    emit dialogControl<QTextBrowser>(*window, "txtPage")->anchorClicked(QUrl("Printing.htm"));
    EXPECT_EQ(window->currentPage(), "Printing.htm");
    dialogControl<QAction>(*window, "cmdBack")->trigger();
    EXPECT_EQ(window->currentPage(), "Web_Aspect.htm");
    dialogControl<QAction>(*window, "cmdForward")->trigger();
    EXPECT_EQ(window->currentPage(), "Printing.htm");
    dialogControl<QAction>(*window, "cmdContents")->trigger();
    EXPECT_EQ(window->currentPage(), "index.htm");

    emit dialogControl<QTextBrowser>(*window, "txtPage")->anchorClicked(QUrl("https://www.example.org/x"));
    emit dialogControl<QTextBrowser>(*window, "txtPage")->anchorClicked(QUrl("../DeVivozoda/Vardecks.xml"));
    EXPECT_EQ(window->currentPage(), "index.htm");
    ASSERT_EQ(launcher.openedUrls().size(), 2);
    EXPECT_EQ(launcher.openedUrls()[0], "https://www.example.org/x");
    EXPECT_TRUE(launcher.openedUrls()[1].endsWith("/DeVivozoda/Vardecks.xml"));
    EXPECT_TRUE(prompts.messages().empty());

    // Esc puts the window away, wherever its focus is.
    QApplication::setActiveWindow(window);
    dialogControl<QListWidget>(*window, "lstContents")->setFocus();
    QTest::keyClick(dialogControl<QListWidget>(*window, "lstContents"), Qt::Key_Escape);
    EXPECT_FALSE(window->isVisible());
    ASSERT_TRUE(help.HHDisplayContents());
    EXPECT_TRUE(window->isVisible()) << "and help brings it back";
    QApplication::setActiveWindow(window);
    QTest::keyClick(dialogControl<QTextBrowser>(*window, "txtPage"), Qt::Key_Escape);
    EXPECT_FALSE(window->isVisible());
    helpviewer::install(nullptr);
    delete window;
}

TEST(HelpWindow, theShortcutPageListsEveryKeyOfTheMenus)
{
    QFile file(HTMLHelp::defaultHelpFile() + "/Shortcut_Keys.htm");
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    static const QRegularExpression keyCell("<tr><td>([^<]+)</td>");
    QSet<QString> listed;
    for (auto it = keyCell.globalMatch(QString::fromUtf8(file.readAll())); it.hasNext();)
        listed.insert(QKeySequence::fromString(it.next().captured(1)).toString());
    QStringList keys = {"F2", "F3", "F4", "F5", "Ctrl+S", "Esc"};
    for (const MenuEntry &entry : mainMenuTable())
        if (!entry.shortcut.isEmpty())
            keys << entry.shortcut;
    for (const QString &key : keys)
        EXPECT_TRUE(listed.contains(QKeySequence::fromString(key).toString())) << "missing " << key.toStdString();
}

// The status bar echoes the Options button while the pointer is on it; once Options, opened
// with that button, is closed again the bar shows what it showed before the echo.
TEST_F(PrefsTest, closingOptionsTakesTheButtonsEchoOffTheStatusBar)
{
    installOptionsDialog(*window);
    QWidget *button = Toolbar1(*window)->widgetForAction(window->toolbarButton(Tb::UserOptions));
    ASSERT_NE(button, nullptr);
    for (const QString &before : {QStringLiteral(""), QStringLiteral("Found 3 Vardecks")}) {
        SCOPED_TRACE(before.toStdString());
        StatusBar1(*window)->setPanelText(1, before);
        const QPointF centre = QRectF(button->rect()).center();
        QMouseEvent move(QEvent::MouseMove, centre, button->mapToGlobal(centre), Qt::NoButton, Qt::NoButton,
                         Qt::NoModifier);
        QApplication::sendEvent(button, &move);
        ASSERT_EQ(StatusBar1(*window)->panelText(1), "User options");
        bool closed = false;
        QTimer::singleShot(0, [&] {
            auto *dialog = qobject_cast<frmPrefs *>(QApplication::activeModalWidget());
            ASSERT_NE(dialog, nullptr);
            EXPECT_EQ(StatusBar1(*window)->panelText(1), "User options");
            dialogControl<qbButtons_H>(*dialog, "cmdCancel")->click();
            closed = true;
        });
        QTest::mouseClick(button, Qt::LeftButton);
        EXPECT_TRUE(closed);
        EXPECT_EQ(StatusBar1(*window)->panelText(1), before);
    }
}
