#pragma once
// "Manage duplicates": the Vardecks of the open database that share an address, shown
// set by set, with the commands that delete the unwanted copies. Opened for the whole
// database (the Tools menu) or for one address just saved with duplicate checking on;
// then, when only the saved Vardeck has it, the window closes unseen.
//
// Deleting goes through the main window's own deletion, which the opener hands it as a
// DuplicatesHost (deleteSelectedVardeck: the file is saved and the icon and thumbnail
// files go after a successful save), and its tidy-up (resetAfterDelete); closing
// refreshes the main window's lists (refreshAfterDuplicates). After a set is
// resolved the set that now stands at its position is shown, and both counts follow.
// The sets hold the Vardecks' WIDs, looked up each time a set is shown: an element
// deleted meanwhile is never shown again.
#include "dialogs/duplicatesets.h"
#include "dialogs/duplicateshost.h"

#include <QDialog>
#include <QIcon>
#include <QMap>

class QCheckBox;
class QLabel;
class QTreeWidget;

namespace rr
{

class qbButtons_H;

class frmDuplicates : public QDialog
{
    Q_OBJECT
public:
    // dupCheckAddress "" (or checkDup off) scans the whole database; images are the
    // main window's Vardeck pictures by WID ("Vardeck" is the stock one).
    frmDuplicates(XmlDocument &doc, const QString &dupCheckAddress, bool checkDup, DuplicatesHost &host,
                  const QMap<QString, QIcon> &images, QWidget *parent = nullptr);

    // True when the window was opened for one address that only the saved Vardeck has.
    bool closesUnseen() const { return m_closesUnseen; }
    // Builds the window and shows it modally unless it closes unseen.
    static void run(XmlDocument &doc, const QString &dupCheckAddress, bool checkDup, DuplicatesHost &host,
                    const QMap<QString, QIcon> &images, QWidget *parent = nullptr);

    int setIndex() const { return m_setIndex; }
    // The WID of the Vardeck whose details are shown ("" when none is).
    QString shownWID() const { return m_shownWID; }
    int setCount() const { return int(m_sets.size()); }

    // The buttons' commands (connected queued, so a question never opens inside the
    // button's own event handling).
    void cmdFirst_Click();
    void cmdPrevious_Click();
    void cmdNext_Click();
    void cmdLast_Click();
    void cmdDelete_Click();
    void cmdCancel_Click();

private:
    void buildControls();
    void load(const QString &dupCheckAddress, bool checkDup);
    void populateDupList(int k);
    void showVDDetails(const XmlNode &vardeck);
    void deleteRest(const QString &keepWID);
    void deleteVD();
    // The shown set is resolved: it goes, and the set now at its position is shown.
    void dropShownSet();
    void showEmptyState();
    void showCounts(int k);

    XmlDocument &m_doc;
    DuplicatesHost &m_host;
    QMap<QString, QIcon> m_images;
    // Each set's WIDs, in the order the search found them.
    QList<QStringList> m_sets;
    int m_setIndex = 0;
    QString m_shownWID;
    bool m_singleMode = false;
    bool m_closesUnseen = false;
    QTreeWidget *listVD = nullptr;
    QLabel *Label2 = nullptr;
    QLabel *Label3 = nullptr;
    QLabel *lblFolder = nullptr;
    QLabel *lblName = nullptr;
    QLabel *lblAddress = nullptr;
    QLabel *lblDesc = nullptr;
    QCheckBox *chkAllDelete = nullptr;
    QCheckBox *chkSuppress = nullptr;
    qbButtons_H *qbButtons_H1 = nullptr; // Previous
    qbButtons_H *qbButtons_H2 = nullptr; // First
    qbButtons_H *qbButtons_H3 = nullptr; // Last
    qbButtons_H *qbButtons_H4 = nullptr; // Next
    qbButtons_H *qbButtons_H6 = nullptr; // Delete
    qbButtons_H *cmdCancel = nullptr;
};

} // namespace rr
