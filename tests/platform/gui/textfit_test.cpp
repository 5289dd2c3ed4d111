// Long names in menus and labels: shortened with "…" to their room, whole in the tool tip.
#include "platform/gui/textfit.h"

#include <QAction>
#include <QApplication>
#include <QHelpEvent>
#include <QLabel>
#include <QMenu>
#include <QToolTip>
#include <gtest/gtest.h>

using namespace rr;

namespace
{

const QString kLong = QString("Tom & Jerry, the cat and the mouse, and all their friends. ").repeated(5).left(300);

QImage picture(QWidget &widget)
{
    return widget.grab().toImage().convertToFormat(QImage::Format_ARGB32);
}

} // namespace

TEST(TextFit, aLongNameEndsOrBreaksWithAnEllipsisAndAShortOneStaysWhole)
{
    const QFontMetrics metrics(QApplication::font());
    EXPECT_EQ(elidedText("Tom & Jerry", metrics, 500), "Tom & Jerry");
    const QString end = elidedText(kLong, metrics, 200);
    EXPECT_TRUE(end.endsWith(QChar(0x2026))) << end.toStdString();
    EXPECT_TRUE(end.startsWith("Tom & Jerry"));
    EXPECT_LE(metrics.horizontalAdvance(end), 200);
    const QString middle =
        elidedText("http://www.example.org/long/path/long/path/long/path/page.html", metrics, 150, Qt::ElideMiddle);
    EXPECT_TRUE(middle.startsWith("http://")) << middle.toStdString();
    EXPECT_TRUE(middle.endsWith("page.html"));
    EXPECT_TRUE(middle.contains(QChar(0x2026)));
}

TEST(TextFit, aMenuKeepsANameToItsWidthWithItsAmpersandsAndTheWholeNameInTheToolTip)
{
    QMenu menu;
    auto *item = new QAction(&menu);
    menu.addAction(item);
    const QFontMetrics metrics(menu.font());

    setMenuItemName(item, kLong, "1  ");
    EXPECT_TRUE(item->text().startsWith("1  Tom && Jerry")) << item->text().toStdString();
    EXPECT_TRUE(item->text().endsWith(QChar(0x2026)));
    EXPECT_LE(metrics.horizontalAdvance(item->text().mid(3).replace("&&", "&")), menuNameWidth(metrics));
    EXPECT_EQ(item->toolTip(), kLong);
    EXPECT_LT(menu.sizeHint().width(), menuNameWidth(metrics) + 100) << "the menu is no wider than its names";

    setMenuItemName(item, "Tom & Jerry");
    EXPECT_EQ(item->text(), "Tom && Jerry");
    EXPECT_EQ(item->toolTip(), "Tom & Jerry") << "no tip of its own: the item's text";
}

TEST(TextFit, aLabelDrawsItsTextShortenedToWhatItsParentShowsAndGivesItWholeAsItsTip)
{
    QWidget parent;
    parent.resize(200, 40);
    auto *label = new QLabel(kLong, &parent);
    label->setTextFormat(Qt::PlainText);
    label->setGeometry(10, 10, 600, 20); // wider than its parent, as a label sized to its text
    label->setToolTip("The name of this Vardeck");
    elideLabel(label);
    parent.show();

    // What a label shows for the shortened text, drawn by the label itself.
    auto *expected = new QLabel(elidedText(kLong, label->fontMetrics(), 190), &parent);
    expected->setGeometry(label->geometry());
    expected->hide();
    EXPECT_EQ(picture(*label).copy(0, 0, 190, 20), picture(*expected).copy(0, 0, 190, 20));
    EXPECT_EQ(label->text(), kLong) << "the text stays whole";

    QHelpEvent tip(QEvent::ToolTip, QPoint(5, 5), label->mapToGlobal(QPoint(5, 5)));
    QApplication::sendEvent(label, &tip);
    EXPECT_EQ(QToolTip::text(), kLong + "\nThe name of this Vardeck");
    QToolTip::hideText();

    // A name that fits is drawn as any label draws it, with the label's own tip.
    label->setText("Tom & Jerry");
    expected->setText("Tom & Jerry");
    EXPECT_EQ(picture(*label), picture(*expected));
}
