#include "explorer/popupcommands.h"

#include "explorer/clipboardcommands.h"
#include "explorer/deletefolder.h"
#include "explorer/deletevardeck.h"
#include "explorer/foldertree.h"
#include "explorer/movelaunchers.h"
#include "explorer/nodetags.h"
#include "explorer/vardeckviews.h"
#include "finding/ui/findingops.h"
#include "media/urlsupport.h"
#include "platform/gui/partoperations.h"
#include "platform/prompt.h"
#include "shell/frmvardecks.h"
#include "shell/openaddress.h"
#include "shell/recentmenuoperations.h"
#include "storage/record.h"
#include "storage/ui/savereport.h"
#include "storage/vardeckmodule.h"
#include "storage/xmldatabase.h"
#include "web/visits.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QTreeWidget>

namespace rr
{
namespace
{

} // namespace

PopupCommands::PopupCommands(frmVardecks &window, MoveLaunchers &moves) : QObject(&window), w(window), m_moves(moves)
{
    setObjectName(QStringLiteral("popupCommands"));
}

QString PopupCommands::popupWid() const
{
    return tagOf(w.popup.popupNode().item()).trimmed();
}

QString PopupCommands::rememberedFolderTID() const
{
    const QString tid = w.popup.popupFolderTID();
    return w.dbXML.folder(tid) ? tid : QString();
}

// ----- mnuStartVD -----

bool PopupCommands::showStep()
{
    QTreeWidgetItem *node = w.popup.popupNode().item();
    switch (w.indexTab()) {
    case IndexTab::Index: {
        VardeckViews::of(w).selectPoppedTreeNode(node);
        w.commands.displayWM();
        break;
    }
    case IndexTab::Favorites:
        showRightClickedFavorite(w);
        break;
    default:
        break;
    }
    return rowIsShown(popupWid());
}

bool PopupCommands::rowIsShown(const QString &wid) const
{
    return !wid.isEmpty() && w.vardeckShown() && sameText(w.currentWID(), wid) && w.dbXML.vardeck(wid);
}

bool PopupCommands::mayUpdate(const QString &wid) const
{
    if (!wid.isEmpty() && sameText(w.editedWID(), wid))
        return false;
    return w.commands.mayEndEdit(OnEdit::Ends);
}

void PopupCommands::mnuOpenN_Click()
{
    showStep();
}

void PopupCommands::mnuOpenVD_Click()
{
    const QString wid = popupWid();
    const XmlNode vardeck = w.dbXML.vardeck(wid);
    if (!vardeck)
        return;
    const QString address = vardeck.childText(tag::Address);
    // A refused address is told and is no visit.
    if (!urlSupport::isSafeToOpen(address)) {
        openInBrowser(address);
        return;
    }
    updateLastAccessed(*w.dbXML, wid);
    openInBrowser(address);
    operationsOf<RecentMenuOperations>(w).refreshRecentMenuList(wid);
}

void PopupCommands::openHomeOf(const QString &wid)
{
    QString address;
    QString name;
    if (!wid.isEmpty()) {
        const XmlNode vardeck = w.dbXML.vardeck(wid);
        // A Vardeck removed since it was clicked has no home page to open.
        if (!vardeck)
            return;
        address = vardeck.childText(tag::Address);
        name = vardeck.childText(tag::Name);
    }
    finishOpening(openHome(address, name));
}

void PopupCommands::mnuOpenVDHome_Click()
{
    if (!w.popup.popupNode().isNull())
        openHomeOf(popupWid());
}

void PopupCommands::mnuMoveVD_Click()
{
    m_moves.moveOneVardeck(popupWid());
}

void PopupCommands::mnuModVD_Click()
{
    // Only the right-clicked Vardeck is put into modify mode, never another one that
    // happens to be shown.
    if (mayUpdate(popupWid()) && showStep())
        w.commands.mnuEditModify_Click();
}

void PopupCommands::mnuDeleteVD_Click()
{
    if (!showStep())
        return;
    VardeckDeletion::of(w).deleteChosenVardeck(popupWid());
}

void PopupCommands::copyVardeck(const QString &wid)
{
    if (!w.dbXML.vardeck(wid))
        return;
    putOnClipboard(w.dbXML->getVDAsFormattedString(wid));
}

void PopupCommands::mnuCopyVD_Click()
{
    copyVardeck(popupWid());
}

// ----- mnuTopicMenu and mnuNoVD -----

void PopupCommands::mnuNewFolder_Click()
{
    FolderTree::of(w).showNewFolderDialog(rememberedFolderTID());
}

void PopupCommands::mnuOpenF_Click()
{
    QTreeWidgetItem *node = w.popup.popupNode().item();
    FolderTree &folders = FolderTree::of(w);
    if (!folders.holds(node))
        return;
    folders.selectNode(node);
    FolderTree::of(w).tvwTopics_NodeClick(node);
}

void PopupCommands::mnuMoveFolder_Click()
{
    m_moves.moveFolder(rememberedFolderTID());
}

void PopupCommands::mnuRenameFolder_Click()
{
    FolderTree::of(w).renameChosenFolder(tagOf(w.popup.popupNode().item()), w.popup.popupSelectedNode().item());
}

void PopupCommands::mnuModFolder_Click()
{
    // The folder selected stands for the right-clicked one and is selected again.
    FolderTree &folders = FolderTree::of(w);
    QTreeWidgetItem *selected = folders.selectedNode();
    folders.renameChosenFolder(tagOf(selected), selected);
}

void PopupCommands::mnuDeleteFolder_Click()
{
    FolderTree &folders = FolderTree::of(w);
    QTreeWidgetItem *node = w.popup.popupNode().item();
    // The right-clicked node has gone with its folder: nothing is left to delete.
    if (!folders.holds(node))
        return;
    // The folder right-clicked goes, whatever the tree had selected when the popup
    // opened (the root too), which is selected again and shown afterwards.
    FolderDeletion::of(w).deleteChosenFolder(tagOf(node), w.popup.popupSelectedNode().item());
}

// ----- the list popups -----

QString PopupCommands::selectedRowOf(EntryList list) const
{
    if (list == EntryList::FolderList)
        return VardeckViews::of(w).selectedListId();
    return rr::selectedRowOf(w, list);
}

QStringList PopupCommands::selectedRowsOf(EntryList list) const
{
    if (list == EntryList::FolderList)
        return VardeckViews::of(w).selectedListIds();
    return rr::selectedRowsOf(w, list);
}

EntryList PopupCommands::multiRowList() const
{
    return w.popup.popupList() == EntryList::FolderList ? EntryList::FolderList : EntryList::SearchResults;
}

void PopupCommands::openAction(EntryList list)
{
    switch (list) {
    case EntryList::FolderList:
        w.commands.listVD_DblClick();
        break;
    case EntryList::PopularList:
        w.commands.listPop_Click();
        break;
    case EntryList::SearchList:
        w.commands.lstSrch_Click();
        break;
    case EntryList::SearchResults:
        w.commands.lstSearch_DblClick();
        break;
    }
}

void PopupCommands::openRows(EntryList list)
{
    // The identifiers first: recording a visit refills the popular list.
    const QStringList wids = selectedRowsOf(list);
    // Every visit is recorded before the first page opens.
    QStringList addresses;
    for (const QString &wid : std::as_const(wids)) {
        const XmlNode vardeck = w.dbXML.vardeck(wid);
        if (!vardeck)
            continue;
        addresses << vardeck.childText(tag::Address);
        // A refused address is no visit; opening it below says why.
        if (!urlSupport::isSafeToOpen(addresses.last()))
            continue;
        updateLastAccessed(*w.dbXML, wid);
        operationsOf<RecentMenuOperations>(w).refreshRecentMenuList(wid);
    }
    for (const QString &address : std::as_const(addresses))
        openInBrowser(address);
}

void PopupCommands::mnuList_Click(int index)
{
    if (index < 1 || index > kListPopupEntries)
        return;
    const EntryList list = w.popup.popupList();
    const QString wid = selectedRowOf(list);
    switch (ListPopupEntry(index)) {
    case ListPopupEntry::NewVardeck:
        w.commands.mnuAddVardeck_Click();
        break;
    case ListPopupEntry::OpenVardeck:
        openAction(list);
        w.showViewTab(ViewTab::Vardeck);
        break;
    case ListPopupEntry::OpenInBrowser:
        openRows(list);
        break;
    case ListPopupEntry::OpenHomePage:
        openHomeOf(wid);
        break;
    case ListPopupEntry::MoveVardeck:
        if (!wid.isEmpty())
            m_moves.moveOneVardeck(wid);
        break;
    case ListPopupEntry::UpdateVardeck:
        if (!mayUpdate(wid))
            break;
        openAction(list);
        if (rowIsShown(wid))
            w.commands.mnuEditModify_Click();
        w.showViewTab(ViewTab::Vardeck);
        break;
    case ListPopupEntry::DeleteVardeck:
        openAction(list);
        if (!rowIsShown(wid))
            break;
        w.showViewTab(ViewTab::Vardeck);
        VardeckDeletion::of(w).deleteChosenVardeck(wid);
        FolderTree::of(w).relistSelectedFolder();
        break;
    case ListPopupEntry::CopyVardeck:
        copyVardeck(wid);
        break;
    case ListPopupEntry::AddToFavorites:
        addToFavorites(w, wid);
        break;
    case ListPopupEntry::FirstSeparator:
    case ListPopupEntry::SecondSeparator:
    case ListPopupEntry::ThirdSeparator:
        break;
    }
}

void PopupCommands::mnuMulti_Click(int index)
{
    if (index < 1 || index > kMultiPopupEntries)
        return;
    switch (MultiPopupEntry(index)) {
    case MultiPopupEntry::OpenInBrowser:
        mnuList_Click(int(ListPopupEntry::OpenInBrowser));
        break;
    case MultiPopupEntry::MoveVardecks:
        m_moves.moveSelectedRows(selectedRowsOf(multiRowList()), w.currentTID());
        break;
    case MultiPopupEntry::DeleteVardecks:
        deleteSelectedRows();
        break;
    }
}

void PopupCommands::deleteSelectedRows()
{
    if (!w.dbXML.document())
        return;
    if (!prompt::askYesNo(QStringLiteral("Are you sure you wish to permanently delete the selected Vardecks?"),
                          MsgIcon::None, QStringLiteral("Delete Vardecks")))
        return;

    // The identifiers first, then the elements: the rows are not walked while the
    // document changes, and a Vardeck that has gone meanwhile is skipped.
    QStringList removed;
    for (const QString &wid : selectedRowsOf(multiRowList())) {
        XmlNode vardeck = w.dbXML.vardeck(wid);
        if (!vardeck)
            continue;
        removed << vardeck.attribute(tag::Wid);
        vardeck.parentNode().removeChild(vardeck);
    }
    if (!removed.isEmpty()) {
        const bool saved = saveDatabaseReporting(*w.dbXML);
        w.collectionChanged(StalePages::everyPage());
        // The side files go only once the file no longer holds their Vardecks.
        if (saved)
            deleteSideFiles(w, removed);
        VardeckDeletion::of(w).resetAfterDelete();
    }
    if (w.indexTab() == IndexTab::Index)
        FolderTree::of(w).relistSelectedFolder();
}

} // namespace rr
