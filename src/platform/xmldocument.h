#pragma once
// The XML document of a database: a libxml2 document with the operations the rest
// of the program uses (load, save, ID lookup, XPath, element creation), and XmlNode,
// a light handle to one node of it.
//
// Rules kept here so no caller has to remember them:
// - IDs come from the document type definition; a declared but unreadable DTD
//   fails the load, since every lookup by identifier would silently find nothing.
//   A file with no DOCTYPE (or one naming no DTD) gets TID of FOLDER and WID of
//   VARDECK registered as IDs here, so it behaves exactly like one with it.
// - The file is read without validation: an identifier used twice is no reason to
//   refuse it; lookups find the first holder and allocation skips both.
// - Only the database's own DTD is ever read as an external entity; no network.
// - Only a plain file is read: a named pipe, a socket or a device is refused before
//   it is opened (a pipe would keep the open waiting for a writer for ever).
// - Reading any file takes time and memory bounded by its size, whatever encoding it
//   declares (xmlparse.h): a file that declares entities, gives an element more than
//   kMaxAttributes attributes, declares more namespaces at once or nests too deeply
//   is refused as soon as it does, with the limit it passed.
// - Folder trees nest at most kMaxFolderLevels deep, and elements at most
//   kMaxElementDepth: the load and the save apply the same two limits (Nesting), with
//   one rule for what a folder is (xmlwalk.h), so every file saved here opens again
//   and every file that opens can be saved. The load counts while it reads; the save
//   measures with the one walk. (The parser itself, with XML_PARSE_HUGE, has no depth
//   limit of its own.)
// - The document type is saved so that it reads back as it was read; a file whose
//   document type the library keeps only in part is refused (xmlparse.h).
// - Element text is set through one setter that escapes and strips the characters
//   XML 1.0 forbids (one such character would make the whole file unreadable).
// - Removed nodes are freed at once, so an ID lookup never returns a removed node.
// - Saving streams compact UTF-8 into a temporary file and renames it; a failed
//   save keeps the old file and says why.
// - Every change made through XmlNode or a load moves changeStamp(), so readers that
//   keep derived data (the search's texts) know at once whether anything changed.
// - The document counts its FOLDER and VARDECK elements as they are attached and
//   detached, and which identifier numbers they hold, so a new identifier needs no
//   walk of the tree nor a probe of every number in use.
#include "platform/filestamp.h"

#include <QByteArray>
#include <QList>
#include <QString>

#include <memory>
#include <vector>

struct _xmlDoc;
struct _xmlNode;

namespace rr
{

class XmlDocument;
struct XmlSource;

// The deepest folder nesting a database may have, and the element depth it makes
// (FOLDERS, then FOLDER and SUBFOLDERS per level, then VARDECKS, VARDECK, a field).
inline constexpr int kMaxFolderLevels = 500;
inline constexpr int kMaxElementDepth = 2 * kMaxFolderLevels + 3;
// The most attributes one element may carry, and the most namespaces declared at
// once; a database has one attribute on some elements and declares none.
inline constexpr int kMaxAttributes = 64;
// Identifiers are "T" or "W" followed by a number from 1 to this.
inline constexpr int kMaxIdentifierNumber = 32767;

// How deeply a tree nests: what the load and the save both measure. The save also
// measures what the load refuses while it reads (attributes and namespaces), so that
// nothing it writes is refused.
struct Nesting {
    int elements = 1;   // element depth, the document element counting 1
    int folders = 0;    // FOLDER elements on the longest chain of them
    int attributes = 0; // the most attributes of one element
    int namespaces = 0; // the most namespace declarations in force at once
    bool tooDeep() const { return elements > kMaxElementDepth || folders > kMaxFolderLevels; }
    bool tooWide() const { return attributes > kMaxAttributes || namespaces > kMaxAttributes; }
};

class XmlNode
{
public:
    XmlNode() = default;
    explicit XmlNode(_xmlNode *node) : m_node(node) {}

    bool isNull() const { return m_node == nullptr; }
    explicit operator bool() const { return m_node != nullptr; }
    bool operator==(const XmlNode &other) const { return m_node == other.m_node; }
    bool operator!=(const XmlNode &other) const { return m_node != other.m_node; }
    _xmlNode *raw() const { return m_node; }

    bool isElement() const;
    QString nodeName() const;
    // All descendant texts joined, as the DOM's text property gives them.
    QString text() const;
    // Replaces the content by one text node holding text, safely escaped; CR LF and
    // lone CR become LF and characters XML forbids are dropped.
    void setText(const QString &text);

    QString attribute(const QString &name) const;
    bool hasAttribute(const QString &name) const;
    void setAttribute(const QString &name, const QString &value);

    XmlNode parentNode() const;
    XmlNode firstChild() const;  // first element child
    XmlNode nextSibling() const; // next element sibling
    XmlNode previousSibling() const;
    QList<XmlNode> childElements() const;
    // The first child element with that name (readers find children by name).
    XmlNode child(const QString &name) const;
    // The text of the named child, or "" when there is no such child.
    QString childText(const QString &name) const;
    // Sets the text of the named child, creating the child at the end when missing.
    void setChildText(const QString &name, const QString &text);

    // Tree edits. A node moved within one document keeps its ID; detached nodes of
    // removeChild are freed (handles to them and their descendants become invalid).
    XmlNode appendChild(XmlNode child);
    XmlNode insertBefore(XmlNode child, XmlNode reference);
    void removeChild(XmlNode child);
    // Detaches the node from its parent without freeing it (for moving it elsewhere).
    XmlNode detach();

    XmlNode selectSingleNode(const QString &xpath) const;
    QList<XmlNode> selectNodes(const QString &xpath) const;
    // Every descendant element with that name ("*" for all), in document order.
    QList<XmlNode> getElementsByTagName(const QString &name) const;

private:
    _xmlNode *m_node = nullptr;
};

class XmlDocument
{
public:
    XmlDocument();
    ~XmlDocument();
    XmlDocument(const XmlDocument &) = delete;
    XmlDocument &operator=(const XmlDocument &) = delete;

    // Loads a file synchronously. Returns true when the whole file was read; else
    // parseErrorReason() says why and the document is empty.
    bool load(const QString &path);
    // Parses text held in memory; relative DTD names resolve against baseFolder.
    bool loadXml(const QByteArray &text, const QString &baseFolder = QString());
    // The empty text after a successful load; the reason otherwise.
    QString parseErrorReason() const { return m_parseError; }
    bool isLoaded() const { return m_doc != nullptr; }
    // The stamp of the file the last load read (null for text from memory).
    FileStamp loadedStamp() const { return m_loadedStamp; }

    // Serialises the whole document and writes it atomically; false with a reason.
    // savedStamp, when given, gets the stamp of the file the save put in place.
    bool save(const QString &path, QString *error = nullptr, FileStamp *savedStamp = nullptr) const;
    QByteArray toBytes() const;

    XmlNode documentElement() const;
    XmlNode nodeFromID(const QString &id) const;
    XmlNode selectSingleNode(const QString &xpath) const;
    QList<XmlNode> selectNodes(const QString &xpath) const;
    QList<XmlNode> getElementsByTagName(const QString &name) const;

    // A new element owned by this document, not yet in the tree.
    XmlNode createElement(const QString &name);
    // An element with a text child (the one text setter applies).
    XmlNode createTextElement(const QString &name, const QString &text);
    // Top-level processing instructions: inserted right after the XML declaration.
    void insertProcessingInstruction(const QString &target, const QString &data);
    // Removes every top-level processing instruction whose data starts with prefix.
    void removeProcessingInstructions(const QString &target, const QString &dataPrefix);
    QList<QString> processingInstructionData(const QString &target) const;
    // A deep copy of a node of another document, owned by this one (IDs registered
    // when the copy is attached).
    XmlNode importNode(XmlNode node);

    // Number of elements with that name below the document element; kept current for
    // "FOLDER" and "VARDECK" without walking the tree.
    int countElements(const QString &name) const;

    // The first number n for which prefix + n ("T" or "W") names no element: the
    // first free one from `from` up to kMaxIdentifierNumber, else the first free one
    // from 1; 0 when every number is in use.
    int firstFreeIdentifierNumber(const QString &prefix, int from) const;

    _xmlDoc *raw() const { return m_doc; }

    // Different after every load and every change made through XmlNode; never the
    // same for two documents of one process.
    quint64 changeStamp() const { return m_changeStamp; }
    void noteChange();

    // Registers the external entity loader (once per process); called by load.
    static void initialiseLibrary();

    // Internal: keeps the counts and IDs current when a subtree is attached or
    // detached, and lets a duplicate identifier take over a removed one.
    void subtreeAttached(_xmlNode *node, int sign);
    void reregisterDuplicates();
    // Keeps the numbers in use current when an element in the tree gets another
    // identifier (either value may be null).
    void identifierChanged(const unsigned char *before, const unsigned char *after);

private:
    class LoadCounter;

    // Parses the text into this document; relative names resolve against baseFolder.
    bool parseInto(const XmlSource &source, const QString &baseFolder);
    bool finishLoad(_xmlDoc *doc);
    void clearCounts();
    // Counts one element below the document element in or out (sign), registering
    // its identifier as an ID when it comes in.
    void countElement(_xmlNode *element, int sign);
    // Recounts and registers IDs.
    void recount();
    void walkSubtree(_xmlNode *top, int sign, bool includeTop);
    void noteIdentifier(const unsigned char *value, int sign);
    // The first number in [from, to] that no element in the tree holds, or 0.
    int nextUnheldNumber(int kind, int from, int to) const;

    _xmlDoc *m_doc = nullptr;
    QString m_parseError;
    FileStamp m_loadedStamp;
    int m_folderCount = 0;
    int m_vardeckCount = 0;
    bool m_hasDuplicateIds = false;
    // Per kind (0 "T", 1 "W"): how many elements in the tree hold each number, and
    // one bit per number that any holds (bit 0 always set), for a fast search.
    std::vector<qint32> m_holders[2];
    std::vector<quint64> m_held[2];
    quint64 m_changeStamp = 0;
};

// How many FOLDER elements enclose node, itself included (0 outside every folder).
int folderLevel(const XmlNode &node);
// How many folder levels a folder's subtree spans, itself included.
int folderLevels(const XmlNode &folder);
// What the user is told when a new or moved folder would pass kMaxFolderLevels.
QString folderNestingMessage();

// Drops the characters XML 1.0 forbids and turns CR LF / CR into LF.
QString sanitizeXmlText(const QString &text);

// For tests: how many threads write parts of a large document beside the saving
// one (0: none; -1, the default: as suits the machine), and how many processors a
// save counts on (-1, the default: those the program may run on). A large document
// written without parts goes to the file through a thread of its own when there are
// two processors or more.
namespace xmlsave_testing
{
void setPartThreads(int threads);
void setProcessors(int processors);
} // namespace xmlsave_testing

} // namespace rr
