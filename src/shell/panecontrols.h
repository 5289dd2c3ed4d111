#pragma once
// The kinds of control the main window's panes hold, made the one way the frame and
// every part make them: named (the object name is the system name), at their design
// place in twips inside their container; the frame's layout rules move them from there.
#include "platform/gui/commands.h"
#include "shell/controlarrays.h"

#include <QString>
#include <QStringList>

class QCheckBox;
class QLabel;
class QLineEdit;
class QPixmap;
class QTreeWidget;
class QWidget;

namespace rr
{

class qbButtons_H;

// A report list: no root decoration, uniform rows, the whole row highlighted, columns
// the user sizes (none stretches).
QTreeWidget *makeReportList(QWidget *parent, const QString &name, const QStringList &columns);
// A tree of one column without a header.
QTreeWidget *makeOneColumnTree(QWidget *parent, const QString &name);
// A pane button with its caption; its command is the caller's to connect.
qbButtons_H *makePaneButton(QWidget *parent, const QString &name, const QString &caption, double l, double t, double w,
                            double h);
// A pane button whose click runs command, with index, through the window's commands:
// the prologue and the edit question come first, as for every pane button.
qbButtons_H *makeCommandButton(Commands &commands, QWidget *parent, const QString &name, const QString &caption,
                               double l, double t, double w, double h, HandlerRef command, int index = 0);
// An element of the label array lbl(), named "lbl(N)", its caption never cut short.
QLabel *makeArrayLabel(QWidget *parent, Lbl index, const QString &caption, double l, double t, double w, double h);
// A picture, centred in its box.
QLabel *makePictureBox(QWidget *parent, const QString &name, const QPixmap &picture, double l, double t, double w,
                       double h);
QCheckBox *makeCheckBox(QWidget *parent, const QString &name, const QString &caption, double l, double t, double w,
                        double h);
QLineEdit *makeTextBox(QWidget *parent, const QString &name, double l, double t, double w, double h);

} // namespace rr
