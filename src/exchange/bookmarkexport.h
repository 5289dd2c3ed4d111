#pragma once
// Writing folders and Vardecks in the HTML bookmark file format that browsers and
// other bookmark programs read (a DL list of DT entries, a folder an H3 heading
// followed by its own DL list, a Vardeck an A link).
//
// Names and addresses are escaped ("&", "<", ">", '"'), so that a name cannot break
// the file and an address reads back as stored, byte for byte ("%20" stays "%20"). Every
// ADD_DATE is the same moment, in UTC seconds.
#include "platform/xmldocument.h"

#include <QByteArray>
#include <QString>

namespace rr
{

class BookmarkHtmlWriter
{
public:
    struct Form {
        QByteArray lineEnd = "\n";
        // ID="rdf:#T1" on each heading and link, as Firefox's bookmark file had them.
        bool identifiers = false;
        // Four blanks for each level of lists the line is in, as browsers write it.
        bool indented = false;
        // The levels of lists the first line is in.
        int level = 0;
    };
    BookmarkHtmlWriter(const Form &form, qint64 stamp);

    // A heading and the opening of its list, one level deeper than the last open one.
    void openFolder(const QString &id, const QString &name);
    // The end of the innermost open list.
    void closeFolder();
    // A FOLDER element with its Vardecks and its sub-folders, in document order.
    void folder(const XmlNode &folder);

    QByteArray text() const { return m_out; }

private:
    void line(const QByteArray &text);
    QByteArray identifier(const QString &id) const;

    Form m_form;
    QByteArray m_stamp;
    int m_depth;
    QByteArray m_out;
};

// A whole bookmark file of the collection: its top-level folders are the file's own,
// so that a browser that imports it adds the Vardecks alone, with their folders.
QByteArray bookmarkFileText(const XmlDocument &doc, qint64 stamp);

} // namespace rr
