#pragma once
// The system's own push, check and option button. Hosts set its properties and handle
// only Click; the other events exist for hosts that want them.
//
// Caption rules: "&" marks the access key (the last "&" that is not part of "&&"),
// "&&" is a literal ampersand and "||" breaks the line.
//
// The button composes every picture on its own surface and shows it in one copy; its
// window takes one of nine shapes through a mask. Colours are kept as 32-bit values
// with red in the low byte; a value with the top bit set names a system colour
// (buttoncolors.h). Out-of-range property values are ignored: nothing changes.
//
// The source is split by concern: qbbuttons_properties.cpp (set operations),
// qbbuttons_input.cpp (mouse, keys, hover, option groups), qbbuttons_layout.cpp
// (redraw, caption and picture layout), qbbuttons_shapes.cpp (window shapes and
// pictures), qbbuttons_background.cpp (faces, gradients, bevels, focus outline),
// qbbuttons_styles.cpp (the eight looks), qbbuttons_design.cpp (design data, caches).
#include <QAbstractButton>
#include <QColor>
#include <QHash>
#include <QPixmap>
#include <QPointer>
#include <QTimer>
#include <QVariant>
#include <array>
#include <memory>
#include <optional>

namespace rr
{

class ButtonSurface;

// A host window's design data for one button: typed values by key, keys compared
// without regard to letter case; a value equal to its key's default is not written.
class ButtonDesignData
{
public:
    QVariant read(const QString &key, const QVariant &fallback) const;
    void write(const QString &key, const QVariant &value, const QVariant &defaultValue);
    bool contains(const QString &key) const { return m_values.contains(key.toLower()); }
    QStringList keys() const { return m_order; }

private:
    QHash<QString, QVariant> m_values;
    QStringList m_order;
};

class qbButtons_H : public QAbstractButton
{
    Q_OBJECT
public:
    explicit qbButtons_H(QWidget *parent = nullptr);
    ~qbButtons_H() override;

    QString Caption() const { return m_caption; }
    void setCaption(const QString &caption);

    // 0 left, 1 right, 2 centred.
    int CaptionAlign() const { return m_captionAlign; }
    void setCaptionAlign(int align);
    // 0 flat, 1 embossed, 2 engraved.
    int CaptionStyle() const { return m_captionStyle; }
    void setCaptionStyle(int style);
    // 0..7: which of the style renderers draws the button.
    int ButtonStyle() const { return m_buttonStyle; }
    void setButtonStyle(int style);
    // 0 rectangle, 1..3 slanted sides, 4..6 ellipses, 7 and 8 cut from the picture
    // (those need a picture that is not an icon).
    int ButtonShape() const { return m_buttonShape; }
    void setButtonShape(int shape);
    bool ShowFocusRect() const { return m_showFocusRect; }
    void setShowFocusRect(bool show);

    // 0 command button, 1 check button, 2 option button (one of its container's group).
    int Mode() const { return m_mode; }
    void setMode(int mode);
    // The on state of a check button or the selected state of an option button.
    bool value() const { return m_value; }
    void setValue(bool on);
    // 0..8: the one-pixel move of a custom-shaped button while pressed.
    int CustomClick() const { return m_customClick; }
    void setCustomClick(int direction);

    QPixmap Picture() const { return m_picture; }
    // isIcon: the picture is an icon or cursor, drawn with its own transparency;
    // custom shapes refuse those.
    void setPicture(const QPixmap &picture, bool isIcon = false);
    bool pictureIsIcon() const { return m_pictureIsIcon == 1; }
    // 0..5; 4 and 5 (top and bottom centre) force a centred caption.
    int PictureAlign() const { return m_pictureAlign; }
    void setPictureAlign(int align);
    // 0..4 for 16, 24, 32, 40 (fill the face) or 48 (fit the face) pixels.
    int PictureSize() const { return (pictureSizePx() / 8) - 2; }
    void setPictureSize(int index);
    int pictureSizePx() const { return m_pictureSizePx == 0 ? 16 : m_pictureSizePx; }

    QColor BackColor() const;
    void setBackColor(const QColor &color);
    QColor ForeColor() const;
    void setForeColor(const QColor &color);
    QColor GradientColor() const;
    void setGradientColor(const QColor &color);
    // 0 plain, 1 left to right, 2 right to left, 3 top to bottom, 4 bottom to top.
    int GradientMode() const { return m_gradientMode; }
    void setGradientMode(int mode);
    QColor HoverBackColor() const;
    void setHoverBackColor(const QColor &color);
    QColor HoverForeColor() const;
    void setHoverForeColor(const QColor &color);
    // Which hover colour stays fixed when the plain colours change: 0 none, 1 back, 2 fore, 3 both.
    int HoverColorLocks() const { return m_hoverColorLocks; }
    void setHoverColorLocks(int locks);
    // The same colours as stored: RGB with red in the low byte, or a system colour.
    quint32 backColorValue() const { return m_backColor; }
    void setBackColorValue(quint32 colour);
    void setForeColorValue(quint32 colour);
    void setGradientColorValue(quint32 colour);
    void setHoverBackColorValue(quint32 colour);
    void setHoverForeColorValue(quint32 colour);
    // Sets the standard face and text colours again and unlocks the hover colours;
    // acts only in design mode.
    void setResetDefaultColors(bool reset);

    // The pointer over the button: 0 default, 1 arrow, 2 cross, 3 text beam, 5 and 15
    // size all, 6 to 9 the sizing arrows, 10 up arrow, 11 busy, 12 no drop, 13 arrow and
    // busy, 14 arrow and question mark, 99 the MouseIcon.
    int MousePointer() const { return m_mousePointer; }
    void setMousePointer(int pointer);
    QPixmap MouseIcon() const { return m_mouseIcon; }
    // A picture for the custom pointer; setting one also sets MousePointer 99.
    void setMouseIcon(const QPixmap &icon);

    // Bits 2 bold, 4 italic, 8 underline of the caption font.
    int FontStyle() const;
    void setFontStyle(int bits);

    // While true, repaints are held back; setting false repaints once.
    void setDelayDrawing(bool delay);
    void Refresh();

    // Drawn as the window's default button: the host's default while no other button
    // of the window has the keyboard focus, or the button that has it.
    bool defaultLook() const { return (m_stateFlags & kDefaultLook) != 0; }
    // The host's default button (Enter presses it while the focus is on no button).
    void setDefaultLook(bool on);
    // The host's cancel button: Esc presses it.
    bool isCancel() const { return m_cancel; }
    void setCancel(bool on) { m_cancel = on; }
    bool pointerOver() const { return (m_stateFlags & kPointerOver) != 0; }
    bool hoverActive() const { return m_hoverActive; }
    // False while the host window is being designed: refusals are then explained.
    bool userMode() const { return m_userMode; }
    void setUserMode(bool on) { m_userMode = on; }

    // The host delivers the button's access key, and Enter (13) or Esc (27) to its
    // default or cancel button.
    void AccessKeyPress(int keyAscii);
    // Enter or Esc pressed in a host window, given to its default or cancel button;
    // false when the window has no such button shown and enabled.
    static bool deliverHostKey(QWidget *window, int keyAscii);

    // The caption as it is drawn: "||" as line breaks, access letter marks kept.
    QString displayCaption() const;

    void WriteProperties(ButtonDesignData &data) const;
    void ReadProperties(const ButtonDesignData &data, quint32 hostBackColor = 0x8000000F);

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

signals:
    void MouseDown(int button, int shift, float x, float y);
    void MouseUp(int button, int shift, float x, float y);
    void MouseMove(int button, int shift, float x, float y);
    void KeyDown(int keyCode, int shift);
    void KeyPress(int keyAscii);
    void KeyUp(int keyCode, int shift);
    // True when the pointer arrives, false when it leaves.
    void MouseOnButton(bool onButton);
    void Click();
    void DoubleClick(int button);

protected:
    bool event(QEvent *event) override;
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void keyReleaseEvent(QKeyEvent *event) override;
    void focusInEvent(QFocusEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;
    void changeEvent(QEvent *event) override;
    bool hitButton(const QPoint &pos) const override;

private:
    static constexpr quint16 kDefaultLook = 1;
    static constexpr quint16 kHeldDown = 2;
    static constexpr quint16 kPointerOver = 4;
    static constexpr quint16 kPressShifted = 1024;

    struct RendererTables {
        std::array<QPoint, 16> points{};
        std::array<qint64, 13> colours{}; // index 1..12; negative: no line
    };

    // properties
    void refuse(const QString &message);
    bool hasPicture() const { return m_pictureWidth + m_pictureHeight > 0; }
    bool pressedLook() const { return (m_stateFlags & (kHeldDown | kPointerOver)) == (kHeldDown | kPointerOver); }
    void setFlag(quint16 flag, bool on);
    // The look of the window's default button (the platform's "display as default").
    void showAsDefault(bool asDefault);
    static void showWindowDefault(QWidget *window, const QWidget *focus);
    void onEnabledChanged();

    // input and option groups
    void userControlClick();
    void startHover();
    void checkHoverExit();
    bool pointerOnOwnWindow() const;
    enum class GroupAction { Unregister = -1, Select = 0, Register = 1, Query = 2 };
    bool manageOptionGroup(GroupAction action);
    bool applyCustomClickOffset();
    void setContainer(QWidget *container);
    void mouseDown(int button, int shift, QPointF pos);

    // redraw and layout
    void redrawButton();
    void prepareDrawBuffer(bool create);
    void layoutCaptionAndPicture(bool rebuildPicture = false);
    void drawButtonCaption(quint32 baseColour, qint64 textColour, bool pressed, bool &skipGreyPass);
    void userControlResize();

    // shapes and pictures
    void createButtonRegion();
    QSize fitPictureSize(int maxWidth, int maxHeight) const;
    void regionFromPicture(int width, int height, QRegion *region);
    int frameButtonRegion();
    void drawButtonPicture(QRect rect);
    QImage transparentBlit(const QRect &dstRect, int &width, int &height) const;
    void trimCorners(QRegion &region, bool left, bool right) const;
    void paintVerticalRamp(quint32 top, quint32 bottom);

    // background, gradients, bevels
    void drawButtonBackground(quint32 faceColour, int &drawState, int &drawResult, qint64 &gradientColour,
                              qint64 &hoverColour);
    void gradientFill(quint32 colourA, quint32 colourB);
    void drawBevelEdges(RendererTables &t, int outerPenStyle);
    void drawFocusOutline(qint64 outlineColour, bool solid, bool ellipse, RendererTables &t);
    void drawRectangle(int left, int top, int right, int bottom, quint32 fill);

    // style renderers
    void drawStyleCommon(int style, RendererTables &t, int &drawState, int &drawResult);
    void drawStyle2(RendererTables &t, int &drawState, int &drawResult);
    void drawStyle3(RendererTables &t, int &drawState, int &drawResult);
    void drawStyle7(RendererTables &t, int &drawState, int &drawResult);
    void shapeTail(RendererTables &t, int &drawResult);

    // design data and caches
    void applyPropertyChange(const QString &what);
    int width0() const;
    int height0() const;

    QString m_caption;
    int m_captionAlign = 2;
    int m_captionStyle = 0;
    int m_buttonStyle = 2;
    int m_buttonShape = 0;
    bool m_showFocusRect = true;
    quint32 m_hoverBackColor = 0x8000000F;
    quint32 m_hoverForeColor = 0x80000012;
    int m_hoverColorLocks = 0;
    int m_gradientMode = 0;
    quint32 m_gradientColor = 0x8000000F;
    int m_mode = 0;
    bool m_value = false;
    int m_customClick = 0;
    QPixmap m_picture;
    QImage m_scaledPicture;
    int m_scaledWidth = 0;
    int m_scaledHeight = 0;
    int m_pictureAlign = 0;
    int m_pictureSizePx = 16;
    int m_pictureWidth = 0;
    int m_pictureHeight = 0;
    int m_pictureIsIcon = 0;
    bool m_delayDrawing = false;
    quint32 m_backColor = 0x8000000F;
    quint32 m_foreColor = 0x80000012;
    quint32 m_faceColor = 0;
    quint32 m_shadowColor = 0;
    quint32 m_hoverFaceColor = 0;
    quint32 m_highlightColor = 0;
    quint32 m_containerBackColor = 0;
    quint16 m_stateFlags = 0;
    int m_lastButton = 0;
    bool m_hoverActive = false;
    bool m_showPressed = false;
    bool m_doubleClickHeld = false;
    bool m_userMode = true;
    bool m_cancel = false;
    bool m_displayAsDefault = false;
    int m_mousePointer = 0;
    QPixmap m_mouseIcon;

    std::unique_ptr<ButtonSurface> m_surface;
    QImage m_shown;
    QRect m_captionRect;
    QRect m_pictureRect;
    int m_shapeInset = 0;
    int m_shapeRight = 0;
    std::optional<QRegion> m_faceRegion;
    std::optional<QRegion> m_innerRegion;
    QRegion m_windowRegion;
    QTimer m_hoverTimer;
    QPointer<QWidget> m_containerWindow;
};

} // namespace rr
