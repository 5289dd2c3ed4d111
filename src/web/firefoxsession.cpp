#include "web/firefoxsession.h"

#include "platform/firefoxfolders.h"
#include "platform/mozlz4.h"
#include "platform/plainfile.h"
#include "platform/processlock.h"
#include "platform/textutil.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

namespace rr::firefox
{
namespace
{

constexpr qint64 kMaxIni = 1024 * 1024;
constexpr int kMaxTabs = 20000;
// Longer addresses (pages held in data: addresses) make no useful Vardeck.
constexpr int kMaxAddress = 8192;
constexpr int kMaxTitle = 2048;

// The Path= entries of the [Profile…] sections, made absolute.
QStringList profilesIn(const QString &folder)
{
    QFile file(folder + QStringLiteral("/profiles.ini"));
    QString reason;
    if (!openPlainFile(file, &reason))
        return {};
    const QByteArray text = file.read(kMaxIni);
    QStringList found;
    bool inProfile = false;
    QString path;
    bool relative = true;
    const auto finish = [&] {
        if (inProfile && !path.isEmpty())
            found << QDir::cleanPath(relative ? folder + QLatin1Char('/') + path : path);
        path.clear();
        relative = true;
    };
    for (const QByteArray &rawLine : text.split('\n')) {
        const QString line = QString::fromUtf8(rawLine).trimmed();
        if (line.startsWith(QLatin1Char('['))) {
            finish();
            inProfile = line.startsWith(QLatin1String("[Profile"), Qt::CaseInsensitive);
            continue;
        }
        const qsizetype eq = line.indexOf(QLatin1Char('='));
        if (!inProfile || eq <= 0)
            continue;
        const QString key = line.left(eq).trimmed();
        const QString value = line.mid(eq + 1).trimmed();
        if (sameText(key, QLatin1String("Path")))
            path = value;
        else if (sameText(key, QLatin1String("IsRelative")))
            relative = value != QLatin1String("0");
    }
    finish();
    return found;
}

QString cut(const QString &text, int max)
{
    return text.size() > max ? text.left(max) : text;
}

// The entry a tab shows: "index" counts from 1; without it, the last entry.
std::optional<DetectedPage> tabPage(const QJsonObject &tab)
{
    const QJsonArray entries = tab.value(QLatin1String("entries")).toArray();
    if (entries.isEmpty())
        return std::nullopt;
    int index = tab.value(QLatin1String("index")).toInt(int(entries.size()));
    index = qBound(1, index, int(entries.size()));
    const QJsonObject entry = entries.at(index - 1).toObject();
    DetectedPage page;
    page.address = entry.value(QLatin1String("url")).toString();
    if (page.address.isEmpty() || page.address.size() > kMaxAddress)
        return std::nullopt;
    page.name = cut(entry.value(QLatin1String("title")).toString(), kMaxTitle);
    if (page.name.isEmpty())
        page.name = page.address;
    page.browser = QString::fromLatin1(kLabel);
    return page;
}

} // namespace

std::optional<DetectedPage> Session::frontPage() const
{
    const int w = selectedWindow >= 0 && selectedWindow < windows.size() ? selectedWindow : 0;
    if (w >= windows.size())
        return std::nullopt;
    const Window &window = windows.at(w);
    if (window.selected >= 0 && window.selected < window.tabs.size())
        return window.tabs.at(window.selected);
    return window.tabs.isEmpty() ? std::nullopt : std::optional<DetectedPage>(window.tabs.first());
}

QList<int> Session::windowsUsedLastFirst() const
{
    QList<int> order;
    if (selectedWindow >= 0 && selectedWindow < windows.size())
        order << selectedWindow;
    for (int w = 0; w < windows.size(); ++w)
        if (w != selectedWindow)
            order << w;
    return order;
}

QStringList profileFolders(const QString &home)
{
    QStringList all;
    for (const QString &folder : firefoxFolders(home))
        for (const QString &profile : profilesIn(folder))
            if (!all.contains(profile))
                all << profile;
    return all;
}

QStringList liveProfileFolders(const QString &home)
{
    QStringList live;
    for (const QString &profile : profileFolders(home))
        if (processlock::namesLiveLocalProcess(profile + QStringLiteral("/lock")))
            live << profile;
    return live;
}

std::optional<Session> parseSession(const QByteArray &json)
{
    QJsonParseError error;
    const QJsonDocument doc = QJsonDocument::fromJson(json, &error);
    if (error.error != QJsonParseError::NoError || !doc.isObject())
        return std::nullopt;
    const QJsonObject root = doc.object();
    Session session;
    int tabCount = 0;
    // "selectedWindow" and each window's "selected" count from 1.
    const int selectedWindow = root.value(QLatin1String("selectedWindow")).toInt(0);
    const QJsonArray windows = root.value(QLatin1String("windows")).toArray();
    for (qsizetype wi = 0; wi < windows.size() && tabCount < kMaxTabs; ++wi) {
        const QJsonObject windowObject = windows.at(wi).toObject();
        const QJsonArray tabs = windowObject.value(QLatin1String("tabs")).toArray();
        const int selectedTab = windowObject.value(QLatin1String("selected")).toInt(0);
        Window window;
        for (qsizetype ti = 0; ti < tabs.size() && tabCount < kMaxTabs; ++ti) {
            const std::optional<DetectedPage> page = tabPage(tabs.at(ti).toObject());
            if (!page)
                continue;
            if (ti + 1 == selectedTab)
                window.selected = int(window.tabs.size());
            window.tabs << *page;
            ++tabCount;
        }
        if (window.tabs.isEmpty())
            continue;
        if (wi + 1 == selectedWindow)
            session.selectedWindow = int(session.windows.size());
        session.windows << window;
    }
    return session;
}

std::optional<Session> readSession(const QString &profileFolder)
{
    QByteArray json;
    if (!mozlz4::readFile(profileFolder + QStringLiteral("/sessionstore-backups/recovery.jsonlz4"), &json))
        return std::nullopt;
    return parseSession(json);
}

} // namespace rr::firefox
