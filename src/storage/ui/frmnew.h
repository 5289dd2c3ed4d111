#pragma once
// "New database" and "Delete database": one dialog in two modes, chosen when it is
// made. It acts itself; what needs the main window it asks of its DatabaseHost:
// whether a file is the open database (isOpenDatabase), closing it before it is
// deleted (closeDB), opening the new database it made (openTheDatabase), and the font
// fallback.
#include "storage/ui/buttondialog.h"
#include "storage/ui/databasehost.h"

class QLabel;
class QLineEdit;

namespace rr
{

class DatabaseList;

class frmNew : public ButtonDialog
{
    Q_OBJECT
public:
    enum class Mode { New, Delete };

    frmNew(Mode mode, DatabaseHost &host, QWidget *parent = nullptr, const QString &databaseFolder = QString());

    // Shows the dialog modally in the mode.
    static void run(Mode mode, DatabaseHost &host, QWidget *parent = nullptr);

    bool isDeleteMode() const { return m_mode == Mode::Delete; }

private:
    void applyMode();
    void nodeChosen();
    void nameChanged(const QString &text);
    void okClicked();
    void deleteDatabase();
    void createDatabase();
    void showError(const QString &reason);
    void refuseName(const QString &message);

    const Mode m_mode;
    DatabaseHost &m_host;
    QString m_folder;
    QLabel *Label1 = nullptr;
    DatabaseList *tvwDB = nullptr;
    QLabel *Label2 = nullptr;
    QLineEdit *txtName = nullptr;
    QLabel *lblName = nullptr;
    qbButtons_H *cmdOK = nullptr;
    qbButtons_H *cmdCancel = nullptr;
};

} // namespace rr
