#pragma once
// What a Vardeck takes from its live page when it is synchronised: the title, the
// description and keywords of its META elements, and its size in kilobytes with one
// decimal. What the page does not offer (no title, no such META, or only blanks)
// never replaces what the Vardeck holds: a page without a title keeps the Vardeck's
// name, and only a Vardeck without a name is named after the address. The page
// browser reads the details; this file turns them into text and into the element.
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
// "keywords", "size"}); what the page lacks stays empty. False when the answer is no
// such object.
bool pageDetailsFromJson(const QByteArray &json, const QString &address, PageDetails *details);
// The name after synchronising: the page's title, else the name stored, else the
// page's address.
QString synchronisedName(const PageDetails &details, const QString &storedName);
// The page's text when it offers one, else the text stored.
QString synchronisedText(const QString &pageText, const QString &storedText);
// Kilobytes with one decimal, as the size boxes show them: 12800 bytes → "12.5".
QString sizeText(qint64 bytes);
// Writes the details into a VARDECK element: NAME, DESCRIPTION and KEYWORD1 as
// above, FILESIZE; HITS one more ("1" when empty or no number). FILESIZE and HITS
// are created when missing. Nothing is saved.
void applyPageDetails(XmlDocument &doc, XmlNode vardeck, const PageDetails &details);

// The script the page browser runs in the loaded page, answering the JSON above.
QString pageDetailsScript();

// Why a page did not load, in a plain sentence, from the browser engine's error
// number (its network errors are negative: -310 is a loop of redirects) and its own
// short text ("net::ERR_TOO_MANY_REDIRECTS"), which names an error no sentence here
// covers.
QString loadFailureText(int engineError, const QString &engineText);

} // namespace rr
