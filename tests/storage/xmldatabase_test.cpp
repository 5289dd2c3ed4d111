#include "platform/atomicfile.h"
#include "storage/datetext.h"
#include "storage/session.h"
#include "storage/vardeckmodule.h"
#include "storage/xmldatabase.h"
#include "support/dbfixture.h"
#include "support/testenv.h"

#include <QLocale>
#include <gtest/gtest.h>

#include <functional>

using namespace rr;

namespace
{

// Adds a folder the way the folder dialog does: a new TID, NAME, VARDECKS, SUBFOLDERS.
QString addFolder(XMLDatabase &db, const QString &name)
{
    const QString tid = db.getNewTID();
    XmlDocument *doc = db.getTheDOM();
    XmlNode folder = doc->createElement("FOLDER");
    folder.setAttribute("TID", tid);
    folder.appendChild(doc->createTextElement("NAME", name));
    folder.appendChild(doc->createElement("VARDECKS"));
    folder.appendChild(doc->createElement("SUBFOLDERS"));
    doc->documentElement().appendChild(folder);
    return tid;
}

} // namespace

TEST(XMLDatabase, newDatabaseIsTheFourLinesAndItsIdentifiersAreCountPlusOneThenProbed)
{
    test::TempHome home;
    const QString folder = home.databaseFolder();
    test::writeDatabase(folder, "unused.xml", "<FOLDERS/>");
    const QString path = folder + "New.xml";
    ASSERT_TRUE(XMLDatabase::createDatabaseFile(path));
    EXPECT_EQ(test::readBytes(path), QByteArray("<?xml version='1.0'?>\r\n<!DOCTYPE FOLDERS SYSTEM 'Vardecks.dtd'>\r\n"
                                                "<FOLDERS>\r\n</FOLDERS>\r\n"));
    XMLDatabase db;
    db.setPath(path);
    EXPECT_EQ(db.getBasePath(), folder) << "the folder of the actual path, whatever the database's name";
    ASSERT_TRUE(db.openDBValidate(path));
    EXPECT_FALSE(db.getTheDOM()->documentElement().firstChild());
    EXPECT_EQ(db.getNewWID(), "W1");

    // Identifiers are the count plus one, then probed upwards until free.
    EXPECT_EQ(addFolder(db, "a"), "T1");
    EXPECT_EQ(addFolder(db, "b"), "T2");
    EXPECT_EQ(addFolder(db, "c"), "T3");
    XmlNode root = db.getTheDOM()->documentElement();
    root.removeChild(db.getTheDOM()->nodeFromID("T2"));
    EXPECT_EQ(addFolder(db, "d"), "T4"); // count 2: T3 is taken, T4 is free
    root.removeChild(db.getTheDOM()->nodeFromID("T4"));
    root.removeChild(db.getTheDOM()->nodeFromID("T3"));
    EXPECT_EQ(addFolder(db, "f"), "T2"); // count 1: T2 is free again

    // The rule holds after a save and re-open too.
    ASSERT_TRUE(db.save().written());
    XMLDatabase reopened;
    ASSERT_TRUE(reopened.openDBValidate(path));
    EXPECT_EQ(reopened.getNewTID(), "T3");
}

TEST(XMLDatabase, pastTheLastNumberIdentifiersGoOnFromOneAndOnlyADatabaseWithEveryNumberInUseIsFull)
{
    test::TempHome home;
    // Every folder number and every Vardeck number in use.
    QByteArray vardecks;
    for (int i = 1; i <= 32767; ++i)
        vardecks += "<VARDECK WID=\"W" + QByteArray::number(i) + "\"/>";
    QByteArray folders;
    for (int i = 2; i <= 32767; ++i)
        folders += "<FOLDER TID=\"T" + QByteArray::number(i) + "\"/>";
    const QString path =
        test::writeDatabase(home.databaseFolder(), "full.xml",
                            "<FOLDERS>" + test::folderXml("T1", "All", vardecks) + folders + "</FOLDERS>");
    XMLDatabase db;
    ASSERT_TRUE(db.openDBValidate(path));
    XmlDocument *doc = db.getTheDOM();
    EXPECT_EQ(db.getNewWID(), "");
    EXPECT_EQ(db.getNewTID(), "");

    for (const char *kind : {"W", "T"}) {
        SCOPED_TRACE(kind);
        const auto remove = [&](int n) {
            const XmlNode node = doc->nodeFromID(kind + QString::number(n));
            node.parentNode().removeChild(node);
        };
        const auto add = [&](const QString &id) {
            XmlNode node = doc->createElement(kind == QLatin1String("W") ? "VARDECK" : "FOLDER");
            (kind == QLatin1String("W") ? doc->nodeFromID("T1").child("VARDECKS") : doc->documentElement())
                .appendChild(node);
            node.setAttribute(kind == QLatin1String("W") ? "WID" : "TID", id);
        };
        const auto next = [&] { return kind == QLatin1String("W") ? db.getNewWID() : db.getNewTID(); };
        // One deleted: the count plus one is the last number, in use; the freed one is next.
        remove(200);
        EXPECT_EQ(next(), kind + QString("200"));
        add(next());
        EXPECT_EQ(next(), "");
        // Deleted near the end: the first free number from the count plus one comes
        // first, and past the last number the first free one from 1.
        remove(32767);
        remove(300);
        remove(7);
        EXPECT_EQ(next(), kind + QString("32767")) << "count 32764: 32765 and 32766 are taken";
        remove(32766);
        EXPECT_EQ(next(), kind + QString("32766")) << "count 32763: 32764 and 32765 are taken";
        add(next());
        EXPECT_EQ(next(), kind + QString("32767"));
        add(next());
        EXPECT_EQ(next(), kind + QString("7"));
        add(next());
        EXPECT_EQ(next(), kind + QString("300"));
        add(next());
        EXPECT_EQ(next(), "");
    }
    // A renumbered element gives its old number back at once.
    doc->nodeFromID("W5").setAttribute("WID", "W40000");
    EXPECT_EQ(db.getNewWID(), "W5");
    EXPECT_EQ(doc->countElements("VARDECK"), 32767);
}

TEST(XMLDatabase, aFileAnotherProgramChangedOrReplacedIsNotWrittenOverUntilAskedToAndOurOwnSavesAreNoChange)
{
    test::TempHome home;
    const QString path =
        test::writeDatabase(home.databaseFolder(), "db.xml", "<FOLDERS>" + test::folderXml("T1", "F") + "</FOLDERS>");
    XMLDatabase db;
    db.setPath(path);
    ASSERT_TRUE(db.openDBValidate(path));
    const auto rename = [&db](const QString &name) { db.getTheDOM()->nodeFromID("T1").setChildText("NAME", name); };
    for (const char *name : {"ours", "ours again"}) {
        rename(name);
        ASSERT_TRUE(db.save().written());
        EXPECT_FALSE(db.fileChangedOnDisk());
    }

    const QByteArray theirs = "<?xml version='1.0'?><FOLDERS><FOLDER TID=\"T1\"><NAME>theirs</NAME></FOLDER></FOLDERS>";
    const std::pair<const char *, std::function<void()>> otherPrograms[] = {
        {"replaced", [&] { writeFileAtomically(path, theirs); }},
        {"changed in place",
         [&] {
             QFile file(path);
             file.open(QIODevice::Append);
             file.write("<!-- theirs -->");
         }},
    };
    for (const auto &[how, otherProgram] : otherPrograms) {
        SCOPED_TRACE(how);
        otherProgram();
        const QByteArray onDisk = test::readBytes(path);
        EXPECT_TRUE(db.fileChangedOnDisk());
        rename("kept in memory");
        const SaveOutcome kept = db.save();
        EXPECT_FALSE(kept.written());
        EXPECT_EQ(kept.reason, path + " was changed by another program after it was read, so it was not written over.");
        EXPECT_EQ(kept.kind, SaveOutcome::Kind::Failed) << "no question was installed to ask the user";
        EXPECT_TRUE(db.hasUnsavedChanges());
        EXPECT_EQ(test::readBytes(path), onDisk);
        EXPECT_EQ(db.getTheDOM()->nodeFromID("T1").childText("NAME"), "kept in memory");

        db.replaceChangedFile();
        const SaveOutcome replaced = db.save();
        ASSERT_TRUE(replaced.written());
        EXPECT_EQ(replaced.reason, "");
        XMLDatabase fresh;
        ASSERT_TRUE(fresh.openDBValidate(path));
        EXPECT_EQ(fresh.getTheDOM()->nodeFromID("T1").childText("NAME"), "kept in memory");
    }
    // A file removed meanwhile is simply written again.
    QFile::remove(path);
    EXPECT_FALSE(db.fileChangedOnDisk());
    EXPECT_TRUE(db.save().written());
    EXPECT_TRUE(QFile::exists(path));
}

TEST(XMLDatabase, failedOpenKeepsTheFailedDocumentAndEarlierImports)
{
    test::TempHome home;
    const QString good = test::writeDatabase(home.databaseFolder(), "good.xml",
                                             "<FOLDERS>" + test::folderXml("T1", "kept") + "</FOLDERS>");
    const QString bad = test::writeDatabase(home.databaseFolder(), "bad.xml", "<FOLDERS><FOLDER>");
    XMLDatabase db;
    EXPECT_FALSE(db.openDBValidate(bad));
    ASSERT_NE(db.getTheDOM(), nullptr);
    EXPECT_FALSE(db.getTheDOM()->parseErrorReason().isEmpty());
    EXPECT_EQ(db.loadedPath(), bad);

    ASSERT_TRUE(db.openTempDBValidate(good));
    EXPECT_FALSE(db.openTempDBValidate(bad));
    EXPECT_EQ(db.getTheTempDOM()->nodeFromID("T1").childText("NAME"), "kept");
    // The bad file is untouched: nothing ever writes a file that failed to parse.
    EXPECT_EQ(test::readBytes(bad),
              QByteArray("<?xml version='1.0'?>\r\n<!DOCTYPE FOLDERS SYSTEM 'Vardecks.dtd'>\r\n<FOLDERS><FOLDER>"));
}

TEST(XMLDatabase, fieldsAndRecordsReadByNameWhateverTheirOrder)
{
    test::TempHome home;
    const QByteArray writerOrder = test::vardeckXml("W1", "One", "http://one.example/");
    const QByteArray importOrder =
        "<VARDECK WID=\"W2\"><NAME>Two</NAME><ADDRESS>http://two.example/</ADDRESS><NOTES>line1\nline2</NOTES>"
        "<KEYWORD1>k1 k2</KEYWORD1><DESCRIPTION>Desc</DESCRIPTION></VARDECK><VARDECK "
        "WID=\"W3\"><NAME>x</NAME></VARDECK>";
    const QString path =
        test::writeDatabase(home.databaseFolder(), "Vardecks.xml",
                            "<FOLDERS>" + test::folderXml("T1", "F", writerOrder + importOrder) + "</FOLDERS>");
    XMLDatabase db;
    ASSERT_TRUE(db.openDBValidate(path));
    EXPECT_EQ(db.getVDNotes("W2"), "line1\nline2");
    EXPECT_EQ(db.getVDKeywords("W2"), "k1 k2");
    EXPECT_EQ(db.getVDAddress("W1"), "http://one.example/");

    EXPECT_EQ(db.getVDAsFormattedString("W1"),
              "Name: One\r\n\r\nAddress: http://one.example/\r\n\r\nDescription: d\r\n\r\nFile size:12\r\n\r\n"
              "Notes: n\r\n\r\nKeywords: k\r\n");
    // No FILESIZE: the label, one blank, then the paragraph break.
    EXPECT_EQ(db.getVDAsFormattedString("W2"),
              "Name: Two\r\n\r\nAddress: http://two.example/\r\n\r\nDescription: Desc\r\n\r\nFile size: \r\n\r\n"
              "Notes: line1\nline2\r\n\r\nKeywords: k1 k2\r\n");
    EXPECT_EQ(db.getVDAsFormattedString("W99"),
              "Name: \r\n\r\nAddress: \r\n\r\nDescription: \r\n\r\nFile size: \r\n\r\nNotes: \r\n\r\nKeywords: \r\n");

    bool ok = true;
    db.getVDName("W99", &ok);
    EXPECT_FALSE(ok);
    db.getVDDescription("W1", &ok);
    EXPECT_TRUE(ok);
}

TEST(VardeckModule, sideFilesAreNamedOnlyByWellFormedIdentifiers)
{
    EXPECT_EQ(iconFilePath("/db/", "Vardecks.xml", "W12"), "/db/icons/Vardecks/W12.ico");
    EXPECT_EQ(thumbFilePath("/db", "Vardecks.xml", "W32767"), "/db/thumbs/Vardecks/W32767.gif");
    for (const char *bad : {"", "W0", "W012", "../W1", "w1"})
        EXPECT_EQ(iconFilePath("/db/", "Vardecks.xml", bad), QString()) << bad;
    EXPECT_EQ(iconFilePath("/db/", ".xml", "W1"), QString());
    EXPECT_EQ(iconFilePath("/db/", "../x.xml", "W1"), QString());
}

// Every text is built the same whatever the locale the user runs.
TEST(DateText, createdDatesAndVisitStampsAreEnglishWhateverTheLocale)
{
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    EXPECT_EQ(createdDateText(QDate(2026, 3, 15)), "15 Mar 2026"); // "Mär" in the default locale
    EXPECT_EQ(createdDateText(QDate()), "");

    // Visit stamps add the time on a twelve-hour clock.
    const QDate day(2026, 12, 5);
    EXPECT_EQ(visitStampText(QDateTime(day, QTime(21, 5, 59))), "05 Dec 2026 09:05 PM");
    EXPECT_EQ(visitStampText(QDateTime(day, QTime(0, 1))), "05 Dec 2026 12:01 AM");
    EXPECT_EQ(visitStampText(QDateTime(day, QTime(12, 0))), "05 Dec 2026 12:00 PM");
    EXPECT_EQ(createdDateText(QDateTime(day, QTime(23, 59))), "05 Dec 2026");
    EXPECT_EQ(visitStampText(QDateTime()), "");
    QLocale::setDefault(QLocale::c());
}
