#pragma once
// Turns a database document into an HTML page through an XSLT 1.0 stylesheet file.
//
// Rules kept here so no caller has to remember them:
// - A stylesheet that is missing or does not parse, and a transform that fails,
//   give false with a reason the user can read; nothing is written then.
// - The page is written atomically: a failed write keeps the previous page.
// - Stylesheets may read local files but never reach the network nor write files.
// - A stylesheet variable changed for one transform is changed in memory only.
// - A transform on another thread reads a DocumentCopy, never the document itself:
//   libxml2 lets no two threads use one document, and the library moves the
//   document type node out and back while it transforms.
#include <QByteArray>
#include <QString>

#include <functional>
#include <optional>

struct _xmlDoc;

namespace rr
{

class XmlDocument;

namespace xslt
{

// The text given to the stylesheet's first xsl:variable element when the value of
// that element's first attribute is name (ignoring letter case), as the search view
// takes its search text.
struct VariableText {
    QString name;
    QString text;
};

// A copy of a document, made on the thread that owns the document, for a transform on
// another thread to read alone while the document itself may change. At 32,767
// Vardecks it takes about a tenth of a second; it is let go on the thread that last
// holds it.
class DocumentCopy
{
public:
    explicit DocumentCopy(const XmlDocument &document);
    ~DocumentCopy();
    DocumentCopy(const DocumentCopy &) = delete;
    DocumentCopy &operator=(const DocumentCopy &) = delete;
    // Null when the document was empty or could not be copied.
    _xmlDoc *raw() const { return m_doc; }

private:
    _xmlDoc *m_doc;
};

// Transforms document with the stylesheet at stylesheetPath into html.
bool transform(const QString &stylesheetPath, const XmlDocument &document, QByteArray *html, QString *error,
               const std::optional<VariableText> &variable = std::nullopt);
bool transform(const QString &stylesheetPath, const DocumentCopy &document, QByteArray *html, QString *error,
               const std::optional<VariableText> &variable = std::nullopt);

// Transforms and writes the page to outputPath atomically, serialised straight into
// the file. written, when given, runs once the page is in place and before the
// transform's memory is handed back, which for a large collection takes a tenth of a
// second or more: the caller can start showing the page meanwhile.
bool transformToFile(const QString &stylesheetPath, const XmlDocument &document, const QString &outputPath,
                     QString *error, const std::optional<VariableText> &variable = std::nullopt,
                     const std::function<void()> &written = {});
bool transformToFile(const QString &stylesheetPath, const DocumentCopy &document, const QString &outputPath,
                     QString *error, const std::optional<VariableText> &variable = std::nullopt);

// Sets the text of the first xsl:variable of the stylesheet file (when its first
// attribute's value is variable.name) and saves the file atomically. A file that
// does not parse is left as it is.
bool writeVariableText(const QString &stylesheetPath, const VariableText &variable, QString *error);

// A digest of the stylesheet file as the program writes stylesheets, with the text of
// its first xsl:variable emptied when that variable is named variableName: the same
// for a copy whose variable the program has rewritten (writeVariableText). Empty when
// the file cannot be read as XML.
QByteArray stylesheetFingerprint(const QString &stylesheetPath, const QString &variableName);

} // namespace xslt
} // namespace rr
