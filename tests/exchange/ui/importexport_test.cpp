// The Import/Export window on a sample database, with Favorites and Firefox folders in a temporary folder.
#include "controls/qbbuttons_h.h"
#include "exchange/shellfolders.h"
#include "exchange/ui/frmdirselect.h"
#include "exchange/ui/frmimportexport.h"
#include "exchange/ui/frmprogress.h"
#include "exchange/ui/installexchange.h"
#include "explorer/editing.h"
#include "explorer/explorerfixture.h"
#include "storage/registryfunctions.h"
#include "storage/session.h"
#include "storage/useroptions.h"
#include "support/dialogcontrols.h"
#include "support/failingdisk.h"
#include "support/windowcontrols.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QProgressBar>
#include <QRadioButton>
#include <QStyleOptionComboBox>
#include <QtTest/qtestspontaneevent.h>

using namespace rr;
using namespace rr::test;

namespace
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
        dialog = new frmImportExport(exchangeWindowOf(*window));
        dialog->importDay = QDate(2026, 12, 7);
        dialog->appDataPath = files.path();
        dialog->firefoxRoot = files.filePath(".mozilla/firefox");
        dialog->show();
    }
    void TearDown() override
    {
        delete frmProgress::current();
        ExplorerTest::TearDown();
    }

    // Chooses an entry as the user does and presses OK; returns once the run is over.
    void run(bool import, int entry)
    {
        QTest::mouseClick(dialogControl<QRadioButton>(*dialog, import ? "opt(0)" : "opt(1)"), Qt::LeftButton);
        QComboBox *list =
            import ? dialogControl<QComboBox>(*dialog, "cmbImport") : dialogControl<QComboBox>(*dialog, "cmbExport");
        list->setCurrentIndex(entry);
        emit list->activated(entry);
        QTest::mouseClick(dialogControl<qbButtons_H>(*dialog, "cmdSave"), Qt::LeftButton);
        EXPECT_FALSE(dialogControl<qbButtons_H>(*dialog, "cmdSave")->isEnabled());
        for (int i = 0; i < 200 && dialog->isRunning(); ++i)
            QTest::qWait(5);
        EXPECT_TRUE(dialogControl<qbButtons_H>(*dialog, "cmdSave")->isEnabled());
    }

    static QByteArray data(const QString &name) { return readBytes(dataFile("exchange/" + name)); }

    QTemporaryDir files;
    QString favorites;
    frmImportExport *dialog = nullptr;
};

// Notes what the progress window shows each time the pending window events run
// while an operation of the dialog is under way.
class ProgressWatcher : public QObject
{
public:
    struct Seen {
        QString title;
        QString vardecks;
        int bar = 0;
    };

    explicit ProgressWatcher(frmImportExport *dialog) : m_dialog(dialog) { again(); }
    std::vector<Seen> seen;
    // Runs the first time the watcher is called during the operation.
    std::function<void()> onFirstCall;

protected:
    bool event(QEvent *event) override
    {
        if (event->type() != QEvent::User)
            return QObject::event(event);
        if (frmProgress *progress = frmProgress::current(); progress && m_dialog->isRunning()) {
            seen.push_back({progress->windowTitle(), dialogControl<QLabel>(*progress, "lblVD")->text(),
                            dialogControl<QProgressBar>(*progress, "progress1")->value()});
            if (onFirstCall)
                std::exchange(onFirstCall, nullptr)();
        }
        again();
        return true;
    }

private:
    void again() { QCoreApplication::postEvent(this, new QEvent(QEvent::User)); }
    frmImportExport *m_dialog;
};

} // namespace

TEST_F(ImportExportTest, showsItsChoicesAndDescriptionsExactly)
{
    EXPECT_EQ(dialog->windowTitle(), "Import/Export");
    EXPECT_EQ(dialogControl<QLabel>(*dialog, "Label2")->text(), "Choose an import or export format, then click on OK");
    EXPECT_TRUE(dialogControl<QRadioButton>(*dialog, "opt(0)")->isChecked());
    EXPECT_FALSE(dialogControl<QComboBox>(*dialog, "cmbExport")->isEnabled());
    EXPECT_EQ(dialogControl<QComboBox>(*dialog, "cmbImport")->currentIndex(), -1);
    EXPECT_EQ(dialogControl<QLabel>(*dialog, "lblDesc")->text(), "");
    EXPECT_EQ(dialogControl<QComboBox>(*dialog, "cmbImport")->count(), 7);
    EXPECT_EQ(dialogControl<QComboBox>(*dialog, "cmbImport")->itemText(4), "PDF documents");
    EXPECT_EQ(dialogControl<QComboBox>(*dialog, "cmbExport")->count(), 7);
    EXPECT_EQ(dialogControl<QComboBox>(*dialog, "cmbExport")->itemText(5), "All Vardecks as CSV");
    EXPECT_EQ(frmImportExport(exchangeWindowOf(*window)).firefoxRoot, QDir::homePath() + "/.mozilla/firefox");

    // OK with nothing chosen does nothing at all.
    QTest::mouseClick(dialogControl<qbButtons_H>(*dialog, "cmdSave"), Qt::LeftButton);
    QTest::qWait(20);
    EXPECT_TRUE(prompts.messages().empty());

    dialogControl<QComboBox>(*dialog, "cmbImport")->setCurrentIndex(0);
    emit dialogControl<QComboBox>(*dialog, "cmbImport")->activated(0);
    EXPECT_EQ(dialogControl<QLabel>(*dialog, "lblDesc")->text(),
              "Import your Internet Explorer favorites and folders into Razuzezu Revidod.  "
              "These will be stored in a new folder called Imported favorites");
    // Switching to Export keeps the description and the chosen import entry.
    QTest::mouseClick(dialogControl<QRadioButton>(*dialog, "opt(1)"), Qt::LeftButton);
    EXPECT_TRUE(dialogControl<QComboBox>(*dialog, "cmbExport")->isEnabled());
    EXPECT_FALSE(dialogControl<QComboBox>(*dialog, "cmbImport")->isEnabled());
    EXPECT_EQ(dialogControl<QComboBox>(*dialog, "cmbImport")->currentIndex(), 0);
    EXPECT_TRUE(dialogControl<QLabel>(*dialog, "lblDesc")->text().endsWith("called Imported favorites"));
    dialogControl<QComboBox>(*dialog, "cmbExport")->setCurrentIndex(1);
    emit dialogControl<QComboBox>(*dialog, "cmbExport")->activated(1);
    EXPECT_EQ(dialogControl<QLabel>(*dialog, "lblDesc")->text(),
              "Export your Razuzezu Revidod folders and Vardecks into Firefox bookmarks.   "
              "These will be stored in a new folder called Imported Vardecks.");
    dialogControl<QComboBox>(*dialog, "cmbExport")->setCurrentIndex(5);
    emit dialogControl<QComboBox>(*dialog, "cmbExport")->activated(5);
    EXPECT_EQ(dialogControl<QLabel>(*dialog, "lblDesc")->text(),
              "Export all your Vardecks to comma separated variable (CSV) format, which is compatible with "
              "spreadsheet software such as Microsoft Excel.");
}

TEST_F(ImportExportTest, progressCaptionsOfEveryPhaseShowWholeBesideTheNames)
{
    frmProgress *progress = frmProgress::instance(window.get());
    progress->begin();
    const int designNameLeft = dialogControl<QLabel>(*progress, "lblName")->x();
    for (const char *caption : {"Indexing folder:", "Indexing Vardeck:", "Loading Vardeck:"}) {
        dialogControl<QLabel>(*progress, "Label1")->setText(caption);
        dialogControl<QLabel>(*progress, "Label3")->setText(caption);
        progress->setVardeckName("Alpha page");
        progress->refreshNow();
        for (QLabel *label : {dialogControl<QLabel>(*progress, "Label1"), dialogControl<QLabel>(*progress, "Label3")}) {
            EXPECT_GE(label->width(), label->fontMetrics().horizontalAdvance(label->text())) << caption;
            EXPECT_LT(label->geometry().right(), dialogControl<QLabel>(*progress, "lblName")->x()) << caption;
        }
        EXPECT_EQ(dialogControl<QLabel>(*progress, "lblName2")->x(), dialogControl<QLabel>(*progress, "lblName")->x());
        EXPECT_LE(dialogControl<QLabel>(*progress, "lblName")->geometry().right(), progress->width());
    }
    // A short caption gives the names their place back.
    progress->begin();
    dialogControl<QLabel>(*progress, "Label3")->setText("Folder:");
    progress->refreshNow();
    EXPECT_EQ(dialogControl<QLabel>(*progress, "lblName")->x(), designNameLeft);
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
    EXPECT_EQ(dialogControl<QLabel>(*progress, "lblName2")->text(), "Task completed");
    EXPECT_EQ(dialogControl<QLabel>(*progress, "lblName")->text(), "Skipped, could not be read: 1");
    EXPECT_TRUE(dialogControl<QLabel>(*progress, "Label6")->isVisibleTo(progress));
    ASSERT_NE(topics()->currentItem(), nullptr);
    EXPECT_EQ(topics()->currentItem()->text(0), "Imported favorites");
    XMLDatabase disk;
    ASSERT_TRUE(disk.openDBValidate(path));
    const XmlNode top = disk.getTheDOM()->documentElement().childElements().last();
    EXPECT_EQ(tag(topics()->currentItem()), top.attribute("TID")) << "the imported folder is on disk";

    // The progress window's OK closes it.
    QTest::mouseClick(dialogControl<qbButtons_H>(*progress, "Command1"), Qt::LeftButton);
    QTest::qWait(10);
    EXPECT_EQ(frmProgress::current(), nullptr);

    // A second run adds a second folder of the same name and shows that one.
    prompts.answer(MsgResult::Yes);
    run(true, 0);
    const QList<XmlNode> tops = doc()->documentElement().childElements();
    ASSERT_GE(tops.size(), 2);
    EXPECT_EQ(tops[tops.size() - 2].childText("NAME"), "Imported favorites");
    EXPECT_EQ(tops.last().childText("NAME"), "Imported favorites");
    EXPECT_EQ(topics()->currentItem()->text(0), "Imported favorites");
    EXPECT_EQ(tag(topics()->currentItem()), tops.last().attribute("TID"));
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
    dialog->chooseFolder = [](QWidget *) { return std::optional<FolderChoice>(); };
    run(true, 4);
    EXPECT_EQ(frmProgress::current(), nullptr);

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
    for (const char *name : {"/c.Pdf", "/a.PDF", "/B.pdf", "/one/two/b.pdf", "/one/two/d.pdf", "/one/A2.pdf"})
        writeBytes(pdfs + name, "%PDF");
    dialog->chooseFolder = [&](QWidget *parent) {
        frmDirSelect picker(parent, files.path());
        EXPECT_EQ(picker.windowTitle(), "Select a folder");
        EXPECT_EQ(dialogControl<QLabel>(picker, "lblTopicName")->text(), files.path());
        picker.setCurrentFolder(pdfs);
        dialogControl<QCheckBox>(picker, "Check1")->setChecked(true);
        QTest::mouseClick(dialogControl<qbButtons_H>(picker, "cmdSave"), Qt::LeftButton);
        return picker.choice();
    };
    run(true, 4);
    frmProgress *progress = frmProgress::current();
    ASSERT_NE(progress, nullptr);
    EXPECT_EQ(progress->windowTitle(), "Vardecks imported: 6") << "the folder and its sub-folders";
    EXPECT_FALSE(dialogControl<QLabel>(*progress, "Label6")->isVisibleTo(progress));
    EXPECT_FALSE(dialogControl<QLabel>(*progress, "lblFolders")->isVisibleTo(progress));
    EXPECT_EQ(topics()->currentItem()->text(0), "Imported PDF documents");
    // The new folder's Vardecks show by name, without regard to case, in the tree and in the list.
    const QStringList byName = {"a", "A2", "B", "b", "c", "d"};
    QStringList tree, list;
    for (int i = 0; i < tvwWM(*window)->topLevelItemCount(); ++i)
        tree << tvwWM(*window)->topLevelItem(i)->text(0);
    for (int i = 0; i < listVD(*window)->topLevelItemCount(); ++i)
        list << listVD(*window)->topLevelItem(i)->text(0);
    EXPECT_EQ(tree, byName);
    EXPECT_EQ(list, byName);

    // Cancel leaves no choice, whatever was picked in the window.
    frmDirSelect again(window.get(), files.path());
    again.setCurrentFolder(pdfs);
    dialogControl<QCheckBox>(again, "Check1")->setChecked(true);
    QTest::mouseClick(dialogControl<qbButtons_H>(again, "cmdCancel"), Qt::LeftButton);
    EXPECT_FALSE(again.choice().has_value());
}

TEST_F(ImportExportTest, firefoxImportSaysWhatItCannotFindAndImportsWhatItFinds)
{
    const QByteArray before = fileBytes();
    const QString root = files.filePath(".mozilla/firefox");
    prompts.answer(MsgResult::Yes);
    run(true, 1);
    EXPECT_EQ(prompts.messages()[0].title, "Import bookmarks?");
    EXPECT_EQ(prompts.messages()[0].text, "You are about to import your Firefox bookmarks on this computer into "
                                          "Razuzezu Revidod.  Do you wish to proceed?");
    EXPECT_EQ(prompts.lastText(), "The folder " + root + " could not be found");

    QDir().mkpath(root + "/abc.default");
    prompts.answer(MsgResult::Yes);
    run(true, 1);
    EXPECT_EQ(prompts.lastText(), "No bookmarks files could be found in " + root + " or any of its subfolders.");
    EXPECT_EQ(fileBytes(), before);
    EXPECT_EQ(doc()->documentElement().childElements().size(), 3);

    // Profiles in Firefox's own folder and in the XDG configuration folder are both read.
    writeBytes(root + "/abc.default/bookmarks.html", data("bookmarks.html"));
    qputenv("XDG_CONFIG_HOME", files.filePath("xdg").toUtf8());
    writeBytes(files.filePath("xdg/mozilla/firefox/abc.default/bookmarks.html"), data("bookmarks.html"));
    prompts.answer(MsgResult::Yes);
    run(true, 1);
    qunsetenv("XDG_CONFIG_HOME");
    ASSERT_NE(frmProgress::current(), nullptr);
    EXPECT_EQ(frmProgress::current()->windowTitle(), "Vardecks imported: 4");
    EXPECT_EQ(dialogControl<QLabel>(*frmProgress::current(), "lblFolders")->text(), "2");
    EXPECT_EQ(topics()->currentItem()->text(0), "Imported Firefox bookmarks");
}

// The one entry the other tests do not run: OK starts the Mozilla import, not another.
TEST_F(ImportExportTest, mozillaEntryAsksForMozillaBookmarksAndLooksInItsFolder)
{
    const QString root = files.filePath(".mozilla/seamonkey");
    dialog->mozillaRoot = root;
    prompts.answer(MsgResult::Yes);
    run(true, 2);
    EXPECT_EQ(prompts.messages()[0].text, "You are about to import your Mozilla/Netscape bookmarks on this computer "
                                          "into Razuzezu Revidod.  Do you wish to proceed?");
    EXPECT_EQ(prompts.lastText(), "The folder " + root + " could not be found");
}

TEST_F(ImportExportTest, folderHeadingsMovedUpToTheDeepestLevelAreToldApartFromFilesPassedOver)
{
    // 505 levels of headings, a link in each, two links without an address, and a profile
    // whose backup is damaged.
    QByteArray html = "<DL><p>\n<DT><A HREF=\"\">none</A>\n<DT><A HREF=\"  \">blank</A>\n";
    for (int i = 1; i <= 505; ++i)
        html += "<DT><H3>L" + QByteArray::number(i) + "</H3>\n<DL><p>\n<DT><A HREF=\"http://x/\">a</A>\n";
    html += QByteArray("</DL><p>\n").repeated(506);
    const QString root = files.filePath(".mozilla/firefox");
    writeBytes(root + "/deep.default/bookmarks.html", html);
    const QString damaged = root + "/other.default/bookmarkbackups/bookmarks-2026-12-01.jsonlz4";
    writeBytes(damaged, "not a backup");

    // The largest names the options allow.
    const qint16 fontSize = appOptions().getFontSize();
    appOptions().setFontSize(11);
    prompts.answer(MsgResult::Yes);
    run(true, 1);
    appOptions().setFontSize(fontSize);
    frmProgress *progress = frmProgress::current();
    ASSERT_NE(progress, nullptr);
    EXPECT_EQ(progress->windowTitle(), "Vardecks imported: 505");
    EXPECT_EQ(dialogControl<QLabel>(*progress, "lblName")->text(),
              "Skipped, could not be read: 1\nLinks without an address, passed over: 2\n"
              "Folders moved up to level 500: 6");
    const QStringList tip = dialogControl<QLabel>(*progress, "lblName")->toolTip().split('\n');
    ASSERT_EQ(tip.size(), 3);
    EXPECT_TRUE(tip[0].startsWith(damaged + ": ")) << tip[0].toStdString();
    EXPECT_EQ(tip[1], root + "/deep.default/bookmarks.html: 2 links without an address were passed over");
    EXPECT_EQ(tip[2], root + "/deep.default/bookmarks.html: 6 folders nested more than 500 levels deep were put at "
                             "level 500");
    // Every line shows whole.
    EXPECT_LE(dialogControl<QLabel>(*progress, "lblName")
                  ->heightForWidth(dialogControl<QLabel>(*progress, "lblName")->width()),
              dialogControl<QLabel>(*progress, "lblName")->height());

    // Moved folders alone are no file passed over.
    QFile::remove(damaged);
    prompts.answer(MsgResult::Yes);
    run(true, 1);
    EXPECT_EQ(dialogControl<QLabel>(*frmProgress::current(), "lblName")->text(),
              "Links without an address, passed over: 2\nFolders moved up to level 500: 6");
}

TEST_F(ImportExportTest, mergeAddsTheOtherDatabaseOrLeavesTheFileAsItWas)
{
    const QString other = files.filePath("other/Other.xml");
    writeBytes(other, "<?xml version='1.0'?>\n<!DOCTYPE FOLDERS SYSTEM 'Vardecks.dtd'>\n<FOLDERS>" +
                          folderXml("T1", "Merged", vardeckXml("W1", "m1") + vardeckXml("W2", "m2"),
                                    folderXml("T2", "Below", vardeckXml("W3", "m3"))) +
                          "</FOLDERS>");
    const QByteArray before = fileBytes();
    const QByteArray documentBefore = doc()->toBytes();
    prompts.answerFile(other);
    {
        FailingDisk disk(200);
        run(true, 3);
    }
    EXPECT_TRUE(prompts.lastText().startsWith("The imported folders and Vardecks could not be saved, so nothing was "
                                              "added: "));
    EXPECT_EQ(fileBytes(), before);
    EXPECT_EQ(doc()->toBytes(), documentBefore);
    ASSERT_EQ(prompts.fileRequests().size(), 1u);
    EXPECT_EQ(prompts.fileRequests()[0].title, "Import Vardecks database...");
    EXPECT_EQ(prompts.fileRequests()[0].startFolder, home.databaseFolder());

    // The Vardeck shown before goes, and the panel says so rather than going blank.
    installEditing(*window);
    showVardeck("T1", "W1");
    prompts.answerFile(other);
    run(true, 3);
    EXPECT_EQ(tabView(*window)->TabCaption(0).trimmed(), "No Vardeck selected");
    EXPECT_EQ(lbl(*window, Lbl::VardeckCount)->text(), "0");
    ASSERT_NE(frmProgress::current(), nullptr);
    EXPECT_EQ(frmProgress::current()->windowTitle(), "Vardecks imported: 3");
    EXPECT_EQ(root()->childCount(), 4);
    EXPECT_EQ(lblTName(*window)->text(), "No folder selected");
    XMLDatabase disk;
    ASSERT_TRUE(disk.openDBValidate(path));
    EXPECT_EQ(disk.getTheDOM()->countElements("VARDECK"), 6);

    prompts.answer(MsgResult::Ok);
    run(true, 3); // the file dialog cancelled
    EXPECT_EQ(doc()->countElements("VARDECK"), 6);
}

TEST_F(ImportExportTest, importedAndMergedVardecksNeverTakeFilesLeftUnderTheirIdentifiers)
{
    // Pictures left by Vardecks that are no more (an import killed before it saved).
    const QString base = window->dbXML->getBasePath();
    const auto leftOver = [&](int n) {
        const QString wid = QString("W%1").arg(n);
        return QStringList{iconFilePath(base, window->dbXML.name(), wid),
                           thumbFilePath(base, window->dbXML.name(), wid)};
    };
    for (int n = 4; n <= 12; ++n)
        for (const QString &file : leftOver(n))
            ASSERT_TRUE(writeBytes(file, "left over"));
    const auto newWids = [&] {
        QStringList wids;
        for (const XmlNode &vardeck : doc()->getElementsByTagName("VARDECK"))
            if (!QStringList{"W1", "W2", "W3"}.contains(vardeck.attribute("WID")))
                wids << vardeck.attribute("WID");
        return wids;
    };
    const auto sideFilesOf = [&](const QStringList &wids) {
        QStringList present;
        for (const QString &wid : wids)
            for (const QString &file : leftOver(wid.mid(1).toInt()))
                if (QFile::exists(file))
                    present << file;
        return present;
    };

    prompts.answer(MsgResult::Yes);
    run(true, 0);
    const QStringList imported = newWids();
    ASSERT_EQ(imported.size(), 2);
    EXPECT_EQ(sideFilesOf(imported), QStringList());

    const QString other = files.filePath("other/Other.xml");
    writeBytes(other, "<?xml version='1.0'?>\n<!DOCTYPE FOLDERS SYSTEM 'Vardecks.dtd'>\n<FOLDERS>" +
                          folderXml("T1", "Merged", vardeckXml("W1", "m1") + vardeckXml("W2", "m2")) + "</FOLDERS>");
    prompts.answerFile(other);
    run(true, 3);
    const QStringList merged = newWids();
    ASSERT_EQ(merged.size(), 4);
    EXPECT_EQ(sideFilesOf(merged), QStringList());

    // A PDF document gets the stock icon, and no thumbnail of someone else.
    QImage stock(8, 8, QImage::Format_RGB32);
    stock.fill(Qt::red);
    ASSERT_TRUE(stock.save(base + "pdficon.gif", "PNG"));
    writeBytes(files.filePath("Papers/a.pdf"), "%PDF");
    dialog->chooseFolder = [&](QWidget *) { return std::optional<FolderChoice>({files.filePath("Papers"), false}); };
    run(true, 4);
    QStringList pdf = newWids();
    for (const QString &wid : merged)
        pdf.removeOne(wid);
    ASSERT_EQ(pdf.size(), 1);
    EXPECT_EQ(readBytes(iconFilePath(base, window->dbXML.name(), pdf[0])), readBytes(base + "pdficon.gif"));
    EXPECT_FALSE(QFile::exists(thumbFilePath(base, window->dbXML.name(), pdf[0])));
}

TEST_F(ImportExportTest, manyNewVardecksClearOnlyTheFilesLeftUnderTheirOwnIdentifiers)
{
    // The database's own Vardecks W1 to W3 have pictures; W4 to W150 were left behind.
    const QString base = window->dbXML->getBasePath();
    const auto sideFiles = [&](int from, int to) {
        QStringList present;
        for (int n = from; n <= to; ++n)
            for (const QString &file : {iconFilePath(base, window->dbXML.name(), QString("W%1").arg(n)),
                                        thumbFilePath(base, window->dbXML.name(), QString("W%1").arg(n))})
                if (QFile::exists(file))
                    present << file;
        return present;
    };
    for (int n = 1; n <= 150; ++n) {
        ASSERT_TRUE(writeBytes(iconFilePath(base, window->dbXML.name(), QString("W%1").arg(n)), "icon"));
        ASSERT_TRUE(writeBytes(thumbFilePath(base, window->dbXML.name(), QString("W%1").arg(n)), "thumb"));
    }
    ASSERT_EQ(doc()->countElements("VARDECK"), 3);

    // A merge of 70 Vardecks takes W4 to W73.
    QByteArray vardecks;
    for (int n = 1; n <= 70; ++n)
        vardecks += vardeckXml(QByteArray("W") + QByteArray::number(n), "m");
    const QString other = files.filePath("other/Other.xml");
    writeBytes(other, "<?xml version='1.0'?>\n<!DOCTYPE FOLDERS SYSTEM 'Vardecks.dtd'>\n<FOLDERS>" +
                          folderXml("T1", "Merged", vardecks) + "</FOLDERS>");
    prompts.answerFile(other);
    run(true, 3);
    ASSERT_EQ(doc()->countElements("VARDECK"), 73);
    EXPECT_EQ(sideFiles(1, 3).size(), 6) << "the pictures of the Vardecks already there stay";
    EXPECT_EQ(sideFiles(4, 73), QStringList());
    EXPECT_EQ(sideFiles(74, 150).size(), 2 * 77) << "numbers not handed out keep theirs";

    // A bookmarks import of 66 links takes W74 to W139.
    QByteArray html = "<DL><p>\n";
    for (int n = 1; n <= 66; ++n)
        html += "<DT><A HREF=\"http://x/" + QByteArray::number(n) + "\">b</A>\n";
    writeBytes(files.filePath(".mozilla/firefox/p.default/bookmarks.html"), html + "</DL>\n");
    prompts.answer(MsgResult::Yes);
    run(true, 1);
    ASSERT_EQ(doc()->countElements("VARDECK"), 139);
    EXPECT_EQ(sideFiles(1, 3).size(), 6);
    EXPECT_EQ(sideFiles(4, 139), QStringList());
    EXPECT_EQ(sideFiles(140, 150).size(), 2 * 11);
}

TEST_F(ImportExportTest, aMergeLetsTheWindowsRepaintThroughEachPhaseAndTakesNoCommandMeanwhile)
{
    QByteArray folders;
    for (int f = 0, wid = 1; f < 4; ++f) {
        QByteArray vardecks;
        for (int v = 0; v < 500; ++v, ++wid)
            vardecks += vardeckXml(QStringLiteral("W%1").arg(wid), QStringLiteral("site %1").arg(wid));
        folders += folderXml("T" + QByteArray::number(f + 1), "Folder " + QByteArray::number(f + 1), vardecks);
    }
    const QString other = files.filePath("other/Big.xml");
    writeBytes(other,
               "<?xml version='1.0'?>\n<!DOCTYPE FOLDERS SYSTEM 'Vardecks.dtd'>\n<FOLDERS>" + folders + "</FOLDERS>");
    ProgressWatcher watcher(dialog);
    // The window manager's close of the main window, as it comes during the run.
    watcher.onFirstCall = [this] {
        QCloseEvent close;
        QSpontaneKeyEvent::setSpontaneous(&close);
        QCoreApplication::sendEvent(window->windowHandle(), &close);
    };
    prompts.answerFile(other);
    run(true, 3);

    QStringList titles;
    QStringList counts;
    bool barBetween = false;
    for (const ProgressWatcher::Seen &seen : watcher.seen) {
        if (!titles.contains(seen.title))
            titles << seen.title;
        if (!counts.contains(seen.vardecks))
            counts << seen.vardecks;
        barBetween = barBetween || (seen.bar > 0 && seen.bar < 100);
    }
    EXPECT_TRUE(titles.contains("Indexing folders...")) << titles.join(", ").toStdString();
    EXPECT_TRUE(titles.contains("Indexing Vardecks...")) << titles.join(", ").toStdString();
    EXPECT_TRUE(counts.contains("2000")) << "the count was shown before the end: " << counts.join(", ").toStdString();
    EXPECT_TRUE(barBetween);

    EXPECT_TRUE(window->isVisible()) << "the main window stayed open through the run";
    EXPECT_EQ(frmProgress::current()->windowTitle(), "Vardecks imported: 2000");
    XMLDatabase disk;
    ASSERT_TRUE(disk.openDBValidate(path));
    EXPECT_EQ(disk.getTheDOM()->countElements("VARDECK"), 2003);
}

TEST_F(ImportExportTest, csvExportAsksBeforeOverwritingAndReportsAFailedWrite)
{
    const QString csv = files.filePath("out.csv");
    prompts.answerFile(csv);
    run(false, 5);
    EXPECT_EQ(prompts.lastText(), "Your Vardecks have been successfully been exported to " + csv + ".");
    ASSERT_EQ(prompts.fileRequests().size(), 1u);
    EXPECT_EQ(prompts.fileRequests()[0].title, "Choose a folder and file name to save as a CSV file");
    EXPECT_EQ(prompts.fileRequests()[0].defaultName, "Vardecks");
    EXPECT_EQ(prompts.fileRequests()[0].filters, QStringList({"CSV Files (*.csv)"}));
    EXPECT_TRUE(readBytes(csv).contains("\r\nBeta site,http://www.beta.example/docs/page.html,A page,"));

    writeBytes(csv, "mine");
    prompts.answerFile(csv);
    prompts.answer(MsgResult::No);
    run(false, 5);
    EXPECT_EQ(prompts.lastText(), "The file " + csv + " already exists - do you wish to overwrite it?");
    EXPECT_EQ(prompts.messages().back().title, "Overwrite?");
    EXPECT_EQ(readBytes(csv), "mine");

    prompts.answerFile(files.filePath("new.csv"));
    {
        FailingDisk disk(20);
        run(false, 5);
    }
    EXPECT_TRUE(prompts.lastText().startsWith("Razuzezu Revidod could not create the file to be exported.  Please "
                                              "contact support for assistance.\n\n"));
    EXPECT_FALSE(QFile::exists(files.filePath("new.csv")));
}

TEST_F(ImportExportTest, favoritesAndFirefoxExportsWriteTheirFilesAndSaySo)
{
    run(false, 0);
    EXPECT_EQ(prompts.lastText(), "Your Vardecks have been successfully been exported to Internet Explorer favorites.");
    EXPECT_TRUE(QFile::exists(favorites + "/Imported Vardecks/zebra/alpha & co.url"));

    // Firefox: its bookmark file is looked for in each profile, and changed only when found.
    prompts.clear();
    const QString root = files.filePath(".mozilla/firefox");
    QDir().mkpath(root);
    run(false, 1);
    EXPECT_EQ(prompts.messages()[0].text, "Please close all open instances of Mozilla Firefox.  Your Vardecks and "
                                          "folders will be exported to a directory called Imported Vardecks.");
    EXPECT_TRUE(prompts.lastText().startsWith("No Firefox bookmarks file (bookmarks.html) could be found in " + root +
                                              ", so nothing was exported."));

    const QString file = root + "/abc.default/bookmarks.html";
    writeBytes(file, data("bookmarks.html"));
    dialog->exportTime = QDateTime::fromSecsSinceEpoch(1765100000, Qt::UTC);
    run(false, 1);
    EXPECT_EQ(prompts.lastText(), "Your Vardecks have been successfully been exported to Mozilla Firefox bookmarks.\n\n"
                                  "They were added as the folder Imported Vardecks to " +
                                      file + "; the file as it was is kept as " + file +
                                      ".bak.  Firefox reads this file by itself only when it is set to "
                                      "(browser.places.importBookmarksHTML), and then in place of all its bookmarks.  "
                                      "Do not import it into Firefox with Import Bookmarks from HTML: it holds every "
                                      "Firefox bookmark too, and each would be added a second time.  To add only your "
                                      "Vardecks, export them with \"Bookmark file\" and import that file in Firefox's "
                                      "Library (Bookmarks > Manage Bookmarks), Import and Backup > Import Bookmarks "
                                      "from HTML...");
    EXPECT_TRUE(readBytes(file).contains("<DT><H3 ADD_DATE=\"1765100000\" ID=\"rdf:#T7\">Imported Vardecks</H3>\n"));
}

TEST_F(ImportExportTest, webExportWritesThePageOfEachStylesheetAndOffersToShowIt)
{
    QByteArray body = data("collection.xml");
    openDatabase(body.mid(body.indexOf("<FOLDERS>")));
    for (const char *sheet : {"VD_plain.xsl", "VDAll_plain.xsl", "VDFavs_plain.xsl"})
        QFile::copy(paths::installedDataFolder() + "/DeVivozoda/" + sheet, home.databaseFolder() + sheet);
    const QStringList pages = {"web-folders.htm", "web-all.htm", "web-favorites.htm"};
    for (int i = 0; i < 3; ++i) {
        const QString page = files.filePath(pages[i]);
        prompts.answerFile(page);
        prompts.answer(i == 2 ? MsgResult::Yes : MsgResult::No);
        run(false, 2 + i);
        EXPECT_EQ(prompts.messages().back().title, "View exported file?");
        EXPECT_EQ(prompts.lastText(), "Your Vardecks have been successfully been exported to " + page +
                                          ". Do you wish to view the file now?");
        EXPECT_EQ(readBytes(page), data(pages[i])) << pages[i].toStdString();
    }
    EXPECT_EQ(prompts.fileRequests()[0].title, "Choose a folder and file name to save as a web page");
    EXPECT_EQ(launcher.openedUrls(), QStringList({QUrl::fromLocalFile(files.filePath(pages[2])).toString()}));

    QFile::remove(home.databaseFolder() + "VDFavs_plain.xsl");
    const size_t asked = prompts.fileRequests().size();
    run(false, 4);
    EXPECT_TRUE(prompts.lastText().startsWith("Razuzezu Revidod could not create the file to be exported."));
    EXPECT_EQ(prompts.fileRequests().size(), asked);
}

TEST_F(ImportExportTest, aWebExportBringsUpToDateAStylesheetAnEarlierVersionLeftSoLocalDocumentsAreLinks)
{
    QByteArray body = readBytes(dataFile("web/paths.xml"));
    openDatabase(body.mid(body.indexOf("<FOLDERS>")));
    QFile::copy(dataFile("web/earlier/VD_plain.xsl"), home.databaseFolder() + "VD_plain.xsl");
    const QString page = files.filePath("documents.htm");
    prompts.answerFile(page);
    prompts.answer(MsgResult::No);
    run(false, 2);
    EXPECT_TRUE(readBytes(page).contains("<a href=\"file:///home/u/My%20Docs/a%231.pdf\">blank and hash quokka</a>"));
    EXPECT_EQ(readBytes(home.databaseFolder() + "VD_plain.xsl"),
              readBytes(paths::installedDataFolder() + "/DeVivozoda/VD_plain.xsl"));
}

// At every font size the two lists show each entry whole, inside the window, and the
// description and the buttons keep to the window too.
TEST_F(ImportExportTest, theListsShowTheirEntriesWholeAtEveryFontSize)
{
    for (int size : {8, 9, 10, 11}) {
        SCOPED_TRACE(size);
        appOptions().setFontSize(size);
        frmImportExport sized(exchangeWindowOf(*window));
        sized.show();
        QTest::qWait(60); // a list may size itself a moment after it is shown
        // One above the other, as wide as each other.
        EXPECT_EQ(dialogControl<QComboBox>(sized, "cmbImport")->x(), dialogControl<QComboBox>(sized, "cmbExport")->x());
        EXPECT_EQ(dialogControl<QComboBox>(sized, "cmbImport")->width(),
                  dialogControl<QComboBox>(sized, "cmbExport")->width());
        for (QComboBox *list :
             {dialogControl<QComboBox>(sized, "cmbImport"), dialogControl<QComboBox>(sized, "cmbExport")}) {
            SCOPED_TRACE(list->objectName().toStdString());
            EXPECT_EQ(list->font().pointSize(), size);
            EXPECT_LE(list->geometry().right(), sized.width());
            EXPECT_GE(list->height(), list->fontMetrics().height());
            for (int i = 0; i < list->count(); ++i) {
                list->setCurrentIndex(i);
                QStyleOptionComboBox option;
                option.initFrom(list);
                option.editable = false;
                option.currentText = list->currentText();
                const QRect field =
                    list->style()->subControlRect(QStyle::CC_ComboBox, &option, QStyle::SC_ComboBoxEditField, list);
                EXPECT_GE(field.width(), list->fontMetrics().horizontalAdvance(list->itemText(i)))
                    << list->itemText(i).toStdString();
            }
        }
        for (QWidget *part : {static_cast<QWidget *>(dialogControl<QLabel>(sized, "lblDesc")),
                              static_cast<QWidget *>(dialogControl<QLabel>(sized, "Label2")),
                              static_cast<QWidget *>(dialogControl<qbButtons_H>(sized, "cmdSave")),
                              static_cast<QWidget *>(dialogControl<qbButtons_H>(sized, "cmdCancel"))})
            EXPECT_LE(part->geometry().right(), sized.width()) << part->objectName().toStdString();
        EXPECT_LT(dialogControl<qbButtons_H>(sized, "cmdSave")->geometry().right(),
                  dialogControl<qbButtons_H>(sized, "cmdCancel")->x());
    }
}
