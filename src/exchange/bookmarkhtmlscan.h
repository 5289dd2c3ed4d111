#pragma once
// Reading the markup of an HTML bookmark file in one pass, in time proportional to its
// size whatever it holds.
//
// A general HTML parser spends time that grows with the square of some counts: the
// attributes of one tag (each compared with every other one), or the end tags met
// under thousands of open elements (each looked for among them all). A bookmark is
// read from three elements only: the lists (DL), the folder headings (H3) and the
// links (A, with their HREF). So the text is tokenised as a browser tokenises HTML
// (tags, quoted and unquoted attribute values, comments, declarations, the content of
// SCRIPT, STYLE, TITLE, TEXTAREA, XMP, IFRAME, NOEMBED and NOFRAMES read as text and
// passed over, PLAINTEXT ending the markup), and only those three elements are kept
// open, with the rules a browser's parser applies among them:
// - a link starting while a link is the innermost open element ends that link first;
//   a heading H1–H6 starting while a heading H3 is the innermost ends it first;
// - an end tag ends the nearest open element of its name and every element opened
//   after it; an end tag of an element not open is nothing;
// - a start tag closed by "/>" ends at once;
// - what is still open at the end of the text ends there, innermost first.
// Each open name is counted, so an end tag finds out in constant time whether its
// element is open; every element ended was opened by a tag of its own.
#include <QByteArray>
#include <QByteArrayView>

namespace rr
{

enum class BookmarkElement { List, Heading, Link };

class BookmarkHtmlEvents
{
public:
    virtual ~BookmarkHtmlEvents() = default;
    // href: a link's first HREF value as written (character references not decoded),
    // null when it has none.
    virtual void start(BookmarkElement element, QByteArrayView href) = 0;
    virtual void end(BookmarkElement element) = 0;
    // Text outside the tags, as written, in pieces.
    virtual void text(QByteArrayView utf8) = 0;
};

// Reads UTF-8 text, telling events the elements and the text in document order.
void scanBookmarkHtml(const QByteArray &utf8, BookmarkHtmlEvents &events);

} // namespace rr
