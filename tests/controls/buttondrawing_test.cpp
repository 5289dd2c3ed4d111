// The button's colour arithmetic, picture background, drawn looks and design data.
#include "controls/buttoncolors.h"
#include "controls/buttonsurface.h"
#include "controls/qbbuttons_h.h"

#include <QApplication>
#include <QKeyEvent>
#include <QPainter>
#include <QRandomGenerator>
#include <gtest/gtest.h>

namespace
{

using namespace rr::buttoncolors;
using rr::ButtonDesignData;
using rr::qbButtons_H;

QColor pixel(qbButtons_H &button, int x, int y)
{
    return button.grab().toImage().pixelColor(x, y);
}

TEST(ButtonColourHelpers, shadesKeepTheirDivisorsAndRetryAtTheExtremes)
{
    int offset = 32;
    EXPECT_EQ(shiftColor(0xFFFFFF, offset, false, true, false), rgb(223, 224, 224));
    EXPECT_EQ(offset, -32) << "the retry's offset goes back to the caller";
    offset = 0;
    EXPECT_EQ(shiftColor(0x000000, offset, false, true, false), rgb(64, 64, 64));
    EXPECT_EQ(offset, 64);

    offset = -32;
    EXPECT_EQ(shiftColor(rgb(200, 100, 50), offset), rgb(168, 68, 18));
    EXPECT_EQ(shiftColor(rgb(200, 100, 50), offset, true), rgb(168, 68, 42));
    offset = 40;
    EXPECT_EQ(shiftColor(rgb(10, 20, 30), offset, false, false, true), rgb(205, 195, 185));

    EXPECT_EQ(translateColor(0x00FF00), 0x00FF00u);
    EXPECT_EQ(translateColor(kButtonFace), fromQColor(QApplication::palette().color(QPalette::Button)));
    EXPECT_EQ(translateColor(kButtonText), fromQColor(QApplication::palette().color(QPalette::ButtonText)));
    EXPECT_EQ(roundEven(2.5), 2);
    EXPECT_EQ(roundEven(3.5), 4);
    EXPECT_EQ(roundEven(-2.5), -2);
}

// Every pixel within 3 per channel of the corner is background, and nothing outside
// the picture ever is: checked pixel by pixel against the picture itself.
TEST(ButtonPictureKey, theBackgroundIsExactlyThePixelsNearTheCornerColour)
{
    QImage picture(23, 17, QImage::Format_ARGB32);
    const QRgb key = qRgb(255, 255, 255);
    picture.fill(key);
    QRandomGenerator random(7);
    for (int i = 0; i < 120; ++i) {
        const int x = random.bounded(23), y = random.bounded(17);
        const int d = random.bounded(6); // 0..5: some within the tolerance, some not
        picture.setPixel(x, y, qRgb(255 - d, 255, 255 - (i % 3 == 0 ? d : 0)));
    }
    picture.setPixel(0, 0, key);
    const QImage untouched = picture.copy();
    const QRegion background = rr::keyBackground(picture);

    EXPECT_TRUE(QRect(0, 0, 23, 17).contains(background.boundingRect())) << "no run leaves the picture";
    for (int y = 0; y < 17; ++y) {
        for (int x = 0; x < 23; ++x) {
            const QRgb p = untouched.pixel(x, y);
            const bool near = 255 - qRed(p) <= 3 && 255 - qBlue(p) <= 3;
            ASSERT_EQ(background.contains(QPoint(x, y)), near) << x << "," << y;
            if (near)
                ASSERT_EQ(picture.pixel(x, y), key) << "keyed pixels become exactly the corner colour";
        }
    }
}

TEST(ButtonShapes, aCutShapeIsThePictureWithoutItsBackground)
{
    QImage image(40, 40, QImage::Format_RGB32);
    image.fill(qRgb(255, 0, 255));
    QPainter(&image).fillRect(QRect(10, 5, 20, 30), Qt::blue);
    QWidget host;
    qbButtons_H button(&host);
    button.resize(40, 40);
    button.setPicture(QPixmap::fromImage(image));
    button.setButtonShape(7);
    ASSERT_EQ(button.ButtonShape(), 7);
    EXPECT_EQ(button.mask(), QRegion(10, 5, 20, 30));
    EXPECT_EQ(pixel(button, 10, 5), QColor(button.BackColor())) << "shape 7 is outlined in the back colour";
    EXPECT_EQ(pixel(button, 20, 20), QColor(Qt::blue)) << "the picture fills the shape";

    // A slanted button too narrow for its slant widens itself in steps of 5.
    qbButtons_H slanted(&host);
    slanted.resize(30, 29);
    slanted.setButtonShape(3);
    EXPECT_EQ(slanted.width(), 35);
    EXPECT_FALSE(slanted.mask().contains(QPoint(2, 28))) << "bottom left cut by the slant";
    EXPECT_FALSE(slanted.mask().contains(QPoint(33, 1))) << "top right cut by the slant";
}

TEST(ButtonLooks, edgesFacesAndGradientsFollowStyleAndState)
{
    QWidget host;
    host.resize(200, 100);
    host.show();
    qbButtons_H button(&host);
    button.resize(60, 30);
    button.show();
    button.setButtonStyle(0);
    button.setBackColor(QColor(200, 220, 240));
    button.setDefaultLook(true);
    for (QPoint p : {QPoint(0, 15), QPoint(30, 0), QPoint(59, 15), QPoint(30, 29)})
        EXPECT_EQ(pixel(button, p.x(), p.y()), QColor(Qt::black)) << "default: black frame all round";
    EXPECT_EQ(pixel(button, 1, 15), QColor(Qt::white));
    EXPECT_EQ(pixel(button, 2, 15), QColor(233, 233, 233));
    EXPECT_EQ(pixel(button, 57, 15), QColor(128, 128, 128));

    // Shaded face of the hosts' style, a shade darker each row (row 3 of 30: -2.5, to even -2);
    // pressed, it starts from the shadow of the white face.
    button.setDefaultLook(false);
    button.setButtonStyle(2);
    button.setBackColor(Qt::white);
    EXPECT_EQ(pixel(button, 30, 3), QColor(253, 254, 254));
    QKeyEvent space(QEvent::KeyPress, Qt::Key_Space, Qt::NoModifier, " ");
    QApplication::sendEvent(&button, &space);
    EXPECT_EQ(pixel(button, 30, 3), QColor(221, 223, 213));

    // Gradients: left to right from the back colour to the gradient colour.
    qbButtons_H ramp(&host);
    ramp.resize(64, 20);
    ramp.show();
    ramp.setButtonStyle(4);
    ramp.setBackColor(QColor(0, 0, 0));
    ramp.setGradientColor(QColor(252, 126, 0));
    ramp.setGradientMode(1);
    EXPECT_EQ(pixel(ramp, 2, 10), QColor(8, 4, 0));
    EXPECT_EQ(pixel(ramp, 61, 10), QColor(244, 122, 0));
    ramp.setGradientMode(2);
    EXPECT_EQ(pixel(ramp, 61, 10), QColor(8, 4, 0)) << "mode 2 runs the other way";

    // Picture size 40 fills the face 3 pixels in; 48 fits it, aspect kept, 6 pixels in.
    QImage tall(10, 20, QImage::Format_RGB32);
    tall.fill(Qt::blue);
    tall.setPixel(0, 0, qRgb(255, 0, 0));
    qbButtons_H pictured(&host);
    pictured.resize(60, 30);
    pictured.show();
    pictured.setButtonStyle(4);
    pictured.setBackColor(Qt::white);
    pictured.setPicture(QPixmap::fromImage(tall));
    pictured.setPictureSize(3);
    const QImage filled = pictured.grab().toImage();
    EXPECT_EQ(filled.pixelColor(3, 20), QColor(Qt::blue));
    EXPECT_EQ(filled.pixelColor(2, 20), QColor(Qt::white));
    EXPECT_EQ(filled.pixelColor(3, 3), QColor(Qt::white)) << "the corner's key colour is transparent";
    pictured.setPictureSize(4);
    const QImage fitted = pictured.grab().toImage();
    EXPECT_EQ(fitted.pixelColor(25, 10), QColor(Qt::blue));
    EXPECT_EQ(fitted.pixelColor(24, 15), QColor(Qt::white));
    EXPECT_EQ(fitted.pixelColor(30, 5), QColor(Qt::white));
    pictured.setEnabled(false);
    EXPECT_EQ(pixel(pictured, 30, 15), QColor(128, 128, 128)) << "disabled: a grey silhouette";

    // A button without pixels draws nothing and survives every style.
    qbButtons_H empty(&host);
    for (int style = 0; style < 8; ++style) {
        empty.setButtonStyle(style);
        empty.resize(0, 0);
        empty.Refresh();
        empty.resize(40, 0);
        empty.Refresh();
    }
    EXPECT_EQ(empty.ButtonStyle(), 7);
}

// Edge pixels of each look on a plain 60 x 30 face of (200, 220, 240), worked out by hand
// from the looks' colour tables.
TEST(ButtonLooks, everyStyleDrawsItsOwnRingsAtRest)
{
    struct Case {
        int style;
        bool asDefault;
        bool focusRect;
        QPoint at;
        QColor expected;
    };
    const QColor face(200, 220, 240), white(Qt::white), black(Qt::black);
    const Case cases[] = {
        {0, false, true, {0, 15}, white},
        {1, false, true, {0, 0}, QColor(Qt::darkCyan)},
        {2, false, true, {2, 15}, {238, 246, 243}},
        {2, true, true, {2, 15}, {181, 209, 240}},
        {2, true, false, {2, 15}, {238, 246, 243}},
        {3, false, true, {0, 15}, {102, 103, 103}},
        {4, false, true, {1, 15}, face},
        {5, false, true, {59, 15}, face},
        {6, false, true, {0, 15}, {231, 232, 232}},
        {7, false, true, {1, 1}, black},
    };
    QWidget host;
    host.resize(100, 60);
    QPalette palette = host.palette();
    palette.setColor(QPalette::Window, Qt::darkCyan);
    host.setPalette(palette);
    host.setAutoFillBackground(true);
    host.show();
    for (const Case &c : cases) {
        qbButtons_H button(&host);
        button.resize(60, 30);
        button.show();
        button.setButtonStyle(c.style);
        button.setBackColor(face);
        button.setShowFocusRect(c.focusRect);
        button.setDefaultLook(c.asDefault);
        QImage shown(host.size(), QImage::Format_RGB32);
        host.render(&shown);
        EXPECT_EQ(shown.pixelColor(c.at), c.expected)
            << "style " << c.style << (c.asDefault ? " default" : "") << " at " << c.at.x() << "," << c.at.y();
    }
}

TEST(ButtonDesignData, defaultsAreNotWrittenAndEverythingElseReadsBack)
{
    QWidget host;
    qbButtons_H plain(&host);
    plain.setButtonStyle(0);
    ButtonDesignData data;
    plain.WriteProperties(data);
    EXPECT_EQ(data.keys(), QStringList({"Font", "Mode", "Value", "cBack"}));

    qbButtons_H button(&host);
    button.setCaption("Save && E&xit");
    button.setCaptionAlign(0);
    button.setButtonStyle(7);
    button.setGradientMode(3);
    button.setGradientColor(QColor(10, 20, 30));
    button.setHoverForeColor(QColor(1, 2, 3));
    button.setMode(1);
    button.setValue(true);
    ButtonDesignData saved;
    button.WriteProperties(saved);
    EXPECT_TRUE(saved.contains("CAPALIGN")) << "keys match in any letter case";

    qbButtons_H loaded(&host);
    loaded.ReadProperties(saved);
    EXPECT_EQ(loaded.Caption(), "Save && E&xit");
    EXPECT_EQ(loaded.shortcut(), QKeySequence("Alt+X"));
    EXPECT_EQ(loaded.CaptionAlign(), 0);
    EXPECT_EQ(loaded.ButtonStyle(), 7);
    EXPECT_EQ(loaded.GradientMode(), 3);
    EXPECT_EQ(loaded.GradientColor(), QColor(10, 20, 30));
    EXPECT_EQ(loaded.HoverForeColor(), QColor(1, 2, 3));
    EXPECT_EQ(loaded.HoverColorLocks(), button.HoverColorLocks());
    EXPECT_TRUE(loaded.value());

    // Without "cBack" the host's colour; without "cBHover" the back colour just read.
    ButtonDesignData bare;
    qbButtons_H fromHost(&host);
    fromHost.ReadProperties(bare, 0x123456);
    EXPECT_EQ(fromHost.backColorValue(), 0x123456u);
    EXPECT_EQ(fromHost.HoverBackColor(), toQColor(0x123456));
    EXPECT_EQ(fromHost.CaptionAlign(), 2);
}

} // namespace
