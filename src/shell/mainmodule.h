#pragma once
// State of the main module that the start-up sets and the subsystems share.
#include <QString>
#include <QStringList>

namespace rr {

class frmVardecks;
class SingleInstance;

// Installed paths of "firefox.exe", "Mozilla.exe", "Opera.exe", "Netscape.exe",
// "Netscp6.exe" and "IEXPLORE.EXE", in this order; "" when absent.
inline QStringList browserExePaths;
// The thumbnail window's job ("TN", "TF", "TA", "N", "F", "A" or "").
inline QString thumbMode;
// The Web Aspect's stylesheet, whether it is rendered to HTML by the program, and the
// rendered page's name.
inline QString currentAspectStyle = QStringLiteral("VD.xsl");
inline bool webAspectHtml = false;
inline QString aspectPageName = QStringLiteral("FoldersTemp");

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

}  // namespace rr
