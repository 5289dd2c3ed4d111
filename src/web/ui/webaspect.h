#pragma once
// The Web Aspect's pages: the collection rendered through a view stylesheet, either
// by the web pane itself from the database file (an xml-stylesheet instruction in
// the file) or by the program into a page file beside the database; the five view
// buttons, the search box, printing and the pane's status text.
#include <QObject>
#include <QString>

#include <functional>
#include <memory>

class QCheckBox;
class QLineEdit;
class QPrinter;
class QWidget;

namespace rr
{

class frmVardecks;
class qbButtons_H;
class WebPane;

// The Web Aspect owns its strip Picture2 (the buttons cmdWeb(0) to cmdWeb(5), the
// search box txtS and the check box chkWebAspectBrowser) and its pane wbWeb. The
// Aspect switch shows and hides them through it; other parts reach it through the
// window's commands (loadAspectPage, applyAspectStyle, showWebAspectFormatting).
class WebAspect : public QObject
{
    Q_OBJECT
public:
    // The strip's buttons in their order; the value is the index in the button's object
    // name ("cmdWeb(3)") and the one cmdWeb_Click runs with.
    enum class Button { Folders, AllVardecks, Favorites, Print, Search, Popular };

    explicit WebAspect(frmVardecks &w);
    // The window's Web Aspect; nullptr before installWebAspect.
    static WebAspect *of(const frmVardecks &w);

    WebPane *pane() const { return m_pane; }
    // Shows the strip and the pane over the Explorer's panes, or hides them.
    void setShown(bool shown);
    // The search box takes the keyboard with its text selected.
    void focusSearchBox();
    // True while the pane has shown no page of the collection.
    bool showsNoPage() const;

private:
    // The pane formats the database file: the file gets one instruction naming xsl
    // right after its declaration and is saved; the search view's stylesheet takes the
    // search text on disk.
    void applyStyle(const QString &xsl);
    // The program renders the page "Vardecks" & pageName & ".htm" beside the database
    // when stale (the search text is given in memory only), then shows the page. False
    // when the page could not be made (the user was told why; the old page is shown).
    bool loadPage(const QString &xsl, const QString &pageName, bool stale);
    // File > Print: asks first, then prints the view shown.
    void print();
    void build(QWidget *client);
    void attachCommands();
    // Shows the button's view (making its page when stale), or prints for Print.
    void press(Button button);
    QString stylesheetFolder() const;
    void printShownView();

    frmVardecks &m_window;
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
};

// Makes the Web Aspect (once) and attaches cmdWeb_Click, Enter in txtS, File > Print,
// chkWebAspectBrowser_Click and the rendering operations.
void installWebAspect(frmVardecks &w);
// The Web Aspect's pane, or nullptr before installWebAspect.
WebPane *webAspectPane(const frmVardecks &w);

// Chooses the printer for a print; nullptr means the user cancelled. The default
// shows the print dialog. An empty function restores it. For tests.
using PrinterChooser = std::function<std::shared_ptr<QPrinter>(QWidget *parent)>;
void setPrinterChooser(PrinterChooser chooser);

} // namespace rr
