#pragma once
// "Open database": lists the databases of the database folder and hands back the one
// the user chose (nothing when the user cancels). Opening the chosen file is the main
// window's openTheDatabase.
#include "storage/chosendatabase.h"
#include "storage/ui/buttondialog.h"

#include <optional>

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

    // Shows the dialog modally; the database chosen, or nothing when the user cancels.
    static std::optional<ChosenDatabase> chooseDatabase(QWidget *parent = nullptr);

    // The database OK chose; nothing before OK and after Cancel.
    const std::optional<ChosenDatabase> &choice() const { return m_choice; }

    // Cancel, Escape and the window's close box all leave no choice.
    void reject() override;

private:
    void setDBName(const QString &text);
    void okClicked();

    std::optional<ChosenDatabase> m_choice;
    QLabel *Label2 = nullptr;
    DatabaseList *tvwDB = nullptr;
    QLabel *lblDBName = nullptr;
    qbButtons_H *cmdOK = nullptr;
    qbButtons_H *cmdCancel = nullptr;
};

} // namespace rr
