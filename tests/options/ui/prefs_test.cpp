#include "options/ui/frmprefs.h"
#include "shell/mainmodule.h"
#include "shell/trayicon.h"
#include "shell/windowfixture.h"
#include "storage/lists.h"
#include "storage/useroptions.h"
#include "storage/vardeckmodule.h"
#include "storage/xmldatabase.h"
#include "support/testenv.h"

#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRadioButton>
#include <QSystemTrayIcon>
#include <QTabWidget>
#include <QTemporaryDir>

using namespace rr;

namespace
{

QStringList entries(QComboBox *list)
{
    QStringList out;
    for (int i = 0; i < list->count(); ++i)
        out << list->itemText(i);
    return out;
}

class PrefsTest : public test::MainWindowTest
{
protected:
    void SetUp() override
    {
        MainWindowTest::SetUp();
        m_previousConfig = qgetenv("XDG_CONFIG_HOME");
        qputenv("XDG_CONFIG_HOME", config.path().toUtf8());
        appOptions() = UserOptions();
        // The start-up turns sizes of 0 into 15.
        appOptions().setRecentNo(15);
        appOptions().setRecentSearchNo(15);
        browserExePaths = {"/usr/bin/firefox", "", "", "", "", ""};
        webAspectHtml = false;
        window->ops.populateSearchList = [this] { ++searchListFills; };
        window->ops.viewAsIcons = [this] { views << "icons"; };
        window->ops.viewAsList = [this] { views << "list"; };
        window->ops.showAspectWeb = [this] { ++webReloads; };
    }
    void TearDown() override
    {
        qputenv("XDG_CONFIG_HOME", m_previousConfig);
        browserExePaths.clear();
        MainWindowTest::TearDown();
    }
    QString autostartFile() const { return config.path() + "/autostart/razuzezu-revidod.desktop"; }

    QTemporaryDir config;
    int searchListFills = 0;
    int webReloads = 0;
    QStringList views;

private:
    QByteArray m_previousConfig;
};

} // namespace

TEST_F(PrefsTest, theDialogShowsTheStoredOptions)
{
    EXPECT_TRUE(test::writeBytes(home.databaseFolder() + "Work.xml", "<FOLDERS/>"));
    UserOptions &o = appOptions();
    o.setDefaultBrowser("FF");
    o.setSystemTray(false);
    o.setSystemTrayOption("mnuRecent");
    o.setRecentNo(12);
    o.setRecentSearchNo(30);
    o.setIconView(true);
    o.setCheckDup(true);
    o.setDBToOpen("Work.xml");
    o.setWebCSS("Comic");
    o.setLoadOnWinStart(true);
    webAspectHtml = true;
    o.setShowDetailSearch(true);
    o.setFontSize(9);
    o.setTipStartup(true);

    frmPrefs dialog(*window);
    EXPECT_EQ(dialog.tabPrefs->currentIndex(), 0);
    EXPECT_EQ(dialog.tabPrefs->tabText(2), "   User Interface   ");
    // Only the browsers found are offered; Internet Explorer never is.
    EXPECT_EQ(entries(dialog.cmb(1)), QStringList({"Desktop default browser", "Firefox"}));
    EXPECT_EQ(dialog.cmb(1)->currentText(), "Firefox");
    EXPECT_EQ(dialog.lbl(28)->text(), "/usr/bin/firefox");
    EXPECT_FALSE(dialog.chk(0)->isChecked());
    EXPECT_FALSE(dialog.opt(1)->isEnabled());
    EXPECT_TRUE(dialog.opt(1)->isChecked());
    dialog.chk(0)->click();
    EXPECT_TRUE(dialog.opt(0)->isEnabled() && dialog.opt(1)->isEnabled());
    EXPECT_EQ(dialog.txtt(3)->text(), "30");
    EXPECT_TRUE(dialog.optIcon(3)->isChecked());
    EXPECT_EQ(entries(dialog.cmb(0)),
              QStringList({"Most recent database", "Work.xml"}) + QStringList(entries(dialog.cmb(0)).mid(2)));
    EXPECT_EQ(dialog.cmb(0)->currentText(), "Work.xml");
    EXPECT_EQ(entries(dialog.cmb(2)), QStringList({"Vardecks default", "Plain", "Comic", "Courier", "Verdana"}));
    EXPECT_EQ(dialog.cmb(2)->currentText(), "Comic");
    EXPECT_TRUE(dialog.chk(12)->isChecked());
    EXPECT_TRUE(dialog.optFont(4)->isChecked());
    EXPECT_FALSE(dialog.chkShow->isChecked());

    // A chosen database that is gone falls back to the most recent one at once; an
    // unknown browser and a size off the four leave their lists unchosen.
    o.setDBToOpen("Gone.xml");
    o.setDefaultBrowser("Op");
    o.setFontSize(12);
    frmPrefs again(*window);
    EXPECT_EQ(again.cmb(0)->currentText(), "Most recent database");
    EXPECT_TRUE(o.getdbDefault());
    EXPECT_EQ(again.cmb(1)->currentIndex(), -1);
    for (int i : {0, 1, 2, 4})
        EXPECT_FALSE(again.optFont(i)->isChecked());
}

TEST_F(PrefsTest, listSizesOutOfRangeAreRefusedWithTheirMessagesAndResetTexts)
{
    recentMax = searchMax = 15;
    frmPrefs dialog(*window);
    dialog.txtt(2)->setText("&H10");
    dialog.txtt(3)->setText("60");
    dialog.cmdApply_Click();
    EXPECT_EQ(prompts.texts(),
              QStringList({"The number of Vardecks stored in your Recent Vardeck list must be between 1 "
                           "and 50",
                           "The number of Vardecks stored in your recent search list must be between 1 "
                           "and 50"}));
    EXPECT_EQ(prompts.messages()[0].title, "Razuzezu Revidod");
    EXPECT_EQ(prompts.messages()[0].icon, MsgIcon::None);
    EXPECT_EQ(dialog.txtt(2)->text(), "15");
    EXPECT_EQ(dialog.txtt(3)->text(), "50");
    EXPECT_EQ(searchListFills, 1);
    EXPECT_EQ(appOptions().getRecentNo(), 15) << "nothing stored from a refused apply";
}

TEST_F(PrefsTest, applyStoresEveryOptionAndShowsItOnTheWindowAtOnce)
{
    currentDBName = "Vardecks.xml";
    frmPrefs dialog(*window);
    dialog.cmb(1)->setCurrentText("Firefox");
    for (int i : {1, 2, 3, 6, 7, 8, 9, 11, 12})
        dialog.chk(i)->setChecked(true);
    dialog.chk(10)->setChecked(false);
    dialog.optIcon(3)->setChecked(true);
    dialog.optFont(0)->setChecked(true);
    dialog.chkShow->setChecked(false);
    dialog.cmdApply_Click();

    const UserOptions &o = appOptions();
    EXPECT_EQ(o.getDefaultBrowser(), "FF");
    EXPECT_TRUE(o.getAutoSave() && o.getCheckDup() && o.getWinFolders() && o.getAutoIcon() && o.getHideSplash() &&
                o.getAutoPreview() && o.getOpenFirst() && o.getShowDetailSearch() && o.getIconView() &&
                o.getLoadOnWinStart() && o.getTipStartup() && o.getdbDefault());
    EXPECT_EQ(o.getDBToOpen(), "Vardecks.xml");
    EXPECT_EQ(o.getWebCSS(), "Vardecks default");
    EXPECT_EQ(appOptions().getFontSize(), 11);
    EXPECT_TRUE(webAspectHtml);
    EXPECT_FALSE(window->chkWebAspectBrowser->isChecked());
    EXPECT_TRUE(window->chkAutoPreview->isChecked());
    EXPECT_TRUE(window->chkOpt(6)->isChecked() && window->chkOptt(7)->isChecked());
    EXPECT_EQ(views, QStringList({"icons"}));
    EXPECT_TRUE(test::readBytes(autostartFile())
                    .contains("\nExec=\"" + QCoreApplication::applicationFilePath().toUtf8() + "\" /startup\n"));

    // Back again: the entry goes, the view turns once, unchanged choices do nothing.
    for (int i : {1, 2, 3, 6, 7, 8, 9, 11, 12})
        dialog.chk(i)->setChecked(false);
    dialog.optIcon(2)->setChecked(true);
    dialog.chkShow->setChecked(true);
    dialog.cmdApply_Click();
    dialog.cmdApply_Click();
    EXPECT_FALSE(o.getAutoSave() || o.getCheckDup() || o.getWinFolders() || o.getAutoIcon() || o.getHideSplash() ||
                 o.getAutoPreview() || o.getOpenFirst() || o.getShowDetailSearch() || o.getIconView() ||
                 o.getLoadOnWinStart() || o.getTipStartup());
    EXPECT_EQ(views, QStringList({"icons", "list"}));
    EXPECT_FALSE(QFileInfo::exists(autostartFile()));
    EXPECT_TRUE(prompts.messages().empty()) << prompts.texts().join('|').toStdString();
}

TEST_F(PrefsTest, aNewStyleRewritesTheFiveStylesheetsAndReloadsTheWebAspectOnce)
{
    QTemporaryDir folder;
    const QByteArray sheet = "<xsl:stylesheet xmlns:xsl=\"http://www.w3.org/1999/XSL/Transform\" version=\"1.0\">"
                             "<xsl:template match=\"/\"><HTML><LINK rel=\"stylesheet\" href=\"VDStyle.css\"/></HTML>"
                             "</xsl:template></xsl:stylesheet>";
    for (const char *name : {"VD.xsl", "VDAll.xsl", "VDFavs.xsl", "VDHits.xsl", "VDSearch.xsl", "VD_plain.xsl"})
        EXPECT_TRUE(test::writeBytes(folder.filePath(name), sheet));
    window->dbXML = std::make_unique<XMLDatabase>();
    window->dbXML->setPath(folder.filePath("Vardecks.xml"));
    window->currentAspect = "Web";
    appOptions().setWebCSS("Plain");

    frmPrefs dialog(*window);
    dialog.cmb(2)->setCurrentText("Comic");
    dialog.cmdApply_Click();
    for (const char *name : {"VD.xsl", "VDAll.xsl", "VDFavs.xsl", "VDHits.xsl", "VDSearch.xsl"})
        EXPECT_TRUE(test::readBytes(folder.filePath(name)).contains("<LINK rel=\"stylesheet\" href=\"VD_comic.css\"/>"))
            << name;
    EXPECT_EQ(test::readBytes(folder.filePath("VD_plain.xsl")), sheet);
    EXPECT_EQ(appOptions().getWebCSS(), "Comic");
    EXPECT_EQ(webReloads, 1);
    EXPECT_TRUE(window->aspectPageStale[0] && window->aspectPageStale[3]);
    dialog.cmdApply_Click();
    EXPECT_EQ(webReloads, 1);
    EXPECT_TRUE(prompts.messages().empty()) << prompts.texts().join('|').toStdString();
}

TEST_F(PrefsTest, theTraySwitchChangesNothingWithoutATray)
{
    ASSERT_FALSE(QSystemTrayIcon::isSystemTrayAvailable());
    frmPrefs dialog(*window);
    dialog.chk(0)->setChecked(true);
    dialog.opt(1)->setChecked(true);
    dialog.cmdApply_Click();
    dialog.cmdApply_Click();
    EXPECT_EQ(trayIcon(), nullptr);
    EXPECT_TRUE(window->isVisible());
    EXPECT_TRUE(appOptions().getSystemTray());
    EXPECT_EQ(appOptions().getSystemTrayOption(), "mnuRecent");
    dialog.chk(0)->setChecked(false);
    dialog.cmdApply_Click();
    EXPECT_FALSE(appOptions().getSystemTray());
    EXPECT_EQ(appOptions().getSystemTrayOption(), "mnuRecent");
}
