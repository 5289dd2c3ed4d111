// The button: colours, picture key, drawn looks, design data, refused values, and mouse and key input.
#include "controls/buttoncolors.h"
#include "controls/buttonsurface.h"
#include "controls/qbbuttons_h.h"
#include "support/testenv.h"

#include <QLineEdit>
#include <QPainter>
#include <QRandomGenerator>
#include <QSignalSpy>
#include <QTest>
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

QPixmap bitmap()
{
    QPixmap p(16, 16);
    p.fill(Qt::blue);
    return p;
}

struct Host {
    QWidget window;
    Host()
    {
        window.resize(300, 200);
        window.show();
        window.activateWindow();
        QApplication::setActiveWindow(&window);
    }
    qbButtons_H *button(const QString &caption, int x = 10, int y = 10)
    {
        auto *b = new qbButtons_H(&window);
        b->setCaption(caption);
        b->setGeometry(x, y, 80, 26);
        b->show();
        return b;
    }
};

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
    EXPECT_EQ(roundEven(2.5), 2);
    EXPECT_EQ(roundEven(3.5), 4);
}

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
            if (near) {
                ASSERT_EQ(picture.pixel(x, y), key) << "keyed pixels become exactly the corner colour";
            }
        }
    }
}

TEST(ButtonShapes, aCutShapeIsThePictureWithoutItsBackgroundAndMovesOnePixelWhilePressed)
{
    Host host;
    QImage image(40, 40, QImage::Format_RGB32);
    image.fill(qRgb(255, 0, 255));
    QPainter(&image).fillRect(QRect(10, 5, 20, 30), Qt::blue);
    qbButtons_H *shaped = host.button(QString(), 50, 50);
    shaped->resize(40, 40);
    shaped->setPicture(QPixmap::fromImage(image));
    shaped->setButtonShape(7);
    EXPECT_EQ(shaped->mask(), QRegion(10, 5, 20, 30));
    EXPECT_EQ(pixel(*shaped, 10, 5), QColor(shaped->BackColor())) << "shape 7 is outlined in the back colour";
    EXPECT_EQ(pixel(*shaped, 20, 20), QColor(Qt::blue)) << "the picture fills the shape";

    shaped->setCustomClick(4);
    QSignalSpy clicked(shaped, &qbButtons_H::Click);
    const QPoint centre(20, 20);
    QCursor::setPos(shaped->mapToGlobal(centre));
    QMouseEvent move(QEvent::MouseMove, QPointF(centre), shaped->mapToGlobal(QPointF(centre)), Qt::NoButton,
                     Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(shaped, &move);
    ASSERT_TRUE(shaped->hoverActive());
    QTest::mousePress(shaped, Qt::LeftButton, {}, centre);
    EXPECT_EQ(shaped->pos(), QPoint(51, 51)) << "down and right while pressed";
    EXPECT_EQ(shaped->size(), QSize(40, 40));
    QTest::mouseRelease(shaped, Qt::LeftButton, {}, centre);
    EXPECT_EQ(shaped->pos(), QPoint(50, 50)) << "back on release";
    EXPECT_EQ(clicked.count(), 1);
    QCursor::setPos(0, 0);

    // A slanted button too narrow for its slant widens itself in steps of 5.
    qbButtons_H slanted(&host.window);
    slanted.resize(30, 29);
    slanted.setButtonShape(3);
    EXPECT_EQ(slanted.width(), 35);
    EXPECT_FALSE(slanted.mask().contains(QPoint(2, 28))) << "bottom left cut by the slant";
    EXPECT_FALSE(slanted.mask().contains(QPoint(33, 1))) << "top right cut by the slant";
}

TEST(ButtonLooks, edgesFacesAndGradientsFollowStyleAndState)
{
    Host host;
    qbButtons_H &button = *host.button(QString(), 0, 0);
    button.resize(60, 30);
    // The shaded face darkens a shade a row (row 3: -2.5, to even -2); pressed, it starts from the shadow.
    button.setButtonStyle(2);
    button.setBackColor(Qt::white);
    EXPECT_EQ(pixel(button, 30, 3), QColor(253, 254, 254));
    QKeyEvent space(QEvent::KeyPress, Qt::Key_Space, Qt::NoModifier, " ");
    QApplication::sendEvent(&button, &space);
    EXPECT_EQ(pixel(button, 30, 3), QColor(221, 223, 213));

    // Gradients: left to right from the back colour to the gradient colour.
    qbButtons_H ramp(&host.window);
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
    qbButtons_H pictured(&host.window);
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
    qbButtons_H empty(&host.window);
    for (int style = 0; style < 8; ++style) {
        empty.setButtonStyle(style);
        empty.resize(0, 0);
        empty.Refresh();
        empty.resize(40, 0);
        empty.Refresh();
    }
    EXPECT_EQ(empty.ButtonStyle(), 7);
}

// Edge pixels of each look on a plain 60 x 30 face of (200, 220, 240), worked out by hand.
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
        {0, true, true, {0, 15}, black}, // the default look: a black frame all round, then the classic rings
        {0, true, true, {30, 0}, black},
        {0, true, true, {59, 15}, black},
        {0, true, true, {30, 29}, black},
        {0, true, true, {1, 15}, white},
        {0, true, true, {2, 15}, {233, 233, 233}},
        {0, true, true, {57, 15}, {128, 128, 128}},
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

TEST(ButtonDesignData, defaultsAreNotWrittenEverythingElseReadsBackAndAPointerReadAfterAnIconWins)
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

    // A custom pointer is overridden by the pointer read after it.
    button.setMouseIcon(bitmap());
    EXPECT_EQ(button.MousePointer(), 99);
    button.setMousePointer(11);
    EXPECT_EQ(button.cursor().shape(), Qt::WaitCursor);
    ButtonDesignData withIcon;
    withIcon.write("mIcon", bitmap(), QVariant());
    qbButtons_H pointed(&host);
    pointed.ReadProperties(withIcon);
    EXPECT_EQ(pointed.MousePointer(), 0);
    EXPECT_FALSE(pointed.MouseIcon().isNull());
}

TEST(ButtonCaption, theLastSingleAmpersandMarksTheAccessKey)
{
    qbButtons_H button;
    button.setCaption("&Open && &Close");
    EXPECT_EQ(button.shortcut(), QKeySequence("Alt+C"));
    button.setCaption("Fish && Chips");
    EXPECT_EQ(button.shortcut(), QKeySequence("Alt+C")) << "no access key: the old one stays";
    button.setCaption("Move||Vardeck");
    EXPECT_EQ(button.displayCaption(), "Move\nVardeck");
    EXPECT_EQ(button.Caption(), "Move||Vardeck");
}

TEST(ButtonProperties, refusedValuesLeaveTheButtonAsItWasAndAreExplainedOnlyWhileTheHostIsDesigned)
{
    rr::test::ScriptedPrompts prompts;
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
    QApplication::processEvents();
    EXPECT_TRUE(prompts.messages().empty()) << "run mode refuses silently";

    button.setPicture(QPixmap());
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

TEST(ButtonClick, onlyALeftClickOnAnEnabledButtonRaisesClick)
{
    Host host;
    qbButtons_H *ok = host.button("OK");
    QSignalSpy clicked(ok, &qbButtons_H::Click);
    QSignalSpy downs(ok, &qbButtons_H::MouseDown);
    QSignalSpy ups(ok, &qbButtons_H::MouseUp);

    QTest::mouseClick(ok, Qt::LeftButton);
    EXPECT_EQ(clicked.count(), 1);
    QTest::mouseClick(ok, Qt::RightButton);
    EXPECT_EQ(clicked.count(), 1) << "a right click raises no Click";
    EXPECT_EQ(downs.count(), 2);
    EXPECT_EQ(ups.count(), 2);
    EXPECT_EQ(downs.at(1).at(0).toInt(), 2) << "the right button is button 2";

    // Pressed on the button, released outside it: no Click.
    QTest::mousePress(ok, Qt::LeftButton, {}, QPoint(5, 5));
    QTest::mouseRelease(ok, Qt::LeftButton, {}, QPoint(200, 5));
    EXPECT_EQ(clicked.count(), 1);

    // A double-click is one Click and one DoubleClick, never two Clicks.
    QSignalSpy doubled(ok, &qbButtons_H::DoubleClick);
    QTest::mouseClick(ok, Qt::LeftButton);
    QMouseEvent second(QEvent::MouseButtonDblClick, QPointF(5, 5), ok->mapToGlobal(QPointF(5, 5)), Qt::LeftButton,
                       Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(ok, &second);
    QTest::mouseRelease(ok, Qt::LeftButton, {}, QPoint(5, 5));
    EXPECT_EQ(doubled.count(), 1);
    EXPECT_EQ(clicked.count(), 2);
    EXPECT_EQ(downs.count(), 5) << "the second press of a double-click is a MouseDown too";
    QTest::mouseClick(ok, Qt::LeftButton);
    EXPECT_EQ(clicked.count(), 3) << "the next click counts again";

    ok->setEnabled(false);
    QTest::mouseClick(ok, Qt::LeftButton);
    ok->click();
    ok->AccessKeyPress('O');
    EXPECT_EQ(clicked.count(), 3) << "a disabled button raises nothing";
}

TEST(ButtonKeys, spaceClicksOnReleaseAndTheAccessKeyEnterAndEscPressTheirButtons)
{
    Host host;
    qbButtons_H *command = host.button("Go");
    QStringList order;
    QObject::connect(command, &qbButtons_H::Click, [&] { order << "Click"; });
    QObject::connect(command, &qbButtons_H::KeyUp, [&](int key, int) { order << QString("KeyUp %1").arg(key); });
    command->setFocus();
    command->setButtonStyle(0);
    command->setBackColor(QColor(200, 220, 240));
    // The classic look's middle ring: white at rest on the button with the keyboard (the
    // default button's look), the bare face while pressed.
    auto middleLeft = [command] { return command->grab().toImage().pixelColor(1, 13); };
    EXPECT_EQ(middleLeft(), QColor(255, 255, 255));

    QTest::keyPress(command, Qt::Key_Space);
    EXPECT_EQ(middleLeft(), QColor(200, 220, 240)) << "Space held shows the pressed look";
    EXPECT_TRUE(order.isEmpty());
    QTest::keyRelease(command, Qt::Key_Space);
    EXPECT_EQ(middleLeft(), QColor(255, 255, 255));
    EXPECT_EQ(order, QStringList({"Click", "KeyUp 32"}));

    qbButtons_H *check = host.button("Bold", 10, 50);
    check->setMode(1);
    order.clear();
    QObject::connect(check, &qbButtons_H::Click, [&] { order << "Click"; });
    QObject::connect(check, &qbButtons_H::KeyUp, [&](int key, int) { order << QString("KeyUp %1").arg(key); });
    check->setFocus();
    QTest::keyClick(check, Qt::Key_Space);
    EXPECT_EQ(order, QStringList({"KeyUp 32", "Click"}));
    EXPECT_TRUE(check->value());

    // The access key, and the host's Enter and Esc, press their buttons.
    qbButtons_H *save = host.button("Save && E&xit", 10, 90);
    qbButtons_H *cancel = host.button("Cancel", 100, 90);
    cancel->setCancel(true);
    save->setDefaultLook(true);
    QSignalSpy saved(save, &qbButtons_H::Click);
    QSignalSpy cancelled(cancel, &qbButtons_H::Click);

    QTest::keyClick(&host.window, Qt::Key_X, Qt::AltModifier);
    EXPECT_EQ(saved.count(), 1) << "Alt+X, the mnemonic";

    EXPECT_TRUE(qbButtons_H::deliverHostKey(&host.window, 13));
    EXPECT_EQ(saved.count(), 2);
    EXPECT_EQ(cancelled.count(), 0);
    EXPECT_TRUE(qbButtons_H::deliverHostKey(&host.window, 27));
    EXPECT_EQ(cancelled.count(), 1);

    // Enter and Esc do nothing to a check or option button; a hidden default is skipped.
    save->setMode(1);
    save->AccessKeyPress(13);
    EXPECT_EQ(saved.count(), 2);
    cancel->hide();
    EXPECT_FALSE(qbButtons_H::deliverHostKey(&host.window, 27));
    EXPECT_EQ(cancelled.count(), 1);
}

TEST(ButtonFocus, theButtonWithTheKeyboardShowsTheFocusRingsAndEnterPressesItThenTheDefaultTakesThemBack)
{
    Host host;
    qbButtons_H *ok = host.button("OK");
    qbButtons_H *other = host.button("Other", 100);
    auto *box = new QLineEdit(&host.window);
    box->setGeometry(10, 100, 100, 24);
    box->show();
    ok->setDefaultLook(true);
    box->setFocus();
    // The blue focus ring of the standard look, inside the frame on the left.
    auto ringed = [](qbButtons_H *button) { return pixel(*button, 2, 15) == QColor(181, 209, 240); };
    EXPECT_TRUE(ringed(ok));
    EXPECT_FALSE(ringed(other));

    other->setFocus();
    EXPECT_TRUE(ringed(other)) << "the focus shows where Space and Enter go";
    EXPECT_FALSE(ringed(ok));
    QSignalSpy okClicks(ok, &qbButtons_H::Click);
    QSignalSpy otherClicks(other, &qbButtons_H::Click);
    QTest::keyClick(other, Qt::Key_Return);
    EXPECT_EQ(otherClicks.count(), 1);
    EXPECT_EQ(okClicks.count(), 0);

    box->setFocus();
    EXPECT_TRUE(ringed(ok)) << "the default's look comes back";
    EXPECT_FALSE(ringed(other));
    ok->setFocus();
    QTest::keyClick(ok, Qt::Key_Enter, Qt::KeypadModifier);
    EXPECT_EQ(okClicks.count(), 1) << "a window that is no dialog: the focused button takes Enter itself";
    QTest::keyClick(ok, Qt::Key_Return, Qt::ControlModifier);
    EXPECT_EQ(okClicks.count(), 1);
}

TEST(ButtonHover, thePointerLeavingEndsTheHoverWithin100ms)
{
    Host host;
    qbButtons_H *button = host.button("Hover");
    QSignalSpy onButton(button, &qbButtons_H::MouseOnButton);
    const QPoint centre = button->rect().center();
    QCursor::setPos(button->mapToGlobal(centre));
    QMouseEvent move(QEvent::MouseMove, QPointF(centre), button->mapToGlobal(QPointF(centre)), Qt::NoButton,
                     Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(button, &move);
    ASSERT_GE(onButton.count(), 1);
    EXPECT_TRUE(onButton.at(0).at(0).toBool());
    EXPECT_TRUE(button->hoverActive());
    EXPECT_EQ(button->property("qb_TimerID").toInt(), 237);

    QTest::qWait(120);
    EXPECT_EQ(onButton.count(), 1) << "still over the button: the hover stays";

    QCursor::setPos(host.window.mapToGlobal(QPoint(250, 150)));
    QElapsedTimer left;
    left.start();
    ASSERT_TRUE(QTest::qWaitFor([&] { return onButton.count() == 2; }, 500));
    EXPECT_LE(left.elapsed(), 100);
    EXPECT_FALSE(onButton.at(1).at(0).toBool());
    EXPECT_FALSE(button->hoverActive());
    EXPECT_FALSE(button->pointerOver());
}

TEST(ButtonModes, optionButtonsFormOneGroupPerContainer)
{
    Host host;
    qbButtons_H *a = host.button("A", 10, 10);
    auto *b = host.button("B", 10, 40);
    qbButtons_H *c = host.button("C", 10, 70);
    QWidget other(&host.window);
    auto *elsewhere = new qbButtons_H(&other);
    for (qbButtons_H *button : {a, b, c, elsewhere})
        button->setMode(2);
    QWidget &window = host.window;
    EXPECT_EQ(window.property("qb_OptCount").toInt(), 3);
    EXPECT_EQ(other.property("qb_OptCount").toInt(), 1);

    QSignalSpy clickedC(c, &qbButtons_H::Click);
    elsewhere->setValue(true);
    QTest::mouseClick(a, Qt::LeftButton);
    QTest::mouseClick(c, Qt::LeftButton);
    EXPECT_FALSE(a->value());
    EXPECT_TRUE(c->value());
    EXPECT_TRUE(elsewhere->value()) << "another container's group is left alone";
    QTest::mouseClick(c, Qt::LeftButton);
    EXPECT_EQ(clickedC.count(), 1) << "clicking the selected option changes nothing";

    delete b;
    EXPECT_EQ(window.property("qb_OptCount").toInt(), 2);
    QTest::mouseClick(a, Qt::LeftButton);
    EXPECT_TRUE(a->value());
    EXPECT_FALSE(c->value()) << "the group still works after B is gone";

    a->setMode(0);
    c->setMode(1);
    EXPECT_FALSE(window.property("qb_OptCount").isValid()) << "the last one out removes the count";
}

} // namespace
