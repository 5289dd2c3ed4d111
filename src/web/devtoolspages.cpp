#include "web/devtoolspages.h"

#include "platform/loopbackhttp.h"
#include "platform/textutil.h"

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>
#include <QUrl>

#include <unistd.h>

namespace rr::devtools
{
namespace
{

constexpr qint64 kMaxVersion = 64 * 1024;
constexpr qint64 kMaxList = 4 * 1024 * 1024;
constexpr int kMaxPages = 2000;
constexpr int kMaxAddress = 8192;
constexpr int kMaxTitle = 2048;

// The title Chromium lists for a page that has none: the address as its address bar
// shows it (no "http://" or "https://", no user name or password, no "/" after a bare
// host), and for a file what follows the last "/" of its path. The host may be shown
// in its Unicode form.
QStringList standInTitles(const QString &address)
{
    const qsizetype schemeEnd = address.indexOf(QLatin1String("://"));
    if (schemeEnd <= 0)
        return {};
    const QString scheme = address.left(schemeEnd).toLower();
    const QString rest = address.mid(schemeEnd + 3);
    qsizetype authorityEnd = rest.size();
    for (const QChar c : {QLatin1Char('/'), QLatin1Char('?'), QLatin1Char('#')})
        if (const qsizetype at = rest.indexOf(c); at >= 0)
            authorityEnd = qMin(authorityEnd, at);
    if (scheme == QLatin1String("file")) {
        // From the last "/" of the path on: a query or a fragment stays.
        const qsizetype pathEnd = rest.indexOf(QRegularExpression(QStringLiteral("[?#]")));
        const QString path = pathEnd < 0 ? rest : rest.left(pathEnd);
        return {rest.mid(path.lastIndexOf(QLatin1Char('/')) + 1)};
    }
    QString host = rest.left(authorityEnd);
    host = host.mid(host.lastIndexOf(QLatin1Char('@')) + 1);
    // The port stays beside the host, in either form: only the name is converted.
    QString port;
    const qsizetype colon = host.lastIndexOf(QLatin1Char(':'));
    if (colon > host.lastIndexOf(QLatin1Char(']'))) {
        port = host.mid(colon);
        host.truncate(colon);
    }
    QString tail = rest.mid(authorityEnd);
    if (tail == QLatin1String("/"))
        tail.clear();
    const bool web = scheme == QLatin1String("http") || scheme == QLatin1String("https");
    const QString prefix = web ? QString() : scheme + QLatin1String("://");
    const QString unicodeHost = QUrl::fromAce(host.toLatin1(), QUrl::IgnoreIDNWhitelist);
    QStringList forms = {prefix + host + port + tail};
    if (!unicodeHost.isEmpty() && unicodeHost != host)
        forms << prefix + unicodeHost + port + tail;
    return forms;
}

// Whether title is no title of the page's own but the stand-in for its address.
bool isStandInTitle(const QString &title, const QString &address)
{
    const auto decoded = [](const QString &text) { return QUrl::fromPercentEncoding(text.toUtf8()); };
    const QString shown = decoded(title);
    for (const QString &form : standInTitles(address))
        if (decoded(form) == shown)
            return true;
    return false;
}

// What a symbolic link holds, as it is written (a socket's is no path).
QString linkText(const QString &link)
{
    char target[4096];
    const ssize_t size = ::readlink(QFile::encodeName(link).constData(), target, sizeof target);
    return size > 0 ? QFile::decodeName(QByteArray(target, int(size))) : QString();
}

// The socket inode of a TCP listener on port, from the kernel's tables; 0 when none.
quint64 listeningInode(quint16 port)
{
    const QString wanted = QStringLiteral(":%1").arg(port, 4, 16, QLatin1Char('0')).toUpper();
    for (const char *table : {"/proc/net/tcp", "/proc/net/tcp6"}) {
        QFile file{QString::fromLatin1(table)};
        if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
            continue;
        // "sl local_address rem_address st ... uid timeout inode"; state 0A is LISTEN.
        for (const QByteArray &line : file.readAll().split('\n')) {
            const QList<QByteArray> fields = line.simplified().split(' ');
            if (fields.size() > 9 && fields.at(3) == "0A" && QString::fromLatin1(fields.at(1)).endsWith(wanted))
                return fields.at(9).toULongLong();
        }
    }
    return 0;
}

} // namespace

ListeningProgram programListeningOn(quint16 port)
{
    const quint64 inode = listeningInode(port);
    if (inode == 0)
        return {};
    const QString socket = QStringLiteral("socket:[%1]").arg(inode);
    // Only the user's own processes can be looked into; the browser the user started is one.
    const QStringList processes = QDir(QStringLiteral("/proc")).entryList(QDir::Dirs | QDir::NoDotAndDotDot);
    for (const QString &pid : processes) {
        if (pid.isEmpty() || !pid.at(0).isDigit())
            continue;
        const QString folder = QStringLiteral("/proc/") + pid;
        const QStringList descriptors =
            QDir(folder + QStringLiteral("/fd")).entryList(QDir::System | QDir::NoDotAndDotDot);
        for (const QString &fd : descriptors) {
            if (linkText(folder + QStringLiteral("/fd/") + fd) != socket)
                continue;
            QFile comm(folder + QStringLiteral("/comm"));
            ListeningProgram program;
            if (comm.open(QIODevice::ReadOnly))
                program.name = QString::fromUtf8(comm.readAll()).trimmed();
            program.executable = linkText(folder + QStringLiteral("/exe"));
            return program;
        }
    }
    return {};
}

QString browserLabel(const QString &product, const ListeningProgram &program)
{
    // Chromium names itself "Chrome" on its endpoint, as Google's browser does; its
    // program is told by its name or the folder it was installed in.
    for (const QString &text : {program.name, program.executable})
        if (text.contains(QLatin1String("chromium"), Qt::CaseInsensitive))
            return QStringLiteral("Chromium");
    return product.isEmpty() ? QStringLiteral("Chromium") : product;
}

namespace
{

// The browser's name from its /json/version reply and the program behind the port.
QString labelFrom(const loopbackhttp::Reply &version, quint16 port)
{
    const QString product = version.status == loopbackhttp::Status::Ok ? productName(version.body) : QString();
    return browserLabel(product, programListeningOn(port));
}

} // namespace

QString productName(const QByteArray &versionJson)
{
    const QJsonDocument doc = QJsonDocument::fromJson(versionJson);
    const QString browser = doc.object().value(QLatin1String("Browser")).toString();
    const QString name = browser.section(QLatin1Char('/'), 0, 0).trimmed();
    return name.size() <= 64 ? name : QString();
}

QList<DetectedPage> parsePageList(const QByteArray &listJson, const QString &label)
{
    QJsonParseError error;
    const QJsonDocument doc = QJsonDocument::fromJson(listJson, &error);
    QList<DetectedPage> pages;
    if (error.error != QJsonParseError::NoError || !doc.isArray())
        return pages;
    for (const QJsonValue &value : doc.array()) {
        const QJsonObject target = value.toObject();
        if (target.value(QLatin1String("type")).toString() != QLatin1String("page"))
            continue;
        DetectedPage page;
        page.address = target.value(QLatin1String("url")).toString();
        if (page.address.isEmpty() || page.address.size() > kMaxAddress)
            continue;
        // The list escapes "&", "<", ">", '"' and "'" in every title; read them back once.
        page.name = decodeHtmlCharacterReferences(target.value(QLatin1String("title")).toString()).left(kMaxTitle);
        // A page without a title is named by its full address, as Firefox's are.
        if (page.name.isEmpty() || isStandInTitle(page.name, page.address))
            page.name = page.address;
        page.description = target.value(QLatin1String("description")).toString().left(kMaxTitle);
        page.browser = label;
        pages << page;
        if (pages.size() >= kMaxPages)
            break;
    }
    return pages;
}

QList<DetectedPage> pagesOn(const QList<quint16> &ports, int timeoutMs)
{
    QList<loopbackhttp::Request> listRequests;
    for (const quint16 port : ports)
        listRequests << loopbackhttp::Request{port, "/json/list", kMaxList};
    const QList<loopbackhttp::Reply> lists = loopbackhttp::getAll(listRequests, timeoutMs);
    // Only a browser that sent its list is asked for its name.
    QList<qsizetype> listed;
    QList<loopbackhttp::Request> versionRequests;
    for (qsizetype i = 0; i < lists.size(); ++i) {
        if (lists.at(i).status == loopbackhttp::Status::Ok) {
            listed << i;
            versionRequests << loopbackhttp::Request{ports.at(i), "/json/version", kMaxVersion};
        }
    }
    const QList<loopbackhttp::Reply> versions = loopbackhttp::getAll(versionRequests, timeoutMs);
    QList<DetectedPage> pages;
    for (qsizetype j = 0; j < listed.size(); ++j)
        pages << parsePageList(lists.at(listed.at(j)).body, labelFrom(versions.at(j), ports.at(listed.at(j))));
    return pages;
}

PageQuery::PageQuery(quint16 port, int timeoutMs, Done done)
    : m_port(port), m_timeoutMs(timeoutMs), m_done(std::move(done))
{
    m_listGet = std::make_unique<loopbackhttp::PendingGet>(port, "/json/list", timeoutMs, kMaxList,
                                                           [this](const loopbackhttp::Reply &list) { listed(list); });
}

PageQuery::~PageQuery() = default;

void PageQuery::listed(const loopbackhttp::Reply &list)
{
    if (list.status != loopbackhttp::Status::Ok) {
        m_done({});
        return;
    }
    m_list = list.body;
    m_versionGet = std::make_unique<loopbackhttp::PendingGet>(
        m_port, "/json/version", m_timeoutMs, kMaxVersion,
        [this](const loopbackhttp::Reply &version) { m_done(parsePageList(m_list, labelFrom(version, m_port))); });
}

} // namespace rr::devtools
