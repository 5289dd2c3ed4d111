#pragma once
// The Web Aspect's pages: the collection rendered through a view stylesheet, either
// by the web pane itself from the database file (an xml-stylesheet instruction in
// the file) or by the program into a page file beside the database; the five view
// buttons, the search box, printing and the pane's status text.
#include <QString>

#include <functional>
#include <memory>

class QPrinter;
class QWidget;

namespace rr
{

class frmVardecks;
class WebPane;

// Attaches cmdWeb_Click, Enter in txtS, File > Print, chkWebAspectBrowser_Click and
// the rendering operations (w.commands.loadAspectPage, w.commands.applyAspectStyle).
void installWebAspect(frmVardecks &w);
WebPane *webAspectPane(const frmVardecks &w);

// The pane formats the database file: the file gets one instruction naming xsl
// right after its declaration and is saved; the search view's stylesheet takes the
// search text on disk.
void applyAspectStyle(frmVardecks &w, const QString &xsl);
// The program renders the page "Vardecks" & pageName & ".htm" beside the database
// when stale (the search text is given in memory only), then shows the page. False
// when the page could not be made (the user was told why; the old page is shown).
bool loadAspectPage(frmVardecks &w, const QString &xsl, const QString &pageName, bool stale);

// Index 0 folders, 1 all, 2 favourites, 3 print, 4 search, 5 popular.
void cmdWeb_Click(frmVardecks &w, int index);
// File > Print: asks first, then prints the view shown in the Web Aspect.
void mnuFilePrint_Click(frmVardecks &w);

// Chooses the printer for a print; nullptr means the user cancelled. The default
// shows the print dialog. An empty function restores it. For tests.
using PrinterChooser = std::function<std::shared_ptr<QPrinter>(QWidget *parent)>;
void setPrinterChooser(PrinterChooser chooser);

} // namespace rr
