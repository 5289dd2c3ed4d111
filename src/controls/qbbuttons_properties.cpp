// The button's properties: ranges, refusals and what each accepted change sets off.
#include "controls/buttoncolors.h"
#include "controls/qbbuttons_h.h"
#include "platform/prompt.h"

#include <QCursor>
#include <QHash>
#include <QPointer>

namespace rr
{

using namespace buttoncolors;

namespace
{

// The character after the last "&" that does not belong to an "&&" pair.
QChar accessKeyOf(const QString &caption)
{
    QChar key;
    bool found = false;
    for (qsizetype i = 0; i < caption.size(); ++i) {
        if (caption.at(i) != QLatin1Char('&'))
            continue;
        if (i + 1 < caption.size() && caption.at(i + 1) == QLatin1Char('&')) {
            ++i;
            continue;
        }
        found = true;
        key = i + 1 < caption.size() ? caption.at(i + 1) : QChar();
        ++i;
    }
    return found ? key : QChar(0xFFFF);
}

bool inRange(int value, int low, int high)
{
    return value >= low && value <= high;
}

const QString kNewLine = QStringLiteral("\r\n");

} // namespace

void qbButtons_H::refuse(const QString &message)
{
    if (m_userMode)
        return;
    // Setters run inside event handlers too: the message waits for the event loop.
    QPointer<qbButtons_H> self(this);
    QTimer::singleShot(0, this, [self, message] {
        if (self)
            prompt::show(message, MsgButtons::Ok, MsgIcon::Information, QStringLiteral(" "));
    });
}

void qbButtons_H::setFlag(quint16 flag, bool on)
{
    if (on)
        m_stateFlags |= flag;
    else
        m_stateFlags &= quint16(~flag);
}

void qbButtons_H::setButtonStyle(int style)
{
    if (!inRange(style, 0, 7))
        return;
    const int old = m_buttonStyle;
    m_buttonStyle = style;
    if (((old == 5 || style == 5) && m_buttonShape < 7) || m_buttonShape < 4)
        createButtonRegion();
    layoutCaptionAndPicture();
    applyPropertyChange(QStringLiteral("BackColor"));
    redrawButton();
}

void qbButtons_H::setMode(int mode)
{
    if (!inRange(mode, 0, 2))
        return;
    if (m_mode == 2 && mode != 2)
        manageOptionGroup(GroupAction::Unregister);
    else if (mode == 2 && m_mode != 2)
        manageOptionGroup(GroupAction::Register);
    if (mode == 0 && m_mode != 0)
        setValue(false);
    m_mode = mode;
    redrawButton();
}

void qbButtons_H::setCaption(const QString &caption)
{
    const QChar key = accessKeyOf(caption);
    if (key == QChar(0xFFFF)) {
        // No single "&": the access key stays as it was.
    } else if (key.isNull() || key.isSpace()) {
        setShortcut(QKeySequence());
    } else {
        setShortcut(QKeySequence(QStringLiteral("Alt+") + key.toUpper()));
    }
    m_caption = caption;
    setAccessibleName(displayCaption().remove(QLatin1Char('&')));
    updateGeometry();
    layoutCaptionAndPicture();
    redrawButton();
}

void qbButtons_H::setCaptionAlign(int align)
{
    if (!inRange(align, 0, 2))
        return;
    if (align != 2 && m_pictureAlign >= 4 && hasPicture()) {
        refuse(QStringLiteral("When button images are aligned top/bottom center, ") + kNewLine +
               QStringLiteral("button captions can only be center aligned"));
        return;
    }
    m_captionAlign = align;
    layoutCaptionAndPicture();
    redrawButton();
}

void qbButtons_H::setCaptionStyle(int style)
{
    if (!inRange(style, 0, 2))
        return;
    m_captionStyle = style;
    if (!m_caption.isEmpty()) {
        layoutCaptionAndPicture();
        redrawButton();
    }
}

void qbButtons_H::setCustomClick(int direction)
{
    if (!inRange(direction, 0, 8))
        return;
    m_customClick = direction;
    if (direction >= 1 && m_buttonShape < 7)
        refuse(QStringLiteral("This property has no effect unless the Button Shape is a custom shape."));
}

void qbButtons_H::setButtonShape(int shape)
{
    if (!inRange(shape, 0, 8))
        return;
    if (shape >= 7) {
        if (!hasPicture() || m_pictureIsIcon == 1) {
            refuse(QStringLiteral("The Picture Property must be assigned first and must be a bitmap or JPEG."));
            return;
        }
        if (m_pictureSizePx != 48) {
            m_delayDrawing = true;
            setPictureSize(4);
            m_delayDrawing = false;
        }
    }
    m_buttonShape = shape;
    if (m_captionAlign != 2)
        setCaptionAlign(2);
    userControlResize();
    setDelayDrawing(false);
}

void qbButtons_H::setPicture(const QPixmap &picture, bool isIcon)
{
    m_picture = picture;
    m_pictureIsIcon = !picture.isNull() && isIcon ? 1 : 0;
    if (m_pictureSizePx == 0)
        m_pictureSizePx = 16;
    applyPropertyChange(QStringLiteral("Picture"));
    updateGeometry();
    if (m_buttonShape < 7) {
        layoutCaptionAndPicture(true);
        redrawButton();
        return;
    }
    if (picture.isNull()) {
        m_buttonShape = 0;
    } else if (m_pictureIsIcon == 1) {
        m_buttonShape = 0;
        refuse(QStringLiteral("Icons cannot be used for custom buttons. Only use bitmaps or JPEGs.") + kNewLine +
               QStringLiteral("Button was changed to Rectangular shaped."));
    }
    userControlResize();
}

void qbButtons_H::setPictureAlign(int align)
{
    if (!inRange(align, 0, 5))
        return;
    m_pictureAlign = align;
    if (align >= 4)
        setCaptionAlign(2);
    updateGeometry();
    layoutCaptionAndPicture();
    redrawButton();
}

void qbButtons_H::onEnabledChanged()
{
    if (m_buttonStyle == 3 && m_mode == 0 && m_buttonShape < 4) {
        m_delayDrawing = true;
        createButtonRegion();
        layoutCaptionAndPicture();
        setDelayDrawing(false);
    } else {
        redrawButton();
    }
}

void qbButtons_H::setShowFocusRect(bool show)
{
    m_showFocusRect = show;
    if (defaultLook()) {
        if (m_userMode) {
            setFlag(kDefaultLook, false);
            redrawButton();
        } else {
            refuse(QStringLiteral("The focus rectangle may appear on default buttons ONLY while in design mode, ") +
                   kNewLine + QStringLiteral("but will not appear when the form is running."));
        }
        return;
    }
    redrawButton();
}

void qbButtons_H::setValue(bool on)
{
    if (on && m_mode == 0) {
        refuse(QStringLiteral("This property is not applicable for command button modes."));
        return;
    }
    m_value = on;
    if (on && m_mode == 2)
        manageOptionGroup(GroupAction::Select);
    redrawButton();
}

void qbButtons_H::setPictureSize(int index)
{
    if (!inRange(index, 0, 4))
        return;
    if (m_buttonShape >= 7) {
        refuse(QStringLiteral("The picture size cannot be changed for Shaped buttons"));
        return;
    }
    m_pictureSizePx = (index + 2) * 8;
    updateGeometry();
    layoutCaptionAndPicture(true);
    redrawButton();
}

QColor qbButtons_H::BackColor() const
{
    return toQColor(translateColor(m_backColor));
}

QColor qbButtons_H::ForeColor() const
{
    return toQColor(translateColor(m_foreColor));
}

QColor qbButtons_H::GradientColor() const
{
    return toQColor(translateColor(m_gradientColor));
}

QColor qbButtons_H::HoverBackColor() const
{
    return toQColor(translateColor(m_hoverBackColor));
}

QColor qbButtons_H::HoverForeColor() const
{
    return toQColor(translateColor(m_hoverForeColor));
}

void qbButtons_H::setBackColor(const QColor &color)
{
    setBackColorValue(fromQColor(color));
}

void qbButtons_H::setForeColor(const QColor &color)
{
    setForeColorValue(fromQColor(color));
}

void qbButtons_H::setGradientColor(const QColor &color)
{
    setGradientColorValue(fromQColor(color));
}

void qbButtons_H::setHoverBackColor(const QColor &color)
{
    setHoverBackColorValue(fromQColor(color));
}

void qbButtons_H::setHoverForeColor(const QColor &color)
{
    setHoverForeColorValue(fromQColor(color));
}

void qbButtons_H::setForeColorValue(quint32 colour)
{
    if (colour == m_foreColor)
        return;
    m_foreColor = colour;
    if (m_hoverColorLocks == 0 || m_hoverColorLocks == 1)
        setHoverForeColorValue(colour);
    m_delayDrawing = false;
    redrawButton();
}

void qbButtons_H::setBackColorValue(quint32 colour)
{
    m_backColor = colour;
    if (m_hoverColorLocks == 0 || m_hoverColorLocks == 2)
        setHoverBackColorValue(m_gradientMode != 0 ? m_gradientColor : colour);
    applyPropertyChange(QStringLiteral("BackColor"));
    redrawButton();
}

void qbButtons_H::setGradientColorValue(quint32 colour)
{
    if ((m_hoverColorLocks == 0 || m_hoverColorLocks == 2) && m_gradientMode > 0)
        setHoverBackColorValue(colour);
    m_gradientColor = colour;
    applyPropertyChange(QStringLiteral("BackColor"));
    if (m_gradientMode != 0)
        redrawButton();
}

void qbButtons_H::setGradientMode(int mode)
{
    if (!inRange(mode, 0, 4))
        return;
    m_gradientMode = mode;
    if (m_hoverColorLocks == 0 || m_hoverColorLocks == 2) {
        setHoverBackColorValue(mode == 0 ? m_backColor : m_gradientColor);
        applyPropertyChange(QStringLiteral("BackColor"));
    }
    redrawButton();
}

void qbButtons_H::setResetDefaultColors(bool reset)
{
    if (!reset || m_userMode)
        return;
    m_delayDrawing = true;
    m_backColor = kButtonFace;
    setForeColorValue(kButtonText);
    m_delayDrawing = true;
    setGradientColorValue(kButtonFace);
    setGradientMode(0);
    setHoverColorLocks(0);
    applyPropertyChange(QStringLiteral("BackColor"));
    setDelayDrawing(false);
}

void qbButtons_H::setHoverColorLocks(int locks)
{
    m_hoverColorLocks = locks;
    if (locks == 0 || locks == 2)
        m_hoverBackColor = m_gradientMode != 0 ? m_gradientColor : m_backColor;
    if (locks == 0 || locks == 1)
        m_hoverForeColor = m_foreColor;
    applyPropertyChange(QStringLiteral("BackColor"));
}

void qbButtons_H::setHoverForeColorValue(quint32 colour)
{
    if (colour == m_hoverForeColor)
        return;
    m_hoverForeColor = colour;
    if (colour != m_foreColor) {
        if (m_hoverColorLocks == 0)
            m_hoverColorLocks = 2;
        else if (m_hoverColorLocks == 1)
            m_hoverColorLocks = 3;
    }
}

void qbButtons_H::setHoverBackColorValue(quint32 colour)
{
    if (colour == m_hoverBackColor)
        return;
    m_hoverBackColor = colour;
    if (colour != m_backColor) {
        if (m_hoverColorLocks == 0)
            m_hoverColorLocks = 1;
        else if (m_hoverColorLocks == 2)
            m_hoverColorLocks = 3;
    }
    applyPropertyChange(QStringLiteral("BackColor"));
}

void qbButtons_H::setMousePointer(int pointer)
{
    static const QHash<int, Qt::CursorShape> shapes = {
        {1, Qt::ArrowCursor},   {2, Qt::CrossCursor},      {3, Qt::IBeamCursor},   {4, Qt::ArrowCursor},
        {5, Qt::SizeAllCursor}, {6, Qt::SizeBDiagCursor},  {7, Qt::SizeVerCursor}, {8, Qt::SizeFDiagCursor},
        {9, Qt::SizeHorCursor}, {10, Qt::UpArrowCursor},   {11, Qt::WaitCursor},   {12, Qt::ForbiddenCursor},
        {13, Qt::BusyCursor},   {14, Qt::WhatsThisCursor}, {15, Qt::SizeAllCursor}};
    if (pointer == 99) {
        if (m_mouseIcon.isNull())
            unsetCursor();
        else
            setCursor(QCursor(m_mouseIcon));
    } else if (shapes.contains(pointer)) {
        setCursor(shapes.value(pointer));
    } else if (pointer == 0) {
        unsetCursor();
    } else {
        return;
    }
    m_mousePointer = pointer;
}

void qbButtons_H::setMouseIcon(const QPixmap &icon)
{
    m_mouseIcon = icon;
    if (!icon.isNull())
        setMousePointer(99);
    else if (m_mousePointer == 99)
        setMousePointer(0);
}

int qbButtons_H::FontStyle() const
{
    const QFont f = font();
    return (f.bold() ? 2 : 0) | (f.italic() ? 4 : 0) | (f.underline() ? 8 : 0);
}

void qbButtons_H::setFontStyle(int bits)
{
    QFont f = font();
    f.setBold(bits & 2);
    f.setItalic(bits & 4);
    f.setUnderline(bits & 8);
    setFont(f); // the font change runs the layout and the redraw
}

void qbButtons_H::setDelayDrawing(bool delay)
{
    m_delayDrawing = delay;
    if (!delay)
        Refresh();
}

void qbButtons_H::Refresh()
{
    m_delayDrawing = false;
    redrawButton();
}

void qbButtons_H::setDefaultLook(bool on)
{
    m_displayAsDefault = on;
    const QWidget *focus = window()->focusWidget();
    showAsDefault(focus == this || (on && !qobject_cast<const qbButtons_H *>(focus)));
}

void qbButtons_H::showAsDefault(bool asDefault)
{
    // The host's "display as default" shows only while focus outlines are allowed.
    setFlag(kDefaultLook, asDefault && (m_showFocusRect || !m_userMode));
    if (m_buttonShape >= 7 && !m_userMode) {
        const bool hover = m_hoverActive;
        m_hoverActive = defaultLook();
        redrawButton();
        m_hoverActive = hover;
        return;
    }
    redrawButton();
}

QString qbButtons_H::displayCaption() const
{
    QString text = m_caption;
    text.replace(QStringLiteral("||"), QStringLiteral("\n"));
    return text;
}

} // namespace rr
