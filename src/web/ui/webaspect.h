#pragma once
// The Web Aspect's pages: the collection rendered through a view stylesheet, either
// by the web pane itself from the database file (an xml-stylesheet instruction in
// the file) or by the program into a page file beside the database; the five view
// buttons, the search box, printing and the pane's status text.
#include "platform/xslttransform.h"
#include "shell/webaspectoperations.h"
#include "web/ui/webwindow.h"

#include <QByteArray>
#include <QElapsedTimer>
#include <QList>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QUrl>

#include <functional>
#include <memory>
#include <optional>

class QByteArray;
class QCheckBox;
class QLineEdit;
class QPrinter;
class QWidget;

namespace rr
{

class frmVardecks;
class MakingAspectPage;
class PagePrintJob;
class PrintProgress;
class qbButtons_H;
class XmlDocument;
class WebPane;

// The Web Aspect owns its strip Picture2 (the buttons cmdWeb(0) to cmdWeb(5), the
// search box txtS and the check box chkWebAspectBrowser) and its pane wbWeb. The
// Aspect switch shows and hides them through it; the parts below it reach it through
// the operations it offers on the window (shell/webaspectoperations.h).
//
// The program makes its pages on a thread of their own, from a copy of the collection
// taken as the view is asked for (workers.h): the window and all its commands go on
// meanwhile, and a change made meanwhile leaves the page stale. One page is made at a
// time; of the views asked for in the meantime the last is made next, and only the
// page of the last view asked for is shown. A print makes its page the same way.
class WebAspect : public QObject, public WebAspectOperations
{
    Q_OBJECT
public:
    // The strip's buttons in their order; the value is the index in the button's object
    // name ("cmdWeb(3)") and the one cmdWeb_Click runs with.
    enum class Button { Folders, AllVardecks, Favorites, Print, Search, Popular };

    explicit WebAspect(const WebWindow &w);
    ~WebAspect() override;
    // The window's Web Aspect; nullptr before installWebAspect (installweb.cpp).
    static WebAspect *of(const frmVardecks &w);

    WebPane *pane() const { return m_pane; }
    // Shows the strip and the pane over the Explorer's panes, or hides them.
    void setShown(bool shown);
    // The search box takes the keyboard with its text selected.
    void focusSearchBox();
    // True while the pane has shown no page of the collection.
    bool showsNoPage() const;
    // True while a page is being made.
    bool makingPage() const;

    void loadAspectPage(const QString &style, const QString &pageName, bool stale) override;
    void applyAspectStyle(const QString &style) override { applyStyle(style); }
    void showWebAspectFormatting() override;

private:
    // A page made on a thread of its own: the stylesheet and its folder, the file
    // written, and the request it answers.
    struct PageOrder {
        QString xsl;
        QString base;
        QString page;
        // The page's name (FoldersTemp…); only the first screen of the pane's own
        // formatting, under the key it is kept by, when firstScreenOnly.
        QString pageName;
        bool firstScreenOnly = false;
        QString key;
        // The view's stale flag, cleared once the page shows the collection as it is; -1: none.
        int staleFlag = -1;
        std::optional<xslt::VariableText> search;
        quint64 request = 0;
    };
    // The collection a page was made from.
    struct Source {
        const XmlDocument *document = nullptr;
        quint64 stamp = 0;
        QString path;
    };
    struct MadeHtml {
        bool ok = false;
        QByteArray html;
        QString error;
    };
    struct Pieces {
        bool ok = false;
        QList<QByteArray> pieces;
        QString error;
    };

    // The pane formats the database file: the file gets one instruction naming xsl
    // right after its declaration and is saved; the search view's stylesheet takes the
    // search text on disk.
    void applyStyle(const QString &xsl);
    // The program renders the page "Vardecks" & pageName & ".htm" beside the database
    // when stale (the search text is given in memory only), then shows the page; a page
    // that could not be made is told of, and the old page is shown. staleFlag, when not
    // -1, is cleared once the page is made and nothing changed meanwhile.
    void loadPage(const QString &xsl, const QString &pageName, bool stale, int staleFlag);
    void showPage(const QString &xsl, const QString &base, const QString &pageName);
    void makeAside(const PageOrder &order);
    void pageMade(const PageOrder &order, const Source &source, const MadeHtml &made);
    std::optional<xslt::VariableText> searchOf(const QString &xsl) const;
    // File > Print: asks first, then prints the view shown.
    void print();
    void build(QWidget *client);
    void attachCommands();
    // Shows the button's view (making its page when stale), or prints for Print.
    void press(Button button);
    QString stylesheetFolder() const;
    // What names a drawn page as long as it shows what it showed: the page file's
    // state, or for the pane's own formatting the view, the state of the collection
    // and of the stylesheet, with the style in both.
    QString pageKey(const QString &page) const;
    QString formattedKey(const QString &xsl);
    // Prints the view shown: its page file, or the database formatted as the pane
    // formats it, made on a thread of its own.
    void printShownView();
    void printHtml(const std::shared_ptr<QPrinter> &printer, QByteArray html);
    // Prints a large page from pieces laid out one at a time, with the progress window.
    void printPieces(const std::shared_ptr<QPrinter> &printer, QByteArray html);
    void startPrintJob(const std::shared_ptr<QPrinter> &printer, QList<QByteArray> pieces, PrintProgress *progress);
    // The print ends without printing; reason, when given, is told.
    void endPrint(const QString &what, const QString &reason);
    // Asked before the window closes: true when nothing is being printed, or the user
    // chose to stop the print.
    bool mayClose();

    WebWindow m_window;
    QWidget *m_strip = nullptr; // Picture2
    qbButtons_H *m_folders = nullptr;
    qbButtons_H *m_allVardecks = nullptr;
    qbButtons_H *m_favorites = nullptr;
    qbButtons_H *m_print = nullptr;
    qbButtons_H *m_search = nullptr;
    qbButtons_H *m_popular = nullptr;
    QLineEdit *m_searchText = nullptr;     // txtS
    QCheckBox *m_browserFormats = nullptr; // chkWebAspectBrowser
    QWidget *m_host = nullptr;             // wbWeb: holds the browser once it exists
    WebPane *m_pane = nullptr;
    // The page file shown; "" while the pane formats the database itself.
    QString m_shownPage;
    // A print runs from the printer's choice until its last page or its failure.
    bool m_printing = false;
    QPointer<PagePrintJob> m_printJob;
    // The last request for a view, the page being made and the one asked for next.
    quint64 m_request = 0;
    bool m_making = false;
    std::optional<PageOrder> m_next;
    // The window says that the Web Aspect works while its pages are made.
    std::unique_ptr<MakingAspectPage> m_busy;
    // The collection's change stamp after the program's own last instruction change,
    // and the count of the changes made by others since the Web Aspect was made.
    quint64 m_ownChangeStamp = 0;
    quint64 m_collectionState = 0;
    // When the pane's renderer last ended.
    QElapsedTimer m_rendererEnded;
};

// Makes the Web Aspect (once), attaches cmdWeb_Click, Enter in txtS, File > Print and
// chkWebAspectBrowser_Click, and offers its operations on the window (installweb.cpp).
void installWebAspect(frmVardecks &w);
// The Web Aspect's pane, or nullptr before installWebAspect.
WebPane *webAspectPane(const frmVardecks &w);

// Chooses the printer for a print; nullptr means the user cancelled. The default
// shows the print dialog. An empty function restores it. For tests.
using PrinterChooser = std::function<std::shared_ptr<QPrinter>(QWidget *parent)>;
void setPrinterChooser(PrinterChooser chooser);

} // namespace rr
