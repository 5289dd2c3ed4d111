#include "storage/ui/buttondialog.h"

#include "controls/qbbuttons_h.h"

#include <QKeyEvent>
#include <QLabel>
#include <cmath>

namespace rr
{

ButtonDialog::ButtonDialog(QWidget *parent) : QDialog(parent)
{
    setModal(true);
}

void ButtonDialog::setDefaultButton(qbButtons_H *button)
{
    const QList<qbButtons_H *> buttons = findChildren<qbButtons_H *>();
    for (qbButtons_H *b : buttons)
        b->setDefaultLook(b == button);
    m_default = button;
}

void ButtonDialog::setAcceptState(qbButtons_H *accept, qbButtons_H *fallback, bool accepted)
{
    accept->setEnabled(accepted);
    setDefaultButton(accepted ? accept : fallback);
}

qbButtons_H *ButtonDialog::makeButton(const QString &objectName, const QString &caption, QStyle::StandardPixmap picture)
{
    auto *button = new qbButtons_H(this);
    button->setObjectName(objectName);
    button->setCaption(caption);
    button->setPicture(style()->standardIcon(picture).pixmap(16, 16), true);
    return button;
}

QLabel *ButtonDialog::makeLabel(const QString &objectName, const QString &text)
{
    auto *label = new QLabel(text, this);
    label->setObjectName(objectName);
    label->setTextFormat(Qt::PlainText);
    return label;
}

int ButtonDialog::px(double twips)
{
    return twips <= 0 ? 0 : int(std::lround(twips / 15.0));
}

int ButtonDialog::lineHeightTwips(int fontSize)
{
    if (fontSize == 11)
        return 320;
    if (fontSize == 10)
        return 280;
    return 220;
}

void ButtonDialog::keyPressEvent(QKeyEvent *event)
{
    if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) &&
        (event->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier) {
        if (m_default && m_default->isEnabled() && m_default->isVisible())
            m_default->click();
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

} // namespace rr
