#include "finding/favorites.h"
#include "findingfixture.h"
#include "storage/savereport.h"
#include "support/failingdisk.h"

using namespace rr;
using test::Vd;

using FavoritesTest = test::FindingTest;

TEST_F(FavoritesTest, anyCaseOfTrueIsAFavoriteWritingStoresUpperCaseAndADropAddsOnlyNewOnes)
{
    open({Vd("W1").name("b").fav("true"), Vd("W2").fav("FALSE"), Vd("W3").name("a").fav("True")},
         {Vd("W4").fav("yes")});
    Favorites favs;
    favs.populate(doc());
    EXPECT_EQ(favs.favsColl(), QStringList({"W1", "W3"}));
    EXPECT_EQ(favs.countLabel(), "Favorites: 2");

    m_prompts.answer(MsgResult::Yes);
    EXPECT_EQ(favs.deleteSelected(m_db, "W1").outcome, Favorites::Outcome::Deleted);
    EXPECT_EQ(favs.addToFavorites(m_db, "W2").outcome, Favorites::Outcome::Added);
    XmlDocument *disk = reread();
    EXPECT_EQ(disk->nodeFromID("W1").childText("FAV"), "FALSE");
    EXPECT_EQ(disk->nodeFromID("W2").childText("FAV"), "TRUE");
    EXPECT_EQ(disk->nodeFromID("W3").childText("FAV"), "True"); // untouched

    // A drop of several adds only the new ones, with one count.
    const Favorites::DropResult result = favs.addDropped(m_db, {"W1", "W2", "W3", "W4", "W9"});
    EXPECT_EQ(result.added, 2);
    EXPECT_TRUE(result.saved);
    EXPECT_EQ(favs.favsColl(), QStringList({"W3", "W2", "W1", "W4"}));
    EXPECT_EQ(m_prompts.lastText(), "2 favorites added.");
    EXPECT_EQ(m_prompts.messages().back().icon, MsgIcon::Information);
    favs.addDropped(m_db, {"W1"});
    EXPECT_EQ(m_prompts.lastText(), "0 favorites added.");
}

TEST_F(FavoritesTest, theMenuKeepsDocumentThenAddedOrderWhileTheTreeSortsByName)
{
    open({Vd("W1").name("zebra").fav("TRUE"), Vd("W2").name("Mango"), Vd("W3").name("apple").fav("TRUE")});
    Favorites favs;
    favs.populate(doc());
    favs.addToFavorites(m_db, "W2");
    EXPECT_EQ(test::texts(favs.menuItems(doc()), &FavoriteItem::name), QStringList({"zebra", "apple", "Mango"}));
    VDData recent;
    recent.loadDataFromReg("w3", "apple", "http://a.example/", "Vardecks.xml");
    const QList<FavoriteItem> tree = favs.treeItems(doc(), {recent});
    EXPECT_EQ(test::texts(tree, &FavoriteItem::name), QStringList({"apple", "Mango", "zebra"}));
    EXPECT_TRUE(tree.at(0).bold);
    EXPECT_FALSE(tree.at(1).bold);
}

TEST_F(FavoritesTest, deletingAsksAndNoChangesNothing)
{
    open({Vd("W1").name("Keep").fav("TRUE"), Vd("W2").name("Drop").fav("TRUE")});
    Favorites favs;
    favs.populate(doc());
    m_prompts.answer(MsgResult::No);
    EXPECT_EQ(favs.deleteSelected(m_db, " W2 ").outcome, Favorites::Outcome::Declined);
    const MessageRequest question = m_prompts.messages().back();
    EXPECT_EQ(question.text, "Are you sure you wish to delete Drop from your favorites list?");
    EXPECT_EQ(question.title, "Delete folder?");
    EXPECT_EQ(question.buttons, MsgButtons::YesNo);
    EXPECT_EQ(favs.favsColl().size(), 2);

    m_prompts.answer(MsgResult::Yes);
    const Favorites::Change change = favs.deleteSelected(m_db, "W2");
    EXPECT_TRUE(change.changed && change.saved);
    EXPECT_EQ(favs.favsColl(), QStringList({"W1"}));

    m_prompts.clear();
    EXPECT_EQ(favs.deleteSelected(m_db, "W2").outcome, Favorites::Outcome::NotInList);
    EXPECT_EQ(favs.deleteSelected(m_db, "").outcome, Favorites::Outcome::NoSelection);
    EXPECT_EQ(favs.addSelected(m_db, "").outcome, Favorites::Outcome::NoSelection);
    EXPECT_EQ(m_prompts.texts(),
              QStringList({"The displayed Vardeck is not in your favorites list",
                           "No Vardeck is currently selected to delete from your favorite Vardecks list",
                           "No Vardeck is currently selected to add to your favorite Vardecks list"}));
}

TEST_F(FavoritesTest, aVanishedVardeckRebuildsTheFavoritesQuietly)
{
    open({Vd("W1").name("one").fav("TRUE"), Vd("W2").name("two").fav("TRUE"), Vd("W3").name("three").fav("TRUE")});
    Favorites favs;
    favs.populate(doc());
    XmlNode gone = vardeck("W2");
    gone.parentNode().removeChild(gone);

    EXPECT_EQ(test::texts(favs.menuItems(doc()), &FavoriteItem::name), QStringList({"one", "three"}));
    gone = vardeck("W3");
    gone.parentNode().removeChild(gone);
    m_prompts.answer(MsgResult::Yes);
    // Removal goes by identifier: the right Vardeck leaves, whatever its position.
    EXPECT_EQ(favs.deleteSelected(m_db, "W1").outcome, Favorites::Outcome::Deleted);
    EXPECT_TRUE(favs.favsColl().isEmpty());
    EXPECT_EQ(favs.createNewFav(m_db, "W2").outcome, Favorites::Outcome::Missing);
    EXPECT_EQ(favs.addToFavorites(m_db, "W3").outcome, Favorites::Outcome::Missing);
    EXPECT_EQ(m_prompts.messages().size(), 1u); // only the delete question
}

TEST_F(FavoritesTest, aFailedSaveIsReportedAndTheMarkKept)
{
    open({Vd("W1").name("one")});
    Favorites favs;
    favs.populate(doc());
    const QByteArray before = test::readBytes(m_path);
    Favorites::Change change;
    {
        test::FailingDisk disk;
        change = favs.addToFavorites(m_db, "W1");
    }
    EXPECT_TRUE(change.changed);
    EXPECT_FALSE(change.saved);
    EXPECT_EQ(test::readBytes(m_path), before);
    EXPECT_TRUE(isFavorite(vardeck("W1")));
    ASSERT_EQ(m_prompts.messages().size(), 2u);
    EXPECT_EQ(m_prompts.messages().front().icon, MsgIcon::Exclamation);
    EXPECT_TRUE(m_prompts.messages().front().text.startsWith("The Vardecks database could not be saved."));
    EXPECT_EQ(favs.favsColl(), QStringList({"W1"}));
}
