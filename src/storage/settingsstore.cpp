#include "storage/settingsstore.h"

#include "platform/paths.h"
#include "platform/registrystore.h"
#include "storage/registryfunctions.h"
#include "storage/session.h"

#include <QRegularExpression>

namespace rr::SettingsStore
{
namespace
{

using namespace RegistryFunctions;
using reg::HKEY_CURRENT_USER;
using reg::HKEY_LOCAL_MACHINE;

// The conversion errors not yet shown, in order.
QList<RuntimeError> g_keptErrors;

// Every value of the application key, declared once with its type and its default.
// Value names are compared without regard to letter case, so a settings file that
// spells one differently ("webAspectHtml") still has its value read and replaced.
struct IntegerKey {
    const char *name;
    qint16 fallback;
};
struct LongKey {
    const char *name;
    qint32 fallback;
};
struct TextKey {
    const char *name;
    const char *fallback;
};
struct FlagKey { // "True" or "False"
    const char *name;
    bool fallback;
};

namespace keys
{
constexpr TextKey BasicApp{"BasicApp", ""};
constexpr TextKey ApplicationPath{"ApplicationPath", ""};
constexpr TextKey Version{"Version", ""};
constexpr IntegerKey TabIndex{"TabIndex", 0};
constexpr IntegerKey TabView{"TabView", 0};
constexpr IntegerKey TabInfo{"TabInfo", 0};
constexpr IntegerKey FrmWidth{"frmWidth", 13000};
constexpr IntegerKey FrmHeight{"frmHeight", 8500};
constexpr IntegerKey FrmLeft{"frmLeft", 0};
constexpr IntegerKey FrmTop{"frmTop", 0};
constexpr LongKey FrmVDWidth{"frmVDWidth", 10000};
constexpr LongKey FrmVDHeight{"frmVDHeight", 7500};
constexpr LongKey FrmVDLeft{"frmVDLeft", 0};
constexpr LongKey FrmVDTop{"frmVDTop", 0};
constexpr IntegerKey Splitter1{"splitter1", 2500};
constexpr IntegerKey Splitter2{"splitter2", 5500};
constexpr TextKey CurrentDB{kCurrentDBValue, "Vardecks.xml"};
constexpr FlagKey Maximised{"Maximised", false};
constexpr TextKey Aspect{"Aspect", "Explorer"};
constexpr TextKey AspectStyle{"AspectStyle", "VD.xsl"};
constexpr TextKey DevToolsPorts{"DevToolsPorts", ""};
constexpr FlagKey WebAspectHtml{"WebAspectHtml", false};
} // namespace keys

QString key(const char *path)
{
    return QString::fromLatin1(path);
}

QString appText(const QString &name)
{
    return textOf(QueryValue(HKEY_CURRENT_USER, key(kAppKey), name));
}

QString textSetting(const QString &name, const QString &fallback)
{
    const QString text = appText(name);
    return text.isEmpty() ? fallback : text;
}

QString errorText(const RuntimeError &error)
{
    return QLatin1Char('[') + QString::number(error.number) + QLatin1String("] ") + error.description;
}

template <typename Number> Number reportAndReturn(const RuntimeError &error, Number fallback)
{
    g_keptErrors.append(error);
    return fallback;
}

qint16 integerSetting(const QString &name, qint16 fallback)
{
    const QString text = appText(name);
    if (text.isEmpty())
        return fallback;
    RuntimeError error;
    const std::optional<qint16> number = integerOf(text, &error);
    return number ? *number : reportAndReturn(error, fallback);
}

qint32 longSetting(const QString &name, qint32 fallback)
{
    const QString text = appText(name);
    if (text.isEmpty())
        return fallback;
    RuntimeError error;
    const std::optional<qint32> number = longOf(text, &error);
    return number ? *number : reportAndReturn(error, fallback);
}

// The setting of a column's width of listVD: "c1" for the first.
QString folderListKey(FolderListColumn column)
{
    return QStringLiteral("c") + QString::number(int(column) + 1);
}

qint16 columnWidth(const QString &name)
{
    const QVariant value = QueryValue(HKEY_CURRENT_USER, key(kAppKey), name);
    if (textOf(value).isEmpty())
        return 0;
    RuntimeError error;
    const std::optional<qint16> number = integerOf(value, &error);
    return number ? *number : reportAndReturn<qint16>(error, 0);
}

qint32 writeAppText(const QString &name, const QString &text)
{
    return WriteValue(HKEY_CURRENT_USER, key(kAppKey), name, text);
}

qint32 writeAppInteger(const QString &name, int value)
{
    return writeAppText(name, QString::number(clampToInteger(value)));
}

qint16 read(const IntegerKey &k)
{
    return integerSetting(QLatin1String(k.name), k.fallback);
}
qint32 read(const LongKey &k)
{
    return longSetting(QLatin1String(k.name), k.fallback);
}
QString read(const TextKey &k)
{
    return textSetting(QLatin1String(k.name), QLatin1String(k.fallback));
}
// A flag is set only by the exact text "True".
bool read(const FlagKey &k)
{
    const QString text = appText(QLatin1String(k.name));
    return text.isEmpty() ? k.fallback : text == QLatin1String("True");
}

void write(const IntegerKey &k, int value)
{
    writeAppInteger(QLatin1String(k.name), value);
}
void write(const LongKey &k, qint32 value)
{
    writeAppText(QLatin1String(k.name), QString::number(value));
}
void write(const TextKey &k, const QString &text)
{
    writeAppText(QLatin1String(k.name), text);
}
void write(const FlagKey &k, bool value)
{
    writeAppText(QLatin1String(k.name), booleanText(value));
}

// Removes the values of a numbered list above its new length, so that a shorter
// list does not come back with the old tail at the next start.
void removeNumberedValuesAbove(const QString &keyPath, const QRegularExpression &pattern, int count)
{
    for (const QString &name : ValueNames(HKEY_CURRENT_USER, keyPath)) {
        const QRegularExpressionMatch m = pattern.match(name);
        if (m.hasMatch() && m.captured(1).toLongLong() > count)
            DeleteValue(HKEY_CURRENT_USER, keyPath, name);
    }
}

} // namespace

// --- getters -----------------------------------------------------------------------

bool isBasicAppRegistered()
{
    return !appText(QLatin1String(keys::BasicApp.name)).isEmpty();
}

qint16 getTabIndexSetting()
{
    return read(keys::TabIndex);
}
qint16 getTabViewSetting()
{
    return read(keys::TabView);
}
qint16 getTabInfoSetting()
{
    return read(keys::TabInfo);
}
qint16 getFrmWidthSetting()
{
    return read(keys::FrmWidth);
}
qint16 getFrmHeightSetting()
{
    return read(keys::FrmHeight);
}
qint16 getFrmLeftSetting()
{
    return read(keys::FrmLeft);
}
qint16 getFrmTopSetting()
{
    return read(keys::FrmTop);
}
qint32 getFrmVDWidthSetting()
{
    return read(keys::FrmVDWidth);
}
qint32 getFrmVDHeightSetting()
{
    return read(keys::FrmVDHeight);
}
qint32 getFrmVDLeftSetting()
{
    return read(keys::FrmVDLeft);
}
qint32 getFrmVDTopSetting()
{
    return read(keys::FrmVDTop);
}
qint16 getSplitter1Setting()
{
    return read(keys::Splitter1);
}
qint16 getSplitter2Setting()
{
    return read(keys::Splitter2);
}

qint16 getColWidth(FolderListColumn column)
{
    return columnWidth(folderListKey(column));
}
qint16 getColWidthSearch(int i)
{
    return columnWidth(QStringLiteral("cs") + QString::number(i));
}

QString getCurrentDB()
{
    return read(keys::CurrentDB);
}
QString getFrmMaximised()
{
    return textSetting(QLatin1String(keys::Maximised.name), booleanText(keys::Maximised.fallback));
}
QString getAspectSetting()
{
    return read(keys::Aspect);
}
QString getAspectStyle()
{
    return read(keys::AspectStyle);
}

QList<quint16> getDevToolsPorts()
{
    // The environment, when it names ports (even none), comes before the setting.
    const bool fromEnvironment = qEnvironmentVariableIsSet("RAZUZEZU_DEVTOOLS_PORTS");
    const QString text = fromEnvironment ? qEnvironmentVariable("RAZUZEZU_DEVTOOLS_PORTS")
                                         : appText(QLatin1String(keys::DevToolsPorts.name));
    if (fromEnvironment && text.trimmed().isEmpty())
        return {};
    // The port browsers are usually started with is always asked: announcing a second
    // browser must not hide the first one's pages.
    QList<quint16> ports = {kDefaultDevToolsPort};
    for (const QString &part : text.split(QRegularExpression(QStringLiteral("[,\\s]+")), Qt::SkipEmptyParts)) {
        bool ok = false;
        const uint port = part.toUInt(&ok);
        if (ok && port > 0 && port <= 65535 && !ports.contains(quint16(port)) && ports.size() < kMaxDevToolsPorts)
            ports << quint16(port);
    }
    return ports;
}

bool getWebAspectHtml()
{
    return read(keys::WebAspectHtml);
}

// --- writers -----------------------------------------------------------------------

void setupAppPathInRegistry()
{
    RegistryStore::Batch batch;
    const QString folder = paths::programFolder();
    const QString exePath = folder + QLatin1Char('/') + QLatin1String(kExeName);
    const QString appPathKey = key(kAppPathsKey) + QLatin1Char('\\') + QLatin1String(kExeName);
    // Without the right to create the entry the machine-wide writes are skipped.
    if (const Key entry = CreateKey(HKEY_LOCAL_MACHINE, appPathKey)) {
        SetValueEx(entry, QString(), reg::REG_SZ, exePath);
        SetValueEx(entry, QStringLiteral("Path"), reg::REG_SZ, folder);
        CloseKey(entry);
    }
    write(keys::ApplicationPath, exePath);
}

void addBasicAppRegEntries()
{
    RegistryStore::Batch batch;
    CloseKey(CreateKey(HKEY_CURRENT_USER, key(kAppKey)));
    write(keys::BasicApp, QStringLiteral("ok"));
    CloseKey(CreateKey(HKEY_CURRENT_USER, key(kRecentKey)));
    CloseKey(CreateKey(HKEY_CURRENT_USER, key(kSearchKey)));
    CloseKey(CreateKey(HKEY_CURRENT_USER, key(kUserOptionsKey)));
}

void addDefaultFormValues(int tabIndex, int tabInfo, int tabView, const QString &aspect, const QString &aspectStyle,
                          const QString &webAspectHtml, bool iconView)
{
    RegistryStore::Batch batch;
    write(keys::TabIndex, tabIndex);
    write(keys::TabInfo, tabInfo);
    write(keys::TabView, tabView);
    write(keys::Aspect, aspect);
    write(keys::AspectStyle, aspectStyle);
    writeAppText(QLatin1String(keys::WebAspectHtml.name), webAspectHtml);
    WriteValue(HKEY_CURRENT_USER, key(kUserOptionsKey), QStringLiteral("iconView"), booleanText(iconView));
}

void setAspectStyle(const QString &style)
{
    write(keys::AspectStyle, style);
}

void setSavedFormValues(const SavedWindowValues &values)
{
    RegistryStore::Batch batch;
    write(keys::TabIndex, values.indexTab);
    write(keys::TabInfo, values.infoTab);
    write(keys::TabView, values.viewTab);
    write(keys::Aspect, values.aspect);
    write(keys::FrmWidth, values.width);
    write(keys::FrmHeight, values.height);
    write(keys::FrmLeft, values.left);
    write(keys::FrmTop, values.top);
    write(keys::Splitter1, values.splitter1);
    write(keys::Splitter2, values.splitter2);
    write(keys::Maximised, values.maximised);
    write(keys::WebAspectHtml, values.webAspectHtml);
}

void setColWidth(FolderListColumn column, int width)
{
    writeAppInteger(folderListKey(column), width);
}

void setMoreFormValues(const QString &currentDB)
{
    RegistryStore::Batch batch;
    write(keys::CurrentDB, currentDB);
}

void setColWidthSearch(int i, int width)
{
    writeAppInteger(QStringLiteral("cs") + QString::number(i), width);
}

void setVDFormValues(qint32 width, qint32 height, qint32 left, qint32 top)
{
    RegistryStore::Batch batch;
    write(keys::FrmVDWidth, width);
    write(keys::FrmVDHeight, height);
    write(keys::FrmVDLeft, left);
    write(keys::FrmVDTop, top);
}

void setVersion()
{
    write(keys::Version, QLatin1String(kVersion));
}

// --- the recent list and the search history ----------------------------------------

void writeRecentList(const QList<VDData> &list)
{
    RegistryStore::Batch batch;
    clearRecentList();
    const QString recentKey = key(kRecentKey);
    CloseKey(CreateKey(HKEY_CURRENT_USER, recentKey));
    for (int i = 1; i <= list.size(); ++i) {
        const VDData &record = list.at(i - 1);
        const QString prefix = QStringLiteral("recent") + QString::number(i);
        const bool written =
            WriteValue(HKEY_CURRENT_USER, recentKey, prefix + QLatin1String("_Name"), record.getName()) == 0 &&
            WriteValue(HKEY_CURRENT_USER, recentKey, prefix + QLatin1String("_URL"), record.getURL()) == 0 &&
            WriteValue(HKEY_CURRENT_USER, recentKey, prefix + QLatin1String("_ID"), record.getID()) == 0 &&
            WriteValue(HKEY_CURRENT_USER, recentKey, prefix + QLatin1String("_DBName"), record.getDBName()) == 0;
        if (!written)
            return;
    }
    // The key is normally gone and new; this only matters when it could not be deleted.
    static const QRegularExpression recentValue(QStringLiteral("^recent(\\d+)_"),
                                                QRegularExpression::CaseInsensitiveOption);
    removeNumberedValuesAbove(recentKey, recentValue, list.size());
}

void writeSearchList(const QStringList &list)
{
    RegistryStore::Batch batch;
    const QString searchKey = key(kSearchKey);
    CloseKey(CreateKey(HKEY_CURRENT_USER, searchKey));
    for (int i = 1; i <= list.size(); ++i) {
        if (WriteValue(HKEY_CURRENT_USER, searchKey, QStringLiteral("search") + QString::number(i), list.at(i - 1)))
            return;
    }
    static const QRegularExpression searchValue(QStringLiteral("^search(\\d+)$"),
                                                QRegularExpression::CaseInsensitiveOption);
    removeNumberedValuesAbove(searchKey, searchValue, list.size());
}

void clearRecentList()
{
    DeleteKey(HKEY_CURRENT_USER, key(kRecentKey));
}

QList<VDData> loadRecentList()
{
    QList<VDData> list;
    const QString recentKey = key(kRecentKey);
    for (int i = 1; i <= session().recentMax; ++i) {
        const QString prefix = QStringLiteral("recent") + QString::number(i);
        const QString id = textOf(QueryValue(HKEY_CURRENT_USER, recentKey, prefix + QLatin1String("_ID")));
        if (id.isEmpty())
            break;
        VDData record;
        record.loadDataFromReg(id, textOf(QueryValue(HKEY_CURRENT_USER, recentKey, prefix + QLatin1String("_Name"))),
                               textOf(QueryValue(HKEY_CURRENT_USER, recentKey, prefix + QLatin1String("_URL"))),
                               textOf(QueryValue(HKEY_CURRENT_USER, recentKey, prefix + QLatin1String("_DBName"))));
        list.append(record);
    }
    return list;
}

QStringList loadSearchList()
{
    QStringList list;
    const QString searchKey = key(kSearchKey);
    for (int i = session().searchMax; i >= 1; --i) {
        const QString text =
            textOf(QueryValue(HKEY_CURRENT_USER, searchKey, QStringLiteral("search") + QString::number(i)));
        if (!text.isEmpty())
            list.prepend(text);
    }
    return list;
}

// --- the error reporter ------------------------------------------------------------

Notices takeErrorNotices(int *userSettingsSetAside)
{
    Notices notices;
    if (userSettingsSetAside)
        *userSettingsSetAside = -1;
    for (const RegistryStore::Unreadable &file : RegistryStore::instance().takeUnreadable()) {
        if (file.keptAs.isEmpty())
            notices.append(Notice(QStringLiteral("The settings file %1 could not be read (%2). It is left as it is, "
                                                 "the settings are their defaults, and no setting is saved until it "
                                                 "is mended or removed.")
                                      .arg(file.file, file.reason),
                                  MsgIcon::Exclamation));
        else
            notices.append(Notice(QStringLiteral("The settings file %1 could not be read (%2). It was kept as %3, "
                                                 "and the settings start from their defaults.")
                                      .arg(file.file, file.reason, file.keptAs),
                                  MsgIcon::Exclamation));
        if (userSettingsSetAside && file.root == reg::HKEY_CURRENT_USER)
            *userSettingsSetAside = int(notices.size()) - 1;
    }
    for (const RuntimeError &error : std::as_const(g_keptErrors))
        notices.append(Notice(errorText(error)));
    g_keptErrors.clear();
    return notices;
}

} // namespace rr::SettingsStore
