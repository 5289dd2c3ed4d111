#include "web/ui/webaspect.h"

#include "platform/prompt.h"
#include "platform/textutil.h"
#include "platform/xslttransform.h"
#include "shell/frmvardecks.h"
#include "shell/mainmodule.h"
#include "storage/session.h"
#include "storage/settingsstore.h"
#include "storage/ui/savereport.h"
#include "storage/xmldatabase.h"
#include "web/aspectfiles.h"
#include "web/ui/aspectbusy.h"
#include "web/ui/aspects.h"
#include "web/ui/webpane.h"

#include <QAction>
#include <QCheckBox>
#include <QFileInfo>
#include <QLineEdit>
#include <QPointer>
#include <QPrintDialog>
#include <QPrinter>
#include <QTimer>

namespace rr
{
namespace
{

const QLatin1String kSearchStylesheet("VDSearch.xsl");

PrinterChooser &printerChooser()
{
    static PrinterChooser chooser;
    return chooser;
}

std::shared_ptr<QPrinter> choosePrinter(QWidget *parent)
{
    if (printerChooser())
        return printerChooser()(parent);
    auto printer = std::make_shared<QPrinter>(QPrinter::HighResolution);
    QPrintDialog dialog(printer.get(), parent);
    return dialog.exec() == QDialog::Accepted ? printer : nullptr;
}

bool isSearchView(const QString &xsl)
{
    return sameText(xsl, kSearchStylesheet);
}

void rememberStyle(const QString &xsl)
{
    session().currentAspectStyle = xsl;
    SettingsStore::setAspectStyle(xsl);
}

void tellFailure(const QString &what, const QString &reason)
{
    prompt::show(what + QStringLiteral("\n\n") + reason, MsgButtons::Ok, MsgIcon::Exclamation);
}

// The stylesheets beside the open database; a missing one comes from the installed data.
QString stylesheetFolder(const frmVardecks &w)
{
    const QString base = w.dbXML->getBasePath();
    QString error;
    if (!aspectfiles::restoreMissing(base, &error))
        tellFailure(QStringLiteral("The Web Aspect's stylesheets could not be put beside the database."), error);
    return base;
}

struct ViewButton {
    const char *stylesheet;
    const char *pageName;
    int staleFlag; // -1: made again every time
};

ViewButton viewButton(int index)
{
    switch (index) {
    case 1:
        return {"VDAll.xsl", "AllTemp", frmVardecks::AllPage};
    case 2:
        return {"VDFavs.xsl", "FavsTemp", frmVardecks::FavsPage};
    case 4:
        return {"VDSearch.xsl", "SearchTemp", -1};
    case 5:
        return {"VDHits.xsl", "HitsTemp", frmVardecks::HitsPage};
    default:
        return {"VD.xsl", "FoldersTemp", frmVardecks::FoldersPage};
    }
}

void printShownView(frmVardecks &w)
{
    WebPane *pane = webAspectPane(w);
    if (!pane)
        return;
    std::shared_ptr<QPrinter> printer = choosePrinter(&w);
    if (!printer)
        return;
    pane->whenLoaded([pane, printer] {
        pane->print(printer, [](bool ok) {
            if (!ok)
                prompt::show(QStringLiteral("The Web Aspect could not be printed."), MsgButtons::Ok,
                             MsgIcon::Exclamation);
        });
    });
}

} // namespace

void setPrinterChooser(PrinterChooser chooser)
{
    printerChooser() = std::move(chooser);
}

WebPane *webAspectPane(const frmVardecks &w)
{
    return WebPane::of(w.wbWeb);
}

void applyAspectStyle(frmVardecks &w, const QString &style)
{
    WebPane *pane = webAspectPane(w);
    if (!w.dbXML.isOpen() || !pane) {
        if (pane)
            pane->navigate(QUrl(QStringLiteral("about:blank")));
        return;
    }
    const QString xsl = aspectfiles::safeViewStylesheet(style);
    const QString base = stylesheetFolder(w);
    aspectfiles::setStylesheetInstruction(*w.dbXML.document(), xsl);
    if (isSearchView(xsl)) {
        QString error;
        if (!xslt::writeVariableText(base + kSearchStylesheet, {QStringLiteral("search"), w.txtS->text()}, &error))
            tellFailure(QStringLiteral("The search text could not be given to the search view."), error);
    }
    if (!saveDatabaseReporting(*w.dbXML))
        return;
    pane->navigate(QUrl::fromLocalFile(w.dbXML->getPath()));
    rememberStyle(xsl);
}

bool loadAspectPage(frmVardecks &w, const QString &style, const QString &pageName, bool stale)
{
    WebPane *pane = webAspectPane(w);
    if (!w.dbXML.isOpen() || !pane) {
        if (pane)
            pane->navigate(QUrl(QStringLiteral("about:blank")));
        return false;
    }
    const QString xsl = aspectfiles::safeViewStylesheet(style);
    const QString base = stylesheetFolder(w);
    const QString page = aspectfiles::pagePath(base, pageName);
    bool shown = false;
    const auto show = [&] {
        pane->navigate(QFileInfo::exists(page) ? QUrl::fromLocalFile(page) : QUrl(QStringLiteral("about:blank")));
        shown = true;
    };
    bool made = true;
    QString error;
    if (stale) {
        std::optional<xslt::VariableText> search;
        if (isSearchView(xsl))
            search = xslt::VariableText{QStringLiteral("search"), w.txtS->text()};
        const MakingAspectPage making(w);
        // The pane starts on the new page while the transform's memory is handed back.
        made = xslt::transformToFile(base + xsl, *w.dbXML.document(), page, &error, search, show);
    }
    if (!made)
        tellFailure(QStringLiteral("The Web Aspect page could not be made."), error);
    rememberStyle(xsl);
    if (!shown)
        show();
    return made;
}

void cmdWeb_Click(frmVardecks &w, int index)
{
    if (index == 3) {
        mnuFilePrint_Click(w);
        return;
    }
    const ViewButton button = viewButton(index);
    const QString xsl = QLatin1String(button.stylesheet);
    if (!session().webAspectHtml) {
        applyAspectStyle(w, xsl);
        return;
    }
    const bool stale = button.staleFlag < 0 || w.aspectPageStale(button.staleFlag);
    // A page that could not be made stays stale, so the next view makes it again.
    if (loadAspectPage(w, xsl, QLatin1String(button.pageName), stale) && button.staleFlag >= 0)
        w.aspectPageMade(button.staleFlag);
}

void mnuFilePrint_Click(frmVardecks &w)
{
    if (!w.menuItem(MenuId::mnuAspectWeb)->isChecked())
        showAspectWeb(w);
    if (prompt::show(QStringLiteral("This will print the current view displayed in your Web aspect.  Do you wish to "
                                    "continue?"),
                     MsgButtons::YesNo, MsgIcon::None, QStringLiteral("Print?")) == MsgResult::No)
        return;
    printShownView(w);
}

void installWebAspect(frmVardecks &w)
{
    if (webAspectPane(w))
        return;
    auto *pane = new WebPane(w.wbWeb, WebPane::Kind::Aspect);
    QPointer<frmVardecks> window(&w);
    installAspectBusy(w);
    // While the pane works towards a new page, the links of the one it still shows are
    // not echoed over the text that says so.
    QObject::connect(pane, &WebPane::statusTextChanged, &w, [window](const QString &text) {
        if (window && !aspectBusyShown(*window))
            window->showPageStatus(text);
    });
    w.commands.loadAspectPage = [&w](const QString &style, const QString &pageName, bool stale) {
        // Before the Web Aspect was ever shown its pane is blank, and entering it makes
        // the page anyway: the start in the Explorer Aspect need not make it now.
        if (!webAspectPane(w)->hasView() && w.currentAspect() != QLatin1String("Web"))
            return;
        loadAspectPage(w, style, pageName, stale);
    };
    w.commands.applyAspectStyle = [&w](const QString &style) { applyAspectStyle(w, style); };
    w.commands.cmdWeb_Click = [&w](int index) { cmdWeb_Click(w, index); };
    w.commands.mnuFilePrint_Click = [&w](int) { mnuFilePrint_Click(w); };
    w.commands.chkWebAspectBrowser_Click = [&w](int) { session().webAspectHtml = !w.chkWebAspectBrowser->isChecked(); };
    // Enter in the search box shows the search view once the key has been handled.
    QObject::connect(w.txtS, &QLineEdit::returnPressed, &w, [window] {
        QTimer::singleShot(0, window, [window] {
            if (window)
                cmdWeb_Click(*window, 4);
        });
    });
}

} // namespace rr
