#pragma once
// Bookmark files, read as one list of headings and links in document order: the HTML
// bookmark file that browsers and other programs write, Firefox's JSON bookmark
// backups (plain or compressed) and Chromium's "Bookmarks" file. What a file is, is
// told by its content, never by its name; a file that is none of these is refused
// with what it is instead ("it is a PDF document, not a bookmark file").
//
// The HTML bookmark file (the Netscape format: a DL list of DT entries, a folder an
// H3 heading followed by its own DL list) is read in one pass over its markup
// (bookmarkhtmlscan.h), in time proportional to its size, counting DL depth, so that
// files as browsers really write them are read all the way: raw or escaped "&", DD
// descriptions, HR, headings and links with many attributes, missing closing tags,
// LF or CR LF, a final bare "</DL>". Each heading
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
//
// Chromium's "Bookmarks" file (JSON: "roots" holding "bookmark_bar", "other" and
// "synced", nodes of type "folder" with "children" or "url" with "url") gives each
// root that holds anything as a heading with its own name ("Bookmarks bar", "Other
// bookmarks", "Mobile bookmarks"), then its tree; a link's "date_added" (microseconds
// since 1601-01-01 UTC) is the day it was created, in local time.
#include <QByteArray>
#include <QDate>
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
    // The day the link was made, where the file tells it; invalid otherwise.
    QDate created;
};

// Files larger than this are refused.
inline constexpr qint64 kMaxBookmarkFileBytes = 256 * 1024 * 1024;

enum class BookmarkFormat { Html, FirefoxJson, ChromiumJson, None };

// What a file's content is. For None, what says what it is instead, as the end of a
// sentence about the file: "it is a PDF document, not a bookmark file".
BookmarkFormat bookmarkFormatOf(const QByteArray &content, QString *what = nullptr);

bool parseBookmarkHtml(const QByteArray &bytes, QList<BookmarkEntry> *entries, QString *error = nullptr);
bool parseBookmarkJson(const QByteArray &json, QList<BookmarkEntry> *entries, QString *error = nullptr);
bool parseChromiumBookmarks(const QByteArray &json, QList<BookmarkEntry> *entries, QString *error = nullptr);
// Reads a bookmark file of any of the kinds above; false, with what the file is or
// why it could not be read, otherwise.
bool readBookmarkFile(const QString &path, QList<BookmarkEntry> *entries, QString *error = nullptr);

} // namespace rr
