#include "shell/panecontrols.h"

#include "controls/qbbuttons_h.h"
#include "platform/gui/columnfit.h"
#include "shell/twips.h"

#include <QCheckBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QTreeWidget>
#include <cmath>

namespace rr
{

QTreeWidget *makeReportList(QWidget *parent, const QString &name, const QStringList &columns)
{
    auto *list = new QTreeWidget(parent);
    list->setObjectName(name);
    list->setProperty("rrTypeName", QStringLiteral("ListView"));
    list->setRootIsDecorated(false);
    list->setUniformRowHeights(true);
    list->setAllColumnsShowFocus(true);
    list->setHeaderLabels(columns);
    list->header()->setStretchLastSection(false);
    list->header()->setSectionResizeMode(QHeaderView::Interactive);
    return list;
}

QTreeWidget *makeOneColumnTree(QWidget *parent, const QString &name)
{
    auto *tree = new QTreeWidget(parent);
    tree->setObjectName(name);
    tree->setProperty("rrTypeName", QStringLiteral("TreeView"));
    tree->setHeaderHidden(true);
    tree->setColumnCount(1);
    return tree;
}

qbButtons_H *makePaneButton(QWidget *parent, const QString &name, const QString &caption, double l, double t, double w,
                            double h)
{
    auto *button = new qbButtons_H(parent);
    button->setObjectName(name);
    button->setCaption(caption);
    twips::move(button, l, t, w, h);
    return button;
}

qbButtons_H *makeCommandButton(Commands &commands, QWidget *parent, const QString &name, const QString &caption,
                               double l, double t, double w, double h, HandlerRef command, int index)
{
    qbButtons_H *button = makePaneButton(parent, name, caption, l, t, w, h);
    QObject::connect(button, &qbButtons_H::Click, button, [&commands, command, index] { (commands.*command)(index); });
    return button;
}

QLabel *makeArrayLabel(QWidget *parent, Lbl index, const QString &caption, double l, double t, double w, double h)
{
    auto *label = new QLabel(caption, parent);
    label->setObjectName(QStringLiteral("lbl(%1)").arg(int(index)));
    label->setTextFormat(Qt::PlainText);
    twips::move(label, l, t, w, h);
    if (!caption.isEmpty() && label->sizeHint().width() > label->width())
        label->resize(label->sizeHint().width(), label->height());
    return label;
}

QLabel *makePictureBox(QWidget *parent, const QString &name, const QPixmap &picture, double l, double t, double w,
                       double h)
{
    auto *box = new QLabel(parent);
    box->setObjectName(name);
    box->setTextFormat(Qt::PlainText);
    box->setPixmap(picture);
    box->setAlignment(Qt::AlignCenter);
    twips::move(box, l, t, w, h);
    return box;
}

QCheckBox *makeCheckBox(QWidget *parent, const QString &name, const QString &caption, double l, double t, double w,
                        double h)
{
    auto *box = new QCheckBox(caption, parent);
    box->setObjectName(name);
    twips::move(box, l, t, w, h);
    return box;
}

QLineEdit *makeTextBox(QWidget *parent, const QString &name, double l, double t, double w, double h)
{
    auto *box = new QLineEdit(parent);
    box->setObjectName(name);
    twips::move(box, l, t, w, h);
    return box;
}

} // namespace rr
