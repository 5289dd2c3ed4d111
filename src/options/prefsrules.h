#pragma once
// The rules of the options dialog that need no window: the browser and style tables,
// the list-size check and the database list of the database folder.
#include <QString>
#include <QStringList>

namespace rr::prefs
{

struct BrowserEntry {
    QString text;  // the entry of the browser list
    QString code;  // the option DefaultBrowser
    int pathIndex; // index into browserExePaths, -1 for the desktop's default browser
};
// Every browser the list can offer, in list order.
const QList<BrowserEntry> &browserTable();
// The entry text of a stored browser code ("" and "0" are the default browser); "" for
// an unknown code.
QString browserTextForCode(const QString &code);
// The code of an entry text; "" for none.
QString browserCodeForText(const QString &text);

// The five style entries in list order, and the style sheet file of each.
QStringList styleEntries();
// The style sheet file of an entry ("Comic" → "VD_comic.css"); "" for none.
QString styleSheetForEntry(const QString &entry);

// A list size as the user typed it. Only an optional sign, decimal digits and an
// optional "." with decimal digits count as a number; it is rounded to the nearest
// whole number, halves to the even one.
struct ListSize {
    enum class Verdict { NotANumber, TooSmall, TooLarge, Ok };
    Verdict verdict = Verdict::NotANumber;
    int value = 0;     // the number when Ok
    QString resetText; // what the box shows after a refusal: "15", "1" or "50"
};
ListSize checkListSize(const QString &text);

// The file names of the databases in folder (names ending in "xml" in any case), in
// the order the file system lists them.
QStringList databaseFiles(const QString &folder);

// Whether the database opened at start follows the one last opened: when the option
// says so, and also when the database chosen instead is none of databases (nothing
// chosen yet on a new install, or a database since deleted).
bool followsLastDatabase(bool dbDefault, const QString &dbToOpen, const QStringList &databases);

} // namespace rr::prefs
