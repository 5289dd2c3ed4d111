#pragma once
// The 22 options the user sets in the options dialog. Read from the registry once
// when the main window loads (setFromRegistry) and written once when it closes
// (saveToRegistry); in between every part of the program reads them through
// appOptions(), the options of the run's Session (storage/session.h).
#include <QString>

namespace rr
{

class UserOptions
{
public:
    bool getAutoSave() const { return m_autoSave; }
    void setAutoSave(bool value) { m_autoSave = value; }
    QString getLastTip() const { return m_lastTip; }
    void setLastTip(const QString &value) { m_lastTip = value; }
    // True means the tip of the day is NOT shown at start.
    bool getTipStartup() const { return m_tipStartup; }
    void setTipStartup(bool value) { m_tipStartup = value; }
    // 0 (never set) reads as 8, and the field becomes 8.
    qint16 getFontSize();
    void setFontSize(qint16 value) { m_fontSize = value; }
    bool getCheckDup() const { return m_checkDup; }
    void setCheckDup(bool value) { m_checkDup = value; }
    bool getdbDefault() const { return m_dbDefault; }
    void setdbDefault(bool value) { m_dbDefault = value; }
    bool getOpenFirst() const { return m_openFirst; }
    void setOpenFirst(bool value) { m_openFirst = value; }
    bool getShowDetailSearch() const { return m_showDetailSearch; }
    void setShowDetailSearch(bool value) { m_showDetailSearch = value; }
    bool getWinFolders() const { return m_winFolders; }
    void setWinFolders(bool value) { m_winFolders = value; }
    bool getHideSplash() const { return m_hideSplash; }
    void setHideSplash(bool value) { m_hideSplash = value; }
    bool getAutoPreview() const { return m_autoPreview; }
    void setAutoPreview(bool value) { m_autoPreview = value; }
    // Read from "currentDB" of the application key; saveToRegistry does not write it.
    QString getDBToOpen() const { return m_dbToOpen; }
    void setDBToOpen(const QString &value) { m_dbToOpen = value; }
    bool getLoadOnWinStart() const { return m_loadOnWinStart; }
    void setLoadOnWinStart(bool value) { m_loadOnWinStart = value; }
    bool getIconView() const { return m_iconView; }
    void setIconView(bool value) { m_iconView = value; }
    bool getAutoThumb() const { return m_autoThumb; }
    void setAutoThumb(bool value) { m_autoThumb = value; }
    bool getAutoIcon() const { return m_autoIcon; }
    void setAutoIcon(bool value) { m_autoIcon = value; }
    QString getDefaultBrowser() const { return m_defaultBrowser; }
    void setDefaultBrowser(const QString &value) { m_defaultBrowser = value; }
    QString getWebCSS() const { return m_webCSS; }
    void setWebCSS(const QString &value) { m_webCSS = value; }
    bool getSystemTray() const { return m_systemTray; }
    void setSystemTray(bool value) { m_systemTray = value; }
    QString getSystemTrayOption() const { return m_systemTrayOption; }
    void setSystemTrayOption(const QString &value) { m_systemTrayOption = value; }
    qint16 getRecentNo() const { return m_recentNo; }
    void setRecentNo(qint16 value) { m_recentNo = value; }
    qint16 getRecentSearchNo() const { return m_recentSearchNo; }
    void setRecentSearchNo(qint16 value) { m_recentSearchNo = value; }

    // Writes every option but DBToOpen under "UserOptions\".
    void saveToRegistry();
    // Reads every option; a value that cannot be converted takes its empty default
    // (False, 0 or "") without stopping the others, and one line on stderr names it.
    void setFromRegistry();

private:
    bool m_autoSave = false;
    QString m_defaultBrowser;
    bool m_systemTray = false;
    QString m_systemTrayOption;
    qint16 m_recentNo = 0;
    qint16 m_recentSearchNo = 0;
    bool m_autoThumb = false;
    bool m_autoIcon = false;
    bool m_iconView = false;
    QString m_webCSS;
    bool m_loadOnWinStart = false;
    QString m_dbToOpen;
    bool m_autoPreview = false;
    bool m_hideSplash = false;
    bool m_winFolders = false;
    bool m_openFirst = false;
    bool m_showDetailSearch = false;
    bool m_dbDefault = false;
    bool m_checkDup = false;
    qint16 m_fontSize = 0;
    bool m_tipStartup = false;
    QString m_lastTip;
};

// The options of this run: session().options.
UserOptions &appOptions();

} // namespace rr
