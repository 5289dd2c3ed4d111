#include "exchange/importbuilder.h"

#include "platform/textutil.h"
#include "platform/webaddress.h"
#include "storage/datetext.h"
#include "storage/record.h"
#include "storage/xmldatabase.h"

#include <QDir>

namespace rr
{

QString numbersUsedUpReason(Numbered kind, int held, int importing, bool atLeast)
{
    const bool folders = kind == Numbered::Folders;
    if (held >= kMaxIdentifierNumber)
        return folders ? QStringLiteral("No more folders can be added: every folder number up to %1 is in use.")
                             .arg(kMaxIdentifierNumber)
                       : QStringLiteral("No more Vardecks can be added: every Vardeck number up to %1 is in use.")
                             .arg(kMaxIdentifierNumber);
    const QString holds = QStringLiteral("The import holds %1%2 %3")
                              .arg(atLeast ? QStringLiteral("at least ") : QString())
                              .arg(importing)
                              .arg(folders ? QStringLiteral("folders") : QStringLiteral("Vardecks"));
    if (held == 0)
        return holds + QStringLiteral(", more than a database can number: at most %1.").arg(kMaxIdentifierNumber);
    return holds + QStringLiteral(", more than the database can still number: it has %1 and can number at most %2.")
                       .arg(held)
                       .arg(kMaxIdentifierNumber);
}

QString movedFoldersNote(const QString &path, int count)
{
    return QDir::toNativeSeparators(path) +
           QStringLiteral(": %1 folders nested more than %2 levels deep were put at level %2")
               .arg(count)
               .arg(kMaxFolderLevels);
}

ImportBuilder::ImportBuilder(XMLDatabase &db, ImportProgress *progress)
    : m_db(db), m_progress(progress), m_unsavedBefore(db.hasUnsavedChanges()), m_today(QDate::currentDate())
{
}

QString ImportBuilder::usedUpReason(int importing) const
{
    if (!m_usedUp)
        return m_error;
    return numbersUsedUpReason(*m_usedUp, m_heldBefore, importing);
}

void ImportBuilder::failNumbersUsedUp(Numbered kind, const XmlDocument &doc, int created)
{
    // Counted only now that it is needed: what the database held before the import is
    // what it holds less what this import has made so far.
    m_usedUp = kind;
    m_heldBefore = doc.countElements(kind == Numbered::Folders ? tag::Folder : tag::Vardeck) - created;
    fail(numbersUsedUpReason(kind, m_heldBefore, created + 1, true));
}

bool ImportBuilder::fail(const QString &reason)
{
    m_error = reason;
    return false;
}

QString ImportBuilder::importedName(const QString &name)
{
    return singleLineText(name).trimmed();
}

QString ImportBuilder::importedAddress(const QString &address)
{
    // Blanks and control characters (C0, DEL, C1) around the address go; inside it, a
    // line break would split a field the database keeps on one line.
    const auto around = [](QChar c) { return c.isSpace() || c.category() == QChar::Other_Control; };
    qsizetype from = 0;
    qsizetype to = address.size();
    while (from < to && around(address[from]))
        ++from;
    while (to > from && around(address[to - 1]))
        --to;
    return cleanAddress(address.mid(from, to - from));
}

XmlNode ImportBuilder::createFolderNode(const QString &givenName, const QString &parentTID)
{
    if (m_progress && m_progress->cancelled()) {
        fail(importCancelledReason());
        return {};
    }
    const QString name = importedName(givenName);
    XmlDocument *doc = m_db.getTheDOM();
    if (!doc || !doc->isLoaded()) {
        fail(QStringLiteral("No database is open."));
        return {};
    }
    XmlNode container;
    if (parentTID.isEmpty()) {
        container = doc->documentElement();
    } else {
        const XmlNode parent = doc->nodeFromID(parentTID);
        container = parent.nodeName() == tag::Folder ? parent.child(tag::SubFolders) : XmlNode();
        if (!container) {
            fail(QStringLiteral("The folder %1 to import into no longer exists.").arg(parentTID));
            return {};
        }
    }
    const QString tid = m_db.getNewTID();
    if (tid.isEmpty()) {
        failNumbersUsedUp(Numbered::Folders, *doc, m_createdFolders);
        return {};
    }
    ++m_createdFolders;
    XmlNode folder = doc->createElement(tag::Folder);
    // Attached first, so that the identifier is registered when it is set.
    container.appendChild(folder);
    folder.setAttribute(tag::Tid, tid);
    if (parentTID.isEmpty()) {
        m_topTID = tid;
        m_createdTopTIDs << tid;
    }
    folder.appendChild(doc->createTextElement(tag::Name, name));
    if (m_progress)
        m_progress->setFolderName(name);
    folder.appendChild(doc->createElement(tag::Vardecks));
    folder.appendChild(doc->createElement(tag::SubFolders));
    return folder;
}

XmlNode ImportBuilder::createVDNode(const XmlNode &folder, const QString &givenName, const QString &address,
                                    const QDate &created)
{
    if (m_progress && m_progress->cancelled()) {
        fail(importCancelledReason());
        return {};
    }
    const QString name = importedName(givenName);
    if (m_progress)
        m_progress->setVardeckName(name);
    XmlDocument *doc = m_db.getTheDOM();
    XmlNode list = folder.child(tag::Vardecks);
    if (!doc || !list) {
        fail(QStringLiteral("The folder to import into no longer exists."));
        return {};
    }
    const QString wid = m_db.getNewWID();
    if (wid.isEmpty()) {
        failNumbersUsedUp(Numbered::Vardecks, *doc, int(m_createdWIDs.size()));
        return {};
    }
    // The Vardeck is made whole before it joins the folder: each child added to an
    // element of the tree looks up the path to the root, which an import of deeply
    // nested folders makes long.
    const QString stored = importedAddress(address);
    const QString day = createdDateText(created.isValid() ? created : m_today);
    XmlNode vardeck = newVardeck(*doc, wid, {.name = name, .address = stored, .createdDate = day});
    m_createdWIDs << wid;
    list.appendChild(vardeck);
    if (onVardeckCreated)
        onVardeckCreated(wid, stored);
    return vardeck;
}

void ImportBuilder::pushParentTID(int count, const QString &tid)
{
    for (int i = 0; i < count; ++i)
        m_parentTIDStack << tid;
}

QString ImportBuilder::popParentTID()
{
    return m_parentTIDStack.isEmpty() ? QString() : m_parentTIDStack.takeLast();
}

void ImportBuilder::rollback()
{
    XmlDocument *doc = m_db.getTheDOM();
    for (const QString &tid : std::as_const(m_createdTopTIDs)) {
        XmlNode folder = doc ? doc->nodeFromID(tid) : XmlNode();
        if (folder && folder.parentNode())
            folder.parentNode().removeChild(folder);
    }
    m_createdTopTIDs.clear();
    m_db.changeTakenBack(m_unsavedBefore);
}

} // namespace rr
