#include "dialogfixture.h"
#include "dialogs/frmmovetopic.h"
#include "dialogs/frmmovevardeck.h"
#include "dialogs/frmtopicdialog.h"
#include "support/failingdisk.h"
#include "support/modaldriver.h"

#include <QApplication>
#include <QLineEdit>
#include <QTimer>

using namespace rr;
using namespace rr::test;

namespace
{

// T1 .. T<deepest> each inside the one before; T900 with its sub-folder T901 on top.
QByteArray deepBody(int deepest)
{
    QByteArray chain;
    for (int level = deepest; level >= 1; --level)
        chain = folderXml("T" + QByteArray::number(level), "L", {}, chain);
    return "<FOLDERS>" + chain + folderXml("T900", "Two levels", {}, folderXml("T901", "Inner")) + "</FOLDERS>";
}

} // namespace

TEST(frmMoveVardeck, selectedRowsMoveInListOrderWithOneSave)
{
    DialogDb d;
    std::vector<VardecksMoved> moved;
    frmMoveVardeck dialog(d.db, {"T1", {"W3", "W1"}, true}, d.hooks,
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
    EXPECT_TRUE(saveOf(&dialog)->isEnabled());
    EXPECT_EQ(dialog.defaultButton(), saveOf(&dialog));

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
}

TEST(frmMoveVardeck, oneVardeckShowsItsNameAndAFolderCalledFoldersIsATarget)
{
    DialogDb d;
    frmMoveVardeck dialog(d.db, {"T1", {"W2"}, false}, d.hooks, {});
    dialog.show();
    EXPECT_EQ(labelText(&dialog, "lblWMName"), "Two");
    clickFolder(&dialog, "T6");
    EXPECT_EQ(labelText(&dialog, "lblNewTopic"), "FOLDERS");
    ASSERT_TRUE(saveOf(&dialog)->isEnabled());
    saveOf(&dialog)->click();
    EXPECT_EQ(d.idsOnDisk("T6", "VARDECKS"), QStringList({"W2"}));

    // The source folder itself as target moves the Vardeck to the end of its list.
    frmMoveVardeck again(d.db, {"T1", {"W1"}, false}, d.hooks, {});
    again.show();
    clickFolder(&again, "T1");
    saveOf(&again)->click();
    EXPECT_EQ(d.idsOnDisk("T1", "VARDECKS"), QStringList({"W3", "W1"}));
}

TEST(frmMoveVardeck, nothingToMoveOrAVardeckGoneMeanwhileMovesNothing)
{
    DialogDb d;
    const QByteArray before = d.fileBytes();
    {
        ModalDriver guard;
        EXPECT_FALSE(frmMoveVardeck::run(d.db, {"T1", {"W99", "T2"}, true}, d.hooks, {}));
        EXPECT_FALSE(frmMoveVardeck::run(d.db, {"T1", {}, false}, d.hooks, {}));
        EXPECT_TRUE(guard.opened().isEmpty());
    }
    EXPECT_EQ(d.prompts.texts(), QStringList(2, "No Vardeck has been selected to move"));

    // A Vardeck removed while the dialog is open cancels the whole move.
    bool called = false;
    frmMoveVardeck dialog(d.db, {"T1", {"W1", "W3"}, true}, d.hooks, [&](const VardecksMoved &) { called = true; });
    dialog.show();
    XmlNode w3 = d.node("W3");
    w3.parentNode().removeChild(w3);
    clickFolder(&dialog, "T5");
    saveOf(&dialog)->click();
    EXPECT_EQ(d.prompts.messages().size(), 3u);
    EXPECT_FALSE(called);
    EXPECT_EQ(d.ids("T1", "VARDECKS"), QStringList({"W1", "W2"}));
    EXPECT_EQ(d.fileBytes(), before);
    EXPECT_EQ(dialog.result(), QDialog::Rejected);
}

TEST(frmMoveVardeck, runDrivenModallyMovesAndFailedSaveKeepsTheMoveInMemory)
{
    DialogDb d;
    const QByteArray before = d.fileBytes();
    QTimer::singleShot(0, [] {
        QWidget *dialog = QApplication::activeModalWidget();
        ASSERT_NE(dialog, nullptr);
        clickFolder(dialog, "T2");
        FailingDisk disk;
        saveOf(dialog)->click();
    });
    VardecksMoved result;
    EXPECT_TRUE(frmMoveVardeck::run(d.db, {"T1", {"W1"}, false}, d.hooks, [&](const VardecksMoved &m) { result = m; }));
    EXPECT_EQ(result.targetTID, "T2");
    EXPECT_EQ(d.ids("T2", "VARDECKS"), QStringList({"W1"}));
    EXPECT_EQ(d.fileBytes(), before);
    ASSERT_EQ(d.prompts.messages().size(), 1u);
    EXPECT_EQ(d.prompts.messages()[0].icon, MsgIcon::Exclamation);
    EXPECT_EQ(d.changes.size(), 1u);
}

TEST(frmMoveTopic, refusesItsOwnSubFolderAndIgnoresItself)
{
    DialogDb d;
    const QByteArray before = d.fileBytes();
    frmMoveTopic dialog(d.db, "T1", d.hooks, {});
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
}

TEST(frmMoveTopic, movesUnderAFolderOrLastToTheTopLevel)
{
    DialogDb d;
    std::vector<FolderMoved> moved;
    const auto move = [&](const QString &tid, const QString &target, const QString &targetLabel) {
        frmMoveTopic dialog(d.db, tid, d.hooks, [&](const FolderMoved &m) { moved.push_back(m); });
        dialog.show();
        clickFolder(&dialog, target);
        EXPECT_EQ(labelText(&dialog, "lblNewFolder"), targetLabel);
        EXPECT_TRUE(saveOf(&dialog)->isEnabled());
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

TEST(frmMoveTopic, aFolderThatMatchesNothingDoesNotOpen)
{
    DialogDb d;
    ModalDriver guard;
    EXPECT_FALSE(frmMoveTopic::run(d.db, "T99", d.hooks, {}));
    EXPECT_FALSE(frmMoveTopic::run(d.db, "W1", d.hooks, {}));
    EXPECT_TRUE(guard.opened().isEmpty());
    EXPECT_EQ(d.prompts.texts(), QStringList(2, "No folder has been selected to move"));

    // The folder removed while the dialog is open: nothing moves.
    frmMoveTopic dialog(d.db, "T4", d.hooks, {});
    dialog.show();
    XmlNode alpha = d.node("T4");
    alpha.parentNode().removeChild(alpha);
    clickFolder(&dialog, "T5");
    saveOf(&dialog)->click();
    EXPECT_TRUE(d.ids("T5", "SUBFOLDERS").isEmpty());
    EXPECT_EQ(dialog.result(), QDialog::Rejected);
}

// A new or moved folder that would nest deeper than a database may be is refused before anything changes.
TEST(FolderNesting, newAndMovedFoldersStopAtTheDeepestLevelASaveAllows)
{
    DialogDb d(deepBody(kMaxFolderLevels));
    const QByteArray before = d.fileBytes();
    const QString refused =
        QStringLiteral("A folder cannot go there: folders may be nested at most %1 levels deep.").arg(kMaxFolderLevels);

    frmTopicDialog tooDeep(d.db, QStringLiteral("T%1").arg(kMaxFolderLevels), d.hooks, {});
    find<QLineEdit>(&tooDeep, "txtTName")->setText("one too deep");
    saveOf(&tooDeep)->click();
    EXPECT_EQ(d.prompts.lastText(), refused);
    EXPECT_EQ(d.fileBytes(), before);

    frmMoveTopic moveTooDeep(d.db, "T900", d.hooks, {});
    clickFolder(&moveTooDeep, QStringLiteral("T%1").arg(kMaxFolderLevels - 1));
    saveOf(&moveTooDeep)->click();
    EXPECT_EQ(d.prompts.messages().size(), 2u);
    EXPECT_EQ(d.prompts.lastText(), refused);
    EXPECT_EQ(d.fileBytes(), before);

    // One level less fits, is saved and opens again.
    frmMoveTopic move(d.db, "T900", d.hooks, {});
    clickFolder(&move, QStringLiteral("T%1").arg(kMaxFolderLevels - 2));
    saveOf(&move)->click();
    frmTopicDialog create(d.db, QStringLiteral("T%1").arg(kMaxFolderLevels - 1), d.hooks, {});
    find<QLineEdit>(&create, "txtTName")->setText("deepest");
    saveOf(&create)->click();
    EXPECT_EQ(d.prompts.messages().size(), 2u);
    XMLDatabase reopened;
    ASSERT_TRUE(reopened.openDBValidate(d.path)) << qPrintable(reopened.getTheDOM()->parseErrorReason());
    EXPECT_EQ(folderLevel(reopened.getTheDOM()->nodeFromID("T901")), kMaxFolderLevels);
}
