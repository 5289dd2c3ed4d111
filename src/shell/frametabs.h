#pragma once
// The main window's tab strips, as the parts that bring a tab forward or follow the left
// pane's tabs see them. The window implements it; the strips themselves stay the frame's
// (frameviews.h names the tabs).
#include "shell/frameviews.h"

#include <QMetaObject>
#include <functional>

class QMimeData;
class QObject;

namespace rr
{

class FrameTabs
{
public:
    // The tab the right pane's strip, and the strip under the shown Vardeck, show.
    virtual void showViewTab(ViewTab tab) = 0;
    virtual void showInfoTab(InfoTab tab) = 0;

    // The tab the left pane's strip shows. Showing one runs what a click on it runs;
    // run is then called with it, for as long as context lives.
    virtual IndexTab indexTab() const = 0;
    virtual void showIndexTab(IndexTab tab) = 0;
    virtual QMetaObject::Connection whenIndexTabShown(const QObject *context, std::function<void(IndexTab)> run) = 0;
    // The left pane's width in twips.
    virtual double indexTabsWidth() const = 0;
    // A tab of the left pane takes the drags that accepts approves, on its page and on
    // its tab in the strip, for as long as owner lives; drop runs for one released there.
    virtual void takeDropsOnIndexTab(IndexTab tab, QObject *owner, std::function<bool(const QMimeData *)> accepts,
                                     std::function<void(const QMimeData *)> drop) = 0;

protected:
    ~FrameTabs() = default;
};

} // namespace rr
