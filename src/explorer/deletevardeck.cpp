#include "explorer/deletevardeck.h"

#include "explorer/editmode.h"
#include "explorer/foldertree.h"
#include "explorer/nodetags.h"
#include "explorer/vardeckviews.h"
#include "finding/ui/findingops.h"
#include "media/iconsupport.h"
#include "platform/gui/itemtags.h"
#include "platform/gui/listviews.h"
#include "platform/gui/partoperations.h"
#include "platform/prompt.h"
#include "platform/textutil.h"
#include "shell/findingoperations.h"
#include "shell/frmvardecks.h"
#include "shell/installedpart.h"
#include "storage/record.h"
#include "storage/session.h"
#include "storage/ui/savereport.h"
#include "storage/vardeckmodule.h"
#include "storage/xmldatabase.h"

#include <QAbstractItemView>
#include <QFile>
#include <QLabel>
#include <QPointer>
#include <QTreeWidget>

namespace rr
{
namespace
{

void showNoFolderListed(frmVardecks &w)
{
    w.showNoFolder();
    VardeckViews::of(w).clearVardeckViews();
}

// The list or tree of the window that has the keyboard, where a deletion by key or by
// its popup was made. The window's own focus widget: the question asked has just
// closed, and the window may not have the keyboard back yet.
QAbstractItemView *focusedView(const frmVardecks &w)
{
    return qobject_cast<QAbstractItemView *>(w.focusWidget());
}

// The row next to the deleted one (the row of wid, else the keyboard's row) whose
// Vardeck is still there: the first after it, else the last before it.
QString survivingNeighbour(const frmVardecks &w, const QAbstractItemView *view, const QString &wid)
{
    const QAbstractItemModel *model = view->model();
    int anchor = view->currentIndex().row();
    for (int row = 0; row < model->rowCount(); ++row) {
        if (sameText(model->index(row, 0).data(kTagRole).toString(), wid))
            anchor = row;
    }
    if (anchor < 0)
        return {};
    auto survivor = [&](int row) {
        const QString tag = model->index(row, 0).data(kTagRole).toString();
        return w.dbXML.vardeck(tag) ? tag : QString();
    };
    for (int row = anchor + 1; row < model->rowCount(); ++row) {
        if (const QString tag = survivor(row); !tag.isEmpty())
            return tag;
    }
    for (int row = anchor - 1; row >= 0; --row) {
        if (const QString tag = survivor(row); !tag.isEmpty())
            return tag;
    }
    return {};
}

} // namespace

void deleteThumb(const frmVardecks &w, const QString &wid)
{
    if (!w.dbXML.isOpen())
        return;
    const QString path = thumbFilePath(w.dbXML->getBasePath(), w.dbXML.name(), wid);
    if (!path.isEmpty())
        QFile::remove(path);
}

void deleteSideFiles(frmVardecks &w, const QStringList &wids)
{
    if (!w.dbXML.isOpen())
        return;
    IconSupport icons;
    icons.setIconPath(w.dbXML->getBasePath(), w.dbXML.name());
    for (const QString &wid : wids) {
        icons.deleteIcon(wid);
        deleteThumb(w, wid);
        w.vardeckPictures().forgetSiteIcon(wid);
    }
}

VardeckDeletion::VardeckDeletion(frmVardecks &window) : QObject(&window), w(window)
{
    setObjectName(QStringLiteral("vardeckDeletion"));
}

VardeckDeletion &VardeckDeletion::of(const frmVardecks &w)
{
    auto *deletion = installedPart<VardeckDeletion>(w);
    Q_ASSERT_X(deletion, "VardeckDeletion::of", "the window has no Vardeck deletion");
    return *deletion;
}

void VardeckDeletion::mnuEditDelete_Click()
{
    deleteChosenVardeck(QString());
}

void VardeckDeletion::deleteChosenVardeck(const QString &wid)
{
    if (w.vardeckShown()) {
        deleteVD();
        return;
    }
    if (wid.isEmpty()) {
        prompt::show(QStringLiteral("No Vardeck has been selected to delete."));
        return;
    }
    w.commands.displayWM();
    if (w.vardeckShown())
        deleteVD();
}

void VardeckDeletion::deleteVD()
{
    // The Vardeck deleted is the one the question names: the one shown.
    const QString wid = identifierOf(w.currentWID());
    if (!w.dbXML.vardeck(wid)) {
        // Gone already (deleted elsewhere): the panel stops showing it.
        leaveEditMode(w);
        setNonEditableFields(w, false);
        return;
    }
    if (!prompt::askYesNo(QStringLiteral("Are you sure you wish to delete ") + w.vardeckCaption() + QLatin1Char('?'),
                          MsgIcon::None, QStringLiteral("Delete Vardeck?")))
        return;
    deleteSelectedVardeck(wid);
    w.selectVardeck(wid);
    resetAfterDelete();
}

bool VardeckDeletion::deleteSelectedVardeck(const QString &wid)
{
    XmlNode vardeck = w.dbXML.vardeck(wid);
    XmlNode list = vardeck ? vardeck.parentNode() : XmlNode();
    if (!list)
        return false;
    const QString id = vardeck.attribute(tag::Wid);
    list.removeChild(vardeck);
    const bool saved = saveDatabaseReporting(*w.dbXML);
    w.collectionChanged(StalePages::everyPage());
    if (saved)
        deleteSideFiles(w, {id});
    return true;
}

void VardeckDeletion::resetAfterDelete()
{
    const QString wid = w.selectedWID();
    // The list or tree the deletion was made in keeps the keyboard, on a neighbour.
    QPointer<QAbstractItemView> view = focusedView(w);
    const QString neighbour = view ? survivingNeighbour(w, view, wid) : QString();
    // The results, and the Popular list, which is filled once and kept, lose the
    // deleted rows whichever tab is open; the other rows stay where the user found them.
    dropRowsOfGoneVardecks(w);
    // The favourites, their count and their menu follow the document.
    operationsOf<FindingOperations>(w).populateFavsList(w.dbXML.document());
    VardeckViews &views = VardeckViews::of(w);
    switch (w.indexTab()) {
    case IndexTab::Index:
        // The count follows the shown folder as the document has it after the deletion.
        if (views.removeTreeNode(wid))
            views.countShownFolder();
        if (!view)
            FolderTree::of(w).focusTree();
        views.populateVDList(w.dbXML.folder(w.currentTID()));
        break;
    case IndexTab::Search:
        // The folder shown beside the results stays shown, without the Vardeck, and
        // its count follows.
        if (views.removeTreeNode(wid))
            views.countShownFolder();
        views.populateVDList(w.dbXML.folder(w.currentTID()));
        break;
    case IndexTab::Favorites:
        showNoFolderListed(w);
        break;
    case IndexTab::Popular:
        showNoFolderListed(w);
        break;
    default:
        break;
    }
    leaveEditMode(w);
    setNonEditableFields(w, false);
    w.selectVardeck(QString());
    if (view)
        focusRowTagged(view, neighbour);
}

} // namespace rr
