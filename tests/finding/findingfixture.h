#pragma once
// A small database of chosen Vardecks in a temporary home, with scripted prompts and clean lists.
#include "storage/session.h"
#include "storage/xmldatabase.h"
#include "support/dbfixture.h"
#include "support/testenv.h"

#include <functional>
#include <gtest/gtest.h>

namespace rr::test
{

// A Vardeck with every field; the setters chain: Vd("W1").name("x").notes("y").
class Vd
{
public:
    explicit Vd(const QString &wid) : m_wid(wid) {}
    Vd &name(const QString &text) { return set(0, text); }
    Vd &address(const QString &text) { return set(1, text); }
    Vd &created(const QString &text) { return set(2, text); }
    Vd &description(const QString &text) { return set(3, text); }
    Vd &notes(const QString &text) { return set(5, text); }
    Vd &keyword2(const QString &text) { return set(6, text); }
    Vd &hits(const QString &text) { return set(8, text); }
    Vd &fav(const QString &text) { return set(9, text); }

    QByteArray xml() const
    {
        static const char *const tags[] = {"NAME",  "ADDRESS",  "CREATED_DATE", "DESCRIPTION", "KEYWORD1",
                                           "NOTES", "KEYWORD2", "FILESIZE",     "HITS",        "FAV"};
        QByteArray out = "<VARDECK WID=\"" + m_wid.toUtf8() + "\">";
        for (int i = 0; i < m_texts.size(); ++i)
            out += QByteArray("<") + tags[i] + ">" + m_texts[i].toHtmlEscaped().toUtf8() + "</" + tags[i] + ">";
        return out + "</VARDECK>";
    }

private:
    Vd &set(int field, const QString &text)
    {
        m_texts[field] = text;
        return *this;
    }

    QString m_wid;
    QStringList m_texts = {"name", "http://a.example/", "06 Dec 2026", "d", "k", "n", "", "12", "1", "FALSE"};
};

// T1 "First" holds the first Vardecks; T2 "Second" has T3 "Inner" with the nested ones.
inline QByteArray foldersXml(const QList<Vd> &first, const QList<Vd> &nested)
{
    auto vardecks = [](const QList<Vd> &list) {
        QByteArray out;
        for (const Vd &vd : list)
            out += vd.xml();
        return out;
    };
    return "<FOLDERS>" + folderXml("T1", "First", vardecks(first)) +
           folderXml("T2", "Second", {}, folderXml("T3", "Inner", vardecks(nested))) + "</FOLDERS>";
}

// One text from each item of a list: texts(rows, &Row::name).
template <class List, class Text> QStringList texts(const List &list, Text text)
{
    QStringList out;
    for (const auto &item : list)
        out << std::invoke(text, item);
    return out;
}

// A field of a Vardeck as the file at path holds it.
inline QString onDisk(const QString &path, const QString &wid, const QString &field)
{
    XmlDocument disk;
    EXPECT_TRUE(disk.load(path));
    return disk.nodeFromID(wid).childText(field);
}

class FindingTest : public ::testing::Test
{
protected:
    void open(const QList<Vd> &first, const QList<Vd> &nested = {})
    {
        m_path = writeDatabase(m_home.databaseFolder(), "Vardecks.xml", foldersXml(first, nested));
        m_db.setPath(m_path);
        ASSERT_TRUE(m_db.openDBValidate(m_path)) << qPrintable(m_db.getTheDOM()->parseErrorReason());
    }

    XmlDocument *doc() const { return m_db.getTheDOM(); }
    XmlNode vardeck(const QString &wid) const { return doc()->nodeFromID(wid); }

    TempHome m_home;
    ScriptedPrompts m_prompts;
    XMLDatabase m_db;
    QString m_path;
};

} // namespace rr::test
