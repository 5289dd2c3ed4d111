#pragma once
// Deleting the shown Vardeck: the question names it, its element leaves the
// document, the file is saved, and only then are its site icon and thumbnail
// deleted, so that a failed save (the Vardeck stays in the file) keeps its files.
// The trees and lists then drop it as the left-hand tab shown requires.
#include <QObject>
#include <QString>

namespace rr
{

class frmVardecks;

// Deletes the thumbnail file of the Vardeck wid of the open database; a missing
// file is no error.
void deleteThumb(const frmVardecks &w, const QString &wid);
// Deletes the icon and thumbnail files of the Vardecks and forgets their pictures.
void deleteSideFiles(frmVardecks &w, const QStringList &wids);

class VardeckDeletion : public QObject
{
    Q_OBJECT
public:
    explicit VardeckDeletion(frmVardecks &w);
    // The window's Vardeck deletion (made by installEditing).
    static VardeckDeletion &of(const frmVardecks &w);

    void mnuEditDelete_Click();
    // A popup's deletion of the Vardeck wid it was opened on ("" none chosen): the
    // shown Vardeck is deleted; with none shown, the tree's selected one is shown and
    // deleted, and with none chosen either the user is told.
    void deleteChosenVardeck(const QString &wid);
    // Asks, then deletes the Vardeck shown in the details panel.
    void deleteVD();
    // Removes the Vardeck wid from the document and saves; its side files go once
    // the file no longer holds it. False when there was no such Vardeck.
    bool deleteSelectedVardeck(const QString &wid);
    // Tidies the window after the Vardeck selectedWID was deleted.
    void resetAfterDelete();

private:
    frmVardecks &w;
};

} // namespace rr
