#pragma once
// A small database of chosen Vardecks in a temporary home, opened through the
// database object, with scripted prompts and clean recent and search lists.
#include "storage/lists.h"
#include "storage/xmldatabase.h"
#include "support/dbfixture.h"
#include "support/testenv.h"

#include <QFile>
#include <QList>
#include <QString>
#include <gtest/gtest.h>

namespace rr::test
{

// A Vardeck with every field; the setters chain: Vd("W1").name("x").notes("y").
class Vd
{
public:
    explicit Vd(const QString &wid) : m_wid(wid) {}
#define RR_VD_FIELD(setter, member)                                                                                    \
    Vd &setter(const QString &value)                                                                                   \
    {                                                                                                                  \
        member = value;                                                                                                \
        return *this;                                                                                                  \
    }
    RR_VD_FIELD(name, m_name)
    RR_VD_FIELD(address, m_address)
    RR_VD_FIELD(created, m_created)
    RR_VD_FIELD(description, m_description)
    RR_VD_FIELD(keyword1, m_keyword1)
    RR_VD_FIELD(notes, m_notes)
    RR_VD_FIELD(keyword2, m_keyword2)
    RR_VD_FIELD(hits, m_hits)
    RR_VD_FIELD(fav, m_fav)
#undef RR_VD_FIELD

    QByteArray xml() const
    {
        auto field = [](const char *tag, const QString &text) {
            return QByteArray("<") + tag + ">" + text.toHtmlEscaped().toUtf8() + "</" + tag + ">";
        };
        return "<VARDECK WID=\"" + m_wid.toUtf8() + "\">" + field("NAME", m_name) + field("ADDRESS", m_address) +
               field("CREATED_DATE", m_created) + field("DESCRIPTION", m_description) + field("KEYWORD1", m_keyword1) +
               field("NOTES", m_notes) + field("KEYWORD2", m_keyword2) + field("FILESIZE", QStringLiteral("12")) +
               field("HITS", m_hits) + field("FAV", m_fav) + "</VARDECK>";
    }

private:
    QString m_wid;
    QString m_name = QStringLiteral("name");
    QString m_address = QStringLiteral("http://a.example/");
    QString m_created = QStringLiteral("06 Dec 2026");
    QString m_description = QStringLiteral("d");
    QString m_keyword1 = QStringLiteral("k");
    QString m_notes = QStringLiteral("n");
    QString m_keyword2;
    QString m_hits = QStringLiteral("1");
    QString m_fav = QStringLiteral("FALSE");
};

inline QByteArray vardecksXml(const QList<Vd> &vardecks)
{
    QByteArray out;
    for (const Vd &vd : vardecks)
        out += vd.xml();
    return out;
}

class FindingTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        recentColl.clear();
        searchColl.clear();
        recentMax = 15;
        searchMax = 15;
    }
    void TearDown() override
    {
        recentColl.clear();
        searchColl.clear();
        recentMax = 15;
        searchMax = 15;
    }

    // One folder T1 holding the Vardecks, and a second folder T2 with a sub-folder
    // T3 holding more, so that document order crosses folders.
    void open(const QList<Vd> &first, const QList<Vd> &nested = {})
    {
        const QByteArray body = "<FOLDERS>" + folderXml("T1", "First", vardecksXml(first)) +
                                folderXml("T2", "Second", {}, folderXml("T3", "Inner", vardecksXml(nested))) +
                                "</FOLDERS>";
        m_path = writeDatabase(m_home.databaseFolder(), "Vardecks.xml", body);
        m_db.setPath(m_path);
        ASSERT_TRUE(m_db.openDBValidate(m_path)) << qPrintable(m_db.getTheDOM()->parseErrorReason());
    }

    XmlDocument *doc() const { return m_db.getTheDOM(); }
    XmlNode vardeck(const QString &wid) const { return doc()->nodeFromID(wid); }
    QByteArray fileBytes() const { return readBytes(m_path); }
    // The document as the file on disk holds it now.
    XmlDocument *reread()
    {
        m_reread = std::make_unique<XmlDocument>();
        EXPECT_TRUE(m_reread->load(m_path));
        return m_reread.get();
    }

    TempHome m_home;
    ScriptedPrompts m_prompts;
    XMLDatabase m_db;
    QString m_path;
    std::unique_ptr<XmlDocument> m_reread;
};

} // namespace rr::test
