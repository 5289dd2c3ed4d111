#include "exchange/ui/frmimportexport.h"

#include "controls/qbbuttons_h.h"
#include "exchange/shellfolders.h"
#include "exchange/ui/frmdirselect.h"
#include "shell/fonthelpers.h"
#include "storage/ui/databaselist.h"
#include "storage/useroptions.h"

#include <QComboBox>
#include <QLabel>
#include <QPointer>
#include <QRadioButton>
#include <QTimer>

namespace rr
{
namespace
{

QPointer<frmImportExport> g_dialog;

} // namespace

const QList<frmImportExport::Entry> &frmImportExport::importEntries()
{
    static const QList<Entry> entries = {
        {Operation::ImportIEFavorites, "Internet Explorer favorites",
         "Import your Internet Explorer favorites and folders into Razuzezu Revidod.  These will be stored in a new "
         "folder called Imported favorites"},
        {Operation::ImportFirefoxBookmarks, "Firefox bookmarks",
         "Import your Firefox bookmarks and folders into Razuzezu Revidod.  These will be stored "
         "in a new folder called Imported Firefox bookmarks"},
        {Operation::ImportMozillaBookmarks, "Mozilla/Netscape bookmarks",
         "Import your Netscape or Mozilla favorites and folders into Razuzezu Revidod.  These will be stored in a new "
         "folder called Imported Netscape bookmarks"},
        {Operation::ImportVDDatabase, "Another Vardecks database",
         "Import another Vardecks database into the current database."},
        {Operation::ImportPDFDocuments, "PDF documents",
         "Import PDF documents into Razuzezu Revidod.  These will be stored in a new folder called "
         "Imported PDF documents"},
        {Operation::ImportChromiumBookmarks, "Chromium bookmarks",
         "Import your Chromium, Google Chrome, Brave, Vivaldi and Microsoft Edge bookmarks and folders into Razuzezu "
         "Revidod.  These will be stored in a new folder for each browser and profile, such as Imported Chromium "
         "bookmarks"},
        {Operation::ImportBookmarkFile, "Bookmark file",
         "Import a bookmark file that a browser or another program wrote (HTML, a Firefox backup or a Chromium "
         "Bookmarks file) into Razuzezu Revidod.  These will be stored in a new folder named after the file"},
    };
    return entries;
}

const QList<frmImportExport::Entry> &frmImportExport::exportEntries()
{
    static const QList<Entry> entries = {
        {Operation::ExportToIEFavorites, "All to Internet Explorer favorites",
         "Export your Razuzezu Revidod folders and Vardecks into Internet Explorer favorites.  These will be stored "
         "in a new folder called Imported Vardecks."},
        {Operation::ExportToFirefox, "All to Firefox bookmarks",
         "Export your Razuzezu Revidod folders and Vardecks into Firefox bookmarks.   "
         "These will be stored in a new folder called Imported Vardecks."},
        {Operation::ExportFoldersAsWeb, "Folders and Vardecks as web page",
         "Export your Razuzezu Revidod folders and Vardecks to an HTML web page."},
        {Operation::ExportAllAsWeb, "Vardecks only as web page", "Export all your Vardecks to an HTML web page."},
        {Operation::ExportFavsAsWeb, "Favorites only as web page",
         "Export your favorite Vardecks to an HTML web page."},
        {Operation::ExportAsCSV, "All Vardecks as CSV",
         "Export all your Vardecks to comma separated variable (CSV) format, which is compatible with spreadsheet "
         "software such as Microsoft Excel."},
        {Operation::ExportBookmarkFile, "Bookmark file",
         "Export your Razuzezu Revidod folders and Vardecks to a bookmark file (HTML), which Firefox, Chromium and "
         "other bookmark programs import as it is."},
    };
    return entries;
}

frmImportExport *frmImportExport::showFor(const ExchangeWindow &window)
{
    if (!g_dialog)
        g_dialog = new frmImportExport(window);
    g_dialog->show();
    g_dialog->raise();
    g_dialog->activateWindow();
    return g_dialog;
}

frmImportExport::frmImportExport(const ExchangeWindow &window) : ButtonDialog(&window.mainWindow), w(window)
{
    setObjectName(QStringLiteral("frmImportExport"));
    setModal(false);
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(QStringLiteral("Import/Export"));
    setFixedSize(px(5895), px(4245));
    chooseFolder = &frmDirSelect::run;

    Label2 = makeLabel(QStringLiteral("Label2"), QStringLiteral("Choose an import or export format, then click on OK"));
    Label2->setGeometry(px(360), px(240), px(3975 + 1300), px(255));
    m_opt0 = new QRadioButton(QStringLiteral("Import"), this);
    m_opt0->setObjectName(QStringLiteral("opt(0)"));
    m_opt0->move(px(360), px(690));
    m_opt1 = new QRadioButton(QStringLiteral("Export"), this);
    m_opt1->setObjectName(QStringLiteral("opt(1)"));
    m_opt1->move(px(360), px(1350));
    cmbImport = new QComboBox(this);
    cmbImport->setObjectName(QStringLiteral("cmbImport"));
    cmbImport->setGeometry(px(1440), px(660), px(3975), px(330));
    cmbExport = new QComboBox(this);
    cmbExport->setObjectName(QStringLiteral("cmbExport"));
    cmbExport->setGeometry(px(1440), px(1320), px(3975), px(330));
    lblDesc = makeLabel(QStringLiteral("lblDesc"), QString());
    lblDesc->setGeometry(px(360), px(1920), px(5295), px(1095));
    lblDesc->setWordWrap(true);
    lblDesc->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    cmdSave = makeButton(QStringLiteral("cmdSave"), QStringLiteral("OK"), QStyle::SP_DialogOkButton);
    cmdSave->setGeometry(px(4065), px(3480), px(855), px(630));
    cmdCancel = makeButton(QStringLiteral("cmdCancel"), QStringLiteral("Close"), QStyle::SP_DialogCloseButton);
    cmdCancel->setGeometry(px(4920), px(3480), px(855), px(630));
    setDefaultButton(cmdSave);
    for (QComboBox *list : {cmbImport, cmbExport}) {
        QFont font = list->font();
        font.setFamily(QStringLiteral("Tahoma"));
        list->setFont(font);
    }

    // The Load.
    applyFontFallback(this);
    applyUserFontSize({lblDesc, cmbImport, cmbExport}, appOptions().getFontSize());
    cmbExport->setEnabled(false);
    m_opt0->setChecked(true);
    opt_Click(0);
    for (const Entry &entry : importEntries())
        cmbImport->addItem(QLatin1String(entry.text), QVariant::fromValue(entry.operation));
    for (const Entry &entry : exportEntries())
        cmbExport->addItem(QLatin1String(entry.text), QVariant::fromValue(entry.operation));
    cmbImport->setCurrentIndex(-1);
    cmbExport->setCurrentIndex(-1);
    fitListsToFont();
    appDataPath = appDataFolder();
    firefoxRoot = appDataPath + QStringLiteral("/.mozilla/firefox");
    mozillaRoot = appDataPath + QStringLiteral("/.mozilla/seamonkey");
    favoritesPath = favoritesFolder();

    connect(m_opt0, &QRadioButton::clicked, this, [this] { opt_Click(0); });
    connect(m_opt1, &QRadioButton::clicked, this, [this] { opt_Click(1); });
    connect(cmbImport, &QComboBox::activated, this, [this] { showDescription(cmbImport); });
    connect(cmbExport, &QComboBox::activated, this, [this] { showDescription(cmbExport); });
    connect(cmdSave, &qbButtons_H::Click, this, &frmImportExport::cmdSave_Click);
    connect(cmdCancel, &qbButtons_H::Click, this, &frmImportExport::close);
}

// The lists are designed for the smallest font: a larger one widens them so that every
// entry shows whole, and the window, its description and its buttons follow to the right.
void frmImportExport::fitListsToFont()
{
    int listWidth = px(3975);
    int listHeight = px(330);
    for (QComboBox *list : {cmbImport, cmbExport}) {
        // Measured over all the entries; the policy goes back, lest the list later size
        // itself to its own entries alone.
        const QComboBox::SizeAdjustPolicy policy = list->sizeAdjustPolicy();
        list->setSizeAdjustPolicy(QComboBox::AdjustToContents);
        listWidth = std::max(listWidth, list->sizeHint().width());
        listHeight = std::max(listHeight, list->sizeHint().height());
        list->setSizeAdjustPolicy(policy);
    }
    const int extra = listWidth - px(3975);
    cmbImport->setGeometry(px(1440), px(660), listWidth, listHeight);
    cmbExport->setGeometry(px(1440), px(1320), listWidth, listHeight);
    for (QWidget *part : {static_cast<QWidget *>(Label2), static_cast<QWidget *>(lblDesc)})
        part->resize(part->width() + extra, part->height());
    for (QWidget *button : {cmdSave, cmdCancel})
        button->move(button->x() + extra, button->y());
    setFixedSize(px(5895) + extra, px(4245));
}

void frmImportExport::opt_Click(int index)
{
    (index == 0 ? m_opt0 : m_opt1)->setChecked(true);
    cmbImport->setEnabled(index == 0);
    cmbExport->setEnabled(index != 0);
}

std::optional<frmImportExport::Operation> frmImportExport::chosenOperation(const QComboBox *list)
{
    const QVariant data = list->currentData();
    if (list->currentIndex() < 0 || !data.canConvert<Operation>())
        return std::nullopt;
    return data.value<Operation>();
}

void frmImportExport::showDescription(QComboBox *list)
{
    const std::optional<Operation> chosen = chosenOperation(list);
    for (const QList<Entry> *entries : {&importEntries(), &exportEntries()})
        for (const Entry &entry : *entries)
            if (chosen == entry.operation) {
                lblDesc->setText(QLatin1String(entry.description));
                return;
            }
}

void frmImportExport::cmdSave_Click()
{
    if (m_running)
        return;
    m_running = true;
    cmdSave->setEnabled(false);
    // Run once the click is over, not inside the button's own event handling.
    QTimer::singleShot(0, this, [this] {
        runChosenOperation();
        m_running = false;
        cmdSave->setEnabled(true);
    });
}

void frmImportExport::runChosenOperation()
{
    std::optional<Operation> chosen;
    if (m_opt0->isChecked())
        chosen = chosenOperation(cmbImport);
    else if (m_opt1->isChecked())
        chosen = chosenOperation(cmbExport);
    if (chosen)
        run(*chosen);
}

void frmImportExport::run(Operation operation)
{
    switch (operation) {
    case Operation::ImportIEFavorites:
        return importIEFavorites();
    case Operation::ImportFirefoxBookmarks:
        return importFirefoxBookmarks();
    case Operation::ImportMozillaBookmarks:
        return importMozillaBookmarks();
    case Operation::ImportVDDatabase:
        return importVDDatabase();
    case Operation::ImportPDFDocuments:
        return importPDFDocuments();
    case Operation::ImportChromiumBookmarks:
        return importChromiumBookmarks();
    case Operation::ImportBookmarkFile:
        return importBookmarkFile();
    case Operation::ExportToIEFavorites:
        return exportToIEFavorites();
    case Operation::ExportToFirefox:
        return exportToFirefox();
    case Operation::ExportFoldersAsWeb:
        return exportFoldersAsWeb();
    case Operation::ExportAllAsWeb:
        return exportAllAsWeb();
    case Operation::ExportFavsAsWeb:
        return exportFavsAsWeb();
    case Operation::ExportAsCSV:
        return exportAsCSV();
    case Operation::ExportBookmarkFile:
        return exportBookmarkFile();
    }
}

} // namespace rr
