// The details panel: the shown Vardeck's fields, pictures, links and clipboard commands.
#include "explorerfixture.h"

#include "explorer/detailspanel.h"
#include "explorer/vardeckviews.h"
#include "shell/statuspanels.h"

#include <QCheckBox>
#include <QClipboard>
#include <QPlainTextEdit>

using namespace rr;
using namespace rr::test;

namespace
{

TEST_F(ExplorerTest, aVardeckFillsThePanelWithItsFieldsAndPicturesAndNothingOfThePreviousOneStays)
{
    const QString db = home.databaseFolder();
    QDir().mkpath(db + "/icons/Vardecks");
    QImage icon(64, 64, QImage::Format_ARGB32);
    icon.fill(Qt::red);
    ASSERT_TRUE(icon.save(db + "/icons/Vardecks/W1.ico", "ICO"));
    QDir().mkpath(db + "/thumbs/Vardecks");
    QImage thumb(120, 90, QImage::Format_RGB32);
    thumb.fill(Qt::blue);
    ASSERT_TRUE(thumb.save(db + "/thumbs/Vardecks/W1.gif", "PNG"));
    openDatabase();
    showVardeck("T1", "W1");
    EXPECT_EQ(window->lblWName->text(), "Beta site");
    EXPECT_EQ(window->lblAddress->text(), "http://www.beta.example/docs/page.html");
    EXPECT_EQ(window->lblHome->text(), "http://www.beta.example/");
    EXPECT_EQ(window->lblCreatedDate->text(), "06 Dec 2026");
    EXPECT_EQ(window->lbl(3)->text(), "01 Dec 2026 10:00 AM");
    EXPECT_EQ(window->lbl(14)->text(), "1");
    EXPECT_EQ(window->lblFileSize->text(), "12 KB");
    EXPECT_EQ(window->lblDescription->text(), "A page");
    EXPECT_EQ(window->lblKeyWords->text(), "kw one");
    EXPECT_EQ(window->txtNotes->toPlainText(), "Notes\nline 2");
    EXPECT_TRUE(window->txtNotes->isReadOnly());
    EXPECT_TRUE(window->chkFav->isChecked());
    EXPECT_FALSE(window->Picture10->isHidden());
    // The site icon becomes the tab's picture and the thumbnail is shown.
    const QList<QSize> sizes = window->tabView->tabBar()->tabIcon(0).availableSizes();
    ASSERT_FALSE(sizes.isEmpty());
    EXPECT_LE(sizes.first().width(), 17);
    EXPECT_EQ(window->tabView->tabBar()->tabIcon(0).pixmap(16).toImage().pixelColor(8, 8), QColor(Qt::red));
    EXPECT_EQ(window->picThumb->pixmap().size(), QSize(120, 90));
    // Without auto preview the preview pane is blank.
    EXPECT_EQ(window->wbPreview->property("rrAddress").toString(), "about:blank");

    // A Vardeck without the optional children shows its own fields only.
    appOptions().setAutoPreview(true);
    clickVardeck("W2");
    EXPECT_EQ(window->lblWName->text(), "alpha & co");
    EXPECT_EQ(window->lbl(14)->text(), "1");
    EXPECT_EQ(window->lblFileSize->text(), "");
    // A file-transfer address has no home page and the ordinary mark.
    EXPECT_EQ(window->lblHome->text(), "");
    EXPECT_TRUE(sameImage(window->tabInfo->tabBar()->tabIcon(0).pixmap(16), window->Picture5->pixmap()));
    EXPECT_FALSE(window->chkFav->isChecked());
    EXPECT_TRUE(window->Picture10->isHidden());
    // Nothing of the Vardeck shown before stays.
    EXPECT_EQ(window->lblDescription->text(), "");
    EXPECT_EQ(window->lbl(3)->text(), "");
    EXPECT_EQ(window->txtNotes->toPlainText(), "");
    EXPECT_EQ(window->wbPreview->property("rrAddress").toString(), "ftp://files.example/x");
    EXPECT_TRUE(window->picThumb->pixmap().isNull());
    EXPECT_TRUE(sameImage(window->tabView->tabBar()->tabIcon(0).pixmap(16), window->Picture8->pixmap()));

    // A Vardeck deleted elsewhere is not shown, and the lists are refilled.
    XmlNode beta = doc()->nodeFromID("W1");
    beta.parentNode().removeChild(beta);
    clickVardeck("W1");
    EXPECT_EQ(window->lblWName->text(), "alpha & co");
    QTest::qWait(20);
    EXPECT_EQ(wmNode("W1"), nullptr);
    EXPECT_EQ(window->lbl(12)->text(), "1");

    // A long name is cut on its tab.
    clickFolder("T5");
    doc()->nodeFromID("W3").setChildText("NAME", QString(200, 'n'));
    clickVardeck("W3");
    EXPECT_TRUE(sameImage(window->tabInfo->tabBar()->tabIcon(0).pixmap(16), window->Picture4->pixmap()));
    EXPECT_EQ(window->lbl(14)->text(), "9");
    EXPECT_EQ(window->tabView->TabCaption(0), "    " + QString(20, 'n') + "...    ");
}

TEST_F(ExplorerTest, linksOpenTheVardeckAndItsHomePageAndCopyCommandsCopyTheStoredTexts)
{
    openDatabase();
    showVardeck("T1", "W1");
    detailsPanelOf(*window)->linkHovered(window->lblAddress);
    EXPECT_EQ(window->lblAddress->toolTip(), "Open Beta site in a new browser window");
    EXPECT_TRUE(window->lblAddress->font().underline());
    QTest::mouseClick(window->lblAddress, Qt::LeftButton);
    EXPECT_FALSE(window->lblAddress->font().underline());
    QTest::mouseClick(window->lblHome, Qt::LeftButton);
    EXPECT_EQ(launcher.openedUrls(),
              QStringList({"http://www.beta.example/docs/page.html", "http://www.beta.example/"}));

    // The clipboard commands copy what is stored, not what is typed.
    window->txtNotes->setPlainText("typed, not saved");
    const QString whole = "Name: Beta site\r\n\r\nAddress: http://www.beta.example/docs/page.html\r\n\r\n"
                          "Description: A page\r\n\r\nFile size:12\r\n\r\nNotes: Notes\nline 2\r\n\r\n"
                          "Keywords: kw one\r\n";
    const std::pair<const char *, QString> commands[] = {
        {"mnuEditClipVD_Click", whole},
        {"mnuCopyAll2_Click", whole},
        {"mnuEditClipNotes_Click", "Notes\nline 2"},
        {"mnuEditClipURL_Click", "http://www.beta.example/docs/page.html"},
        {"mnuEditClipKeywords_Click", "kw one"},
    };
    for (const auto &[command, text] : commands) {
        window->runCommand(command);
        EXPECT_EQ(QGuiApplication::clipboard()->text(), text) << command;
    }

    // A field the element lacks copies an empty text.
    clickVardeck("W2");
    window->runCommand("mnuEditClipDesc_Click");
    EXPECT_EQ(QGuiApplication::clipboard()->text(), "");

    // A right click on the address keeps it for Copy; one on the created date keeps the text before.
    clickVardeck("W1");
    for (QLabel *label : {window->lblAddress, window->lblCreatedDate}) {
        QTest::mouseClick(label, Qt::RightButton);
        EXPECT_EQ(openPopup(), "mnuCopyMenu");
        closePopups();
        window->runCommand("mnuCopy_Click");
        EXPECT_EQ(QGuiApplication::clipboard()->text(), "http://www.beta.example/docs/page.html");
    }
    detailsPanelOf(*window)->rightClicked(window->StatusBar1);
    closePopups();
    window->runCommand("mnuCopy_Click");
    EXPECT_EQ(QGuiApplication::clipboard()->text(), "\\zebra");
}

TEST_F(ExplorerTest, aClickInAListShowingAnotherFolderMakesThatFolderCurrent)
{
    openDatabase();
    clickFolder("T5");
    // A finding list fills the views with another folder's Vardecks.
    const XmlNode zebra = doc()->nodeFromID("T1");
    QList<XmlNode> vardecks = zebra.child("VARDECKS").childElements();
    vardeckViewsOf(*window)->fillVardeckViews(vardecks, zebra);
    clickVardeck("W2");
    EXPECT_EQ(window->currentTID, "T1");
    EXPECT_EQ(window->lblTName->text(), "zebra");
    EXPECT_EQ(window->StatusBar1->panelText(2), "\\zebra");

    // The same through listVD.
    clickFolder("T5");
    callOp(window->ops.populateVDList, zebra);
    window->currentTID = "T5";
    window->listVD->setCurrentItem(row("W1"));
    vardeckViewsOf(*window)->listVD_DblClick();
    EXPECT_EQ(window->currentTID, "T1");
    EXPECT_EQ(window->lblTName->text(), "zebra");
}

} // namespace
