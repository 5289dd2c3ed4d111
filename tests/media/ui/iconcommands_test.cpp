// The main window's icon commands against the tests' own server on 127.0.0.1.
#include "explorer/editingfixture.h"
#include "finding/favorites.h"
#include "media/picturebytes.h"
#include "media/ui/frmiconprogress.h"
#include "media/ui/iconcommands.h"
#include "platform/gui/partoperations.h"
#include "platform/net/connection.h"
#include "shell/findingoperations.h"
#include "storage/session.h"
#include "support/dialogcontrols.h"
#include "support/httpserver.h"
#include "support/windowcontrols.h"

#include <QPointer>
#include <QWindow>

namespace rr::test
{
namespace
{

class IconCommandsTest : public EditingTest
{
protected:
    HttpServer siteA{30000};
    HttpServer siteB{30000};
    IconCommands *icons = nullptr;
    const QByteArray green = pictureBytes(Qt::green);
    const QByteArray blue = pictureBytes(Qt::blue);

    void SetUp() override
    {
        EditingTest::SetUp();
        icons = &installIconCommands(*window);
        forceOffline(false);
        siteA.route("/a1.html", page("<html><head><link rel=\"shortcut icon\" href=\"/ia.ico\"></head></html>", 150));
        siteA.route("/a2.html", page("<html><head><title>No link</title></head></html>", 150));
        siteA.route("/ia.ico", picture(green));
        siteA.route("/favicon.ico", picture(blue));
        siteB.route("/b.html", page("<html><head><link rel=\"icon\" href=\"/gone.ico\"></head></html>"));
        const auto vd = [](const char *wid, const char *name, const QString &address) {
            return VD{wid, name, address, "06 Dec 2026", "", "", "", "", "", "1", "FALSE"}.xml();
        };
        openDb("<FOLDERS>" +
               folderXml("T1", "Sites",
                         vd("W1", "Site A one", siteA.url("/a1.html")) + vd("W2", "Site A two", siteA.url("/a2.html")) +
                             vd("W3", "Site B", siteB.url("/b.html")) + vd("W4", "Files", "ftp://files.example/x")) +
               folderXml("T2", "Other", vd("W5", "Other", siteA.url("/a2.html"))) + "</FOLDERS>");
    }
    void TearDown() override
    {
        forceOffline(false);
        EditingTest::TearDown();
    }
    static QIcon fresh(const QString &file) { return QIcon(QPixmap::fromImage(QImage(file))); }
    bool runEnded() const { return !icons->currentRun(); }
    QIcon listIcon(const QString &wid) const { return row(wid) ? row(wid)->icon(0) : QIcon(); }
    static bool sameIcon(const QIcon &a, const QIcon &b) { return sameImage(a.pixmap(16, 16), b.pixmap(16, 16)); }
};

} // namespace

TEST_F(IconCommandsTest, aFolderRunCountsFilesAndShowsItsIconsInTheLists)
{
    clickFolder("T1");
    menu(MenuId::mnuToolsIconFolder);
    frmIconProgress *progress = icons->progressWindow();
    ASSERT_NE(progress, nullptr);
    EXPECT_EQ(progress->windowTitle(), "Icon loading...");
    EXPECT_FALSE(window->isEnabled()) << "the main window waits for the run";
    EXPECT_TRUE(waitUntil([&] { return !dialogControl<QLabel>(*progress, "lblAddress")->text().isEmpty(); }));
    EXPECT_TRUE(progress->isEnabled()) << "the Cancel button stays usable";
    ASSERT_NE(progress->windowHandle(), nullptr);
    EXPECT_EQ(progress->windowHandle()->transientParent(), window->windowHandle())
        << "kept above the main window by the window manager";

    ASSERT_TRUE(waitUntil([&] { return runEnded(); }, 15000));
    EXPECT_EQ(progress->windowTitle(), "Icons loaded: 2");
    EXPECT_EQ(dialogControl<QLabel>(*progress, "lblName")->text(), "Task completed");
    EXPECT_TRUE(window->isEnabled());

    EXPECT_EQ(test::readBytes(iconFile("W1")), green);
    EXPECT_FALSE(QFile::exists(iconFile("W5"))) << "another folder's Vardeck";

    // The list shows each filed icon; the others keep the stock picture.
    EXPECT_TRUE(sameIcon(listIcon("W1"), fresh(iconFile("W1"))));
    EXPECT_TRUE(sameIcon(listIcon("W3"), window->vardeckPictures().picture("Vardeck")));

    // A second run replaces the files and rebuilds the image list for the known keys.
    const QByteArray yellow = pictureBytes(Qt::yellow);
    siteA.route("/ia.ico", picture(yellow));
    menu(MenuId::mnuToolsIconFolder);
    ASSERT_TRUE(waitUntil([&] { return runEnded(); }, 15000));
    EXPECT_EQ(test::readBytes(iconFile("W1")), yellow);
    EXPECT_TRUE(sameIcon(listIcon("W1"), fresh(iconFile("W1"))));
    dialogControl<qbButtons_H>(*icons->progressWindow(), "Command1")->click();
}

TEST_F(IconCommandsTest, theWindowNamesTheVardeckTheRunWaitsOn)
{
    // Site A's first page is the slowest: the others start, and end, while it loads.
    siteA.route("/a1.html", page("<html><head><link rel=\"shortcut icon\" href=\"/ia.ico\"></head></html>", 1500));
    clickFolder("T1");
    menu(MenuId::mnuToolsIconFolder);
    frmIconProgress *progress = icons->progressWindow();
    ASSERT_NE(progress, nullptr);
    ASSERT_TRUE(waitUntil([&] { return dialogControl<QLabel>(*progress, "lblRemaining")->text() == "2"; }, 10000))
        << "the second page of site A and the address that is no web address are done";
    EXPECT_EQ(dialogControl<QLabel>(*progress, "lblName")->text(), "Site A one");
    EXPECT_EQ(dialogControl<QLabel>(*progress, "lblAddress")->text(), siteA.url("/"));
    ASSERT_TRUE(waitUntil([&] { return runEnded(); }, 15000));
    dialogControl<qbButtons_H>(*icons->progressWindow(), "Command1")->click();
}

TEST_F(IconCommandsTest, offlineAsksNoChangesNothingAndCancelAbortsTheFetchesSoTheNextCommandWorksAtOnce)
{
    forceOffline(true);
    prompts.answer(MsgResult::No);
    menu(MenuId::mnuToolsIconAll);
    ASSERT_EQ(prompts.messages().size(), 1u);
    EXPECT_EQ(prompts.lastText(), "Razuzezu Revidod has detected that you are not connected to the internet to load "
                                  "icons.  Do you wish to continue?");
    EXPECT_EQ(prompts.messages().back().title, "Internet connection?");
    EXPECT_EQ(icons->progressWindow(), nullptr);
    QTest::qWait(50);
    EXPECT_EQ(siteA.totalHits() + siteB.totalHits(), 0);

    // Yes goes on as if online; Cancel aborts the pages that never answer.
    siteA.route("/a1.html", {.hang = true});
    siteA.route("/a2.html", {.hang = true});
    prompts.answer(MsgResult::Yes);
    menu(MenuId::mnuToolsIconAll);
    frmIconProgress *progress = icons->progressWindow();
    ASSERT_NE(progress, nullptr);
    ASSERT_TRUE(waitUntil([&] { return siteA.totalHits() >= 1; }));
    QTest::mouseClick(dialogControl<qbButtons_H>(*progress, "Command1"), Qt::LeftButton);
    EXPECT_TRUE(session().cancelIcons);
    EXPECT_TRUE(window->isEnabled()) << "the button gives the main window back at once";
    EXPECT_EQ(icons->net().inFlight(), 0);
    ASSERT_TRUE(waitUntil([&] { return runEnded(); }, 1000));
    EXPECT_EQ(icons->progressWindow(), nullptr) << "the window closed";

    // The next command starts at once, also right after the click.
    const int asked = siteA.totalHits();
    prompts.answer(MsgResult::Yes);
    menu(MenuId::mnuToolsIconAll);
    QTest::mouseClick(dialogControl<qbButtons_H>(*icons->progressWindow(), "Command1"), Qt::LeftButton);
    prompts.answer(MsgResult::Yes);
    menu(MenuId::mnuToolsIconAll);
    ASSERT_NE(icons->progressWindow(), nullptr);
    ASSERT_TRUE(waitUntil([&] { return siteA.totalHits() > asked; }));
    EXPECT_FALSE(window->isEnabled()) << "a new run keeps the main window for itself";
    QTest::mouseClick(dialogControl<qbButtons_H>(*icons->progressWindow(), "Command1"), Qt::LeftButton);
    ASSERT_TRUE(waitUntil([&] { return runEnded() && window->isEnabled(); }, 1000));

    // A single fetch cancelled ends at once too; the next one finds the icon.
    forceOffline(false);
    showVardeck("T1", "W1");
    menu(MenuId::mnuToolsIconVD);
    ASSERT_NE(icons->progressWindow(), nullptr);
    QTest::mouseClick(dialogControl<qbButtons_H>(*icons->progressWindow(), "Command1"), Qt::LeftButton);
    EXPECT_EQ(icons->net().inFlight(), 0);
    ASSERT_TRUE(waitUntil([&] { return window->isEnabled(); }, 1000));
    siteA.route("/a1.html", page("<html><head><link rel=\"shortcut icon\" href=\"/ia.ico\"></head></html>"));
    menu(MenuId::mnuToolsIconVD);
    ASSERT_TRUE(waitUntil(
        [&] { return dialogControl<QLabel>(*icons->progressWindow(), "lblName")->text() == "Task completed"; }, 10000));
    EXPECT_EQ(icons->progressWindow()->windowTitle(), "Icons loaded: 1");
    EXPECT_EQ(test::readBytes(iconFile("W1")), green);
    dialogControl<qbButtons_H>(*icons->progressWindow(), "Command1")->click();
}

TEST_F(IconCommandsTest, escPressesTheIconWindowsButtonCancellingARunOrClosingTheEndedOne)
{
    siteA.route("/a1.html", page("<html></html>", 400));
    clickFolder("T1");
    menu(MenuId::mnuToolsIconFolder);
    QPointer<frmIconProgress> progress = icons->progressWindow();
    ASSERT_NE(progress, nullptr);
    ASSERT_TRUE(waitUntil([&] { return siteA.totalHits() >= 1; }));
    QApplication::setActiveWindow(progress);
    QTest::keyClick(progress, Qt::Key_Escape);
    EXPECT_TRUE(session().cancelIcons);
    EXPECT_TRUE(window->isEnabled());
    ASSERT_TRUE(waitUntil([&] { return runEnded() && progress.isNull(); }, 15000));

    menu(MenuId::mnuToolsIconFolder);
    progress = icons->progressWindow();
    ASSERT_NE(progress, nullptr);
    ASSERT_TRUE(waitUntil([&] { return runEnded(); }, 15000));
    ASSERT_TRUE(progress->windowTitle().startsWith("Icons loaded: "));
    QApplication::setActiveWindow(progress);
    QTest::keyClick(dialogControl<qbButtons_H>(*progress, "Command1"), Qt::Key_Escape);
    EXPECT_TRUE(waitUntil([&] { return progress.isNull(); }));
}

TEST_F(IconCommandsTest, theShownVardecksIconIsFetchedChosenAndRemoved)
{
    clickFolder("T1");
    ASSERT_FALSE(window->vardeckShown());
    window->commands.mnuToolsIconFile_Click();
    EXPECT_TRUE(prompts.fileRequests().empty());
    EXPECT_EQ(prompts.lastText(), "No Vardeck is shown.  Select the Vardeck whose icon you wish to choose first.");
    window->commands.mnuToolsIconRemove_Click();
    EXPECT_EQ(prompts.messages().size(), 2u);
    EXPECT_TRUE(QDir(home.databaseFolder() + "icons/Vardecks").entryList({"txt*"}).isEmpty());

    showVardeck("T1", "W4");
    menu(MenuId::mnuToolsIconVD);
    EXPECT_EQ(prompts.lastText(), "This web address is not suitable for finding an icon.");
    EXPECT_EQ(icons->progressWindow(), nullptr);

    showVardeck("T1", "W1");
    menu(MenuId::mnuToolsIconVD);
    ASSERT_NE(icons->progressWindow(), nullptr);
    ASSERT_TRUE(waitUntil(
        [&] { return dialogControl<QLabel>(*icons->progressWindow(), "lblName")->text() == "Task completed"; }, 15000));
    EXPECT_EQ(icons->progressWindow()->windowTitle(), "Icons loaded: 1");
    EXPECT_EQ(test::readBytes(iconFile("W1")), green);
    EXPECT_TRUE(sameImage(imgIcon(*window)->pixmap(), QPixmap::fromImage(QImage(iconFile("W1")))));
    dialogControl<qbButtons_H>(*icons->progressWindow(), "Command1")->click();

    // A picture file of the user's choice, stored as it is; a file that is no picture.
    const QString bmp = home.path() + "/mine.bmp";
    EXPECT_TRUE(test::writeBytes(bmp, pictureBytes(Qt::red, "BMP")));
    prompts.answerFile(bmp);
    menu(MenuId::mnuToolsIconFile);
    const FileRequest &asked = prompts.fileRequests().back();
    EXPECT_EQ(asked.title, "Open image file for Vardeck icon");
    EXPECT_EQ(asked.filters,
              QStringList({"Icon Files (*.ico)", "Gif Files (*.gif)", "JPEG Files (*.jpg)", "Bitmap files (*.bmp)"}));
    EXPECT_EQ(test::readBytes(iconFile("W1")), test::readBytes(bmp));
    EXPECT_TRUE(sameIcon(listIcon("W1"), fresh(bmp)));

    const QString text = home.path() + "/notes.ico";
    EXPECT_TRUE(test::writeBytes(text, "just words"));
    prompts.answerFile(text);
    menu(MenuId::mnuToolsIconFile);
    EXPECT_EQ(prompts.lastText(), "Invalid picture selected...");
    EXPECT_EQ(test::readBytes(iconFile("W1")), test::readBytes(bmp)) << "the icon stays as it was";

    prompts.answer(MsgResult::No);
    menu(MenuId::mnuToolsIconRemove);
    EXPECT_EQ(prompts.lastText(), "Are you sure you wish to remove the icon from Site A one?");
    EXPECT_EQ(prompts.messages().back().title, "Remove Vardeck icon?");
    EXPECT_TRUE(QFile::exists(iconFile("W1")));
    // Removed: every view showing the Vardeck shows the stock picture at once.
    setFavoriteMark(doc()->nodeFromID("W1"), true);
    tabIndex(*window)->setTab(2);
    operationsOf<FindingOperations>(*window).populateFavsList(doc());
    ASSERT_NE(tagged(tvwFavs(*window), "W1"), nullptr);
    ASSERT_TRUE(sameIcon(wmNode("W1")->icon(0), fresh(bmp)));
    ASSERT_TRUE(sameIcon(tagged(tvwFavs(*window), "W1")->icon(0), fresh(bmp)));
    prompts.answer(MsgResult::Yes);
    menu(MenuId::mnuToolsIconRemove);
    EXPECT_FALSE(QFile::exists(iconFile("W1")));
    const QIcon stock = window->vardeckPictures().picture("Vardeck");
    EXPECT_TRUE(sameIcon(listIcon("W1"), stock));
    EXPECT_TRUE(sameIcon(wmNode("W1")->icon(0), stock)) << "the folder's Vardeck tree";
    EXPECT_TRUE(sameIcon(tagged(tvwFavs(*window), "W1")->icon(0), stock)) << "the favourites";
}

TEST_F(IconCommandsTest, thePageBeingAddedGetsItsIconUnlessTheEditEnds)
{
    clickFolder("T2");
    DetectedPage added;
    added.address = siteA.url("/a1.html");
    added.name = "Added page";
    window->commands.addVardeckSetup(added);
    const QString download = home.databaseFolder() + "icons/Vardecks/favicon.ico";
    ASSERT_TRUE(waitUntil([&] { return window->iconChanged(); }, 15000));
    EXPECT_EQ(test::readBytes(download), green);
    save();
    const QString wid = window->currentWID();
    EXPECT_EQ(test::readBytes(iconFile(wid)), green);
    EXPECT_FALSE(QFile::exists(download));

    // Cancelled before the icon arrives: the late icon is dropped.
    window->commands.addVardeckSetup(added);
    prompts.answer(MsgResult::Yes);
    window->commands.cancelVardeckEdit();
    QTest::qWait(400);
    EXPECT_FALSE(QFile::exists(download));
    EXPECT_FALSE(window->iconChanged());

    // A download left from anything else is no new Vardeck's icon, and goes.
    ASSERT_TRUE(test::writeBytes(download, blue));
    window->commands.addVardeckSetup(std::nullopt);
    txtWName(*window)->setText("A file");
    txtAddress(*window)->setText("file:///tmp/page.html");
    save();
    ASSERT_NE(window->currentWID(), wid);
    EXPECT_FALSE(QFile::exists(iconFile(window->currentWID())));
    EXPECT_FALSE(QFile::exists(download));
    EXPECT_FALSE(window->vardeckPictures().has(window->currentWID()));
}

} // namespace rr::test
