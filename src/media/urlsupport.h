#pragma once
// The address object: one Vardeck address with the home page derived from it, the
// small questions the program asks about addresses, and the one place where an
// address is handed to a web browser. Callers create an instance for one address and
// drop it; the questions need no instance and are static.
//
// Opening follows the browser option (appOptions().getDefaultBrowser()):
//   "IE" Internet Explorer (never present here: always the failure path)
//   "FF" Firefox, "Op" Opera, "N6" Netscape v6 or later, "N4" Netscape v4, "Moz" Mozilla
//   "Win", "" or "0" the desktop's default browser; any other code opens nothing.
// A browser's executable is its App Paths entry in the settings registry when that
// names an executable file, else a program of its name on PATH. It gets the address
// as its one argument. When it can't be started the user is to be told, and then the
// address goes to the default browser. Nothing here shows a message: what the user is
// to be told comes back in the Opening, and the window shows it (shell/openaddress.h).
#include "platform/notice.h"

#include <QString>

namespace rr
{

class urlSupport
{
public:
    enum class OpenResult {
        Started,           // the chosen browser was started with the address
        FellBackToDefault, // the chosen browser could not start; told, then the default browser
        DefaultBrowser,    // the option asks for the default browser
        Refused,           // the address could start a program or pass an option: not opened
        UnknownBrowser,    // the option holds no known browser code: nothing opened
    };

    // What opening an address came to. For FellBackToDefault the address is not
    // opened yet: the window shows the notice and then hands the address to
    // openInDefault, so the user reads why before the default browser appears.
    struct [[nodiscard]] Opening {
        OpenResult result = OpenResult::Refused;
        QString address;
        Notice notice; // why the address was refused, or that the chosen browser would not start
    };

    // The host of an address without its first label when it has three or more labels
    // ("http://www.a.com/x" -> "a.com", "http://a.com/x.html" -> "a.com"); "" when the
    // host holds no ".".
    static QString calcDomain(const QString &address);
    // True when "HTTPS" occurs anywhere in the address, in any letter case.
    static bool isSecure(const QString &address);

    QString getFullURL() const { return m_fullURL; }
    void setFullURL(const QString &url) { m_fullURL = url; }
    QString getHomeURL() const { return m_homeURL; }
    void setHomeURL(const QString &url) { m_homeURL = url; }
    // Holds the address and its home page.
    void createURL(const QString &address);

    // Scheme and host with one closing "/": everything up to the first "/" after the
    // scheme's "//" (from character 9 for "HTTPS", 8 otherwise), or the whole address
    // with "/" appended; blanks around the address are dropped first. "" gives "/".
    static QString calculateHomeURL(const QString &address);
    // True for a web page's address: the one rule of isWebAddress (webaddress.h).
    static bool isValidWWW(const QString &address);
    // True when the address ends with "PDF" in any letter case.
    static bool isPDF(const QString &address);

    // Opens the address, blanks around it dropped, in a new window of the browser
    // chosen in the options (see Opening for the one case left to the caller).
    static Opening openInNewWindow(const QString &address);
    // Hands the address, blanks around it dropped, to the desktop's default browser.
    // False, with the notice why, when the address is refused; true when it was handed
    // over, with a notice when the desktop's opener could not be started. The opener's
    // own failure is told when it ends (launcher.h).
    static bool openInDefault(const QString &address, Notice *notice = nullptr);
    // The running Windows version's name; never one here, so always "Failed".
    static QString getVersion();

    // False, with the reason, for an address that must not reach a browser or the
    // desktop's opener: one that would be read as an option ("-…"), one with control
    // characters (browsers drop them, so "java\tscript:" is a script), one of another
    // kind than a web page, a file or a mail address (a script, data, or a scheme some
    // other program handles), or a local file that is a program (an executable file
    // that is no page, PDF or picture, a launcher such as ".desktop" or ".jnlp", a
    // script, an installer package such as ".deb", ".rpm", ".flatpak", ".snap" or
    // ".AppImage"), by its content, by its name or, for a link, by the name of the
    // file it leads to. The file is the one the desktop's opener would open: a file:
    // address of any host names the local path, and a closing "/" or "." steps in it
    // do not hide the file. "about:blank" opens an empty window.
    static bool isSafeToOpen(const QString &address, QString *reason = nullptr);
    // True for the address of a web page or a local file: an http, https, ftp or file
    // address, or a host name beginning with "www.".
    static bool isWebOrFileAddress(const QString &address);
    // Whether scheme (in lower case) is one of a web page or a local file: http, https,
    // ftp, file. The one list of them; the preview loads only such addresses.
    static bool isWebOrFileScheme(const QString &scheme);
    // The executable of a browser code ("FF", "Op", "N6", "N4", "Moz"), or "".
    static QString browserExecutable(const QString &code);

private:
    QString m_fullURL;
    QString m_homeURL;
};

// The free form the icon and Explorer code use.
inline bool isPDF(const QString &address)
{
    return urlSupport::isPDF(address);
}

} // namespace rr
