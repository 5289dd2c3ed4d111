#pragma once
// What a Vardeck takes from its live page when it is synchronised: the title (the
// address when the page has none), the description and keywords of its META
// elements, and its size in kilobytes with one decimal. The page browser reads them;
// this file turns them into text and into the Vardeck's element.
#include "platform/xmldocument.h"

#include <QByteArray>
#include <QString>

namespace rr
{

struct PageDetails {
    QString title;
    QString address;
    QString description;
    QString keywords;
    qint64 bodyBytes = 0;
};

// The details from the page script's JSON answer ({"title", "description",
// "keywords", "size"}); the title falls back to the address. False when the answer
// is no such object.
bool pageDetailsFromJson(const QByteArray &json, const QString &address, PageDetails *details);
// Kilobytes with one decimal, as the size boxes show them: 12800 bytes → "12.5".
QString sizeText(qint64 bytes);
// Writes the details into a VARDECK element: NAME (never emptied), DESCRIPTION,
// KEYWORD1, FILESIZE; HITS one more ("1" when empty or no number). FILESIZE and
// HITS are created when missing. Nothing is saved.
void applyPageDetails(XmlDocument &doc, XmlNode vardeck, const PageDetails &details);

// The script the page browser runs in the loaded page, answering the JSON above.
QString pageDetailsScript();

} // namespace rr
