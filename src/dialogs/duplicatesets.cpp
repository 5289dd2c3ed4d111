#include "dialogs/duplicatesets.h"

#include "finding/favorites.h"
#include "storage/record.h"

#include <QHash>
#include <QLocale>

#include <cmath>
#include <vector>

namespace rr
{

QString normaliseAddress(const QString &address)
{
    const qsizetype slashes = address.indexOf(QLatin1String("//"));
    if (slashes < 0)
        return address;
    QString rest = address.mid(slashes + 2);
    if (rest.endsWith(QLatin1Char('/')))
        rest.chop(1);
    return rest;
}

QList<DuplicateSet> findDuplicateSets(const XmlDocument &doc)
{
    const QList<XmlNode> addresses = doc.getElementsByTagName(tag::Address);
    // Positions of each normalised address, grouped in the order of first occurrence.
    QHash<QString, qsizetype> groupOf;
    std::vector<std::vector<qsizetype>> groups;
    groupOf.reserve(addresses.size());
    for (qsizetype i = 0; i < addresses.size(); ++i) {
        const QString key = normaliseAddress(addresses.at(i).text());
        auto it = groupOf.find(key);
        if (it == groupOf.end()) {
            it = groupOf.insert(key, qsizetype(groups.size()));
            groups.emplace_back();
        }
        groups[size_t(*it)].push_back(i);
    }
    QList<DuplicateSet> sets;
    for (const std::vector<qsizetype> &group : groups) {
        if (group.size() < 2)
            continue;
        DuplicateSet set;
        for (size_t k = 1; k < group.size(); ++k)
            set.append(addresses.at(group[k]).parentNode());
        set.append(addresses.at(group.front()).parentNode());
        sets.append(set);
    }
    return sets;
}

DuplicateSet findAddressCopies(const XmlDocument &doc, const QString &address)
{
    const QString wanted = normaliseAddress(address);
    DuplicateSet copies;
    for (const XmlNode &a : doc.getElementsByTagName(tag::Address))
        if (normaliseAddress(a.text()) == wanted)
            copies.append(a.parentNode());
    return copies;
}

namespace
{

qint64 hitsOf(const QString &text)
{
    const QString trimmed = text.trimmed();
    bool whole = false;
    const qint64 n = QLocale::c().toLongLong(trimmed, &whole);
    if (whole)
        return n;
    bool number = false;
    const double d = QLocale::c().toDouble(trimmed, &number);
    // Beyond 2^62 a count is no visit count: it adds nothing rather than overflowing.
    if (!number || !std::isfinite(d) || std::fabs(d) > 4.6e18)
        return 0;
    return qint64(std::nearbyint(d));
}

} // namespace

CollectionFigures collectionFigures(const XmlDocument &doc)
{
    CollectionFigures figures;
    const XmlNode root = doc.documentElement();
    if (!root)
        return figures;
    for (const XmlNode &vardeck : root.getElementsByTagName(tag::Vardeck)) {
        ++figures.vardecks;
        if (isFavorite(vardeck))
            ++figures.favorites;
        const XmlNode hits = vardeck.child(tag::Hits);
        figures.totalHits += hits ? hitsOf(hits.text()) : 1;
    }
    return figures;
}

QString statisticsText(const QString &database, const QString &folders, const QString &vardecks,
                       const QString &favorites, const QString &hits)
{
    const QString crlf = QStringLiteral("\r\n");
    return QStringLiteral("Database name: ") + database + crlf + QStringLiteral("Total folders: ") + folders + crlf +
           QStringLiteral("Total Vardecks: ") + vardecks + crlf + QStringLiteral("Favorites: ") + favorites + crlf +
           QStringLiteral("Total hits: ") + hits;
}

} // namespace rr
