#include "explorer/databasecommands.h"

#include "controls/qbbuttons_h.h"
#include "explorer/detailsops.h"
#include "explorer/editmode.h"
#include "explorer/foldertree.h"
#include "explorer/nodetags.h"
#include "explorer/vardeckviews.h"
#include "platform/gui/partoperations.h"
#include "platform/gui/windowevents.h"
#include "platform/paths.h"
#include "platform/prompt.h"
#include "shell/aspectoperations.h"
#include "shell/dragsources.h"
#include "shell/findingoperations.h"
#include "shell/fonthelpers.h"
#include "shell/frmvardecks.h"
#include "shell/mainmodule.h"
#include "shell/previewoperations.h"
#include "shell/recentmenuoperations.h"
#include "storage/chosendatabase.h"
#include "storage/dbfolder.h"
#include "storage/session.h"
#include "storage/settingsstore.h"
#include "storage/ui/backupcommand.h"
#include "storage/ui/databasehost.h"
#include "storage/ui/frmnew.h"
#include "storage/ui/frmopen.h"
#include "storage/ui/savereport.h"
#include "storage/useroptions.h"
#include "storage/vardeckmodule.h"
#include "storage/xmldatabase.h"

#include <QAction>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QTimer>
#include <QToolBar>
#include <QTreeWidget>

namespace rr
{
namespace
{

// What the window keeps of the database that goes: the selection, the popup and drag
// state (which may hold its elements) and any edit under way.
void forgetOpenDatabase(frmVardecks &w)
{
    w.popup.forget();
    w.dragSources().forgetDrags();
    w.forgetShownItems();
    w.selectVardeck(QString());
    setMode(w, EditState::Viewing);
    // The rendered Web Aspect pages show the database that was open.
    w.collectionChanged(StalePages::everyPage());
}

// Every control of the window enabled, the hand-off timer stopped (an add's icon timer
// stopped with the add).
void enableEveryControl(frmVardecks &w)
{
    for (QWidget *control : w.findChildren<QWidget *>()) {
        if (control->window() == &w)
            control->setEnabled(true);
    }
    for (QAction *item : w.allMenuItems())
        item->setEnabled(true);
    for (QAction *button : w.toolbarButtons())
        button->setEnabled(true);
    w.dropPendingHandOff();
}

// What the New and Delete database window asks of the main window.
class WindowDatabaseHost final : public DatabaseHost
{
public:
    explicit WindowDatabaseHost(frmVardecks &window) : w(window) {}

    void openTheDatabase(const ChosenDatabase &chosen) override { rr::openTheDatabase(w, chosen); }
    void closeDB() override { closeTheDatabase(w); }
    bool isOpenDatabase(const QString &fileName) override
    {
        return w.dbXML.isOpen() && DatabaseFolder::isSameFile(paths::databaseFolder() + fileName, w.dbXML->getPath());
    }
    void applyFontFallback(QWidget *dialog) override { rr::applyFontFallback(dialog); }

private:
    frmVardecks &w;
};

} // namespace

bool openTheDatabase(frmVardecks &w, const ChosenDatabase &chosen)
{
    if (chosen.path.isEmpty())
        return false;
    auto db = std::make_unique<XMLDatabase>();
    db->setPath(chosen.path);
    QString reason;
    bool opened = false;
    // A large file is read on a thread of its own while the windows repaint; nothing
    // else sees the new database until it is read whole.
    windowevents::runAside([&] { opened = db->openDBValidate(chosen.path, &reason); });
    if (!opened) {
        // The same reason as at start-up: the file's name and what the parser found.
        prompt::show(QStringLiteral("Failed to open the Vardecks file ") + chosen.name + QStringLiteral("\n\n") +
                         chosen.name + QStringLiteral(": ") + reason,
                     MsgButtons::Ok, MsgIcon::Exclamation);
        return false;
    }
    forgetOpenDatabase(w);
    w.dbXML.open(std::move(db), chosen.name);

    FolderTree &folders = FolderTree::of(w);
    folders.setTreeShown(false);
    folders.populateTopicList(w.dbXML.document());
    folders.setTreeShown(true);
    // From here until the lists, captions and menus are reset the window is half the
    // old database and half the new one: it repaints, but a click or key made meanwhile
    // was aimed at what the user saw before, and is dropped.
    windowevents::runPending();
    folders.selectRootFolder();

    w.showDatabaseName(w.dbXML.name());

    // The lists in memory have the entries made since the program started: they are
    // written before they are read back.
    SettingsStore::writeRecentList(session().recentColl);
    SettingsStore::writeSearchList(session().searchColl);
    session().recentColl = SettingsStore::loadRecentList();
    operationsOf<RecentMenuOperations>(w).refreshRecentMenuList(QString());
    session().searchColl = SettingsStore::loadSearchList();

    VardeckViews::of(w).populateIconList();
    windowevents::runPending();
    clearTextBoxes(w);

    w.showNoFolder();
    VardeckViews::of(w).showNoVardecks(VardeckViews::View::Both);
    operationsOf<FindingOperations>(w).clearSearchResults();
    operationsOf<FindingOperations>(w).populatePopList(nullptr);

    enableEveryControl(w);

    operationsOf<PreviewOperations>(w).untickAutoPreview();
    setFormEditMode(w, false);
    setNonEditableFields(w, false);
    w.resetToolbarButtons();
    windowevents::runPending();

    // No folder and no Vardeck is shown yet: their commands wait for one.
    w.resetMenuItems();
    w.menuItem(MenuId::mnuThumbAll)->setEnabled(true);
    w.forgetFolderPath();

    operationsOf<FindingOperations>(w).populateFavsList(w.dbXML.document());
    windowevents::runPending();
    operationsOf<FindingOperations>(w).populatePopList(w.dbXML.document());
    windowevents::runPending();

    if (w.menuItem(MenuId::mnuAspectWeb)->isChecked())
        operationsOf<AspectOperations>(w).showAspectWeb();
    if (appOptions().getdbDefault())
        appOptions().setDBToOpen(w.dbXML.name());
    checkCreateThumbsDir(w.dbXML.name());
    w.setVardeckTabCaption(QStringLiteral("    ") + w.vardeckCaption() + QStringLiteral("    "));
    if (w.dbXML->isReadOnlyHere())
        prompt::show(DatabaseClaim::openedReadOnlyMessage(chosen.path), MsgButtons::Ok, MsgIcon::Exclamation);
    return true;
}

void closeTheDatabase(frmVardecks &w)
{
    forgetOpenDatabase(w);
    w.closeDB();
    VardeckViews::of(w).showNoVardecks(VardeckViews::View::List);
}

void mnuFileOpen_Click(frmVardecks &w)
{
    if (w.editState() != EditState::Viewing &&
        !prompt::askYesNo(QStringLiteral("Opening a new Vardecks file will lose any unsaved changes.  Are you sure?"),
                          MsgIcon::None, QStringLiteral("Exit Vardecks application?")))
        return;
    const std::optional<ChosenDatabase> chosen = frmOpen::chooseDatabase(&w);
    windowevents::runPending();
    if (!chosen || !openTheDatabase(w, *chosen))
        return;
    windowevents::runPending();
    w.resetToolbarButtons();
    w.resetMenuItems();
    w.enableTabStrips(true);
    if (w.menuItem(MenuId::mnuAspectWeb)->isChecked())
        operationsOf<AspectOperations>(w).showAspectWeb();
}

void mnuFileNew_Click(frmVardecks &w)
{
    WindowDatabaseHost host(w);
    frmNew::run(frmNew::Mode::New, host, &w);
}

void mnuFileDeleteDB_Click(frmVardecks &w)
{
    WindowDatabaseHost host(w);
    frmNew::run(frmNew::Mode::Delete, host, &w);
}

void mnuFileBackup_Click(frmVardecks &w)
{
    if (w.dbXML.isOpen())
        runBackupCommand(w.dbXML->getPath(), w.dbXML.name());
}

void mnuFileClose_Click(frmVardecks &w)
{
    if (!w.dbXML.isOpen())
        return;
    // A file that cannot be written keeps the database open: closing would drop the
    // changes that only the memory holds.
    if (!saveDatabaseReporting(*w.dbXML))
        return;
    closeTheDatabase(w);
}

void mnuFileExit_Click(frmVardecks &w)
{
    if (w.Form_QueryUnload())
        w.Form_Unload();
}

void installDatabaseCommands(frmVardecks &w)
{
    const std::pair<HandlerRef, void (*)(frmVardecks &)> commands[] = {
        {&Commands::mnuFileOpen_Click, &mnuFileOpen_Click},
        {&Commands::mnuFileNew_Click, &mnuFileNew_Click},
        {&Commands::mnuFileDeleteDB_Click, &mnuFileDeleteDB_Click},
        {&Commands::mnuFileBackup_Click, &mnuFileBackup_Click},
        {&Commands::mnuFileClose_Click, &mnuFileClose_Click},
        {&Commands::mnuFileExit_Click, &mnuFileExit_Click},
    };
    for (const auto &[handler, command] : commands)
        w.commands.*handler = [&w, command = command](int) { command(w); };
}

} // namespace rr
