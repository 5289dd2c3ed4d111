#include "web/devtoolspages.h"

#include "platform/loopbackhttp.h"
#include "platform/textutil.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

namespace rr::devtools
{
namespace
{

constexpr qint64 kMaxVersion = 64 * 1024;
constexpr qint64 kMaxList = 4 * 1024 * 1024;
constexpr int kMaxPages = 2000;
constexpr int kMaxAddress = 8192;
constexpr int kMaxTitle = 2048;

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
