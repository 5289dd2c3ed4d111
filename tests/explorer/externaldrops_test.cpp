// Pages dropped on the Explorer from outside: what a drop gives, the page open in a browser it is
// matched to, and the new Vardeck it starts.
#include "popupsfixture.h"

#include "explorer/externaldrops.h"
#include "platform/gui/itemtags.h"
#include "support/windowcontrols.h"
#include "support/xmlids.h"

#include <QMimeData>
#include <QUrl>

using namespace rr;
using namespace rr::test;

namespace
{

TEST(ExternalPages, aDropGivesFilesBeforeTextAndIsMatchedToAnOpenPageByAddressOrLocalFile)
{
    DetectedPage open;
    open.address = "http://www.news.example/Today";
    open.name = "Today's news";
    open.size = "12";
    open.browser = "Firefox";
    DetectedPage local;
    local.address = "file:///home/ann/Saved%20page.html";
    local.name = "Saved";

    const DetectedPage byAddress = findDetectedPage({local, open}, "  HTTP://www.news.example/today ", "");
    EXPECT_EQ(byAddress.name, "Today's news");
    EXPECT_EQ(byAddress.size, "12");
    EXPECT_EQ(byAddress.browser, "Firefox");
    EXPECT_EQ(findDetectedPage({local, open}, "/home/ann/Saved page.html", "file").name, "Saved");

    const DetectedPage unknown = findDetectedPage({open}, "https://elsewhere.example/", "");
    EXPECT_EQ(unknown.name, "https://elsewhere.example/");
    EXPECT_EQ(unknown.address, "https://elsewhere.example/");
    EXPECT_TRUE(unknown.size.isEmpty() && unknown.browser.isEmpty());

    // Of a drop, local files come before the text a file window also offers.
    QMimeData files;
    files.setUrls({QUrl::fromLocalFile("/tmp/first page.html"), QUrl::fromLocalFile("/tmp/second.html")});
    files.setText("file:///tmp/first%20page.html");
    EXPECT_EQ(droppedPage(&files).kind, DroppedPage::Kind::File);
    EXPECT_EQ(droppedPage(&files).text, "/tmp/first page.html");

    QMimeData link;
    link.setUrls({QUrl("https://www.example.com/a?b=1")});
    EXPECT_EQ(droppedPage(&link).kind, DroppedPage::Kind::Address);
    EXPECT_EQ(droppedPage(&link).text, "https://www.example.com/a?b=1");

    QMimeData text;
    text.setText("\r\n  www.example.com/x  \r\nsecond line");
    EXPECT_EQ(droppedPage(&text).text, "www.example.com/x");
    EXPECT_EQ(droppedPage(nullptr).kind, DroppedPage::Kind::None);
}

TEST_F(PopupsTest, aDroppedWebAddressStartsANewVardeckAsPlainTextAndOtherTextStartsNothing)
{
    open();
    clickFolder("T4");
    // Neither a web address nor a file: refused, nothing changes.
    for (const char *text : {"hello world", "ftp://files.example/", "javascript:alert(1)"}) {
        EXPECT_FALSE(dropOn(formClient(*window), textData(text).get(), formClient(*window)->rect().center())) << text;
        EXPECT_EQ(window->editState(), EditState::Viewing);
    }
    // The list takes drops as the panel does; the address, markup and all, names the new Vardeck.
    const QString markup = "http://x.example/?q=<b>bold</b>&amp;<img src=x>";
    QWidget *list = listVD(*window)->viewport();
    EXPECT_TRUE(dropOn(list, textData(markup).get(), list->rect().center()));
    EXPECT_EQ(window->editState(), EditState::Adding);
    EXPECT_EQ(txtWName(*window)->text(), markup);
    EXPECT_EQ(txtAddress(*window)->text(), markup);
    EXPECT_EQ(txtDescription(*window)->toPlainText(), "");
    EXPECT_TRUE(launcher.starts().empty() && launcher.openedUrls().isEmpty());
}

// The search results are the finding panes' list: the popup's rows and a drop there reach them
// through the panes, and do what they do on the folder's list.
TEST_F(PopupsTest, theSearchResultsPopupDeletesTheSelectedRowsAndADropThereStartsANewVardeck)
{
    open();
    tabIndex(*window)->setTab(1);
    cmbSearch(*window)->setEditText("example");
    QTest::mouseClick(cmdSearch(*window), Qt::LeftButton);
    tabView(*window)->setTab(2);
    QTreeWidget *results = lstSearch(*window);
    ASSERT_EQ(results->topLevelItemCount(), 5);
    results->clearSelection();
    for (const char *wid : {"W3", "W1"})
        findByTag(results, wid)->setSelected(true);
    QTest::mouseClick(results->viewport(), Qt::RightButton, {}, shownAt(results, findByTag(results, "W1")));
    EXPECT_EQ(window->popup.popupList(), EntryList::SearchResults);
    ASSERT_TRUE(window->subMenu(MenuId::mnuListVDMulti)->isVisible());
    window->subMenu(MenuId::mnuListVDMulti)->hide();
    prompts.answer(MsgResult::Yes);
    window->menuItem(MenuId::mnuMulti, 3)->trigger();
    EXPECT_EQ(childIdsOnDisk(path, "T1", "VARDECKS"), QStringList({"W2", "W4"}));
    EXPECT_EQ(findByTag(results, "W1"), nullptr);
    EXPECT_EQ(findByTag(lstSrch(*window), "W3"), nullptr);

    QWidget *list = results->viewport();
    EXPECT_FALSE(dropOn(list, textData("hello world").get(), list->rect().center()));
    EXPECT_TRUE(dropOn(list, textData("http://drop.example/").get(), list->rect().center()));
    EXPECT_EQ(window->editState(), EditState::Adding);
    EXPECT_EQ(txtAddress(*window)->text(), "http://drop.example/");
}

// A link dragged from another program as the platform hands it over: the bytes the program offered (a QMimeData
// filled here would keep a text/uri-list as QUrl values and give the addresses back decoded).
struct DraggedIn final : QMimeData {
    explicit DraggedIn(const QByteArray &uriList) : uris(uriList) {}
    QStringList formats() const override { return {"text/uri-list"}; }
    QVariant retrieveData(const QString &, QMetaType) const override { return uris; }
    QByteArray uris;
};

TEST_F(PopupsTest, aDroppedLinkKeepsItsAddressAsTheBrowserWroteItAndTakesTheTitleOfThePageOpenThere)
{
    open();
    clickFolder("T4");
    // As Chromium 156 lists the page and Firefox ESR 153 keeps it: the escapes as written.
    DetectedPage page;
    page.address = "http://127.0.0.1:8791/caf%C3%A9%20x.html?q=%7E1";
    page.name = "Caf\u00e9 page";
    page.browser = "Chromium";
    auto *drops = window->findChild<ExternalDrops *>("externalDrops");
    ASSERT_NE(drops, nullptr);
    drops->setDetectedPagesSource([page] { return QList<DetectedPage>{page}; });

    // A link, as a browser drags it (a text/uri-list); and the same page as typed text.
    const DraggedIn link("# the page\r\n" + page.address.toUtf8() + "\r\n");
    const auto typed = textData(" \thttp://127.0.0.1:8791/caf\u00e9 x.html?q=~1 ");
    for (const QMimeData *data : {static_cast<const QMimeData *>(&link), static_cast<const QMimeData *>(typed.get())}) {
        ASSERT_TRUE(dropOn(formClient(*window), data, formClient(*window)->rect().center()));
        EXPECT_EQ(window->editState(), EditState::Adding);
        EXPECT_EQ(txtAddress(*window)->text(), page.address);
        EXPECT_EQ(txtWName(*window)->text(), "Caf\u00e9 page");
        prompts.answer(MsgResult::Yes);
        window->commands.cancelVardeckEdit();
    }
    // A page open nowhere keeps the dropped address, escapes and all, as its name too.
    const DraggedIn other("https://elsewhere.example/a%7Eb%2Fc\r\n");
    ASSERT_TRUE(dropOn(formClient(*window), &other, formClient(*window)->rect().center()));
    EXPECT_EQ(txtAddress(*window)->text(), "https://elsewhere.example/a%7Eb%2Fc");
    EXPECT_EQ(txtWName(*window)->text(), "https://elsewhere.example/a%7Eb%2Fc");
}

} // namespace
