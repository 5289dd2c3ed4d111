// Bookmark files as the real programs write them, told apart by their content; files of
// other kinds refused with what they are; hostile files read in time proportional to
// their size; addresses kept byte for byte; the Chromium profiles found and imported
// each into its own folder; the bookmark file export read back by the import.
#include "exchange/bookmarkexport.h"
#include "exchange/bookmarkfile.h"
#include "exchange/bookmarkimport.h"
#include "exchange/chromiumprofiles.h"
#include "exchangefixture.h"
#include "platform/mozlz4.h"

#include <QElapsedTimer>

using namespace rr;
using namespace rr::test;

namespace
{

// Headings as "#n name@heading", links as "name=address@heading".
QStringList entryTexts(const QList<BookmarkEntry> &entries)
{
    QStringList out;
    int headings = 0;
    for (const BookmarkEntry &e : entries) {
        if (e.kind == BookmarkEntry::Kind::Heading)
            out << QStringLiteral("#%1 %2@%3").arg(headings++).arg(e.text).arg(e.heading);
        else
            out << QStringLiteral("%1=%2@%3").arg(e.text, e.address).arg(e.heading);
    }
    return out;
}

// The bookmark bar real Chromium was given (by an extension using its bookmarks API),
// as each file holds it: bar is the heading that holds it, first the number of the
// first heading inside it.
QStringList barEntries(int bar, int first)
{
    const auto in = [](int heading) { return QStringLiteral("@%1").arg(heading); };
    const auto level = [&](int n) { return QStringLiteral("#%1 Level %2").arg(first + n).arg(n); };
    return {
        "Plain=https://plain.example/" + in(bar),
        "Escaped blanks=https://example.com/a%20b/c%20d.html?q=a%20b&x=1#top" + in(bar),
        "Raw blank=https://example.com/raw%20space/%C3%A9?k=v%20w" + in(bar),
        QStringLiteral("#%1 News & Views <1>").arg(first) + in(bar),
        "AT&T \"quoted\" <b>bold</b>=https://att.example/?a=1&b=2&copy=3" + in(first),
        "Café 日本 🙂=https://xn--caf-dma.example/menu" + in(first),
        level(1) + in(first),
        "Deep 1=https://deep.example/1" + in(first + 1),
        level(2) + in(first + 1),
        "Deep 2=https://deep.example/2" + in(first + 2),
        level(3) + in(first + 2),
        "Deep 3=https://deep.example/3" + in(first + 3),
        level(4) + in(first + 3),
        "Deep 4=https://deep.example/4" + in(first + 4),
        level(5) + in(first + 4),
        "Deep 5=https://deep.example/5" + in(first + 5),
        level(6) + in(first + 5),
        "Deep 6=https://deep.example/6" + in(first + 6),
        "After the levels=https://after.example/" + in(first),
        QStringLiteral("#%1 ").arg(first + 7) + in(bar),
        "In a nameless folder=https://nameless.example/" + in(first + 7),
        "Document=file:///tmp/My%20Doc.pdf" + in(bar),
        "Bookmarklet=javascript:alert(%22hi%22)" + in(bar),
        "=https://no-name.example/" + in(bar),
    };
}

// The "Other bookmarks" of the same browser: in, the heading that holds them; padded,
// the number of the folder among them.
QStringList otherEntries(int in, int padded)
{
    return {QStringLiteral("Other link=https://other.example/%7Euser/@%1").arg(in),
            QStringLiteral("#%1   Padded name   @%2").arg(padded).arg(in),
            QStringLiteral("Inside padded=https://padded.example/@%1").arg(padded)};
}

// The address of the first Vardeck below a folder, in document order.
QString firstAddress(const XmlNode &folder)
{
    for (const XmlNode &vardeck : folder.child("VARDECKS").childElements())
        return vardeck.childText("ADDRESS");
    for (const XmlNode &sub :
         folder.nodeName() == "FOLDERS" ? folder.childElements() : folder.child("SUBFOLDERS").childElements()) {
        if (const QString address = firstAddress(sub); !address.isNull())
            return address;
    }
    return {};
}

struct RealFile {
    const char *name;
    BookmarkFormat format;
    QStringList entries;
};

void PrintTo(const RealFile &file, std::ostream *os)
{
    *os << file.name;
}

class RealBookmarkFile : public testing::TestWithParam<RealFile>
{
};

} // namespace

// Chromium 156 wrote its Bookmarks file and exported it as HTML; Firefox ESR 153 read
// that export into a fresh profile and wrote its own bookmarks.html, a compressed and a
// plain JSON backup; buku 4.7 exported five bookmarks. Each is read whole, whatever its
// name says.
TEST_P(RealBookmarkFile, isToldApartByItsContentAndReadWhole)
{
    const RealFile &file = GetParam();
    const QByteArray bytes = readBytes(dataFile(QStringLiteral("exchange/") + file.name));
    EXPECT_EQ(bookmarkFormatOf(bytes), file.format);
    // Under a name that says nothing.
    QTemporaryDir dir;
    writeBytes(dir.filePath("unnamed"), bytes);
    QList<BookmarkEntry> entries;
    QString error;
    ASSERT_TRUE(readBookmarkFile(dir.filePath("unnamed"), &entries, &error)) << error.toStdString();
    EXPECT_EQ(entryTexts(entries), file.entries);
}

INSTANTIATE_TEST_SUITE_P(
    Files, RealBookmarkFile,
    testing::Values(RealFile{"chromium-Bookmarks", BookmarkFormat::ChromiumJson,
                             QStringList{"#0 Bookmarks bar@-1"} + barEntries(0, 1) +
                                 QStringList{"#9 Other bookmarks@-1"} + otherEntries(9, 10)},
                    RealFile{"chromium-export.html", BookmarkFormat::Html,
                             QStringList{"#0 Bookmarks bar@-1"} + barEntries(0, 1) + otherEntries(-1, 9)},
                    RealFile{"firefox-esr-bookmarks.html", BookmarkFormat::Html,
                             otherEntries(-1, 0) + QStringList{"#1 Bookmarks Toolbar@-1"} + barEntries(1, 2)},
                    RealFile{"firefox-esr-backup.json", BookmarkFormat::FirefoxJson,
                             QStringList{"#0 Bookmarks Menu@-1"} + otherEntries(0, 1) +
                                 QStringList{"#2 Bookmarks Toolbar@-1"} + barEntries(2, 3)},
                    RealFile{"firefox-esr-backup.jsonlz4", BookmarkFormat::FirefoxJson,
                             QStringList{"#0 Bookmarks Menu@-1"} + otherEntries(0, 1) +
                                 QStringList{"#2 Bookmarks Toolbar@-1"} + barEntries(2, 3)},
                    RealFile{"buku-export.html",
                             BookmarkFormat::Html,
                             {"#0 buku bookmarks@-1", "Escaped & blanks =https://example.com/a%20b?x=1&y=2@0",
                              "Plain=https://plain.example/@0", "Café 日本=https://xn--caf-dma.example/menu@0",
                              "Document=file:///tmp/My%20Doc.pdf@0",
                              "AT&T \"quoted\"=https://att.example/?a=1&b=2&copy=3@0"}}));

TEST(BookmarkFile, aFileOfAnotherKindIsRefusedWithWhatItIs)
{
    const struct {
        QByteArray content;
        const char *what;
    } cases[] = {
        {"", "it is empty"},
        {" \r\n\t ", "it is empty"},
        {"%PDF-1.7\n%\xe2\xe3\n1 0 obj", "it is a PDF document, not a bookmark file"},
        {"PK\x03\x04\x14\0\0\0", "it is a ZIP archive, not a bookmark file"},
        {QByteArray("SQLite format 3\0\x10\0", 19), "it is an SQLite database, not a bookmark file"},
        {"\x1f\x8b\x08\0", "it is compressed with gzip, not a bookmark file"},
        {"\x89PNG\r\n\x1a\n", "it is a picture, not a bookmark file"},
        {QByteArray("\x01\x02\0\x03<dl>", 8), "it is not a text file, so not a bookmark file"},
        {mozlz4::compress(R"({"version":["sessionrestore",1],"windows":[{"tabs":[]}]})"),
         "it is a Firefox session (the pages that were open), not a bookmark backup"},
        {mozlz4::compress("{\"children\": [").left(20), "the compressed content is damaged"},
        {R"({"name":"not bookmarks","items":[]})",
         "it is JSON, but neither a Firefox bookmark backup nor a Chromium Bookmarks file"},
        {R"([{"uri":"https://a.example/"}])",
         "it is JSON, but neither a Firefox bookmark backup nor a Chromium Bookmarks file"},
        {"{\"roots\": {\"bookmark_bar\": ", "its JSON is damaged (unterminated object at byte 27)"},
        {"<?xml version='1.0'?><!DOCTYPE FOLDERS SYSTEM 'Vardecks.dtd'><FOLDERS></FOLDERS>",
         "it is a Vardecks database, which the import \"Another Vardecks database\" reads"},
        {"<html><body><p>No links at all</p></body></html>",
         "it is a web page or other markup that holds no bookmark list or link"},
        {"https://a.example/\nhttps://b.example/\n", "it is a text file that holds no bookmark list or link"},
    };
    QTemporaryDir dir;
    for (const auto &c : cases) {
        SCOPED_TRACE(c.what);
        QString what;
        EXPECT_EQ(bookmarkFormatOf(c.content, &what), BookmarkFormat::None);
        EXPECT_EQ(what, c.what);
        writeBytes(dir.filePath("bookmarks.html"), c.content);
        QList<BookmarkEntry> entries;
        QString error;
        EXPECT_FALSE(readBookmarkFile(dir.filePath("bookmarks.html"), &entries, &error));
        EXPECT_EQ(error, c.what);
        EXPECT_TRUE(entries.isEmpty());
    }
}

// Files made to stall a reader: each is read in a moment, with the links it holds.
TEST(BookmarkFile, aHostileHtmlFileIsReadInTimeProportionalToItsSize)
{
    const auto repeated = [](const QByteArray &piece, int times) {
        QByteArray out;
        out.reserve(piece.size() * times);
        for (int i = 0; i < times; ++i)
            out += piece;
        return out;
    };
    QByteArray attributes = "<DL><p><DT><A HREF=\"https://first.example/\"";
    for (int i = 0; i < 200000; ++i)
        attributes += " a" + QByteArray::number(i) + "=\"x\"";
    attributes += ">Many</A>";
    const struct {
        const char *what;
        QByteArray html;
        QStringList entries;
    } cases[] = {
        {"200,000 attributes in one tag (3.2 MB)",
         attributes + "<DT><A HREF=\"https://next.example/\">Next</A></DL>",
         {"Many=https://first.example/@-1", "Next=https://next.example/@-1"}},
        {"300,000 open elements, then as many end tags of an element never opened",
         "<DL>" + repeated("<div>", 300000) + repeated("</span>", 300000) + "<A HREF=x>After</A>",
         {"After=x@-1"}},
        {"300,000 lists under an element that cannot be closed, then their end tags",
         repeated("<DL>", 1000) + "<span>" + repeated("<DL><div>", 300000) + repeated("</span>", 300000) +
             "<DT><A HREF=y>Still</A>",
         {"Still=y@-1"}},
        {"a tag name of 3 MB", "<" + QByteArray(3000000, 'a') + " b=c><DL><DT><A HREF=z>Z</A>", {"Z=z@-1"}},
        {"an attribute value that never ends",
         "<DL><DT><A HREF=w>W</A><A HREF=\"" + QByteArray(3000000, 'q'),
         {"W=w@-1"}},
        {"a comment that never ends", "<DL><DT><A HREF=v>V</A><!--" + repeated("<A HREF=u>U</A>", 200000), {"V=v@-1"}},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.what);
        QElapsedTimer clock;
        clock.start();
        QList<BookmarkEntry> entries;
        EXPECT_TRUE(parseBookmarkHtml(c.html, &entries));
        EXPECT_LT(clock.elapsed(), 2000);
        EXPECT_EQ(entryTexts(entries), c.entries);
    }
}

// A browser's tokeniser decides what is a tag: quoted ">" and "<", comments, the text
// of SCRIPT, STYLE and TITLE, "<" before a blank, and a start tag that the file ends in.
TEST(BookmarkFile, markupIsTokenisedAsABrowserTokenisesIt)
{
    const struct {
        QByteArray html;
        QStringList entries;
    } cases[] = {
        {"<DL><DT><A TITLE='a > b' HREF=\"x?a>b\">Quoted</A></DL>", {"Quoted=x?a>b@-1"}},
        {"<DL><DT><A HREF=one HREF=two>First href</A></DL>", {"First href=one@-1"}},
        {"<DL><DT><A href = 'sp aced' >Blanks around</A></DL>", {"Blanks around=sp aced@-1"}},
        {"<DL><!-- <DT><A HREF=c>Commented</A> --><DT><A HREF=d>D</A></DL>", {"D=d@-1"}},
        {"<DL><!--><DT><A HREF=e>E</A></DL>", {"E=e@-1"}},
        {"<DL><script>document.write('<A HREF=s>Script</A>')</script><DT><A HREF=f>F</A></DL>", {"F=f@-1"}},
        {"<TITLE><A HREF=t>In the title</A></TITLE><DL><DT><A HREF=g>G</A></DL>", {"G=g@-1"}},
        {"<DL><DT><A HREF=h>1 < 2 & 3 <= 4</A></DL>", {"1 < 2 & 3 <= 4=h@-1"}},
        {"<DL><DT><A HREF=i>I</A><DT><A HREF=j", {"I=i@-1"}},
        {"<DL><DT><A HREF=k/>Empty link<DT><A HREF=l>L</A></DL>", {"Empty link=k/@-1", "L=l@-1"}},
        {"<DL><DT><A HREF=\"m\"/><DT><A HREF=n>N</A></DL>", {"=m@-1", "N=n@-1"}},
        {"<DL><DT><A HREF=o>Unclosed<DT><A HREF=p>Next</A></DL>", {"Unclosed=o@-1", "Next=p@-1"}},
        {"<DL><DT><H3>Folder<H1>Title</H1><DL><DT><A HREF=q>Q</A></DL></DL>", {"#0 Folder@-1", "Q=q@0"}},
        {QByteArray("<DL><DT><A HREF=\"r\0s\">Nu\0l</A></DL>", 35), {"Nul=rs@-1"}},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.html.toStdString());
        QList<BookmarkEntry> entries;
        EXPECT_TRUE(parseBookmarkHtml(c.html, &entries));
        EXPECT_EQ(entryTexts(entries), c.entries);
    }
}

// Every importer keeps an address as its file gives it: "%20" stays "%20", and only the
// blanks and control characters around it go; character references of HTML are its
// syntax and are decoded.
TEST(ImportBuilder, anImportedAddressIsKeptByteForByteWithNothingAroundIt)
{
    const struct {
        const char *given;
        const char *kept;
    } cases[] = {
        {"https://a.example/a%20b%2Fc?q=x+y&r=%7E#f%20g", "https://a.example/a%20b%2Fc?q=x+y&r=%7E#f%20g"},
        {" \t\r\n https://a.example/ \x01\x1f\x7f", "https://a.example/"},
        {"\xc2\x85\xc2\xa0https://a.example/x\xc2\x9f", "https://a.example/x"},
        {"file:///home/u/My%20Papers/a b.pdf", "file:///home/u/My%20Papers/a b.pdf"},
        {"https://a.example/line\nbreak", "https://a.example/line break"},
        {" \x02 ", ""},
    };
    for (const auto &c : cases)
        EXPECT_EQ(ImportBuilder::importedAddress(QString::fromUtf8(c.given)), QString::fromUtf8(c.kept)) << c.given;

    // The same address through each kind of file.
    const QString address = "https://a.example/a%20b?x=1&y=%22q%22";
    const struct {
        const char *kind;
        QByteArray file;
    } files[] = {
        {"HTML", "<DL><DT><A HREF=\" https://a.example/a%20b?x=1&amp;y=%22q%22\n\">A</A></DL>"},
        {"Firefox JSON", R"({"children":[{"title":"A","uri":"\thttps://a.example/a%20b?x=1&y=%22q%22 "}]})"},
        {"Chromium JSON", R"({"roots":{"bookmark_bar":{"name":"Bar","type":"folder","children":[
            {"type":"url","name":"A","url":"https://a.example/a%20b?x=1&y=%22q%22"}]}}})"},
    };
    for (const auto &f : files) {
        SCOPED_TRACE(f.kind);
        QTemporaryDir dir;
        writeBytes(dir.filePath("file"), f.file);
        OpenDb open("<FOLDERS/>");
        ImportBuilder builder(open.db);
        BookmarkFileImport import(builder);
        ASSERT_TRUE(import.run({dir.filePath("file")}, "Top"));
        EXPECT_EQ(firstAddress(open.doc().documentElement()), address);
    }
}

TEST(BookmarkExport, writesTheVardecksAloneWithTheirFoldersAndReadsBackTheSame)
{
    OpenDb open("<FOLDERS>" +
                folderXml("T1", "News &amp; &lt;Views&gt;",
                          vardeckXml("W1", "Daily &quot;paper&quot;", "https://a.example/a%20b?x=1&amp;y=2") +
                              vardeckXml("W2", "Caf\u00e9", "file:///home/u/My%20Papers/a.pdf"),
                          folderXml("T2", "Empty")) +
                folderXml("T3", "Second", vardeckXml("W3", "Three", "https://b.example/%7Eu/")) + "</FOLDERS>");
    const QByteArray text = bookmarkFileText(open.doc(), 1765100000);
    EXPECT_EQ(text, "<!DOCTYPE NETSCAPE-Bookmark-file-1>\n"
                    "<META HTTP-EQUIV=\"Content-Type\" CONTENT=\"text/html; charset=UTF-8\">\n"
                    "<TITLE>Bookmarks</TITLE>\n"
                    "<H1>Bookmarks</H1>\n"
                    "<DL><p>\n"
                    "    <DT><H3 ADD_DATE=\"1765100000\">News &amp; &lt;Views&gt;</H3>\n"
                    "    <DL><p>\n"
                    "        <DT><A HREF=\"https://a.example/a%20b?x=1&amp;y=2\" ADD_DATE=\"1765100000\">Daily "
                    "&quot;paper&quot;</A>\n"
                    "        <DT><A HREF=\"file:///home/u/My%20Papers/a.pdf\" ADD_DATE=\"1765100000\">Caf\xc3\xa9</A>\n"
                    "        <DT><H3 ADD_DATE=\"1765100000\">Empty</H3>\n"
                    "        <DL><p>\n"
                    "        </DL><p>\n"
                    "    </DL><p>\n"
                    "    <DT><H3 ADD_DATE=\"1765100000\">Second</H3>\n"
                    "    <DL><p>\n"
                    "        <DT><A HREF=\"https://b.example/%7Eu/\" ADD_DATE=\"1765100000\">Three</A>\n"
                    "    </DL><p>\n"
                    "</DL><p>\n");

    QTemporaryDir dir;
    writeBytes(dir.filePath("export.html"), text);
    OpenDb back("<FOLDERS/>");
    ImportBuilder builder(back.db);
    BookmarkFileImport import(builder);
    ASSERT_TRUE(import.run({dir.filePath("export.html")}, "Back"));
    QStringList folders;
    for (const XmlNode &folder :
         back.doc().documentElement().childElements().value(0).child("SUBFOLDERS").childElements())
        folders << folderText(folder);
    QStringList original;
    for (const XmlNode &folder : open.doc().documentElement().childElements())
        original << folderText(folder);
    EXPECT_EQ(folders, original);
}

// The browsers' folders below a home folder, the usual install and the Flatpak and
// Snap ones, each profile with a Bookmarks file in the order a user numbers them.
TEST(ChromiumProfiles, everyProfileOfEveryBrowserGetsATopFolderOfItsOwn)
{
    QTemporaryDir home;
    qunsetenv("XDG_CONFIG_HOME");
    const QByteArray bookmarks = readBytes(dataFile("exchange/chromium-profile1-Bookmarks"));
    for (const char *file :
         {".config/chromium/Default/Bookmarks", ".config/chromium/Profile 10/Bookmarks",
          ".config/chromium/Profile 2/Bookmarks", ".config/chromium/Guest Profile/Bookmarks",
          "snap/chromium/common/chromium/Default/Bookmarks", ".config/google-chrome/Profile 1/Bookmarks",
          ".var/app/com.brave.Browser/config/BraveSoftware/Brave-Browser/Profile 3/Bookmarks",
          ".config/vivaldi/Default/Bookmarks", ".config/microsoft-edge/Default/Bookmarks"})
        writeBytes(home.filePath(file), bookmarks);
    // A profile without bookmarks, and a Bookmarks that is no file.
    QDir().mkpath(home.filePath(".config/chromium/Profile 1"));
    QDir().mkpath(home.filePath(".config/google-chrome/Default/Bookmarks"));
    QStringList found;
    for (const BookmarkSource &source : findChromiumBookmarks(home.path()))
        found << source.path.mid(home.path().size() + 1) + " -> " + source.topName;
    EXPECT_EQ(found, QStringList({
                         ".config/chromium/Default/Bookmarks -> Imported Chromium bookmarks",
                         ".config/chromium/Profile 2/Bookmarks -> Imported Chromium bookmarks (Profile 2)",
                         ".config/chromium/Profile 10/Bookmarks -> Imported Chromium bookmarks (Profile 10)",
                         ".config/chromium/Guest Profile/Bookmarks -> Imported Chromium bookmarks (Guest Profile)",
                         "snap/chromium/common/chromium/Default/Bookmarks -> Imported Chromium bookmarks (Snap)",
                         ".config/google-chrome/Profile 1/Bookmarks -> Imported Google Chrome bookmarks (Profile 1)",
                         ".var/app/com.brave.Browser/config/BraveSoftware/Brave-Browser/Profile 3/Bookmarks -> "
                         "Imported Brave bookmarks (Flatpak, Profile 3)",
                         ".config/vivaldi/Default/Bookmarks -> Imported Vivaldi bookmarks",
                         ".config/microsoft-edge/Default/Bookmarks -> Imported Microsoft Edge bookmarks",
                     }));
    // The configuration folder the user set is the one searched.
    qputenv("XDG_CONFIG_HOME", home.filePath("elsewhere").toUtf8());
    writeBytes(home.filePath("elsewhere/vivaldi/Default/Bookmarks"), bookmarks);
    const QList<BookmarkSource> moved = findChromiumBookmarks(home.path());
    qunsetenv("XDG_CONFIG_HOME");
    ASSERT_EQ(moved.size(), 3);
    EXPECT_EQ(moved[2].path, home.filePath("elsewhere/vivaldi/Default/Bookmarks"));
}

// The profiles real Chromium wrote, each into its own top folder, with the day each
// bookmark was added; a profile whose file cannot be read makes no folder.
TEST(ChromiumImport, eachProfileGoesIntoItsOwnFolderWithTheDaysItsBookmarksWereAdded)
{
    QTemporaryDir home;
    const QString config = home.filePath(".config/chromium/");
    QDir().mkpath(config + "Default");
    ASSERT_TRUE(QFile::copy(dataFile("exchange/chromium-Bookmarks"), config + "Default/Bookmarks"));
    QDir().mkpath(config + "Profile 1");
    ASSERT_TRUE(QFile::copy(dataFile("exchange/chromium-profile1-Bookmarks"), config + "Profile 1/Bookmarks"));
    writeBytes(config + "Profile 2/Bookmarks", "{\"roots\": ");
    qputenv("XDG_CONFIG_HOME", home.filePath(".config").toUtf8());
    const QList<BookmarkSource> sources = findChromiumBookmarks(home.path());
    qunsetenv("XDG_CONFIG_HOME");

    OpenDb open("<FOLDERS/>");
    ImportBuilder builder(open.db);
    builder.setToday(QDate(2030, 1, 1));
    BookmarkFileImport import(builder);
    ASSERT_TRUE(import.runEach(sources));
    ASSERT_TRUE(open.db.save().written());
    const auto disk = open.reread();
    const QList<XmlNode> tops = disk->getTheDOM()->documentElement().childElements();
    ASSERT_EQ(tops.size(), 2);
    EXPECT_EQ(folderText(tops[1]), "Imported Chromium bookmarks (Profile 1)[]{Bookmarks bar[Work link="
                                   "https://work.example/]{} Other bookmarks[]{Projects[Tracker="
                                   "https://tracker.example/issues?q=is%3Aopen]{}}}");
    const XmlNode bar = tops[0].child("SUBFOLDERS").childElements().value(0);
    EXPECT_EQ(bar.childText("NAME"), "Bookmarks bar");
    QStringList vardecks;
    for (const XmlNode &v : bar.child("VARDECKS").childElements())
        vardecks << v.childText("NAME") + "=" + v.childText("ADDRESS") + " " + v.childText("CREATED_DATE");
    // Added on 8 December 2026 around 12:09 UTC; a Vardeck without a name keeps none.
    EXPECT_EQ(vardecks, QStringList({"Plain=https://plain.example/ 08 Dec 2026",
                                     "Escaped blanks=https://example.com/a%20b/c%20d.html?q=a%20b&x=1#top 08 Dec 2026",
                                     "Raw blank=https://example.com/raw%20space/%C3%A9?k=v%20w 08 Dec 2026",
                                     "Document=file:///tmp/My%20Doc.pdf 08 Dec 2026",
                                     "Bookmarklet=javascript:alert(%22hi%22) 08 Dec 2026",
                                     "=https://no-name.example/ 08 Dec 2026"}));
    EXPECT_EQ(builder.importVDCount, 20);
    EXPECT_EQ(builder.importFolderCount, 14);
    EXPECT_EQ(import.readItems().size(), 2);
    ASSERT_EQ(import.skippedItems().size(), 1);
    EXPECT_TRUE(import.skippedItems()[0].startsWith(config + "Profile 2/Bookmarks: its JSON is damaged ("));
}
