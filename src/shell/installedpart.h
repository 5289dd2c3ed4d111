#pragma once
// A part of the main window found through the window: each part (the folder tree, the
// details panel, the finding panes, the web panes…) is one direct child object of the
// window, of its own class. A window a test puts together in part may lack one; the
// lookup then gives null, and the operations that find their part this way do nothing.
#include <QObject>

namespace rr
{

template <typename Part> Part *installedPart(const QObject &window)
{
    return window.findChild<Part *>(QString(), Qt::FindDirectChildrenOnly);
}

} // namespace rr
