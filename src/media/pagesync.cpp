#include "media/pagesync.h"
#include "storage/record.h"

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
    vardeck.setChildText(tag::Name, synchronisedName(details, vardeck.childText(tag::Name)));
    const std::pair<QLatin1String, QString> offered[] = {{tag::Description, details.description},
                                                         {tag::Keyword1, details.keywords}};
    for (const auto &[name, text] : offered) {
        const QString stored = vardeck.childText(name);
        const QString kept = synchronisedText(text, stored);
        // An element the page has nothing for is left as it is, missing or not.
        if (kept != stored)
            vardeck.setChildText(name, kept);
    }
    for (const QLatin1String name : {tag::FileSize, tag::Hits}) {
        if (!vardeck.child(name))
            vardeck.appendChild(doc.createTextElement(name, QString()));
    }
    vardeck.setChildText(tag::FileSize, sizeText(details.bodyBytes));
    bool number = false;
    const int hits = vardeck.childText(tag::Hits).trimmed().toInt(&number);
    vardeck.setChildText(tag::Hits, number ? QString::number(hits + 1) : QStringLiteral("1"));
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

QString loadFailureText(int engineError, const QString &engineText)
{
    struct Sentence {
        int first, last; // a range of the engine's error numbers, last >= first
        const char *text;
    };
    static const Sentence sentences[] = {
        {-310, -310, "The page redirects in a loop and never arrives at a page."},
        {-105, -105, "The name of the site could not be found."},
        {-137, -137, "The name of the site could not be found."},
        {-106, -106, "The computer is not connected to the internet."},
        {-102, -102, "The site refused the connection."},
        {-118, -118, "The site did not answer in time."},
        {-7, -7, "The site did not answer in time."},
        {-101, -100, "The site closed the connection before the page arrived."},
        {-324, -324, "The site closed the connection without sending the page."},
        {-109, -109, "The site cannot be reached from this computer."},
        {-130, -130, "The proxy server could not be reached."},
        {-312, -312, "The address names a port that web browsers never connect to."},
        {-300, -300, "The address is not a valid web address."},
        {-302, -301, "The web browser does not open addresses of this kind."},
        {-107, -107, "The secure connection to the site could not be set up."},
        {-299, -200, "The security certificate of the site is not trusted."},
        {-6, -6, "The file does not exist."},
        {-10, -10, "The file may not be read."},
        {-3, -3, "The loading of the page was stopped."},
        {-20, -20, "The page was blocked."},
        {-27, -27, "The site does not allow its page to be shown here."},
        {-320, -320, "The site's answer is not a page."},
    };
    for (const Sentence &s : sentences)
        if (engineError >= s.first && engineError <= s.last)
            return QString::fromLatin1(s.text);
    QString name = engineText.trimmed();
    if (name.startsWith(QLatin1String("net::")))
        name.remove(0, 5);
    if (name.isEmpty())
        return QStringLiteral("The page could not be loaded.");
    return QStringLiteral("The page could not be loaded (the web browser reports %1).").arg(name);
}

} // namespace rr
