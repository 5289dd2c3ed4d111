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
    w.setCommand(QStringLiteral("cmdSearch_Click"), [search](int) { search->cmdSearch_Click(); });
    w.setCommand(QStringLiteral("chkSearch_Click"), [search](int index) { search->chkSearch_Click(index); });
    w.setCommand(QStringLiteral("chkOpt_Click"), [search](int) { search->chkOpt_Click(); });
    w.setCommand(QStringLiteral("chkOptt_Click"), [search](int) { search->chkOptt_Click(); });
    w.setCommand(QStringLiteral("cmdSearchHome_Click"), [search](int index) { search->cmdSearchHome_Click(index); });
    // Tools > Search: each item ticks only its field box.
    const QList<std::pair<const char *, int>> items = {
        {"mnuToolsSearchText_Click", 0},  {"mnuToolsSearchName_Click", 1}, {"mnuToolsSearchAddress_Click", 2},
        {"mnuToolsSearchNotes_Click", 3}, {"mnuToolsSearchDesc_Click", 4}, {"mnuToolsSearchKeywords_Click", 5},
    };
    for (const auto &[handler, box] : items)
        w.setCommand(QLatin1String(handler), [search, box = box](int) { search->prepareSearch(box); });
    w.setCommand(QStringLiteral("lstSrch_Click"), [search](int) { search->lstSrch_Click(); });
    w.setCommand(QStringLiteral("lstSearch_DblClick"), [search](int) { search->lstSearch_DblClick(); });
    w.ops.populateSearchList = [search] { search->populateSearchList(); };
}

void FindingUi::attachFavoriteCommands(frmVardecks &w)
{
    FavoritesPane *favorites = m_favorites;
    frmVardecks *window = &w;
    w.ops.populateFavsList = [favorites](XmlDocument *doc) { favorites->populateFavsList(doc); };
    // The Favorites tab fills an empty tree through this command.
    w.setCommand(QStringLiteral("populateFavsList"),
                 [favorites, window](int) { favorites->populateFavsList(findingui::openDocument(*window)); });
    w.setCommand(QStringLiteral("cmdFAdd_Click"), [favorites](int) { favorites->cmdFAdd_Click(); });
    w.setCommand(QStringLiteral("mnuFavsAdd_Click"), [favorites](int) { favorites->cmdFAdd_Click(); });
    w.setCommand(QStringLiteral("cmdFDelete_Click"), [favorites](int) { favorites->cmdFDelete_Click(); });
    w.setCommand(QStringLiteral("mnuFavsDelete_Click"), [favorites](int) { favorites->cmdFDelete_Click(); });
    w.setCommand(QStringLiteral("cmdAddFavs_Click"), [favorites](int) { favorites->cmdAddFavs_Click(); });
    w.setCommand(QStringLiteral("chkFav_Click"), [favorites](int) { favorites->chkFav_Click(); });
    w.setCommand(QStringLiteral("first_Click"), [favorites](int index) { favorites->first_Click(index); });
    // The navigation commands and the tree popup's show step select a node first.
    w.setCommand(QStringLiteral("tvwFavs_NodeClick"),
                 [favorites, window](int) { favorites->tvwFavs_NodeClick(findingui::selectedRow(window->tvwFavs)); });
    // The popups' "Add to favorites": the right-clicked tree node, the shown Vardeck.
    w.setCommand(QStringLiteral("mnuAddFavsVD_Click"), [favorites, window](int) {
        favorites->addToFavorites(findingui::tagOf(window->popup.popupNode.item()));
    });
    w.setCommand(QStringLiteral("mnuAddFavsVD2_Click"),
                 [favorites, window](int) { favorites->addToFavorites(window->currentWID); });
}

void FindingUi::attachPopularCommands(frmVardecks &w)
{
    PopularPane *popular = m_popular;
    w.ops.populatePopList = [popular](XmlDocument *doc) { popular->populatePopList(doc); };
    w.setCommand(QStringLiteral("mnuClearPop_Click"), [popular](int) { popular->mnuClearPop_Click(); });
    w.setCommand(QStringLiteral("listPop_Click"), [popular](int) { popular->listPop_Click(); });
}

FindingUi &installFinding(frmVardecks &w)
{
    if (FindingUi *installed = findingUiOf(w))
        return *installed;
    return *new FindingUi(w);
}

FindingUi *findingUiOf(const frmVardecks &w)
{
    return w.findChild<FindingUi *>(QString(), Qt::FindDirectChildrenOnly);
}

} // namespace rr
