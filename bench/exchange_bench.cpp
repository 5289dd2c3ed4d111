// Times two imports and checks their results.
// Favorites: generated trees of 10,000 and 32,767 shortcut files; for each size the
// items per second and the ratio against the floor the import should approach
// (reading every shortcut file of the tree plus one save of the resulting database).
// The rate at 32,767 divided by the rate at 10,000 should be at least 0.8.
// Bookmark file: generated Netscape bookmark files of 1,000, 10,000 and 32,767 links;
// the time of each import (read, build, save) against the floor of the bare HTML
// tokenizer over the same bytes plus one save, and the ratio of the rates at 32,767
// and 1,000 (at least 0.8); 32,767 links should take well under a second. The small
// file's import takes a few tens of milliseconds, so it is timed in three times as many
// rounds. Each judged line ends with "met" or "MISSED"; the exit status is non-zero
// when a goal is missed or an import is wrong.
// Usage: exchange_bench [runs]
#include "benchtime.h"
#include "exchange/bookmarkimport.h"
#include "exchange/folderimport.h"
#include "exchange/internetshortcut.h"
#include "platform/paths.h"
#include "storage/session.h"
#include "storage/xmldatabase.h"

#include <QCoreApplication>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QTemporaryDir>

#include <libxml/HTMLparser.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <functional>
#include <vector>

using namespace rr;
using bench::medianMs;

namespace
{

// A Favorites tree: 24 folders of 5 sub-folders each, the files spread over all of
// them, every third with the sections and keys other programs add.
void writeFavorites(const QString &root, int count)
{
    QStringList folders;
    for (int top = 0; top < 24; ++top) {
        const QString dir = root + QStringLiteral("/Topic %1 & Co").arg(top);
        folders << dir;
        for (int sub = 0; sub < 5; ++sub)
            folders << dir + QStringLiteral("/Caf\u00e9 %1").arg(sub);
    }
    for (const QString &dir : folders)
        QDir().mkpath(dir);
    for (int i = 0; i < count; ++i) {
        QFile file(folders[i % folders.size()] + QStringLiteral("/Site %1 \u00e9t\u00e9.url").arg(i));
        file.open(QIODevice::WriteOnly);
        QByteArray text = "[InternetShortcut]\r\nURL=http://www.site" + QByteArray::number(i) +
                          ".example/path/page.html?q=" + QByteArray::number(i * 7) + "\r\n";
        if (i % 3 == 0)
            text = "[DEFAULT]\r\nBASEURL=http://base.example/\r\n" + text +
                   "IDList=\r\nIconFile=http://www.site.example/favicon.ico\r\nIconIndex=1\r\n";
        file.write(text);
    }
}

struct Counting : ImportProgress {
    int draws = 0;
    void draw(const ProgressState &) override { ++draws; }
};

struct SizeResult {
    double importMs = 0;
    double floorMs = 0;
    int imported = 0;
    int draws = 0;
};

SizeResult benchmarkSize(const QString &work, int count, int runs)
{
    const QString favorites = work + QStringLiteral("/fav%1/Favorites").arg(count);
    writeFavorites(favorites, count);
    const QString dbFolder = work + QStringLiteral("/db%1/").arg(count);
    QDir().mkpath(dbFolder);
    QFile::copy(paths::installedDataFolder() + QStringLiteral("/DeVivozoda/Vardecks.dtd"),
                dbFolder + QStringLiteral("Vardecks.dtd"));
    const QString path = dbFolder + QStringLiteral("Vardecks.xml");

    SizeResult result;
    std::unique_ptr<XMLDatabase> db;
    const auto freshDatabase = [&] {
        XMLDatabase::createDatabaseFile(path);
        db = std::make_unique<XMLDatabase>();
        db->setPath(path);
        db->openDBValidate(path);
    };
    result.importMs = medianMs(
        runs,
        [&] {
            Counting progress;
            ImportBuilder builder(*db, &progress);
            FolderImport walk(builder, &progress);
            walk.loadFavsFromFoundColl({favorites}, WalkMode::Shortcuts, QStringLiteral("Imported favorites"));
            db->save();
            result.imported = builder.importVDCount;
            result.draws = progress.draws;
        },
        freshDatabase);

    // The floor: every shortcut read once, and the resulting file saved once.
    int read = 0;
    const double readMs = medianMs(runs, [&] {
        read = 0;
        QDirIterator it(favorites, {QStringLiteral("*.url")}, QDir::Files, QDirIterator::Subdirectories);
        while (it.hasNext()) {
            QString address;
            read += readShortcutFile(it.next(), &address) == ShortcutRead::Address;
        }
    });
    const double saveMs = medianMs(runs, [&] { db->save(); });
    result.floorMs = readMs + saveMs;

    XMLDatabase check;
    if (!check.openDBValidate(path) || check.getTheDOM()->countElements(QStringLiteral("VARDECK")) != count ||
        read != count)
        result.imported = -1;
    return result;
}

// A bookmark file as browsers write it: headings every 150 links, some nested, links
// with the attributes browsers add, names with "&" and non-ASCII letters.
QByteArray bookmarkFile(int links)
{
    QByteArray out = "<!DOCTYPE NETSCAPE-Bookmark-file-1>\n<META HTTP-EQUIV=\"Content-Type\" "
                     "CONTENT=\"text/html; charset=UTF-8\">\n<TITLE>Bookmarks</TITLE>\n<H1>Bookmarks</H1>\n<DL><p>\n";
    int open = 0;
    for (int i = 0; i < links; ++i) {
        if (i % 150 == 0) {
            if (open > 0 && i % 450 != 0) {
                out += "</DL><p>\n";
                --open;
            }
            out += "<DT><H3 ADD_DATE=\"1700000000\" LAST_MODIFIED=\"1700000001\">Topic " + QByteArray::number(i) +
                   " &amp; caf\xc3\xa9</H3>\n<DL><p>\n";
            ++open;
        }
        out += "    <DT><A HREF=\"https://www.site" + QByteArray::number(i) +
               ".example/path/page.html?q=" + QByteArray::number(i * 7) +
               "&amp;r=1\" ADD_DATE=\"1700000000\" LAST_MODIFIED=\"1700000002\" ICON_URI=\"https://www.site.example/"
               "favicon.ico\" ICON=\"data:image/png;base64,iVBORw0KGgoAAAANSUhEUgAAAAEAAAABCAYAAAAfFcSJAAAADUlEQVR42mNk"
               "\" TAGS=\"news,tech\">Site " +
               QByteArray::number(i) + " \xc3\xa9t\xc3\xa9 &amp; more</A>\n";
        if (i % 10 == 0)
            out += "    <DD>A description of site " + QByteArray::number(i) + "\n";
    }
    for (; open > 0; --open)
        out += "</DL><p>\n";
    return out + "</DL>\n";
}

// The tokenizer alone: the same HTML parser run over the bytes with no handlers.
void bareHtmlParse(const QByteArray &bytes)
{
    htmlSAXHandler sax{};
    htmlParserCtxtPtr context = htmlCreatePushParserCtxt(&sax, nullptr, nullptr, 0, nullptr, XML_CHAR_ENCODING_UTF8);
    htmlCtxtUseOptions(context, HTML_PARSE_NOERROR | HTML_PARSE_NOWARNING | HTML_PARSE_NONET);
    htmlParseChunk(context, bytes.constData(), int(bytes.size()), 1);
    htmlFreeParserCtxt(context);
}

bool benchmarkBookmarkFiles(const QString &work, int runs)
{
    const int sizes[3] = {1000, 10000, 32767};
    double rates[3] = {0, 0, 0};
    bool ok = true;
    for (int i = 0; i < 3; ++i) {
        const QString dbFolder = work + QStringLiteral("/bm%1/").arg(sizes[i]);
        QDir().mkpath(dbFolder);
        QFile::copy(paths::installedDataFolder() + QStringLiteral("/DeVivozoda/Vardecks.dtd"),
                    dbFolder + QStringLiteral("Vardecks.dtd"));
        const QString file = dbFolder + QStringLiteral("bookmarks.html");
        const QByteArray bytes = bookmarkFile(sizes[i]);
        QFile out(file);
        out.open(QIODevice::WriteOnly);
        out.write(bytes);
        out.close();
        const QString path = dbFolder + QStringLiteral("Vardecks.xml");
        std::unique_ptr<XMLDatabase> db;
        int imported = 0;
        const int rounds = sizes[i] <= 1000 ? 3 * runs : runs;
        const double importMs = medianMs(
            rounds,
            [&] {
                ImportBuilder builder(*db);
                BookmarkFileImport import(builder);
                import.run({file}, QStringLiteral("Imported Firefox bookmarks"));
                db->save();
                imported = builder.importVDCount;
            },
            [&] {
                XMLDatabase::createDatabaseFile(path);
                db = std::make_unique<XMLDatabase>();
                db->setPath(path);
                db->openDBValidate(path);
            });
        const double floorMs = medianMs(rounds, [&] { bareHtmlParse(bytes); }) + medianMs(rounds, [&] { db->save(); });
        rates[i] = sizes[i] / (importMs / 1000.0);
        const bool right = imported == sizes[i];
        ok = ok && right;
        std::printf("%6d links: import %8.1f ms (%8.0f items/s), floor %8.1f ms, import/floor %.2f, %s\n", sizes[i],
                    importMs, rates[i], floorMs, importMs / floorMs, right ? "all imported" : "WRONG RESULT");
    }
    const double ratio = rates[2] / rates[0];
    std::printf("rate at 32767 / rate at 1000: %.2f (target >= 0.8) %s\n", ratio, bench::verdict(ratio >= 0.8));
    return ok && ratio >= 0.8;
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    rr::Session benchSession;
    const int runs = argc > 1 ? std::max(1, atoi(argv[1])) : 3;
    QTemporaryDir work;
    bool ok = true;
    double rates[2] = {0, 0};
    const int sizes[2] = {10000, 32767};
    for (int i = 0; i < 2; ++i) {
        const SizeResult r = benchmarkSize(work.path(), sizes[i], runs);
        rates[i] = sizes[i] / (r.importMs / 1000.0);
        std::printf("%6d shortcuts: import %8.1f ms (%8.0f items/s), floor %8.1f ms, import/floor %.2f, "
                    "progress drawn %d times, %s\n",
                    sizes[i], r.importMs, rates[i], r.floorMs, r.importMs / r.floorMs, r.draws,
                    r.imported == sizes[i] ? "all imported" : "WRONG RESULT");
        ok = ok && r.imported == sizes[i];
    }
    const double ratio = rates[1] / rates[0];
    std::printf("rate at 32767 / rate at 10000: %.2f (target >= 0.8) %s\n\n", ratio, bench::verdict(ratio >= 0.8));
    ok = ok && ratio >= 0.8;
    ok = benchmarkBookmarkFiles(work.path(), runs) && ok;
    return ok ? 0 : 1;
}
