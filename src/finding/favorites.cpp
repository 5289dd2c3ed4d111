#include "finding/favorites.h"

#include "finding/listcells.h"
#include "finding/vardeckscan.h"
#include "platform/textutil.h"
#include "storage/record.h"
#include "storage/savereport.h"

#include <algorithm>

namespace rr
{
namespace
{

const QString kFav = tag::Fav;
const QString kName = tag::Name;

// Where a favourite stands in the list; the last of equal entries counts.
qsizetype lastIndexIgnoringCase(const QStringList &list, const QString &wid)
{
    for (qsizetype i = list.size() - 1; i >= 0; --i)
        if (sameText(list.at(i), wid))
            return i;
    return -1;
}

} // namespace

bool isFavoriteText(const QString &fav)
{
    return sameText(fav, QLatin1String("TRUE"));
}

bool isFavorite(const XmlNode &vardeck)
{
    return isFavoriteText(vardeck.childText(kFav));
}

void setFavoriteMark(XmlNode vardeck, bool favorite)
{
    vardeck.setChildText(kFav, favorite ? QStringLiteral("TRUE") : QStringLiteral("FALSE"));
}

void Favorites::populate(const XmlDocument *doc)
{
    m_wids = scanVardecks(doc).favoriteWids;
}

bool Favorites::contains(const QString &wid) const
{
    return std::any_of(m_wids.cbegin(), m_wids.cend(), [&wid](const QString &kept) { return sameText(kept, wid); });
}

bool Favorites::syncWithDocument(const XmlDocument *doc)
{
    const bool inStep = doc && std::all_of(m_wids.cbegin(), m_wids.cend(),
                                           [doc](const QString &wid) { return !doc->nodeFromID(wid).isNull(); });
    if (inStep)
        return false;
    populate(doc);
    return true;
}

QList<FavoriteItem> Favorites::menuItems(const XmlDocument *doc)
{
    syncWithDocument(doc);
    QList<FavoriteItem> items;
    for (const QString &wid : std::as_const(m_wids)) {
        const XmlNode vardeck = doc->nodeFromID(wid);
        FavoriteItem item;
        item.wid = vardeck.attribute(tag::Wid);
        item.name = vardeck.childText(kName);
        item.caption = escapeMnemonic(item.name);
        item.address = vardeck.childText(tag::Address);
        items.append(item);
    }
    return items;
}

QList<FavoriteItem> Favorites::treeItems(const XmlDocument *doc, const QList<VDData> &recent)
{
    return treeItemsOf(menuItems(doc), recent);
}

QList<FavoriteItem> Favorites::treeItemsOf(QList<FavoriteItem> items, const QList<VDData> &recent)
{
    for (FavoriteItem &item : items)
        item.bold = isRecentWid(item.wid, recent);
    sortRowsByText(
        items, [](const FavoriteItem &i) { return i.name; }, false);
    return items;
}

QString Favorites::countLabel() const
{
    return QStringLiteral("Favorites: ") + QString::number(m_wids.size());
}

Favorites::Change Favorites::createNewFav(XMLDatabase &db, const QString &wid)
{
    Change change;
    change.wid = wid;
    const XmlDocument *doc = db.getTheDOM();
    if (!doc || !doc->isLoaded())
        return change;
    XmlNode vardeck = doc->nodeFromID(wid);
    if (!vardeck) {
        change.outcome = Outcome::Missing;
        change.rebuilt = syncWithDocument(doc);
        return change;
    }
    setFavoriteMark(vardeck, true);
    change.outcome = Outcome::Added;
    change.changed = true;
    change.saved = saveDatabase(db, change.notices);
    if (!contains(wid))
        m_wids.append(wid);
    return change;
}

Favorites::Change Favorites::addToFavorites(XMLDatabase &db, const QString &wid)
{
    const XmlDocument *doc = db.getTheDOM();
    const bool rebuilt = syncWithDocument(doc);
    if (contains(wid)) {
        Change already;
        already.outcome = Outcome::AlreadyFavorite;
        already.rebuilt = rebuilt;
        already.wid = wid;
        already.notices.append(Notice(QStringLiteral("The selected Vardeck is already in your favorites list")));
        return already;
    }
    Change change = createNewFav(db, wid);
    change.rebuilt = change.rebuilt || rebuilt;
    if (change.outcome == Outcome::Added)
        change.notices.append(Notice(QStringLiteral("The Vardeck ") + doc->nodeFromID(wid).childText(kName) +
                                     QStringLiteral(" has been added to your favorite Vardecks list")));
    return change;
}

Favorites::Change Favorites::addSelected(XMLDatabase &db, const QString &selectedWID)
{
    const QString wid = selectedWID.trimmed();
    if (wid.isEmpty()) {
        Change none;
        none.outcome = Outcome::NoSelection;
        none.wid = wid;
        none.notices.append(
            Notice(QStringLiteral("No Vardeck is currently selected to add to your favorite Vardecks list")));
        return none;
    }
    return addToFavorites(db, wid);
}

Favorites::Change Favorites::checkDelete(XMLDatabase &db, const QString &selectedWID)
{
    Change change;
    change.wid = selectedWID.trimmed();
    if (change.wid.isEmpty()) {
        change.outcome = Outcome::NoSelection;
        change.notices.append(
            Notice(QStringLiteral("No Vardeck is currently selected to delete from your favorite Vardecks list")));
        return change;
    }
    const XmlDocument *doc = db.getTheDOM();
    change.rebuilt = syncWithDocument(doc);
    const qsizetype at = lastIndexIgnoringCase(m_wids, change.wid);
    if (at < 0 || !doc) {
        change.outcome = Outcome::NotInList;
        change.notices.append(Notice(QStringLiteral("The displayed Vardeck is not in your favorites list")));
        return change;
    }
    change.outcome = Outcome::Listed;
    change.name = doc->nodeFromID(m_wids.at(at)).childText(kName);
    return change;
}

Favorites::Change Favorites::deleteFavorite(XMLDatabase &db, const QString &wid)
{
    Change change;
    change.wid = identifierOf(wid);
    const XmlDocument *doc = db.getTheDOM();
    change.rebuilt = syncWithDocument(doc);
    const qsizetype at = lastIndexIgnoringCase(m_wids, change.wid);
    if (at < 0 || !doc) {
        change.outcome = Outcome::NotInList;
        return change;
    }
    setFavoriteMark(doc->nodeFromID(m_wids.at(at)), false);
    change.outcome = Outcome::Deleted;
    change.changed = true;
    change.saved = saveDatabase(db, change.notices);
    m_wids.removeIf([&](const QString &w) { return sameText(w, change.wid); });
    return change;
}

Favorites::DropResult Favorites::addDropped(XMLDatabase &db, const QStringList &wids)
{
    DropResult result;
    const XmlDocument *doc = db.getTheDOM();
    syncWithDocument(doc);
    for (const QString &wid : wids) {
        XmlNode vardeck = doc ? doc->nodeFromID(wid) : XmlNode();
        if (!vardeck || isFavorite(vardeck))
            continue;
        setFavoriteMark(vardeck, true);
        if (!contains(wid))
            m_wids.append(wid);
        ++result.added;
    }
    if (result.added > 0)
        result.saved = saveDatabase(db, result.notices);
    result.notices.append(
        Notice(QString::number(result.added) + QStringLiteral(" favorites added."), MsgIcon::Information));
    return result;
}

} // namespace rr
