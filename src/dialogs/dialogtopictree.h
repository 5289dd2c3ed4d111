#pragma once
// The folder tree of the folder and move dialogs (tvwTopicList): the root stands for
// the document element, one node per FOLDER nested as the SUBFOLDERS nest, each
// folder node tagged with its TID. The root's children are sorted by name; a
// folder's children keep document order until the folder is first expanded.
#include <QTreeWidget>

namespace rr
{

class XmlDocument;

class DialogTopicTree : public QTreeWidget
{
    Q_OBJECT
public:
    explicit DialogTopicTree(QWidget *parent = nullptr);

    // Fills the tree once from the document; the root is expanded, every folder collapsed.
    void populate(const XmlDocument &document);

    QTreeWidgetItem *root() const;
    static bool isRoot(const QTreeWidgetItem *item);
    // The folder's TID, "" for the root or a folder without identifier.
    static QString tag(const QTreeWidgetItem *item);
    // The first node in fill order tagged with tid; nullptr for "" or no match.
    QTreeWidgetItem *findByTag(const QString &tid) const;
    // The selected node, the root when none is.
    QTreeWidgetItem *selectedNode() const;
    // Selects the node and opens its ancestors so that it shows.
    void selectNode(QTreeWidgetItem *item);

private:
    void nodeExpanded(QTreeWidgetItem *item);
    void nodeCollapsed(QTreeWidgetItem *item);
    void pictureFollowsCurrent(QTreeWidgetItem *current, QTreeWidgetItem *previous);
    void setPicture(QTreeWidgetItem *item, bool selected);

    int m_created = 0;
};

// The shared fill of the four dialogs' trees.
void populateDialogTopicTree(const XmlDocument &document, DialogTopicTree *tree);

} // namespace rr
