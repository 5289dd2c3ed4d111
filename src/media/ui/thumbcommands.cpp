#include "media/ui/thumbcommands.h"

#include "explorer/deletevardeck.h"
#include "explorer/detailsops.h"
#include "explorer/nodetags.h"
#include "media/ui/frmthumb.h"
#include "platform/gui/commands.h"
#include "platform/gui/partoperations.h"
#include "platform/net/connection.h"
#include "platform/prompt.h"
#include "shell/findingoperations.h"
#include "shell/opendatabase.h"
#include "shell/shownitems.h"
#include "storage/vardeckmodule.h"
#include "storage/xmldatabase.h"

#include <QApplication>
#include <QImage>
#include <QTimer>
#include <QTreeWidget>

namespace rr
{

ThumbCommands::ThumbCommands(const MediaWindow &window, IconCommands &icons)
    : QObject(&window.mainWindow), w(window), m_icons(icons)
{
    setObjectName(QStringLiteral("thumbCommands"));
}

bool ThumbCommands::connectionQuestion(const QString &purpose)
{
    if (CheckConnectionIGCS())
        return true;
    return prompt::askYesNo(QStringLiteral("Razuzezu Revidod has detected that you are not connected to the internet "
                                           "%1.  Do you wish to continue?")
                                .arg(purpose),
                            MsgIcon::None, QStringLiteral("Internet connection?"));
}

void ThumbCommands::openWindow(Job job, bool disableMain)
{
    if (m_window || !w.db.isOpen())
        return;
    // The keyboard goes back to the control the user left for the window once it
    // closes, not to the first control of the main window's tab order.
    QPointer<QWidget> focusBefore = QApplication::focusWidget();
    if (focusBefore && focusBefore->window() != &w.mainWindow)
        focusBefore = nullptr;
    if (disableMain)
        w.mainWindow.setEnabled(false);
    auto *window = new frmThumb(w, m_icons, job);
    m_window = window;
    const bool thumbnails = job.kind == Job::Kind::Thumbnails;
    connect(window, &frmThumb::closed, this, [this, thumbnails, focusBefore] {
        QTimer::singleShot(0, this, [this, thumbnails, focusBefore] {
            // The shown Vardeck again, with its new thumbnail.
            if (thumbnails && w.shown.vardeckShown())
                w.commands.displayWM();
            if (focusBefore && focusBefore->isVisible() && focusBefore->isEnabled())
                focusBefore->setFocus(Qt::OtherFocusReason);
        });
    });
    window->show();
    window->raise();
    window->activateWindow();
    window->start();
}

void ThumbCommands::mnuThumbVD_Click()
{
    if (!w.shown.vardeckShown() || !isValidIdentifier(w.shown.currentWID())) {
        prompt::show(QStringLiteral("A Vardeck must be selected to load its thumbnail"));
        return;
    }
    if (connectionQuestion(QStringLiteral("for creating thumbnails")))
        openWindow({Job::Kind::Thumbnails, Job::Of::ShownVardeck}, false);
}

void ThumbCommands::mnuThumbFolder_Click()
{
    if (!w.db.folder(w.shown.currentTID()))
        return;
    if (connectionQuestion(QStringLiteral("for creating thumbnails")))
        openWindow({Job::Kind::Thumbnails, Job::Of::ShownFolder}, false);
}

void ThumbCommands::mnuThumbAll_Click()
{
    if (connectionQuestion(QStringLiteral("for creating thumbnails")))
        openWindow({Job::Kind::Thumbnails, Job::Of::Everything}, false);
}

void ThumbCommands::mnuThumbRemove_Click()
{
    if (!w.db.isOpen() || !w.shown.vardeckShown() || !isValidIdentifier(w.shown.currentWID())) {
        prompt::show(QStringLiteral("A Vardeck must be selected to remove its thumbnail"));
        return;
    }
    if (!prompt::askYesNo(QStringLiteral("Are you sure you wish to remove the thumbnail from ") +
                              w.shown.vardeckCaption() + QLatin1Char('?'),
                          MsgIcon::None, QStringLiteral("Remove Vardeck thumbnail?")))
        return;
    deleteThumb(w.parts, w.shown.currentWID());
    showThumbnail(w.parts, QImage());
}

void ThumbCommands::mnuToolsSynch_Click()
{
    if (!w.shown.vardeckShown()) {
        prompt::show(QStringLiteral("A Vardeck must be selected to synchronize"));
        return;
    }
    if (connectionQuestion(QStringLiteral("for synchronization")))
        openWindow({Job::Kind::Synchronisation, Job::Of::ShownVardeck}, true);
}

void ThumbCommands::mnuToolsSynchFolder_Click()
{
    // Without a shown folder there is nothing to run, and no window to wait in.
    if (!w.db.folder(w.shown.currentTID()))
        return;
    if (!connectionQuestion(QStringLiteral("for synchronization")))
        return;
    operationsOf<FindingOperations>(w.mainWindow).clearSearchResults();
    openWindow({Job::Kind::Synchronisation, Job::Of::ShownFolder}, true);
}

void ThumbCommands::mnuToolsSynchAll_Click()
{
    if (!connectionQuestion(QStringLiteral("for synchronization")))
        return;
    operationsOf<FindingOperations>(w.mainWindow).clearSearchResults();
    openWindow({Job::Kind::Synchronisation, Job::Of::Everything}, true);
}

} // namespace rr
