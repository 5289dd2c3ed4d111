#pragma once
// "New database" and "Delete database": one dialog in two modes, set by the hidden
// text box txtMode ("new" or "delete"). It acts itself; what needs the main window
// comes in as hooks: whether a file is the open database, closing it before it is
// deleted, and opening a new database (from chosenDBPath and chosenDBName).
#include "storage/ui/buttondialog.h"

#include <functional>

class QLabel;
class QLineEdit;

namespace rr
{

class DatabaseList;

struct DatabaseHooks {
    // True when fileName ("Work.xml") is the open database; unset compares it with
    // currentDBName.
    std::function<bool(const QString &fileName)> isOpenDatabase;
    // Empties the main window; called before the open database is deleted.
    std::function<void()> closeDB;
    // Opens chosenDBPath; called after the user chose to open a new database.
    std::function<void()> openTheDatabase;
    // Gives the dialog the fallback font when the designed one is not installed.
    std::function<void(QWidget *dialog)> applyFontFallback;
};

class frmNew : public ButtonDialog
{
    Q_OBJECT
public:
    // mode: "delete" for the delete mode, anything else for a new database.
    frmNew(const QString &mode, DatabaseHooks hooks, QWidget *parent = nullptr,
           const QString &databaseFolder = QString());

    // Shows the dialog modally in the mode.
    static void run(const QString &mode, DatabaseHooks hooks, QWidget *parent = nullptr);

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

    DatabaseHooks m_hooks;
    QString m_folder;
};

} // namespace rr
