#include "media/pagesync.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <cmath>

namespace rr
{

bool pageDetailsFromJson(const QByteArray &json, const QString &address, PageDetails *details)
{
    const QJsonDocument doc = QJsonDocument::fromJson(json);
    if (!doc.isObject())
        return false;
    const QJsonObject page = doc.object();
    details->address = address;
    details->title = page.value(QLatin1String("title")).toString().trimmed();
    details->description = page.value(QLatin1String("description")).toString();
    details->keywords = page.value(QLatin1String("keywords")).toString();
    details->bodyBytes = qint64(page.value(QLatin1String("size")).toDouble());
    return true;
}

QString synchronisedName(const PageDetails &details, const QString &storedName)
{
    if (!details.title.trimmed().isEmpty())
        return details.title;
    return storedName.isEmpty() ? details.address : storedName;
}

QString synchronisedText(const QString &pageText, const QString &storedText)
{
    return pageText.trimmed().isEmpty() ? storedText : pageText;
}

QString sizeText(qint64 bytes)
{
    // Halves go to the even neighbour, as the system rounds everywhere.
    const double tenths = std::nearbyint(double(bytes) * 10.0 / 1024.0);
    return QString::number(tenths / 10.0, 'f', 1);
}

void applyPageDetails(XmlDocument &doc, XmlNode vardeck, const PageDetails &details)
{
    if (!vardeck)
        return;
    vardeck.setChildText(QStringLiteral("NAME"), synchronisedName(details, vardeck.childText(QStringLiteral("NAME"))));
    const std::pair<const char *, QString> offered[] = {{"DESCRIPTION", details.description},
                                                        {"KEYWORD1", details.keywords}};
    for (const auto &[name, text] : offered) {
        const QString stored = vardeck.childText(QLatin1String(name));
        const QString kept = synchronisedText(text, stored);
        // An element the page has nothing for is left as it is, missing or not.
        if (kept != stored)
            vardeck.setChildText(QLatin1String(name), kept);
    }
    for (const char *name : {"FILESIZE", "HITS"}) {
        if (!vardeck.child(QLatin1String(name)))
            vardeck.appendChild(doc.createTextElement(QLatin1String(name), QString()));
    }
    vardeck.setChildText(QStringLiteral("FILESIZE"), sizeText(details.bodyBytes));
    bool number = false;
    const int hits = vardeck.childText(QStringLiteral("HITS")).trimmed().toInt(&number);
    vardeck.setChildText(QStringLiteral("HITS"), number ? QString::number(hits + 1) : QStringLiteral("1"));
}

QString pageDetailsScript()
{
    return QStringLiteral("(function () {"
                          "  function meta(name) {"
                          "    var all = document.getElementsByTagName('meta');"
                          "    for (var i = 0; i < all.length; ++i) {"
                          "      var n = all[i].getAttribute('name');"
                          "      if (n && n.toLowerCase() === name) return all[i].getAttribute('content') || '';"
                          "    }"
                          "    return '';"
                          "  }"
                          "  var nav = performance.getEntriesByType('navigation')[0];"
                          "  return JSON.stringify({title: document.title, description: meta('description'),"
                          "                         keywords: meta('keywords'), size: nav ? nav.encodedBodySize : 0});"
                          "})()");
}

} // namespace rr
