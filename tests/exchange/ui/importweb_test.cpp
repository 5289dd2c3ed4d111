// An import made while the Web Aspect is shown, from the Import/Export window.
#include "exchange/ui/frmimportexport.h"
#include "exchange/ui/frmprogress.h"
#include "exchange/ui/installexchange.h"
#include "explorer/explorerfixture.h"
#include "shell/statuspanels.h"
#include "storage/xmldatabase.h"
#include "support/dialogcontrols.h"
#include "support/windowcontrols.h"
#include "web/ui/webaspect.h"

#include <QComboBox>

using namespace rr;
using namespace rr::test;

namespace
{

class ImportInWebAspect : public ExplorerTest
{
protected:
    void SetUp() override
    {
        ExplorerTest::SetUp();
        installWebAspect(*window);
        openDatabase();
        for (const char *name : {"Papers/a.pdf", "Papers/b.pdf"})
            writeBytes(files.filePath(name), "%PDF-1.4\n");
        dialog = new frmImportExport(exchangeWindowOf(*window));
        dialog->show();
    }
    void TearDown() override
    {
        delete frmProgress::current();
        ExplorerTest::TearDown();
    }

    QTemporaryDir files;
    frmImportExport *dialog = nullptr;
};

} // namespace

TEST_F(ImportInWebAspect, theNewFolderLeavesTheFolderPathAndTheExplorersCommandsOff)
{
    clickFolder("T2");
    window->menuItem(MenuId::mnuAspectWeb)->trigger();
    ASSERT_EQ(window->currentAspect(), "Web");

    const QString folder = files.filePath("Papers");
    dialog->chooseFolder = [folder](QWidget *) { return std::optional<FolderChoice>({folder, false}); };
    dialogControl<QComboBox>(*dialog, "cmbImport")->setCurrentIndex(4);
    emit dialogControl<QComboBox>(*dialog, "cmbImport")->activated(4);
    QTest::mouseClick(dialogControl<qbButtons_H>(*dialog, "cmdSave"), Qt::LeftButton);
    for (int i = 0; i < 400 && dialog->isRunning(); ++i)
        QTest::qWait(5);
    QCoreApplication::processEvents();
    ASSERT_TRUE(explorer->tree.folderPathOf(window->currentTID()).has_value());
    ASSERT_EQ(*explorer->tree.folderPathOf(window->currentTID()), "\\Imported PDF documents");

    EXPECT_EQ(window->currentAspect(), "Web");
    EXPECT_NE(StatusBar1(*window)->panelText(2), "\\Imported PDF documents") << "no folder path in the Web Aspect";
    const struct {
        const char *name;
        Tb button;
    } off[] = {{"First", Tb::FirstVardeck},
               {"Previous", Tb::PreviousVardeck},
               {"Next", Tb::NextVardeck},
               {"Last", Tb::LastVardeck}};
    for (const auto &item : off)
        EXPECT_FALSE(window->toolbarButton(item.button)->isEnabled()) << item.name;
}
