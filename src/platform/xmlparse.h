#pragma once
// Reading a database's text with the XML library, in time bounded by the size of the
// text, whatever the text holds. The library spends time that grows with the square of
// some counts; each such count has a limit here, and a text past it is refused as soon
// as the limit is passed, with a reason that names it:
// - the attributes of one element (the library compares each with every other): the
//   text is scanned as it goes to the library and stops at the first start tag past
//   kMaxAttributes, before the library has seen the whole tag;
// - the attributes a document type declares for one element (each one is given to
//   every such element);
// - the namespaces declared at once (each prefixed name is looked up among them all);
// - entities: a text that declares any is refused before one is expanded.
// Errors are collected, never printed; a text that is not proper UTF-8 and declares
// no encoding is read again as windows-1252.
#include <QByteArray>
#include <QString>

struct _xmlDoc;

namespace rr
{

// Where a document's text comes from: an open file, read from its start, or bytes in
// memory when fd is -1.
struct XmlSource {
    int fd = -1;
    QByteArray bytes;
};

// Parses the text with the database's options (the DTD loaded, no network, blanks
// dropped); the document, or null with the first error or the limit passed in error.
// Entities named in baseUrl's folder are found through the program's entity loader.
_xmlDoc *parseDatabaseText(const XmlSource &source, const char *baseUrl, QString *error);

} // namespace rr
