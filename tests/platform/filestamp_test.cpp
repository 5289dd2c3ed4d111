// The quick ways of telling a file's state against the plain ones: the digest taken as
// a load reads the file or a save writes it against one of the whole file read back,
// and a stamp that decides alone only where every later write must move it.
#include "platform/atomicfile.h"
#include "platform/filestamp.h"
#include "platform/xmldocument.h"
#include "support/dbfixture.h"
#include "support/testenv.h"

#include <gtest/gtest.h>
#include <libxml/tree.h>
#include <linux/magic.h>
#include <sys/stat.h>
#include <xxhash.h>

using namespace rr;

namespace
{

// The plain digest: the file read whole, hashed in one call.
quint64 wholeFileDigest(const QString &path)
{
    const QByteArray bytes = test::readBytes(path);
    return XXH3_64bits(bytes.constData(), size_t(bytes.size()));
}

QByteArray vardecks(int count)
{
    QByteArray out;
    for (int n = 1; n <= count; ++n)
        out += test::vardeckXml(QStringLiteral("W%1").arg(n), QStringLiteral("AT&amp;T café %1").arg(n));
    return out;
}

constexpr qint64 kSecond = 1000000000;

} // namespace

TEST(ContentDigest, theDigestALoadTakesAsItReadsIsThatOfTheWholeFile)
{
    struct File {
        const char *what;
        QByteArray body;
    };
    const File files[] = {
        {"a small file", "<FOLDERS>" + test::folderXml("T1", "First") + "</FOLDERS>\r\n"},
        // Many times the parser's read piece (256 KB).
        {"a file read in many pieces", "<FOLDERS>" + test::folderXml("T1", "Big", vardecks(6000)) + "</FOLDERS>"},
        // Read once as UTF-8, refused, and read again from the start as windows-1252.
        {"a file read twice", "<FOLDERS>" + test::folderXml("T1", "caf\xe9") + "</FOLDERS>"},
        // Left unread by the parser past the document's end, read for the digest alone.
        {"a file with comments and blanks after its document",
         "<FOLDERS></FOLDERS>\n<!-- after -->\n" + QByteArray(300000, ' ') + "<?mark end?>\n\n"},
    };
    for (const File &file : files) {
        SCOPED_TRACE(file.what);
        test::TempHome home;
        const QString path = test::writeDatabase(home.path(), "db.xml", file.body);
        XmlDocument doc;
        ASSERT_TRUE(doc.load(path)) << qPrintable(doc.parseErrorReason());
        ASSERT_TRUE(doc.loadedStamp().digest.has_value());
        EXPECT_EQ(*doc.loadedStamp().digest, wholeFileDigest(path));
        EXPECT_EQ(ContentDigest::ofFile(path), wholeFileDigest(path));
    }
}

TEST(ContentDigest, theDigestASaveTakesAsItWritesIsThatOfTheFileWritten)
{
    struct Way {
        const char *what;
        int partThreads;
        int processors;
        bool namespaced; // the writer gives up part-way and the library writes it all
    };
    const Way ways[] = {
        {"in parts side by side", 3, -1, false},
        {"the file written beside the making", 0, 2, false},
        {"by the saving thread alone", 0, 1, false},
        {"by the library after the writer started", 3, -1, true},
    };
    for (const Way &way : ways) {
        SCOPED_TRACE(way.what);
        xmlsave_testing::setPartThreads(way.partThreads);
        xmlsave_testing::setProcessors(way.processors);
        test::TempHome home;
        const QString path = test::writeDatabase(
            home.path(), "db.xml", "<FOLDERS>" + test::folderXml("T1", "F", vardecks(5000)) + "</FOLDERS>");
        XmlDocument doc;
        ASSERT_TRUE(doc.load(path));
        if (way.namespaced)
            xmlNewNs(doc.nodeFromID("W4999").raw(), BAD_CAST "urn:x", BAD_CAST "x");
        FileStamp saved;
        ASSERT_TRUE(doc.save(path, nullptr, &saved));
        ASSERT_TRUE(saved.digest.has_value());
        EXPECT_EQ(*saved.digest, wholeFileDigest(path));
        EXPECT_EQ(way.namespaced, test::readBytes(path).contains("xmlns:x=\"urn:x\""));
        xmlsave_testing::setPartThreads(-1);
        xmlsave_testing::setProcessors(-1);
    }
    test::TempHome home;
    AtomicFileWriter writer(home.path() + "/small.txt");
    ASSERT_TRUE(writer.open() && writer.write("one ", 4) && writer.write("two", 3) && writer.commit());
    EXPECT_EQ(writer.committed().digest, wholeFileDigest(home.path() + "/small.txt"));
}

TEST(FileStamp, decidesAloneOnlyWhereEveryLaterWriteMustMoveItsModificationTime)
{
    // A later write is stamped no earlier than the file clock read before the stamp,
    // kept in the file system's step: the stamp decides only when that is later than
    // the time it holds.
    struct Case {
        const char *what;
        qint64 modifiedNs;
        qint64 clockNs; // the file clock when the stamp was read
        long fileSystem;
        bool decisive;
    };
    const qint64 t = 1'800'000'000 * kSecond;
    const Case cases[] = {
        {"written within the tick the stamp was read in", t + 123456789, t + 123456789, EXT4_SUPER_MAGIC, false},
        {"written before that tick", t + 123456789, t + 123456790, EXT4_SUPER_MAGIC, true},
        {"written long before, on tmpfs", t + 123456789, t + 50 * kSecond, TMPFS_MAGIC, true},
        {"a whole second, which may be kept in steps of two", t, t + kSecond, EXT4_SUPER_MAGIC, false},
        {"a whole second two seconds before", t, t + 2 * kSecond, EXT4_SUPER_MAGIC, true},
        {"kept in steps of 10 ms, within the step", t + 120000000, t + 125000000, XFS_SUPER_MAGIC, false},
        {"kept in steps of 10 ms, a step before", t + 120000000, t + 130000000, XFS_SUPER_MAGIC, true},
        {"a time in the future", t + 60 * kSecond + 7, t, EXT4_SUPER_MAGIC, false},
        {"on a network file system (NFS)", t + 123456789, t + 50 * kSecond, 0x6969, false},
        {"on a user-space file system (FUSE)", t + 123456789, t + 50 * kSecond, 0x65735546, false},
        {"on a file system of unknown type", t + 123456789, t + 50 * kSecond, 0, false},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        struct stat st {
        };
        st.st_size = 10;
        st.st_mtim = {time_t(c.modifiedNs / kSecond), long(c.modifiedNs % kSecond)};
        st.st_ctim = st.st_mtim;
        const FileStamp stamp = FileStamp::taken(st, c.clockNs, c.fileSystem);
        EXPECT_EQ(stamp.modifiedNs, c.modifiedNs);
        EXPECT_EQ(stamp.decisive, c.decisive);
    }
}
