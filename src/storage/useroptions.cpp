#include "storage/useroptions.h"

#include "storage/regconvert.h"
#include "storage/registryfunctions.h"
#include "storage/session.h"
#include "storage/settingsstore.h"

#include <QStringList>
#include <cstdio>

namespace rr
{
namespace
{

using reg::HKEY_CURRENT_USER;
using RegistryFunctions::QueryValue;
using RegistryFunctions::WriteValue;

const QString optionsKey()
{
    return QString::fromLatin1(SettingsStore::kUserOptionsKey);
}

// Reads option values one at a time; a value that cannot be converted takes its empty
// default and is noted, so that one bad value never costs the others.
class OptionReader
{
public:
    bool boolean(const char *name)
    {
        const QVariant value = QueryValue(HKEY_CURRENT_USER, optionsKey(), QLatin1String(name));
        RuntimeError error;
        if (const std::optional<bool> b = booleanOf(value, &error))
            return *b;
        note(name, value, error);
        return false;
    }

    qint16 integer(const char *name)
    {
        const QVariant value = QueryValue(HKEY_CURRENT_USER, optionsKey(), QLatin1String(name));
        RuntimeError error;
        if (const std::optional<qint16> n = integerOf(value, &error))
            return *n;
        note(name, value, error);
        return 0;
    }

    QString text(const char *name, const QString &keyPath = optionsKey())
    {
        return textOf(QueryValue(HKEY_CURRENT_USER, keyPath, QLatin1String(name)));
    }

    void reportIgnored() const
    {
        if (!m_ignored.isEmpty())
            std::fprintf(stderr, "Razuzezu Revidod: options that could not be read took their defaults: %s\n",
                         qUtf8Printable(m_ignored.join(QLatin1String(", "))));
    }

private:
    void note(const char *name, const QVariant &value, const RuntimeError &error)
    {
        m_ignored << QStringLiteral("%1 = \"%2\" ([%3] %4)")
                         .arg(QLatin1String(name), textOf(value), QString::number(error.number), error.description);
    }

    QStringList m_ignored;
};

void writeOption(const char *name, const QString &text)
{
    WriteValue(HKEY_CURRENT_USER, optionsKey(), QLatin1String(name), text);
}

void writeOption(const char *name, bool value)
{
    writeOption(name, booleanText(value));
}

void writeOption(const char *name, qint16 value)
{
    writeOption(name, QString::number(value));
}

} // namespace

qint16 UserOptions::getFontSize()
{
    if (m_fontSize == 0)
        m_fontSize = 8;
    return m_fontSize;
}

void UserOptions::saveToRegistry()
{
    RegistryStore::Batch batch;
    RegistryFunctions::CloseKey(RegistryFunctions::CreateKey(HKEY_CURRENT_USER, optionsKey()));
    writeOption("autoSave", m_autoSave);
    writeOption("defaultBrowser", m_defaultBrowser);
    writeOption("systemTray", m_systemTray);
    writeOption("systemTrayOption", m_systemTrayOption);
    writeOption("recentNo", m_recentNo);
    writeOption("recentSearchNo", m_recentSearchNo);
    writeOption("autoThumb", m_autoThumb);
    writeOption("autoIcon", m_autoIcon);
    writeOption("iconView", m_iconView);
    writeOption("webCSS", m_webCSS);
    writeOption("loadOnWinStart", m_loadOnWinStart);
    writeOption("autoPreview", m_autoPreview);
    writeOption("hideSplash", m_hideSplash);
    writeOption("winFolders", m_winFolders);
    writeOption("showDetailSearch", m_showDetailSearch);
    writeOption("openFirst", m_openFirst);
    writeOption("dbDefault", m_dbDefault);
    writeOption("checkDup", m_checkDup);
    writeOption("fontSize", getFontSize());
    writeOption("tipStartup", m_tipStartup);
    writeOption("lastTip", m_lastTip);
}

void UserOptions::setFromRegistry()
{
    OptionReader read;
    m_autoSave = read.boolean("autoSave");
    m_defaultBrowser = read.text("defaultBrowser");
    m_systemTray = read.boolean("systemTray");
    m_systemTrayOption = read.text("systemTrayOption");
    m_recentNo = read.integer("recentNo");
    m_recentSearchNo = read.integer("recentSearchNo");
    m_autoThumb = read.boolean("autoThumb");
    m_autoIcon = read.boolean("autoIcon");
    m_iconView = read.boolean("iconView");
    m_webCSS = read.text("webCSS");
    m_loadOnWinStart = read.boolean("loadOnWinStart");
    m_dbToOpen = read.text(SettingsStore::kCurrentDBValue, QString::fromLatin1(SettingsStore::kAppKey));
    m_autoPreview = read.boolean("autoPreview");
    m_hideSplash = read.boolean("hideSplash");
    m_winFolders = read.boolean("winFolders");
    m_openFirst = read.boolean("openFirst");
    m_showDetailSearch = read.boolean("showDetailSearch");
    m_dbDefault = read.boolean("dbDefault");
    m_checkDup = read.boolean("checkDup");
    m_fontSize = read.integer("fontSize");
    m_tipStartup = read.boolean("tipStartup");
    m_lastTip = read.text("lastTip");
    read.reportIgnored();
}

UserOptions &appOptions()
{
    return session().options;
}

} // namespace rr
