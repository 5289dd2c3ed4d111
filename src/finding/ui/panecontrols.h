#pragma once
// How the finding panes make their controls on the main window, as the frame makes its
// own: at their design places (twips, relative to their container), under their
// system names, which are also their object names.
#include "platform/gui/commands.h"
#include "shell/controlarrays.h"

#include <QList>
#include <QPixmap>
#include <QString>
#include <QStringList>

class QCheckBox;
class QLabel;
class QTreeWidget;
class QWidget;

namespace rr
{

class qbButtons_H;

namespace findingui
{

// An element of the label array lbl(), named "lbl(index)"; a caption is never cut
// short by its designed width.
QLabel *makeLabel(QWidget *parent, Lbl index, const QString &caption, double l, double t, double w, double h);
// A pane button that runs the window's command with index when clicked.
qbButtons_H *makeButton(Commands &commands, QWidget *parent, const QString &name, const QString &caption, double l,
                        double t, double wd, double h, HandlerRef command, int index = 0);
// A report list (several columns, no tree lines) and a flat tree of one column.
QTreeWidget *makeList(QWidget *parent, const QString &name, const QStringList &columns);
QTreeWidget *makeTree(QWidget *parent, const QString &name);
QLabel *pictureBox(QWidget *parent, const QString &name, const QPixmap &picture, double l, double t, double w,
                   double h);
QCheckBox *checkBox(QWidget *parent, const QString &name, const QString &caption, double l, double t, double w,
                    double h);
// The Tab key reaches the controls, in their order, right after the tab strip whose
// page holds them (page: the strip's page), as it reaches the controls the frame makes on
// its pages: only the controls of the page shown count, so Tab goes from the strip to
// them and from them on to what follows the strip's pages.
void followInTabOrder(QWidget *page, const QList<QWidget *> &controls);
// A pane made while its window is already on screen (as a test may make it) shows its
// controls as the window's own are shown; made before, they show with the window.
void showWithWindow(const QList<QWidget *> &controls);

} // namespace findingui
} // namespace rr
