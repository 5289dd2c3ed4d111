// An import or a merge started from the Import/Export window while a Vardeck is being changed: the
// unsaved-changes question comes before anything else, No keeps the change, Yes lets the import go on.
#include "exchange/ui/frmdirselect.h"
#include "exchange/ui/frmimportexport.h"
#include "exchange/ui/frmprogress.h"
#include "exchange/ui/installexchange.h"
#include "explorer/editing.h"
#include "explorer/explorerfixture.h"
#include "finding/ui/findingui.h"
#include "support/dialogcontrols.h"
#include "support/windowcontrols.h"

#include <QComboBox>
#include <QRadioButton>

using namespace rr;
using namespace rr::test;

namespace
{

class ImportDuringEditTest : public ExplorerTest
{
protected:
    void SetUp() override
    {
        ExplorerTest::SetUp();
        installFinding(*window);
        installEditing(*window);
        openDatabase();
        dialog = new frmImportExport(exchangeWindowOf(*window));
        dialog->appDataPath = files.path();
        dialog->firefoxRoot = files.filePath(".mozilla/firefox");
        dialog->chooseFolder = [this](QWidget *) -> std::optional<FolderChoice> {
            ++foldersAskedFor;
            return std::nullopt;
        };
        dialog->show();
    }
    void TearDown() override
    {
        delete frmProgress::current();
        ExplorerTest::TearDown();
    }
    // Beta site (W1) shown and its name changed in the details panel.
    void startModification()
    {
        showVardeck("T1", "W1");
        window->menuItem(MenuId::mnuEditModify)->trigger();
        txtWName(*window)->setFocus();
        QTest::keyClick(txtWName(*window), Qt::Key_End);
        QTest::keyClicks(txtWName(*window), " changed");
        ASSERT_EQ(window->editState(), EditState::Modifying);
    }
    // Chooses an import entry as the user does and presses OK; returns once the run is over.
    void runImport(int entry)
    {
        QTest::mouseClick(dialogControl<QRadioButton>(*dialog, "opt(0)"), Qt::LeftButton);
        dialogControl<QComboBox>(*dialog, "cmbImport")->setCurrentIndex(entry);
        emit dialogControl<QComboBox>(*dialog, "cmbImport")->activated(entry);
        QTest::mouseClick(dialogControl<qbButtons_H>(*dialog, "cmdSave"), Qt::LeftButton);
        for (int i = 0; i < 200 && dialog->isRunning(); ++i)
            QTest::qWait(5);
    }

    QTemporaryDir files;
    frmImportExport *dialog = nullptr;
    int foldersAskedFor = 0;
};

TEST_F(ImportDuringEditTest, anImportOrAMergeAsksBeforeItDropsAnEditAndNoKeepsTheEdit)
{
    const QString unsaved = "You are about to lose unsaved changes - do you wish to continue?";
    // What each entry does next once the edit may go: its own question, the file dialog or the folder picker.
    const std::pair<int, QString> entries[] = {
        {0, "You are about to import your Internet Explorer favorite folders and Internet shortcuts on this "
            "computer into Razuzezu Revidod.  Do you wish to proceed?"},
        {1, "You are about to import your Firefox bookmarks on this computer into Razuzezu Revidod.  Do you wish "
            "to proceed?"},
        {2, "You are about to import your Mozilla/Netscape bookmarks on this computer into Razuzezu Revidod.  Do "
            "you wish to proceed?"},
        {3, "a file"},
        {4, "a folder"},
    };
    for (const auto &[entry, next] : entries) {
        SCOPED_TRACE(dialogControl<QComboBox>(*dialog, "cmbImport")->itemText(entry).toStdString());
        startModification();
        const QByteArray before = fileBytes();
        foldersAskedFor = 0;
        {
            ScriptedPrompts no;
            no.answer(MsgResult::No);
            runImport(entry);
            EXPECT_EQ(no.texts(), QStringList{unsaved});
            EXPECT_TRUE(no.fileRequests().empty());
        }
        EXPECT_EQ(foldersAskedFor, 0);
        EXPECT_EQ(window->editState(), EditState::Modifying);
        EXPECT_EQ(txtWName(*window)->text(), "Beta site changed");
        EXPECT_EQ(fileBytes(), before);

        // Yes: the edit goes and the import takes its next step, here refused.
        ScriptedPrompts yes;
        yes.answer(MsgResult::Yes);
        yes.answer(MsgResult::No);
        runImport(entry);
        ASSERT_FALSE(yes.texts().isEmpty());
        EXPECT_EQ(yes.texts().front(), unsaved);
        EXPECT_EQ(window->editState(), EditState::Viewing);
        EXPECT_EQ(lblWName(*window)->text(), "Beta site");
        const QString taken = yes.fileRequests().size() == 1 ? "a file"
                              : foldersAskedFor == 1         ? "a folder"
                                                             : yes.texts().value(1);
        EXPECT_EQ(taken, next);
        EXPECT_EQ(fileBytes(), before);
    }
}

} // namespace
