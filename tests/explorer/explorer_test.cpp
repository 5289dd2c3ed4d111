// The folder tree, the Vardeck tree and list of the shown folder, the details panel of the
// shown Vardeck, and the commands that open and walk its Vardecks.
#include "explorerfixture.h"

#include "controls/qbbuttons_h.h"
#include "explorer/detailspanel.h"
#include "explorer/folderops.h"
#include "explorer/foldertree.h"
#include "explorer/vardeckviews.h"
#include "finding/ui/findingui.h"
#include "platform/gui/partoperations.h"
#include "shell/findingoperations.h"
#include "shell/fonthelpers.h"
#include "shell/statuspanels.h"
#include "storage/session.h"
#include "support/windowcontrols.h"

#include <QCheckBox>
#include <QClipboard>
#include <QDir>
#include <QImage>
#include <QListView>
#include <QPlainTextEdit>
#include <QToolTip>
#include <QWindow>

using namespace rr;
using namespace rr::test;

namespace
{

QStringList cells(const QTreeWidgetItem *row)
{
    QStringList out;
    for (int c = 0; c < row->columnCount(); ++c)
        out << row->text(c);
    return out;
}

void writePicture(const QString &file, Qt::GlobalColor colour, QSize size = {16, 16})
{
    QDir().mkpath(QFileInfo(file).absolutePath());
    QImage image(size, QImage::Format_ARGB32);
    image.fill(colour);
    ASSERT_TRUE(image.save(file, file.endsWith(".gif") ? "PNG" : "ICO"));
}

TEST_F(ExplorerTest, aFolderClickFillsTreeAndListWithAddressesIconsAndBoldRecentsAndARowClickShowsItsFolder)
{
    VDData other;
    other.loadDataFromReg("w3", "Bank", "https://elsewhere.example/", "Other.xml");
    session().recentColl = {other};
    const QString icons = home.databaseFolder() + "/icons/";
    writePicture(icons + "Vardecks/W1.ico", Qt::red);
    writePicture(icons + "Vardecks/favicon.ico", Qt::green);
    writePicture(icons + "Vardecks/Generic.ico", Qt::green);
    writePicture(icons + "Vardecks/other.gif", Qt::blue);
    writePicture(icons + "shared.gif", Qt::yellow);
    writePicture(icons + "W2.ico", Qt::cyan);
    openDatabase();
    EXPECT_EQ(window->vardeckPictures().keys(), QStringList({"SelVardeck", "Vardeck", "W1", "W2", "other", "shared"}))
        << "no favicon, no Generic";

    clickFolder("T1");
    EXPECT_EQ(lbl(*window, Lbl::VardeckCount)->text(), "2");
    ASSERT_EQ(tvwWM(*window)->topLevelItemCount(), 2);
    // The tree and the list sort by name without regard to case.
    EXPECT_EQ(tvwWM(*window)->topLevelItem(0)->text(0), "alpha & co");
    EXPECT_EQ(rowIds(), QStringList({"W2", "W1"}));
    EXPECT_EQ(listVD(*window)->headerItem()->text(4), "Hits");
    EXPECT_EQ(cells(row("W1")), QStringList({"Beta site", "http://www.beta.example/docs/page.html", "06 Dec 2026",
                                             "01 Dec 2026 10:00 AM", "     1", "A page"}));
    // Missing fields show one blank; a missing count shows 1.
    EXPECT_EQ(cells(row("W2")), QStringList({"alpha & co", "ftp://files.example/x", " ", " ", "     1", " "}));
    EXPECT_EQ(row("W1")->icon(0).pixmap(16).toImage().pixelColor(8, 8), QColor(Qt::red));
    EXPECT_FALSE(row("W1")->font(0).bold());

    // The list alone, refilled after an edit, takes the texts as they are.
    explorer->views.populateVDList(doc()->nodeFromID("T1"));
    EXPECT_EQ(cells(row("W2")), QStringList({"alpha & co", "ftp://files.example/x", "", "", "     1", ""}));
    EXPECT_EQ(cells(row("W1"))[4], "      ");

    // Hovering a tree node puts its address into the tool tip.
    VardeckViews *views = &explorer->views;
    views->tvwWM_MouseMove(tvwWM(*window)->visualItemRect(wmNode("W2")).center());
    EXPECT_EQ(Splitter1(*window)->toolTip(), "ftp://files.example/x");

    // A double-click shows the row; the icon view shows the same rows.
    listVD(*window)->setCurrentItem(row("W2"));
    views->listVD_DblClick();
    EXPECT_EQ(lblWName(*window)->text(), "alpha & co");
    EXPECT_EQ(tabView(*window)->Tab(), 0);

    explorer->views.viewAsIcons();
    EXPECT_EQ(tabView(*window)->Tab(), 1);
    EXPECT_TRUE(window->findChild<QListView *>("listVDIcons")->isVisible());
    EXPECT_EQ(window->findChild<QListView *>("listVDIcons")->model()->rowCount(), 2);
    explorer->views.viewAsList();
    EXPECT_FALSE(window->findChild<QListView *>("listVDIcons")->isVisible());

    // No site icon: the generic picture; a recent Vardeck, of any database, in bold.
    clickFolder("T5");
    EXPECT_TRUE(sameImage(row("W3")->icon(0).pixmap(16), window->vardeckPictures().picture("Vardeck").pixmap(16)));
    EXPECT_TRUE(row("W3")->font(0).bold());
    EXPECT_TRUE(row("W3")->font(4).bold());
    EXPECT_TRUE(wmNode("W3")->font(0).bold());

    // A click in views filled with another folder's Vardecks, as by a finding list, makes that folder current.
    const XmlNode zebra = doc()->nodeFromID("T1");
    views->fillVardeckViews(zebra.child("VARDECKS").childElements(), zebra);
    clickVardeck("W2");
    EXPECT_EQ(window->currentTID(), "T1");
    EXPECT_EQ(lblTName(*window)->text(), "zebra");
    EXPECT_EQ(StatusBar1(*window)->panelText(2), "\\zebra");
    // The same through listVD.
    clickFolder("T5");
    explorer->views.populateVDList(zebra);
    window->showFolder("T5", "Apple");
    listVD(*window)->setCurrentItem(row("W1"));
    views->listVD_DblClick();
    EXPECT_EQ(window->currentTID(), "T1");
    EXPECT_EQ(lblTName(*window)->text(), "zebra");
}

// The list filled with the tree, the list refilled alone and the details panel read a Vardeck's visit count by
// one rule: of several HITS, in any letter case, the last.
TEST_F(ExplorerTest, theListsAndTheDetailsPanelReadTheVisitCountOneWay)
{
    openDatabase(
        "<FOLDERS>" +
        folderXml("T1", "f", "<VARDECK WID=\"W1\"><NAME>Counted</NAME><HITS>3</HITS><hits>7</hits></VARDECK>") +
        "</FOLDERS>");
    clickFolder("T1");
    EXPECT_EQ(cells(row("W1"))[4], "     7");
    explorer->views.populateVDList(doc()->nodeFromID("T1"));
    EXPECT_EQ(cells(row("W1"))[4], "     7");
    clickVardeck("W1");
    EXPECT_EQ(lbl(*window, Lbl::Hits)->text(), "7");
}

TEST_F(ExplorerTest, columnClicksToggleTheOrderAndGoCommandsWalkTheFolderAndStopAtItsEnds)
{
    const VD a{"W1", "a", "http://a/", "", "", "", "", "", "", "9"};
    const VD b{"W2", "B", "http://b/", "", "", "", "", "", "", "10"};
    const VD c{"W3", "c", "http://c/", "", "", "", "", "", "", "1"};
    openDatabase("<FOLDERS>" + folderXml("T1", "f", a.xml() + b.xml() + c.xml()) + folderXml("T2", "empty") +
                 "</FOLDERS>");
    clickFolder("T1");
    EXPECT_EQ(rowIds(), QStringList({"W1", "W2", "W3"}));
    VardeckViews *views = &explorer->views;
    views->listVD_ColumnClick(4);
    EXPECT_EQ(rowIds(), QStringList({"W2", "W1", "W3"}));
    views->listVD_ColumnClick(4);
    EXPECT_EQ(rowIds(), QStringList({"W3", "W1", "W2"}));
    views->listVD_ColumnClick(0);
    EXPECT_EQ(rowIds(), QStringList({"W3", "W2", "W1"}));
    // A new fill sorts by name ascending again.
    clickFolder("T1");
    EXPECT_EQ(rowIds(), QStringList({"W1", "W2", "W3"}));

    // Next, First, Previous and Last walk the folder and stop at its ends.
    clickVardeck("W2");
    window->commands.mnuNav_Click(3);
    EXPECT_EQ(lblWName(*window)->text(), "c");
    // At the end Next keeps c and shows nothing new.
    lbl(*window, Lbl::LastVisited)->setText("marker");
    window->commands.mnuNav_Click(3);
    EXPECT_EQ(tvwWM(*window)->currentItem(), wmNode("W3"));
    EXPECT_EQ(lbl(*window, Lbl::LastVisited)->text(), "marker");
    window->commands.mnuNav_Click(1);
    EXPECT_EQ(lblWName(*window)->text(), "a");
    lbl(*window, Lbl::LastVisited)->setText("marker");
    window->commands.mnuNav_Click(2);
    EXPECT_EQ(lbl(*window, Lbl::LastVisited)->text(), "marker");
    window->commands.mnuNav_Click(4);
    EXPECT_EQ(lblWName(*window)->text(), "c");

    // F2 is First.
    QTest::keyClick(tvwWM(*window), Qt::Key_F2);
    QCoreApplication::processEvents();
    EXPECT_EQ(lblWName(*window)->text(), "a");

    // An empty folder: nothing happens.
    clickFolder("T2");
    for (int index = 1; index <= 4; ++index)
        window->commands.mnuNav_Click(index);
    EXPECT_EQ(lblWName(*window)->text(), "No Vardeck selected");
    EXPECT_TRUE(prompts.messages().empty());

    // In the Popular list (B 10, a 9) Previous from the last row reaches the first.
    installFinding(*window);
    operationsOf<FindingOperations>(*window).populatePopList(doc());
    tabIndex(*window)->setTab(3);
    window->commands.mnuNav_Click(4);
    window->commands.mnuNav_Click(2);
    EXPECT_EQ(lblWName(*window)->text(), "B");
}

TEST_F(ExplorerTest, folderTreeSortsOnFirstExpandShowsTheClickedFolderAndRenamesInPlace)
{
    openDatabase();
    ASSERT_EQ(topics()->topLevelItemCount(), 1);
    EXPECT_EQ(root()->text(0), "FOLDERS");
    EXPECT_EQ(childTexts(root()), QStringList({"Apple", "banana", "zebra"}));

    QTreeWidgetItem *zebra = node("T1");
    EXPECT_EQ(childTexts(zebra), QStringList({"Work", "archive", "Music"}));
    zebra->setExpanded(true);
    EXPECT_EQ(childTexts(zebra), QStringList({"archive", "Music", "Work"}));
    // Nothing of the tree is shown before a click.
    EXPECT_EQ(lblTName(*window)->text(), "No folder selected");

    clickFolder("T5");
    EXPECT_EQ(lblTName(*window)->text(), "Apple");
    EXPECT_EQ(tabView(*window)->TabCaption(1), "   Apple   ");
    EXPECT_EQ(StatusBar1(*window)->panelText(2), "\\Apple");

    // Renaming in place saves; an empty name keeps the old one.
    window->aspectPageMade(frmVardecks::FoldersPage);
    FolderTree *tree = &explorer->tree;
    tree->tvwTopics_AfterLabelEdit(node("T5"), "");
    EXPECT_EQ(prompts.lastText(), "The folder must have a name.");
    EXPECT_EQ(prompts.messages().back().icon, MsgIcon::Exclamation);
    EXPECT_EQ(node("T5")->text(0), "Apple");
    EXPECT_EQ(stored("T5").childText("NAME"), "Apple");
    EXPECT_TRUE(window->aspectPageStale(frmVardecks::FoldersPage));
    tree->tvwTopics_AfterLabelEdit(node("T5"), "Pears & plums");
    EXPECT_EQ(stored("T5").childText("NAME"), "Pears & plums");
    EXPECT_EQ(node("T5")->text(0), "Pears & plums");
    EXPECT_EQ(lblTName(*window)->text(), "Pears & plums");
    // Another folder than the one shown keeps the caption.
    tree->tvwTopics_AfterLabelEdit(node("T6"), "cherry");
    EXPECT_EQ(stored("T6").childText("NAME"), "cherry");
    EXPECT_EQ(lblTName(*window)->text(), "Pears & plums");

    clickFolder("T3");
    EXPECT_EQ(StatusBar1(*window)->panelText(2), "\\zebra\\archive");
    EXPECT_EQ(lbl(*window, Lbl::VardeckCount)->text(), "0");

    // The root changes nothing.
    QTest::mouseClick(topics()->viewport(), Qt::LeftButton, {}, topics()->visualItemRect(root()).center());
    EXPECT_EQ(window->currentTID(), "T3");
    // Shown through other code, the root shows no folder.
    explorer->tree.populateWMOnTopicNode();
    EXPECT_EQ(lblTName(*window)->text(), "No folder selected");
    EXPECT_FALSE(window->toolbarButton(Tb::FirstVardeck)->isEnabled());

    // Collapsing a folder above the selection shows that folder.
    clickFolder("T2");
    node("T1")->setExpanded(false);
    EXPECT_EQ(lblTName(*window)->text(), "zebra");
    EXPECT_EQ(tvwWM(*window)->topLevelItemCount(), 2);

    // Collapsing the root empties the Vardeck tree and keeps the caption.
    root()->setExpanded(false);
    EXPECT_EQ(tvwWM(*window)->topLevelItemCount(), 0);
    EXPECT_EQ(window->currentTID(), "T1");
    EXPECT_EQ(lblTName(*window)->text(), "zebra");

    // A folder deleted elsewhere is shown as no folder and the tree rebuilt.
    removeElement("T5");
    clickFolder("T5");
    EXPECT_EQ(lblTName(*window)->text(), "No folder selected");
    EXPECT_EQ(window->currentTID(), "");
    EXPECT_EQ(listVD(*window)->topLevelItemCount(), 0);
    QTest::qWait(20);
    EXPECT_EQ(node("T5"), nullptr);
    EXPECT_EQ(childTexts(root()), QStringList({"cherry", "zebra"}));

    // The Index tab coming forward lists, in an emptied Vardeck tree, the folder the tree
    // has selected when it is not the one shown.
    clickFolder("T1");
    rr::emptyVardeckTree(*window);
    window->showNoFolder();
    window->showIndexTab(IndexTab::Search);
    EXPECT_EQ(tvwWM(*window)->topLevelItemCount(), 0);
    window->showIndexTab(IndexTab::Index);
    EXPECT_EQ(tvwWM(*window)->topLevelItemCount(), 2);
    EXPECT_EQ(window->currentTID(), "T1");
}

TEST_F(ExplorerTest, openCommandsSayWhenNothingIsShownRefuseAnOptionAndRecordTheVisitBeforeTheBrowserStarts)
{
    const VD option{"W4", "Looks like an option", "--help", "06 Dec 2026", "", "", "", "", "", "4", "FALSE"};
    QByteArray body = sampleBody();
    body.replace("<NAME>banana</NAME><VARDECKS>", "<NAME>banana</NAME><VARDECKS>" + option.xml());
    openDatabase(body);
    window->commands.mnuToolsOpen_Click();
    EXPECT_EQ(prompts.lastText(), "A Vardeck must be selected to open in the browser window");
    EXPECT_EQ(prompts.messages().back().icon, MsgIcon::None);
    window->commands.mnuToolsOpenHome_Click();
    EXPECT_EQ(prompts.lastText(), "A Vardeck must be selected to open its homepage in the browser window");
    EXPECT_EQ(prompts.messages().back().icon, MsgIcon::Information);

    // A refused address is no visit.
    const QByteArray before = fileBytes();
    showVardeck("T6", "W4");
    window->commands.mnuToolsOpen_Click();
    EXPECT_TRUE(prompts.lastText().startsWith("The address --help was not opened: "));
    EXPECT_TRUE(launcher.openedUrls().isEmpty());
    EXPECT_EQ(fileBytes(), before);
    EXPECT_EQ(lbl(*window, Lbl::Hits)->text(), "4");
    EXPECT_TRUE(session().recentColl.isEmpty());

    window->commands.mnuToolsOpenBlank_Click();
    EXPECT_EQ(launcher.openedUrls(), QStringList({"about:blank"}));

    // Any other visit is recorded, and saved, before the browser starts.
    setVisitClock([] { return QDateTime(QDate(2026, 12, 5), QTime(19, 30)); });
    SnapshotLauncher disk([this] { return stored("W3").childText("HITS"); });
    showVardeck("T5", "W3");
    window->commands.mnuToolsOpen_Click();
    EXPECT_EQ(disk.opened, QStringList({"https://www.bank.example/login/x 10"})) << "the hits saved before the start";
    EXPECT_EQ(lbl(*window, Lbl::LastVisited)->text(), "05 Dec 2026 07:30 PM");
    EXPECT_EQ(lbl(*window, Lbl::Hits)->text(), "10");
    EXPECT_EQ(row("W3")->text(4), "    10");
    EXPECT_TRUE(window->aspectPageStale(frmVardecks::HitsPage));
    ASSERT_EQ(session().recentColl.size(), 1);
    EXPECT_EQ(window->menuItem(MenuId::second, 0)->text(), "1  Secure bank");
}

TEST_F(ExplorerTest, aVardeckFillsThePanelWithItsFieldsAndPicturesAndNothingOfThePreviousOneStays)
{
    installFinding(*window); // its padlock is the picture of a secure address
    writePicture(home.databaseFolder() + "/icons/Vardecks/W1.ico", Qt::red, {64, 64});
    writePicture(home.databaseFolder() + "/thumbs/Vardecks/W1.gif", Qt::blue, {120, 90});
    openDatabase();
    showVardeck("T1", "W1");
    EXPECT_EQ(lblWName(*window)->text(), "Beta site");
    EXPECT_EQ(lblAddress(*window)->text(), "http://www.beta.example/docs/page.html");
    EXPECT_EQ(lblHome(*window)->text(), "http://www.beta.example/");
    EXPECT_EQ(lblCreatedDate(*window)->text(), "06 Dec 2026");
    EXPECT_EQ(lbl(*window, Lbl::LastVisited)->text(), "01 Dec 2026 10:00 AM");
    EXPECT_EQ(lbl(*window, Lbl::Hits)->text(), "1");
    EXPECT_EQ(lblFileSize(*window)->text(), "12 KB");
    EXPECT_EQ(lblDescription(*window)->text(), "A page");
    EXPECT_EQ(lblKeyWords(*window)->text(), "kw one");
    EXPECT_EQ(txtNotes(*window)->toPlainText(), "Notes\nline 2");
    EXPECT_TRUE(txtNotes(*window)->isReadOnly());
    EXPECT_TRUE(chkFav(*window)->isChecked());
    EXPECT_FALSE(Picture10(*window)->isHidden());
    // The site icon becomes the tab's picture and the thumbnail is shown.
    const QList<QSize> sizes = tabView(*window)->tabBar()->tabIcon(0).availableSizes();
    ASSERT_FALSE(sizes.isEmpty());
    EXPECT_LE(sizes.first().width(), 17);
    EXPECT_EQ(tabView(*window)->tabBar()->tabIcon(0).pixmap(16).toImage().pixelColor(8, 8), QColor(Qt::red));
    EXPECT_EQ(picThumb(*window)->pixmap().size(), QSize(120, 90));
    // Without auto preview the preview pane is blank.
    EXPECT_EQ(wbPreview(*window)->property("rrAddress").toString(), "about:blank");

    // A Vardeck without the optional children shows its own fields only.
    appOptions().setAutoPreview(true);
    clickVardeck("W2");
    EXPECT_EQ(lblWName(*window)->text(), "alpha & co");
    EXPECT_EQ(lbl(*window, Lbl::Hits)->text(), "1");
    EXPECT_EQ(lblFileSize(*window)->text(), "");
    // A file-transfer address has no home page and the ordinary mark.
    EXPECT_EQ(lblHome(*window)->text(), "");
    EXPECT_TRUE(sameImage(tabInfo(*window)->tabBar()->tabIcon(0).pixmap(16), Picture5(*window)->pixmap()));
    EXPECT_FALSE(chkFav(*window)->isChecked());
    EXPECT_TRUE(Picture10(*window)->isHidden());
    // Nothing of the Vardeck shown before stays.
    EXPECT_EQ(lblDescription(*window)->text(), "");
    EXPECT_EQ(lbl(*window, Lbl::LastVisited)->text(), "");
    EXPECT_EQ(txtNotes(*window)->toPlainText(), "");
    EXPECT_EQ(wbPreview(*window)->property("rrAddress").toString(), "ftp://files.example/x");
    EXPECT_TRUE(picThumb(*window)->pixmap().isNull());
    EXPECT_TRUE(sameImage(tabView(*window)->tabBar()->tabIcon(0).pixmap(16), window->plainVardeckPicture()));

    // A Vardeck deleted elsewhere is not shown, and the lists are refilled.
    removeElement("W1");
    clickVardeck("W1");
    EXPECT_EQ(lblWName(*window)->text(), "alpha & co");
    QTest::qWait(20);
    EXPECT_EQ(wmNode("W1"), nullptr);
    EXPECT_EQ(lbl(*window, Lbl::VardeckCount)->text(), "1");

    // A long name is cut on its tab.
    clickFolder("T5");
    doc()->nodeFromID("W3").setChildText("NAME", QString(200, 'n'));
    clickVardeck("W3");
    EXPECT_TRUE(sameImage(tabInfo(*window)->tabBar()->tabIcon(0).pixmap(16), Picture4(*window)->pixmap()));
    EXPECT_EQ(tabView(*window)->TabCaption(0), "    " + QString(20, 'n') + "...    ");
}

TEST_F(ExplorerTest, aLargerFontFitsTheShownNameAndAddressAndThePadlockStaysOutOfTheFavoritesList)
{
    installFinding(*window);
    openDatabase();
    showVardeck("T1", "W1");
    int large = 11;
    applyFontSize(*window, large);
    QCoreApplication::processEvents();
    const QFontMetrics name(lblWName(*window)->font());
    EXPECT_GE(lblWName(*window)->width(), name.horizontalAdvance("Beta site")) << "the heading is not cut short";
    EXPECT_GE(lblWName(*window)->height(), name.height());
    EXPECT_GE(lblAddress(*window)->height(), QFontMetrics(lblAddress(*window)->font()).height()) << "descenders";

    // The Favorites tab's padlock keeps to the row at the pane's foot, whatever the height.
    tabIndex(*window)->setTab(2);
    window->resize(1000, 900);
    QCoreApplication::processEvents();
    const QRect padlock = Picture4(*window)->geometry();
    ASSERT_TRUE(Picture4(*window)->isVisible());
    EXPECT_FALSE(padlock.intersects(tvwFavs(*window)->geometry()));
    EXPECT_FALSE(padlock.intersects(cmdFDelete(*window)->geometry()));
    EXPECT_FALSE(padlock.intersects(lbl(*window, Lbl::FavoritesCount)->geometry()));
    EXPECT_LE(padlock.bottom(), tabIndex(*window)->height());
}

TEST_F(ExplorerTest, linksOpenTheVardeckAndItsHomePageAndCopyCommandsCopyTheStoredTexts)
{
    openDatabase();
    showVardeck("T1", "W1");
    explorer->panel.linkHovered(lblAddress(*window));
    EXPECT_EQ(lblAddress(*window)->toolTip(), "Open Beta site in a new browser window");
    EXPECT_TRUE(lblAddress(*window)->font().underline());
    QTest::mouseClick(lblAddress(*window), Qt::LeftButton);
    EXPECT_FALSE(lblAddress(*window)->font().underline());
    QTest::mouseClick(lblHome(*window), Qt::LeftButton);
    EXPECT_EQ(launcher.openedUrls(),
              QStringList({"http://www.beta.example/docs/page.html", "http://www.beta.example/"}));

    // The clipboard commands copy what is stored, not what is typed.
    txtNotes(*window)->setPlainText("typed, not saved");
    const QString whole = "Name: Beta site\r\n\r\nAddress: http://www.beta.example/docs/page.html\r\n\r\n"
                          "Description: A page\r\n\r\nFile size:12\r\n\r\nNotes: Notes\nline 2\r\n\r\n"
                          "Keywords: kw one\r\n";
    const std::pair<HandlerRef, QString> commands[] = {
        {&Commands::mnuEditClipVD_Click, whole},
        {&Commands::mnuCopyAll2_Click, whole},
        {&Commands::mnuEditClipNotes_Click, "Notes\nline 2"},
        {&Commands::mnuEditClipURL_Click, "http://www.beta.example/docs/page.html"},
        {&Commands::mnuEditClipKeywords_Click, "kw one"},
    };
    for (const auto &[command, text] : commands) {
        (window->commands.*command)();
        EXPECT_EQ(QGuiApplication::clipboard()->text(), text) << (window->commands.*command).name();
    }

    // A field the element lacks copies an empty text.
    clickVardeck("W2");
    window->commands.mnuEditClipDesc_Click();
    EXPECT_EQ(QGuiApplication::clipboard()->text(), "");

    // A right click on the address keeps it for Copy; one on the created date keeps the text before.
    clickVardeck("W1");
    for (QLabel *label : {lblAddress(*window), lblCreatedDate(*window)}) {
        QTest::mouseClick(label, Qt::RightButton);
        EXPECT_EQ(openPopup(), "mnuCopyMenu");
        closePopups();
        window->commands.mnuCopy_Click();
        EXPECT_EQ(QGuiApplication::clipboard()->text(), "http://www.beta.example/docs/page.html");
    }
    QTest::mouseClick(StatusBar1(*window)->panel(2), Qt::RightButton);
    closePopups();
    window->commands.mnuCopy_Click();
    EXPECT_EQ(QGuiApplication::clipboard()->text(), "\\zebra");
}

} // namespace

namespace
{

// The popup menus on screen, by name.
QStringList shownMenus()
{
    QStringList out;
    for (QWidget *widget : QApplication::topLevelWidgets()) {
        if (auto *menu = qobject_cast<QMenu *>(widget); menu && menu->isVisible())
            out << menu->objectName();
    }
    return out;
}

} // namespace

// The status bar's right-click is its own: with a Vardeck shown it opens the copy menu and
// nothing else, and without one nothing at all; the window behind it does not add its menu.
TEST_F(ExplorerTest, aRightClickOnTheStatusBarOpensOneMenuOrNone)
{
    openDatabase();
    clickFolder("T1");
    QTest::mouseClick(StatusBar1(*window)->panel(2), Qt::RightButton);
    EXPECT_EQ(shownMenus(), QStringList()) << "no Vardeck shown";
    closePopups();

    clickVardeck("W1");
    for (int panel : {1, 2, 3}) {
        QTest::mouseClick(StatusBar1(*window)->panel(panel), Qt::RightButton);
        EXPECT_EQ(shownMenus(), QStringList({"mnuCopyMenu"})) << panel;
        closePopups();
    }
    window->commands.mnuCopy_Click();
    EXPECT_EQ(QGuiApplication::clipboard()->text(), "\\zebra");
    // The window's own background still has its menu.
    QTest::mouseClick(formClient(*window), Qt::RightButton, {}, QPoint(2, 2));
    EXPECT_EQ(shownMenus(), QStringList({"mnuNoVD"}));
}

// A pointer resting on a link of the panel gives it the hover look; moving on to the panel
// around it takes the look away again.
TEST_F(ExplorerTest, aLinkUnderThePointerKeepsItsHoverLookUntilThePointerMovesOff)
{
    openDatabase();
    showVardeck("T1", "W1");
    tabInfo(*window)->setTab(0);
    QWindow *screen = window->windowHandle();
    const auto moveOnto = [&](QWidget *widget, QPoint at) {
        QTest::mouseMove(screen, screen->mapFromGlobal(widget->mapToGlobal(at)));
    };
    // A point of widget where nothing else lies over it.
    const auto bare = [&](QWidget *widget) {
        for (int y = 2; y < widget->height(); y += 3)
            for (int x = 2; x < widget->width(); x += 3)
                if (window->childAt(widget->mapTo(window.get(), QPoint(x, y))) == widget)
                    return QPoint(x, y);
        ADD_FAILURE() << "no bare point";
        return QPoint();
    };
    const auto hovered = [](QLabel *link) {
        return link->font().underline() && link->styleSheet().contains("255,68,68");
    };
    const std::pair<QLabel *, QWidget *> links[] = {{lblAddress(*window), Frame2(*window)},
                                                    {lblHome(*window), PictureDetails(*window)}};
    for (const auto &[link, around] : links) {
        SCOPED_TRACE(link->objectName().toStdString());
        moveOnto(link, QPoint(4, link->height() / 2));
        moveOnto(link, QPoint(6, link->height() / 2));
        EXPECT_TRUE(hovered(link));
        // The link's colour is its own: its tool tip keeps the colours of every tool tip.
        QToolTip::showText(link->mapToGlobal(QPoint(6, 6)), link->toolTip(), link);
        QWidget *tip = nullptr;
        for (QWidget *widget : QApplication::topLevelWidgets())
            tip = widget->inherits("QTipLabel") && widget->isVisible() ? widget : tip;
        ASSERT_NE(tip, nullptr);
        tip->ensurePolished();
        EXPECT_EQ(tip->palette().color(QPalette::WindowText), QToolTip::palette().color(QPalette::ToolTipText));
        QToolTip::hideText();
        moveOnto(around, bare(around));
        EXPECT_FALSE(hovered(link));
        EXPECT_FALSE(link->font().underline());
    }
}
