#pragma once
// Stand-ins a test offers on a window in place of the finding panes' operations and the
// Recent menu's. An operation given a function runs it; the others go on to what the
// window was offered before the stand-in (the panes or the menu, when the test installed
// them; else nothing). The stand-in is offered for as long as it lives.
#include "platform/gui/partoperations.h"
#include "shell/findingoperations.h"
#include "shell/recentmenuoperations.h"

#include <QObject>
#include <functional>

namespace rr::test
{

class FindingStandIn : public QObject, public FindingOperations
{
public:
    explicit FindingStandIn(QObject &window) : m_before(operationsOf<FindingOperations>(window))
    {
        offerOperations<FindingOperations>(window, *this, *this);
    }

    std::function<void(XmlDocument *)> onPopulateFavsList;
    std::function<void(XmlDocument *)> onPopulatePopList;
    std::function<void()> onPopulateSearchList;
    std::function<void()> onClearSearchResults;

    void populateFavsList(XmlDocument *doc) override
    {
        onPopulateFavsList ? onPopulateFavsList(doc) : m_before.populateFavsList(doc);
    }
    void populatePopList(XmlDocument *doc) override
    {
        onPopulatePopList ? onPopulatePopList(doc) : m_before.populatePopList(doc);
    }
    void populateSearchList() override
    {
        onPopulateSearchList ? onPopulateSearchList() : m_before.populateSearchList();
    }
    void clearSearchResults() override
    {
        onClearSearchResults ? onClearSearchResults() : m_before.clearSearchResults();
    }
    void favoritesOutOfDate() override { m_before.favoritesOutOfDate(); }
    void showSearchOptions() override { m_before.showSearchOptions(); }
    void restoreFindingColumns() override { m_before.restoreFindingColumns(); }
    void saveFindingColumns() override { m_before.saveFindingColumns(); }

private:
    FindingOperations &m_before;
};

class RecentMenuStandIn : public QObject, public RecentMenuOperations
{
public:
    explicit RecentMenuStandIn(QObject &window) : m_before(operationsOf<RecentMenuOperations>(window))
    {
        offerOperations<RecentMenuOperations>(window, *this, *this);
    }

    std::function<void(const QString &wid)> onRefreshRecentMenuList;

    void refreshRecentMenuList(const QString &wid) override
    {
        onRefreshRecentMenuList ? onRefreshRecentMenuList(wid) : m_before.refreshRecentMenuList(wid);
    }

private:
    RecentMenuOperations &m_before;
};

} // namespace rr::test
