#include "support/windowcontrols.h"
#include "web/ui/webaspect.h"

#include "explorer/databasecommands.h"
#include "explorer/detailspanel.h"
#include "explorer/explorer.h"
#include "platform/gui/partoperations.h"
#include "shell/aspectoperations.h"
#include "shell/frmvardecks.h"
#include "shell/mainmodule.h"
#include "shell/splitter.h"
#include "shell/statuspanels.h"
#include "storage/registryfunctions.h"
#include "storage/session.h"
#include "storage/settingsstore.h"
#include "storage/xmldatabase.h"
#include "support/dbfixture.h"
#include "support/fakelauncher.h"
#include "support/findingstandins.h"
#include "support/httpserver.h"
#include "support/renderingstandin.h"
#include "support/workhold.h"
#include "web/ui/aspects.h"
#include "web/ui/emailcommands.h"
#include "web/ui/preview.h"
#include "web/ui/webpane.h"
#include "web/visits.h"

#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QPrinter>
#include <QSignalSpy>
#include <QTest>
#include <QWebEngineScript>
#include <QWebEngineView>
#include <gtest/gtest.h>

using namespace rr;
using namespace rr::test;

namespace
{

// The browser engine's own view behind a pane.
QWebEngineView *engineView(WebPane *pane)
{
    return qobject_cast<QWebEngineView *>(pane->view());
}

// Whether the window shows the busy pointer.
bool busyPointer()
{
    return QApplication::overrideCursor() && QApplication::overrideCursor()->shape() == Qt::BusyCursor;
}

const std::string kPreparing = "Preparing the web page…";

// A main window with the details panel, the Aspect switch and the Web Aspect's strip and pane.
class AspectsTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        window = std::make_unique<frmVardecks>();
        window->LoadDynamicMenus();
        window->resetToolbarButtons();
        window->resetMenuItems();
        installDetailsPanel(*window);
        installAspects(*window);
        installWebAspect(*window);
        prepare();
        window->show();
    }
    // The Aspect switch alone: the Web Aspect's pages are not made.
    virtual void prepare() { rendering = std::make_unique<RenderingStandIn>(*window); }
    void openDatabase(const QString &path)
    {
        auto db = std::make_unique<XMLDatabase>();
        db->setPath(path);
        ASSERT_TRUE(db->openDBValidate(path));
        window->dbXML.open(std::move(db), QFileInfo(path).fileName());
    }

    ScriptedPrompts prompts;
    TempHome home;
    FakeLauncher launcher;
    std::unique_ptr<frmVardecks> window;
    // In the place of the Web Aspect's rendering while only the switch is tested.
    std::unique_ptr<RenderingStandIn> rendering;
};

// Also the Web Aspect, the preview and e-mail, on the sample collection.
class WebAspectTest : public AspectsTest
{
protected:
    void prepare() override
    {
        installPreview(*window);
        installEmailCommands(window->commands, window->dbXML, *window);
        folder = home.databaseFolder();
        dbPath = writeDatabase(folder, "Vardecks.xml", "");
        QFile::remove(dbPath);
        QFile::copy(dataFile(collectionFile()), dbPath);
        QFile::setPermissions(dbPath, QFile::permissions(dbPath) | QFileDevice::WriteOwner);
        openDatabase(dbPath);
        session().webAspectHtml = true;
    }
    void TearDown() override { setPrinterChooser({}); }
    // The collection the window opens.
    virtual QString collectionFile() const { return "web/collection.xml"; }
    QString page(const QString &name) const { return folder + "Vardecks" + name + ".htm"; }
    QString hitsOf(const QString &wid) const
    {
        XMLDatabase fresh;
        fresh.setPath(dbPath);
        return fresh.openDBValidate(dbPath) ? fresh.getTheDOM()->nodeFromID(wid).childText("HITS") : QString();
    }

    std::string status() const { return StatusBar1(*window)->panelText(2).toStdString(); }
    // Waits until the Web Aspect has made the pages asked of it: it makes them on a
    // thread of their own.
    bool pagesMade() const
    {
        return waitUntil([&] { return !WebAspect::of(*window)->makingPage(); }, 20000);
    }
    // Waits for the pane to report count loads ended in all.
    bool loadsEnded(QSignalSpy &ended, int count) const
    {
        return waitUntil([&] { return ended.count() >= count; }, 20000) && ended.count() == count;
    }

    QString folder;
    QString dbPath;
};

// The Web Aspect on a collection of local documents.
class PathLinksTest : public WebAspectTest
{
protected:
    QString collectionFile() const override { return "web/paths.xml"; }
};

// Records whether the window showed the busy pointer as each message was shown.
class PointerAtMessages final : public PromptHandler
{
public:
    PointerAtMessages() : m_previous(prompt::installed()) { prompt::install(this); }
    ~PointerAtMessages() override { prompt::install(m_previous); }
    MsgResult message(const MessageRequest &request) override
    {
        busy << busyPointer();
        return request.defaultButton;
    }
    QString file(const FileRequest &) override { return {}; }
    QString input(const InputRequest &, bool *) override { return {}; }
    QList<bool> busy;

private:
    PromptHandler *m_previous;
};

} // namespace

TEST_F(AspectsTest, webAspectHidesTheExplorerAndDisablesTheVardeckCommands)
{
    // With nothing shown, coming back leaves the entry buttons off.
    operationsOf<AspectOperations>(*window).showAspectWeb();
    operationsOf<AspectOperations>(*window).showAspectExplorer();
    for (Tb position : {Tb::UpdateVardeck, Tb::DeleteVardeck, Tb::FirstVardeck, Tb::OpenInBrowser})
        EXPECT_FALSE(window->toolbarButton(position)->isEnabled()) << int(position);
    EXPECT_FALSE(window->menuItem(MenuId::mnuToolsOpen)->isEnabled());
    EXPECT_TRUE(window->menuItem(MenuId::mnuToolsGet)->isEnabled());

    // A Vardeck shown as the details panel shows one.
    window->showFolder("T1", "Folder");
    window->showVardeck("W1", "Shown");
    for (Tb position : {Tb::UpdateVardeck, Tb::DeleteVardeck, Tb::OpenInBrowser})
        window->toolbarButton(position)->setEnabled(true);
    window->menuItem(MenuId::mnuToolsIconVD)->setEnabled(true);
    window->commands.mnuAspectWeb_Click();
    EXPECT_EQ(window->currentAspect(), "Web");
    EXPECT_TRUE(window->menuItem(MenuId::mnuAspectWeb)->isChecked());
    EXPECT_FALSE(window->menuItem(MenuId::mnuAspectExplorer)->isChecked());
    EXPECT_TRUE(window->aspectButton(AspectButton::Web)->isChecked());
    EXPECT_FALSE(Splitter2(*window)->isVisible());
    EXPECT_TRUE(wbWeb(*window)->isVisible());
    EXPECT_TRUE(Picture2(*window)->isVisible());
    for (Tb position : {Tb::UpdateVardeck, Tb::DeleteVardeck, Tb::FirstVardeck, Tb::PreviousVardeck, Tb::NextVardeck,
                        Tb::LastVardeck, Tb::OpenInBrowser})
        EXPECT_FALSE(window->toolbarButton(position)->isEnabled()) << int(position);
    for (MenuId item :
         {MenuId::mnuEdit, MenuId::mnuToolsOpen, MenuId::mnuToolsOpenHome, MenuId::mnuToolsIcon, MenuId::mnuThumb})
        EXPECT_FALSE(window->menuItem(item)->isEnabled()) << menuEntry(item).name.toStdString();
    EXPECT_EQ(StatusBar1(*window)->panelText(2), "");

    window->commands.mnuAspectExplorer_Click();
    EXPECT_EQ(window->currentAspect(), "Explorer");
    EXPECT_TRUE(Splitter2(*window)->isVisible());
    EXPECT_FALSE(wbWeb(*window)->isVisible());
    EXPECT_FALSE(Picture2(*window)->isVisible());
    EXPECT_TRUE(window->aspectButton(AspectButton::Explorer)->isChecked());
    // A folder and a Vardeck are shown: their buttons come back.
    for (Tb position : {Tb::UpdateVardeck, Tb::DeleteVardeck, Tb::FirstVardeck, Tb::PreviousVardeck, Tb::NextVardeck,
                        Tb::LastVardeck, Tb::OpenInBrowser})
        EXPECT_TRUE(window->toolbarButton(position)->isEnabled()) << int(position);
    EXPECT_TRUE(window->menuItem(MenuId::mnuToolsOpen)->isEnabled());
    EXPECT_TRUE(window->menuItem(MenuId::mnuEdit)->isEnabled());

    // Choosing the aspect already shown changes nothing.
    Splitter2(*window)->setVisible(false);
    window->commands.mnuAspectExplorer_Click();
    EXPECT_FALSE(Splitter2(*window)->isVisible());
    EXPECT_EQ(window->currentAspect(), "Explorer");
}

TEST_F(AspectsTest, staleRenderedPageIsRenderedAgainOnEntry)
{
    EXPECT_EQ(aspectPageForStyle("vdall.XSL").pageName, "AllTemp");
    EXPECT_EQ(aspectPageForStyle("VDSearch.xsl").pageName, "FoldersTemp");
    QStringList rendered;
    rendering->loadPage = [&](const QString &style, const QString &page, bool) {
        rendered << style + "/" + page;
        wbWeb(*window)->setProperty("rrAddress", "file:///Vardecks" + page + ".htm");
        session().currentAspectStyle = style;
    };
    session().webAspectHtml = true;
    RegistryFunctions::WriteValue(reg::HKEY_CURRENT_USER, SettingsStore::kAppKey, "AspectStyle", "VDHits.xsl");
    showAspectWeb(*window);
    // A blank pane renders the stored style under the folders page's name.
    EXPECT_EQ(rendered, QStringList({"VDHits.xsl/FoldersTemp"}));
    showAspectExplorer(*window);
    window->aspectPageMade(frmVardecks::HitsPage);
    showAspectWeb(*window);
    EXPECT_EQ(rendered.size(), 1);
    window->collectionChanged(StalePages{.hits = true});
    showAspectWeb(*window);
    EXPECT_EQ(rendered.last(), "VDHits.xsl/HitsTemp");
    session().webAspectHtml = false;
}

TEST_F(AspectsTest, aVisitRecordedAnywhereShowsOnTheWindow)
{
    installExplorer(*window); // the folder list, whose row shows the visit
    const QString path = writeDatabase(home.databaseFolder(), "Vardecks.xml",
                                       "<FOLDERS>" + folderXml("T1", "f", vardeckXml("W1", "One")) + "</FOLDERS>");
    openDatabase(path);
    int popularRefills = 0;
    test::FindingStandIn finding(*window);
    finding.onPopulatePopList = [&](XmlDocument *) { ++popularRefills; };
    auto *row = new QTreeWidgetItem(listVD(*window), {"One", "a", "b", "", "     1", "d"});
    row->setData(0, Qt::UserRole, "w1");
    window->showVardeck("W1", "One");
    for (int page = 0; page < 4; ++page)
        window->aspectPageMade(page);

    const QString stamp = updateLastAccessed(*window->dbXML, "W1", QDateTime(QDate(2026, 1, 2), QTime(9, 5)));
    EXPECT_EQ(popularRefills, 1);
    EXPECT_EQ(lbl(*window, Lbl::LastVisited)->text(), stamp);
    EXPECT_EQ(lbl(*window, Lbl::Hits)->text(), "2");
    EXPECT_EQ(row->text(3), stamp);
    EXPECT_EQ(row->text(4), "     2");
    EXPECT_TRUE(window->aspectPageStale(frmVardecks::HitsPage));

    // Another Vardeck than the one shown leaves the panel alone.
    window->showVardeck("W9", "Another");
    lbl(*window, Lbl::Hits)->setText("x");
    updateLastAccessed(*window->dbXML, "W1");
    EXPECT_EQ(lbl(*window, Lbl::Hits)->text(), "x");
}

TEST_F(WebAspectTest, browserFormattingPutsASafeInstructionAfterTheDeclarationAndThePaneShowsThePage)
{
    session().webAspectHtml = false;
    SettingsStore::setAspectStyle("VDFavs.xsl' href='http://evil.example/x.xsl");
    window->commands.mnuAspectWeb_Click();
    EXPECT_EQ(test::readBytes(dbPath).split('\n').value(1), "<?xml-stylesheet type='text/xsl' href='VD.xsl'?>");
    WebPane *pane = WebPane::of(wbWeb(*window));
    // The browser is made once its pane has been shown.
    ASSERT_TRUE(pane && waitUntil([&] { return pane->hasView(); }, 20000));
    EXPECT_TRUE(waitUntil([&] { return engineView(pane)->title() == "Vardecks - all folders"; }, 20000))
        << engineView(pane)->title().toStdString();

    // The search view takes the search text into its stylesheet on disk.
    txtS(*window)->setText("Quokka & co");
    window->commands.cmdWeb_Click(4);
    EXPECT_TRUE(test::readBytes(folder + "VDSearch.xsl")
                    .contains("<xsl:variable name=\"search\">Quokka &amp; co</xsl:variable>"));
    EXPECT_TRUE(test::readBytes(dbPath).contains("<?xml-stylesheet type='text/xsl' href='VDSearch.xsl'?>"));
    EXPECT_EQ(session().currentAspectStyle, "VDSearch.xsl");
    EXPECT_TRUE(prompts.messages().empty()) << prompts.lastText().toStdString();
}

TEST_F(WebAspectTest, ctrlXInTheShownPageGoesBackToTheExplorerAspect)
{
    QApplication::setActiveWindow(window.get());
    window->commands.mnuAspectWeb_Click();
    WebPane *pane = WebPane::of(wbWeb(*window));
    ASSERT_TRUE(pane && waitUntil([&] { return pane->hasView(); }, 20000));
    ASSERT_TRUE(waitUntil([&] { return engineView(pane)->title() == "Vardecks - all folders"; }, 20000));
    // The page takes the keys in a child of the view, which claims Ctrl+X as its Cut
    // while a text field of the page has the keyboard.
    QWidget *page = pane->view()->focusProxy();
    ASSERT_NE(page, nullptr);
    page->setFocus();
    ASSERT_TRUE(waitUntil([&] { return QApplication::focusWidget() == page; }));
    engineView(pane)->page()->runJavaScript(
        "var f = document.createElement('input'); f.value = 'typed'; document.body.prepend(f); f.focus(); f.select();",
        QWebEngineScript::ApplicationWorld);
    QString focused;
    engineView(pane)->page()->runJavaScript("document.activeElement.tagName", QWebEngineScript::ApplicationWorld,
                                            [&](const QVariant &tag) { focused = tag.toString(); });
    ASSERT_TRUE(waitUntil([&] { return focused == "INPUT"; }));
    QTest::keyClick(page, Qt::Key_X, Qt::ControlModifier);
    QCoreApplication::processEvents();
    EXPECT_EQ(window->currentAspect(), "Explorer");
    EXPECT_TRUE(Splitter2(*window)->isVisible());
    QString value;
    engineView(pane)->page()->runJavaScript("document.activeElement.value", QWebEngineScript::ApplicationWorld,
                                            [&](const QVariant &text) { value = text.toString(); });
    EXPECT_TRUE(waitUntil([&] { return !value.isEmpty(); }, 3000)) << "nothing cut";
}

TEST_F(WebAspectTest, renderedPagesFollowTheStaleFlagsAndTheSearchStylesheetStaysAsItWas)
{
    window->commands.mnuAspectWeb_Click();
    ASSERT_TRUE(pagesMade());
    EXPECT_TRUE(test::readBytes(page("FoldersTemp")).contains("<title>Vardecks - all folders</title>"));

    const QByteArray searchXsl = test::readBytes(folder + "VDSearch.xsl");
    txtS(*window)->setText("QUOKKA");
    QTest::keyClick(txtS(*window), Qt::Key_Return);
    EXPECT_TRUE(waitUntil([&] { return QFile::exists(page("SearchTemp")); }, 20000));
    EXPECT_TRUE(test::readBytes(page("SearchTemp")).contains("apple pages"));
    EXPECT_EQ(test::readBytes(folder + "VDSearch.xsl"), searchXsl);

    // Each view button makes its page only when it is stale, then clears its flag.
    const struct {
        int index;
        const char *page;
        int flag;
    } views[] = {{0, "FoldersTemp", frmVardecks::FoldersPage}, {5, "HitsTemp", frmVardecks::HitsPage}};
    for (const auto &view : views) {
        SCOPED_TRACE(view.page);
        window->collectionChanged(StalePages::everyPage());
        QFile::remove(page(view.page));
        window->commands.cmdWeb_Click(view.index);
        ASSERT_TRUE(pagesMade());
        EXPECT_TRUE(QFile::exists(page(view.page)));
        for (int flag = 0; flag < 4; ++flag)
            EXPECT_EQ(window->aspectPageStale(flag), flag != view.flag) << flag;
        QFile::remove(page(view.page));
        window->commands.cmdWeb_Click(view.index);
        ASSERT_TRUE(pagesMade());
        EXPECT_FALSE(QFile::exists(page(view.page))) << "a clean page is not made again";
    }
    // The search page is made every time and has no flag to clear.
    window->commands.cmdWeb_Click(4);
    ASSERT_TRUE(pagesMade());
    EXPECT_TRUE(window->aspectPageStale(frmVardecks::FoldersPage));

    // A broken stylesheet keeps the flag and says why.
    EXPECT_TRUE(test::writeBytes(folder + "VDAll.xsl", "<xsl:stylesheet"));
    window->collectionChanged(StalePages{.all = true});
    window->commands.cmdWeb_Click(1);
    ASSERT_TRUE(pagesMade());
    EXPECT_TRUE(window->aspectPageStale(frmVardecks::AllPage));
    EXPECT_TRUE(prompts.lastText().startsWith("The Web Aspect page could not be made."))
        << prompts.lastText().toStdString();

    // Closing the database makes every page stale.
    for (int page = 0; page < 4; ++page)
        window->aspectPageMade(page);
    installExplorer(*window); // whose views the close empties
    closeTheDatabase(*window);
    for (int page = 0; page < 4; ++page)
        EXPECT_TRUE(window->aspectPageStale(page));
}

TEST_F(WebAspectTest, printingAsksFirstAndPrintsTheShownViewToThePrinter)
{
    const QString pdf = home.path() + "/printed.pdf";
    int chosen = 0;
    setPrinterChooser([&](QWidget *) {
        ++chosen;
        auto printer = std::make_shared<QPrinter>();
        printer->setOutputFormat(QPrinter::PdfFormat);
        printer->setOutputFileName(pdf);
        return printer;
    });
    prompts.answer(MsgResult::No);
    window->commands.mnuFilePrint_Click();
    EXPECT_EQ(window->currentAspect(), "Web");
    EXPECT_EQ(prompts.messages().back().title, "Print?");
    EXPECT_EQ(prompts.lastText(),
              "This will print the current view displayed in your Web aspect.  Do you wish to continue?");
    EXPECT_EQ(chosen, 0);

    prompts.answer(MsgResult::Yes);
    window->commands.cmdWeb_Click(3);
    EXPECT_EQ(chosen, 1);
    ASSERT_TRUE(waitUntil([&] { return test::readBytes(pdf).trimmed().endsWith("%%EOF"); }, 20000));
    EXPECT_TRUE(test::readBytes(pdf).startsWith("%PDF"));
    EXPECT_GT(QFileInfo(pdf).size(), 1000);
}

TEST_F(WebAspectTest, mailedPagesComeFromTheSelfContainedStylesheetsAndFailuresSendNothing)
{
    launcher.addProgram("xdg-email", "/usr/bin/xdg-email");
    const QString attachment = paths::programFolder() + "/Vardecks.htm";
    window->commands.mnuEmailAllFolders_Click();
    window->commands.mnuEmailFavorites_Click();
    ASSERT_EQ(launcher.starts().size(), 2u);
    EXPECT_EQ(launcher.starts()[0].args.value(2), "Vardecks - all folders");
    EXPECT_EQ(launcher.starts()[1].args.value(4), attachment);
    EXPECT_EQ(launcher.starts()[1].args.value(2), "Favorite Vardecks");
    const QByteArray favs = test::readBytes(attachment);
    EXPECT_TRUE(favs.contains("<title>Favorite Vardecks</title>") && favs.contains("<style"));
    EXPECT_FALSE(favs.contains("LINK"));

    EXPECT_TRUE(test::writeBytes(folder + "VDAll_plain.xsl", "broken"));
    window->commands.mnuEmailAllVardecks_Click();
    EXPECT_EQ(launcher.starts().size(), 2u);
    EXPECT_TRUE(prompts.lastText().startsWith("Nothing was sent")) << prompts.lastText().toStdString();
    EXPECT_EQ(test::readBytes(attachment), favs);

    window->commands.mnuEmailVD_Click();
    EXPECT_EQ(prompts.lastText(), "A Vardeck must be selected to send it by e-mail");
    EXPECT_EQ(launcher.starts().size(), 2u);
    window->showVardeck("W1", "Zebra & Co");
    window->commands.mnuEmailVD_Click();
    ASSERT_EQ(launcher.starts().size(), 3u);
    const QStringList args = launcher.starts()[2].args;
    EXPECT_EQ(args.value(2), "Vardeck");
    EXPECT_TRUE(args.value(4).contains("Zebra & Co") && args.value(4).contains("http://zebra.example/"));
    EXPECT_EQ(args.size(), 5) << "nothing is attached to one Vardeck";

    // A mail program that fails is told of in the window.
    prompts.clear();
    launcher.failStarts();
    window->commands.mnuEmailVD_Click();
    ASSERT_EQ(prompts.messages().size(), 1u);
    EXPECT_EQ(prompts.lastText(), "There was an error logging in to e-mail messaging program.");
    EXPECT_EQ(prompts.messages().back().icon, MsgIcon::Critical);
    EXPECT_EQ(prompts.messages().back().title, "Razuzezu Revidod");
}

TEST_F(WebAspectTest, thePreviewRecordsAVisitOnlyOutsideAnEditAndLoadsNoScriptAddress)
{
    window->showVardeck("W1", "Zebra & Co");
    txtAddress(*window)->setText("http://zebra.example/");
    // The preview's tab is not shown: the address waits there and nothing is loaded.
    ASSERT_FALSE(wbPreview(*window)->isVisible());
    window->setEditState(EditState::Modifying);
    window->commands.cmdPreview_Click(0);
    EXPECT_EQ(wbPreview(*window)->property("rrAddress").toString(), "http://zebra.example/");
    EXPECT_EQ(hitsOf("W1"), "9");
    window->setEditState(EditState::Viewing);
    window->commands.cmdPreview_Click(0);
    EXPECT_EQ(hitsOf("W1"), "10");
    window->commands.cmdPreview_Click(5);
    EXPECT_EQ(hitsOf("W1"), "11");
    EXPECT_EQ(launcher.openedUrls().size() + launcher.starts().size(), 1u);
    EXPECT_FALSE(WebPane::of(wbPreview(*window))->hasView());

    txtAddress(*window)->setText("javascript:alert(1)");
    window->commands.cmdPreview_Click(0);
    EXPECT_EQ(wbPreview(*window)->property("rrAddress").toString(), "about:blank");
    EXPECT_EQ(StatusBar1(*window)->panelText(2), "The preview shows only web pages and files: javascript:alert(1)");
    // Open in the browser refuses it as well, says why and records no visit.
    const QString hits = hitsOf("W1");
    window->commands.cmdPreview_Click(5);
    EXPECT_EQ(prompts.lastText(),
              "The address javascript:alert(1) was not opened: it is not the address of a web page or a file.");
    EXPECT_EQ(hitsOf("W1"), hits);
    EXPECT_EQ(launcher.openedUrls().size() + launcher.starts().size(), 1u);
    window->commands.cmdPreview_Click(3);
    EXPECT_EQ(prompts.lastText(), "The homepage for  could not be loaded");
}

// Shown, the preview loads its blank page for a refused address; the reason stays once
// that load has ended, until the preview shows another page.
TEST_F(WebAspectTest, thePreviewsReasonForRefusingAnAddressStaysAfterItsBlankPageHasLoaded)
{
    window->showVardeck("W1", "Zebra & Co");
    window->showInfoTab(InfoTab::Preview);
    ASSERT_TRUE(wbPreview(*window)->isVisible());
    WebPane *pane = WebPane::of(wbPreview(*window));
    ASSERT_NE(pane, nullptr);
    QSignalSpy ended(pane, &WebPane::loadFinished);
    const QString file = QUrl::fromLocalFile(folder + "Vardecks.xml").toString();
    int loads = 0;
    const auto go = [&](const QString &address) {
        txtAddress(*window)->setText(address);
        window->commands.cmdPreview_Click(0);
        return loadsEnded(ended, ++loads);
    };
    ASSERT_TRUE(go(file));
    const QString hits = hitsOf("W1");
    for (const char *address : {"javascript:alert(1)", "data:text/html,<b>hi</b>"}) {
        ASSERT_TRUE(go(address)) << address;
        QTest::qWait(50);
        EXPECT_EQ(status(), "The preview shows only web pages and files: " + std::string(address));
        EXPECT_EQ(hitsOf("W1"), hits) << "nothing shown is no visit";
    }
    ASSERT_TRUE(go(file));
    EXPECT_EQ(status().find("The preview shows only"), std::string::npos) << status();
}

TEST_F(WebAspectTest, theWindowSaysItPreparesThePageUntilTheLastOneAskedForIsDrawnWhileTheWebAspectIsShown)
{
    window->commands.mnuAspectWeb_Click();
    WebPane *pane = WebPane::of(wbWeb(*window));
    QSignalSpy ended(pane, &WebPane::loadFinished);
    EXPECT_TRUE(busyPointer());
    EXPECT_EQ(status(), kPreparing);
    ASSERT_TRUE(loadsEnded(ended, 1));
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
    EXPECT_EQ(status(), "");

    // A link's address in the status bar comes back once the next page is drawn; the
    // links of the page on its way out are not echoed over the busy text meanwhile.
    StatusBar1(*window)->setPanelText(2, "http://zebra.example/");
    window->collectionChanged(StalePages::everyPage());
    window->commands.cmdWeb_Click(1);
    emit pane->statusTextChanged("http://quokka.example/");
    EXPECT_EQ(status(), kPreparing);
    // Another view before the first is drawn: the window works on until the last one is.
    window->commands.cmdWeb_Click(0);
    EXPECT_TRUE(busyPointer());
    ASSERT_TRUE(loadsEnded(ended, 2));
    EXPECT_TRUE(engineView(pane)->url().toLocalFile().endsWith("VardecksFoldersTemp.htm"));
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
    EXPECT_EQ(status(), "http://zebra.example/");
    emit pane->statusTextChanged("http://quokka.example/");
    EXPECT_EQ(status(), "http://quokka.example/");

    // The Explorer Aspect says nothing of a page loading behind it; coming back before
    // it is drawn says it again.
    window->commands.cmdWeb_Click(5);
    EXPECT_TRUE(busyPointer());
    window->commands.mnuAspectExplorer_Click();
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
    EXPECT_EQ(status(), "");
    window->commands.mnuAspectWeb_Click();
    EXPECT_TRUE(busyPointer());
    EXPECT_EQ(status(), kPreparing);
    ASSERT_TRUE(loadsEnded(ended, 3));
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
    EXPECT_EQ(status(), "");
}

// Making a page holds the window's events up: the busy pointer and the text must be on
// screen before it starts, not once the page is there.
TEST_F(WebAspectTest, theBusySignsAreDrawnBeforeThePageIsMade)
{
    struct PaintWatch final : QObject {
        QString pages;
        QStringList seen; // what the panel showed as it was painted, and whether a page was there
        bool eventFilter(QObject *watched, QEvent *event) override
        {
            if (event->type() == QEvent::Paint) {
                const bool made = !QDir(pages).entryList({"Vardecks*.htm"}, QDir::Files).isEmpty();
                seen << static_cast<QLabel *>(watched)->text() + (busyPointer() ? " busy" : "") + (made ? " made" : "");
            }
            return false;
        }
    } watch;
    watch.pages = folder;
    // The window is on the screen.
    ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
    ASSERT_TRUE(QDir(folder).entryList({"Vardecks*.htm"}, QDir::Files).isEmpty());
    StatusBar1(*window)->panel(2)->installEventFilter(&watch);
    window->commands.mnuAspectWeb_Click();
    ASSERT_TRUE(pagesMade());
    ASSERT_FALSE(QDir(folder).entryList({"Vardecks*.htm"}, QDir::Files).isEmpty());
    EXPECT_TRUE(watch.seen.contains(QString::fromStdString(kPreparing) + " busy"))
        << watch.seen.join(" | ").toStdString();
}

TEST_F(WebAspectTest, theBusySignsEndWhenALoadFailsAPageCannotBeMadeOrTheWindowCloses)
{
    window->commands.mnuAspectWeb_Click();
    WebPane *pane = WebPane::of(wbWeb(*window));
    QSignalSpy ended(pane, &WebPane::loadFinished);
    ASSERT_TRUE(loadsEnded(ended, 1));

    pane->navigate(QUrl::fromLocalFile(folder + "VardecksGone.htm"));
    EXPECT_TRUE(busyPointer());
    ASSERT_TRUE(loadsEnded(ended, 2));
    EXPECT_FALSE(ended.last().value(0).toBool());
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
    EXPECT_EQ(status(), "");

    // The reason is told without the busy pointer; the page shown before is loaded again.
    EXPECT_TRUE(test::writeBytes(folder + "VDAll.xsl", "<xsl:stylesheet"));
    window->collectionChanged(StalePages{.all = true});
    {
        PointerAtMessages pointer;
        window->commands.cmdWeb_Click(1);
        ASSERT_TRUE(pagesMade());
        EXPECT_EQ(pointer.busy, QList<bool>({false}));
    }
    ASSERT_TRUE(loadsEnded(ended, 3));
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);

    window->commands.cmdWeb_Click(5);
    EXPECT_TRUE(busyPointer());
    window.reset();
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
}

TEST_F(PathLinksTest, aClickOnALocalDocumentInEveryViewOpensItsFileWhetherThePaneOrTheProgramFormatsThePage)
{
    QApplication::setActiveWindow(window.get());
    txtS(*window)->setText("quokka");
    window->commands.mnuAspectWeb_Click();
    WebPane *pane = WebPane::of(wbWeb(*window));
    ASSERT_TRUE(pane && waitUntil([&] { return pane->hasView(); }, 20000));
    const struct {
        int button;
        const char *title;
    } views[] = {{0, "Vardecks - all folders"},
                 {1, "Vardecks - all"},
                 {2, "Favorite Vardecks"},
                 {4, "Search Vardecks"},
                 {5, "Popular Vardecks"}};
    const struct {
        const char *name, *opened;
    } links[] = {
        {"blank and hash quokka", "file:///home/u/My%20Docs/a%231.pdf"},
        {"日本語のノート quokka",
         "file:///tmp/%E6%97%A5%E6%9C%AC%E8%AA%9E/%E3%83%8E%E3%83%BC%E3%83%88%20&%20R&D%5Cx.pdf"},
    };
    for (const bool programFormats : {true, false}) {
        session().webAspectHtml = programFormats;
        for (const auto &view : views) {
            SCOPED_TRACE(std::string(view.title) + (programFormats ? ", made by the program" : ", made by the pane"));
            window->collectionChanged(StalePages::everyPage());
            window->commands.cmdWeb_Click(view.button);
            // The program's page, or the database the pane formats itself.
            const auto showsItsPage = [&] {
                const QString shown = QFileInfo(engineView(pane)->url().toLocalFile()).fileName();
                return programFormats ? shown.endsWith("Temp.htm") : shown == QFileInfo(dbPath).fileName();
            };
            for (const auto &link : links) {
                // Where the link is once the page asked for is drawn: [x, y] in the view.
                QVariantList at;
                const QString script =
                    QString("(function() { if (document.title != '%1') return null;"
                            " var a = Array.from(document.querySelectorAll('a')).find(function (e) {"
                            " return e.textContent == '%2'; }); if (!a) return null; a.scrollIntoView();"
                            " var r = a.getBoundingClientRect(); return [r.left + r.width / 2, r.top + r.height / 2];"
                            " })()")
                        .arg(view.title, link.name);
                ASSERT_TRUE(waitUntil(
                    [&] {
                        if (!showsItsPage())
                            return false;
                        bool answered = false;
                        engineView(pane)->page()->runJavaScript(script, QWebEngineScript::ApplicationWorld,
                                                                [&](const QVariant &v) {
                                                                    at = v.toList();
                                                                    answered = true;
                                                                });
                        return waitUntil([&] { return answered; }, 5000) && at.size() == 2;
                    },
                    20000))
                    << link.name;
                const int opened = launcher.openedUrls().size();
                QTest::mouseClick(pane->view()->focusProxy(), Qt::LeftButton, Qt::NoModifier,
                                  QPoint(at[0].toInt(), at[1].toInt()));
                ASSERT_TRUE(waitUntil([&] { return launcher.openedUrls().size() > opened; }, 10000)) << link.name;
                EXPECT_EQ(launcher.openedUrls().last().toStdString(), link.opened);
            }
        }
    }
    EXPECT_TRUE(prompts.messages().empty()) << prompts.lastText().toStdString();
}

// A page is made from the collection as it was when its view was asked for; a change
// made while the page is made leaves it stale, so that the next view makes it again.
TEST_F(WebAspectTest, aChangeWhileThePageIsMadeLeavesThePageStale)
{
    window->commands.mnuAspectWeb_Click();
    ASSERT_TRUE(pagesMade());
    window->collectionChanged(StalePages{.all = true});
    {
        WorkHold hold(1, [&] {
            window->dbXML->getTheDOM()->nodeFromID("W1").setChildText("NAME", "Renamed meanwhile");
            window->collectionChanged(StalePages::everyPage());
        });
        window->commands.cmdWeb_Click(1);
        ASSERT_TRUE(pagesMade());
        EXPECT_TRUE(hold.done());
    }
    EXPECT_FALSE(test::readBytes(page("AllTemp")).contains("Renamed meanwhile"));
    EXPECT_TRUE(window->aspectPageStale(frmVardecks::AllPage));

    window->commands.cmdWeb_Click(1);
    ASSERT_TRUE(pagesMade());
    EXPECT_TRUE(test::readBytes(page("AllTemp")).contains("Renamed meanwhile"));
    EXPECT_FALSE(window->aspectPageStale(frmVardecks::AllPage));
}
