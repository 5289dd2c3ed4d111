#pragma once
// The finding subsystem on the main window: the Search tab and result lists, the
// search history in the search box, the favourites (tab, menu, details-panel mark)
// and the popular list. Its panes make and keep their controls; the other parts reach
// them through the operations it offers on the window (shell/findingoperations.h) and
// those of findingops.h.
#include "finding/ui/findingwindow.h"
#include "shell/findingoperations.h"

#include <QObject>

namespace rr
{

class frmVardecks;
class FavoritesPane;
class PopularPane;
class SearchPane;

class FindingUi : public QObject, public FindingOperations
{
    Q_OBJECT
public:
    explicit FindingUi(const FindingWindow &w);

    SearchPane &search() const { return *m_search; }
    FavoritesPane &favorites() const { return *m_favorites; }
    PopularPane &popular() const { return *m_popular; }

    // The rows of every finding list drawn bold exactly when their Vardeck is recent.
    void markRecentRows();

    // What the frame, the options dialog and the parts above ask of the panes.
    void populateFavsList(XmlDocument *doc) override;
    void populatePopList(XmlDocument *doc) override;
    void populateSearchList() override;
    void clearSearchResults() override;
    void favoritesOutOfDate() override;
    void showSearchOptions() override;
    void restoreFindingColumns() override;
    void saveFindingColumns() override;

private:
    void attachSearchCommands(const FindingWindow &w);
    void attachFavoriteCommands(const FindingWindow &w);
    void attachPopularCommands(const FindingWindow &w);
    void attachListOperations(const FindingWindow &w);

    SearchPane *m_search;
    FavoritesPane *m_favorites;
    PopularPane *m_popular;
};

// Makes the finding panes in the window's panes and hands the frame the controls it
// lays out; attaches the finding commands to w.commands and offers the window the
// FindingOperations. The parts belong to the window. Call once per window, before its
// Form_Load. The one function of the finding panes that sees the whole window
// (installfinding.cpp): it hands them what they use of it (FindingWindow).
FindingUi &installFinding(frmVardecks &w);

} // namespace rr
