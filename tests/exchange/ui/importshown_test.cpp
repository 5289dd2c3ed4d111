// What the window shows once an import or a merge has ended: the status bar's folder
// path, the new Vardecks' pictures, and the progress window in front.
#include "exchange/ui/frmimportexport.h"
#include "exchange/ui/frmprogress.h"
#include "exchange/ui/installexchange.h"
#include "explorer/explorerfixture.h"
#include "storage/xmldatabase.h"
#include "support/dialogcontrols.h"
#include "support/windowcontrols.h"

#include <QComboBox>
#include <QImage>

using namespace rr;
using namespace rr::test;

namespace
{

class ImportShown : public ExplorerTest
{
protected:
    void SetUp() override
    {
        ExplorerTest::SetUp();
        openDatabase();
        // The stock picture of PDF documents.
        QImage stock(8, 8, QImage::Format_RGB32);
        stock.fill(Qt::red);
        ASSERT_TRUE(stock.save(window->dbXML->getBasePath() + "pdficon.gif", "PNG"));
        for (const char *name : {"Papers/a.pdf", "Papers/b.pdf", "More/c.pdf"})
            writeBytes(files.filePath(name), "%PDF-1.4\n");
        other = files.filePath("Other.xml");
        writeBytes(other, "<?xml version='1.0'?>\n<!DOCTYPE FOLDERS SYSTEM 'Vardecks.dtd'>\n<FOLDERS>" +
                              folderXml("T1", "Merged", vardeckXml("W1", "m1")) + "</FOLDERS>");
        dialog = new frmImportExport(exchangeWindowOf(*window));
        dialog->show();
    }
    void TearDown() override
    {
        delete frmProgress::current();
        ExplorerTest::TearDown();
    }

    // Imports the PDF documents of folder, or merges the other database (folder empty),
    // from the Import/Export window brought to the front, as the user does.
    void importFrom(const QString &folder)
    {
        dialog->raise();
        dialog->activateWindow();
        QApplication::setActiveWindow(dialog);
        if (folder.isEmpty())
            prompts.answerFile(other);
        else
            dialog->chooseFolder = [folder](QWidget *) { return std::optional<FolderChoice>({folder, false}); };
        const int entry = folder.isEmpty() ? 3 : 4;
        dialogControl<QComboBox>(*dialog, "cmbImport")->setCurrentIndex(entry);
        emit dialogControl<QComboBox>(*dialog, "cmbImport")->activated(entry);
        QTest::mouseClick(dialogControl<qbButtons_H>(*dialog, "cmdSave"), Qt::LeftButton);
        for (int i = 0; i < 400 && dialog->isRunning(); ++i)
            QTest::qWait(5);
        QCoreApplication::processEvents();
    }
    QString shownPath() const { return StatusBar1(*window)->panelText(2); }
    QString pathOf(const QString &tid) const { return explorer->tree.folderPathOf(tid).value_or("(none)"); }

    QTemporaryDir files;
    QString other;
    frmImportExport *dialog = nullptr;
};

} // namespace

TEST_F(ImportShown, theStatusBarNamesTheFolderShownAfterAnImportFromAnyTabAndNoneAfterAMerge)
{
    const struct {
        const char *what;
        int tab; // the left pane's tab on top during the import
    } cases[] = {{"the Index tab", 0}, {"the Favorites tab", 2}, {"the Search tab", 1}};
    for (const auto &c : cases) {
        clickFolder("T2");
        ASSERT_EQ(shownPath(), pathOf("T2")) << c.what;
        tabIndex(*window)->setTab(c.tab);
        importFrom(files.filePath("Papers"));
        ASSERT_NE(window->currentTID(), "T2") << c.what;
        EXPECT_EQ(lblTName(*window)->text(), "Imported PDF documents") << c.what;
        EXPECT_EQ(shownPath(), pathOf(window->currentTID())) << c.what;
        EXPECT_EQ(shownPath(), "\\Imported PDF documents") << c.what;
        tabIndex(*window)->setTab(0);
    }

    clickFolder("T2");
    ASSERT_EQ(shownPath(), pathOf("T2"));
    importFrom(QString());
    EXPECT_EQ(lblTName(*window)->text(), "No folder selected");
    EXPECT_EQ(shownPath(), "");
}

TEST_F(ImportShown, newPdfVardecksShowTheirIconInTheTreeAndTheListAtOnce)
{
    importFrom(files.filePath("Papers"));
    const QString top = window->currentTID();
    const QStringList wids = {tag(tvwWM(*window)->topLevelItem(0)), tag(tvwWM(*window)->topLevelItem(1))};
    ASSERT_EQ(tvwWM(*window)->topLevelItemCount(), 2);
    for (const QString &wid : wids) {
        ASSERT_TRUE(window->vardeckPictures().has(wid)) << wid.toStdString();
        const qint64 picture = window->vardeckPictures().cacheKey(wid);
        EXPECT_EQ(wmNode(wid)->icon(0).cacheKey(), picture) << wid.toStdString();
        ASSERT_NE(row(wid), nullptr) << wid.toStdString();
        EXPECT_EQ(row(wid)->icon(0).cacheKey(), picture) << wid.toStdString();
    }
    EXPECT_EQ(window->currentTID(), top);
}

TEST_F(ImportShown, aSecondImportOrAMergeBringsItsProgressWindowAndSummaryToTheFront)
{
    importFrom(files.filePath("Papers"));
    frmProgress *summary = frmProgress::current();
    ASSERT_NE(summary, nullptr);
    EXPECT_EQ(QApplication::activeWindow(), summary);

    // The summary stays open; the Import/Export window comes in front of it for the next.
    for (const QString &next : {files.filePath("More"), QString()}) {
        importFrom(next);
        ASSERT_EQ(frmProgress::current(), summary) << "the open window is reused";
        EXPECT_TRUE(summary->isVisible());
        EXPECT_EQ(QApplication::activeWindow(), summary) << next.toStdString();
        EXPECT_TRUE(summary->windowTitle().startsWith("Vardecks imported: ")) << next.toStdString();
    }
}
