#pragma once
// The shown folder's Vardecks, twice: the flat tree tvwWM under the folder tree and
// the list listVD (a report of six columns, or icons) in the right pane. Both are
// rebuilt from the document on every fill and sorted by name without regard to case
// (the list until the user sorts it by a column), each node and row tagged with its WID,
// drawn bold when the Vardeck is in the recent list, and pictured by the site icon
// kept under its WID in ImageListWM.
#include "platform/xmldocument.h"

#include <QList>
#include <QObject>
#include <QPersistentModelIndex>

class QListView;
class QPoint;
class QTreeWidgetItem;

namespace rr
{

class frmVardecks;

class VardeckViews : public QObject
{
    Q_OBJECT
public:
    explicit VardeckViews(frmVardecks &w);

    void populateVardeckList(QTreeWidgetItem *folderNode);
    void fillVardeckViews(const QList<XmlNode> &vardecks, const XmlNode &folder);
    void populateVDList(const XmlNode &folder);
    void displayWM();
    void viewAsList();
    void viewAsIcons();
    // Reloads ImageListWM from the shared icon folder and the database's icon folder.
    void populateIconList();

    void tvwWM_NodeClick(QTreeWidgetItem *node);
    void tvwWM_KeyPress(int keyAscii);
    // False when the press is to go no further.
    bool tvwWM_MouseDown(Qt::MouseButton button, const QPoint &pos);
    void tvwWM_MouseMove(const QPoint &pos);
    void listVD_DblClick();
    void listVD_KeyDown(int key);
    void listVD_GotFocus();
    bool listVD_MouseDown(Qt::MouseButton button, QTreeWidgetItem *row);
    void listVD_ColumnClick(int column);

    // The icon face of listVD: a view of the same rows laid out as icons.
    QListView *iconView() const { return m_iconView; }
    bool sortDescending() const { return m_descending; }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void buildIconView();
    void sortByName();
    void arrangeIcons();
    // The document changed under the views: the folder of the tree is gone.
    void folderVanished();
    QTreeWidgetItem *addListRow(const QString &wid, const QStringList &cells, bool bold);

    frmVardecks &w;
    QListView *m_iconView = nullptr;
    // True while listVD shows its rows as icons (View as icons).
    bool m_iconViewActive = false;
    QPersistentModelIndex m_beforeKey;
    bool m_descending = false;
};

} // namespace rr
