#pragma once
// The program's start and the small helpers of the main module.
#include <QString>
#include <QStringList>

namespace rr
{

class frmVardecks;
class SingleInstance;

// The rendered page's name for a stylesheet ("VD.xsl" → "FoldersTemp", …).
QString pageNameForStyle(const QString &style);
// Creates "thumbs/<stem>" in the program's database folder when missing.
void checkCreateThumbsDir(const QString &dbName);
// The stored database name when it is a bare file name of the database folder,
// otherwise "Vardecks.xml".
QString safeDatabaseName(const QString &stored);

// The program's start: font check, first-run and every-run settings, then the main
// window's load. instance receives hand-offs of later launches.
void Main(frmVardecks &window, SingleInstance *instance = nullptr);
// The first-run settings.
void setupFirstRun();
void registerAppPath();

} // namespace rr
