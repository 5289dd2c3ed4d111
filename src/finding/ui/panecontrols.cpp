#include "finding/ui/panecontrols.h"

#include "controls/qbbuttons_h.h"
#include "shell/twips.h"

#include <QCheckBox>
#include <QHeaderView>
#include <QLabel>
#include <QTabBar>
#include <QTreeWidget>

namespace rr::findingui
{

QLabel *makeLabel(QWidget *parent, Lbl index, const QString &caption, double l, double t, double w, double h)
{
    auto *label = new QLabel(caption, parent);
    label->setObjectName(QStringLiteral("lbl(%1)").arg(int(index)));
    label->setTextFormat(Qt::PlainText);
    twips::move(label, l, t, w, h);
    if (!caption.isEmpty() && label->sizeHint().width() > label->width())
        label->resize(label->sizeHint().width(), label->height());
    return label;
}

qbButtons_H *makeButton(Commands &commands, QWidget *parent, const QString &name, const QString &caption, double l,
                        double t, double wd, double h, HandlerRef command, int index)
{
    auto *button = new qbButtons_H(parent);
    button->setObjectName(name);
    button->setCaption(caption);
    twips::move(button, l, t, wd, h);
    QObject::connect(button, &qbButtons_H::Click, button, [&commands, command, index] { (commands.*command)(index); });
    return button;
}

QTreeWidget *makeList(QWidget *parent, const QString &name, const QStringList &columns)
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

QTreeWidget *makeTree(QWidget *parent, const QString &name)
{
    auto *tree = new QTreeWidget(parent);
    tree->setObjectName(name);
    tree->setProperty("rrTypeName", QStringLiteral("TreeView"));
    tree->setHeaderHidden(true);
    tree->setColumnCount(1);
    return tree;
}

QLabel *pictureBox(QWidget *parent, const QString &name, const QPixmap &picture, double l, double t, double w, double h)
{
    auto *box = new QLabel(parent);
    box->setObjectName(name);
    box->setTextFormat(Qt::PlainText);
    box->setPixmap(picture);
    box->setAlignment(Qt::AlignCenter);
    twips::move(box, l, t, w, h);
    return box;
}

QCheckBox *checkBox(QWidget *parent, const QString &name, const QString &caption, double l, double t, double w,
                    double h)
{
    auto *box = new QCheckBox(caption, parent);
    box->setObjectName(name);
    twips::move(box, l, t, w, h);
    return box;
}

void followInTabOrder(QWidget *page, const QList<QWidget *> &controls)
{
    // The bar of the tab strip the page belongs to.
    QWidget *stripBar = nullptr;
    for (QWidget *up = page->parentWidget(); up && !stripBar; up = up->parentWidget())
        stripBar = up->findChild<QTabBar *>(QString(), Qt::FindDirectChildrenOnly);
    if (!stripBar)
        return;
    // After the bar's own buttons, which follow it in the chain.
    QWidget *previous = stripBar;
    while (stripBar->isAncestorOf(previous->nextInFocusChain()))
        previous = previous->nextInFocusChain();
    for (QWidget *control : controls) {
        QWidget::setTabOrder(previous, control);
        previous = control;
    }
}

void showWithWindow(const QList<QWidget *> &controls)
{
    for (QWidget *control : controls) {
        if (control->window()->isVisible())
            control->show();
    }
}

} // namespace rr::findingui
