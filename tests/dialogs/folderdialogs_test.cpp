#include "dialogfixture.h"
#include "dialogs/frmmodifytopic.h"
#include "dialogs/frmmovetopic.h"
#include "dialogs/frmmovevardeck.h"
#include "dialogs/frmtopicdialog.h"
#include "support/failingdisk.h"
#include "support/modaldriver.h"

#include <QHelpEvent>
#include <QLineEdit>
#include <QTest>
#include <QToolTip>

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
        dialog = std::make_unique<frmTopicDialog>(d.db, parentTID, d.host,
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
}

TEST(frmTopicDialog, topLevelFolderIsAppendedLastAndSaved)
{
    NewFolder f("");
    EXPECT_EQ(f.dialog->windowTitle(), "New folder");
    EXPECT_EQ(labelTexts(f.dialog.get(), {"Label2", "lblTopicName", "Label1"}),
              QStringList({"Select a folder where the new folder will be created and enter a new folder name:",
                           "Base folder", "New base folder name:"}));
    EXPECT_FALSE(saveOf(f.dialog.get())->isEnabled());

    // Typing enables Save as the default button (the Return below saves); emptying the name disables it.
    f.name()->setText("X");
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

TEST(frmTopicDialog, noFreeIdentifierKeepsTheDialogAndTheNameAndAFailedSaveKeepsTheFolderInMemory)
{
    QByteArray body = "<FOLDERS>";
    for (int i = 1; i <= 32767; ++i)
        body += "<FOLDER TID=\"T" + QByteArray::number(i) + "\"/>";
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

    NewFolder g("");
    const QByteArray sampleBefore = g.d.fileBytes();
    g.name()->setText("Unsaved");
    {
        FailingDisk disk;
        saveOf(g.dialog.get())->click();
    }
    ASSERT_EQ(g.d.prompts.messages().size(), 1u);
    EXPECT_EQ(g.d.prompts.messages()[0].icon, MsgIcon::Exclamation);
    EXPECT_TRUE(g.d.prompts.lastText().startsWith(
        "The Vardecks database could not be saved.  The change is kept until the next save."));
    EXPECT_GT(g.d.prompts.lastText().size(), 90);
    EXPECT_EQ(g.d.fileBytes(), sampleBefore);
    ASSERT_EQ(g.created.size(), 1u);
    EXPECT_EQ(g.d.node(g.created[0].tid).childText("NAME"), "Unsaved");
    EXPECT_EQ(g.d.changes.size(), 1u);
}

TEST(frmModifyTopic, opensOnTheFolderWithItsNameSelected)
{
    DialogDb d;
    std::vector<FolderRenamed> renamed;
    frmModifyTopic dialog(d.db, "T2", d.host, [&](const FolderRenamed &r) { renamed.push_back(r); });
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

TEST(frmMoveVardeck, selectedRowsMoveInListOrderWithOneSaveAndASingleVardeckShowsItsName)
{
    DialogDb d;
    std::vector<VardecksMoved> moved;
    frmMoveVardeck dialog(d.db, {"T1", {"W3", "W1"}, true}, d.host,
                          [&](const VardecksMoved &m) { moved.push_back(m); });
    dialog.show();
    EXPECT_EQ(dialog.windowTitle(), "Move Vardeck");
    EXPECT_EQ(
        labelTexts(&dialog, {"Label2", "lblWMName", "lblCurrentTopic", "lblNewTopic", "Label3", "Label1", "Label4"}),
        QStringList({"Choose a folder to move the currently selected Vardeck to (you can also do this by dragging and "
                     "dropping a Vardeck into a folder in the Index view):",
                     "Selected Vardecks", "Zeta", "", "Move:", "from:", "to:"}));
    EXPECT_FALSE(saveOf(&dialog)->isEnabled());

    clickFolder(&dialog, "");
    EXPECT_EQ(labelText(&dialog, "lblNewTopic"), "");
    EXPECT_FALSE(saveOf(&dialog)->isEnabled());
    clickFolder(&dialog, "T5");
    EXPECT_EQ(labelText(&dialog, "lblNewTopic"), "Apple");

    saveOf(&dialog)->click();
    EXPECT_EQ(d.idsOnDisk("T5", "VARDECKS"), QStringList({"W4", "W3", "W1"}));
    EXPECT_EQ(d.idsOnDisk("T1", "VARDECKS"), QStringList({"W2"}));
    ASSERT_EQ(moved.size(), 1u);
    EXPECT_EQ(moved[0].fromTID, "T1");
    EXPECT_EQ(moved[0].targetTID, "T5");
    EXPECT_EQ(moved[0].targetName, "Apple");
    EXPECT_EQ(moved[0].wids, QStringList({"W3", "W1"}));
    ASSERT_EQ(d.changes.size(), 1u);
    EXPECT_TRUE(d.changes[0].all && d.changes[0].folders && d.changes[0].hits);
    EXPECT_FALSE(d.changes[0].favorites);

    // One Vardeck shows its name, and a folder called FOLDERS is a target like any other.
    frmMoveVardeck one(d.db, {"T1", {"W2"}, false}, d.host, {});
    one.show();
    EXPECT_EQ(labelText(&one, "lblWMName"), "Two");
    clickFolder(&one, "T6");
    EXPECT_EQ(labelText(&one, "lblNewTopic"), "FOLDERS");
    saveOf(&one)->click();
    EXPECT_EQ(d.idsOnDisk("T6", "VARDECKS"), QStringList({"W2"}));

    // The source folder itself as target moves the Vardeck to the end of its list.
    frmMoveVardeck again(d.db, {"T5", {"W3"}, false}, d.host, {});
    again.show();
    clickFolder(&again, "T5");
    saveOf(&again)->click();
    EXPECT_EQ(d.idsOnDisk("T5", "VARDECKS"), QStringList({"W4", "W1", "W3"}));
}

TEST(frmMoveVardeck, aLongNameShowsShortenedWithAnEllipsisAndWholeInItsToolTip)
{
    const QString name = QString("A very long Vardeck name that goes on ").repeated(9).left(300);
    DialogDb d("<FOLDERS>" + folderXml("T1", "Zeta", vardeckXml("W1", name)) + folderXml("T2", "Beta") + "</FOLDERS>");
    frmMoveVardeck dialog(d.db, {"T1", {"W1"}, false}, d.host, {});
    dialog.show();
    auto *caption = find<QLabel>(&dialog, "lblWMName");
    EXPECT_EQ(caption->text(), name);
    ASSERT_LT(caption->geometry().right(), dialog.width());

    // Drawn as a caption of the name cut to its width with "…" at the end.
    QLabel shortened(caption->fontMetrics().elidedText(name, Qt::ElideRight, caption->contentsRect().width()), &dialog);
    shortened.setFont(caption->font());
    shortened.setGeometry(caption->geometry());
    ASSERT_TRUE(shortened.text().endsWith(QChar(0x2026)));
    EXPECT_EQ(caption->grab().toImage(), shortened.grab().toImage());

    QHelpEvent tip(QEvent::ToolTip, QPoint(5, 5), caption->mapToGlobal(QPoint(5, 5)));
    QApplication::sendEvent(caption, &tip);
    EXPECT_EQ(QToolTip::text(), name);
    QToolTip::hideText();
}

TEST(frmMoveVardeck, nothingToMoveMovesNothingAGoneVardeckIsLeftOutAndNamedAndAFailedSaveKeepsTheMoveInMemory)
{
    DialogDb d;
    const QByteArray before = d.fileBytes();
    {
        ModalDriver guard;
        EXPECT_FALSE(frmMoveVardeck::run(d.db, {"T1", {"W99", "T2"}, true}, d.host, {}));
        EXPECT_FALSE(frmMoveVardeck::run(d.db, {"T1", {}, false}, d.host, {}));
        EXPECT_TRUE(guard.opened().isEmpty());
    }
    EXPECT_EQ(d.prompts.texts(), QStringList(2, "No Vardeck has been selected to move"));

    // A Vardeck removed while the dialog is open is left out and named; the others move.
    QStringList called;
    frmMoveVardeck dialog(d.db, {"T1", {"W1", "W3"}, true}, d.host, [&](const VardecksMoved &m) { called = m.wids; });
    dialog.show();
    XmlNode w3 = d.node("W3");
    w3.parentNode().removeChild(w3);
    clickFolder(&dialog, "T5");
    saveOf(&dialog)->click();
    ASSERT_EQ(d.prompts.messages().size(), 3u);
    EXPECT_EQ(d.prompts.texts().last(),
              "This Vardeck no longer exists and was not moved: \"Three\".  The others were moved.");
    EXPECT_EQ(called, QStringList({"W1"}));
    EXPECT_EQ(d.ids("T1", "VARDECKS"), QStringList({"W2"}));
    EXPECT_EQ(d.idsOnDisk("T1", "VARDECKS"), QStringList({"W2"}));
    EXPECT_EQ(dialog.result(), QDialog::Accepted);

    // Every Vardeck gone: nothing moves, nothing is saved, and the dialog says so.
    d.prompts.clear();
    const QByteArray movedOnce = d.fileBytes();
    frmMoveVardeck allGone(d.db, {"T1", {"W2"}, false}, d.host, [&](const VardecksMoved &) { called.clear(); });
    allGone.show();
    XmlNode w2 = d.node("W2");
    w2.parentNode().removeChild(w2);
    clickFolder(&allGone, "T5");
    saveOf(&allGone)->click();
    EXPECT_EQ(d.prompts.texts(), QStringList({"The Vardeck to move no longer exists - nothing was moved"}));
    EXPECT_EQ(called, QStringList({"W1"}));
    EXPECT_EQ(d.fileBytes(), movedOnce);
    EXPECT_EQ(allGone.result(), QDialog::Rejected);

    // Run modally, the move is made; its failed save keeps it in memory.
    const QByteArray savedBefore = d.fileBytes();
    d.changes.clear();
    d.prompts.clear();
    QTimer::singleShot(0, [] {
        QWidget *dialog = QApplication::activeModalWidget();
        ASSERT_NE(dialog, nullptr);
        clickFolder(dialog, "T2");
        FailingDisk disk;
        saveOf(dialog)->click();
    });
    VardecksMoved result;
    EXPECT_TRUE(frmMoveVardeck::run(d.db, {"T1", {"W1"}, false}, d.host, [&](const VardecksMoved &m) { result = m; }));
    EXPECT_EQ(result.targetTID, "T2");
    EXPECT_EQ(d.ids("T2", "VARDECKS"), QStringList({"W1"}));
    EXPECT_EQ(d.fileBytes(), savedBefore);
    ASSERT_EQ(d.prompts.messages().size(), 1u);
    EXPECT_EQ(d.prompts.messages()[0].icon, MsgIcon::Exclamation);
    EXPECT_EQ(d.changes.size(), 1u);
}

TEST(frmMoveTopic, refusesItsOwnSubFolderIgnoresItselfAndMovesNothingThatIsGone)
{
    DialogDb d;
    const QByteArray before = d.fileBytes();
    frmMoveTopic dialog(d.db, "T1", d.host, {});
    dialog.show();
    EXPECT_EQ(dialog.windowTitle(), "Move folder");
    EXPECT_EQ(
        labelTexts(&dialog, {"Label2", "lblCurrentFolder", "lblNewFolder"}),
        QStringList({"Choose a location to move the currently selected folder to (you can also do this by dragging and "
                     "dropping folders in the Index view):",
                     "Zeta", ""}));
    EXPECT_FALSE(saveOf(&dialog)->isEnabled());

    for (const QString target : {"T3", "T2"}) {
        d.prompts.clear();
        clickFolder(&dialog, target);
        saveOf(&dialog)->click();
        ASSERT_EQ(d.prompts.messages().size(), 1u);
        const MessageRequest &m = d.prompts.messages()[0];
        EXPECT_EQ(m.text, "A folder cannot be moved to its own sub-folder");
        EXPECT_EQ(m.icon, MsgIcon::None);
        EXPECT_EQ(m.buttons, MsgButtons::Ok);
        EXPECT_TRUE(m.title.isEmpty() || m.title == "Razuzezu Revidod") << m.title.toStdString();
        EXPECT_TRUE(dialog.isVisible());
    }
    d.prompts.clear();
    clickFolder(&dialog, "T1");
    saveOf(&dialog)->click();
    EXPECT_TRUE(d.prompts.messages().empty());
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_EQ(d.fileBytes(), before);
    EXPECT_TRUE(d.changes.empty());

    // A folder that matches nothing does not open.
    ModalDriver guard;
    EXPECT_FALSE(frmMoveTopic::run(d.db, "T99", d.host, {}));
    EXPECT_FALSE(frmMoveTopic::run(d.db, "W1", d.host, {}));
    EXPECT_TRUE(guard.opened().isEmpty());
    EXPECT_EQ(d.prompts.texts(), QStringList(2, "No folder has been selected to move"));

    // The folder removed while the dialog is open: nothing moves.
    frmMoveTopic gone(d.db, "T4", d.host, {});
    gone.show();
    XmlNode alpha = d.node("T4");
    alpha.parentNode().removeChild(alpha);
    clickFolder(&gone, "T5");
    saveOf(&gone)->click();
    EXPECT_TRUE(d.ids("T5", "SUBFOLDERS").isEmpty());
    EXPECT_EQ(gone.result(), QDialog::Rejected);
}

TEST(frmMoveTopic, movesUnderAFolderOrLastToTheTopLevel)
{
    DialogDb d;
    std::vector<FolderMoved> moved;
    const auto move = [&](const QString &tid, const QString &target, const QString &targetLabel) {
        frmMoveTopic dialog(d.db, tid, d.host, [&](const FolderMoved &m) { moved.push_back(m); });
        dialog.show();
        clickFolder(&dialog, target);
        EXPECT_EQ(labelText(&dialog, "lblNewFolder"), targetLabel);
        saveOf(&dialog)->click();
    };
    move("T3", "", "FOLDERS");
    EXPECT_EQ(d.idsOnDisk("", ""), QStringList({"T1", "T5", "T6", "T3"}));
    EXPECT_TRUE(d.idsOnDisk("T2", "SUBFOLDERS").isEmpty());
    move("T1", "", "FOLDERS");
    EXPECT_EQ(d.idsOnDisk("", ""), QStringList({"T5", "T6", "T3", "T1"}));
    move("T4", "T5", "Apple");
    EXPECT_EQ(d.idsOnDisk("T5", "SUBFOLDERS"), QStringList({"T4"}));
    EXPECT_EQ(d.idsOnDisk("T4", "SUBFOLDERS"), QStringList());
    ASSERT_EQ(moved.size(), 3u);
    EXPECT_EQ(moved[0].tid, "T3");
    EXPECT_EQ(moved[0].targetTID, "");
    EXPECT_EQ(moved[2].targetTID, "T5");
    ASSERT_EQ(d.changes.size(), 3u);
    EXPECT_TRUE(d.changes[2].folders);
    EXPECT_FALSE(d.changes[2].all);
}

TEST(frmTopicDialog, aDatabaseWithEveryFolderNumberInUseSaysSoBeforeTheDialogOpens)
{
    QByteArray folders;
    for (int i = 1; i <= 32767; ++i)
        folders += "<FOLDER TID=\"T" + QByteArray::number(i) + "\"><NAME>f</NAME></FOLDER>";
    DialogDb d("<FOLDERS>" + folders + "</FOLDERS>");
    {
        ModalDriver guard;
        EXPECT_FALSE(frmTopicDialog::run(d.db, "", d.host, {}));
        EXPECT_TRUE(guard.opened().isEmpty());
    }
    EXPECT_EQ(d.prompts.lastText(),
              "No more folders can be created: this database already holds as many folders as it can.");
    EXPECT_EQ(d.prompts.messages().back().icon, MsgIcon::Exclamation);

    // One folder fewer: the dialog opens and its folder takes the freed number.
    d.doc().documentElement().removeChild(d.node("T17"));
    ModalDriver create([](QDialog *dialog) {
        find<QLineEdit>(dialog, "txtTName")->setText("new");
        saveOf(dialog)->click();
    });
    EXPECT_TRUE(frmTopicDialog::run(d.db, "", d.host, {}));
    EXPECT_EQ(create.opened(), QStringList{"frmTopicDialog"});
    EXPECT_EQ(d.node("T17").childText("NAME"), "new");
    EXPECT_EQ(d.prompts.messages().size(), 1u);
}

// A new or moved folder that would nest deeper than a database may be is refused before anything changes.
TEST(FolderNesting, newAndMovedFoldersStopAtTheDeepestLevelASaveAllows)
{
    // T1 .. T<deepest level> each inside the one before; T900 with its sub-folder T901 on top.
    QByteArray chain;
    for (int level = kMaxFolderLevels; level >= 1; --level)
        chain = folderXml("T" + QByteArray::number(level), "L", {}, chain);
    DialogDb d("<FOLDERS>" + chain + folderXml("T900", "Two levels", {}, folderXml("T901", "Inner")) + "</FOLDERS>");
    const QByteArray before = d.fileBytes();
    const QString refused =
        QStringLiteral("A folder cannot go there: folders may be nested at most %1 levels deep.").arg(kMaxFolderLevels);

    frmTopicDialog tooDeep(d.db, QStringLiteral("T%1").arg(kMaxFolderLevels), d.host, {});
    find<QLineEdit>(&tooDeep, "txtTName")->setText("one too deep");
    saveOf(&tooDeep)->click();
    EXPECT_EQ(d.prompts.lastText(), refused);
    EXPECT_EQ(d.fileBytes(), before);

    frmMoveTopic moveTooDeep(d.db, "T900", d.host, {});
    clickFolder(&moveTooDeep, QStringLiteral("T%1").arg(kMaxFolderLevels - 1));
    saveOf(&moveTooDeep)->click();
    EXPECT_EQ(d.prompts.messages().size(), 2u);
    EXPECT_EQ(d.prompts.lastText(), refused);
    EXPECT_EQ(d.fileBytes(), before);

    // One level less fits, is saved and opens again.
    frmMoveTopic move(d.db, "T900", d.host, {});
    clickFolder(&move, QStringLiteral("T%1").arg(kMaxFolderLevels - 2));
    saveOf(&move)->click();
    frmTopicDialog create(d.db, QStringLiteral("T%1").arg(kMaxFolderLevels - 1), d.host, {});
    find<QLineEdit>(&create, "txtTName")->setText("deepest");
    saveOf(&create)->click();
    EXPECT_EQ(d.prompts.messages().size(), 2u);
    XMLDatabase reopened;
    ASSERT_TRUE(reopened.openDBValidate(d.path)) << qPrintable(reopened.getTheDOM()->parseErrorReason());
    EXPECT_EQ(folderLevel(reopened.getTheDOM()->nodeFromID("T901")), kMaxFolderLevels);
}
