#pragma once
// The main window's thumbnail and synchronisation commands (Tools > Load thumbnails,
// Tools > Synchronize) and Remove thumbnail. The thumbnails folder of the open database
// is made, with its parents, when a thumbnail is written.
#include "media/ui/frmthumb.h"

#include <QObject>
#include <QPointer>

namespace rr
{

class frmVardecks;
class IconCommands;

class ThumbCommands : public QObject
{
    Q_OBJECT
public:
    ThumbCommands(const MediaWindow &w, IconCommands &icons);

    void mnuThumbVD_Click();
    void mnuThumbFolder_Click();
    void mnuThumbAll_Click();
    void mnuThumbRemove_Click();
    void mnuToolsSynch_Click();
    void mnuToolsSynchFolder_Click();
    void mnuToolsSynchAll_Click();

    // The window of the job under way, if any.
    frmThumb *window() const { return m_window; }

private:
    bool connectionQuestion(const QString &purpose);
    using Job = frmThumb::Job;
    void openWindow(Job job, bool disableMain);

    const MediaWindow w;
    IconCommands &m_icons;
    QPointer<frmThumb> m_window;
};

// Attaches the thumbnail and synchronisation commands to w.commands; a synchronisation
// fetches site icons through icons. Call once per window, after installIconCommands.
ThumbCommands &installThumbCommands(frmVardecks &w, IconCommands &icons);

} // namespace rr
