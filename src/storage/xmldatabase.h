#pragma once
// The handle of one open database: its path, its parsed document (handed to every
// window that reads or edits the collection), new folder and Vardeck identifiers,
// and a Vardeck's fields as text. Windows edit the document in place and save the
// whole file right after each change. A file that another program changed or
// replaced since it was read (or last saved here) is not overwritten unless the user
// says so: every save looks at the file before it writes (one stat; its content only
// when the stamp cannot tell, or nothing but its change time moved) and, when it
// changed, asks the question the window installed on this handle; without one, or on
// No, the save writes nothing.
#include "platform/xmldocument.h"
#include "storage/databaseclaim.h"
#include "storage/saveoutcome.h"

#include <QString>
#include <functional>
#include <memory>

namespace rr
{

class XMLDatabase
{
public:
    XMLDatabase();
    ~XMLDatabase();

    QString getPath() const { return m_path; }
    // The folder of the database file, with its trailing separator.
    QString getBasePath() const;
    void setPath(const QString &path) { m_path = path; }

    // The database document (null before openDBValidate) and the document of a
    // database being imported (null until openTempDBValidate succeeds).
    XmlDocument *getTheDOM() const { return m_document.get(); }
    XmlDocument *getTheTempDOM() const { return m_importDocument.get(); }

    // Loads the file into a new document; true when it was read whole. A failed
    // document stays (empty, with its parse error reason), and reason says why.
    bool openDBValidate(const QString &path, QString *reason = nullptr);
    // Loads the file into the import document; a failed load keeps the earlier one.
    bool openTempDBValidate(const QString &path);
    QString loadedPath() const { return m_loadedPath; }

    // A free identifier: the first free number from the count of such elements plus
    // one, or past 32767 the first free number from 1; "" only when all 32767 are in
    // use (nothing is added then).
    QString getNewTID() const;
    QString getNewWID() const;

    QString getVDAsFormattedString(const QString &wid) const;
    // Field getters; ok is false when the Vardeck or the child does not exist.
    QString getVDName(const QString &wid, bool *ok = nullptr) const;
    QString getVDAddress(const QString &wid, bool *ok = nullptr) const;
    QString getVDDescription(const QString &wid, bool *ok = nullptr) const;
    QString getVDNotes(const QString &wid, bool *ok = nullptr) const;
    QString getVDKeywords(const QString &wid, bool *ok = nullptr) const;

    // What becomes of the change when the user keeps a file that changed on disk: it
    // stays in memory for the next save, or the caller takes it back (an import or a
    // merge, which cannot stay half done).
    enum class OnKeep { ChangeStays, ChangeTakenBack };
    // The question a save asks when the file changed on disk (fileChangedOnDisk),
    // with the file's path and what No does to the change: true writes the database
    // over it.
    using ChangedFileQuestion = std::function<bool(const QString &path, OnKeep onKeep)>;
    void setChangedFileQuestion(ChangedFileQuestion question) { m_changedFileQuestion = std::move(question); }
    // Runs the writing of the file, for a caller that wants it done elsewhere (beside
    // the window's events); it runs the step once and returns when it is done.
    using StepRunner = std::function<void(const std::function<void()> &step)>;

    // Writes the whole document to getPath() atomically and says what became of it.
    // One not written leaves the previous file on disk and the change in memory. A file
    // that changed on disk is written over only when the installed question says so
    // (No: KeptByUser; no question: Failed); the question is asked on the caller's
    // thread before the write, which runs through runWrite when one is given, and says
    // what No does to the change.
    SaveOutcome save(const StepRunner &runWrite = {}, OnKeep onKeep = OnKeep::ChangeStays);
    // The file a save writes.
    QString savePath() const { return m_path.isEmpty() ? m_loadedPath : m_path; }
    // True when the file at savePath() is no longer the one this database read or
    // last saved: another program changed or replaced it (platform/filestamp.h says
    // what tells). A change of its mode or links alone, and a file removed meanwhile,
    // are no change (a save writes it again).
    bool fileChangedOnDisk() const;
    // The user's answer to a change on disk: the next save writes over the file as it
    // is now.
    void replaceChangedFile();
    // True after a save that did not write, until one does: the document holds a
    // change that the file does not.
    bool hasUnsavedChanges() const { return m_unsavedChanges; }
    // A change that was taken back from the document (an import that could not be
    // saved) leaves it as it was before: unsaved only if it was then.
    void changeTakenBack(bool unsavedBefore) { m_unsavedChanges = unsavedBefore; }

    // Keeps other copies of the program from writing the file while this handle has it
    // open, and this handle from writing it while another copy has it (databaseclaim.h):
    // the window's handle claims the file it opens; a handle made to read does not.
    DatabaseClaim::State claimFile() { return m_claim.claim(savePath()); }
    void releaseFile() { m_claim.release(); }
    // True while another copy of the program has the claimed file: saves are refused.
    bool isReadOnlyHere() const { return m_claim.state() == DatabaseClaim::State::HeldElsewhere; }

    // Why a save did not write over the file at path: another program changed it.
    static QString changedOnDiskMessage(const QString &path);

    // Writes the four lines of a new, empty database, replacing any file there.
    static bool createDatabaseFile(const QString &path, QString *error = nullptr);
    static QByteArray newDatabaseText();

private:
    QString newIdentifier(const char *prefix, QLatin1String elementName) const;
    QString field(const QString &wid, QLatin1String child, bool *ok) const;

    std::unique_ptr<XmlDocument> m_document;
    std::unique_ptr<XmlDocument> m_importDocument;
    QString m_loadedPath;
    QString m_path;
    bool m_unsavedChanges = false;
    ChangedFileQuestion m_changedFileQuestion;
    DatabaseClaim m_claim;
    // The file as this database last read or wrote it, and its path. Looking at the
    // file refreshes what is known of it when its content proves it unchanged.
    mutable FileStamp m_knownStamp;
    QString m_knownPath;
};

} // namespace rr
