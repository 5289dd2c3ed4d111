#pragma once
// "Move Vardeck": moves one Vardeck, or the rows selected in the main window's list
// (in list order), to the end of the folder the user picks. Vardecks never go to the
// top level. Save moves them all, saves once and reports VardecksMoved; which folder
// the main window shows afterwards is the caller's choice.
#include "dialogs/folderdialog.h"

#include <QHash>

namespace rr
{

class frmMoveVardeck : public FolderDialog
{
    Q_OBJECT
public:
    struct Request {
        // The folder the Vardecks come from.
        QString fromTID;
        // The WIDs to move, in list order.
        QStringList wids;
        // True when the rows selected in the list are moved ("Selected Vardecks").
        bool selectedRows = false;
    };
    using Moved = std::function<void(const VardecksMoved &)>;

    frmMoveVardeck(XMLDatabase &db, const Request &request, FolderDialogHost &host, Moved onMoved,
                   QWidget *parent = nullptr);

    // The request's Vardecks that exist. None: says "No Vardeck has been selected to
    // move" and gives an empty list, and the dialog is not to be opened.
    static QStringList checkRequest(const XMLDatabase &db, const Request &request);
    // Checks the request, then shows the dialog modally; true when Vardecks were moved.
    static bool run(XMLDatabase &db, const Request &request, FolderDialogHost &host, Moved onMoved,
                    QWidget *parent = nullptr);

private:
    static QStringList existingVardecks(const XMLDatabase &db, const Request &request);
    void showTargetFolder();
    void saveClicked();
    QString sourceFolderName() const;

    Request m_request;
    QHash<QString, QString> m_names; // WID to name when the dialog opened
    Moved m_onMoved;
    QLabel *Label3 = nullptr;
    QLabel *lblWMName = nullptr;
    QLabel *Label1 = nullptr;
    QLabel *lblCurrentTopic = nullptr;
    QLabel *Label4 = nullptr;
    QLabel *lblNewTopic = nullptr;
};

} // namespace rr
