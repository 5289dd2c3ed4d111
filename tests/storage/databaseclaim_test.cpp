// One copy of the program at a time writes a database: a copy that finds the file open
// in another has it read-only until that copy lets go, however it lets go.
#include "storage/databaseclaim.h"
#include "storage/xmldatabase.h"
#include "support/dbfixture.h"
#include "support/testenv.h"

#include <gtest/gtest.h>

#include <csignal>
#include <sys/wait.h>
#include <unistd.h>

using namespace rr;
using namespace rr::test;

namespace
{

// Another copy of the program, in a process of its own, with the database at path open;
// it lets go when told.
class OtherCopy
{
public:
    explicit OtherCopy(const QString &path)
    {
        EXPECT_EQ(::pipe(m_orders), 0);
        EXPECT_EQ(::pipe(m_answers), 0);
        m_pid = ::fork();
        if (m_pid == 0) {
            XMLDatabase db;
            db.openDBValidate(path);
            db.claimFile();
            tell(db.isReadOnlyHere() ? 'x' : 'c');
            char order = 0;
            while (::read(m_orders[0], &order, 1) == 1 && order == 'r') {
                db.releaseFile();
                tell('r');
            }
            ::_exit(0);
        }
        EXPECT_EQ(heard(), 'c') << "the other copy has the file";
    }
    ~OtherCopy()
    {
        if (m_pid > 0)
            kill();
        for (int fd : {m_orders[0], m_orders[1], m_answers[0], m_answers[1]})
            ::close(fd);
    }
    OtherCopy(const OtherCopy &) = delete;
    OtherCopy &operator=(const OtherCopy &) = delete;

    void closeFile()
    {
        EXPECT_EQ(::write(m_orders[1], "r", 1), 1);
        EXPECT_EQ(heard(), 'r');
    }
    void end()
    {
        EXPECT_EQ(::write(m_orders[1], "e", 1), 1);
        ::waitpid(m_pid, nullptr, 0);
        m_pid = 0;
    }
    void kill()
    {
        ::kill(m_pid, SIGKILL);
        ::waitpid(m_pid, nullptr, 0);
        m_pid = 0;
    }

private:
    void tell(char c) { (void)!::write(m_answers[1], &c, 1); }
    char heard()
    {
        char c = 0;
        return ::read(m_answers[0], &c, 1) == 1 ? c : 0;
    }
    int m_orders[2] = {-1, -1};
    int m_answers[2] = {-1, -1};
    pid_t m_pid = 0;
};

} // namespace

TEST(DatabaseClaim, aFileOpenInAnotherCopyIsReadOnlyHereUntilThatCopyLetsGoHoweverItDoes)
{
    const struct {
        const char *how;
        void (OtherCopy::*letGo)();
    } cases[] = {
        {"it closes the file", &OtherCopy::closeFile},
        {"it ends", &OtherCopy::end},
        {"it is killed", &OtherCopy::kill},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.how);
        TempHome home;
        const QString path =
            writeDatabase(home.databaseFolder(), "Vardecks.xml", "<FOLDERS>" + folderXml("T1", "Old") + "</FOLDERS>");
        OtherCopy other(path);
        XMLDatabase here;
        ASSERT_TRUE(here.openDBValidate(path));
        EXPECT_EQ(here.claimFile(), DatabaseClaim::State::HeldElsewhere);
        EXPECT_TRUE(here.isReadOnlyHere());
        here.getTheDOM()->nodeFromID("T1").setChildText("NAME", "New");
        const QByteArray before = readBytes(path);
        const SaveOutcome refused = here.save();
        EXPECT_FALSE(refused.written());
        EXPECT_EQ(refused.reason,
                  path + " is open in another copy of Razuzezu Revidod, so this copy does not write it.");
        EXPECT_TRUE(here.hasUnsavedChanges()) << "the change stays in memory";
        EXPECT_EQ(readBytes(path), before);

        (other.*c.letGo)();
        const SaveOutcome saved = here.save();
        EXPECT_TRUE(saved.written()) << saved.reason.toStdString();
        EXPECT_TRUE(readBytes(path).contains("<NAME>New</NAME>"));
        EXPECT_FALSE(here.isReadOnlyHere());
        EXPECT_FALSE(here.hasUnsavedChanges());
    }
}

TEST(DatabaseClaim, twoPathsToOneFileShareItsClaim)
{
    TempHome home;
    const QString path = writeDatabase(home.databaseFolder(), "Vardecks.xml", "<FOLDERS></FOLDERS>");
    const QString link = home.path() + "/Elsewhere.xml";
    ASSERT_TRUE(QFile::link(path, link));
    EXPECT_EQ(DatabaseClaim::lockPathFor(link), home.databaseFolder() + ".Vardecks.xml.lock");
    OtherCopy other(link);
    XMLDatabase here;
    ASSERT_TRUE(here.openDBValidate(path));
    EXPECT_EQ(here.claimFile(), DatabaseClaim::State::HeldElsewhere);
}
