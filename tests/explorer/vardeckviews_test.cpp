#include "explorerfixture.h"

#include "explorer/vardeckviews.h"

#include <QDir>
#include <QHeaderView>
#include <QImage>
#include <QListView>

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

QStringList columnTexts(const QTreeWidget *list, int column)
{
    QStringList out;
    for (int i = 0; i < list->topLevelItemCount(); ++i)
        out << list->topLevelItem(i)->text(column);
    return out;
}

void writeIcon(const QString &file, Qt::GlobalColor colour, int size = 16)
{
    QDir().mkpath(QFileInfo(file).absolutePath());
    QImage image(size, size, QImage::Format_ARGB32);
    image.fill(colour);
    ASSERT_TRUE(image.save(file, file.endsWith(".gif") ? "PNG" : "ICO"));
}

TEST_F(ExplorerTest, folderClickFillsTreeAndListWhichShowAddressesRowsAndIcons)
{
    openDatabase();
    clickFolder("T1");
    EXPECT_EQ(window->lbl(12)->text(), "2");
    ASSERT_EQ(window->tvwWM->topLevelItemCount(), 2);
    // The tree keeps document order; the list sorts by name without regard to case.
    EXPECT_EQ(window->tvwWM->topLevelItem(0)->text(0), "Beta site");
    EXPECT_EQ(tag(window->tvwWM->topLevelItem(0)), "W1");
    EXPECT_EQ(columnTexts(window->listVD, 0), QStringList({"alpha & co", "Beta site"}));
    EXPECT_EQ(window->listVD->headerItem()->text(4), "Hits");
    EXPECT_EQ(cells(row("W1")), QStringList({"Beta site", "http://www.beta.example/docs/page.html", "06 Dec 2026",
                                             "01 Dec 2026 10:00 AM", "     1", "A page"}));
    // Missing fields show one blank; a missing count shows 1.
    EXPECT_EQ(cells(row("W2")), QStringList({"alpha & co", "ftp://files.example/x", " ", " ", "     1", " "}));
    EXPECT_EQ(tag(row("W2")), "W2");

    // The list alone, refilled after an edit, takes the texts as they are.
    callOp(window->ops.populateVDList, doc()->nodeFromID("T1"));
    EXPECT_EQ(cells(row("W2")), QStringList({"alpha & co", "ftp://files.example/x", "", "", "     1", ""}));
    EXPECT_EQ(cells(row("W1"))[4], "      ");

    // Hovering a tree node puts its address into the tool tip.
    VardeckViews *views = vardeckViewsOf(*window);
    views->tvwWM_MouseMove(window->tvwWM->visualItemRect(wmNode("W2")).center());
    EXPECT_EQ(window->Splitter1->toolTip(), "ftp://files.example/x");

    // A double-click shows the row; the icon view shows the same rows.
    window->listVD->setCurrentItem(row("W2"));
    views->listVD_DblClick();
    EXPECT_EQ(window->lblWName->text(), "alpha & co");
    EXPECT_EQ(window->selectedWID, "W2");
    EXPECT_EQ(window->tabView->Tab(), 0);

    callOp(window->ops.viewAsIcons);
    EXPECT_TRUE(window->iconViewActive);
    EXPECT_EQ(window->tabView->Tab(), 1);
    EXPECT_TRUE(views->iconView()->isVisible());
    EXPECT_EQ(views->iconView()->model()->rowCount(), 2);
    callOp(window->ops.viewAsList);
    EXPECT_FALSE(window->iconViewActive);
    EXPECT_FALSE(views->iconView()->isVisible());
}

TEST_F(ExplorerTest, rowsShowSiteIconsOrTheGenericPictureAndRecentVardecksInBold)
{
    VDData other;
    other.loadDataFromReg("w3", "Bank", "https://elsewhere.example/", "Other.xml");
    recentColl = {other};
    const QString icons = home.databaseFolder() + "/icons/";
    writeIcon(icons + "Vardecks/W1.ico", Qt::red);
    writeIcon(icons + "Vardecks/favicon.ico", Qt::green);
    writeIcon(icons + "Vardecks/Generic.ico", Qt::green);
    writeIcon(icons + "Vardecks/other.gif", Qt::blue);
    writeIcon(icons + "shared.gif", Qt::yellow);
    writeIcon(icons + "W2.ico", Qt::cyan);
    openDatabase();
    EXPECT_EQ(window->ImageListWM.keys(), QStringList({"SelVardeck", "Vardeck", "W1", "W2", "other", "shared"}))
        << "no favicon, no Generic";

    clickFolder("T5");
    EXPECT_TRUE(sameImage(row("W3")->icon(0).pixmap(16), window->ImageListWM.value("Vardeck").pixmap(16)));
    EXPECT_TRUE(row("W3")->font(0).bold());
    EXPECT_TRUE(row("W3")->font(4).bold());
    EXPECT_TRUE(wmNode("W3")->font(0).bold());
    clickFolder("T1");
    EXPECT_EQ(row("W1")->icon(0).pixmap(16).toImage().pixelColor(8, 8), QColor(Qt::red));
    EXPECT_FALSE(row("W1")->font(0).bold());
    EXPECT_FALSE(wmNode("W1")->font(0).bold());
}

TEST_F(ExplorerTest, columnClicksToggleTheOrderWhicheverColumnIsClicked)
{
    const VD a{"W1", "a", "http://a/", "", "", "", "", "", "", "9"};
    const VD b{"W2", "B", "http://b/", "", "", "", "", "", "", "10"};
    const VD c{"W3", "c", "http://c/", "", "", "", "", "", "", "1"};
    openDatabase("<FOLDERS>" + folderXml("T1", "f", a.xml() + b.xml() + c.xml()) + "</FOLDERS>");
    clickFolder("T1");
    EXPECT_EQ(columnTexts(window->listVD, 0), QStringList({"a", "B", "c"}));
    VardeckViews *views = vardeckViewsOf(*window);
    views->listVD_ColumnClick(4);
    EXPECT_EQ(columnTexts(window->listVD, 0), QStringList({"B", "a", "c"}));
    views->listVD_ColumnClick(4);
    EXPECT_EQ(columnTexts(window->listVD, 0), QStringList({"c", "a", "B"}));
    views->listVD_ColumnClick(0);
    EXPECT_EQ(columnTexts(window->listVD, 0), QStringList({"c", "B", "a"}));
    // A new fill sorts by name ascending again.
    clickFolder("T1");
    EXPECT_EQ(columnTexts(window->listVD, 0), QStringList({"a", "B", "c"}));
}

} // namespace
