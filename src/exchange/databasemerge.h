#pragma once
// Merging another database file into the open one: every top-level folder of the
// other file, with all it holds, becomes a new top-level folder of the open
// database, and every folder and Vardeck brought in gets a fresh identifier.
//
// The other file is only read, never written, and no file is put beside it: its
// document type definition is taken from the open database's folder. A file whose
// root is not FOLDERS, or that declares entities of its own (the document loader
// refuses those), is refused. The other document is renumbered in memory to
// temporary identifiers first, its folders are then copied (never moved) into the
// open document and renumbered there; when any step fails, what was attached is
// removed again, so the open document is as it was.
//
// Every phase reports to the progress as it goes, so that its window can repaint at
// least every 50 ms; reading the file and releasing the other document, the two
// steps that cannot report, go through the progress's runLongStep. A cancel asked of
// the progress stops the merge at its next piece, and it is taken back.
#include "exchange/importprogress.h"
#include "platform/xmldocument.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <functional>

namespace rr
{

class XMLDatabase;

class DatabaseMerge
{
public:
    explicit DatabaseMerge(XMLDatabase &open, ImportProgress *progress = nullptr);

    // Called as each renumbering phase starts, with the progress window's caption and
    // the two captions of its name lines.
    std::function<void(const QString &caption, const QString &folderLabel, const QString &vardeckLabel)> onPhase;

    // Reads the other file and merges it into the open document (not saved). False
    // with error(); the open document is then unchanged.
    bool merge(const QString &otherPath);
    // Takes back a merge that cannot be saved; the database then holds an unsaved
    // change only if it did before the merge.
    void rollback();

    QString error() const { return m_error; }
    // True when the failure was in reading the other file (nothing was attached yet).
    bool readFailed() const { return m_readFailed; }
    int folderCount() const { return m_folders; }
    int vardeckCount() const { return m_vardecks; }
    // The identifiers the merged Vardecks were given.
    QStringList mergedWIDs() const;

private:
    bool fail(const QString &reason);
    // Copies a top-level folder of the other document to the end of parent, piece by
    // piece; false when a piece could not be copied.
    bool attachCopy(XmlDocument &doc, XmlNode parent, const XmlNode &folder);
    // Keeps node when it is a folder or a Vardeck.
    void noteCopied(_xmlNode *node);
    void runLongStep(const std::function<void()> &step);
    // The user cancelled the merge from its progress window.
    bool cancelled() const;
    bool renumber(const QList<XmlNode> &elements, const QString &prefix, const QString &attribute, int countBefore,
                  double barFrom);

    XMLDatabase &m_open;
    ImportProgress *m_progress;
    bool m_unsavedBefore = false;
    QList<XmlNode> m_attached;
    // Every folder and Vardeck copied, in document order.
    QList<XmlNode> m_copiedFolders;
    QList<XmlNode> m_copiedVardecks;
    QString m_error;
    bool m_readFailed = true;
    int m_folders = 0;
    int m_vardecks = 0;
};

} // namespace rr
