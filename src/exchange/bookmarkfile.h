#pragma once
// The bookmark files of Firefox and Mozilla, read as one list of headings and links
// in document order.
//
// The HTML bookmark file (the Netscape format: a DL list of DT entries, a folder an
// H3 heading followed by its own DL list) is read with libxml2's HTML parser as a
// stream, counting DL depth, so that files as browsers really write them are read
// all the way: raw or escaped "&", DD descriptions, HR, headings and links with many
// attributes, missing closing tags, LF or CR LF, a final bare "</DL>". Each heading
// and each link belongs to its nearest enclosing heading: the heading whose DL list
// holds it (a link after an inner list's end goes back to the outer heading);
// entries outside every heading's list belong to the import's top folder.
//
// The bytes are read as the file's byte-order mark or META charset says, else as
// UTF-8 when they are valid UTF-8, else in the Windows-1252 code page of older
// Windows programs. Texts and addresses have their character references decoded as
// a browser decodes them ("AT&amp;T" and "&copy 2024" read "AT&T" and "© 2024"; in
// an address "?a=1&copy=2" stays as written).
//
// The JSON bookmark backups of a current Firefox (a tree of containers with "title"
// and "children", links with "title" and "uri") are read into the same list, in tree
// order; the queries of the "place:" scheme, which address nothing outside the
// browser, are passed over.
#include <QByteArray>
#include <QList>
#include <QString>

namespace rr
{

struct BookmarkEntry {
    enum class Kind { Heading, Link };
    Kind kind = Kind::Link;
    QString text;    // the heading's text or the link's name
    QString address; // links only
    // The position, among the headings of the same list, of the heading that holds
    // this heading or link (always an earlier one); -1 for the top folder.
    int heading = -1;
};

// Files larger than this are refused.
inline constexpr qint64 kMaxBookmarkFileBytes = 256 * 1024 * 1024;

bool parseBookmarkHtml(const QByteArray &bytes, QList<BookmarkEntry> *entries, QString *error = nullptr);
bool parseBookmarkJson(const QByteArray &json, QList<BookmarkEntry> *entries, QString *error = nullptr);
// Reads a file of either kind (a name ending in ".jsonlz4" is a compressed backup).
bool readBookmarkFile(const QString &path, QList<BookmarkEntry> *entries, QString *error = nullptr);

} // namespace rr
