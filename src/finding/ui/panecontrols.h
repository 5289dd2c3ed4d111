#pragma once
// How the finding panes' controls, made by the makers of shell/panecontrols.h, join the
// main window: in its Tab order and shown with it.
#include <QList>

class QWidget;

namespace rr::findingui
{

// The Tab key reaches the controls, in their order, right after the tab strip whose
// page holds them (page: the strip's page), as it reaches the controls the frame makes on
// its pages: only the controls of the page shown count, so Tab goes from the strip to
// them and from them on to what follows the strip's pages.
void followInTabOrder(QWidget *page, const QList<QWidget *> &controls);
// A pane made while its window is already on screen (as a test may make it) shows its
// controls as the window's own are shown; made before, they show with the window.
void showWithWindow(const QList<QWidget *> &controls);

} // namespace rr::findingui
