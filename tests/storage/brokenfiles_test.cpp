// Each damaged file in tests/data/broken opens with working identifiers or is refused with its reason.
#include "platform/registrystore.h"
#include "storage/xmldatabase.h"
#include "support/dbfixture.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstring>
#include <fcntl.h>
#include <future>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <thread>
#include <unistd.h>

using namespace rr;

namespace
{

struct DatabaseCase {
    const char *file;
    // Empty: the file opens. Otherwise a part of the reason it is refused with.
    const char *refusedWith;
    // For files that open: an identifier, its element's NAME, and the next identifiers handed out.
    const char *lookup = nullptr;
    const char *lookupName = nullptr;
    const char *nextTid = nullptr;
    const char *nextWid = nullptr;
};

const char kTooManyAttributes[] =
    "The file has an element with more attributes than a Vardecks database may have: at most 64.";

const DatabaseCase kDatabaseCases[] = {
    {"no-doctype.xml", "", "W2", "second", "T3", "W3"},
    {"doctype-naming-no-dtd.xml", "", "W2", "second", "T3", "W3"},
    {"duplicate-folder-id.xml", "", "T2", "first", "T4", "W1"},
    {"duplicate-vardeck-id-no-doctype.xml", "", "W1", "first", "T2", "W3"},
    {"bad-identifiers.xml", "", "W0", "zero", "T3", "W3"},
    {"folders-130-deep.xml", "", "W130", "n", "T131", "W2"},
    {"windows-1252-undeclared.xml", "", "T1", "Café – naïve", "T2", "W1"},
    {"attributes-at-the-limit.xml", "", "T1", "wide = \"fine\" > <x a=\"1\" b='2'>=", "T2", "W2"},
    {"utf7-declared.xml", "", "W1", "Café – one", "T2", "W2"},
    {"dtd-from-the-network.xml", "document type definition"},
    {"other-dtd.xml", "document type definition"},
    {"folders-600-deep.xml", "nested more deeply"},
    {"entity-used-many-times.xml", "declares entities"},
    {"billion-laughs.xml", "declares entities"},
    {"entity-reading-a-file.xml", "declares entities"},
    {"entity-from-the-network.xml", "declares entities"},
    {"parameter-entity.xml", "declares entities"},
    {"entity-in-an-attribute.xml", "declares entities"},
    {"unparsed-entity.xml", "declares entities"},
    {"attributes-past-the-limit.xml", kTooManyAttributes},
    {"utf16-attributes-past-the-limit.xml", kTooManyAttributes},
    {"utf7-attributes-past-the-limit.xml", kTooManyAttributes},
    {"ebcdic-declared-attributes-past-the-limit.xml", kTooManyAttributes},
    {"id-default-not-a-name.xml",
     "The file's document type gives the attribute WID of VARDECK the default value \"1\", which its type does not "
     "allow."},
    {"attribute-declarations-past-the-limit.xml", kTooManyAttributes},
    {"namespaces-past-the-limit.xml",
     "The file declares more namespaces at once than a Vardecks database may: at most 64."},
    {"ebcdic.xml", "The file is written in EBCDIC, which a Vardecks database never is."},
    {"utf32-with-byte-order-mark.xml", "The file is written in UTF-32, which a Vardecks database never is."},
    {"utf32-big-endian.xml", "The file is written in UTF-32, which a Vardecks database never is."},
    {"control-character-reference.xml", "The file holds the character U+0007, which XML does not allow. (line 3,"},
    {"raw-control-character.xml", "The file holds the character U+0007, which XML does not allow. (line "},
    {"invalid-utf8-declared.xml", "The file holds bytes that are not proper UTF-8 text. (line "},
    {"truncated.xml", "line"},
    {"two-roots.xml", "The file goes on after the end of its outermost element. (line "},
    {"empty.xml", "The file holds no element: it is empty or does not begin with \"<\"."},
    {"not-xml.xml", "line"},
};

} // namespace

TEST(BrokenFiles, eachDatabaseOpensWithWorkingIdentifiersOrIsRefusedWithItsReasonAsAreFoldersAndMissingFiles)
{
    test::TempHome home;
    test::writeDatabase(home.databaseFolder(), "unused.xml", "<FOLDERS/>"); // brings the DTD along
    for (const DatabaseCase &c : kDatabaseCases) {
        SCOPED_TRACE(c.file);
        const QString path = home.databaseFolder() + c.file;
        ASSERT_TRUE(QFile::copy(test::dataFile(QStringLiteral("broken/") + c.file), path));
        XMLDatabase db;
        const bool opened = db.openDBValidate(path);
        const QString reason = db.getTheDOM()->parseErrorReason();
        if (*c.refusedWith) {
            EXPECT_FALSE(opened);
            EXPECT_TRUE(reason.contains(QString::fromUtf8(c.refusedWith))) << qPrintable(reason);
            EXPECT_FALSE(db.getTheDOM()->isLoaded());
            continue;
        }
        ASSERT_TRUE(opened) << qPrintable(reason);
        EXPECT_EQ(db.getTheDOM()->nodeFromID(c.lookup).childText("NAME"), QString::fromUtf8(c.lookupName));
        EXPECT_EQ(db.getNewTID(), c.nextTid);
        EXPECT_EQ(db.getNewWID(), c.nextWid);
        // What opened is saved and opens again the same way.
        db.setPath(path);
        const SaveOutcome saved = db.save();
        ASSERT_TRUE(saved.written()) << qPrintable(saved.reason);
        XMLDatabase again;
        ASSERT_TRUE(again.openDBValidate(path)) << qPrintable(again.getTheDOM()->parseErrorReason());
        EXPECT_EQ(again.getTheDOM()->nodeFromID(c.lookup).childText("NAME"), QString::fromUtf8(c.lookupName));
    }

    // What is no file is refused at once with its reason: a folder, a missing file, a
    // named pipe (which an open would wait on for a writer), a socket and a device.
    const QString pipe = home.path() + "/pipe.xml";
    ASSERT_EQ(::mkfifo(QFile::encodeName(pipe).constData(), 0600), 0);
    const QString socketPath = home.path() + "/socket.xml";
    const int socketFd = ::socket(AF_UNIX, SOCK_STREAM, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    std::strncpy(address.sun_path, QFile::encodeName(socketPath).constData(), sizeof address.sun_path - 1);
    ASSERT_EQ(::bind(socketFd, reinterpret_cast<const sockaddr *>(&address), sizeof address), 0);
    QDir().mkpath(home.path() + "/folder.xml");
    const QPair<QString, QString> notFiles[] = {
        {home.path() + "/folder.xml", "it is a folder."}, {home.path() + "/missing.xml", "No such file or directory"},
        {pipe, "it is a named pipe, not a file."},        {socketPath, "it is a socket, not a file."},
        {"/dev/null", "it is a device, not a file."},
    };
    // No program writes to the pipe: an open that waited for a writer would never
    // return. The opens run on a thread of their own under a watchdog, which fails the
    // test when they take too long and then releases the waiting open as a writer.
    std::promise<void> finished;
    std::future<void> done = finished.get_future();
    std::thread reader([&] {
        for (const auto &[path, why] : notFiles) {
            XMLDatabase db;
            EXPECT_FALSE(db.openDBValidate(path));
            EXPECT_EQ(db.getTheDOM()->parseErrorReason(), "The file " + path + " could not be read: " + why);
        }
        finished.set_value();
    });
    EXPECT_EQ(done.wait_for(std::chrono::seconds(5)), std::future_status::ready)
        << "an open waited for a writer of the named pipe";
    while (done.wait_for(std::chrono::milliseconds(20)) != std::future_status::ready) {
        const int fd = ::open(QFile::encodeName(pipe).constData(), O_WRONLY | O_NONBLOCK);
        if (fd >= 0)
            ::close(fd);
    }
    reader.join();
    ::close(socketFd);
}

TEST(BrokenFiles, aCollectionPastTheIdentifierCeilingOpensAndAllocatesNothing)
{
    test::TempHome home;
    QByteArray vardecks;
    for (int i = 1; i <= 40000; ++i)
        vardecks += "<VARDECK WID=\"W" + QByteArray::number(i) + "\"><NAME>v</NAME></VARDECK>";
    const QString path = test::writeDatabase(home.databaseFolder(), "big.xml",
                                             "<FOLDERS>" + test::folderXml("T1", "All", vardecks) + "</FOLDERS>");
    XMLDatabase db;
    ASSERT_TRUE(db.openDBValidate(path));
    EXPECT_TRUE(db.getTheDOM()->nodeFromID("W40000"));
    EXPECT_EQ(db.getNewWID(), "");
    EXPECT_EQ(db.getNewTID(), "T2");
}

TEST(BrokenFiles, settingsFilesKeepTheirGoodValuesOrAreSetAsideWhole)
{
    struct SettingsCase {
        const char *file;
        bool keptInPlace;
        const char *aspect; // the "Aspect" and "frmWidth" values read back ("" when missing)
        const char *width;
        const char *warning; // a part of what stderr says
    } cases[] = {
        {"settings-wrong-type.reg", true, "Web", "9000", "\"TabIndex\""},
        {"settings-wrong-type-everywhere.reg", true, "", "", "\"frmWidth\""},
        {"settings-corrupt.reg", false, "", "", "could not be read"},
        {"settings-other-program.reg", false, "", "", "not a settings file"},
    };
    for (const SettingsCase &c : cases) {
        SCOPED_TRACE(c.file);
        test::TempHome home;
        const QString folder = home.path() + "/config";
        QDir().mkpath(folder);
        RegistryStore store(folder);
        const QString file = store.fileOf(reg::HKEY_CURRENT_USER);
        const QString source = test::dataFile(QStringLiteral("broken/") + c.file);
        ASSERT_TRUE(QFile::copy(source, file));

        testing::internal::CaptureStderr();
        reg::Key key = 0;
        reg::Value aspect;
        reg::Value width;
        store.openKey(reg::HKEY_CURRENT_USER, "Software\\Quorvane\\Vardecks", &key);
        store.queryValue(key, "Aspect", &aspect);
        store.queryValue(key, "frmWidth", &width);
        store.closeKey(key);
        const std::string said = testing::internal::GetCapturedStderr();

        EXPECT_EQ(aspect.data.toString(), c.aspect);
        EXPECT_EQ(width.data.toString(), c.width);
        EXPECT_NE(said.find(c.warning), std::string::npos) << said;
        EXPECT_EQ(QFile::exists(file), c.keptInPlace);
        const QStringList aside = QDir(folder).entryList({"*.unreadable-*"}, QDir::Files);
        ASSERT_EQ(aside.size(), c.keptInPlace ? 0 : 1);
        if (!c.keptInPlace) {
            EXPECT_EQ(test::readBytes(folder + "/" + aside.first()), test::readBytes(source)) << "set aside whole";
        }
        // The store goes on: a new value is written and read back.
        ASSERT_EQ(store.createKey(reg::HKEY_CURRENT_USER, "K", &key), reg::ERROR_SUCCESS);
        EXPECT_EQ(store.setValue(key, "v", reg::Value::text("new")), reg::ERROR_SUCCESS);
        store.queryValue(key, "v", &aspect);
        EXPECT_EQ(aspect.data.toString(), "new");
        store.closeKey(key);
    }
}
