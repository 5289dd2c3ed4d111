// The options dialog's Apply command and its launcher.
#include "controls/qbbuttons_h.h"
#include "options/prefsrules.h"
#include "options/startupentry.h"
#include "options/ui/frmprefs.h"
#include "options/webstyle.h"
#include "platform/gui/commands.h"
#include "platform/gui/partoperations.h"
#include "platform/prompt.h"
#include "shell/aspectoperations.h"
#include "shell/findingoperations.h"
#include "shell/frameoptions.h"
#include "shell/mainmodule.h"
#include "shell/opendatabase.h"
#include "shell/previewoperations.h"
#include "shell/trayicon.h"
#include "shell/vardeckviewsoperations.h"
#include "shell/webaspectoperations.h"
#include "storage/session.h"
#include "storage/useroptions.h"
#include "storage/vardeckmodule.h"
#include "storage/xmldatabase.h"

#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QLineEdit>
#include <QRadioButton>
#include <QSystemTrayIcon>

namespace rr
{

void frmPrefs::cmdApply_Click()
{
    UserOptions &options = appOptions();
    options.setAutoSave(chk(1)->isChecked());
    options.setCheckDup(chk(2)->isChecked());
    const QString browser = prefs::browserCodeForText(cmb(1)->currentText());
    if (!browser.isEmpty())
        options.setDefaultBrowser(browser);
    applyTray();

    if (const auto recent = applyListSize(
            2, QStringLiteral("The number of Vardecks stored in your Recent Vardeck list must be between 1 and 50"))) {
        options.setRecentNo(qint16(*recent));
        session().recentMax = *recent;
    }
    const bool searchIsNumber = prefs::checkListSize(txtt(3)->text()).verdict != prefs::ListSize::Verdict::NotANumber;
    if (const auto search = applyListSize(
            3, QStringLiteral("The number of Vardecks stored in your recent search list must be between 1 and 50"))) {
        options.setRecentSearchNo(qint16(*search));
        session().searchMax = *search;
    }
    if (searchIsNumber)
        operationsOf<FindingOperations>(m_parts).populateSearchList();

    options.setAutoIcon(chk(6)->isChecked());
    if (optIcon(3)->isChecked() && !options.getIconView()) {
        options.setIconView(true);
        operationsOf<VardeckViewsOperations>(m_parts).viewAsIcons();
    } else if (optIcon(2)->isChecked() && options.getIconView()) {
        options.setIconView(false);
        operationsOf<VardeckViewsOperations>(m_parts).viewAsList();
    }

    applyWebStyle();

    if (cmb(0)->currentIndex() == 0) {
        options.setDBToOpen(m_db.mostRecentName());
        options.setdbDefault(true);
    } else {
        options.setDBToOpen(cmb(0)->currentText());
        options.setdbDefault(false);
    }

    applyStartupEntry();

    session().webAspectHtml = !chk(10)->isChecked();
    operationsOf<WebAspectOperations>(m_parts).showWebAspectFormatting();
    options.setAutoPreview(chk(9)->isChecked());
    operationsOf<PreviewOperations>(m_parts).showAutoPreviewOption();
    options.setHideSplash(chk(8)->isChecked());
    options.setWinFolders(chk(3)->isChecked());
    options.setOpenFirst(chk(11)->isChecked());
    options.setShowDetailSearch(chk(12)->isChecked());
    operationsOf<FindingOperations>(m_parts).showSearchOptions();

    const std::pair<int, int> fonts[] = {{1, 8}, {4, 9}, {2, 10}, {0, 11}};
    for (const auto &[button, points] : fonts) {
        if (optFont(button)->isChecked()) {
            int size = points;
            m_frame.applyFontSize(size);
            options.setFontSize(qint16(size));
            break;
        }
    }
    options.setTipStartup(!chkShow->isChecked());
}

void frmPrefs::applyTray()
{
    UserOptions &options = appOptions();
    const bool wasOn = options.getSystemTray();
    // Without a notification area there is no icon to show: the choice is kept for a
    // desktop that has one, and the window is never hidden into a tray that isn't there.
    const bool trayHere = QSystemTrayIcon::isSystemTrayAvailable();
    if (chk(0)->isChecked()) {
        options.setSystemTray(true);
        const bool recent = opt(1)->isChecked();
        if (recent || opt(0)->isChecked())
            options.setSystemTrayOption(recent ? QStringLiteral("mnuRecent") : QStringLiteral("mnuFavs"));
        if (trayHere) {
            if (wasOn)
                removeTrayIcon();
            m_frame.showTrayIcon(recent ? MenuId::mnuRecent : MenuId::mnuFavs);
            setTrayTip(prompt::appTitle());
        }
    } else if (wasOn) {
        options.setSystemTray(false);
        removeTrayIcon();
    }
}

std::optional<int> frmPrefs::applyListSize(int box, const QString &message)
{
    const prefs::ListSize size = prefs::checkListSize(txtt(box)->text());
    if (size.verdict == prefs::ListSize::Verdict::Ok)
        return size.value;
    // The list-size messages are titled with the program's short name.
    prompt::show(message, MsgButtons::Ok, MsgIcon::None, QStringLiteral("Vardecks"));
    txtt(box)->setText(size.resetText);
    return std::nullopt;
}

void frmPrefs::applyWebStyle()
{
    const QString entry = cmb(2)->currentText();
    const QString css = prefs::styleSheetForEntry(entry);
    if (css.isEmpty())
        return;
    if (m_db.isOpen()) {
        const webstyle::Result result = webstyle::changeWebStyle(m_db->getBasePath(), css);
        if (!result.failures.isEmpty())
            prompt::show(QStringLiteral("The Web Aspect style could not be set in:\n") +
                             result.failures.join(QLatin1Char('\n')),
                         MsgButtons::Ok, MsgIcon::Exclamation);
    }
    UserOptions &options = appOptions();
    const QString before = options.getWebCSS();
    options.setWebCSS(entry);
    if (entry != before) {
        // Every rendered page names the old style; the shown one is made again now.
        m_frame.collectionChanged(StalePages::everyPage());
        if (m_frame.currentAspect() == QLatin1String("Web"))
            operationsOf<AspectOperations>(m_parts).showAspectWeb();
    }
}

void frmPrefs::applyStartupEntry()
{
    UserOptions &options = appOptions();
    const bool ticked = chk(7)->isChecked();
    if (ticked && options.getLoadOnWinStart())
        return;
    QString error;
    const bool done = startupentry::setRunAtStartup(ticked, QCoreApplication::applicationFilePath(), &error);
    // An entry that could not be written is tried again at the next Apply.
    options.setLoadOnWinStart(ticked && done);
    if (!done)
        prompt::show((ticked ? QStringLiteral("The start-up entry could not be written:\n")
                             : QStringLiteral("The start-up entry could not be removed:\n")) +
                         startupentry::filePath() + QStringLiteral("\n") + error,
                     MsgButtons::Ok, MsgIcon::Exclamation);
}

} // namespace rr
