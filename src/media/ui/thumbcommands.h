#pragma once
// The main window's thumbnail and synchronisation commands (Tools > Load thumbnails,
// Tools > Synchronize), Remove thumbnail, the database's thumbnails folder, and the
// details panel's thumbnail as a link to the page (click opens it, the tooltip says
// so; a right click reaches the panel's copy menu).
#include "media/ui/frmthumb.h"

#include <QObject>
#include <QPointer>

namespace rr
{

class frmVardecks;

class ThumbCommands : public QObject
{
    Q_OBJECT
public:
    explicit ThumbCommands(frmVardecks &w);

    void mnuThumbVD_Click();
    void mnuThumbFolder_Click();
    void mnuThumbAll_Click();
    void mnuThumbRemove_Click();
    void mnuToolsSynch_Click();
    void mnuToolsSynchFolder_Click();
    void mnuToolsSynchAll_Click();

    // The window of the job under way, if any.
    frmThumb *window() const { return m_window; }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    bool connectionQuestion(const QString &purpose);
    void openWindow(const QString &mode, bool disableMain);

    frmVardecks &w;
    QPointer<frmThumb> m_window;
};

// Makes sure the open database's thumbnails folder exists, with its parents.
bool checkCreateThumbsDir(const frmVardecks &w);

ThumbCommands &installThumbCommands(frmVardecks &w);
ThumbCommands *thumbCommandsOf(const frmVardecks &w);

} // namespace rr
