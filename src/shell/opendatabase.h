#pragma once
// The database the main window shows, and the one way to it: the handle (saving, new
// identifiers, the paths) through * and ->, its document through document(), its
// folders and Vardecks by identifier, its file name through name(). A database is open
// from the moment a handle whose file was read whole is handed over (open) until the
// window closes it; nothing else says so (not a status panel, not a second pointer to
// the document, not a copy of its name).
#include "storage/record.h"
#include "storage/xmldatabase.h"

#include <memory>

namespace rr
{

class OpenDatabase
{
public:
    bool isOpen() const;
    // The handle; only while isOpen().
    XMLDatabase &operator*() const { return *m_db; }
    XMLDatabase *operator->() const { return m_db.get(); }
    // The handle, nullptr when none is open.
    XMLDatabase *get() const { return isOpen() ? m_db.get() : nullptr; }
    // The document, nullptr when none is open.
    XmlDocument *document() const;
    // The FOLDER with this TID, the VARDECK with this WID (surrounding blanks
    // ignored); a null node when there is none or no database is open.
    XmlNode folder(const QString &tid) const { return element(tid, tag::Folder); }
    XmlNode vardeck(const QString &wid) const { return element(wid, tag::Vardeck); }

    // The open database's file name in its folder, "Vardecks.xml" (its stem names the
    // icon and thumbnail folders); "" while none is open.
    const QString &name() const { return m_name; }
    // The file name of the database open now or, after a close, of the one open last
    // ("" before the first): what the next start opens when the options say "Most
    // recent database".
    const QString &mostRecentName() const { return m_mostRecentName; }

    // Takes over a handle whose file has been read, with the file's name; the one open
    // before goes. Every save of the handle asks the user before it writes over a file
    // another program changed. The handle claims the file: while another copy of the
    // program has it, the handle is read-only (XMLDatabase::isReadOnlyHere).
    void open(std::unique_ptr<XMLDatabase> loaded, const QString &name);
    void close()
    {
        m_db.reset();
        m_name.clear();
    }

private:
    XmlNode element(const QString &id, const QString &elementName) const;

    std::unique_ptr<XMLDatabase> m_db;
    QString m_name;
    QString m_mostRecentName;
};

} // namespace rr
