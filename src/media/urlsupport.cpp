#include "media/urlsupport.h"

#include "platform/launcher.h"
#include "platform/textutil.h"
#include "platform/webaddress.h"
#include "storage/registryfunctions.h"
#include "storage/settingsstore.h"
#include "storage/useroptions.h"

#include <QDir>
#include <QFileInfo>
#include <QMimeDatabase>
#include <QRegularExpression>
#include <QUrl>

#include <algorithm>

namespace rr
{
namespace
{

struct Browser {
    const char *code;
    const char *name;      // as the failure message names it
    const char *exeName;   // its App Paths entry
    QStringList pathNames; // programs of the browser on PATH
};

const QList<Browser> &browsers()
{
    // Netscape has no build for this system: only an App Paths entry can name it.
    static const QList<Browser> table = {
        {"IE", "Internet Explorer", "IEXPLORE.EXE", {}},
        {"FF", "Firefox", "firefox.exe", {QStringLiteral("firefox"), QStringLiteral("firefox-esr")}},
        {"Op", "Opera", "Opera.exe", {QStringLiteral("opera")}},
        {"N6", "Netscape v6 or later", "Netscp6.exe", {}},
        {"N4", "Netscape v4", "Netscape.exe", {}},
        {"Moz", "Mozilla", "Mozilla.exe", {QStringLiteral("seamonkey")}},
    };
    return table;
}

const Browser *findBrowser(const QString &code)
{
    for (const Browser &b : browsers()) {
        if (code == QLatin1String(b.code)) // codes are compared exactly
            return &b;
    }
    return nullptr;
}

// The scheme of an address in lower case ("http" of "HTTP://a.example/"); "" for an
// address without one: a path, or a host name ("www.a.example:8080/x" included).
QString schemeOf(const QString &address)
{
    static const QRegularExpression scheme(QStringLiteral("^([A-Za-z][A-Za-z0-9+.-]*):"));
    if (isWwwAddress(address))
        return {};
    const QRegularExpressionMatch match = scheme.match(address.trimmed());
    return match.hasMatch() ? match.captured(1).toLower() : QString();
}

bool hasControlCharacter(const QString &address)
{
    return std::any_of(address.begin(), address.end(),
                       [](QChar c) { return c.unicode() < 0x20 || c.unicode() == 0x7f; });
}

// The local files the desktop's opener may open for an address. GIO takes a file:
// address of any host ("file://otherhost/x", "file://localhost/x") for the local
// path, and tidies the path before it opens it: a closing "/", doubled "/" and "."
// or ".." steps go, so ".../run.sh/" opens run.sh. A "?" and what follows stay part
// of a file's name there. The path as written is judged too: the system resolves a
// ".." after a linked folder where the tidied path does not. A text without a scheme
// is a path, relative ones included.
QStringList localPathsOf(const QString &address)
{
    const QUrl url(address);
    QStringList written;
    if (url.isLocalFile()) {
        const QString path = url.path(QUrl::FullyDecoded);
        written << path;
        if (url.hasQuery())
            written << path + QLatin1Char('?') + url.query(QUrl::FullyDecoded);
    } else if (url.scheme().isEmpty() || address.startsWith(QLatin1Char('/'))) {
        written << address;
    }
    QStringList paths;
    for (const QString &path : std::as_const(written)) {
        if (path.isEmpty())
            continue;
        for (const QString &form : {path, QDir::cleanPath(path)}) {
            if (!paths.contains(form))
                paths << form;
        }
    }
    return paths;
}

// Files that describe a program to start, and packages that install one, rather than
// hold a document: opening one starts (or installs) what it names, whatever the rest
// of its name or its content.
bool isLauncherName(const QString &fileName)
{
    static const char *const launcherEndings[] = {".desktop",     ".kdelnk",  ".jnlp", ".flatpakref",
                                                  ".flatpakrepo", ".lnk",     ".msi",  ".deb",
                                                  ".rpm",         ".flatpak", ".snap", ".appimage"};
    for (const char *ending : launcherEndings) {
        if (fileName.endsWith(QLatin1String(ending), Qt::CaseInsensitive))
            return true;
    }
    return false;
}

bool isProgramType(const QMimeType &type)
{
    static const char *const programTypes[] = {
        "application/x-desktop",
        "application/x-executable",
        "application/x-pie-executable",
        "application/x-sharedlib",
        "application/x-shellscript",
        "application/x-ms-dos-executable",
        "application/x-java-archive",
        "application/x-appimage",
        "application/vnd.appimage",
        "application/x-iso9660-appimage",
        "application/vnd.debian.binary-package",
        "application/x-rpm",
        "application/vnd.flatpak",
        "application/vnd.snap",
        "application/x-java-jnlp-file",
        "application/x-ms-shortcut",
        "application/x-msi",
        "application/x-bat",
        "application/vnd.flatpak.ref",
        "application/vnd.flatpak.repo",
    };
    for (const char *name : programTypes) {
        if (type.inherits(QLatin1String(name)))
            return true;
    }
    return false;
}

bool isDocumentType(const QMimeType &type)
{
    static const char *const documentTypes[] = {"text/html", "application/xhtml+xml", "application/pdf",
                                                "application/xml", "text/xml"};
    if (type.name().startsWith(QLatin1String("image/")))
        return true;
    for (const char *name : documentTypes) {
        if (type.inherits(QLatin1String(name)))
            return true;
    }
    return false;
}

// A local file may be opened when opening it can't start anything: it is no launcher
// and of no program type by name or content, and when its execute bit is set (all
// files on some mounted disks have it) its content is a page, a PDF or a picture.
bool localFileStartsProgram(const QString &path)
{
    const QFileInfo info(path);
    if (!info.exists() || info.isDir())
        return false;
    // A link is judged by its own name and by the name of the file it leads to.
    if (isLauncherName(info.fileName()) || isLauncherName(info.canonicalFilePath()))
        return true;
    const QMimeDatabase mimes;
    const QMimeType byContent = mimes.mimeTypeForFile(info, QMimeDatabase::MatchContent);
    if (isProgramType(mimes.mimeTypeForFile(info)) || isProgramType(byContent))
        return true;
    return info.isExecutable() && !isDocumentType(byContent);
}

// True, with the notice why, for an address that must not be opened.
bool refuseUnsafe(const QString &address, Notice *refusal)
{
    QString reason;
    if (urlSupport::isSafeToOpen(address, &reason))
        return false;
    if (refusal)
        *refusal = {QStringLiteral("The address ") + address + QStringLiteral(" was not opened: ") + reason +
                        QLatin1Char('.'),
                    MsgIcon::Exclamation};
    return true;
}

} // namespace

QString urlSupport::calcDomain(const QString &address)
{
    // Only the host counts: a "." in the path ("/x.html") says nothing about the domain.
    const qsizetype slashes = address.indexOf(QLatin1String("//"));
    const qsizetype start = slashes < 0 ? 0 : slashes + 2;
    qsizetype end = address.size();
    for (const QChar stop : {QLatin1Char('/'), QLatin1Char('?'), QLatin1Char('#')}) {
        const qsizetype at = address.indexOf(stop, start);
        if (at >= 0 && at < end)
            end = at;
    }
    const QString host = address.mid(start, end - start);
    const qsizetype firstDot = host.indexOf(QLatin1Char('.'));
    if (firstDot < 0)
        return {};
    // Three labels or more lose the first ("www."); two are the domain already.
    if (host.indexOf(QLatin1Char('.'), firstDot + 1) >= 0)
        return host.mid(firstDot + 1);
    return host;
}

bool urlSupport::isSecure(const QString &address)
{
    return address.contains(QLatin1String("HTTPS"), Qt::CaseInsensitive);
}

void urlSupport::createURL(const QString &address)
{
    m_fullURL = address;
    m_homeURL = calculateHomeURL(address);
}

QString urlSupport::calculateHomeURL(const QString &given)
{
    const QString address = given.trimmed();
    // The search for the "/" that ends the host starts just past "https://" or "http://".
    const bool secure = address.startsWith(QLatin1String("HTTPS"), Qt::CaseInsensitive);
    const qsizetype slash = address.indexOf(QLatin1Char('/'), secure ? 8 : 7);
    QString home = slash < 0 ? address : address.left(slash + 1);
    if (!home.endsWith(QLatin1Char('/')))
        home += QLatin1Char('/');
    return home;
}

bool urlSupport::isValidWWW(const QString &address)
{
    return isWebAddress(address);
}

bool urlSupport::isPDF(const QString &address)
{
    return address.endsWith(QLatin1String("PDF"), Qt::CaseInsensitive);
}

bool urlSupport::isSafeToOpen(const QString &address, QString *reason)
{
    QString why;
    const QString scheme = schemeOf(address);
    if (address.trimmed().startsWith(QLatin1Char('-'))) {
        why = QStringLiteral("it begins with \"-\", which a browser would read as an option");
    } else if (hasControlCharacter(address.trimmed())) {
        why = QStringLiteral("it holds control characters");
    } else if (!scheme.isEmpty() && !isWebOrFileAddress(address) && scheme != QLatin1String("mailto") &&
               !sameText(address.trimmed(), QLatin1String("about:blank"))) {
        why = QStringLiteral("it is not the address of a web page or a file");
    } else {
        const QStringList paths = localPathsOf(address.trimmed());
        if (std::any_of(paths.begin(), paths.end(), localFileStartsProgram))
            why = QStringLiteral("it names a program, not a page or a document");
    }
    if (reason)
        *reason = why;
    return why.isEmpty();
}

bool urlSupport::isWebOrFileAddress(const QString &address)
{
    const QString scheme = schemeOf(address);
    if (scheme.isEmpty())
        return isWwwAddress(address);
    return isWebOrFileScheme(scheme);
}

bool urlSupport::isWebOrFileScheme(const QString &scheme)
{
    return scheme == QLatin1String("http") || scheme == QLatin1String("https") || scheme == QLatin1String("ftp") ||
           scheme == QLatin1String("file");
}

QString urlSupport::browserExecutable(const QString &code)
{
    const Browser *browser = findBrowser(code);
    if (!browser)
        return {};
    const QString entry =
        QLatin1String(SettingsStore::kAppPathsKey) + QLatin1Char('\\') + QLatin1String(browser->exeName);
    const QFileInfo registered(RegistryFunctions::QueryValue(reg::HKEY_LOCAL_MACHINE, entry, QString()).toString());
    if (!registered.filePath().isEmpty() && registered.isFile() && registered.isExecutable())
        return registered.absoluteFilePath();
    for (const QString &name : browser->pathNames) {
        const QString found = launcher::installed().findExecutable(name);
        if (!found.isEmpty())
            return found;
    }
    return {};
}

urlSupport::Opening urlSupport::openInNewWindow(const QString &given)
{
    // A stored address may still hold blanks or line breaks around it; inside it, a
    // line break stays and is refused below.
    const QString address = given.trimmed();
    Opening opening{OpenResult::Refused, address, {}};
    if (refuseUnsafe(address, &opening.notice))
        return opening;
    const QString code = appOptions().getDefaultBrowser();
    if (code.isEmpty() || code == QLatin1String("Win") || code == QLatin1String("0")) {
        openInDefault(address, &opening.notice);
        opening.result = OpenResult::DefaultBrowser;
        return opening;
    }
    const Browser *browser = findBrowser(code);
    if (!browser) {
        opening.result = OpenResult::UnknownBrowser;
        return opening;
    }

    // Internet Explorer never exists here, so its choice always ends in the fallback.
    // A launch returns as soon as the program runs: nothing is waited for, so no window
    // event comes between it and the rest of the command that opened the page.
    const QString program = code == QLatin1String("IE") ? QString() : browserExecutable(code);
    const bool started = !program.isEmpty() && launcher::installed().startDetached(program, {address});
    if (started) {
        opening.result = OpenResult::Started;
        return opening;
    }
    opening.result = OpenResult::FellBackToDefault;
    opening.notice = {QStringLiteral("The address ") + address + QStringLiteral(" could not be opened in ") +
                          QLatin1String(browser->name) +
                          QStringLiteral(".  Vardecks will use your default browser instead."),
                      MsgIcon::Information};
    return opening;
}

bool urlSupport::openInDefault(const QString &given, Notice *notice)
{
    const QString address = given.trimmed();
    if (refuseUnsafe(address, notice))
        return false;
    // The desktop's opener takes a text without a scheme for a file name; a bare
    // "www." host is meant as a web address. Its own failure comes later
    // (launcher::reportOpenerFailure).
    const QString handed = withWebScheme(address);
    if (!launcher::installed().openUrl(handed) && notice)
        *notice = launcher::openerFailureNotice(handed, QStringLiteral("the desktop's opener (xdg-open) could not "
                                                                       "be started"));
    return true;
}

QString urlSupport::getVersion()
{
    return QStringLiteral("Failed");
}

} // namespace rr
