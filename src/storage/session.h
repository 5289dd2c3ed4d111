#pragma once
// What one run of the program keeps apart from its windows: the user options, the
// recent list and the search history with their lengths, the browsers found on the
// system, the Web Aspect's style and whether the program renders it, whether the
// designed font is installed, and the flag that makes an icon fetch still running
// drop its icon. (The open database, its name included, is the main window's.)
//
// main() owns the program's one Session and every part reaches it through session().
// A Session installs itself while it lives and hands back to the one it replaced, so
// each test gets a fresh one (tests/support) and nothing carries over from another.
#include "storage/useroptions.h"
#include "storage/vddata.h"

#include <QList>
#include <QString>
#include <QStringList>

namespace rr
{

class Session
{
public:
    Session();
    ~Session();
    Session(const Session &) = delete;
    Session &operator=(const Session &) = delete;

    // The options the user sets, read from the settings when the main window loads and
    // written when it closes; every part reads them through appOptions().
    UserOptions options;

    // The recent Vardecks, oldest first, and the past search texts, newest first. The
    // start-up sets the lengths from the options (0 there means 15) before the lists
    // are loaded from the settings.
    QList<VDData> recentColl;
    QStringList searchColl;
    int recentMax = 15;
    int searchMax = 15;

    // Installed paths of "firefox.exe", "Mozilla.exe", "Opera.exe", "Netscape.exe",
    // "Netscp6.exe" and "IEXPLORE.EXE", in this order; "" when absent.
    QStringList browserExePaths;
    // The Web Aspect's stylesheet, and whether the program renders it to HTML itself.
    QString currentAspectStyle = QStringLiteral("VD.xsl");
    bool webAspectHtml = false;
    // Whether the designed font is installed; without it the windows get a fallback.
    bool sansSerifInstalled = false;
    // Raised by the Explorer's Save (unless a fetched icon is shown), Cancel and the
    // automatic save of a new Vardeck, and by the icon progress window's button, so
    // that an icon fetch still running drops its icon; cleared when a fetch starts.
    bool cancelIcons = false;

private:
    Session *m_previous;
};

// The session of the program (or of the running test). Using it while no Session
// lives is a programming error and stops the program.
Session &session();

} // namespace rr
