// What a real save of the database file returns, for each way it can end, and which
// of those ends the user is told about.
#include "platform/atomicfile.h"
#include "storage/savereport.h"
#include "storage/xmldatabase.h"
#include "support/dbfixture.h"
#include "support/failingdisk.h"
#include "support/testenv.h"

#include <gtest/gtest.h>

#include <optional>

using namespace rr;

namespace
{

enum class Before { Nothing, OtherProgramReplaces, DiskFails };
// The user's answer to the changed-file question; nullopt: no question is installed.
using Answer = std::optional<bool>;

struct Case {
    const char *name;
    Before before;
    Answer answer;
    SaveOutcome::Kind kind;
    const char *reason; // %1 is the file's path
    const char *nameOnDisk;
    int asked;
    bool told;
};

const Case kCases[] = {
    {"UnchangedFile", Before::Nothing, false, SaveOutcome::Kind::Written, "", "Ours", 0, false},
    {"ChangedFileYes", Before::OtherProgramReplaces, true, SaveOutcome::Kind::Written, "", "Ours", 1, false},
    {"ChangedFileNo", Before::OtherProgramReplaces, false, SaveOutcome::Kind::KeptByUser,
     "%1 was changed by another program after it was read, so it was not written over.", "Theirs", 1, false},
    {"ChangedFileNobodyToAsk", Before::OtherProgramReplaces, std::nullopt, SaveOutcome::Kind::Failed,
     "%1 was changed by another program after it was read, so it was not written over.", "Theirs", 0, true},
    {"FailingDisk", Before::DiskFails, false, SaveOutcome::Kind::Failed,
     "%1 could not be written: the file would be larger than this system allows.", "Old", 0, true},
};

class SaveOutcomeTest : public ::testing::TestWithParam<Case>
{
protected:
    void SetUp() override
    {
        path = test::writeDatabase(home.databaseFolder(), "db.xml",
                                   "<FOLDERS>" + test::folderXml("T1", "Old") + "</FOLDERS>");
        db.setPath(path);
        ASSERT_TRUE(db.openDBValidate(path));
        if (const Answer answer = GetParam().answer) {
            db.setChangedFileQuestion([this, yes = *answer](const QString &, XMLDatabase::OnKeep) {
                ++asked;
                return yes;
            });
        }
        db.getTheDOM()->nodeFromID("T1").setChildText("NAME", "Ours");
        if (GetParam().before == Before::OtherProgramReplaces) {
            ASSERT_TRUE(writeFileAtomically(path, "<?xml version='1.0'?><FOLDERS>" + test::folderXml("T1", "Theirs") +
                                                      "</FOLDERS>"));
        }
    }
    // Runs the save, on a failing disk when the case says so.
    template <typename Save> auto save(Save run)
    {
        std::optional<test::FailingDisk> disk;
        if (GetParam().before == Before::DiskFails)
            disk.emplace();
        return run();
    }
    QString nameOnDisk() const
    {
        XMLDatabase fresh;
        EXPECT_TRUE(fresh.openDBValidate(path));
        return fresh.getTheDOM()->nodeFromID("T1").childText("NAME");
    }
    QString expectedReason() const { return QString::fromUtf8(GetParam().reason).replace(QLatin1String("%1"), path); }

    test::TempHome home;
    QString path;
    XMLDatabase db;
    int asked = 0;
};

} // namespace

TEST_P(SaveOutcomeTest, aSaveReturnsWhetherItWroteOrWhyNot)
{
    const Case &c = GetParam();
    const SaveOutcome outcome = save([&] { return db.save(); });
    EXPECT_EQ(outcome.kind, c.kind);
    EXPECT_EQ(outcome.reason, expectedReason());
    EXPECT_EQ(asked, c.asked);
    EXPECT_EQ(nameOnDisk(), c.nameOnDisk);
    EXPECT_EQ(db.hasUnsavedChanges(), !outcome.written()) << "a change not written stays in memory";
    EXPECT_EQ(db.getTheDOM()->nodeFromID("T1").childText("NAME"), "Ours");
}

TEST_P(SaveOutcomeTest, onlyASaveThatFailedIsToldTheUsersNoIsNot)
{
    const Case &c = GetParam();
    Notices notices;
    const bool saved = save([&] { return saveDatabase(db, notices); });
    EXPECT_EQ(saved, c.kind == SaveOutcome::Kind::Written);
    if (!c.told) {
        EXPECT_TRUE(notices.isEmpty());
        return;
    }
    ASSERT_EQ(notices.size(), 1);
    EXPECT_EQ(notices[0].text,
              "The Vardecks database could not be saved.  The change is kept until the next save.\n\n" +
                  expectedReason());
    EXPECT_EQ(notices[0].icon, MsgIcon::Exclamation);
}

INSTANTIATE_TEST_SUITE_P(Ends, SaveOutcomeTest, ::testing::ValuesIn(kCases),
                         [](const auto &info) { return std::string(info.param.name); });
