#include "web/ui/aspects.h"

#include "shell/frmvardecks.h"
#include "shell/mainmodule.h"
#include "shell/splitter.h"
#include "shell/statuspanels.h"
#include "storage/registryfunctions.h"
#include "storage/settingsstore.h"
#include "storage/vardeckmodule.h"
#include "storage/xmldatabase.h"
#include "support/dbfixture.h"
#include "support/fakelauncher.h"
#include "web/visits.h"

#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QTreeWidget>
#include <gtest/gtest.h>
#include <memory>

using namespace rr;
using namespace rr::test;

namespace
{

class AspectsTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        window = std::make_unique<frmVardecks>();
        window->LoadDynamicMenus();
        window->resetToolbarButtons();
        window->resetMenuItems();
        installAspects(*window);
        window->show();
    }
    // A Vardeck shown as the details panel shows one.
    void showVardeck()
    {
        window->setTNameCaption("Folder");
        window->setWNameCaption("Shown");
        for (int position : {2, 3, 16})
            window->toolbarButton(position)->setEnabled(true);
        window->menuItem("mnuToolsIconVD")->setEnabled(true);
    }

    ScriptedPrompts prompts;
    TempHome home;
    FakeLauncher launcher;
    std::unique_ptr<frmVardecks> window;
};

TEST_F(AspectsTest, webAspectHidesTheExplorerAndDisablesTheVardeckCommands)
{
    // With nothing shown, coming back leaves the entry buttons off.
    window->runCommand("showAspectWeb");
    window->runCommand("showAspectExplorer");
    for (int position : {2, 3, 5, 16})
        EXPECT_FALSE(window->toolbarButton(position)->isEnabled()) << position;
    EXPECT_FALSE(window->menuItem("mnuToolsOpen")->isEnabled());
    EXPECT_TRUE(window->menuItem("mnuToolsGet")->isEnabled());

    showVardeck();
    window->runCommand("mnuAspectWeb_Click");
    EXPECT_EQ(window->currentAspect, "Web");
    EXPECT_TRUE(window->menuItem("mnuAspectWeb")->isChecked());
    EXPECT_FALSE(window->menuItem("mnuAspectExplorer")->isChecked());
    EXPECT_TRUE(window->aspectButton(2)->isChecked());
    EXPECT_FALSE(window->Splitter2->isVisible());
    EXPECT_TRUE(window->wbWeb->isVisible());
    EXPECT_TRUE(window->Picture2->isVisible());
    for (int position : {2, 3, 5, 6, 7, 8, 16})
        EXPECT_FALSE(window->toolbarButton(position)->isEnabled()) << position;
    for (const char *item : {"mnuEdit", "mnuToolsOpen", "mnuToolsOpenHome", "mnuToolsIcon", "mnuThumb"})
        EXPECT_FALSE(window->menuItem(item)->isEnabled()) << item;
    EXPECT_EQ(window->StatusBar1->panelText(2), "");

    window->runCommand("mnuAspectExplorer_Click");
    EXPECT_EQ(window->currentAspect, "Explorer");
    EXPECT_TRUE(window->Splitter2->isVisible());
    EXPECT_FALSE(window->wbWeb->isVisible());
    EXPECT_FALSE(window->Picture2->isVisible());
    EXPECT_TRUE(window->aspectButton(1)->isChecked());
    // A folder and a Vardeck are shown: their buttons come back.
    for (int position : {2, 3, 5, 6, 7, 8, 16})
        EXPECT_TRUE(window->toolbarButton(position)->isEnabled()) << position;
    EXPECT_TRUE(window->menuItem("mnuToolsOpen")->isEnabled());
    EXPECT_TRUE(window->menuItem("mnuEdit")->isEnabled());

    // Choosing the aspect already shown changes nothing.
    window->Splitter2->setVisible(false);
    window->runCommand("mnuAspectExplorer_Click");
    EXPECT_FALSE(window->Splitter2->isVisible());
    EXPECT_EQ(window->currentAspect, "Explorer");
}

TEST_F(AspectsTest, staleRenderedPageIsRenderedAgainOnEntry)
{
    EXPECT_EQ(aspectPageForStyle("vdall.XSL").pageName, "AllTemp");
    EXPECT_EQ(aspectPageForStyle("VDSearch.xsl").pageName, "FoldersTemp");
    QStringList rendered;
    window->ops.loadAspectPage = [&](const QString &style, const QString &page, bool) {
        rendered << style + "/" + page;
        window->wbWeb->setProperty("rrAddress", "file:///Vardecks" + page + ".htm");
        currentAspectStyle = style;
    };
    webAspectHtml = true;
    RegistryFunctions::WriteValue(reg::HKEY_CURRENT_USER, SettingsStore::kAppKey, "AspectStyle", "VDHits.xsl");
    showAspectWeb(*window);
    // A blank pane renders the stored style under the folders page's name.
    EXPECT_EQ(rendered, QStringList({"VDHits.xsl/FoldersTemp"}));
    showAspectExplorer(*window);
    window->aspectPageStale[frmVardecks::HitsPage] = false;
    showAspectWeb(*window);
    EXPECT_EQ(rendered.size(), 1);
    window->aspectPageStale[frmVardecks::HitsPage] = true;
    showAspectWeb(*window);
    EXPECT_EQ(rendered.last(), "VDHits.xsl/HitsTemp");
    webAspectHtml = false;
}

TEST_F(AspectsTest, aVisitRecordedAnywhereShowsOnTheWindow)
{
    const QString path = writeDatabase(home.databaseFolder(), "Vardecks.xml",
                                       "<FOLDERS>" + folderXml("T1", "f", vardeckXml("W1", "One")) + "</FOLDERS>");
    window->dbXML = std::make_unique<XMLDatabase>();
    window->dbXML->setPath(path);
    ASSERT_TRUE(window->dbXML->openDBValidate(path));
    int popularRefills = 0;
    window->ops.populatePopList = [&](XmlDocument *) { ++popularRefills; };
    auto *row = new QTreeWidgetItem(window->listVD, {"One", "a", "b", "", "     1", "d"});
    row->setData(0, Qt::UserRole, "w1");
    window->currentWID = "W1";
    for (bool &stale : window->aspectPageStale)
        stale = false;

    const QString stamp = updateLastAccessed(*window->dbXML, "W1", QDateTime(QDate(2026, 1, 2), QTime(9, 5)));
    EXPECT_EQ(stamp, "02 Jan 2026 09:05 AM");
    EXPECT_EQ(popularRefills, 1);
    EXPECT_EQ(window->lbl(3)->text(), stamp);
    EXPECT_EQ(window->lbl(14)->text(), "2");
    EXPECT_EQ(row->text(3), stamp);
    EXPECT_EQ(row->text(4), "     2");
    EXPECT_TRUE(window->aspectPageStale[frmVardecks::HitsPage]);

    // Another Vardeck than the one shown leaves the panel alone.
    window->currentWID = "W9";
    window->lbl(14)->setText("x");
    updateLastAccessed(*window->dbXML, "W1");
    EXPECT_EQ(window->lbl(14)->text(), "x");
}

} // namespace
