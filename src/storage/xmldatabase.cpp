#include "storage/xmldatabase.h"

#include "platform/atomicfile.h"
#include "storage/record.h"

#include <QFileInfo>

namespace rr
{
XMLDatabase::XMLDatabase() = default;
XMLDatabase::~XMLDatabase() = default;

QString XMLDatabase::getBasePath() const
{
    // The folder of the actual path, whatever the open database's name.
    if (m_path.isEmpty())
        return {};
    return QFileInfo(m_path).absolutePath() + QLatin1Char('/');
}

bool XMLDatabase::openDBValidate(const QString &path, QString *reason)
{
    m_loadedPath = path;
    m_document = std::make_unique<XmlDocument>();
    m_document->load(path);
    m_knownStamp = m_document->loadedStamp();
    m_knownPath = path;
    if (reason)
        *reason = m_document->parseErrorReason();
    return m_document->parseErrorReason().isEmpty();
}

bool XMLDatabase::openTempDBValidate(const QString &path)
{
    auto document = std::make_unique<XmlDocument>();
    if (!document->load(path))
        return false;
    m_importDocument = std::move(document);
    return true;
}

QString XMLDatabase::newIdentifier(const char *prefix, QLatin1String elementName) const
{
    if (!m_document || !m_document->isLoaded())
        return {};
    // The first free number from the count plus one; past the last number, the first
    // free one from 1: the database is full only when every number is in use.
    const QString kind = QLatin1String(prefix);
    const int n = m_document->firstFreeIdentifierNumber(kind, m_document->countElements(elementName) + 1);
    return n ? kind + QString::number(n) : QString();
}

QString XMLDatabase::getNewTID() const
{
    return newIdentifier("T", tag::Folder);
}

QString XMLDatabase::getNewWID() const
{
    return newIdentifier("W", tag::Vardeck);
}

QString XMLDatabase::getVDAsFormattedString(const QString &wid) const
{
    const XmlNode vd = m_document ? m_document->nodeFromID(wid) : XmlNode();
    const QString para = QStringLiteral("\r\n\r\n");
    const XmlNode size = vd.child(tag::FileSize);
    QString out;
    out += QLatin1String("Name: ") + vd.childText(tag::Name) + para;
    out += QLatin1String("Address: ") + vd.childText(tag::Address) + para;
    out += QLatin1String("Description: ") + vd.childText(tag::Description) + para;
    out += QLatin1String("File size:") + (size ? size.text() : QStringLiteral(" ")) + para;
    out += QLatin1String("Notes: ") + vd.childText(tag::Notes) + para;
    out += QLatin1String("Keywords: ") + vd.childText(tag::Keyword1) + QLatin1String("\r\n");
    return out;
}

QString XMLDatabase::field(const QString &wid, QLatin1String child, bool *ok) const
{
    const XmlNode node = m_document ? m_document->nodeFromID(wid).child(child) : XmlNode();
    if (ok)
        *ok = !node.isNull();
    return node.text();
}

QString XMLDatabase::getVDName(const QString &wid, bool *ok) const
{
    return field(wid, tag::Name, ok);
}
QString XMLDatabase::getVDAddress(const QString &wid, bool *ok) const
{
    return field(wid, tag::Address, ok);
}
QString XMLDatabase::getVDDescription(const QString &wid, bool *ok) const
{
    return field(wid, tag::Description, ok);
}
QString XMLDatabase::getVDNotes(const QString &wid, bool *ok) const
{
    return field(wid, tag::Notes, ok);
}
QString XMLDatabase::getVDKeywords(const QString &wid, bool *ok) const
{
    return field(wid, tag::Keyword1, ok);
}

SaveOutcome XMLDatabase::save(const StepRunner &runWrite, OnKeep onKeep)
{
    if (!m_document || !m_document->isLoaded())
        return {.reason = QStringLiteral("No database is open.")};
    const QString path = savePath();
    // Nor can one write while another copy of the program has the file.
    QString reason;
    if (!m_claim.allowsWrite(path, &reason)) {
        m_unsavedChanges = true;
        return {.reason = reason};
    }
    // Every save passes here, so none can write over another program's change unasked.
    if (fileChangedOnDisk()) {
        if (!m_changedFileQuestion || !m_changedFileQuestion(path, onKeep)) {
            m_unsavedChanges = true;
            return {.kind = m_changedFileQuestion ? SaveOutcome::Kind::KeptByUser : SaveOutcome::Kind::Failed,
                    .reason = changedOnDiskMessage(path)};
        }
        replaceChangedFile();
    }
    FileStamp saved;
    bool written = false;
    const auto write = [&] { written = m_document->save(path, &reason, &saved); };
    if (runWrite)
        runWrite(write);
    else
        write();
    m_unsavedChanges = !written;
    if (!written)
        return {.reason = reason};
    m_knownStamp = saved;
    m_knownPath = path;
    return {.kind = SaveOutcome::Kind::Written};
}

bool XMLDatabase::fileChangedOnDisk() const
{
    if (m_knownStamp.isNull() || savePath() != m_knownPath)
        return false;
    const FileStamp now = FileStamp::takeOfPath(m_knownPath);
    if (now.isNull())
        return false;
    if (!now.sameButChangeTime(m_knownStamp))
        return true;
    if (now.changedNs == m_knownStamp.changedNs && m_knownStamp.decisive)
        return false;
    // The stamp cannot tell (a write within the tick of the last one may have left it
    // as it was), or only the change time moved (a change of mode or links, or a
    // rewrite whose times were put back): the content decides. A file that holds what
    // was known is known again as it is now, and from now on its stamp decides alone
    // if the one just read can.
    if (!m_knownStamp.sameContent(m_knownPath))
        return true;
    m_knownStamp.changedNs = now.changedNs;
    m_knownStamp.decisive = m_knownStamp.decisive || now.decisive;
    return false;
}

void XMLDatabase::replaceChangedFile()
{
    // The file as it is now, its content read after its stamp: the next save writes
    // over it, and over nothing changed since.
    FileStamp now = FileStamp::takeOfPath(m_knownPath);
    if (now.isNull())
        return;
    now.digest = ContentDigest::ofFile(m_knownPath);
    m_knownStamp = now;
}

QString XMLDatabase::changedOnDiskMessage(const QString &path)
{
    return QStringLiteral("%1 was changed by another program after it was read, so it was not written over.").arg(path);
}

QByteArray XMLDatabase::newDatabaseText()
{
    return QByteArrayLiteral("<?xml version='1.0'?>\r\n"
                             "<!DOCTYPE FOLDERS SYSTEM 'Vardecks.dtd'>\r\n"
                             "<FOLDERS>\r\n"
                             "</FOLDERS>\r\n");
}

bool XMLDatabase::createDatabaseFile(const QString &path, QString *error)
{
    return writeFileAtomically(path, newDatabaseText(), error);
}

} // namespace rr
