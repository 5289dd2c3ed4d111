#include "web/devtoolspages.h"

#include "platform/loopbackhttp.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <optional>

namespace rr::devtools
{
namespace
{

constexpr qint64 kMaxVersion = 64 * 1024;
constexpr qint64 kMaxList = 4 * 1024 * 1024;
constexpr int kMaxPages = 2000;
constexpr int kMaxAddress = 8192;
constexpr int kMaxTitle = 2048;

// The character a numeric reference ("#39", "#x27") names, or none.
std::optional<char32_t> numericReference(QStringView digits)
{
    if (digits.size() < 2 || digits.size() > 9 || digits.front() != QLatin1Char('#'))
        return std::nullopt;
    const bool hex = digits.at(1) == QLatin1Char('x') || digits.at(1) == QLatin1Char('X');
    bool ok = false;
    const uint code = digits.mid(hex ? 2 : 1).toUInt(&ok, hex ? 16 : 10);
    if (!ok || code == 0 || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF))
        return std::nullopt;
    return char32_t(code);
}

// A title as the page gives it: the list escapes "&", "<", ">", '"' and "'" in every
// title (as "&amp;", "&lt;", "&gt;", "&quot;", "&#39;"), so exactly those references
// are read back; any other "&" stays as it is.
QString unescapedTitle(const QString &title)
{
    static const QList<std::pair<QLatin1String, QChar>> named = {
        {QLatin1String("amp"), QLatin1Char('&')},   {QLatin1String("lt"), QLatin1Char('<')},
        {QLatin1String("gt"), QLatin1Char('>')},    {QLatin1String("quot"), QLatin1Char('"')},
        {QLatin1String("apos"), QLatin1Char('\'')},
    };
    QString text;
    text.reserve(title.size());
    qsizetype i = 0;
    while (i < title.size()) {
        // The longest reference read here, "&#x10FFFF;", has ten characters.
        const qsizetype semicolon =
            title.at(i) == QLatin1Char('&') ? QStringView(title).mid(i, 11).indexOf(QLatin1Char(';')) + i : -1;
        const QStringView name = semicolon > i ? QStringView(title).mid(i + 1, semicolon - i - 1) : QStringView();
        bool decoded = false;
        for (const auto &[entity, character] : named) {
            if (name == entity) {
                text += character;
                decoded = true;
                break;
            }
        }
        if (!decoded) {
            if (const std::optional<char32_t> code = numericReference(name)) {
                text += QString::fromUcs4(&*code, 1);
                decoded = true;
            }
        }
        if (decoded) {
            i = semicolon + 1;
        } else {
            text += title.at(i);
            ++i;
        }
    }
    return text;
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
        page.name = unescapedTitle(target.value(QLatin1String("title")).toString()).left(kMaxTitle);
        if (page.name.isEmpty())
            page.name = page.address;
        page.description = target.value(QLatin1String("description")).toString().left(kMaxTitle);
        page.browser = label;
        pages << page;
        if (pages.size() >= kMaxPages)
            break;
    }
    return pages;
}

QList<DetectedPage> pagesOn(quint16 port, int timeoutMs)
{
    const loopbackhttp::Reply list = loopbackhttp::get(port, "/json/list", timeoutMs, kMaxList);
    if (list.status != loopbackhttp::Status::Ok)
        return {};
    const loopbackhttp::Reply version = loopbackhttp::get(port, "/json/version", timeoutMs, kMaxVersion);
    QString label = version.status == loopbackhttp::Status::Ok ? productName(version.body) : QString();
    if (label.isEmpty())
        label = QStringLiteral("Chromium");
    return parsePageList(list.body, label);
}

} // namespace rr::devtools
