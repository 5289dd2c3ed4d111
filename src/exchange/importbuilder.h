#pragma once
// The only writers of the folders and Vardecks that the Favorites, bookmark-file and
// PDF imports add to the open database. They change the document in memory only:
// the import saves once at its end, or, when it cannot finish, takes back everything
// it added with rollback so that the document again matches the file on disk.
//
// A FOLDER is TID, then NAME, VARDECKS, SUBFOLDERS. A VARDECK is WID, then NAME,
// ADDRESS, CREATED_DATE, DESCRIPTION, NOTES, KEYWORD1, KEYWORD2, FILESIZE, HITS and
// FAV "FALSE", in that order (NOTES before KEYWORD1), all but NAME, ADDRESS, the
// date and FAV empty.
//
// New identifiers are the database's own (getNewTID, getNewWID): never one in use,
// and found without probing every number in use again for each item.
#include "exchange/importprogress.h"
#include "platform/xmldocument.h"

#include <QDate>
#include <QStringList>
#include <functional>
#include <optional>

namespace rr
{

class XMLDatabase;

enum class Numbered { Folders, Vardecks };

// Why an import stops when the folder or Vardeck numbers run out. held: how many the
// database had before the import; importing: how many the import holds (at least
// that many when atLeast). A database that had no number left before is told so;
// otherwise the import is more than the database can number.
QString numbersUsedUpReason(Numbered kind, int held, int importing, bool atLeast = false);

// The note of an import that put count folders nested more than kMaxFolderLevels deep
// at the deepest level, beside the deepest folder, with all they hold.
QString movedFoldersNote(const QString &path, int count);

class ImportBuilder
{
public:
    explicit ImportBuilder(XMLDatabase &db, ImportProgress *progress = nullptr);

    // The day written as CREATED_DATE (today unless set).
    void setToday(const QDate &date) { m_today = date; }
    // Called for every Vardeck created, with its WID and stored address.
    std::function<void(const QString &wid, const QString &address)> onVardeckCreated;

    // The name an import gives a folder or a Vardeck: on one line (singleLineText)
    // without the blanks around it.
    static QString importedName(const QString &name);
    // The address an import keeps: as the file gives it, byte for byte ("%20" stays
    // "%20"), on one line, without the blanks and control characters around it. A link
    // for which it is "" makes no Vardeck, and the import counts it as passed over.
    static QString importedAddress(const QString &address);

    // A folder named name, last in the SUBFOLDERS of the folder parentTID, or last
    // at the top level when parentTID is "" (then topTID becomes its TID). A null
    // node, with error() set, when it cannot be made.
    XmlNode createFolderNode(const QString &name, const QString &parentTID);
    // A Vardeck last in the folder's VARDECKS, its address as importedAddress gives it,
    // created on the day given (today when that is not a valid day); a null node, with
    // error() set, when it cannot be made. The caller counts it.
    XmlNode createVDNode(const XmlNode &folder, const QString &name, const QString &address,
                         const QDate &created = QDate());

    // The folder walk's stack of parent TIDs: push appends tid count times (nothing
    // for a count of 0 or less); pop takes the last one ("" when empty).
    void pushParentTID(int count, const QString &tid);
    QString popParentTID();
    const QStringList &parentTIDStack() const { return m_parentTIDStack; }

    QString topTID() const { return m_topTID; }
    // The top-level folders made, in the order they were made.
    const QStringList &createdTopTIDs() const { return m_createdTopTIDs; }
    QString error() const { return m_error; }
    const QStringList &createdWIDs() const { return m_createdWIDs; }
    // Which numbers ran out, when that is what stopped the import.
    std::optional<Numbered> numbersUsedUp() const { return m_usedUp; }
    // The reason for the numbers that ran out, once the caller knows how many of
    // that kind the whole import holds (error() says "at least" the ones asked for).
    QString usedUpReason(int importing) const;

    // Removes every top-level folder this builder created, with all it holds; the
    // database then holds an unsaved change only if it did before the import.
    void rollback();

    // The counts of the running import (the callers count).
    int importVDCount = 0;
    int importFolderCount = 0;
    int importFavsCount = 0;

private:
    bool fail(const QString &reason);
    void failNumbersUsedUp(Numbered kind, const XmlDocument &doc, int created);

    XMLDatabase &m_db;
    ImportProgress *m_progress;
    bool m_unsavedBefore = false;
    QDate m_today;
    QString m_topTID;
    QString m_error;
    QStringList m_parentTIDStack;
    QStringList m_createdTopTIDs;
    QStringList m_createdWIDs;
    int m_createdFolders = 0;
    // Which numbers ran out, and how many of that kind the database had before the import.
    std::optional<Numbered> m_usedUp;
    int m_heldBefore = 0;
};

} // namespace rr
