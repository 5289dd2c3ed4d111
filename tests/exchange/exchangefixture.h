#pragma once
// An open database in a temporary home, and folder subtrees as one compact literal:
// Name[Vardeck=address,…]{sub-folders…}.
#include "storage/xmldatabase.h"
#include "support/dbfixture.h"

#include <gtest/gtest.h>
#include <ostream>

QT_BEGIN_NAMESPACE
inline void PrintTo(const QString &text, std::ostream *os)
{
    *os << '"' << text.toStdString() << '"';
}
QT_END_NAMESPACE

namespace rr::test
{

inline QString folderText(const XmlNode &folder)
{
    QStringList vardecks;
    for (const XmlNode &v : folder.child("VARDECKS").childElements())
        vardecks << v.childText("NAME") + "=" + v.childText("ADDRESS");
    QStringList subs;
    for (const XmlNode &f : folder.child("SUBFOLDERS").childElements())
        subs << folderText(f);
    return folder.childText("NAME") + "[" + vardecks.join(",") + "]{" + subs.join(" ") + "}";
}

// Every entry below dir, as relative paths, sorted ("a/", "a/b.url").
inline QStringList treeListing(const QString &dir)
{
    QStringList out;
    const QDir base(dir);
    for (const QFileInfo &e :
         base.entryInfoList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot)) {
        if (e.isDir() && !e.isSymLink()) {
            out << e.fileName() + "/";
            for (const QString &sub : treeListing(e.filePath()))
                out << e.fileName() + "/" + sub;
        } else {
            out << e.fileName();
        }
    }
    out.sort();
    return out;
}

struct OpenDb {
    TempHome home;
    XMLDatabase db;
    QString path;

    explicit OpenDb(const QByteArray &body = "<FOLDERS>" + folderXml("T1", "Mine", vardeckXml("W1", "One")) +
                                             "</FOLDERS>")
    {
        path = writeDatabase(home.databaseFolder(), "Vardecks.xml", body);
        db.setPath(path);
        EXPECT_TRUE(db.openDBValidate(path));
    }
    // The collection of tests/data/exchange/name, opened from the database folder.
    static OpenDb fromDataFile(const QString &name)
    {
        const QByteArray text = readBytes(dataFile("exchange/" + name));
        return OpenDb(text.mid(text.indexOf("<FOLDERS>")));
    }
    XmlDocument &doc() const { return *db.getTheDOM(); }
    // The same database read back from the file on disk.
    std::unique_ptr<XMLDatabase> reread() const
    {
        auto fresh = std::make_unique<XMLDatabase>();
        EXPECT_TRUE(fresh->openDBValidate(path));
        return fresh;
    }
};

} // namespace rr::test
