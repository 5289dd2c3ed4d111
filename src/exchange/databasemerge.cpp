#include "exchange/databasemerge.h"

#include "exchange/importbuilder.h"
#include "platform/plainfile.h"
#include "storage/record.h"
#include "storage/xmldatabase.h"

#include <QFile>

#include <libxml/tree.h>

#include <memory>
#include <vector>

namespace rr
{
namespace
{

constexpr qint64 kMaxMergeFileBytes = 512ll * 1024 * 1024;

// The node after node in document order, staying inside top; null at its end.
xmlNodePtr nextInSubtree(xmlNodePtr node, xmlNodePtr top)
{
    if (node->children && node->type == XML_ELEMENT_NODE)
        return node->children;
    while (node != top) {
        if (node->next)
            return node->next;
        node = node->parent;
    }
    return nullptr;
}

} // namespace

DatabaseMerge::DatabaseMerge(XMLDatabase &open, ImportProgress *progress)
    : m_open(open), m_progress(progress), m_unsavedBefore(open.hasUnsavedChanges())
{
}

bool DatabaseMerge::fail(const QString &reason)
{
    m_error = reason;
    rollback();
    return false;
}

bool DatabaseMerge::merge(const QString &otherPath)
{
    XmlDocument *doc = m_open.getTheDOM();
    if (!doc || !doc->isLoaded())
        return fail(QStringLiteral("No database is open."));
    QFile file(otherPath);
    if (QString why; !openPlainFile(file, &why))
        return fail(QStringLiteral("The file %1 could not be read: %2").arg(otherPath, why));
    if (file.size() > kMaxMergeFileBytes)
        return fail(QStringLiteral("The file is too large."));
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        return fail(file.errorString());

    // Read against the open database's folder: the DTD comes from there. Reading a
    // large file is one long step; so is releasing the document at the end.
    auto other = std::make_unique<XmlDocument>();
    bool read = false;
    QList<XmlNode> folders;
    QList<XmlNode> vardecks;
    const QString basePath = m_open.getBasePath();
    runLongStep([&] {
        read = other->loadXml(bytes, basePath);
        if (read) {
            folders = other->getElementsByTagName(tag::Folder);
            vardecks = other->getElementsByTagName(tag::Vardeck);
        }
    });
    if (!read)
        return fail(other->parseErrorReason());
    if (cancelled())
        return fail(importCancelledReason());
    const XmlNode otherRoot = other->documentElement();
    if (otherRoot.nodeName() != tag::Folders)
        return fail(QStringLiteral("It is not a Vardecks database: its root element is %1.").arg(otherRoot.nodeName()));

    // Temporary identifiers, unique in the other document and unlike every identifier
    // of the open one, so that nothing collides while the copies are attached.
    m_folders = int(folders.size());
    m_vardecks = int(vardecks.size());
    const double total = std::max(1, m_folders + m_vardecks);
    for (int i = 0; i < m_folders; ++i) {
        const QString id = QStringLiteral("TT%1").arg(i);
        if (doc->nodeFromID(id))
            return fail(QStringLiteral("The open database already uses the identifier %1.").arg(id));
        XmlNode(folders[i]).setAttribute(tag::Tid, id);
        if (cancelled())
            return fail(importCancelledReason());
        if (m_progress) {
            m_progress->setFolderCount(i + 1);
            m_progress->setBar(float(i / total * 50));
        }
    }
    for (int i = 0; i < m_vardecks; ++i) {
        const QString id = QStringLiteral("WW%1").arg(i);
        if (doc->nodeFromID(id))
            return fail(QStringLiteral("The open database already uses the identifier %1.").arg(id));
        XmlNode(vardecks[i]).setAttribute(tag::Wid, id);
        if (cancelled())
            return fail(importCancelledReason());
        if (m_progress) {
            m_progress->setVardeckCount(i + 1);
            m_progress->setBar(float((i + m_folders) / total * 50));
        }
    }

    m_readFailed = false;
    const int foldersBefore = doc->countElements(tag::Folder);
    const int vardecksBefore = doc->countElements(tag::Vardeck);
    XmlNode root = doc->documentElement();
    for (const XmlNode &folder : otherRoot.childElements()) {
        if (folder.nodeName() != tag::Folder)
            continue;
        if (!attachCopy(*doc, root, folder))
            return fail(cancelled() ? importCancelledReason()
                                    : QStringLiteral("A folder of the file could not be copied."));
    }
    runLongStep([&other] { other.reset(); });

    if (onPhase)
        onPhase(QStringLiteral("Indexing folders..."), QStringLiteral("Indexing folder:"), QString());
    if (!renumber(m_copiedFolders, QStringLiteral("T"), tag::Tid, foldersBefore, 50))
        return false;
    if (m_progress)
        m_progress->setFolderName(QStringLiteral("Done"));
    if (onPhase)
        onPhase(QStringLiteral("Indexing Vardecks..."), QString(), QStringLiteral("Indexing Vardeck:"));
    if (!renumber(m_copiedVardecks, QStringLiteral("W"), tag::Wid, vardecksBefore, 75))
        return false;
    if (m_progress)
        m_progress->setVardeckName(QStringLiteral("Done"));
    return true;
}

QStringList DatabaseMerge::mergedWIDs() const
{
    QStringList wids;
    for (const XmlNode &vardeck : m_copiedVardecks)
        wids << vardeck.attribute(tag::Wid);
    return wids;
}

bool DatabaseMerge::renumber(const QList<XmlNode> &elements, const QString &prefix, const QString &attribute,
                             int countBefore, double barFrom)
{
    const XmlDocument *doc = m_open.getTheDOM();
    const bool folders = attribute == tag::Tid;
    // Counting up from the number of such elements before the merge plus one, past
    // the last number from 1 again, never taking a number in use.
    int next = countBefore + 1;
    for (qsizetype i = 0; i < elements.size(); ++i) {
        const int number = doc->firstFreeIdentifierNumber(prefix, next);
        if (number == 0)
            return fail(numbersUsedUpReason(folders ? Numbered::Folders : Numbered::Vardecks, countBefore,
                                            int(elements.size())));
        next = number + 1;
        if (cancelled())
            return fail(importCancelledReason());
        XmlNode element = elements[i];
        element.setAttribute(attribute, prefix + QString::number(number));
        if (m_progress) {
            const QString name = element.childText(tag::Name);
            if (folders)
                m_progress->setFolderName(name);
            else
                m_progress->setVardeckName(name);
            m_progress->setBar(float(double(i + 1) / elements.size() * 25 + barFrom));
        }
    }
    return true;
}

void DatabaseMerge::noteCopied(xmlNodePtr node)
{
    if (node->type != XML_ELEMENT_NODE)
        return;
    if (xmlStrEqual(node->name, BAD_CAST tag::Folder.data()))
        m_copiedFolders << XmlNode(node);
    else if (xmlStrEqual(node->name, BAD_CAST tag::Vardeck.data()))
        m_copiedVardecks << XmlNode(node);
}

bool DatabaseMerge::attachCopy(XmlDocument &doc, XmlNode parent, const XmlNode &folder)
{
    // A folder and its two lists are copied bare and filled one child after another;
    // anything else (a Vardeck with its fields, a folder's own fields) is copied whole.
    // So the work comes in small pieces, and the window repaints between them however
    // the folders are shaped.
    const auto isList = [](xmlNodePtr node) {
        return node->type == XML_ELEMENT_NODE && (xmlStrEqual(node->name, BAD_CAST tag::Folder.data()) ||
                                                  xmlStrEqual(node->name, BAD_CAST tag::SubFolders.data()) ||
                                                  xmlStrEqual(node->name, BAD_CAST tag::Vardecks.data()));
    };
    const XmlNode top = parent.appendChild(XmlNode(xmlDocCopyNode(folder.raw(), doc.raw(), 2)));
    if (!top)
        return false;
    m_attached << top;
    noteCopied(top.raw());
    struct Level {
        xmlNodePtr next;
        XmlNode target;
    };
    std::vector<Level> levels{{folder.raw()->children, top}};
    while (!levels.empty()) {
        xmlNodePtr source = levels.back().next;
        if (!source) {
            levels.pop_back();
            continue;
        }
        levels.back().next = source->next;
        const bool list = isList(source);
        const XmlNode copy = levels.back().target.appendChild(XmlNode(xmlDocCopyNode(source, doc.raw(), list ? 2 : 1)));
        if (!copy || cancelled())
            return false;
        // Folders and Vardecks are met in document order, the order of renumbering;
        // one hidden inside a piece copied whole is taken too.
        if (list) {
            levels.push_back({source->children, copy});
            noteCopied(copy.raw());
        } else {
            for (xmlNodePtr node = copy.raw(); node; node = nextInSubtree(node, copy.raw()))
                noteCopied(node);
        }
        if (m_progress)
            m_progress->tick();
    }
    return true;
}

bool DatabaseMerge::cancelled() const
{
    return m_progress && m_progress->cancelled();
}

void DatabaseMerge::runLongStep(const std::function<void()> &step)
{
    if (m_progress)
        m_progress->runLongStep(step);
    else
        step();
}

void DatabaseMerge::rollback()
{
    for (XmlNode &copy : m_attached) {
        if (copy.parentNode())
            copy.parentNode().removeChild(copy);
    }
    m_attached.clear();
    m_copiedFolders.clear();
    m_copiedVardecks.clear();
    m_open.changeTakenBack(m_unsavedBefore);
}

} // namespace rr
