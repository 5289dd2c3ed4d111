#include "options/htmlhelp.h"
#include "options/tipsupport.h"

#include <QFileInfo>
#include <QSet>
#include <gtest/gtest.h>

using namespace rr;

namespace
{

QList<TipSupport> tips()
{
    QList<TipSupport> list;
    loadTips(list);
    return list;
}

} // namespace

TEST(TipTable, holdsFiftyTwoTipsInIdOrderEachWithTitleBodyAndAnInstalledPage)
{
    QList<TipSupport> list = tips();
    loadTips(list); // a second load starts a new list
    ASSERT_EQ(list.size(), 52);
    QSet<QString> titles;
    QSet<QString> pages;
    for (int i = 0; i < list.size(); ++i) {
        const TipSupport &tip = list[i];
        EXPECT_EQ(tip.getTipId(), QString::number(i + 1));
        EXPECT_FALSE(tip.getTipShortText().isEmpty() || tip.getTipLongText().isEmpty()) << i + 1;
        EXPECT_FALSE(tip.getTipLongText().contains(QLatin1Char('\n'))) << i + 1;
        titles.insert(tip.getTipShortText());
        pages.insert(tip.getTipHelpURL());
        EXPECT_TRUE(QFileInfo(HTMLHelp::defaultHelpFile() + "/" + tip.getTipHelpURL()).isFile())
            << tip.getTipHelpURL().toStdString();
    }
    EXPECT_EQ(titles.size(), 52);
    EXPECT_EQ(pages.size(), 35);
    EXPECT_EQ(list[51].getTipShortText(), "Opening the first search result");
}

TEST(TipTable, keepsTheGivenBodiesCharacterForCharacter)
{
    const QList<TipSupport> list = tips();
    const std::pair<int, const char *> given[] = {
        {1, "When creating a Vardeck bookmark, or retrieving one from a browser, the information about it remains "
            "editable until the Vardeck is saved.  To save the Vardeck click on the Save button on the toolbar, or use "
            "the keyboard shortcut CTRL-S."},
    };
    for (const auto &[id, body] : given)
        EXPECT_EQ(list[id - 1].getTipLongText().toStdString(), body) << id;
}

TEST(TipTable, nextTipFollowsTheStoredOneAndStartsAgainAfterTheLastOrOnAnythingElse)
{
    EXPECT_EQ(nextTipPosition("", 52), 1);
    EXPECT_EQ(nextTipPosition("0", 52), 1);
    EXPECT_EQ(nextTipPosition("1", 52), 2);
    EXPECT_EQ(nextTipPosition("51", 52), 52);
    EXPECT_EQ(nextTipPosition("52", 52), 1);
    for (const char *broken : {"-1", "53", "99999999999", "3x", "2.5"})
        EXPECT_EQ(nextTipPosition(broken, 52), 1) << broken;
}
