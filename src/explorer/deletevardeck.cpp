#include "explorer/deletevardeck.h"

#include "explorer/editmode.h"
#include "explorer/nodetags.h"
#include "media/iconsupport.h"
#include "platform/prompt.h"
#include "shell/frmvardecks.h"
#include "shell/tabstrip.h"
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

void showNoFolder(frmVardecks &w)
{
    w.setTNameCaption(QStringLiteral("No folder selected"));
    w.listVD->clear();
    w.tvwWM->clear();
}

} // namespace

void deleteThumb(const frmVardecks &w, const QString &wid)
{
    if (!w.dbXML)
        return;
    const QString path = thumbFilePath(w.dbXML->getBasePath(), currentDBName, wid);
    if (!path.isEmpty())
        QFile::remove(path);
}

void deleteSideFiles(frmVardecks &w, const QStringList &wids)
{
    if (!w.dbXML)
        return;
    IconSupport icons;
    icons.setIconPath(w.dbXML->getBasePath());
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
    if (!w.popup.deleteFromPopup) {
        prompt::show(QStringLiteral("No Vardeck has been selected to delete."));
        return;
    }
    w.popup.deleteFromPopup = false;
    w.commands.displayWM();
    if (w.vardeckShown())
        deleteVD();
}

void VardeckDeletion::deleteVD()
{
    // The Vardeck deleted is the one the question names: the one shown.
    const QString wid = w.currentWID.trimmed();
    if (!elementById(w, wid, QStringLiteral("VARDECK"))) {
        // Gone already (deleted elsewhere): the panel stops showing it.
        leaveEditMode(w);
        setNonEditableFields(w, false);
        return;
    }
    if (!prompt::askYesNo(QStringLiteral("Are you sure you wish to delete ") + w.lblWName->text() + QLatin1Char('?'),
                          MsgIcon::None, QStringLiteral("Delete Vardeck?")))
        return;
    deleteSelectedVardeck(wid);
    w.selectedWID = wid;
    resetAfterDelete();
}

bool VardeckDeletion::deleteSelectedVardeck(const QString &wid)
{
    XmlNode vardeck = elementById(w, wid, QStringLiteral("VARDECK"));
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
    const QString wid = w.selectedWID;
    w.lstSrch->clear();
    w.lstSearch->clear();
    // The Popular list is filled once and kept: whichever tab is open, the row goes.
    removeNode(w.listPop, wid);
    switch (w.tabIndex->Tab()) {
    case 0:
        if (removeNode(w.tvwWM, wid))
            w.lbl(12)->setText(QString::number(qMax(0, w.lbl(12)->text().toInt() - 1)));
        w.tvwTopics->setFocus();
        w.tvwFavs->clear();
        w.commands.populateVDList(elementById(w, w.currentTID, QStringLiteral("FOLDER")));
        break;
    case 1:
        // The results lose the Vardeck; the folder shown beside them stays shown,
        // without it, and its count follows.
        if (removeNode(w.tvwWM, wid))
            w.lbl(12)->setText(QString::number(qMax(0, w.lbl(12)->text().toInt() - 1)));
        w.tvwFavs->clear();
        w.commands.populateVDList(elementById(w, w.currentTID, QStringLiteral("FOLDER")));
        break;
    case 2:
        removeNode(w.tvwFavs, wid);
        showNoFolder(w);
        break;
    case 3:
        showNoFolder(w);
        break;
    default:
        break;
    }
    leaveEditMode(w);
    setNonEditableFields(w, false);
    w.selectedWID.clear();
}

} // namespace rr
