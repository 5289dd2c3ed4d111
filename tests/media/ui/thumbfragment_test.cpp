// A folder run over Vardecks whose addresses differ only by their "#part": each is the page
// already shown, and each is synchronised, against the tests' own server on 127.0.0.1.
#include "explorer/editingfixture.h"
#include "media/ui/frmthumb.h"
#include "media/ui/iconcommands.h"
#include "media/ui/pagebrowser.h"
#include "media/ui/thumbcommands.h"
#include "support/dialogcontrols.h"
#include "support/httpserver.h"

#include <QLabel>
#include <QTcpServer>

namespace rr::test
{
namespace
{

class ThumbFragmentTest : public EditingTest
{
protected:
    HttpServer site{60000};
    ThumbCommands *thumbs = nullptr;
    int savedTimeout = PageBrowser::pageTimeoutMs;

    void SetUp() override
    {
        EditingTest::SetUp();
        thumbs = &installThumbCommands(*window, installIconCommands(*window));
        site.route("/guide.html", page("<html><head><title>The guide</title><meta name=\"description\" "
                                       "content=\"All parts\"></head><body><h1 id=\"part\">Part</h1></body></html>"));
        site.route("/other.html", page("<html><head><title>Another page</title></head><body></body></html>"));
        const auto vd = [](const char *wid, const char *name, const QString &address) {
            return VD{wid, name, address, "06 Dec 2026", "", "", "", "", "1", "4", "FALSE"}.xml();
        };
        openDb("<FOLDERS>" +
               folderXml("T1", "Guide",
                         vd("W1", "Whole", site.url("/guide.html")) + vd("W2", "Part", site.url("/guide.html#part")) +
                             vd("W3", "Again", site.url("/guide.html#part")) +
                             vd("W4", "Other part", site.url("/guide.html#end")) +
                             vd("W5", "Elsewhere", site.url("/other.html#part"))) +
               "</FOLDERS>");
    }
    void TearDown() override
    {
        PageBrowser::pageTimeoutMs = savedTimeout;
        if (thumbs->window())
            thumbs->window()->close();
        EditingTest::TearDown();
    }
};

} // namespace

TEST_F(ThumbFragmentTest, aFolderRunSynchronisesEveryVardeckWhoseAddressOnlyAddsOrChangesTheFragment)
{
    // A Vardeck left unreported would count as skipped at the time-out.
    PageBrowser::pageTimeoutMs = 8000;
    showVardeck("T1", "W1");
    menu(MenuId::mnuToolsSynchFolder);
    frmThumb *form = thumbs->window();
    ASSERT_NE(form, nullptr);
    ASSERT_TRUE(waitUntil([&] { return dialogControl<QLabel>(*form, "Label1")->text() == "Done"; }, 60000));
    EXPECT_EQ(form->skipped(), 0);
    EXPECT_EQ(form->synchronised(), 5);
    const struct {
        const char *wid, *name, *description;
    } expected[] = {
        {"W1", "The guide", "All parts"}, {"W2", "The guide", "All parts"}, {"W3", "The guide", "All parts"},
        {"W4", "The guide", "All parts"}, {"W5", "Another page", ""},
    };
    for (const auto &e : expected) {
        EXPECT_EQ(stored(e.wid).childText("NAME"), e.name) << e.wid;
        EXPECT_EQ(stored(e.wid).childText("DESCRIPTION"), e.description) << e.wid;
    }
}

// A "#part" twin of a page that failed is no page shown: it is loaded for itself, fails
// in its turn, and its Vardeck is left as it was.
TEST_F(ThumbFragmentTest, aRunNeverTakesThePartTwinOfAFailedPageForLoaded)
{
    // A part left waiting would fail only at the time-out, which outlasts the test.
    PageBrowser::pageTimeoutMs = 60000;
    QTcpServer closed;
    ASSERT_TRUE(closed.listen(QHostAddress::LocalHost));
    const QString refused = QStringLiteral("http://127.0.0.1:%1/gone.html").arg(closed.serverPort());
    closed.close();
    const struct {
        const char *wid, *name;
        QString address;
    } failed[] = {
        {"W1", "Missing", site.url("/missing.html")},
        {"W2", "Missing part", site.url("/missing.html#part")},
        {"W3", "Refused", refused},
        {"W4", "Refused part", refused + "#part"},
    };
    QByteArray vardecks;
    for (const auto &f : failed)
        vardecks += VD{f.wid, f.name, f.address, "06 Dec 2026", "", "", "", "", "1", "4", "FALSE"}.xml();
    openDb("<FOLDERS>" + folderXml("T1", "Failing", vardecks) + "</FOLDERS>");
    showVardeck("T1", "W1");
    menu(MenuId::mnuToolsSynchFolder);
    frmThumb *form = thumbs->window();
    ASSERT_NE(form, nullptr);
    ASSERT_TRUE(waitUntil([&] { return dialogControl<QLabel>(*form, "Label1")->text() == "Done"; }, 30000));
    EXPECT_EQ(form->synchronised(), 0);
    EXPECT_EQ(form->skipped(), 4);
    for (const auto &f : failed)
        EXPECT_EQ(stored(f.wid).childText("NAME"), f.name) << f.wid;
}

} // namespace rr::test
