#pragma once
// The kinds of control the main window's panes hold, made the one way the frame and
// every part make them: named (the object name is the system name), at their design
// place in twips inside their container.
#include "shell/controlarrays.h"

#include <QString>
#include <QStringList>

class QLabel;
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
// An element of the label array lbl(), named "lbl(N)", its caption never cut short.
QLabel *makeArrayLabel(QWidget *parent, Lbl index, const QString &caption, double l, double t, double w, double h);

} // namespace rr
