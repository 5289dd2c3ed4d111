#pragma once
// The system's own push button: hosts set its properties and handle only Click.
// It is drawn simply for now (flat face, optional gradient, picture and caption);
// the owner-drawn styles and shapes replace the drawing without changing this face.
//
// Caption rules: "&" marks the access key (the last "&" that is not part of "&&"),
// "&&" is a literal ampersand and "||" breaks the line.
#include <QAbstractButton>
#include <QColor>
#include <QPixmap>

namespace rr {

class qbButtons_H : public QAbstractButton {
    Q_OBJECT
public:
    explicit qbButtons_H(QWidget *parent = nullptr);

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
    // 0 rectangle .. 8; 7 and 8 are cut from the picture and need a picture that is not an icon.
    int ButtonShape() const { return m_buttonShape; }
    void setButtonShape(int shape);
    bool ShowFocusRect() const { return m_showFocusRect; }
    void setShowFocusRect(bool show);

    // 0 command button, 1 check button, 2 option button (one of its container's group).
    int Mode() const { return m_mode; }
    void setMode(int mode);
    // The on state of a check button or the selected state of an option button.
    bool value() const;
    void setValue(bool on);
    // 0..8: the one-pixel move of a custom-shaped button while pressed.
    int CustomClick() const { return m_customClick; }
    void setCustomClick(int direction);

    QPixmap Picture() const { return m_picture; }
    // isIcon: the picture is an icon or cursor (custom shapes refuse those).
    void setPicture(const QPixmap &picture, bool isIcon = false);
    // 0..5; 4 and 5 (top and bottom centre) force a centred caption.
    int PictureAlign() const { return m_pictureAlign; }
    void setPictureAlign(int align);
    // 0..4 for 16, 24, 32, 40 or 48 pixels.
    int PictureSize() const { return (m_pictureSizePx / 8) - 2; }
    void setPictureSize(int index);
    int pictureSizePx() const { return m_pictureSizePx; }

    QColor BackColor() const { return m_backColor; }
    void setBackColor(const QColor &color);
    QColor ForeColor() const { return m_foreColor; }
    void setForeColor(const QColor &color);
    QColor GradientColor() const { return m_gradientColor; }
    void setGradientColor(const QColor &color);
    // 0 plain, 1 left to right, 2 right to left, 3 top to bottom, 4 bottom to top.
    int GradientMode() const { return m_gradientMode; }
    void setGradientMode(int mode);
    QColor HoverBackColor() const { return m_hoverBackColor; }
    void setHoverBackColor(const QColor &color);
    QColor HoverForeColor() const { return m_hoverForeColor; }
    void setHoverForeColor(const QColor &color);
    // Which hover colour stays fixed when the plain colours change: 0 none, 1 back, 2 fore, 3 both.
    int HoverColorLocks() const { return m_hoverColorLocks; }
    void setHoverColorLocks(int locks);

    // Bits 2 bold, 4 italic, 8 underline of the caption font.
    int FontStyle() const;
    void setFontStyle(int bits);

    // While true, repaints are held back; setting false repaints once.
    void setDelayDrawing(bool delay);
    void Refresh();

    // Drawn as the host window's default button (Enter presses it).
    bool defaultLook() const { return m_defaultLook; }
    void setDefaultLook(bool on);
    bool pointerOver() const { return m_pointerOver; }

    // The caption as it is drawn: "||" as line breaks, access letter marks kept.
    QString displayCaption() const;

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

signals:
    void Click();

protected:
    void paintEvent(QPaintEvent *event) override;
    void enterEvent(QEnterEvent *event) override;
    void leaveEvent(QEvent *event) override;
    void changeEvent(QEvent *event) override;

private:
    void redraw();
    QColor faceColor() const;
    QColor textColor() const;
    QRect pictureRect(const QRect &content, const QSize &textSize) const;

    QString m_caption;
    int m_captionAlign = 2;
    int m_captionStyle = 0;
    int m_buttonStyle = 2;
    int m_buttonShape = 0;
    bool m_showFocusRect = true;
    int m_mode = 0;
    int m_customClick = 0;
    QPixmap m_picture;
    bool m_pictureIsIcon = false;
    int m_pictureAlign = 0;
    int m_pictureSizePx = 16;
    QColor m_backColor;
    QColor m_foreColor;
    QColor m_gradientColor;
    int m_gradientMode = 0;
    QColor m_hoverBackColor;
    QColor m_hoverForeColor;
    int m_hoverColorLocks = 0;
    bool m_delayDrawing = false;
    bool m_defaultLook = false;
    bool m_pointerOver = false;
};

} // namespace rr
