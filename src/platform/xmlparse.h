#pragma once
// Reading a database's text with the XML library, in time and memory bounded by the
// size of the text, whatever the text holds and whatever encoding it declares. The
// library spends time that grows with the square of some counts; each such count has a
// limit here, and a text past it is refused as soon as the limit is passed, with a
// reason that names it. The limits are read from the library's own state as it reads,
// that is after it has decoded the text:
// - the attributes of one element (the library compares each with every other): a
//   start tag that has passed the limit when the library asks for more text gets none,
//   so it never compares the names of a long tag; any tag past kMaxAttributes is
//   refused as it ends;
// - the attributes a document type declares for one element (each one is given to
//   every such element);
// - the namespaces declared at once (each prefixed name is looked up among them all);
// - how deeply elements and folders nest: an element past the limit is refused before
//   it is built;
// - entities: a text that declares any is refused before one is expanded.
// A declaration in the document type that the library keeps only in part (a default
// value its type does not allow, which the library drops) is refused too: the
// document type would be saved without it and not read again. UTF-32 and EBCDIC texts
// are refused by their first bytes. Errors are collected, never printed, and told in
// the program's own sentences (platform/xmlerrors.h); a text that is not proper UTF-8
// and declares no encoding is read again as windows-1252.
#include <QByteArray>
#include <QString>

struct _xmlDoc;
struct _xmlNode;

namespace rr
{

class ContentDigest;

// Where a document's text comes from: an open file, read from its start, or bytes in
// memory when fd is -1. The file's bytes go into digest, when given, as they are read
// (from the start again when the text is read a second time).
struct XmlSource {
    int fd = -1;
    QByteArray bytes;
    ContentDigest *digest = nullptr;
};

// Told of every element as soon as the library has built it with its attributes and
// linked it into the tree, the document element first, so that whatever is counted of
// a tree is counted while it is read, without a second walk over it.
class ElementVisitor
{
public:
    virtual ~ElementVisitor() = default;
    // Before a text is read (again, when it is read a second time in another encoding).
    virtual void start() = 0;
    virtual void element(_xmlNode *element) = 0;
};

// Parses the text with the database's options (the DTD loaded, no network, blanks
// between elements dropped unless the element holds words beside them); the document,
// or null with the first error or the limit passed in error. Entities named in
// baseUrl's folder are found through the program's entity loader.
_xmlDoc *parseDatabaseText(const XmlSource &source, const char *baseUrl, ElementVisitor *visitor, QString *error);

} // namespace rr
