#include "finding/ui/findingui.h"

#include "finding/ui/favoritespane.h"
#include "finding/ui/listrows.h"
#include "finding/ui/popularpane.h"
#include "finding/ui/searchpane.h"
#include "platform/gui/commands.h"
#include "platform/gui/itemtags.h"
#include "platform/gui/partoperations.h"
#include "shell/shownitems.h"

#include <QAction>
#include <QTreeWidget>

namespace rr
{

FindingUi::FindingUi(const FindingWindow &w)
    : QObject(&w.window), m_search(new SearchPane(w)), m_favorites(new FavoritesPane(w)), m_popular(new PopularPane(w))
{
    setObjectName(QStringLiteral("FindingUi"));
    connect(m_favorites, &FavoritesPane::favoriteOpened, this, &FindingUi::markRecentRows);
    // Cleared rankings: the search results' counts say 1 too.
    connect(m_popular, &PopularPane::countsReset, m_search, [search = m_search](const QStringList &wids) {
        for (const QString &wid : wids)
            search->showHitsOf(wid, 1);
    });
    attachSearchCommands(w);
    attachFavoriteCommands(w);
    attachPopularCommands(w);
    attachListOperations(w);
    offerOperations<FindingOperations>(w.window, *this, *this);
}

void FindingUi::markRecentRows()
{
    m_search->markRecentRows();
    m_popular->markRecentRows();
    m_favorites->markRecentRows();
}

void FindingUi::populateFavsList(XmlDocument *doc)
{
    m_favorites->populateFavsList(doc);
}

void FindingUi::populatePopList(XmlDocument *doc)
{
    m_popular->populatePopList(doc);
}

void FindingUi::populateSearchList()
{
    m_search->populateSearchList();
}

void FindingUi::clearSearchResults()
{
    m_search->clearSearchResults();
}

void FindingUi::favoritesOutOfDate()
{
    m_favorites->favoritesOutOfDate();
}

void FindingUi::showSearchOptions()
{
    m_search->showSearchOptions();
}

void FindingUi::restoreFindingColumns()
{
    m_search->restoreColumns();
}

void FindingUi::saveFindingColumns()
{
    m_search->saveColumns();
}

void FindingUi::attachSearchCommands(const FindingWindow &w)
{
    SearchPane *search = m_search;
    w.commands.cmdSearch_Click = [search](int) { search->cmdSearch_Click(); };
    w.commands.chkSearch_Click = [search](int index) { search->chkSearch_Click(FieldBox(index)); };
    w.commands.chkOpt_Click = [search](int) { search->chkOpt_Click(); };
    w.commands.chkOptt_Click = [search](int) { search->chkOptt_Click(); };
    w.commands.cmdSearchHome_Click = [search](int index) { search->cmdSearchHome_Click(index); };
    // Tools > Search: each item ticks only its field box.
    const std::pair<HandlerRef, FieldBox> items[] = {
        {&Commands::mnuToolsSearchText_Click, FieldBox::AllData},
        {&Commands::mnuToolsSearchName_Click, FieldBox::Name},
        {&Commands::mnuToolsSearchAddress_Click, FieldBox::Address},
        {&Commands::mnuToolsSearchNotes_Click, FieldBox::Notes},
        {&Commands::mnuToolsSearchDesc_Click, FieldBox::Description},
        {&Commands::mnuToolsSearchKeywords_Click, FieldBox::Keywords},
    };
    for (const auto &[handler, box] : items)
        w.commands.*handler = [search, box = box](int) { search->prepareSearch(box); };
    w.commands.lstSrch_Click = [search](int) { search->lstSrch_Click(); };
    w.commands.lstSrch_Click.showsRow([search] { return search->selectedRowOf(EntryList::SearchList); });
    w.commands.lstSearch_DblClick = [search](int) { search->lstSearch_DblClick(); };
    w.commands.lstSearch_DblClick.showsRow([search] { return search->selectedRowOf(EntryList::SearchResults); });
}

void FindingUi::attachFavoriteCommands(const FindingWindow &w)
{
    FavoritesPane *favorites = m_favorites;
    w.commands.cmdFAdd_Click = [favorites](int) { favorites->cmdFAdd_Click(); };
    w.commands.mnuFavsAdd_Click = [favorites](int) { favorites->cmdFAdd_Click(); };
    w.commands.cmdFDelete_Click = [favorites](int) { favorites->cmdFDelete_Click(); };
    w.commands.mnuFavsDelete_Click = [favorites](int) { favorites->cmdFDelete_Click(); };
    w.commands.first_Click = [favorites](int index) { favorites->first_Click(index); };
    // The navigation commands and the tree popup's show step select a node first.
    w.commands.tvwFavs_NodeClick = [favorites](int) { favorites->showSelectedFavorite(); };
    w.commands.tvwFavs_NodeClick.showsRow([favorites] { return favorites->selectedRow(); });
    // The popups' "Add to favorites": the right-clicked tree node, the shown Vardeck.
    const PopupState *popup = &w.popup;
    const ShownItems *shown = &w.shown;
    w.commands.mnuAddFavsVD_Click = [favorites, popup](int) {
        favorites->addToFavorites(tagOf(popup->popupNode().item()));
    };
    w.commands.mnuAddFavsVD2_Click = [favorites, shown](int) { favorites->addToFavorites(shown->currentWID()); };
}

void FindingUi::attachPopularCommands(const FindingWindow &w)
{
    PopularPane *popular = m_popular;
    w.commands.mnuClearPop_Click = [popular](int) { popular->mnuClearPop_Click(); };
    w.commands.listPop_Click = [popular](int) { popular->listPop_Click(); };
    w.commands.listPop_Click.showsRow([popular] { return popular->selectedRow(); });
}

// What an edit the user keeps asks of the lists together: their highlight goes back to
// the Vardeck being edited (what the other parts ask of the lists is in
// finding/ui/findingops.h).
void FindingUi::attachListOperations(const FindingWindow &w)
{
    SearchPane *search = m_search;
    PopularPane *popular = m_popular;
    FavoritesPane *favorites = m_favorites;
    const ShownItems *shown = &w.shown;
    w.commands.whenEditKept([shown, search, popular, favorites] {
        const QString wid = shown->editedWID();
        search->highlightRowOf(wid);
        popular->highlightRowOf(wid);
        favorites->highlightRowOf(wid);
    });
}

} // namespace rr
