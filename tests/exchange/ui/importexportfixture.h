#pragma once
// The Import/Export window on a main window with a sample database, and a Favorites
// folder named in the settings.
#include "controls/qbbuttons_h.h"
#include "exchange/shellfolders.h"
#include "exchange/ui/frmdirselect.h"
#include "exchange/ui/frmimportexport.h"
#include "exchange/ui/frmprogress.h"
#include "explorer/explorerfixture.h"
#include "storage/registryfunctions.h"

#include <QComboBox>
#include <QRadioButton>
#include <QTemporaryDir>

namespace rr::test
{

class ImportExportTest : public ExplorerTest
{
protected:
    void SetUp() override
    {
        ExplorerTest::SetUp();
        openDatabase();
        favorites = files.filePath("Favorites");
        writeBytes(favorites + "/Example.url", "[InternetShortcut]\r\nURL=http://example.com/\r\n");
        writeBytes(favorites + "/Sub/Inner.url", "[InternetShortcut]\r\nURL=http://inner.example/\r\n");
        QFile::link(favorites + "/Broken.url", favorites + "/Broken.url");
        RegistryFunctions::WriteValue(reg::HKEY_CURRENT_USER, QLatin1String(kShellFoldersKey), "Favorites", favorites);
        dialog = new frmImportExport(*window);
        dialog->importDay = QDate(2026, 12, 7);
        dialog->show();
    }
    void TearDown() override
    {
        if (frmProgress *progress = frmProgress::current())
            delete progress;
        ExplorerTest::TearDown();
    }

    // Chooses an entry as the user does and presses OK; returns once the run is over.
    void run(bool import, int entry)
    {
        QTest::mouseClick(dialog->opt(import ? 0 : 1), Qt::LeftButton);
        QComboBox *list = import ? dialog->cmbImport : dialog->cmbExport;
        list->setCurrentIndex(entry);
        emit list->activated(entry);
        QTest::mouseClick(dialog->cmdSave, Qt::LeftButton);
        EXPECT_FALSE(dialog->cmdSave->isEnabled());
        for (int i = 0; i < 200 && dialog->isRunning(); ++i)
            QTest::qWait(5);
        EXPECT_TRUE(dialog->cmdSave->isEnabled());
    }

    QTemporaryDir files;
    QString favorites;
    frmImportExport *dialog = nullptr;
};

} // namespace rr::test
