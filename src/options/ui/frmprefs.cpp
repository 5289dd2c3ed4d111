#include "options/ui/frmprefs.h"

#include "controls/qbbuttons_h.h"
#include "options/prefsrules.h"
#include "platform/paths.h"
#include "shell/mainmodule.h"
#include "storage/session.h"
#include "storage/useroptions.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QStyle>
#include <QTabWidget>
#include <QVBoxLayout>

namespace rr
{
namespace
{

QString indexed(const char *array, int index)
{
    return QStringLiteral("%1(%2)").arg(QLatin1String(array)).arg(index);
}

QGroupBox *frame(QWidget *page, const char *name, const QString &caption)
{
    auto *box = new QGroupBox(caption, page);
    box->setObjectName(QLatin1String(name));
    new QVBoxLayout(box);
    page->layout()->addWidget(box);
    return box;
}

QVBoxLayout *column(QWidget *w)
{
    return static_cast<QVBoxLayout *>(w->layout());
}

} // namespace

frmPrefs::frmPrefs(Commands &commands, OpenDatabase &db, FrameOptions &frame, const QObject &parts, QWidget *parent)
    : QDialog(parent), m_commands(commands), m_db(db), m_frame(frame), m_parts(parts)
{
    setObjectName(QStringLiteral("frmPrefs"));
    setWindowTitle(QStringLiteral("Options"));
    setModal(true);
    setMinimumSize(391, 510);

    auto *top = new QVBoxLayout(this);
    auto *header = new QHBoxLayout;
    auto *picture = new QLabel(this);
    picture->setObjectName(QStringLiteral("Picture4"));
    picture->setPixmap(style()->standardIcon(QStyle::SP_FileDialogDetailedView).pixmap(25, 25));
    header->addWidget(picture);
    QLabel *intro = new QLabel(QStringLiteral("Edit or change your preferences, then click 'Apply' to save:"), this);
    intro->setObjectName(indexed("lbl", 27));
    intro->setWordWrap(true);
    m_lbl.insert(27, intro);
    header->addWidget(intro, 1);
    top->addLayout(header);

    tabPrefs = new QTabWidget(this);
    tabPrefs->setObjectName(QStringLiteral("tabPrefs"));
    const char *captions[] = {"   Application   ", "   Vardecks   ", "   User Interface   "};
    for (const char *caption : captions) {
        auto *page = new QWidget(tabPrefs);
        new QVBoxLayout(page);
        tabPrefs->addTab(page, QString::fromLatin1(caption));
    }
    buildApplicationTab(tabPrefs->widget(0));
    buildVardecksTab(tabPrefs->widget(1));
    buildUserInterfaceTab(tabPrefs->widget(2));
    top->addWidget(tabPrefs, 1);

    auto *buttons = new QHBoxLayout;
    buttons->addStretch(1);
    cmdCancel = new qbButtons_H(this);
    cmdCancel->setObjectName(QStringLiteral("cmdCancel"));
    cmdCancel->setCaption(QStringLiteral("Close"));
    cmdCancel->setPicture(style()->standardIcon(QStyle::SP_DialogCloseButton).pixmap(16, 16), true);
    cmdApply = new qbButtons_H(this);
    cmdApply->setObjectName(QStringLiteral("cmdApply"));
    cmdApply->setCaption(QStringLiteral("Apply"));
    cmdApply->setPicture(style()->standardIcon(QStyle::SP_DialogApplyButton).pixmap(16, 16), true);
    for (qbButtons_H *button : {cmdCancel, cmdApply}) {
        button->setFixedSize(90, 32);
        buttons->addWidget(button);
    }
    top->addLayout(buttons);
    connect(cmdCancel, &qbButtons_H::Click, this, &QDialog::reject);
    connect(cmdApply, &qbButtons_H::Click, this, &frmPrefs::cmdApply_Click);

    Form_Load();
}

QCheckBox *frmPrefs::addCheck(QWidget *parent, int index, const QString &caption)
{
    auto *box = new QCheckBox(caption, parent);
    box->setObjectName(indexed("chk", index));
    column(parent)->addWidget(box);
    m_chk.insert(index, box);
    connect(box, &QCheckBox::toggled, this, [this, index] { chk_Click(index); });
    return box;
}

QRadioButton *frmPrefs::addOption(QHash<int, QRadioButton *> &array, const char *arrayName, QWidget *parent, int index,
                                  const QString &caption)
{
    auto *button = new QRadioButton(caption, parent);
    button->setObjectName(indexed(arrayName, index));
    array.insert(index, button);
    return button;
}

void frmPrefs::buildApplicationTab(QWidget *page)
{
    QGroupBox *browser = frame(page, "Frame1", QStringLiteral("Default browser"));
    auto *chooseBrowser = new QLabel(QStringLiteral("Choose a browser for Vardecks to use:"), browser);
    m_lbl.insert(0, chooseBrowser);
    chooseBrowser->setObjectName(indexed("lbl", 0));
    auto *browsers = new QComboBox(browser);
    browsers->setObjectName(indexed("cmb", 1));
    m_cmb.insert(1, browsers);
    auto *path = new QLabel(browser);
    path->setObjectName(indexed("lbl", kBrowserPathLabel));
    path->setTextFormat(Qt::PlainText);
    m_lbl.insert(kBrowserPathLabel, path);
    for (QWidget *child :
         {static_cast<QWidget *>(chooseBrowser), static_cast<QWidget *>(browsers), static_cast<QWidget *>(path)})
        column(browser)->addWidget(child);
    connect(browsers, &QComboBox::currentIndexChanged, this, [this] { cmb_Click(1); });

    QGroupBox *tray = frame(page, "Frame2", QStringLiteral("System tray"));
    auto *group = new QWidget(tray);
    group->setObjectName(QStringLiteral("Picture2"));
    new QVBoxLayout(group);
    column(group)->setContentsMargins(0, 0, 0, 0);
    column(tray)->addWidget(group);
    addCheck(group, 0, QStringLiteral("Use system tool tray:"));
    for (int i : {0, 1}) {
        QRadioButton *button = addOption(m_opt, "opt", group, i,
                                         i == 0 ? QStringLiteral("Show favorites from tray menu")
                                                : QStringLiteral("Show recent Vardecks from tray menu"));
        auto *indent = new QHBoxLayout;
        indent->addSpacing(20);
        indent->addWidget(button);
        column(group)->addLayout(indent);
    }

    QGroupBox *general = frame(page, "Frame8", QStringLiteral("General options"));
    addCheck(general, 7, QStringLiteral("Start Razuzezu Revidod when I log in"));
    addCheck(general, 3, QStringLiteral("Detect Windows folders as well as web browsers"));
    addCheck(general, 8, QStringLiteral("Hide splash screen on startup"));
    chkShow = new QCheckBox(QStringLiteral("Show tips on startup"), general);
    chkShow->setObjectName(QStringLiteral("chkShow"));
    column(general)->addWidget(chkShow);
    column(page)->addStretch(1);
}

void frmPrefs::buildVardecksTab(QWidget *page)
{
    QGroupBox *database = frame(page, "Frame3", QStringLiteral("Default database"));
    auto *label = new QLabel(QStringLiteral("Choose a database to open when Vardecks starts up:"), database);
    label->setObjectName(indexed("lbl", 15));
    m_lbl.insert(15, label);
    auto *databases = new QComboBox(database);
    databases->setObjectName(indexed("cmb", 0));
    m_cmb.insert(0, databases);
    column(database)->addWidget(label);
    column(database)->addWidget(databases);

    QGroupBox *sync = frame(page, "Frame4", QStringLiteral("Synchronization"));
    addCheck(sync, 6, QStringLiteral("Update web icons when synchronizing"));

    QGroupBox *general = frame(page, "Frame7", QStringLiteral("General options"));
    addCheck(general, 1, QStringLiteral("Autosave Vardecks"));
    addCheck(general, 2, QStringLiteral("Check for duplicates when saving a new Vardeck"));
    auto *sizes = new QGridLayout;
    const std::pair<int, int> rows[] = {{17, 2}, {16, 3}};
    for (int row = 0; row < 2; ++row) {
        const auto [labelIndex, box] = rows[row];
        auto *caption =
            new QLabel(labelIndex == 17 ? QStringLiteral("Number of Vardecks to store in recent Vardeck list:")
                                        : QStringLiteral("Number of Vardecks to store in recent search list:"),
                       general);
        caption->setObjectName(indexed("lbl", labelIndex));
        caption->setWordWrap(true);
        m_lbl.insert(labelIndex, caption);
        auto *text = new QLineEdit(QStringLiteral("15"), general);
        text->setObjectName(indexed("txtt", box));
        text->setFixedWidth(48);
        m_txtt.insert(box, text);
        sizes->addWidget(caption, row, 0);
        sizes->addWidget(text, row, 1);
    }
    column(general)->addLayout(sizes);
    addCheck(general, 11, QStringLiteral("Open first result when searching"));
    addCheck(general, 12, QStringLiteral("Show detailed search results when searching"));
    column(page)->addStretch(1);
}

void frmPrefs::buildUserInterfaceTab(QWidget *page)
{
    QGroupBox *styles = frame(page, "Frame5", QStringLiteral("Web aspect styles"));
    auto *styleList = new QComboBox(styles);
    styleList->setObjectName(indexed("cmb", 2));
    m_cmb.insert(2, styleList);
    column(styles)->addWidget(styleList);
    addCheck(styles, 10, QStringLiteral("Use default browser formatting in Web Aspect"));

    QGroupBox *view = frame(page, "Frame6", QStringLiteral("Folder view"));
    auto *viewGroup = new QWidget(view);
    viewGroup->setObjectName(QStringLiteral("Picture3"));
    auto *viewLayout = new QVBoxLayout(viewGroup);
    viewLayout->setContentsMargins(0, 0, 0, 0);
    column(view)->addWidget(viewGroup);
    viewLayout->addWidget(addOption(m_optIcon, "optIcon", viewGroup, 3, QStringLiteral("View as icons")));
    viewLayout->addWidget(addOption(m_optIcon, "optIcon", viewGroup, 2, QStringLiteral("View as a list")));

    QGroupBox *font = frame(page, "Frame9", QStringLiteral("Font size"));
    auto *fontGroup = new QWidget(font);
    fontGroup->setObjectName(QStringLiteral("Picture1"));
    auto *fontLayout = new QGridLayout(fontGroup);
    fontLayout->setContentsMargins(0, 0, 0, 0);
    column(font)->addWidget(fontGroup);
    struct FontRow {
        int button;
        const char *caption;
        int example;
        double points;
    };
    const FontRow fonts[] = {
        {1, "Small", 4, 8.25}, {4, "Medium-small", 5, 9}, {2, "Medium", 1, 9.75}, {0, "Large", 6, 11.25}};
    for (int row = 0; row < 4; ++row) {
        const FontRow &f = fonts[row];
        fontLayout->addWidget(addOption(m_optFont, "optFont", fontGroup, f.button, QString::fromLatin1(f.caption)), row,
                              0);
        auto *example = new QLabel(QStringLiteral("Example"), fontGroup);
        example->setObjectName(indexed("lbl", f.example));
        QFont exampleFont(QStringLiteral("Tahoma"));
        exampleFont.setPointSizeF(f.points);
        example->setFont(exampleFont);
        m_lbl.insert(f.example, example);
        fontLayout->addWidget(example, row, 1);
    }

    QGroupBox *general = frame(page, "Frame10", QStringLiteral("General options"));
    addCheck(general, 9, QStringLiteral("Auto-preview Vardecks in Preview view"));
    column(page)->addStretch(1);
}

void frmPrefs::Form_Load()
{
    UserOptions &options = appOptions();
    tabPrefs->setCurrentIndex(0);

    QComboBox *browsers = cmb(1);
    for (const prefs::BrowserEntry &entry : prefs::browserTable()) {
        // Only browsers that were found are offered.
        if (entry.pathIndex < 0 || !session().browserExePaths.value(entry.pathIndex).isEmpty())
            browsers->addItem(entry.text);
    }
    browsers->setCurrentIndex(browsers->findText(prefs::browserTextForCode(options.getDefaultBrowser())));
    cmb_Click(1);

    chk(0)->setChecked(options.getSystemTray());
    chk_Click(0);
    const bool recent = options.getSystemTrayOption() == QLatin1String("mnuRecent");
    opt(recent ? 1 : 0)->setChecked(true);

    txtt(2)->setText(QString::number(options.getRecentNo()));
    txtt(3)->setText(QString::number(options.getRecentSearchNo()));
    chk(6)->setChecked(options.getAutoIcon());
    optIcon(options.getIconView() ? 3 : 2)->setChecked(true);
    chk(1)->setChecked(options.getAutoSave());
    chk(2)->setChecked(options.getCheckDup());

    QComboBox *databases = cmb(0);
    const QStringList files = prefs::databaseFiles(paths::databaseFolder());
    databases->addItem(QStringLiteral("Most recent database"));
    databases->addItems(files);
    if (prefs::followsLastDatabase(options.getdbDefault(), options.getDBToOpen(), files)) {
        // No database chosen, or the chosen one is gone: the most recent one opens.
        databases->setCurrentIndex(0);
        options.setdbDefault(true);
    } else {
        databases->setCurrentIndex(databases->findText(options.getDBToOpen()));
    }

    QComboBox *styles = cmb(2);
    styles->addItems(prefs::styleEntries());
    const int style = styles->findText(options.getWebCSS());
    styles->setCurrentIndex(style < 0 ? 0 : style);

    chk(7)->setChecked(options.getLoadOnWinStart());
    chk(10)->setChecked(!session().webAspectHtml);
    chk(9)->setChecked(options.getAutoPreview());
    chk(8)->setChecked(options.getHideSplash());
    chk(3)->setChecked(options.getWinFolders());
    chk(11)->setChecked(options.getOpenFirst());
    chk(12)->setChecked(options.getShowDetailSearch());

    const int size = options.getFontSize();
    const int button = size == 8 ? 1 : size == 9 ? 4 : size == 10 ? 2 : size == 11 ? 0 : -1;
    if (button >= 0)
        optFont(button)->setChecked(true);

    chkShow->setChecked(!options.getTipStartup());
}

void frmPrefs::chk_Click(int index)
{
    if (index != 0)
        return;
    const bool on = chk(0)->isChecked();
    opt(0)->setEnabled(on);
    opt(1)->setEnabled(on);
}

void frmPrefs::cmb_Click(int index)
{
    if (index != 1)
        return;
    const QString text = cmb(1)->currentText();
    if (text.isEmpty())
        return;
    for (const prefs::BrowserEntry &entry : prefs::browserTable()) {
        if (entry.text == text) {
            lbl(kBrowserPathLabel)
                ->setText(entry.pathIndex < 0 ? QString() : session().browserExePaths.value(entry.pathIndex));
            return;
        }
    }
}

} // namespace rr
