#include "explorer/savevardeck.h"

#include "explorer/editmode.h"
#include "explorer/foldertree.h"
#include "explorer/nodetags.h"
#include "explorer/vardeckviews.h"
#include "finding/favorites.h"
#include "finding/listcells.h"
#include "media/iconsupport.h"
#include "media/urlsupport.h"
#include "platform/gui/singleline.h"
#include "platform/gui/windowevents.h"
#include "platform/prompt.h"
#include "platform/webaddress.h"
#include "shell/frmvardecks.h"
#include "shell/statuspanels.h"
#include "shell/tabstrip.h"
#include "storage/datetext.h"
#include "storage/session.h"
#include "storage/ui/savereport.h"
#include "storage/useroptions.h"
#include "storage/xmldatabase.h"
#include "web/visits.h"

#include <QApplication>
#include <QCheckBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTextEdit>
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

VardeckEditor::VardeckEditor(frmVardecks &window) : QObject(&window), w(window)
{
    setObjectName(QStringLiteral("vardeckEditor"));
    QWidget::setTabOrder(w.txtWName, w.txtAddress);
    QWidget::setTabOrder(w.txtAddress, w.txtDescription);
    QWidget::setTabOrder(w.txtDescription, w.txtKeywords);
    QWidget::setTabOrder(w.txtKeywords, w.txtNotes);
    for (QWidget *box : {static_cast<QWidget *>(w.txtAddress), static_cast<QWidget *>(w.txtKeywords),
                         static_cast<QWidget *>(w.txtNotes)})
        box->installEventFilter(this);
    keepSingleLine(w.txtWName);
    keepSingleLine(w.txtAddress);
}

// The edit boxes stand on two tabs of the details: the name and the address above them,
// the description and the keywords on "Details", the notes on "Notes". Tab and Shift+Tab
// go from box to box across them, bringing the tab of the next box to the front, so
// that the keyboard reaches the notes and no tab header comes in between.
bool VardeckEditor::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() != QEvent::KeyPress || w.editState() == EditState::Viewing)
        return false;
    const auto *key = static_cast<QKeyEvent *>(event);
    const bool tab = key->key() == Qt::Key_Tab && !(key->modifiers() & Qt::ShiftModifier);
    const bool backTab = key->key() == Qt::Key_Backtab || (key->key() == Qt::Key_Tab && !tab);
    if ((!tab && !backTab) || (key->modifiers() & (Qt::ControlModifier | Qt::AltModifier)))
        return false;
    struct Step {
        QWidget *from;
        bool forward;
        QWidget *to;
        int page; // the tab of the details that holds the box gone to
    };
    const Step steps[] = {
        {w.txtAddress, true, w.txtDescription, 0},
        {w.txtKeywords, true, w.txtNotes, 2},
        {w.txtNotes, false, w.txtKeywords, 0},
    };
    for (const Step &step : steps) {
        if (step.from != watched || step.forward != tab)
            continue;
        if (w.tabInfo->Tab() != step.page)
            w.tabInfo->setTab(step.page);
        step.to->setFocus(tab ? Qt::TabFocusReason : Qt::BacktabFocusReason);
        return true;
    }
    return false;
}

void VardeckEditor::mnuEditModify_Click()
{
    if (!w.vardeckShown()) {
        prompt::show(QStringLiteral("No Vardeck has been selected to modify"));
        return;
    }
    rememberFocus();
    // An update of the Vardeck already being modified keeps the size read for it.
    if (w.editState() == EditState::Viewing)
        m_pageSize.reset();
    setMode(w, EditState::Modifying);
    setFormEditMode(w, true);
    m_savedNotes = w.txtNotes->toPlainText();
    m_startFields = currentFields();
    w.tabView->setTab(0);
    w.txtWName->setFocus();
    w.txtWName->setCursorPosition(0);
}

void VardeckEditor::mnuAddVardeck_Click()
{
    addVardeckSetup(QStringLiteral("form"));
}

void VardeckEditor::addVardeckSetup(const QString &source)
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
    w.commands.showAspectExplorer();
    w.overrideSavedAspect();

    setMode(w, EditState::Adding);
    clearTextBoxes(w);
    setFormEditMode(w, true);
    setNonEditableFields(w, true);
    // A new Vardeck starts with nothing of the Vardeck shown before it.
    w.chkFav->setChecked(false);
    m_startFields = currentFields();
    w.Picture10->hide();
    w.lblDescription->clear();
    w.lblKeyWords->clear();
    w.forgetFetchedIcon();
    for (QLabel *label : {w.lbl(Lbl::LastVisited), w.lblFileSize, w.lbl(Lbl::Hits), w.lblHome})
        label->clear();
    w.picThumb->setPixmap(QPixmap());

    const bool fromBrowser = sameText(source, QStringLiteral("browser"));
    if (fromBrowser) {
        const DetectedPage &page = w.chosenPage();
        w.txtWName->setText(page.name);
        w.txtAddress->setText(page.address);
        w.txtDescription->setPlainText(page.description);
        w.txtKeywords->setPlainText(page.keywords);
        setEditedPageSize(page.size);
        w.lbl(Lbl::Hits)->setText(QStringLiteral("1"));
        // The site icon is fetched while the user looks at the new Vardeck.
        if (!isPDF(page.address)) {
            w.timerIcon->setInterval(10);
            w.timerIcon->start();
        }
    }
    w.lblCreatedDate->setText(createdDateText(editingNow()));

    if (w.tabIndex->Tab() != 0) {
        w.showNoFolder();
        FolderTree::of(w).selectRoot();
        VardeckViews::of(w).vardeckTree()->clear();
        w.tabIndex->setTab(0);
    }
    w.tabView->setTab(0);
    w.txtWName->setFocus();

    if (fromBrowser && appOptions().getAutoSave()) {
        session().cancelIcons = true;
        windowevents::runPending();
        saveVardeckDetails();
    }
}

void VardeckEditor::setEditedPageSize(const QString &size)
{
    m_pageSize = size;
    w.lblFileSize->setText(size + QStringLiteral(" KB"));
}

void VardeckEditor::saveVardeckDetails()
{
    const EditState state = w.editState();
    bool added = false;
    if (state == EditState::Adding || state == EditState::Modifying) {
        if (state == EditState::Adding) {
            const FolderTree &folders = FolderTree::of(w);
            if (folders.isRoot(selectedItemOf(folders.tree())) || !w.folderShown()) {
                refuseNoFolder();
                return;
            }
        }
        if (w.txtWName->text().isEmpty()) {
            prompt::show(QStringLiteral("A website name is required before the Vardeck can be saved."));
            w.txtWName->setFocus();
            return;
        }
        if (state == EditState::Adding) {
            if (!w.iconChanged())
                session().cancelIcons = true;
            if (!saveNewVardeck())
                return;
            w.timerIcon->stop();
            added = true;
            recordFirstVisitAndSave();
            VardeckViews::of(w).vardeckTree()->setFocus();
        } else if (!saveModifiedVardeck()) {
            return;
        }
        leaveEditMode(w);
        clearDownloadedIcon();
    }
    if (added && appOptions().getCheckDup()) {
        // The duplicates manager shows the Vardecks that share the new address.
        w.commands.frmDuplicates_Show(w.txtAddress->text());
    }
}

XmlNode VardeckEditor::targetFolder(QTreeWidgetItem **node) const
{
    const FolderTree &folders = FolderTree::of(w);
    QTreeWidgetItem *selected = selectedItemOf(folders.tree());
    if (!selected)
        selected = findByTag(folders.tree(), w.currentTID());
    *node = selected;
    if (!selected || folders.isRoot(selected))
        return {};
    return w.dbXML.folder(tagOf(selected));
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
    XmlNode list = folder.child(QStringLiteral("VARDECKS"));
    if (!list)
        list = folder.appendChild(doc->createElement(QStringLiteral("VARDECKS")));

    XmlNode vardeck = doc->createElement(QStringLiteral("VARDECK"));
    vardeck.setAttribute(QStringLiteral("WID"), wid);
    list.appendChild(vardeck);
    const QString address = editedAddress();
    const bool favorite = w.chkFav->isChecked();
    const std::pair<const char *, QString> children[] = {
        {"NAME", w.txtWName->text()},
        {"ADDRESS", address},
        {"CREATED_DATE", createdDateText(editingNow())},
        {"DESCRIPTION", w.txtDescription->toPlainText()},
        {"KEYWORD1", w.txtKeywords->toPlainText()},
        {"NOTES", w.txtNotes->toPlainText()},
        {"KEYWORD2", QString()},
        {"FILESIZE", m_pageSize.value_or(QString())},
        {"HITS", QStringLiteral("1")},
        {"FAV", favorite ? QStringLiteral("TRUE") : QStringLiteral("FALSE")},
    };
    for (const auto &[name, text] : children)
        vardeck.appendChild(doc->createTextElement(QLatin1String(name), text));

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
        w.ImageListWM.insert(wid, QIcon(picture));
    else
        w.ImageListWM.remove(wid);

    w.commands.refreshRecentMenuList(wid);
    if (folderNode)
        w.commands.populateVardeckList(folderNode);
    w.commands.displayVardeckData(vardeck);
    w.selectVardeck(wid);

    w.commands.collectionChanged(StalePages{.folders = true, .all = true, .hits = true});
    if (favorite)
        w.commands.populateFavsList(doc);
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
    const QString name = w.txtWName->text();
    // An element that lacks a child gets it: no field typed in is dropped.
    vardeck.setChildText(QStringLiteral("NAME"), name);
    vardeck.setChildText(QStringLiteral("ADDRESS"), editedAddress());
    vardeck.setChildText(QStringLiteral("DESCRIPTION"), w.txtDescription->toPlainText());
    vardeck.setChildText(QStringLiteral("NOTES"), w.txtNotes->toPlainText());
    vardeck.setChildText(QStringLiteral("KEYWORD1"), w.txtKeywords->toPlainText());
    // The size and the hits as the Vardeck holds them (the size of a page read during the
    // edit replacing the stored one); a missing child is made.
    if (!vardeck.child(QStringLiteral("FILESIZE")))
        vardeck.appendChild(doc->createElement(QStringLiteral("FILESIZE")));
    const QString size = m_pageSize.value_or(shownFileSize(vardeck));
    if (!size.isEmpty())
        vardeck.setChildText(QStringLiteral("FILESIZE"), size);
    vardeck.setChildText(QStringLiteral("HITS"), shownHits(vardeck));

    for (QTreeWidget *view : {VardeckViews::of(w).vardeckTree(), w.listPop}) {
        for (int i = 0; i < view->topLevelItemCount(); ++i) {
            if (sameText(tagOf(view->topLevelItem(i)), w.currentWID()))
                view->topLevelItem(i)->setText(0, name);
        }
    }
    // A new name takes its place among the folder's names.
    VardeckViews::of(w).vardeckTree()->sortItems(0, Qt::AscendingOrder);
    w.lstSrch->clear();
    w.lstSearch->clear();
    w.commands.populateVDList(w.dbXML.folder(w.currentTID()));
    setFavoriteMark(vardeck, w.chkFav->isChecked());
    w.commands.populateFavsList(doc);
    w.commands.displayVardeckData(vardeck);
    saveDatabaseReporting(*w.dbXML);
    w.markAllPagesStale();
    return true;
}

// Typed, pasted, captured, dropped or read by a synchronisation, the address reaches
// the database through here.
QString VardeckEditor::editedAddress() const
{
    return cleanAddress(w.txtAddress->text());
}

VardeckEditor::Fields VardeckEditor::currentFields() const
{
    return {{w.txtWName->text(), w.txtAddress->text(), w.txtDescription->toPlainText(), w.txtKeywords->toPlainText(),
             w.txtNotes->toPlainText()},
            w.chkFav->isChecked()};
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
            w.commands.displayVardeckData(vardeck);
        } else {
            w.txtNotes->setPlainText(m_savedNotes);
            w.txtWName->setText(w.lblWName->text());
            w.txtAddress->setText(w.lblAddress->text());
        }
    } else {
        setNonEditableFields(w, false);
        w.imgIcon->setPixmap(QPixmap());
        w.showNoVardeck();
        w.lblCreatedDate->clear();
        w.tabView->setTabText(0, QStringLiteral("   *") + w.lblWName->text() + QStringLiteral("    "));
        // The panel shows no Vardeck, so no list row stays highlighted as if one were.
        for (QTreeWidget *list : {VardeckViews::of(w).vardeckTree(), VardeckViews::of(w).list()})
            list->clearSelection();
    }
    w.timerIcon->stop();
    leaveEditMode(w);
    session().cancelIcons = true;
    clearDownloadedIcon();
}

void VardeckEditor::rememberFocus()
{
    QWidget *focus = QApplication::focusWidget();
    const bool editBox = focus == w.txtWName || focus == w.txtAddress || focus == w.txtDescription ||
                         focus == w.txtKeywords || focus == w.txtNotes;
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
    if (!target || !target->isVisible() || !target->isEnabled())
        target = VardeckViews::of(w).vardeckTree()->topLevelItemCount() > 0
                     ? static_cast<QWidget *>(VardeckViews::of(w).vardeckTree())
                     : FolderTree::of(w).tree();
    if (target->isVisible() && target->isEnabled())
        target->setFocus(Qt::OtherFocusReason);
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
