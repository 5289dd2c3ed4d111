#pragma once
// The controls the preview and the Web Aspect make, at their design places (twips,
// relative to their container); the frame's layout rules move them from there.
#include "controls/qbbuttons_h.h"
#include "platform/gui/commands.h"
#include "shell/twips.h"

#include <QCheckBox>
#include <QLineEdit>

namespace rr::panecontrols
{

// A button that runs command, with index, through the window's commands: the
// prologue and the edit question come first, as for every pane button.
inline qbButtons_H *button(QWidget *parent, const QString &name, const QString &caption, QRect twips,
                           Commands &commands, HandlerRef command, int index)
{
    auto *made = new qbButtons_H(parent);
    made->setObjectName(name);
    made->setCaption(caption);
    twips::move(made, twips.x(), twips.y(), twips.width(), twips.height());
    QObject::connect(made, &qbButtons_H::Click, made, [&commands, command, index] { (commands.*command)(index); });
    return made;
}

// A check box whose click runs command through the window's commands.
inline QCheckBox *checkBox(QWidget *parent, const QString &name, const QString &caption, QRect twips,
                           Commands &commands, HandlerRef command)
{
    auto *box = new QCheckBox(caption, parent);
    box->setObjectName(name);
    twips::move(box, twips.x(), twips.y(), twips.width(), twips.height());
    QObject::connect(box, &QCheckBox::clicked, box, [&commands, command] { (commands.*command)(0); });
    return box;
}

inline QLineEdit *textBox(QWidget *parent, const QString &name, QRect twips)
{
    auto *box = new QLineEdit(parent);
    box->setObjectName(name);
    twips::move(box, twips.x(), twips.y(), twips.width(), twips.height());
    return box;
}

} // namespace rr::panecontrols
