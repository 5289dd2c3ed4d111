#pragma once
// What the New and Delete database window asks of the main window: the open database
// is the main window's, which this library does not link. The File > Database commands
// hand it an implementation.
#include "storage/ui/dialoghost.h"

#include <QString>

namespace rr
{

struct ChosenDatabase;

class DatabaseHost : public DialogHost
{
public:
    // Opens the database picked or made in the database windows.
    virtual void openTheDatabase(const ChosenDatabase &chosen) {}
    // Closes the open database; the window shows none.
    virtual void closeDB() {}
    // True when fileName ("Work.xml") in the database folder is the open database.
    virtual bool isOpenDatabase(const QString &fileName) { return false; }
};

} // namespace rr
