#include "importexportfixture.h"
#include "support/failingdisk.h"

#include <QCheckBox>
#include <QProgressBar>

using namespace rr;
using namespace rr::test;

TEST_F(ImportExportTest, showsItsChoicesAndDescriptionsExactly)
{
    EXPECT_EQ(dialog->windowTitle(), "Import/Export");
    EXPECT_EQ(dialog->Label2->text(), "Choose an import or export format, then click on OK");
    EXPECT_TRUE(dialog->opt(0)->isChecked());
    EXPECT_FALSE(dialog->cmbExport->isEnabled());
    EXPECT_EQ(dialog->cmbImport->currentIndex(), -1);
    EXPECT_EQ(dialog->lblDesc->text(), "");
    EXPECT_EQ(dialog->favoritesPath, favorites);
    EXPECT_EQ(dialog->firefoxRoot, QDir::homePath() + "/.mozilla/firefox");

    // OK with nothing chosen does nothing at all.
    QTest::mouseClick(dialog->cmdSave, Qt::LeftButton);
    QTest::qWait(20);
    EXPECT_TRUE(prompts.messages().empty());

    dialog->cmbImport->setCurrentIndex(0);
    emit dialog->cmbImport->activated(0);
    EXPECT_EQ(dialog->lblDesc->text(), "Import your Internet Explorer favorites and folders into Razuzezu Revidod.  "
                                       "These will be stored in a new folder called Imported favorites");
    // Switching to Export keeps the description and the chosen import entry.
    QTest::mouseClick(dialog->opt(1), Qt::LeftButton);
    EXPECT_TRUE(dialog->cmbExport->isEnabled());
    EXPECT_FALSE(dialog->cmbImport->isEnabled());
    EXPECT_EQ(dialog->cmbImport->currentIndex(), 0);
    EXPECT_TRUE(dialog->lblDesc->text().endsWith("called Imported favorites"));
    dialog->cmbExport->setCurrentIndex(1);
    emit dialog->cmbExport->activated(1);
    EXPECT_EQ(dialog->lblDesc->text(), "Export your Razuzezu Revidod folders and Vardecks into Firefox bookmarks.   "
                                       "These will be stored in a new folder called Imported Vardecks.");
    dialog->cmbExport->setCurrentIndex(5);
    emit dialog->cmbExport->activated(5);
    EXPECT_EQ(dialog->lblDesc->text(),
              "Export all your Vardecks to comma separated variable (CSV) format, which is compatible with "
              "spreadsheet software such as Microsoft Excel.");
}

TEST_F(ImportExportTest, favoritesImportEndsWithTaskCompletedAndTheNewFolderShown)
{
    prompts.answer(MsgResult::Yes);
    run(true, 0);
    ASSERT_EQ(prompts.messages().size(), 1u);
    EXPECT_EQ(prompts.messages()[0].title, "Import Internet Explorer favorites?");
    EXPECT_EQ(prompts.messages()[0].text, "You are about to import your Internet Explorer favorite folders and "
                                          "Internet shortcuts on this computer into Razuzezu Revidod.  Do you wish "
                                          "to proceed?");

    frmProgress *progress = frmProgress::current();
    ASSERT_NE(progress, nullptr);
    EXPECT_EQ(progress->windowTitle(), "Vardecks imported: 2");
    EXPECT_EQ(progress->lblName2->text(), "Task completed");
    EXPECT_EQ(progress->lblName->text(), "Skipped, could not be read: 1");
    EXPECT_TRUE(progress->Label6->isVisibleTo(progress));

    EXPECT_TRUE(topics()->isVisible());
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
    ASSERT_NE(topics()->currentItem(), nullptr);
    EXPECT_EQ(topics()->currentItem()->text(0), "Imported favorites");
    XMLDatabase disk;
    ASSERT_TRUE(disk.openDBValidate(path));
    const XmlNode top = disk.getTheDOM()->documentElement().childElements().last();
    EXPECT_EQ(tag(topics()->currentItem()), top.attribute("TID")) << "the imported folder is on disk";

    // The progress window's OK closes it.
    QTest::mouseClick(progress->Command1, Qt::LeftButton);
    QTest::qWait(10);
    EXPECT_EQ(frmProgress::current(), nullptr);
}

TEST_F(ImportExportTest, refusedImpossibleOrUnsavableImportsChangeNothing)
{
    const QByteArray before = fileBytes();
    const QByteArray documentBefore = doc()->toBytes();
    prompts.answer(MsgResult::No);
    run(true, 0);
    EXPECT_EQ(frmProgress::current(), nullptr);

    dialog->favoritesPath = files.filePath("Missing");
    prompts.answer(MsgResult::Yes);
    run(true, 0);
    EXPECT_EQ(prompts.lastText(),
              "The Favorites folder " + files.filePath("Missing") + " does not exist, so nothing was imported.");

    // The PDF picker cancelled.
    dialog->chooseFolder = [](QWidget *) { return false; };
    run(true, 4);
    EXPECT_EQ(frmProgress::current(), nullptr);
    EXPECT_EQ(doc()->toBytes(), documentBefore);
    EXPECT_EQ(fileBytes(), before);

    // An import that cannot be saved is taken back with its reason.
    dialog->favoritesPath = favorites;
    prompts.answer(MsgResult::Yes);
    {
        FailingDisk disk(200);
        run(true, 0);
    }
    EXPECT_TRUE(prompts.lastText().startsWith(
        "The imported folders and Vardecks could not be saved, so nothing was added: " + path +
        " could not be written"))
        << prompts.lastText().toStdString();
    EXPECT_EQ(prompts.messages().back().icon, MsgIcon::Exclamation);
    EXPECT_EQ(doc()->toBytes(), documentBefore);
    EXPECT_EQ(fileBytes(), before);
    EXPECT_TRUE(topics()->isVisible());
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
    QTest::qWait(10);
    EXPECT_EQ(frmProgress::current(), nullptr);
}

TEST_F(ImportExportTest, pdfImportTakesThePickedFolderAndShowsOnlyTheVardeckCount)
{
    const QString pdfs = files.filePath("Papers");
    writeBytes(pdfs + "/a.PDF", "%PDF");
    writeBytes(pdfs + "/one/two/b.pdf", "%PDF");
    dialog->chooseFolder = [pdfs](QWidget *) {
        chosenFolderPath = pdfs;
        pdfIncludeSubfolders = 1;
        return true;
    };
    run(true, 4);
    frmProgress *progress = frmProgress::current();
    ASSERT_NE(progress, nullptr);
    EXPECT_EQ(progress->windowTitle(), "Vardecks imported: 2");
    EXPECT_FALSE(progress->Label6->isVisibleTo(progress));
    EXPECT_FALSE(progress->lblFolders->isVisibleTo(progress));
    EXPECT_EQ(topics()->currentItem()->text(0), "Imported PDF documents");
}

TEST_F(ImportExportTest, favoritesExportWritesTheTreeAndSaysSo)
{
    run(false, 0);
    EXPECT_EQ(prompts.lastText(), "Your Vardecks have been successfully been exported to Internet Explorer favorites.");
    EXPECT_TRUE(QFile::exists(favorites + "/Imported Vardecks/zebra/alpha & co.url"));
}

TEST_F(ImportExportTest, folderPickerLeavesItsChoiceInTheSharedState)
{
    const QString start = files.path();
    frmDirSelect picker(window.get(), start);
    EXPECT_EQ(picker.windowTitle(), "Select a folder");
    EXPECT_EQ(picker.lblTopicName->text(), start);
    picker.setCurrentFolder(favorites);
    picker.Check1->setChecked(true);
    QTest::mouseClick(picker.cmdSave, Qt::LeftButton);
    EXPECT_EQ(chosenFolderPath, favorites);
    EXPECT_EQ(pdfIncludeSubfolders, 1);

    frmDirSelect again(window.get(), start);
    QTest::mouseClick(again.cmdCancel, Qt::LeftButton);
    EXPECT_EQ(chosenFolderPath, "");
    EXPECT_EQ(pdfIncludeSubfolders, 1);
}
