#pragma once
// The list of the database folder's files that frmOpen and frmNew show (tvwDB): one
// root node per database, its text the file name, its tag the full path.
#include <QTreeWidget>

namespace rr
{

class DatabaseList : public QTreeWidget
{
    Q_OBJECT
public:
    explicit DatabaseList(QWidget *parent = nullptr);

    // Lists the databases of folder again; returns how many there are.
    int fill(const QString &folder);
    // The full path that a node stands for.
    static QString tag(const QTreeWidgetItem *item);
};

// Applies the user's font size to the widgets (their point size).
void applyUserFontSize(const QList<QWidget *> &widgets, int fontSize);

} // namespace rr
