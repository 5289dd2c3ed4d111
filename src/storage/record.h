#pragma once
// The stored record: the shape of a Vardecks database document, named once.
//
//   FOLDERS                        the document element
//     FOLDER TID=                  a folder: NAME, VARDECKS, SUBFOLDERS
//       VARDECKS > VARDECK WID=    a Vardeck: NAME, ADDRESS, CREATED_DATE,
//                                  DESCRIPTION, KEYWORD1, NOTES, KEYWORD2,
//                                  FILESIZE, HITS, FAV
//       SUBFOLDERS > FOLDER ...
//
// Readers find children by name and never rely on their order; every writer makes a
// new Vardeck through newVardeck, so that all of them are alike.
#include "platform/xmldocument.h"

#include <QString>

namespace rr
{

namespace tag
{
inline constexpr QLatin1String Folders("FOLDERS");
inline constexpr QLatin1String Folder("FOLDER");
inline constexpr QLatin1String Tid("TID");
inline constexpr QLatin1String Name("NAME");
inline constexpr QLatin1String Vardecks("VARDECKS");
inline constexpr QLatin1String SubFolders("SUBFOLDERS");
inline constexpr QLatin1String Vardeck("VARDECK");
inline constexpr QLatin1String Wid("WID");
inline constexpr QLatin1String Address("ADDRESS");
inline constexpr QLatin1String CreatedDate("CREATED_DATE");
inline constexpr QLatin1String Description("DESCRIPTION");
inline constexpr QLatin1String Keyword1("KEYWORD1"); // the keywords
inline constexpr QLatin1String Notes("NOTES");
inline constexpr QLatin1String Keyword2("KEYWORD2"); // the last visit
inline constexpr QLatin1String FileSize("FILESIZE");
inline constexpr QLatin1String Hits("HITS");
inline constexpr QLatin1String Fav("FAV");
} // namespace tag

// The texts of a new Vardeck. A new Vardeck has not been visited: its last visit is
// empty and its count of visits is "1", the count every list shows for it.
struct NewVardeckFields {
    QString name = {};
    QString address = {};
    QString createdDate = {}; // as createdDateText writes it
    QString description = {};
    QString keywords = {};
    QString notes = {};
    QString fileSize = {};
    bool favorite = false;
};

// A VARDECK element with the identifier wid and every child, in the order above. It
// is made whole and not attached: the caller appends it to a folder's VARDECKS.
XmlNode newVardeck(XmlDocument &doc, const QString &wid, const NewVardeckFields &fields);

// The named child of element, made at its end when it has none.
XmlNode childOrNew(XmlDocument &doc, XmlNode element, const QString &name);

// An identifier as a tag or an attribute holds it, without the blanks around it.
QString identifierOf(const QString &text);
// The TID of a FOLDER or the WID of a VARDECK, read once, without blanks.
QString tidOf(const XmlNode &folder);
QString widOf(const XmlNode &vardeck);

} // namespace rr
