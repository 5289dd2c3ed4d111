#pragma once
// "New database" and "Delete database": one dialog in two modes, set by the hidden
// text box txtMode ("new" or "delete"). It acts itself; what needs the main window
// it asks of the window's commands: whether a file is the open database
// (isOpenDatabase), closing it before it is deleted (closeDB), opening the new
// database it made (openTheDatabase), and the font fallback.
#include "platform/gui/commands.h"
#include "storage/ui/buttondialog.h"

class QLabel;
class QLineEdit;

namespace rr
{

class DatabaseList;

class frmNew : public ButtonDialog
{
    Q_OBJECT
public:
    // mode: "delete" for the delete mode, anything else for a new database.
    frmNew(const QString &mode, Commands &commands, QWidget *parent = nullptr,
           const QString &databaseFolder = QString());

    // Shows the dialog modally in the mode.
    static void run(const QString &mode, Commands &commands, QWidget *parent = nullptr);

    bool isDeleteMode() const;

    QLabel *Label1 = nullptr;
    DatabaseList *tvwDB = nullptr;
    QLabel *Label2 = nullptr;
    QLineEdit *txtName = nullptr;
    QLabel *lblName = nullptr;
    qbButtons_H *cmdOK = nullptr;
    qbButtons_H *cmdCancel = nullptr;
    QLineEdit *txtMode = nullptr;

private:
    void applyMode();
    void nodeChosen();
    void nameChanged(const QString &text);
    void okClicked();
    void deleteDatabase();
    void createDatabase();
    void showError(const QString &reason);
    void refuseName(const QString &message);

    Commands &m_commands;
    QString m_folder;
};

} // namespace rr
