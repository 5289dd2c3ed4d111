#pragma once
// "Open database": lists the databases of the database folder and leaves the choice
// in chosenDBPath and chosenDBName (both "" when the user cancels). Opening the
// chosen file is the main window's openTheDatabase.
#include "storage/ui/buttondialog.h"

class QLabel;
class QTreeWidgetItem;

namespace rr
{

class DatabaseList;

class frmOpen : public ButtonDialog
{
    Q_OBJECT
public:
    explicit frmOpen(QWidget *parent = nullptr, const QString &databaseFolder = QString());

    // Shows the dialog modally; true when a database was chosen.
    static bool chooseDatabase(QWidget *parent = nullptr);

    QLabel *Label2 = nullptr;
    DatabaseList *tvwDB = nullptr;
    QLabel *lblDBName = nullptr;
    qbButtons_H *cmdOK = nullptr;
    qbButtons_H *cmdCancel = nullptr;

    // Cancel, Escape and the window's close box all leave no choice.
    void reject() override;

private:
    void setDBName(const QString &text);
    void okClicked();
};

} // namespace rr
