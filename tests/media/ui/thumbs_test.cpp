// Thumbnails and synchronisation against the tests' own server on 127.0.0.1, the page browser offscreen.
#include "explorer/editingfixture.h"
#include "media/ui/frmthumb.h"
#include "media/ui/iconcommands.h"
#include "media/ui/pagebrowser.h"
#include "media/ui/thumbcommands.h"
#include "platform/atomicfile.h"
#include "support/dialogcontrols.h"
#include "support/httpserver.h"
#include "support/windowcontrols.h"

#include <QCloseEvent>
#include <QLabel>
#include <QSignalSpy>
#include <QTcpServer>
#include <QWebEngineView>

namespace rr::test
{
namespace
{

// A page of exactly 12,800 bytes with a title and META description and keywords.
QByteArray describedPage()
{
    QByteArray page = "<html><head><title>Known title</title>"
                      "<meta NAME=\"Description\" content=\"What the page says\">"
                      "<meta name=\"KEYWORDS\" content=\"alpha, beta\"></head><body><p>";
    const QByteArray end = "</p></body></html>";
    page += QByteArray(12800 - page.size() - end.size(), 'x') + end;
    return page;
}

class ThumbsTest : public EditingTest
{
protected:
    HttpServer site{60000};
    ThumbCommands *thumbs = nullptr;
    int savedTimeout = PageBrowser::pageTimeoutMs;

    void SetUp() override
    {
        EditingTest::SetUp();
        thumbs = &installThumbCommands(*window, installIconCommands(*window));
        site.route("/red.html", page("<html><body style=\"margin:0;background:#ff0000\"></body></html>"));
        site.route("/described.html", page(describedPage()));
        site.route("/untitled.html", page("<html><body>No title here</body></html>"));
        site.route("/hang.html", {.hang = true});
        site.route("/loop.html", redirect("/loop.html"));
        const auto vd = [](const char *wid, const char *name, const QString &address, const char *hits = "4") {
            return VD{wid, name, address, "06 Dec 2026", "old description", "old words", "", "", "1", hits, "FALSE"}
                .xml();
        };
        const QByteArray bare = "<VARDECK WID=\"W1\"><NAME>Described</NAME><ADDRESS>" +
                                site.url("/described.html").toUtf8() + "</ADDRESS></VARDECK>";
        openDb("<FOLDERS>" +
               folderXml("T1", "Pages",
                         bare + vd("W2", "Missing", site.url("/missing.html")) +
                             vd("W3", "Hanging", site.url("/hang.html")) + vd("W4", "Paper", site.url("/paper.pdf")) +
                             vd("W5", "Untitled", site.url("/untitled.html"))) +
               folderXml("T2", "Red",
                         vd("W6", "Red page", site.url("/red.html")) + vd("W7", "Moving", site.url("/moves.html"))) +
               folderXml("T3", "Loop", vd("W8", "Looping", site.url("/loop.html"))) + "</FOLDERS>");
    }
    void TearDown() override
    {
        PageBrowser::pageTimeoutMs = savedTimeout;
        if (thumbs->window())
            thumbs->window()->close();
        EditingTest::TearDown();
    }
    frmThumb *thumbWindow() const { return thumbs->window(); }
    // A closed window is deleted by the event loop; tests run outside it.
    bool windowClosed() const
    {
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        return !thumbWindow();
    }
};

} // namespace

TEST_F(ThumbsTest, aThumbnailIsTheViewsPictureAs200By150Gif)
{
    showVardeck("T2", "W6");
    menu(MenuId::mnuThumbVD);
    frmThumb *form = thumbWindow();
    ASSERT_NE(form, nullptr);
    EXPECT_EQ(dialogControl<QLabel>(*form, "lblProg")->text(), "1 of 1");
    ASSERT_TRUE(waitUntil([&] { return form->browser()->lastLoadOk(); }, 30000));
    // The first frames of a page come a moment after it has loaded.
    const auto red = [&] {
        const QColor c = form->browser()->capture().pixelColor(400, 300);
        return c.red() > 200 && c.green() < 50;
    };
    ASSERT_TRUE(waitUntil(red, 10000));
    QTest::mouseClick(dialogControl<qbButtons_H>(*form, "cmdSave"), Qt::LeftButton);
    const QImage thumb(thumbFile("W6"));
    ASSERT_EQ(thumb.size(), QSize(200, 150));
    const QColor middle = thumb.pixelColor(100, 75);
    EXPECT_GT(middle.red(), 230);
    EXPECT_LT(middle.green(), 30);
    EXPECT_LT(middle.blue(), 30);
    EXPECT_TRUE(waitUntil([&] { return windowClosed(); }));

    // The thumbnail in the details panel is a link to the page.
    ASSERT_FALSE(picThumb(*window)->pixmap().isNull());
    QTest::mouseMove(picThumb(*window), QPoint(20, 20));
    EXPECT_EQ(picThumb(*window)->toolTip(), "Open Red page in a new browser window");
    QTest::mouseClick(picThumb(*window), Qt::LeftButton);
    ASSERT_TRUE(waitUntil([&] { return !launcher.openedUrls().isEmpty(); }));
    EXPECT_EQ(launcher.openedUrls().last(), site.url("/red.html"));
    QTest::mousePress(picThumb(*window), Qt::RightButton);
    EXPECT_TRUE(waitUntil([&] { return openPopup() == "mnuCopyMenu"; }));
    closePopups();

    prompts.answer(MsgResult::Yes);
    menu(MenuId::mnuThumbRemove);
    EXPECT_EQ(prompts.lastText(), "Are you sure you wish to remove the thumbnail from Red page?");
    EXPECT_EQ(prompts.messages().back().title, "Remove Vardeck thumbnail?");
    EXPECT_FALSE(QFile::exists(thumbFile("W6")));
    EXPECT_TRUE(picThumb(*window)->pixmap().isNull());
}

TEST_F(ThumbsTest, aPageThatGoesOnToTheEnginesErrorPageIsNoThumbnail)
{
    // A page that loads, then sends the browser to an address where nothing answers.
    QTcpServer closed;
    ASSERT_TRUE(closed.listen(QHostAddress::LocalHost));
    const QString nowhere = QString("http://127.0.0.1:%1/gone.html").arg(closed.serverPort());
    closed.close();
    site.route("/moves.html", page("<html><body style=\"background:#ff0000\" onload=\"setTimeout(function () {"
                                   " location.href = '" +
                                   nowhere.toUtf8() + "'; }, 300)\"></body></html>"));
    showVardeck("T2", "W7");
    menu(MenuId::mnuThumbVD);
    frmThumb *form = thumbWindow();
    ASSERT_NE(form, nullptr);
    QSignalSpy ends(qobject_cast<QWebEngineView *>(form->browser()->view()), &QWebEngineView::loadFinished);
    ASSERT_TRUE(waitUntil([&] { return form->browser()->lastLoadOk(); }, 30000));
    ASSERT_TRUE(waitUntil([&] { return form->browser()->url().toString() == nowhere && ends.size() >= 2; }, 15000));
    EXPECT_FALSE(form->browser()->lastLoadOk());
    QTest::mouseClick(dialogControl<qbButtons_H>(*form, "cmdSave"), Qt::LeftButton);
    EXPECT_FALSE(QFile::exists(thumbFile("W7")));
    ASSERT_TRUE(waitUntil([&] { return prompts.messages().size() == 1; }));
    EXPECT_EQ(prompts.lastText(), "The page did not load: its thumbnail was not saved.");
}

TEST_F(ThumbsTest, aFolderRunSynchronisesGoodPagesAndLeavesFailedOnesAlone)
{
    // The hanging page fails at the time-out; the good ones, the first of which starts
    // the browser, have it all to load even on a loaded machine.
    PageBrowser::pageTimeoutMs = 6000;
    showVardeck("T1", "W1");
    menu(MenuId::mnuToolsSynchFolder);
    frmThumb *form = thumbWindow();
    ASSERT_NE(form, nullptr);
    EXPECT_EQ(form->windowTitle(), "Synchronizing Vardecks with website");
    EXPECT_FALSE(window->isEnabled());
    ASSERT_TRUE(waitUntil([&] { return dialogControl<QLabel>(*form, "Label1")->text() == "Done"; }, 45000));
    EXPECT_EQ(dialogControl<qbButtons_H>(*form, "cmdContinue")->Caption(), "OK");
    EXPECT_FALSE(dialogControl<qbButtons_H>(*form, "cmdCancel")->isEnabled());
    EXPECT_EQ(form->synchronised(), 2);
    EXPECT_EQ(form->skipped(), 2);
    EXPECT_TRUE(window->isEnabled());
    EXPECT_EQ(site.hits("/paper.pdf"), 0) << "PDF addresses are never requested";

    EXPECT_EQ(stored("W1").childText("NAME"), "Known title");
    EXPECT_EQ(stored("W2").childText("NAME"), "Missing");
    // A page without title and META keeps the Vardeck's own.
    EXPECT_EQ(stored("W5").childText("NAME"), "Untitled");
    EXPECT_EQ(stored("W5").childText("DESCRIPTION"), "old description");
    EXPECT_EQ(stored("W5").childText("KEYWORD1"), "old words");
    EXPECT_EQ(lblWName(*window)->text(), "Known title") << "the shown Vardeck is shown again, as it is now";
    // OK has the keyboard, shows it, and Enter presses it.
    ASSERT_EQ(form->focusWidget(), dialogControl<qbButtons_H>(*form, "cmdContinue"));
    EXPECT_TRUE(dialogControl<qbButtons_H>(*form, "cmdContinue")->defaultLook());
    QTest::keyClick(dialogControl<qbButtons_H>(*form, "cmdContinue"), Qt::Key_Return);
    EXPECT_TRUE(waitUntil([&] { return windowClosed(); }));
}

TEST_F(ThumbsTest, cancelKeepsAndSavesWhatWasSynchronised)
{
    PageBrowser::pageTimeoutMs = 20000;
    clickFolder("T1");
    menu(MenuId::mnuToolsSynchFolder);
    frmThumb *form = thumbWindow();
    ASSERT_NE(form, nullptr);
    ASSERT_TRUE(waitUntil([&] { return dialogControl<QLabel>(*form, "lblName")->text() == "Hanging"; }, 45000));
    QTest::mouseClick(dialogControl<qbButtons_H>(*form, "cmdCancel"), Qt::LeftButton);
    EXPECT_TRUE(waitUntil([&] { return windowClosed(); }));
    EXPECT_TRUE(window->isEnabled());
    EXPECT_EQ(stored("W1").childText("NAME"), "Known title") << "saved at the cancel";
    EXPECT_EQ(stored("W5").childText("NAME"), "Untitled");
}

// The close box reaches the main window during a run (no window blocks it), and says why
// the window stays; once the run has ended it closes the window.
TEST_F(ThumbsTest, theCloseBoxDuringASynchronisationSaysWhyTheWindowStaysOpen)
{
    PageBrowser::pageTimeoutMs = 20000;
    clickFolder("T1");
    menu(MenuId::mnuToolsSynchFolder);
    frmThumb *form = thumbWindow();
    ASSERT_NE(form, nullptr);
    ASSERT_TRUE(waitUntil([&] { return dialogControl<QLabel>(*form, "lblName")->text() == "Hanging"; }, 45000));
    EXPECT_EQ(QGuiApplication::modalWindow(), nullptr);
    ASSERT_NE(window->windowHandle(), nullptr);
    prompts.clear();
    QCloseEvent closeBox;
    QApplication::sendEvent(window->windowHandle(), &closeBox);
    EXPECT_FALSE(closeBox.isAccepted());
    EXPECT_TRUE(window->isVisible());
    ASSERT_TRUE(waitUntil([&] { return prompts.messages().size() == 1; }));
    EXPECT_EQ(prompts.lastText(), "Vardecks are being synchronized with their websites, so the window stays open until "
                                  "the synchronization ends.  Press Cancel in the synchronization window to stop it "
                                  "now; what was synchronized so far is saved.");
    EXPECT_FALSE(form->stopped()) << "the run goes on";

    QTest::mouseClick(dialogControl<qbButtons_H>(*form, "cmdCancel"), Qt::LeftButton);
    ASSERT_TRUE(waitUntil([&] { return windowClosed(); }));
    QCloseEvent afterRun;
    QApplication::sendEvent(window->windowHandle(), &afterRun);
    EXPECT_TRUE(afterRun.isAccepted());
    EXPECT_EQ(prompts.messages().size(), 1u);
}

TEST_F(ThumbsTest, escCancelsARunAndClosesTheWindowOnceTheRunHasEnded)
{
    PageBrowser::pageTimeoutMs = 20000;
    showVardeck("T1", "W3"); // a page that never ends loading
    tvwWM(*window)->setFocus();
    menu(MenuId::mnuThumbVD);
    ASSERT_NE(thumbWindow(), nullptr);
    bool stoppedAtClose = false;
    QObject::connect(thumbWindow(), &frmThumb::closed, [&, form = thumbWindow()] { stoppedAtClose = form->stopped(); });
    QApplication::setActiveWindow(thumbWindow());
    QTest::keyClick(thumbWindow(), Qt::Key_Escape);
    EXPECT_TRUE(waitUntil([&] { return windowClosed(); }));
    EXPECT_TRUE(stoppedAtClose);
    EXPECT_TRUE(window->isEnabled());
    // The keyboard is back on the list the window was opened from.
    QApplication::setActiveWindow(window.get());
    EXPECT_TRUE(waitUntil([&] { return QApplication::focusWidget() == tvwWM(*window); }))
        << (QApplication::focusWidget() ? QApplication::focusWidget()->objectName().toStdString() : "no focus");

    clickFolder("T2");
    tvwTopics(*window)->setFocus();
    menu(MenuId::mnuToolsSynchFolder);
    frmThumb *form = thumbWindow();
    ASSERT_NE(form, nullptr);
    ASSERT_TRUE(waitUntil([&] { return dialogControl<QLabel>(*form, "Label1")->text() == "Done"; }, 45000));
    QApplication::setActiveWindow(form);
    QTest::keyClick(dialogControl<qbButtons_H>(*form, "cmdContinue"), Qt::Key_Escape);
    EXPECT_TRUE(waitUntil([&] { return windowClosed(); }));
    EXPECT_TRUE(window->isEnabled());
    // A synchronisation disables the main window while it runs; its end re-enables it
    // with the keyboard on the folder tree again.
    QApplication::setActiveWindow(window.get());
    EXPECT_TRUE(waitUntil([&] { return QApplication::focusWidget() == tvwTopics(*window); }))
        << (QApplication::focusWidget() ? QApplication::focusWidget()->objectName().toStdString() : "no focus");
}

TEST_F(ThumbsTest, synchronisingTheShownVardeckFillsTheEditBoxes)
{
    showVardeck("T1", "W1");
    menu(MenuId::mnuToolsSynch);
    ASSERT_NE(thumbWindow(), nullptr);
    ASSERT_TRUE(waitUntil([&] { return windowClosed(); }, 30000));
    EXPECT_EQ(window->editState(), EditState::Modifying);
    EXPECT_EQ(txtWName(*window)->text(), "Known title");
    EXPECT_EQ(txtDescription(*window)->toPlainText(), "What the page says");
    EXPECT_EQ(txtKeywords(*window)->toPlainText(), "alpha, beta");
    EXPECT_EQ(lblFileSize(*window)->text(), "12.5 KB");
    // Save stores the size the page gave and the visit the synchronisation counted.
    window->commands.saveVardeckDetails();
    EXPECT_EQ(window->editState(), EditState::Viewing);
    EXPECT_EQ(stored("W1").childText("FILESIZE"), "12.5");
    EXPECT_EQ(stored("W1").childText("HITS"), "2");
    EXPECT_EQ(stored("W1").childText("NAME"), "Known title");

    // A page without title and META leaves the boxes as they were.
    showVardeck("T1", "W5");
    menu(MenuId::mnuToolsSynch);
    ASSERT_TRUE(waitUntil([&] { return windowClosed(); }, 30000));
    EXPECT_EQ(window->editState(), EditState::Modifying);
    EXPECT_EQ(txtWName(*window)->text(), "Untitled");
    EXPECT_EQ(txtDescription(*window)->toPlainText(), "old description");
    EXPECT_EQ(txtKeywords(*window)->toPlainText(), "old words");

    // A page that fails changes nothing and says so.
    window->commands.cancelVardeckEdit();
    showVardeck("T1", "W2");
    menu(MenuId::mnuToolsSynch);
    ASSERT_TRUE(waitUntil([&] { return windowClosed(); }, 30000));
    EXPECT_TRUE(prompts.lastText().startsWith("Missing could not be synchronized: ") &&
                prompts.lastText().endsWith("  The Vardeck was not changed."))
        << prompts.lastText().toStdString();
    EXPECT_EQ(window->editState(), EditState::Viewing);
    EXPECT_EQ(stored("W2").childText("NAME"), "Missing");

    // The browser engine's own errors are said in plain words too.
    showVardeck("T3", "W8");
    menu(MenuId::mnuToolsSynch);
    ASSERT_TRUE(waitUntil([&] { return windowClosed(); }, 30000));
    EXPECT_EQ(prompts.lastText(), "Looping could not be synchronized: The page redirects in a loop and never arrives "
                                  "at a page.  The Vardeck was not changed.");
}

TEST_F(ThumbsTest, aFolderRunAsksBeforeWritingOverAFileAnotherProgramChanged)
{
    const QByteArray body = "<FOLDERS>" +
                            folderXml("T1", "Pages",
                                      "<VARDECK WID=\"W1\"><NAME>Described</NAME><ADDRESS>" +
                                          site.url("/described.html").toUtf8() + "</ADDRESS></VARDECK>") +
                            "</FOLDERS>";
    for (const MsgResult answer : {MsgResult::No, MsgResult::Yes}) {
        SCOPED_TRACE(answer == MsgResult::Yes ? "Yes" : "No");
        openDb(body);
        clickFolder("T1");
        ASSERT_TRUE(writeFileAtomically(path, fileBytes() + "<!-- theirs -->"));
        const QByteArray theirs = fileBytes();
        prompts.clear();
        prompts.answer(answer);
        menu(MenuId::mnuToolsSynchFolder);
        frmThumb *form = thumbWindow();
        ASSERT_NE(form, nullptr);
        ASSERT_TRUE(waitUntil([&] { return dialogControl<QLabel>(*form, "Label1")->text() == "Done"; }, 45000));
        EXPECT_EQ(prompts.texts(),
                  QStringList{"The Vardecks database file " + path +
                              " was changed by another program after it was read.\n\nReplace it with the database "
                              "as it is here?  No keeps the file as it is on disk, and the change here until the next "
                              "save."});
        EXPECT_EQ(doc()->nodeFromID("W1").childText("NAME"), "Known title");
        if (answer == MsgResult::Yes) {
            EXPECT_EQ(stored("W1").childText("NAME"), "Known title");
        } else {
            EXPECT_EQ(fileBytes(), theirs);
            EXPECT_TRUE(window->dbXML->hasUnsavedChanges());
        }
        form->close();
        EXPECT_TRUE(waitUntil([&] { return windowClosed(); }));
    }
}

} // namespace rr::test
