// A new or moved folder that would nest the tree deeper than a database may be is
// refused before anything changes, so the file stays one that opens again.
#include "dialogfixture.h"
#include "dialogs/frmmovetopic.h"
#include "dialogs/frmtopicdialog.h"

#include <QLineEdit>

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
