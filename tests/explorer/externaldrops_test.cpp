#include "popupsfixture.h"

#include "platform/textutil.h"
#include <QUrl>

using namespace rr;
using namespace rr::test;

namespace
{

TEST(FindDetectedPage, matchesAnOpenPageByAddressOrByItsLocalFile)
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
}

TEST(DroppedPage, localFilesComeBeforeTheTextAFileWindowAlsoOffers)
{
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

TEST_F(PopupsTest, aDroppedWebAddressStartsANewVardeckAndOtherTextStartsNothing)
{
    open();
    clickFolder("T4");
    // Neither a web address nor a file: refused, nothing changes.
    for (const char *text : {"hello world", "ftp://files.example/", "javascript:alert(1)"}) {
        EXPECT_FALSE(dropOn(window->formClient, textData(text).get(), window->formClient->rect().center())) << text;
        EXPECT_EQ(window->txtMode->text(), "");
    }
    // The list takes drops as the panel does; the address names the new Vardeck.
    QWidget *list = window->listVD->viewport();
    EXPECT_TRUE(dropOn(list, textData("https://www.new.example/page").get(), list->rect().center()));
    EXPECT_TRUE(sameText(window->txtMode->text(), "add"));
    EXPECT_EQ(window->txtWName->text(), "https://www.new.example/page");
    EXPECT_EQ(window->txtAddress->text(), "https://www.new.example/page");
    EXPECT_EQ(window->chosenPage.description, "");
}

TEST_F(PopupsTest, aDroppedAddressWithMarkupStaysPlainText)
{
    open();
    clickFolder("T4");
    const QString markup = "http://x.example/?q=<b>bold</b>&amp;<img src=x>";
    EXPECT_TRUE(dropOn(window->lblWName, textData(markup).get(), {1, 1}));
    EXPECT_EQ(window->txtWName->text(), markup);
    EXPECT_EQ(window->txtAddress->text(), markup);
    EXPECT_TRUE(launcher.starts().empty());
    EXPECT_TRUE(launcher.openedUrls().isEmpty());
}

} // namespace
