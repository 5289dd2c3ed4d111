// What a print killed midway leaves beside the file it was to write, and what the next
// start removes of it: only the files a killed process recorded, and only plain files
// of the temporary form.
#include "platform/pendingfiles.h"
#include "support/testenv.h"

#include <QDir>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <csignal>
#include <sys/wait.h>
#include <unistd.h>

using namespace rr;

TEST(PendingFiles, theNextStartRemovesOnlyThePrintFilesThatAKilledProcessRecorded)
{
    test::TempHome home;
    QTemporaryDir chosen; // where the user printed to
    const QString partial = pendingfiles::printingNameFor(chosen.filePath("report.pdf"));
    ASSERT_EQ(partial, chosen.filePath(".report.pdf.printing"));
    const QString precious = chosen.filePath("precious.txt");
    const QString link = chosen.filePath(".link.pdf.printing");
    const QString notOfTheForm = chosen.filePath("notes.txt");
    const QString unrecorded = chosen.filePath(".other.pdf.printing");
    const QString ofThisProcess = chosen.filePath(".mine.pdf.printing");
    for (const QString &file : {partial, precious, notOfTheForm, unrecorded, ofThisProcess})
        ASSERT_TRUE(test::writeBytes(file, "x"));
    ASSERT_TRUE(QFile::link(precious, link));
    ASSERT_TRUE(pendingfiles::remember(ofThisProcess));

    const pid_t killed = ::fork();
    if (killed == 0) {
        for (const QString &file : {partial, link, notOfTheForm})
            pendingfiles::remember(file);
        ::kill(::getpid(), SIGKILL);
    }
    ::waitpid(killed, nullptr, 0);

    EXPECT_EQ(pendingfiles::removeLeftovers(), 1);
    const struct {
        QString file;
        bool kept;
    } expected[] = {
        {partial, false},     {precious, true},   {link, true},
        {notOfTheForm, true}, {unrecorded, true}, {ofThisProcess, true},
    };
    for (const auto &e : expected)
        EXPECT_EQ(QFileInfo(e.file).isSymLink() || QFileInfo::exists(e.file), e.kept) << e.file.toStdString();
    const QString ownRecord = QStringLiteral("printing-%1").arg(::getpid());
    EXPECT_EQ(QDir(home.path() + "/config").entryList({"printing-*"}, QDir::Files), QStringList{ownRecord})
        << "the killed process's record goes, a running one's stays";

    pendingfiles::forget(ofThisProcess);
    EXPECT_TRUE(QDir(home.path() + "/config").entryList({"printing-*"}, QDir::Files).isEmpty());
}
