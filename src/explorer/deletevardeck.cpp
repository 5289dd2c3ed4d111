#include "explorer/deletevardeck.h"

#include "explorer/editmode.h"
#include "explorer/nodetags.h"
#include "media/iconsupport.h"
#include "platform/prompt.h"
#include "shell/frmvardecks.h"
#include "shell/tabstrip.h"
#include "storage/session.h"
#include "storage/ui/savereport.h"
#include "storage/vardeckmodule.h"
#include "storage/xmldatabase.h"

#include <QFile>
#include <QLabel>
#include <QTreeWidget>

namespace rr
{
namespace
{

// Removes the first node of the tree whose tag is wid; true when there was one.
bool removeNode(QTreeWidget *tree, const QString &wid)
{
    QTreeWidgetItem *node = findByTag(tree, wid);
    if (!node)
        return false;
    delete node;
    // The row after it would become the selected one while nothing is shown.
    const QSignalBlocker blocker(tree);
    tree->clearSelection();
    tree->setCurrentItem(nullptr);
    return true;
}

// The shown folder's Vardeck count, as the document has it after a deletion.
void showVardeckCount(frmVardecks &w)
{
    if (const XmlNode folder = w.dbXML.folder(w.currentTID()))
        w.lbl(Lbl::VardeckCount)->setText(QString::number(vardecksOf(folder).size()));
}

void showNoFolderListed(frmVardecks &w)
{
    w.showNoFolder();
    w.listVD->clear();
    w.tvwWM->clear();
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
        w.ImageListWM.remove(wid);
    }
}

VardeckDeletion::VardeckDeletion(frmVardecks &window) : QObject(&window), w(window)
{
    setObjectName(QStringLiteral("vardeckDeletion"));
}

void VardeckDeletion::mnuEditDelete_Click()
{
    if (w.vardeckShown()) {
        deleteVD();
        return;
    }
    if (!w.popup.takeDeleteFromPopup()) {
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
    const QString wid = w.currentWID().trimmed();
    if (!w.dbXML.vardeck(wid)) {
        // Gone already (deleted elsewhere): the panel stops showing it.
        leaveEditMode(w);
        setNonEditableFields(w, false);
        return;
    }
    if (!prompt::askYesNo(QStringLiteral("Are you sure you wish to delete ") + w.lblWName->text() + QLatin1Char('?'),
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
    const QString id = vardeck.attribute(QStringLiteral("WID"));
    list.removeChild(vardeck);
    const bool saved = saveDatabaseReporting(*w.dbXML);
    w.markAllPagesStale();
    if (saved)
        deleteSideFiles(w, {id});
    return true;
}

void VardeckDeletion::resetAfterDelete()
{
    const QString wid = w.selectedWID();
    w.lstSrch->clear();
    w.lstSearch->clear();
    // The Popular list is filled once and kept: whichever tab is open, the row goes.
    removeNode(w.listPop, wid);
    switch (w.tabIndex->Tab()) {
    case 0:
        if (removeNode(w.tvwWM, wid))
            showVardeckCount(w);
        w.tvwTopics->setFocus();
        w.tvwFavs->clear();
        w.commands.populateVDList(w.dbXML.folder(w.currentTID()));
        break;
    case 1:
        // The results lose the Vardeck; the folder shown beside them stays shown,
        // without it, and its count follows.
        if (removeNode(w.tvwWM, wid))
            showVardeckCount(w);
        w.tvwFavs->clear();
        w.commands.populateVDList(w.dbXML.folder(w.currentTID()));
        break;
    case 2:
        removeNode(w.tvwFavs, wid);
        showNoFolderListed(w);
        break;
    case 3:
        showNoFolderListed(w);
        break;
    default:
        break;
    }
    leaveEditMode(w);
    setNonEditableFields(w, false);
    w.selectVardeck(QString());
}

} // namespace rr
