#include "dialogfixture.h"
#include "dialogs/frmmodifytopic.h"
#include "dialogs/frmtopicdialog.h"
#include "support/failingdisk.h"

#include <QLabel>
#include <QLineEdit>
#include <QTest>

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

struct NewFolder {
    DialogDb d;
    std::vector<FolderCreated> created;
    std::unique_ptr<frmTopicDialog> dialog;

    explicit NewFolder(const QString &parentTID, const QByteArray &body = DialogDb::sampleBody()) : d(body)
    {
        dialog = std::make_unique<frmTopicDialog>(d.db, parentTID, d.hooks,
                                                  [this](const FolderCreated &c) { created.push_back(c); });
        dialog->show();
    }
    QLineEdit *name() const { return find<QLineEdit>(dialog.get(), "txtTName"); }
    QString caption(const char *label) const { return labelText(dialog.get(), label); }
};

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

TEST(frmTopicDialog, topLevelFolderIsAppendedLastAndSaved)
{
    NewFolder f("");
    EXPECT_EQ(f.dialog->windowTitle(), "New folder");
    EXPECT_EQ(labelTexts(f.dialog.get(), {"Label2", "lblTopicName", "Label1"}),
              QStringList({"Select a folder where the new folder will be created and enter a new folder name:",
                           "Base folder", "New base folder name:"}));
    EXPECT_FALSE(saveOf(f.dialog.get())->isEnabled());

    f.name()->setText("X");
    EXPECT_TRUE(saveOf(f.dialog.get())->isEnabled());
    EXPECT_EQ(f.dialog->defaultButton(), saveOf(f.dialog.get()));
    f.name()->clear();
    EXPECT_FALSE(saveOf(f.dialog.get())->isEnabled());
    EXPECT_EQ(f.dialog->defaultButton(), find<qbButtons_H>(f.dialog.get(), "cmdCancel"));

    QTest::keyClicks(f.name(), "Inbox & more");
    QTest::keyClick(f.name(), Qt::Key_Return);
    EXPECT_FALSE(f.dialog->isVisible());
    ASSERT_EQ(f.created.size(), 1u);
    EXPECT_EQ(f.created[0].parentTID, "");
    EXPECT_EQ(f.created[0].tid, "T7");
    EXPECT_EQ(f.created[0].name, "Inbox & more");
    EXPECT_EQ(f.d.idsOnDisk("", ""), QStringList({"T1", "T5", "T6", "T7"}));
    const XmlNode folder = f.d.node("T7");
    QStringList children;
    for (const XmlNode &c : folder.childElements())
        children << c.nodeName();
    EXPECT_EQ(children, QStringList({"NAME", "VARDECKS", "SUBFOLDERS"}));
    EXPECT_EQ(folder.childText("NAME"), "Inbox & more");
    ASSERT_EQ(f.d.changes.size(), 1u);
    EXPECT_TRUE(f.d.changes[0].folders);
    EXPECT_TRUE(f.d.changes[0].reshowWebAspect);
    EXPECT_FALSE(f.d.changes[0].all);
}

TEST(frmTopicDialog, subFolderGoesLastUnderTheChosenFolderOrTheTopLevelIfItIsGone)
{
    NewFolder f("T2");
    EXPECT_EQ(f.caption("lblTopicName"), "Beta");
    EXPECT_EQ(f.caption("Label1"), "New sub-folder name:");
    f.name()->setText("Delta");
    saveOf(f.dialog.get())->click();
    ASSERT_EQ(f.created.size(), 1u);
    EXPECT_EQ(f.created[0].parentTID, "T2");
    EXPECT_EQ(f.d.idsOnDisk("T2", "SUBFOLDERS"), QStringList({"T3", f.created[0].tid}));

    // Another folder picked in the tree takes the new folder instead.
    NewFolder g("T2");
    clickFolder(g.dialog.get(), "T5");
    EXPECT_EQ(g.caption("lblTopicName"), "Apple");
    clickFolder(g.dialog.get(), "");
    EXPECT_EQ(g.caption("lblTopicName"), "Base folder");
    EXPECT_EQ(NewFolder("T99").caption("lblTopicName"), "Base folder");

    // The chosen parent is removed while the dialog is open: the folder is not lost.
    NewFolder h("T2");
    XmlNode beta = h.d.node("T2");
    beta.parentNode().removeChild(beta);
    h.name()->setText("Kept");
    saveOf(h.dialog.get())->click();
    ASSERT_EQ(h.created.size(), 1u);
    EXPECT_EQ(h.created[0].parentTID, "");
    EXPECT_EQ(h.d.ids("", "").last(), h.created[0].tid);
    EXPECT_EQ(h.d.node(h.created[0].tid).childText("NAME"), "Kept");
}

TEST(frmTopicDialog, noFreeIdentifierKeepsTheDialogAndTheName)
{
    QByteArray body = "<FOLDERS>";
    for (int i = 0; i < 32767; ++i)
        body += "<FOLDER/>";
    body += "</FOLDERS>";
    NewFolder f("", body);
    const QByteArray before = f.d.fileBytes();
    f.name()->setText("One too many");
    saveOf(f.dialog.get())->click();
    ASSERT_EQ(f.d.prompts.messages().size(), 1u);
    EXPECT_EQ(f.d.prompts.messages()[0].icon, MsgIcon::Exclamation);
    EXPECT_TRUE(f.dialog->isVisible());
    EXPECT_EQ(f.name()->text(), "One too many");
    EXPECT_TRUE(f.created.empty());
    EXPECT_EQ(f.d.doc().countElements("FOLDER"), 32767);
    EXPECT_EQ(f.d.fileBytes(), before);
}

TEST(frmTopicDialog, failedSaveShowsTheReasonAndKeepsTheFolderInMemory)
{
    NewFolder f("");
    const QByteArray before = f.d.fileBytes();
    f.name()->setText("Unsaved");
    {
        FailingDisk disk;
        saveOf(f.dialog.get())->click();
    }
    ASSERT_EQ(f.d.prompts.messages().size(), 1u);
    EXPECT_EQ(f.d.prompts.messages()[0].icon, MsgIcon::Exclamation);
    EXPECT_TRUE(f.d.prompts.lastText().startsWith(
        "The Vardecks database could not be saved.  The change is kept until the next save."));
    EXPECT_GT(f.d.prompts.lastText().size(), 90);
    EXPECT_EQ(f.d.fileBytes(), before);
    ASSERT_EQ(f.created.size(), 1u);
    EXPECT_EQ(f.d.node(f.created[0].tid).childText("NAME"), "Unsaved");
    EXPECT_EQ(f.d.changes.size(), 1u);
}

TEST(frmModifyTopic, opensOnTheFolderWithItsNameSelected)
{
    DialogDb d;
    std::vector<FolderRenamed> renamed;
    frmModifyTopic dialog(d.db, "T2", d.hooks, [&](const FolderRenamed &r) { renamed.push_back(r); });
    dialog.show();
    EXPECT_EQ(dialog.windowTitle(), "Rename folder");
    auto *instruction = find<QLabel>(&dialog, "Label2");
    EXPECT_EQ(instruction->text(), "Rename the current folder, or select another folder name to change:");
    EXPECT_GE(instruction->height(), instruction->heightForWidth(instruction->width())) << "every wrapped line shows";
    EXPECT_GE(treeOf(&dialog)->y(), instruction->geometry().bottom());
    auto *name = find<QLineEdit>(&dialog, "txtTName");
    EXPECT_EQ(name->text(), "Beta");
    EXPECT_EQ(name->selectedText(), "Beta");
    EXPECT_EQ(labelTexts(&dialog, {"lblTopicName", "Label1"}), QStringList({"Beta", "Change folder name to:"}));
    EXPECT_TRUE(saveOf(&dialog)->isEnabled());
    EXPECT_EQ(dialog.defaultButton(), saveOf(&dialog));
    EXPECT_EQ(treeOf(&dialog)->findByTag("T2")->background(0).color(), QColor(0xEE, 0xEE, 0xEE));

    clickFolder(&dialog, "T5");
    EXPECT_EQ(name->text(), "Apple");
    EXPECT_EQ(treeOf(&dialog)->findByTag("T2")->background(0).color(), QColor(Qt::white));
    EXPECT_EQ(treeOf(&dialog)->findByTag("T5")->background(0).color(), QColor(0xEE, 0xEE, 0xEE));

    clickFolder(&dialog, "");
    EXPECT_EQ(labelText(&dialog, "lblTopicName"), "No folder selected");
    EXPECT_TRUE(name->text().isEmpty());
    EXPECT_FALSE(name->isEnabled());
    EXPECT_FALSE(saveOf(&dialog)->isEnabled());

    clickFolder(&dialog, "T3");
    name->setText("   ");
    saveOf(&dialog)->click();
    ASSERT_EQ(renamed.size(), 1u);
    EXPECT_EQ(renamed[0].tid, "T3");
    EXPECT_EQ(renamed[0].name, "   ");
    XMLDatabase fresh;
    ASSERT_TRUE(fresh.openDBValidate(d.path));
    EXPECT_EQ(fresh.getTheDOM()->nodeFromID("T3").childText("NAME"), "   ");
    ASSERT_EQ(d.changes.size(), 1u);
    EXPECT_TRUE(d.changes[0].folders);
    EXPECT_TRUE(d.changes[0].reshowWebAspect);
}
