#include "dialogfixture.h"
#include "dialogs/frmtopicdialog.h"

using namespace rr;
using namespace rr::test;

namespace
{

QStringList childTexts(const QTreeWidgetItem *item)
{
    QStringList out;
    for (int i = 0; i < item->childCount(); ++i)
        out << item->child(i)->text(0);
    return out;
}

} // namespace

TEST(DialogTopicTree, rootIsSortedSubFoldersSortOnFirstExpandAndCollapsingMovesTheSelection)
{
    DialogDb d;
    DialogTopicTree tree;
    populateDialogTopicTree(d.doc(), &tree);
    QTreeWidgetItem *root = tree.root();
    ASSERT_NE(root, nullptr);
    EXPECT_EQ(root->text(0), "FOLDERS");
    EXPECT_EQ(DialogTopicTree::tag(root), "");
    EXPECT_TRUE(root->isExpanded());
    EXPECT_EQ(childTexts(root), QStringList({"Apple", "FOLDERS", "Zeta"}));

    QTreeWidgetItem *zeta = tree.findByTag("T1");
    ASSERT_NE(zeta, nullptr);
    EXPECT_FALSE(zeta->isExpanded());
    EXPECT_EQ(childTexts(zeta), QStringList({"Beta", "Alpha"}));
    zeta->setExpanded(true);
    EXPECT_EQ(childTexts(zeta), QStringList({"Alpha", "Beta"}));
    EXPECT_EQ(DialogTopicTree::tag(tree.findByTag("T3")->parent()), "T2");
    EXPECT_EQ(tree.findByTag(""), nullptr);
    EXPECT_EQ(tree.findByTag("T99"), nullptr);

    zeta->setExpanded(false);
    tree.selectNode(tree.findByTag("T3"));
    EXPECT_TRUE(zeta->isExpanded());
    zeta->setExpanded(false);
    EXPECT_EQ(DialogTopicTree::tag(tree.currentItem()), "T1");

    DialogDb empty("<FOLDERS></FOLDERS>");
    DialogTopicTree emptyTree;
    populateDialogTopicTree(empty.doc(), &emptyTree);
    EXPECT_EQ(emptyTree.topLevelItemCount(), 1);
    EXPECT_EQ(emptyTree.root()->childCount(), 0);
    EXPECT_EQ(emptyTree.root()->text(0), "FOLDERS");
}
