#pragma once
// A database the user picked in "Open database" or made in "New database": the dialog
// hands it back as a value and the main window's openTheDatabase opens it.
#include <QString>

namespace rr
{

struct ChosenDatabase {
    // The database file's full path.
    QString path;
    // Its file name in the database folder, "Work.xml".
    QString name;
    bool operator==(const ChosenDatabase &) const = default;
};

} // namespace rr
