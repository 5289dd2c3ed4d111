#pragma once
// The favourites: the FAV mark of each Vardeck, the list favsColl of favourite WIDs,
// the Favorites tree, menu and count label as data, and the commands that add and
// remove favourites, without their widgets.
//
// The tree and the menu are always made from favsColl, so they cannot drift apart.
// favsColl itself is checked against the document before it is used: when one of
// its WIDs no longer names a Vardeck (deleted elsewhere, another database opened),
// it is rebuilt from the document without a word to the user.
#include "platform/notice.h"
#include "platform/xmldocument.h"
#include "storage/vddata.h"
#include "storage/xmldatabase.h"

#include <QList>
#include <QString>
#include <QStringList>

namespace rr
{

// A FAV text marks a favourite when it reads "TRUE" in any letter case.
bool isFavoriteText(const QString &fav);
bool isFavorite(const XmlNode &vardeck);
// Writes "TRUE" or "FALSE", creating the FAV child when it is missing.
void setFavoriteMark(XmlNode vardeck, bool favorite);

// One favourite as the tree and the menu show it.
struct FavoriteItem {
    QString wid;
    QString name;    // tree node text
    QString caption; // menu caption: the name with "&" doubled
    QString address; // what the menu item opens
    bool bold = false;
};

class Favorites
{
public:
    // What a command did. The window first shows the notices, in order (a failed
    // save, then what the command says), then, when changed, the document's FAV marks
    // changed: it marks all four Web Aspect pages stale, refills the tree, menu and
    // count label from treeItems/menuItems/countLabel, and sets the details panel's
    // favourite box and marker when wid is the shown Vardeck (checked for Added, cleared for
    // Deleted). Listed: the Vardeck is a favourite, and the window asks before
    // deleteFavorite takes it out.
    enum class Outcome { Added, AlreadyFavorite, NoSelection, NotInList, Listed, Deleted, Missing, NoDatabase };
    struct Change {
        Outcome outcome = Outcome::NoDatabase;
        bool changed = false;
        bool saved = false;   // the file was written (else a notice says why)
        bool rebuilt = false; // favsColl was rebuilt from the document
        QString wid;
        QString name; // Listed: the favourite's name, for the question
        Notices notices;
    };

    // populateFavsList's list part: favsColl becomes the WIDs of every VARDECK below
    // the document element whose FAV reads TRUE, in document order. The window then
    // refills the tree, menu and label and marks all four Web Aspect pages stale.
    void populate(const XmlDocument *doc);
    const QStringList &favsColl() const { return m_wids; }
    bool contains(const QString &wid) const;
    // Rebuilds favsColl from the document when one of its WIDs names no Vardeck;
    // true when it did.
    bool syncWithDocument(const XmlDocument *doc);

    // The tree's nodes sorted by name ignoring case, bold when in the recent list.
    QList<FavoriteItem> treeItems(const XmlDocument *doc, const QList<VDData> &recent);
    // The tree's items made from the menu's items just taken (no second look-up).
    static QList<FavoriteItem> treeItemsOf(QList<FavoriteItem> menuItems, const QList<VDData> &recent);
    // The menu's items in favsColl order: document order after a rebuild, then each
    // new favourite at the end.
    QList<FavoriteItem> menuItems(const XmlDocument *doc);
    // "Favorites: " and the number of favourites (the tree's node count).
    QString countLabel() const;

    // Marks the Vardeck a favourite, saves, and appends it to favsColl; Missing (and
    // favsColl rebuilt) when the WID names no Vardeck.
    Change createNewFav(XMLDatabase &db, const QString &wid);
    // createNewFav with its checks and notices: "The selected Vardeck is already in
    // your favorites list" (nothing saved), else "The Vardeck " NAME " has been added
    // to your favorite Vardecks list".
    Change addToFavorites(XMLDatabase &db, const QString &wid);
    // cmdFAdd_Click / mnuFavsAdd_Click with the window's selectedWID.
    Change addSelected(XMLDatabase &db, const QString &selectedWID);
    // cmdFDelete_Click / mnuFavsDelete_Click with the window's selectedWID, up to the
    // question: NoSelection or NotInList with its notice, else Listed with the name.
    Change checkDelete(XMLDatabase &db, const QString &selectedWID);
    // After a Yes: writes FALSE, saves and removes the WID from favsColl (NotInList
    // when it is no longer there).
    Change deleteFavorite(XMLDatabase &db, const QString &wid);
    // A drop of several Vardecks on the tree: every one not yet a favourite becomes
    // one, with a single save, then the notice n " favorites added." (also for 0).
    struct DropResult {
        int added = 0;
        bool saved = false;
        Notices notices;
    };
    DropResult addDropped(XMLDatabase &db, const QStringList &wids);

private:
    QStringList m_wids;
};

} // namespace rr
