// The button's access key, modes and value, refused values and hover colours.
#include "controls/qbbuttons_h.h"
#include "support/testenv.h"

#include <QApplication>

#include <gtest/gtest.h>

namespace
{

using rr::qbButtons_H;

QPixmap bitmap(int size = 16)
{
    QPixmap p(size, size);
    p.fill(Qt::blue);
    return p;
}

TEST(ButtonCaption, theLastSingleAmpersandMarksTheAccessKey)
{
    qbButtons_H button;
    button.setCaption("Save && E&xit");
    EXPECT_EQ(button.shortcut(), QKeySequence("Alt+X"));
    button.setCaption("Fish && Chips");
    EXPECT_EQ(button.shortcut(), QKeySequence("Alt+X")) << "no access key: the old one stays";
    button.setCaption("&Open && &Close");
    EXPECT_EQ(button.shortcut(), QKeySequence("Alt+C"));
    button.setCaption("Move||Vardeck");
    EXPECT_EQ(button.displayCaption(), "Move\nVardeck");
    EXPECT_EQ(button.Caption(), "Move||Vardeck");
}

TEST(ButtonProperties, refusedValuesLeaveTheButtonAsItWas)
{
    qbButtons_H button;
    // A value belongs to check and option buttons only.
    button.setValue(true);
    EXPECT_FALSE(button.value()) << "refused in command mode";
    button.setMode(1);
    button.setValue(true);
    button.click();
    EXPECT_FALSE(button.value()) << "a check button toggles";
    button.setValue(true);
    button.setMode(0);
    EXPECT_FALSE(button.value()) << "back to a command button clears the value";
    button.setMode(3);
    EXPECT_EQ(button.Mode(), 0) << "out of range is ignored";

    button.setButtonStyle(9);
    EXPECT_EQ(button.ButtonStyle(), 2);
    button.setButtonShape(7);
    EXPECT_EQ(button.ButtonShape(), 0) << "a cut shape needs a picture";
    button.setPicture(bitmap(), true);
    button.setButtonShape(8);
    EXPECT_EQ(button.ButtonShape(), 0) << "and not an icon";
    button.setPicture(bitmap());
    button.setButtonShape(7);
    EXPECT_EQ(button.ButtonShape(), 7);
    EXPECT_EQ(button.PictureSize(), 4);
    EXPECT_EQ(button.pictureSizePx(), 48);
    button.setPictureSize(1);
    EXPECT_EQ(button.pictureSizePx(), 48) << "shaped buttons keep their picture size";
    button.setPicture(QPixmap());
    EXPECT_EQ(button.ButtonShape(), 0) << "removing the picture of a cut shape";

    button.setPicture(bitmap());
    button.setPictureAlign(4);
    EXPECT_EQ(button.CaptionAlign(), 2);
    button.setCaptionAlign(0);
    EXPECT_EQ(button.CaptionAlign(), 2) << "a picture above the caption keeps it centred";
    button.setPictureSize(1);
    EXPECT_EQ(button.pictureSizePx(), 24);
}

TEST(ButtonColours, hoverColoursFollowUntilTheyAreSetApart)
{
    qbButtons_H button;
    button.setBackColor(Qt::yellow);
    EXPECT_EQ(button.HoverBackColor(), QColor(Qt::yellow));
    button.setForeColor(Qt::darkBlue);
    EXPECT_EQ(button.HoverForeColor(), QColor(Qt::darkBlue));
    button.setHoverBackColor(Qt::white);
    EXPECT_EQ(button.HoverColorLocks(), 1);
    button.setBackColor(Qt::green);
    EXPECT_EQ(button.HoverBackColor(), QColor(Qt::white)) << "locked";
    button.setGradientMode(3);
    button.setGradientColor(Qt::red);
    EXPECT_EQ(button.HoverBackColor(), QColor(Qt::white));
    button.setHoverColorLocks(0);
    EXPECT_EQ(button.HoverBackColor(), QColor(Qt::red)) << "unlocked with a gradient: the gradient colour";
}

TEST(ButtonProperties, refusalsAreExplainedOnlyWhileTheHostIsDesigned)
{
    rr::test::ScriptedPrompts prompts;
    qbButtons_H button;
    button.setValue(true);
    button.setButtonShape(8);
    QApplication::processEvents();
    EXPECT_TRUE(prompts.messages().empty()) << "run mode refuses silently";

    button.setUserMode(false);
    button.setValue(true);
    EXPECT_TRUE(prompts.messages().empty()) << "the message waits for the event loop";
    button.setButtonShape(8);
    button.setPicture(bitmap());
    button.setPictureAlign(5);
    button.setCaptionAlign(1);
    QApplication::processEvents();
    EXPECT_EQ(prompts.texts(),
              QStringList({"This property is not applicable for command button modes.",
                           "The Picture Property must be assigned first and must be a bitmap or JPEG.",
                           "When button images are aligned top/bottom center, \r\nbutton captions can only be center "
                           "aligned"}));
    EXPECT_EQ(prompts.messages().front().icon, rr::MsgIcon::Information);
    EXPECT_FALSE(button.value());
    EXPECT_EQ(button.CaptionAlign(), 2);
}

TEST(ButtonProperties, aCustomPointerIsOverriddenByThePointerReadAfterIt)
{
    QPixmap icon(16, 16);
    icon.fill(Qt::red);
    qbButtons_H button;
    button.setMouseIcon(icon);
    EXPECT_EQ(button.MousePointer(), 99);
    button.setMousePointer(11);
    EXPECT_EQ(button.cursor().shape(), Qt::WaitCursor);

    rr::ButtonDesignData data;
    data.write("mIcon", icon, QVariant());
    qbButtons_H loaded;
    loaded.ReadProperties(data);
    EXPECT_EQ(loaded.MousePointer(), 0);
    EXPECT_FALSE(loaded.MouseIcon().isNull());
}

} // namespace
