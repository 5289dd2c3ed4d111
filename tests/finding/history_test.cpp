#include "finding/searchhistory.h"
#include "storage/lists.h"

#include <gtest/gtest.h>

using namespace rr;

TEST(SearchHistory, aCaseOnlyDuplicateMovesToTheFrontAndTheMaximumHolds)
{
    QStringList history{"news", "Recipe", "old"};
    recordSearchText(history, "RECIPE", 15);
    EXPECT_EQ(history, QStringList({"RECIPE", "news", "old"}));
    recordSearchText(history, "old", 15); // the oldest comes back without a copy
    EXPECT_EQ(history, QStringList({"old", "RECIPE", "news"}));
    recordSearchText(history, "", 15);
    EXPECT_EQ(history.size(), 3);

    // At most the maximum is kept, also after it was lowered.
    history.clear();
    for (int i = 1; i <= 16; ++i)
        recordSearchText(history, QStringLiteral("s%1").arg(i), 15);
    ASSERT_EQ(history.size(), 15);
    EXPECT_EQ(history.first(), "s16");
    EXPECT_EQ(history.last(), "s2");

    recordSearchText(history, "lowered", 5);
    EXPECT_EQ(history, QStringList({"lowered", "s16", "s15", "s14", "s13"}));
}
