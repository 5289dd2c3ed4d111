// Keys that reach the folder tree or the folder's Vardeck tree together, as a name typed
// quickly does or keys queued while the window was busy: once the last of them is handled,
// the window shows the folder or the Vardeck the tree highlights.
#include "editingfixture.h"

using namespace rr;
using namespace rr::test;

namespace
{

struct KeysTogetherCase {
    const char *name;
    const char *tree; // tvwTopics or tvwWM
    // Each group of keys reaches the tree at once; the window's queued work runs between
    // groups. "{Down}" and "{End}" stand for those keys, anything else is typed.
    QStringList groups;
    // What the tree highlights at the end, and the window shows as the folder's or the
    // Vardeck's name.
    const char *shown;
};

void PrintTo(const KeysTogetherCase &c, std::ostream *out)
{
    *out << c.name;
}

class KeysTogetherTest : public EditingTest, public ::testing::WithParamInterface<KeysTogetherCase>
{
protected:
    // The keys of a group, all handled by the tree before anything queued runs.
    static void sendGroup(QWidget *tree, const QString &group)
    {
        static const QList<std::pair<QString, Qt::Key>> named = {{"{Down}", Qt::Key_Down}, {"{End}", Qt::Key_End}};
        for (qsizetype at = 0; at < group.size();) {
            const auto key = std::find_if(named.begin(), named.end(), [&](const auto &n) {
                return QStringView(group).mid(at).startsWith(n.first);
            });
            if (key != named.end()) {
                QTest::keyClick(tree, key->second);
                at += key->first.size();
            } else {
                QTest::keyClicks(tree, group.mid(at, 1));
                ++at;
            }
        }
    }
};

TEST_P(KeysTogetherTest, showWhatTheTreeHighlightsAfterTheLastKey)
{
    const KeysTogetherCase &c = GetParam();
    const VD naive{"W1", "naïve books bike", "http://naive.example/"};
    const VD news{"W2", "news bike", "http://news.example/"};
    const VD ocean{"W3", "ocean tides", "http://ocean.example/"};
    const VD alpha{"W4", "alpha", "http://alpha.example/"};
    openDb("<FOLDERS>" + folderXml("T1", "letters", naive.xml() + news.xml() + ocean.xml() + alpha.xml()) +
           folderXml("T2", "banana") + folderXml("T3", "zebra") + "</FOLDERS>");
    showVardeck("T1", "W4"); // alpha, the first by name
    ASSERT_EQ(lblWName(*window)->text(), "alpha");
    const bool folders = QByteArray(c.tree) == "tvwTopics";
    QTreeWidget *tree = folders ? topics() : tvwWM(*window);
    tree->setFocus();

    for (const QString &group : c.groups) {
        sendGroup(tree, group);
        settle();
    }
    ASSERT_NE(tree->currentItem(), nullptr);
    EXPECT_EQ(tree->currentItem()->text(0), QString::fromUtf8(c.shown));
    EXPECT_EQ((folders ? lblTName(*window) : lblWName(*window))->text(), QString::fromUtf8(c.shown));
    EXPECT_EQ(window->editState(), EditState::Viewing);
}

INSTANTIATE_TEST_SUITE_P(
    Trees, KeysTogetherTest,
    ::testing::Values(
        // The first key reaches one node, the next ones another, and the last ones none.
        KeysTogetherCase{"aVardecksNameTypedAtOnce", "tvwWM", {"new page"}, "news bike"},
        KeysTogetherCase{"aVardecksFirstLetterShownBeforeTheRestCame", "tvwWM", {"n", "ew page"}, "news bike"},
        KeysTogetherCase{"vardeckArrowsTheLastReachingNoFurther", "tvwWM", {"{Down}{End}{End}"}, "ocean tides"},
        KeysTogetherCase{"aFoldersNameTypedAtOnce", "tvwTopics", {"bx"}, "banana"},
        KeysTogetherCase{"folderArrowsTheLastReachingNoFurther", "tvwTopics", {"{Down}{End}{End}"}, "zebra"}),
    [](const ::testing::TestParamInfo<KeysTogetherCase> &info) { return std::string(info.param.name); });

} // namespace
