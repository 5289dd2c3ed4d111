#pragma once
// What every dialog of the program asks of the window that opens it. The dialogs' own
// libraries do not link the main window, so the opener hands them an implementation;
// its functions here do nothing, which is also what a test's stand-in starts from.
class QWidget;

namespace rr
{

class DialogHost
{
public:
    virtual ~DialogHost() = default;

    // Gives the dialog the fallback font when the designed one is not installed.
    virtual void applyFontFallback(QWidget *dialog) {}
};

} // namespace rr
