#include "finding/ui/findingui.h"

#include "finding/ui/favoritespane.h"
#include "finding/ui/listrows.h"
#include "finding/ui/popularpane.h"
#include "finding/ui/searchpane.h"
#include "shell/frmvardecks.h"

#include <QAction>
#include <QTreeWidget>

namespace rr
{

FindingUi::FindingUi(frmVardecks &w)
    : QObject(&w), m_search(new SearchPane(w)), m_favorites(new FavoritesPane(w)), m_popular(new PopularPane(w))
{
    setObjectName(QStringLiteral("FindingUi"));
    attachSearchCommands(w);
    attachFavoriteCommands(w);
    attachPopularCommands(w);
}

void FindingUi::attachSearchCommands(frmVardecks &w)
{
    SearchPane *search = m_search;
    w.commands.cmdSearch_Click = [search](int) { search->cmdSearch_Click(); };
    w.commands.chkSearch_Click = [search](int index) { search->chkSearch_Click(index); };
    w.commands.chkOpt_Click = [search](int) { search->chkOpt_Click(); };
    w.commands.chkOptt_Click = [search](int) { search->chkOptt_Click(); };
    w.commands.cmdSearchHome_Click = [search](int index) { search->cmdSearchHome_Click(index); };
    // Tools > Search: each item ticks only its field box.
    const std::pair<HandlerRef, int> items[] = {
        {&Commands::mnuToolsSearchText_Click, 0},    {&Commands::mnuToolsSearchName_Click, 1},
        {&Commands::mnuToolsSearchAddress_Click, 2}, {&Commands::mnuToolsSearchNotes_Click, 3},
        {&Commands::mnuToolsSearchDesc_Click, 4},    {&Commands::mnuToolsSearchKeywords_Click, 5},
    };
    for (const auto &[handler, box] : items)
        w.commands.*handler = [search, box = box](int) { search->prepareSearch(box); };
    w.commands.lstSrch_Click = [search](int) { search->lstSrch_Click(); };
    w.commands.lstSearch_DblClick = [search](int) { search->lstSearch_DblClick(); };
    w.commands.populateSearchList = [search] { search->populateSearchList(); };
}

void FindingUi::attachFavoriteCommands(frmVardecks &w)
{
    FavoritesPane *favorites = m_favorites;
    frmVardecks *window = &w;
    w.commands.populateFavsList = [favorites](XmlDocument *doc) { favorites->populateFavsList(doc); };
    w.commands.cmdFAdd_Click = [favorites](int) { favorites->cmdFAdd_Click(); };
    w.commands.mnuFavsAdd_Click = [favorites](int) { favorites->cmdFAdd_Click(); };
    w.commands.cmdFDelete_Click = [favorites](int) { favorites->cmdFDelete_Click(); };
    w.commands.mnuFavsDelete_Click = [favorites](int) { favorites->cmdFDelete_Click(); };
    w.commands.first_Click = [favorites](int index) { favorites->first_Click(index); };
    // The navigation commands and the tree popup's show step select a node first.
    w.commands.tvwFavs_NodeClick = [favorites, window](int) {
        favorites->tvwFavs_NodeClick(selectedItemOf(window->tvwFavs));
    };
    // The popups' "Add to favorites": the right-clicked tree node, the shown Vardeck.
    w.commands.mnuAddFavsVD_Click = [favorites, window](int) {
        favorites->addToFavorites(tagOf(window->popup.popupNode().item()));
    };
    w.commands.mnuAddFavsVD2_Click = [favorites, window](int) { favorites->addToFavorites(window->currentWID()); };
}

void FindingUi::attachPopularCommands(frmVardecks &w)
{
    PopularPane *popular = m_popular;
    w.commands.populatePopList = [popular](XmlDocument *doc) { popular->populatePopList(doc); };
    w.commands.mnuClearPop_Click = [popular](int) { popular->mnuClearPop_Click(); };
    w.commands.listPop_Click = [popular](int) { popular->listPop_Click(); };
}

FindingUi &installFinding(frmVardecks &w)
{
    return *new FindingUi(w);
}

} // namespace rr
