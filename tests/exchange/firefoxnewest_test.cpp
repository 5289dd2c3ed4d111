// A Firefox profile holding both a "bookmarks.html" and dated backups: the import reads the
// one written last, and tells which file that was and when it was written.
#include "exchange/bookmarkimport.h"
#include "exchangefixture.h"
#include "platform/mozlz4.h"

#include <QDateTime>
#include <QFile>
#include <QTemporaryDir>

using namespace rr;
using namespace rr::test;

namespace
{

// As the browser leaves them: one backup a day, named by its date, last written at that
// time (a later backup the same day replaces that day's file under the same name); the
// HTML file only when the user exports to it.
class Profile
{
public:
    explicit Profile(const QString &folder) : m_folder(folder) { QDir().mkpath(folder + "/bookmarkbackups"); }

    // named: the day in the name, when the browser renamed an unchanged backup to it.
    QString backup(const QDateTime &when, const QString &title, const QDate &named = QDate())
    {
        const QString path = m_folder + "/bookmarkbackups/bookmarks-" +
                             (named.isValid() ? named : when.date()).toString("yyyy-MM-dd") +
                             "_1_cqFbwqM-MEEefA0rcwsaFk7pGQLfNKytlvoq_Gsfins=.jsonlz4";
        writeBytes(path, mozlz4::compress(R"({"guid":"root________","children":[{"guid":"toolbar_____",)"
                                          R"("title":"toolbar","children":[{"title":")" +
                                          title.toUtf8() + R"(","uri":"https://backup.example/"}]}]})"));
        return stamped(path, when);
    }
    QString html(const QDateTime &when, const QString &title, const QString &name = "bookmarks.html")
    {
        const QString path = m_folder + "/" + name;
        writeBytes(path, "<DL><p>\n<DT><A HREF=\"https://html.example/\">" + title.toUtf8() + "</A>\n</DL>\n");
        return stamped(path, when);
    }

private:
    static QString stamped(const QString &path, const QDateTime &when)
    {
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::ReadWrite));
        EXPECT_TRUE(file.setFileTime(when, QFileDevice::FileModificationTime));
        return path;
    }
    QString m_folder;
};

QDateTime at(const char *text)
{
    return QDateTime::fromString(text, "yyyy-MM-dd hh:mm");
}

} // namespace

TEST(FirefoxNewest, aProfileGivesTheBookmarkFileWrittenLast)
{
    const struct {
        const char *what;
        QStringList html;    // times of bookmarks.html files, "" for none
        QStringList backups; // times of the backups
        const char *chosen;  // "html" or the time of the backup expected
    } cases[] = {
        {"an old export beside a newer backup",
         {"2025-03-01 10:00"},
         {"2026-12-01 09:00", "2026-12-06 21:15"},
         "2026-12-06 21:15"},
        {"an export made after the last backup", {"2026-12-07 10:00"}, {"2026-12-07 09:00"}, "html"},
        {"our own export, then a day of browsing", {"2026-12-06 12:00"}, {"2026-12-07 08:30"}, "2026-12-07 08:30"},
        {"written at the same moment", {"2026-12-07 10:00"}, {"2026-12-07 10:00"}, "2026-12-07 10:00"},
        {"no backup yet", {"2026-12-07 10:00"}, {}, "html"},
        {"backups only", {}, {"2026-11-30 07:00", "2026-12-02 07:00"}, "2026-12-02 07:00"},
    };
    for (const auto &c : cases) {
        QTemporaryDir root;
        Profile profile(root.filePath("abc.default"));
        QString expected;
        for (const QString &when : c.html)
            expected = profile.html(at(when.toUtf8()), "From the export");
        for (const QString &when : c.backups) {
            const QString path = profile.backup(at(when.toUtf8()), "From a backup");
            if (when == QLatin1String(c.chosen))
                expected = path;
        }
        EXPECT_EQ(findBookmarksFiles({root.path()}, true), QStringList(expected)) << c.what;
        if (!c.html.isEmpty()) {
            EXPECT_EQ(findBookmarksFiles({root.path()}, false),
                      QStringList(root.filePath("abc.default/bookmarks.html")))
                << c.what << ": the export still finds the HTML file";
        }
    }
}

TEST(FirefoxNewest, copiedBackupsWithOneTimeGoByTheDateInTheirNames)
{
    QTemporaryDir root;
    Profile profile(root.filePath("p.default"));
    const QDateTime copied = at("2026-12-07 12:00");
    const QString older = profile.backup(at("2026-11-30 00:00"), "Old");
    const QString newer = profile.backup(at("2026-12-06 00:00"), "New");
    for (const QString &path : {older, newer}) {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::ReadWrite));
        ASSERT_TRUE(file.setFileTime(copied, QFileDevice::FileModificationTime));
    }
    EXPECT_EQ(findBookmarksFiles({root.path()}, true), QStringList(newer));
}

TEST(FirefoxNewest, anUnchangedBackupRenamedToALaterDayCountsFromThatDay)
{
    // The browser keeps the time of a backup whose bookmarks did not change and only
    // renames it to the new day.
    QTemporaryDir root;
    Profile profile(root.filePath("p.default"));
    const QString html = profile.html(at("2026-12-03 10:00"), "Exported");
    const QString renamed = profile.backup(at("2026-12-01 10:00"), "Kept", QDate(2026, 12, 7));
    EXPECT_EQ(findBookmarksFiles({root.path()}, true), QStringList(renamed));
    // The same day it was renamed, an export later that day is the newer.
    profile.html(at("2026-12-07 09:00"), "Exported again");
    EXPECT_EQ(findBookmarksFiles({root.path()}, true), QStringList(html));
}

TEST(FirefoxNewest, theImportNamesEachFileItReadWithItsTimeAndNotThoseItPassedOver)
{
    QTemporaryDir root;
    Profile first(root.filePath("a.default"));
    first.html(at("2024-05-01 08:00"), "Stale");
    const QString backup = first.backup(at("2026-12-06 21:15"), "Fresh");
    const QString html = Profile(root.filePath("b.default")).html(at("2026-12-07 09:05"), "Only");
    const QString damaged = root.filePath("c.default/bookmarks.html");
    QDir().mkpath(damaged);

    OpenDb open;
    ImportBuilder builder(open.db);
    BookmarkFileImport import(builder);
    ASSERT_TRUE(import.run(findBookmarksFiles({root.path()}, true) + QStringList(damaged), "Imported"));
    EXPECT_EQ(import.readItems(),
              QStringList({backup + ", written 2026-12-06 21:15", html + ", written 2026-12-07 09:05"}));
    EXPECT_EQ(import.skippedItems().size(), 1);
    EXPECT_EQ(folderText(open.db.getTheDOM()->documentElement().childElements().last()),
              "Imported[Only=https://html.example/]{Bookmarks Toolbar[Fresh=https://backup.example/]{}}");
}
