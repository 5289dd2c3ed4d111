#pragma once
// The shown folder's Vardecks, twice: the flat tree tvwWM under the folder tree and
// the list listVD (a report of six columns, or icons) in the right pane. Both are
// rebuilt from the document on every fill and sorted by name without regard to case
// (the list until the user sorts it by a column), each node and row tagged with its WID,
// drawn bold when the Vardeck is in the recent list, and pictured by the site icon
// kept under its WID in ImageListWM.
#include "platform/xmldocument.h"

#include <QHash>
#include <QList>
#include <QObject>
#include <QPersistentModelIndex>
#include <QStringList>

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
    // The fill of the folder the views show when the only change to it is one Vardeck
    // added at its end: the Vardeck's node and row join the views in the places a fill
    // gives them, and the rest is kept. False, with nothing done, otherwise.
    bool addAppendedVardeck(const QString &tid, const QList<XmlNode> &vardecks);

    // The folder both views were last filled with while their rows stay as that fill
    // ordered them: any row added, removed or moved elsewhere forgets it. The stock
    // pictures the fill gave rows without a site icon.
    QString m_filledTid;
    qint64 m_filledStock[2] = {0, 0};
    bool m_filling = false;
    // The picture kept in ImageListWM under key, as a number that changes with it
    // (-1 for none).
    qint64 iconKey(const QString &key) const;

    frmVardecks &w;
    QListView *m_iconView = nullptr;
    // True while listVD shows its rows as icons (View as icons).
    bool m_iconViewActive = false;
    QPersistentModelIndex m_beforeKey;
    bool m_descending = false;
};

} // namespace rr
