#pragma once
// The main window's status bar, as the parts that tell the shown folder's path or a web
// pane's status see it. The window implements it; the bar itself stays the frame's.
#include <QString>

namespace rr
{

class FrameStatus
{
public:
    // The status bar shows the shown folder's path ("\Top\Inner") when the folder tree has
    // its node; forgetFolderPath takes it away, as the folder goes or moves.
    virtual void showFolderPath() = 0;
    virtual void forgetFolderPath() = 0;
    // A web pane's status text passes over the folder path: pageStatusEnded gives the
    // path back. pageStatus is what the panel shows now.
    virtual void showPageStatus(const QString &text) = 0;
    virtual void pageStatusEnded() = 0;
    virtual QString pageStatus() const = 0;

protected:
    ~FrameStatus() = default;
};

} // namespace rr
