#pragma once
// The Import/Export window: Import or Export, one entry of the matching list, its
// description, and OK to run it. It does not block the main window and stays open
// after each operation, so that several can follow one another.
//
// OK runs the chosen operation once the click is over (queued), and stays disabled
// until it has ended: the operations do not let window events through while they
// change the collection, so no second run, no closing of the database and no other
// edit can come between.
#include "exchange/ui/exchangewindow.h"
#include "exchange/ui/frmdirselect.h"
#include "storage/ui/buttondialog.h"

#include <QDate>
#include <QDateTime>
#include <functional>
#include <optional>

class QComboBox;
class QRadioButton;

namespace rr
{

class frmImportExport : public ButtonDialog
{
    Q_OBJECT
public:
    explicit frmImportExport(const ExchangeWindow &window);

    // The File > Import/Export command: shows the window (loading it on first use).
    static frmImportExport *showFor(const ExchangeWindow &window);

    // The operations of the two lists. Each list entry carries its operation as item
    // data, so OK and the description follow the entry chosen, whatever its caption.
    enum class Operation {
        ImportIEFavorites,
        ImportFirefoxBookmarks,
        ImportMozillaBookmarks,
        ImportVDDatabase,
        ImportPDFDocuments,
        ImportChromiumBookmarks,
        ImportBookmarkFile,
        ExportToIEFavorites,
        ExportToFirefox,
        ExportFoldersAsWeb,
        ExportAllAsWeb,
        ExportFavsAsWeb,
        ExportAsCSV,
        ExportBookmarkFile,
    };
    // The entries of the two lists with their captions and descriptions, in list order.
    struct Entry {
        Operation operation;
        const char *text;
        const char *description;
    };
    static const QList<Entry> &importEntries();
    static const QList<Entry> &exportEntries();

    // Read when the window loads.
    QString appDataPath;
    QString firefoxRoot;
    QString mozillaRoot;
    QString favoritesPath;

    // Runs the chosen operation now (OK queues this).
    void runChosenOperation();
    bool isRunning() const { return m_running; }

    // The operations of the lists.
    void importIEFavorites();
    void importFirefoxBookmarks();
    void importMozillaBookmarks();
    void importVDDatabase();
    void importPDFDocuments();
    void importChromiumBookmarks();
    void importBookmarkFile();
    void exportToIEFavorites();
    void exportToFirefox();
    void exportFoldersAsWeb();
    void exportAllAsWeb();
    void exportFavsAsWeb();
    void exportAsCSV();
    void exportBookmarkFile();

    // Where Firefox keeps its profiles: the usual folder, then those of the snap and
    // flatpak packages.
    QStringList firefoxRoots() const;

    // The PDF import's folder picker: the choice, or none when it was cancelled.
    std::function<std::optional<FolderChoice>(QWidget *parent)> chooseFolder;
    // The day written as the imported Vardecks' creation date (today when invalid).
    QDate importDay;
    // The moment stamped on exported bookmarks (now when invalid).
    QDateTime exportTime;

private:
    // Widens the two lists to their longest entry in the user's font size, and the
    // window with them.
    void fitListsToFont();
    void opt_Click(int index);
    void showDescription(QComboBox *list);
    // The operation of the entry chosen in list, none when no entry is chosen.
    static std::optional<Operation> chosenOperation(const QComboBox *list);
    void run(Operation operation);
    void cmdSave_Click();
    void exportAsWeb(const QString &stylesheet);
    void importBookmarksFiles(const QStringList &roots, const QString &topName, const QString &question);

    // What the operations use of the main window: the exports read only the open
    // database; the imports show the folder they made, and the merge empties what is
    // shown.
    const ExchangeWindow w;
    QLabel *Label2 = nullptr;
    QComboBox *cmbImport = nullptr;
    QComboBox *cmbExport = nullptr;
    QLabel *lblDesc = nullptr;
    qbButtons_H *cmdSave = nullptr;
    qbButtons_H *cmdCancel = nullptr;
    QRadioButton *m_opt0 = nullptr;
    QRadioButton *m_opt1 = nullptr;
    bool m_running = false;
};

} // namespace rr
