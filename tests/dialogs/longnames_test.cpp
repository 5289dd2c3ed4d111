// A folder whose name in the file has millions of letters, in the folder dialogs.
#include "dialogfixture.h"
#include "dialogs/frmmodifytopic.h"
#include "dialogs/frmtopicdialog.h"
#include "platform/textutil.h"

#include <QElapsedTimer>
#include <QLineEdit>
#include <QTest>

using namespace rr;
using namespace rr::test;

TEST(LongFolderNames, theNewFolderDialogShowsAndSavesUnderAFolderOfTenMillionLettersAtOnce)
{
    const QByteArray huge(10'000'000, 'n');
    DialogDb d("<FOLDERS>" + folderXml("T1", huge) + "</FOLDERS>");
    QElapsedTimer clock;
    clock.start();
    std::vector<FolderCreated> created;
    frmTopicDialog dialog(d.db, "T1", d.host, [&](const FolderCreated &c) { created.push_back(c); });
    dialog.show();
    (void)dialog.grab();
    EXPECT_EQ(labelText(&dialog, "lblTopicName"), QString(kMostShownLetters, 'n') + QChar(0x2026));
    QTest::keyClicks(find<QLineEdit>(&dialog, "txtTName"), "Inside");
    QTest::keyClick(find<QLineEdit>(&dialog, "txtTName"), Qt::Key_Return);
    EXPECT_LT(clock.elapsed(), 3000);
    ASSERT_EQ(created.size(), 1u);
    EXPECT_EQ(created[0].parentTID, "T1");
    EXPECT_EQ(d.node("T1").childText("NAME").size(), huge.size()) << "the name itself is never cut";
    EXPECT_TRUE(d.fileBytes().contains("<NAME>" + huge + "</NAME>"));
}

TEST(LongFolderNames, theRenameBoxEditsTheNameAsTheFileHoldsItNotAsTheTreeShowsIt)
{
    const QByteArray name(kMostShownLetters + 10, 'r');
    DialogDb d("<FOLDERS>" + folderXml("T1", name) + "</FOLDERS>");
    frmModifyTopic dialog(d.db, "T1", d.host, {});
    dialog.show();
    EXPECT_EQ(find<QLineEdit>(&dialog, "txtTName")->text(), QString::fromLatin1(name));
    EXPECT_EQ(labelText(&dialog, "lblTopicName"), QString(kMostShownLetters, 'r') + QChar(0x2026));
}
