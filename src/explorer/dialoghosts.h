#pragma once
// The main window as the host of the folder and move dialogs (dialogs/), whose library
// does not link it. The Explorer opens them and hands them this.
#include "dialogs/folderdialoghost.h"

namespace rr
{

class frmVardecks;

// What the folder and move dialogs ask of the main window: the frame hears of each
// change they made (collectionChanged), and a dialog gets the fallback font.
class WindowFolderDialogHost final : public FolderDialogHost
{
public:
    explicit WindowFolderDialogHost(frmVardecks &window) : w(window) {}

    void collectionChanged(const StalePages &stale) override;
    void applyFontFallback(QWidget *dialog) override;

private:
    frmVardecks &w;
};

} // namespace rr
