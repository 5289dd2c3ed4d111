// Closing the main window: the question while editing, then the whole state written
// to the settings in one pass, then every window closes. Also closeDB, the empty
// window without a database.
#include "platform/gui/partoperations.h"
#include "platform/prompt.h"
#include "platform/registrystore.h"
#include "shell/columnwidths.h"
#include "shell/detailsoperations.h"
#include "shell/findingoperations.h"
#include "shell/foldertreeoperations.h"
#include "shell/frmvardecks.h"
#include "shell/mainmodule.h"
#include "shell/panecontrols.h"
#include "shell/splitter.h"
#include "shell/statuspanels.h"
#include "shell/tabstrip.h"
#include "shell/trayicon.h"
#include "shell/twips.h"
#include "shell/vardeckviewsoperations.h"
#include "storage/session.h"
#include "storage/settingsstore.h"
#include "storage/useroptions.h"
#include "storage/vardeckmodule.h"
#include "storage/xmldatabase.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QLabel>
#include <QMenu>
#include <QToolBar>
#include <QTreeWidget>
#include <array>
#include <cmath>

namespace rr
{

void frmVardecks::closeEvent(QCloseEvent *event)
{
    if (m_unloaded) {
        event->accept();
        return;
    }
    if (!Form_QueryUnload()) {
        event->ignore();
        return;
    }
    Form_Unload();
    event->accept();
}

bool frmVardecks::Form_QueryUnload()
{
    for (const std::function<bool()> &ask : std::as_const(m_closingQuestions)) {
        if (!ask())
            return false;
    }
    // A change that a failed save left in memory is as unsaved as an open edit.
    const bool unwritten = dbXML.isOpen() && dbXML->hasUnsavedChanges();
    if (editState() == EditState::Viewing && !unwritten)
        return true;
    if (!prompt::askYesNo(QStringLiteral("Are you sure you wish exit Vardecks with unsaved changes?"), MsgIcon::None,
                          QStringLiteral("Exit Vardecks application?")))
        return false;
    if (!unwritten)
        return true;
    const SaveOutcome outcome = dbXML->save();
    if (outcome.written())
        return true;
    return prompt::askYesNo(
        QStringLiteral(
            "The Vardecks database could not be saved, so the unsaved changes would be lost.  Exit anyway?\n\n") +
            outcome.reason,
        MsgIcon::Exclamation, QStringLiteral("Exit Vardecks application?"), MsgResult::No);
}

void frmVardecks::Form_Unload()
{
    if (m_unloaded)
        return;
    m_unloaded = true;
    removeTrayIcon();

    {
        // One read-modify-write of the settings file for the whole close.
        RegistryStore::Batch batch;
        const int state = WindowState();
        // A maximised or minimised window keeps the size it opens with when restored.
        SettingsStore::SavedWindowValues saved{.indexTab = tabIndex->Tab(),
                                               .infoTab = tabInfo->Tab(),
                                               .viewTab = tabView->Tab(),
                                               .aspect = currentAspect(),
                                               .width = 10500,
                                               .height = 7590,
                                               .splitter1 = Splitter1->SplitterPos(),
                                               .splitter2 = Splitter2->SplitterPos(),
                                               .maximised = state == 2,
                                               .webAspectHtml = session().webAspectHtml};
        if (state == 0) {
            saved.width = int(std::lround(twips::fromPx(width())));
            saved.height = int(std::lround(twips::fromPx(height())));
            saved.left = qMax(0, int(std::lround(twips::fromPx(x()))));
            saved.top = qMax(0, int(std::lround(twips::fromPx(y()))));
        }
        SettingsStore::setSavedFormValues(saved);

        const QString nextDatabase = appOptions().getdbDefault() ? dbXML.mostRecentName() : appOptions().getDBToOpen();
        // The folder list keeps its own column widths, written here so that they stand
        // before the database's name in the file, as they always have; the search
        // results' follow it.
        operationsOf<VardeckViewsOperations>(*this).saveFolderListColumns();
        SettingsStore::setMoreFormValues(nextDatabase);
        operationsOf<FindingOperations>(*this).saveFindingColumns();
        SettingsStore::writeRecentList(session().recentColl);
        SettingsStore::writeSearchList(session().searchColl);
        appOptions().saveToRegistry();
    }
    // Stored values that could not be read are told once everything is written.
    prompt::tell(SettingsStore::takeErrorNotices());

    for (QWidget *window : QApplication::topLevelWidgets())
        if (window != this && window->isVisible())
            window->close();
    close();
}

void frmVardecks::closeDB()
{
    enableTabStrips(false);
    at(Place::WebStrip)->setEnabled(false);
    Toolbar2->setEnabled(false);
    DetailsOperations &details = operationsOf<DetailsOperations>(*this);
    details.setFormEditMode(false);
    details.setNonEditableFields();
    for (QAction *button : std::as_const(m_toolbarButtons))
        button->setEnabled(false);
    operationsOf<FolderTreeOperations>(*this).clearFolderTrees();
    FindingOperations &finding = operationsOf<FindingOperations>(*this);
    finding.clearSearchResults();
    finding.populatePopList(nullptr);
    finding.favoritesOutOfDate();
    // Through the caption's change handling, so the folder tab's caption goes too.
    showNoFolder();
    showMessage(QString());
    // No folder is left to have a path, nor to copy it from the status bar.
    forgetFolderPath();
    showDatabaseName(QString());
    dbXML.close();
    disableAllMenuItems();
    // Without a database the window still offers what needs none: making, opening and
    // deleting a database, leaving, and the whole Help menu.
    for (MenuId id : {MenuId::mnuFile, MenuId::mnuFileOpen, MenuId::mnuFileDatabase, MenuId::mnuFileNew,
                      MenuId::mnuFileDeleteDB, MenuId::mnuFileExit, MenuId::mnuHelp})
        menuItem(id)->setEnabled(true);
    if (QMenu *help = subMenu(MenuId::mnuHelp))
        for (QAction *item : help->actions())
            item->setEnabled(true);
}

} // namespace rr
