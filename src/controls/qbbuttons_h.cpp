#include "controls/qbbuttons_h.h"

#include <QEnterEvent>
#include <QLinearGradient>
#include <QPainter>
#include <QStyle>
#include <QStyleOptionFocusRect>

namespace rr {
namespace {

constexpr int kMargin = 4;
constexpr int kSpacing = 3;

// The character after the last "&" that does not belong to an "&&" pair.
QChar accessKeyOf(const QString &caption)
{
    QChar key;
    for (qsizetype i = 0; i < caption.size(); ++i) {
        if (caption.at(i) != QLatin1Char('&'))
            continue;
        if (i + 1 < caption.size() && caption.at(i + 1) == QLatin1Char('&')) {
            ++i;
            continue;
        }
        if (i + 1 < caption.size()) {
            key = caption.at(i + 1);
            ++i;
        }
    }
    return key;
}

bool inRange(int value, int low, int high)
{
    return value >= low && value <= high;
}

} // namespace

qbButtons_H::qbButtons_H(QWidget *parent) : QAbstractButton(parent)
{
    m_backColor = palette().color(QPalette::Button);
    m_foreColor = palette().color(QPalette::ButtonText);
    m_gradientColor = m_backColor;
    m_hoverBackColor = m_backColor;
    m_hoverForeColor = m_foreColor;
    setFocusPolicy(Qt::StrongFocus);
    setAttribute(Qt::WA_Hover);
    connect(this, &QAbstractButton::clicked, this, &qbButtons_H::Click);
}

void qbButtons_H::setCaption(const QString &caption)
{
    const QChar key = accessKeyOf(caption);
    if (!key.isNull())
        setShortcut(QKeySequence(QStringLiteral("Alt+") + key.toUpper()));
    m_caption = caption;
    setAccessibleName(displayCaption());
    updateGeometry();
    redraw();
}

void qbButtons_H::setCaptionAlign(int align)
{
    if (!inRange(align, 0, 2))
        return;
    const bool hasPicture = !m_picture.isNull();
    if (align != 2 && m_pictureAlign >= 4 && hasPicture)
        return;
    m_captionAlign = align;
    redraw();
}

void qbButtons_H::setCaptionStyle(int style)
{
    if (!inRange(style, 0, 2))
        return;
    m_captionStyle = style;
    if (!m_caption.isEmpty())
        redraw();
}

void qbButtons_H::setButtonStyle(int style)
{
    if (!inRange(style, 0, 7))
        return;
    m_buttonStyle = style;
    redraw();
}

void qbButtons_H::setButtonShape(int shape)
{
    if (!inRange(shape, 0, 8))
        return;
    if (shape >= 7) {
        if (m_picture.isNull() || m_pictureIsIcon)
            return;
        if (m_pictureSizePx != 48)
            m_pictureSizePx = 48;
    }
    m_buttonShape = shape;
    m_captionAlign = 2;
    updateGeometry();
    redraw();
}

void qbButtons_H::setShowFocusRect(bool show)
{
    m_showFocusRect = show;
    if (m_defaultLook)
        m_defaultLook = false;
    redraw();
}

void qbButtons_H::setMode(int mode)
{
    if (!inRange(mode, 0, 2))
        return;
    if (mode == 0 && m_mode != 0)
        setValue(false);
    m_mode = mode;
    setCheckable(mode != 0);
    setAutoExclusive(mode == 2);
    redraw();
}

bool qbButtons_H::value() const
{
    return m_mode != 0 && isChecked();
}

void qbButtons_H::setValue(bool on)
{
    if (on && m_mode == 0)
        return;
    if (!on && autoExclusive()) {
        // An exclusive group refuses to clear its checked member; the property allows it.
        setAutoExclusive(false);
        setChecked(false);
        setAutoExclusive(true);
    } else {
        setChecked(on);
    }
    redraw();
}

void qbButtons_H::setCustomClick(int direction)
{
    if (inRange(direction, 0, 8))
        m_customClick = direction;
}

void qbButtons_H::setPicture(const QPixmap &picture, bool isIcon)
{
    m_picture = picture;
    m_pictureIsIcon = !picture.isNull() && isIcon;
    if (m_pictureSizePx == 0)
        m_pictureSizePx = 16;
    if (m_buttonShape >= 7 && (picture.isNull() || m_pictureIsIcon))
        m_buttonShape = 0;
    updateGeometry();
    redraw();
}

void qbButtons_H::setPictureAlign(int align)
{
    if (!inRange(align, 0, 5))
        return;
    m_pictureAlign = align;
    if (align >= 4)
        setCaptionAlign(2);
    updateGeometry();
    redraw();
}

void qbButtons_H::setPictureSize(int index)
{
    if (!inRange(index, 0, 4) || m_buttonShape >= 7)
        return;
    m_pictureSizePx = (index + 2) * 8;
    updateGeometry();
    redraw();
}

void qbButtons_H::setBackColor(const QColor &color)
{
    m_backColor = color;
    if (m_hoverColorLocks == 0 || m_hoverColorLocks == 2)
        setHoverBackColor(m_gradientMode != 0 ? m_gradientColor : color);
    redraw();
}

void qbButtons_H::setForeColor(const QColor &color)
{
    if (color == m_foreColor)
        return;
    m_foreColor = color;
    if (m_hoverColorLocks == 0 || m_hoverColorLocks == 1)
        setHoverForeColor(color);
    m_delayDrawing = false;
    redraw();
}

void qbButtons_H::setGradientColor(const QColor &color)
{
    if ((m_hoverColorLocks == 0 || m_hoverColorLocks == 2) && m_gradientMode > 0)
        setHoverBackColor(color);
    m_gradientColor = color;
    if (m_gradientMode != 0)
        redraw();
}

void qbButtons_H::setGradientMode(int mode)
{
    if (!inRange(mode, 0, 4))
        return;
    m_gradientMode = mode;
    if (m_hoverColorLocks == 0 || m_hoverColorLocks == 2)
        setHoverBackColor(mode == 0 ? m_backColor : m_gradientColor);
    redraw();
}

void qbButtons_H::setHoverBackColor(const QColor &color)
{
    if (color == m_hoverBackColor)
        return;
    m_hoverBackColor = color;
    if (color != m_backColor) {
        if (m_hoverColorLocks == 0)
            m_hoverColorLocks = 1;
        else if (m_hoverColorLocks == 2)
            m_hoverColorLocks = 3;
    }
    redraw();
}

void qbButtons_H::setHoverForeColor(const QColor &color)
{
    if (color == m_hoverForeColor)
        return;
    m_hoverForeColor = color;
    if (color != m_foreColor) {
        if (m_hoverColorLocks == 0)
            m_hoverColorLocks = 2;
        else if (m_hoverColorLocks == 1)
            m_hoverColorLocks = 3;
    }
    redraw();
}

void qbButtons_H::setHoverColorLocks(int locks)
{
    m_hoverColorLocks = locks;
    if (locks == 0 || locks == 2)
        m_hoverBackColor = m_gradientMode != 0 ? m_gradientColor : m_backColor;
    if (locks == 0 || locks == 1)
        m_hoverForeColor = m_foreColor;
    redraw();
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
    setFont(f);
    updateGeometry();
    redraw();
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
    update();
}

void qbButtons_H::setDefaultLook(bool on)
{
    if (m_defaultLook == on)
        return;
    m_defaultLook = on;
    redraw();
}

QString qbButtons_H::displayCaption() const
{
    QString text = m_caption;
    text.replace(QStringLiteral("||"), QStringLiteral("\n"));
    return text;
}

void qbButtons_H::redraw()
{
    if (!m_delayDrawing)
        update();
}

QColor qbButtons_H::faceColor() const
{
    return m_pointerOver && isEnabled() ? m_hoverBackColor : m_backColor;
}

QColor qbButtons_H::textColor() const
{
    if (!isEnabled())
        return palette().color(QPalette::Disabled, QPalette::ButtonText);
    return m_pointerOver ? m_hoverForeColor : m_foreColor;
}

QSize qbButtons_H::sizeHint() const
{
    const QFontMetrics fm(font());
    const QSize text = fm.size(Qt::TextShowMnemonic, displayCaption());
    QSize size = text;
    if (!m_picture.isNull()) {
        const int edge = m_pictureSizePx;
        if (m_pictureAlign >= 4)
            size = QSize(qMax(text.width(), edge), text.height() + edge + kSpacing);
        else
            size = QSize(text.width() + edge + kSpacing, qMax(text.height(), edge));
    }
    return size + QSize(2 * kMargin + 6, 2 * kMargin);
}

QSize qbButtons_H::minimumSizeHint() const
{
    return QSize(2 * kMargin, 2 * kMargin);
}

QRect qbButtons_H::pictureRect(const QRect &content, const QSize &textSize) const
{
    const int edge = m_pictureSizePx;
    const bool noText = m_caption.isEmpty();
    switch (m_pictureAlign) {
    case 4: {
        const int top =
            noText ? content.center().y() - edge / 2 : content.center().y() - (edge + kSpacing + textSize.height()) / 2;
        return QRect(content.center().x() - edge / 2, top, edge, edge);
    }
    case 5: {
        const int top =
            noText ? content.center().y() - edge / 2 : content.center().y() + (textSize.height() + kSpacing - edge) / 2;
        return QRect(content.center().x() - edge / 2, top, edge, edge);
    }
    case 1:
    case 3:
        return QRect(content.right() - edge + 1, content.center().y() - edge / 2, edge, edge);
    default:
        if (noText)
            return QRect(content.center().x() - edge / 2, content.center().y() - edge / 2, edge, edge);
        return QRect(content.left(), content.center().y() - edge / 2, edge, edge);
    }
}

void qbButtons_H::paintEvent(QPaintEvent *)
{
    if (m_delayDrawing)
        return;
    QPainter p(this);
    const QRect r = rect();
    const bool sunken = isDown() || (m_mode != 0 && isChecked());

    QColor face = faceColor();
    if (m_gradientMode != 0 && !(m_pointerOver && isEnabled())) {
        QLinearGradient g;
        switch (m_gradientMode) {
        case 1:
            g = QLinearGradient(r.topLeft(), r.topRight());
            break;
        case 2:
            g = QLinearGradient(r.topRight(), r.topLeft());
            break;
        case 3:
            g = QLinearGradient(r.topLeft(), r.bottomLeft());
            break;
        default:
            g = QLinearGradient(r.bottomLeft(), r.topLeft());
            break;
        }
        g.setColorAt(0, m_backColor);
        g.setColorAt(1, m_gradientColor);
        p.fillRect(r, g);
    } else {
        p.fillRect(r, sunken ? face.darker(110) : face);
    }

    const QColor light = palette().color(QPalette::Light);
    const QColor dark = palette().color(QPalette::Dark);
    p.setPen(sunken ? dark : light);
    p.drawLine(r.topLeft(), r.topRight());
    p.drawLine(r.topLeft(), r.bottomLeft());
    p.setPen(sunken ? light : dark);
    p.drawLine(r.bottomLeft(), r.bottomRight());
    p.drawLine(r.topRight(), r.bottomRight());
    if (m_defaultLook) {
        p.setPen(palette().color(QPalette::Shadow));
        p.drawRect(r.adjusted(0, 0, -1, -1));
    }

    QRect content = r.adjusted(kMargin, kMargin, -kMargin, -kMargin);
    if (sunken)
        content.translate(1, 1);
    const QString text = displayCaption();
    const QSize textSize = QFontMetrics(font()).size(Qt::TextShowMnemonic, text);

    QRect textRect = content;
    if (!m_picture.isNull()) {
        const QRect pic = pictureRect(content, textSize);
        const QPixmap scaled = m_picture.scaled(pic.size(), Qt::KeepAspectRatio, Qt::SmoothTransformation);
        if (isEnabled()) {
            p.drawPixmap(pic.topLeft(), scaled);
        } else {
            QStyleOption opt;
            opt.initFrom(this);
            p.drawPixmap(pic.topLeft(), style()->generatedIconPixmap(QIcon::Disabled, scaled, &opt));
        }
        switch (m_pictureAlign) {
        case 4:
            textRect.setTop(pic.bottom() + kSpacing);
            break;
        case 5:
            textRect.setBottom(pic.top() - kSpacing);
            break;
        case 1:
        case 3:
            textRect.setRight(pic.left() - kSpacing);
            break;
        default:
            textRect.setLeft(pic.right() + kSpacing);
            break;
        }
    }

    if (!text.isEmpty()) {
        int flags = Qt::TextShowMnemonic | Qt::AlignVCenter;
        flags |= m_captionAlign == 0 ? Qt::AlignLeft : m_captionAlign == 1 ? Qt::AlignRight : Qt::AlignHCenter;
        if (m_pictureAlign == 4)
            flags = (flags & ~Qt::AlignVCenter) | Qt::AlignTop;
        else if (m_pictureAlign == 5)
            flags = (flags & ~Qt::AlignVCenter) | Qt::AlignBottom;
        if (m_captionStyle != 0 && isEnabled()) {
            p.setPen(m_captionStyle == 1 ? light : dark);
            p.drawText(textRect.translated(1, 1), flags, text);
        }
        p.setPen(textColor());
        p.drawText(textRect, flags, text);
    }

    if (hasFocus() && m_showFocusRect) {
        QStyleOptionFocusRect focus;
        focus.initFrom(this);
        focus.rect = r.adjusted(3, 3, -3, -3);
        style()->drawPrimitive(QStyle::PE_FrameFocusRect, &focus, &p, this);
    }
}

void qbButtons_H::enterEvent(QEnterEvent *event)
{
    m_pointerOver = true;
    redraw();
    QAbstractButton::enterEvent(event);
}

void qbButtons_H::leaveEvent(QEvent *event)
{
    m_pointerOver = false;
    redraw();
    QAbstractButton::leaveEvent(event);
}

void qbButtons_H::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::EnabledChange || event->type() == QEvent::FontChange)
        redraw();
    QAbstractButton::changeEvent(event);
}

} // namespace rr
