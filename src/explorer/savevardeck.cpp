#include "explorer/savevardeck.h"

#include "explorer/detailsops.h"
#include "explorer/detailspanel.h"
#include "explorer/duplicatesoperations.h"
#include "explorer/editmode.h"
#include "explorer/foldertree.h"
#include "explorer/iconfetchoperations.h"
#include "explorer/nodetags.h"
#include "explorer/vardeckviews.h"
#include "finding/favorites.h"
#include "finding/listcells.h"
#include "finding/ui/findingops.h"
#include "media/iconsupport.h"
#include "media/urlsupport.h"
#include "platform/gui/partoperations.h"
#include "platform/gui/windowevents.h"
#include "platform/prompt.h"
#include "platform/webaddress.h"
#include "shell/aspectoperations.h"
#include "shell/findingoperations.h"
#include "shell/frmvardecks.h"
#include "shell/recentmenuoperations.h"
#include "storage/datetext.h"
#include "storage/record.h"
#include "storage/session.h"
#include "storage/ui/savereport.h"
#include "storage/useroptions.h"
#include "storage/xmldatabase.h"
#include "web/visits.h"

#include <QApplication>
#include <QTimer>
#include <QTreeWidget>

namespace rr
{
namespace
{

std::function<QDateTime()> &clock()
{
    static std::function<QDateTime()> instance;
    return instance;
}

void refuseNoFolder()
{
    prompt::show(QStringLiteral("No folder has been selected.  Please select a folder before saving."), MsgButtons::Ok,
                 MsgIcon::Information);
}

} // namespace

void setEditingClock(std::function<QDateTime()> newClock)
{
    clock() = std::move(newClock);
}

QDateTime editingNow()
{
    return clock() ? clock()() : QDateTime::currentDateTime();
}

QString noFreeIdentifierMessage()
{
    return QStringLiteral("The Vardeck could not be saved: this database already holds as many Vardecks as it can "
                          "number.  Delete Vardecks you no longer need, or keep this one in another database.");
}

QString databaseFullMessage()
{
    return QStringLiteral("No Vardeck can be added: this database already holds as many Vardecks as it can number "
                          "(32767).  Delete Vardecks you no longer need, or keep new ones in another database.");
}

VardeckEditor::VardeckEditor(frmVardecks &window)
    : QObject(&window), w(window), p(DetailsPanel::of(window)), m_iconTimer(new QTimer(this))
{
    setObjectName(QStringLiteral("vardeckEditor"));
    // The icon fetch of a new Vardeck belongs to the icon subsystem; the timer hands
    // over to it. The fetch belongs to the add: it never starts once the add is over.
    m_iconTimer->setObjectName(QStringLiteral("timerIcon"));
    m_iconTimer->setInterval(10);
    m_iconTimer->setSingleShot(true);
    connect(m_iconTimer, &QTimer::timeout, this, [this] {
        m_iconTimer->stop();
        operationsOf<IconFetchOperations>(w).timerIcon_Timer(m_iconAddress);
    });
    connect(&w, &frmVardecks::editStateChanged, this, [this](EditState state) {
        if (state != EditState::Adding)
            m_iconTimer->stop();
    });
}

void VardeckEditor::mnuEditModify_Click()
{
    // An edit under way goes on as it is: starting it again would take what was typed
    // as what the edit began with, and a later Cancel would drop it without asking.
    if (w.editState() != EditState::Viewing)
        return;
    if (!w.vardeckShown()) {
        prompt::show(QStringLiteral("No Vardeck has been selected to modify"));
        return;
    }
    rememberFocus();
    m_pageSize.reset();
    setMode(w, EditState::Modifying);
    setFormEditMode(w, true);
    m_savedNotes = p.fieldText(EditField::Notes);
    m_startFields = currentFields();
    w.showViewTab(ViewTab::Vardeck);
    p.focusNameBox(true);
}

void VardeckEditor::mnuAddVardeck_Click()
{
    addVardeckSetup(std::nullopt);
}

void VardeckEditor::addVardeckSetup(const std::optional<DetectedPage> &page)
{
    if (!w.dbXML.isOpen()) {
        prompt::show(QStringLiteral("A Vardecks database must be opened before a new Vardeck can be saved."),
                     MsgButtons::Ok, MsgIcon::None, QStringLiteral("No open database"));
        return;
    }
    // A full database says so before anything is typed.
    if (w.dbXML.isOpen() && w.dbXML->getNewWID().isEmpty()) {
        prompt::show(databaseFullMessage(), MsgButtons::Ok, MsgIcon::Exclamation);
        return;
    }
    rememberFocus();
    m_pageSize.reset();
    operationsOf<AspectOperations>(w).showAspectExplorer();

    setMode(w, EditState::Adding);
    clearTextBoxes(w);
    setFormEditMode(w, true);
    setNonEditableFields(w, true);
    // A new Vardeck starts with nothing of the Vardeck shown before it.
    p.showNoVardeckDetails();
    m_startFields = currentFields();
    w.forgetFetchedIcon();

    const bool fromBrowser = page.has_value();
    m_iconAddress = fromBrowser ? page->address : QString();
    if (fromBrowser) {
        p.setFieldText(EditField::Name, page->name);
        p.setFieldText(EditField::Address, page->address);
        p.setFieldText(EditField::Description, page->description);
        p.setFieldText(EditField::Keywords, page->keywords);
        setEditedPageSize(page->size);
        p.showHits(QStringLiteral("1"));
        // The site icon is fetched while the user looks at the new Vardeck.
        if (!isPDF(page->address)) {
            m_iconTimer->setInterval(10);
            m_iconTimer->start();
        }
    }
    p.showCreatedDate(createdDateText(editingNow()));

    if (w.indexTab() != IndexTab::Index) {
        w.showNoFolder();
        FolderTree::of(w).selectRootFolder();
        VardeckViews::of(w).clearVardeckTree();
        w.showIndexTab(IndexTab::Index);
    } else if (w.folderShown()) {
        // The tree highlights where the new Vardeck goes: the folder shown, which a list
        // may have chosen apart from the tree.
        selectShownFolder(w);
    }
    w.showViewTab(ViewTab::Vardeck);
    p.focusNameBox();

    if (fromBrowser && appOptions().getAutoSave()) {
        session().cancelIcons = true;
        windowevents::runPending();
        saveVardeckDetails();
    }
}

void VardeckEditor::setEditedPageSize(const QString &size)
{
    m_pageSize = size;
    p.showPageSize(size);
}

void VardeckEditor::saveVardeckDetails()
{
    const EditState state = w.editState();
    bool added = false;
    if (state == EditState::Adding || state == EditState::Modifying) {
        if (state == EditState::Adding) {
            const FolderTree &folders = FolderTree::of(w);
            if (folders.isRoot(folders.selectedNode()) || !w.folderShown()) {
                refuseNoFolder();
                return;
            }
        }
        if (p.fieldText(EditField::Name).isEmpty()) {
            prompt::show(QStringLiteral("A website name is required before the Vardeck can be saved."));
            p.focusNameBox();
            return;
        }
        if (state == EditState::Adding) {
            if (!w.iconChanged())
                session().cancelIcons = true;
            if (!saveNewVardeck())
                return;
            m_iconTimer->stop();
            added = true;
            recordFirstVisitAndSave();
            VardeckViews::of(w).focusTree();
        } else if (!saveModifiedVardeck()) {
            return;
        }
        leaveEditMode(w);
        clearDownloadedIcon();
    }
    if (added && appOptions().getCheckDup()) {
        // The duplicates manager shows the Vardecks that share the new address.
        operationsOf<DuplicatesOperations>(w).frmDuplicates_Show(p.fieldText(EditField::Address));
    }
}

XmlNode VardeckEditor::targetFolder(QTreeWidgetItem **node) const
{
    *node = FolderTree::of(w).nodeOf(w.currentTID());
    return w.folderShown() ? w.dbXML.folder(w.currentTID()) : XmlNode();
}

bool VardeckEditor::saveNewVardeck()
{
    XmlDocument *doc = w.dbXML.document();
    QTreeWidgetItem *folderNode = nullptr;
    XmlNode folder = doc ? targetFolder(&folderNode) : XmlNode();
    if (!folder) {
        refuseNoFolder();
        return false;
    }
    const QString wid = w.dbXML->getNewWID();
    if (wid.isEmpty()) {
        prompt::show(noFreeIdentifierMessage(), MsgButtons::Ok, MsgIcon::Exclamation);
        return false;
    }
    const QString address = editedAddress();
    const bool favorite = p.favoriteTicked();
    const XmlNode vardeck = childOrNew(*doc, folder, tag::Vardecks)
                                .appendChild(newVardeck(*doc, wid,
                                                        {.name = p.fieldText(EditField::Name),
                                                         .address = address,
                                                         .createdDate = createdDateText(editingNow()),
                                                         .description = p.fieldText(EditField::Description),
                                                         .keywords = p.fieldText(EditField::Keywords),
                                                         .notes = p.fieldText(EditField::Notes),
                                                         .fileSize = m_pageSize.value_or(QString()),
                                                         .favorite = favorite}));

    // Files left under the identifier belong to no Vardeck: they go before anything
    // is filed, so no later failure can leave them on the new one.
    const QString base = w.dbXML->getBasePath();
    removeLeftSideFiles(base, {wid}, w.dbXML.name());
    // The icon fetched for this page during this add, or the stock picture of a PDF
    // document, becomes the Vardeck's; a download left from anything else is not.
    IconSupport icons;
    QString iconFile = w.iconChanged() ? icons.saveAsVDIfFavExists(base, wid, w.dbXML.name()) : QString();
    if (iconFile.isEmpty())
        iconFile = IconSupport::checkSavePDFIcon(base, wid, address, w.dbXML.name());
    const QPixmap picture = QPixmap::fromImage(pictureFromFile(iconFile));
    if (!picture.isNull())
        w.vardeckPictures().setSiteIcon(wid, QIcon(picture));
    else
        w.vardeckPictures().forgetSiteIcon(wid);

    operationsOf<RecentMenuOperations>(w).refreshRecentMenuList(wid);
    if (folderNode)
        VardeckViews::of(w).populateVardeckList(folderNode);
    p.displayVardeckData(vardeck);
    w.selectVardeck(wid);

    w.collectionChanged(StalePages{.folders = true, .all = true, .hits = true});
    if (favorite)
        operationsOf<FindingOperations>(w).populateFavsList(doc);
    return true;
}

// A new Vardeck counts its creation and a first visit, and the file is written once
// with both: a failure is told once and the document keeps both for the next save.
void VardeckEditor::recordFirstVisitAndSave()
{
    VisitRecord visit = recordVisit(*w.dbXML, w.currentWID(), editingNow());
    const bool saved = saveDatabaseReporting(*w.dbXML);
    if (visit.wid.isEmpty())
        return;
    visit.saved = saved;
    announceVisit(visit);
}

bool VardeckEditor::saveModifiedVardeck()
{
    XmlDocument *doc = w.dbXML.document();
    XmlNode vardeck = w.dbXML.vardeck(w.currentWID());
    if (!doc || !vardeck) {
        prompt::show(QStringLiteral("The Vardeck could not be saved: it is no longer in the database."), MsgButtons::Ok,
                     MsgIcon::Exclamation);
        return false;
    }
    // A field whose box still shows what it was given keeps its stored text exactly, however
    // long it is; a changed one is written, and an element that lacks its child gets it,
    // so that no field typed in is dropped.
    const auto write = [this, &vardeck](EditField field, const QString &tag, const QString &text) {
        if (!p.fieldShowsStored(field, vardeck.childText(tag)))
            vardeck.setChildText(tag, text);
    };
    write(EditField::Name, tag::Name, p.fieldText(EditField::Name));
    write(EditField::Address, tag::Address, editedAddress());
    write(EditField::Description, tag::Description, p.fieldText(EditField::Description));
    write(EditField::Notes, tag::Notes, p.fieldText(EditField::Notes));
    write(EditField::Keywords, tag::Keyword1, p.fieldText(EditField::Keywords));
    const QString name = vardeck.childText(tag::Name);
    // The size and the hits as the Vardeck holds them (the size of a page read during the
    // edit replacing the stored one); a missing child is made.
    if (!vardeck.child(tag::FileSize))
        vardeck.appendChild(doc->createElement(tag::FileSize));
    const QString size = m_pageSize.value_or(shownFileSize(vardeck));
    if (!size.isEmpty())
        vardeck.setChildText(tag::FileSize, size);
    vardeck.setChildText(tag::Hits, shownHits(vardeck));

    VardeckViews::of(w).renameVardeckNode(w.currentWID(), name);
    showNameOf(w, w.currentWID(), name);
    operationsOf<FindingOperations>(w).clearSearchResults();
    VardeckViews::of(w).populateVDList(w.dbXML.folder(w.currentTID()));
    setFavoriteMark(vardeck, p.favoriteTicked());
    operationsOf<FindingOperations>(w).populateFavsList(doc);
    p.displayVardeckData(vardeck);
    saveDatabaseReporting(*w.dbXML);
    w.collectionChanged(StalePages::everyPage());
    return true;
}

// Typed, pasted, captured, dropped or read by a synchronisation, the address reaches
// the database through here.
QString VardeckEditor::editedAddress() const
{
    return cleanAddress(p.fieldText(EditField::Address));
}

VardeckEditor::Fields VardeckEditor::currentFields() const
{
    return {{p.fieldText(EditField::Name), p.fieldText(EditField::Address), p.fieldText(EditField::Description),
             p.fieldText(EditField::Keywords), p.fieldText(EditField::Notes)},
            p.favoriteTicked()};
}

void VardeckEditor::cancelVardeckEdit()
{
    if (w.editState() == EditState::Viewing)
        return;
    // Nothing changed since the edit began: it ends without the question.
    if (currentFields() != m_startFields && !w.confirmLoseChanges())
        return;
    dropEdit();
    restoreFocus();
}

void VardeckEditor::dropEdit()
{
    const EditState state = w.editState();
    if (state == EditState::Viewing)
        return;
    if (state == EditState::Modifying) {
        // Every field shows again what is stored, the favourite mark included, so
        // that nothing dropped here reaches a later save.
        const XmlNode vardeck = w.dbXML.vardeck(w.currentWID());
        if (vardeck) {
            p.displayVardeckData(vardeck);
        } else {
            p.setFieldText(EditField::Notes, m_savedNotes);
            p.setFieldText(EditField::Name, p.detailsText(DetailsField::Name));
            p.setFieldText(EditField::Address, p.detailsText(DetailsField::Address));
        }
    } else {
        setNonEditableFields(w, false);
        p.siteIconRemoved();
        w.showNoVardeck();
        p.showCreatedDate(QString());
        w.setVardeckTabCaption(QStringLiteral("   *") + p.detailsText(DetailsField::Name) + QStringLiteral("    "));
        // The panel shows no Vardeck, so no list row stays highlighted as if one were.
        VardeckViews::of(w).unselectVardeckRows();
    }
    m_iconTimer->stop();
    leaveEditMode(w);
    session().cancelIcons = true;
    clearDownloadedIcon();
}

void VardeckEditor::rememberFocus()
{
    QWidget *focus = QApplication::focusWidget();
    const bool editBox = p.isEditBox(focus);
    // A second New Vardeck during an add keeps the control the first one came from.
    if (focus && !editBox && focus->window() == &w)
        m_focusBefore = focus;
    else if (w.editState() == EditState::Viewing)
        m_focusBefore = nullptr;
}

void VardeckEditor::restoreFocus()
{
    QWidget *target = m_focusBefore;
    m_focusBefore = nullptr;
    if (target && target->isVisible() && target->isEnabled()) {
        target->setFocus(Qt::OtherFocusReason);
        return;
    }
    // Otherwise the Vardeck tree when it lists any, else the folder tree, if it shows.
    VardeckViews &views = VardeckViews::of(w);
    if (views.treeHasNodes())
        views.focusTreeIfShown();
    else
        FolderTree::of(w).focusTreeIfShown();
}

void VardeckEditor::clearDownloadedIcon()
{
    if (!w.dbXML.isOpen())
        return;
    IconSupport icons;
    icons.setIconPath(w.dbXML->getBasePath(), w.dbXML.name());
    icons.clearIconFile();
}

} // namespace rr
