// The button's properties in its host's design data, and the drawing values that only
// some property changes alter (picture size and kind, the face colours of each style).
#include "controls/buttoncolors.h"
#include "controls/qbbuttons_h.h"
#include "platform/textutil.h"

#include <QVariantMap>

namespace rr
{

using namespace buttoncolors;

QVariant ButtonDesignData::read(const QString &key, const QVariant &fallback) const
{
    return m_values.value(key.toLower(), fallback);
}

void ButtonDesignData::write(const QString &key, const QVariant &value, const QVariant &defaultValue)
{
    if (defaultValue.isValid() && value == defaultValue)
        return;
    if (!m_values.contains(key.toLower()))
        m_order.append(key);
    m_values.insert(key.toLower(), value);
}

void qbButtons_H::applyPropertyChange(const QString &what)
{
    if (sameText(what, QLatin1String("Picture"))) {
        if (m_picture.isNull()) {
            m_scaledPicture = QImage();
            m_pictureWidth = 0;
            m_pictureHeight = 0;
            return;
        }
        m_pictureWidth = m_picture.width();
        m_pictureHeight = m_picture.height();
        return;
    }
    if (!sameText(what, QLatin1String("BackColor")))
        return; // the caption font is the widget's own and needs no cache
    m_faceColor = m_shadowColor = translateColor(m_backColor);
    m_hoverFaceColor = translateColor(m_hoverBackColor);
    switch (m_buttonStyle) {
    case 2:
        m_faceColor = shade(m_faceColor, 48, true);
        m_shadowColor = shade(m_faceColor, -32, true);
        m_hoverFaceColor = shade(m_hoverFaceColor, 48, true);
        m_highlightColor = shade(kWhite, -32, true);
        break;
    case 3:
        m_shadowColor = shade(kGrey, 12);
        m_highlightColor = shade(m_shadowColor, 31);
        break;
    case 7:
        m_faceColor = shade(m_faceColor, 31);
        m_shadowColor = shade(kGrey, -16);
        m_hoverFaceColor = shade(m_hoverFaceColor, 31);
        m_highlightColor = shade(kGrey, 16, true);
        break;
    default:
        m_highlightColor = shade(kWhite, -32);
        break;
    }
}

void qbButtons_H::WriteProperties(ButtonDesignData &data) const
{
    const QVariant always;
    data.write(QStringLiteral("Caption"), m_caption, QString());
    data.write(QStringLiteral("CapAlign"), m_captionAlign, 2);
    data.write(QStringLiteral("BackStyle"), m_buttonStyle, 0);
    data.write(QStringLiteral("Shape"), m_buttonShape, 0);
    data.write(QStringLiteral("Font"), font().toString(), always);
    data.write(QStringLiteral("cFore"), m_foreColor, kButtonText);
    data.write(QStringLiteral("cFHover"), m_hoverForeColor, kButtonText);
    data.write(QStringLiteral("cBhover"), m_hoverBackColor, m_backColor);
    data.write(QStringLiteral("Focus"), m_showFocusRect, true);
    data.write(QStringLiteral("LockHover"), m_hoverColorLocks, 0);
    data.write(QStringLiteral("cGradient"), m_gradientColor, kButtonFace);
    data.write(QStringLiteral("Gradient"), m_gradientMode, 0);
    data.write(QStringLiteral("CapStyle"), m_captionStyle, 0);
    data.write(QStringLiteral("Mode"), m_mode, always);
    data.write(QStringLiteral("Value"), m_value, always);
    data.write(QStringLiteral("CustomClick"), m_customClick, 0);
    data.write(QStringLiteral("ImgAlign"), m_pictureAlign, 0);
    if (!m_picture.isNull())
        data.write(QStringLiteral("Image"),
                   QVariantMap{{QStringLiteral("picture"), m_picture}, {QStringLiteral("icon"), m_pictureIsIcon == 1}},
                   always);
    data.write(QStringLiteral("ImgSize"), pictureSizePx(), 16);
    data.write(QStringLiteral("Enabled"), isEnabled(), true);
    data.write(QStringLiteral("cBack"), m_backColor, always);
    data.write(QStringLiteral("mPointer"), m_mousePointer, 0);
    if (!m_mouseIcon.isNull())
        data.write(QStringLiteral("mIcon"), m_mouseIcon, always);
}

void qbButtons_H::ReadProperties(const ButtonDesignData &data, quint32 hostBackColor)
{
    if (m_mode == 2)
        manageOptionGroup(GroupAction::Unregister);
    setContainer(parentWidget());
    m_containerBackColor = translateColor(hostBackColor);
    m_delayDrawing = true;

    auto number = [&data](const char *key, qint64 fallback) {
        return data.read(QString::fromLatin1(key), fallback).toLongLong();
    };
    const QString caption = data.read(QStringLiteral("Caption"), QString()).toString();
    m_caption = caption;
    m_captionAlign = int(number("CapAlign", 2));
    m_buttonStyle = int(number("BackStyle", 0));
    m_buttonShape = int(number("Shape", 0));
    m_gradientMode = int(number("Gradient", 0));
    m_gradientColor = quint32(number("cGradient", kButtonFace));
    m_foreColor = quint32(number("cFore", kButtonText));
    const QString fontText = data.read(QStringLiteral("Font"), QString()).toString();
    if (!fontText.isEmpty()) {
        QFont f;
        if (f.fromString(fontText))
            setFont(f);
    }
    m_showFocusRect = data.read(QStringLiteral("Focus"), true).toBool();
    m_mode = int(number("Mode", 0));
    m_value = data.read(QStringLiteral("Value"), false).toBool();
    m_customClick = int(number("CustomClick", 0));
    const QVariantMap image = data.read(QStringLiteral("Image"), QVariantMap()).toMap();
    m_picture = image.value(QStringLiteral("picture")).value<QPixmap>();
    m_pictureIsIcon = !m_picture.isNull() && image.value(QStringLiteral("icon")).toBool() ? 1 : 0;
    m_pictureSizePx = int(number("ImgSize", 16));
    m_pictureAlign = int(number("ImgAlign", 0));
    m_hoverForeColor = quint32(number("cFHover", kButtonText));
    setEnabled(data.read(QStringLiteral("Enabled"), true).toBool());
    m_backColor = quint32(number("cBack", hostBackColor));
    m_hoverBackColor = quint32(number("cBHover", m_backColor));
    m_hoverColorLocks = int(number("LockHover", 0));
    m_captionStyle = int(number("CapStyle", 0));
    // The icon sets pointer 99; the pointer read after it has the last word.
    setMouseIcon(data.read(QStringLiteral("mIcon"), QPixmap()).value<QPixmap>());
    setMousePointer(int(number("mPointer", 0)));

    applyPropertyChange(QStringLiteral("Picture"));
    applyPropertyChange(QStringLiteral("BackColor"));
    setCaption(caption);
    if (m_mode == 2)
        manageOptionGroup(GroupAction::Register);
    m_delayDrawing = false;
    userControlResize();
}

} // namespace rr
