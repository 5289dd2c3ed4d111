// The duplicate-address search, the "Manage duplicates" window with a stand-in deletion, and the statistics.
#include "dialogfixture.h"
#include "dialogs/frmduplicates.h"
#include "support/dialogcontrols.h"

#include <QCheckBox>
#include <QHeaderView>
#include <QTest>
#include <optional>

using namespace rr;
using namespace rr::test;

namespace
{

QByteArray vd(const QByteArray &wid, const QByteArray &address, const QByteArray &extra = {})
{
    return "<VARDECK WID=\"" + wid + "\"><NAME>n" + wid + "</NAME><ADDRESS>" + address + "</ADDRESS>" + extra +
           "</VARDECK>";
}

QStringList widsOf(const DuplicateSet &set)
{
    QStringList out;
    for (const XmlNode &n : set)
        out << n.attribute("WID");
    return out;
}

// Calls see at every message, then answers as the handler it replaced would.
struct SeeingPrompts final : PromptHandler {
    explicit SeeingPrompts(std::function<void()> see) : see(std::move(see)), previous(prompt::installed())
    {
        prompt::install(this);
    }
    ~SeeingPrompts() override { prompt::install(previous); }
    MsgResult message(const MessageRequest &request) override
    {
        see();
        return previous->message(request);
    }
    QString file(const FileRequest &request) override { return previous->file(request); }
    QString input(const InputRequest &request, bool *ok) override { return previous->input(request, ok); }
    std::function<void()> see;
    PromptHandler *previous;
};

struct DuplicatesTest : ::testing::Test {
    std::optional<DialogDb> d;
    QStringList deleted;
    int resets = 0;

    void open(const QByteArray &vardecks, const QByteArray &more = {})
    {
        d.emplace("<FOLDERS>" + folderXml("T1", "Inbox", vardecks) + folderXml("T2", "Other", more) + "</FOLDERS>");
    }
    XmlDocument &doc() { return d->doc(); }
    // What the dialog asks of the main window: deleting takes the Vardeck out of the document.
    struct Host final : DuplicatesHost {
        explicit Host(DuplicatesTest &test) : test(test) {}
        bool deleteSelectedVardeck(const QString &wid) override
        {
            XmlNode node = test.doc().nodeFromID(wid);
            test.deleted << wid;
            node.parentNode().removeChild(node);
            return true;
        }
        void resetAfterDelete() override { ++test.resets; }
        DuplicatesTest &test;
    } standIn{*this};
    DuplicatesHost &host() { return standIn; }
    QStringList rows(const frmDuplicates &dialog) const
    {
        QStringList out;
        for (int i = 0; i < dialogControl<QTreeWidget>(dialog, "listVD")->topLevelItemCount(); ++i)
            out << dialogControl<QTreeWidget>(dialog, "listVD")->topLevelItem(i)->data(0, Qt::UserRole).toString();
        return out;
    }
};

} // namespace

TEST_F(DuplicatesTest, addressesLoseTheSchemeAndOneTrailingSlashAndSetsFollowFirstOccurrenceWithTheFirstCopyLast)
{
    const struct {
        const char *address;
        const char *normalised;
    } cases[] = {
        {"http://www.a.example/x/", "www.a.example/x"},
        {"www.a.example/x", "www.a.example/x"},
        {"www.a.example/x/", "www.a.example/x/"},
        {"http://www.a.example/x//", "www.a.example/x/"},
        {"ftp://WWW.A.example/X", "WWW.A.example/X"},
        {"file://", ""},
        {"a//b//c/", "b//c"},
    };
    for (const auto &c : cases)
        EXPECT_EQ(normaliseAddress(c.address), c.normalised) << c.address;

    open(vd("W1", "http://b.example/") + vd("W2", "http://a.example") + vd("W3", "https://b.example") +
             vd("W4", "http://A.example") + vd("W5", "b.example"),
         vd("W6", "a.example") + vd("W7", "https://b.example/"));
    const QList<DuplicateSet> sets = findDuplicateSets(doc());
    ASSERT_EQ(sets.size(), 2);
    EXPECT_EQ(widsOf(sets[0]), QStringList({"W3", "W5", "W7", "W1"}));
    EXPECT_EQ(widsOf(sets[1]), QStringList({"W6", "W2"}));
    EXPECT_EQ(widsOf(findAddressCopies(doc(), "ftp://b.example")), QStringList({"W1", "W3", "W5", "W7"}));
}

TEST_F(DuplicatesTest, withoutDuplicatesTheWindowSaysSoAndTheCheckAfterSavingShowsOnlyForSharedAddresses)
{
    open(vd("W1", "http://a.example/") + vd("W2", "http://b.example") + vd("W3", "https://a.example"));
    frmDuplicates alone(doc(), "http://b.example/", true, host(), {});
    EXPECT_TRUE(alone.closesUnseen());
    frmDuplicates shared(doc(), "a.example", true, host(), {});
    EXPECT_FALSE(shared.closesUnseen());
    EXPECT_EQ(rows(shared), QStringList({"W1", "W3"}));
    frmDuplicates none(doc(), "http://c.example", true, host(), {});
    EXPECT_EQ(none.setCount(), 0);
    EXPECT_TRUE(d->prompts.messages().empty());

    // With the copy gone there is no set left.
    XmlNode w3 = doc().nodeFromID("W3");
    w3.parentNode().removeChild(w3);
    frmDuplicates dialog(doc(), "", false, host(), {});
    EXPECT_FALSE(dialog.closesUnseen());
    EXPECT_EQ(dialogControl<QLabel>(dialog, "Label2")->text(), "0 duplicate set(s) found");
    EXPECT_EQ(dialogControl<QLabel>(dialog, "Label3")->text(), "Duplicate set 1 of 0");
    EXPECT_EQ(d->prompts.lastText(), "No duplicate web addresses exist in the current Vardecks database.");
    EXPECT_FALSE(dialogControl<QTreeWidget>(dialog, "listVD")->isEnabled());
    EXPECT_FALSE(dialogControl<QCheckBox>(dialog, "chkSuppress")->isEnabled());
}

TEST_F(DuplicatesTest, navigatingAndDeletingWalkTheSetsWithoutSkippingOne)
{
    open(vd("W1", "http://a.example", "<HITS>4</HITS>") + vd("W2", "http://b.example") + vd("W3", "http://c.example") +
         vd("W4", "https://a.example") + vd("W5", "https://b.example") + vd("W6", "https://c.example") +
         vd("W7", "c.example"));
    frmDuplicates dialog(doc(), "", false, host(), {});
    ASSERT_EQ(dialog.setCount(), 3);
    EXPECT_EQ(rows(dialog), QStringList({"W4", "W1"}));
    // Opened, the list's columns take the width of their texts.
    dialog.show();
    QHeaderView *header = dialogControl<QTreeWidget>(dialog, "listVD")->header();
    ASSERT_TRUE(QTest::qWaitFor([&] { return header->sectionSize(4) != header->defaultSectionSize(); }, 1000));
    EXPECT_LT(header->sectionSize(4), 60) << "Hits";
    EXPECT_GE(header->sectionSize(1),
              dialogControl<QTreeWidget>(dialog, "listVD")->fontMetrics().horizontalAdvance("https://a.example"));
    EXPECT_EQ(dialogControl<QLabel>(dialog, "lblName")->text(), "nW4");
    EXPECT_EQ(dialogControl<QLabel>(dialog, "lblFolder")->text(), "Inbox");
    EXPECT_EQ(dialogControl<QTreeWidget>(dialog, "listVD")->topLevelItem(1)->text(4), "4");
    EXPECT_EQ(dialogControl<QTreeWidget>(dialog, "listVD")->topLevelItem(0)->text(4), "1"); // no HITS counts 1

    dialog.cmdPrevious_Click();
    EXPECT_EQ(dialog.setIndex(), 1);
    dialog.cmdLast_Click();
    EXPECT_EQ(dialogControl<QLabel>(dialog, "Label3")->text(), "Duplicate set 3 of 3");
    EXPECT_EQ(rows(dialog), QStringList({"W6", "W7", "W3"}));
    dialog.cmdNext_Click();
    EXPECT_EQ(dialog.setIndex(), 3);

    // Deleting one of a set of three keeps the set; "all but selected" resolves it.
    dialogControl<QCheckBox>(dialog, "chkSuppress")->setChecked(true);
    dialogControl<QTreeWidget>(dialog, "listVD")
        ->setCurrentItem(dialogControl<QTreeWidget>(dialog, "listVD")->topLevelItem(1));
    dialog.cmdDelete_Click();
    EXPECT_EQ(deleted, QStringList({"W7"}));
    EXPECT_EQ(rows(dialog), QStringList({"W6", "W3"}));
    dialogControl<QCheckBox>(dialog, "chkAllDelete")->setChecked(true);
    dialog.cmdDelete_Click();
    EXPECT_EQ(deleted, QStringList({"W7", "W3"}));
    EXPECT_EQ(dialogControl<QLabel>(dialog, "Label3")->text(), "Duplicate set 2 of 2");

    // Resolving the first set shows the set that moved into its place.
    dialog.cmdFirst_Click();
    dialogControl<QCheckBox>(dialog, "chkAllDelete")->setChecked(false);
    d->prompts.answer(MsgResult::Yes);
    dialogControl<QCheckBox>(dialog, "chkSuppress")->setChecked(false);
    dialog.cmdDelete_Click();
    EXPECT_EQ(d->prompts.lastText(), "Are you sure you wish to delete nW4 from folder Inbox?");
    EXPECT_EQ(dialogControl<QLabel>(dialog, "Label3")->text(), "Duplicate set 1 of 1");
    EXPECT_EQ(rows(dialog), QStringList({"W5", "W2"}));
    EXPECT_FALSE(doc().nodeFromID("W4"));
    EXPECT_EQ(resets, 3);

    EXPECT_EQ(dialogControl<QLabel>(dialog, "Label2")->text(), "1 duplicate set(s) found")
        << "the count follows the deletions";

    // The last set resolved: both counts say so, and the window shows no Vardeck even while it tells.
    QStringList shownWhileTold;
    SeeingPrompts seeing([&] {
        shownWhileTold << dialogControl<QLabel>(dialog, "lblName")->text()
                       << dialogControl<QLabel>(dialog, "lblFolder")->text();
    });
    d->prompts.answer(MsgResult::Yes);
    dialog.cmdDelete_Click();
    EXPECT_EQ(dialogControl<QLabel>(dialog, "Label3")->text(), "Duplicate set 0 of 0");
    EXPECT_EQ(dialogControl<QLabel>(dialog, "Label2")->text(), "0 duplicate set(s) found");
    EXPECT_EQ(shownWhileTold, QStringList({"nW5", "Inbox", "", ""})) << "the question, then the message";
    EXPECT_EQ(d->prompts.lastText(), "No duplicate web addresses exist in the current Vardecks database.");
    EXPECT_EQ(dialogControl<QTreeWidget>(dialog, "listVD")->topLevelItemCount(), 0);
}

// Fitted to a small window, the long names and addresses are cut; as the window grows the
// columns share the width the list gets and show them whole.
TEST_F(DuplicatesTest, theColumnsShareTheWidthTheListGetsAsTheWindowGrows)
{
    const QByteArray name = "Harbour tide tables for the whole south coast of the island";
    const QByteArray address = "tides.example.org/harbour/south-coast/tables/today-and-tomorrow.html";
    const QByteArray description = "<DESCRIPTION>High and low water for every harbour along the south coast of "
                                   "the island, with the spring tides marked</DESCRIPTION>";
    open("<VARDECK WID=\"W1\"><NAME>" + name + "</NAME><ADDRESS>https://" + address + "</ADDRESS>" + description +
         "</VARDECK><VARDECK WID=\"W2\"><NAME>" + name + "</NAME><ADDRESS>http://" + address + "</ADDRESS>" +
         description + "</VARDECK>");
    frmDuplicates dialog(doc(), "", false, host(), {});
    dialog.resize(700, 480);
    dialog.show();
    QHeaderView *header = dialogControl<QTreeWidget>(dialog, "listVD")->header();
    ASSERT_TRUE(QTest::qWaitFor([&] { return header->sectionSize(4) != header->defaultSectionSize(); }, 1000));
    const QFontMetrics metrics = dialogControl<QTreeWidget>(dialog, "listVD")->fontMetrics();
    ASSERT_LT(header->sectionSize(0), metrics.horizontalAdvance(QString::fromLatin1(name))) << "cut at first";

    dialog.resize(1900, 900);
    QTest::qWait(20);
    EXPECT_GE(header->sectionSize(0), metrics.horizontalAdvance(QString::fromLatin1(name)));
    EXPECT_GE(header->sectionSize(1), metrics.horizontalAdvance("https://" + QString::fromLatin1(address)));
    EXPECT_LE(header->length(), dialogControl<QTreeWidget>(dialog, "listVD")->viewport()->width());

    // Smaller again, they share the smaller width.
    dialog.resize(700, 480);
    QTest::qWait(20);
    EXPECT_LE(header->length(), dialogControl<QTreeWidget>(dialog, "listVD")->viewport()->width());
    EXPECT_LT(header->sectionSize(0), metrics.horizontalAdvance(QString::fromLatin1(name)));
}

TEST_F(DuplicatesTest, aSetShowsOnlyTheVardecksStillInTheDocument)
{
    open(vd("W1", "http://a.example") + vd("W2", "http://b.example") + vd("W3", "https://a.example") +
         vd("W4", "https://b.example") + vd("W5", "b.example"));
    frmDuplicates dialog(doc(), "", false, host(), {});
    ASSERT_EQ(dialog.setCount(), 2);
    // A Vardeck of the second set goes while the first is shown.
    XmlNode gone = doc().nodeFromID("W4");
    gone.parentNode().removeChild(gone);
    dialog.cmdNext_Click();
    EXPECT_EQ(rows(dialog), QStringList({"W5", "W2"}));
    EXPECT_EQ(dialogControl<QLabel>(dialog, "lblName")->text(), "nW5");
    dialogControl<QTreeWidget>(dialog, "listVD")
        ->setCurrentItem(dialogControl<QTreeWidget>(dialog, "listVD")->topLevelItem(1));
    EXPECT_EQ(dialogControl<QLabel>(dialog, "lblName")->text(), "nW2");
    dialogControl<QCheckBox>(dialog, "chkSuppress")->setChecked(true);
    dialog.cmdDelete_Click();
    EXPECT_EQ(deleted, QStringList({"W2"}));
    EXPECT_EQ(dialog.setCount(), 1) << "one left of the set: it is resolved";
    EXPECT_EQ(rows(dialog), QStringList({"W3", "W1"}));
}

TEST_F(DuplicatesTest, statisticsCountEveryVardeckAndHitsIn64Bits)
{
    open(vd("W1", "a", "<HITS>7</HITS>") + vd("W2", "b") + vd("W3", "c", "<HITS>lots</HITS>"),
         vd("W4", "d", "<HITS>4000000000</HITS>"));
    const CollectionFigures figures = collectionFigures(doc());
    EXPECT_EQ(figures.vardecks, 4);
    EXPECT_EQ(figures.totalHits, 4000000008LL);

    open({});
    EXPECT_EQ(collectionFigures(doc()).vardecks, 0);
    EXPECT_EQ(collectionFigures(doc()).totalHits, 0);
}
