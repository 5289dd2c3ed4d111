#pragma once
// A Firefox profile as a running Firefox leaves it, written under a temporary home:
// profiles.ini, the lock naming a process, and the compressed session file.
#include "platform/mozlz4.h"
#include "support/testenv.h"

#include <QCoreApplication>
#include <unistd.h>

namespace rr::test
{

class FirefoxProfile
{
public:
    // root: the folder below home that holds profiles.ini.
    explicit FirefoxProfile(const QString &root = QStringLiteral(".mozilla/firefox"))
        : m_folder(home() + QLatin1Char('/') + root)
    {
        QDir().mkpath(m_folder + QStringLiteral("/abcd.default/sessionstore-backups"));
        writeBytes(m_folder + QStringLiteral("/profiles.ini"),
                   "[General]\nStartWithLastProfile=1\n\n[Profile0]\nName=default\nIsRelative=1\n"
                   "Path=abcd.default\nDefault=1\n");
        lockBy(QCoreApplication::applicationPid());
    }
    QString home() const { return m_home.path(); }
    QString profile() const { return m_folder + QStringLiteral("/abcd.default"); }

    // A lock "IP:+PID", as Firefox writes it.
    void lockBy(qint64 pid)
    {
        const QString lock = profile() + QStringLiteral("/lock");
        QFile::remove(lock);
        ::symlink("127.0.1.1:+" + QByteArray::number(pid), QFile::encodeName(lock).constData());
    }
    void writeSessionBytes(const QByteArray &bytes)
    {
        writeBytes(profile() + QStringLiteral("/sessionstore-backups/recovery.jsonlz4"), bytes);
    }
    void writeSession(const QByteArray &json) { writeSessionBytes(mozlz4::compress(json)); }

    // Two windows: the first with two tabs (the second selected), the second with one
    // tab; the second window was used last.
    static QByteArray twoWindows()
    {
        return R"({"version":["sessionrestore",1],"selectedWindow":2,"windows":[
            {"selected":2,"tabs":[
               {"index":2,"entries":[{"url":"https://old.example/","title":"Old"},
                                     {"url":"https://news.example/today","title":"News <b>today</b>"}]},
               {"index":1,"entries":[{"url":"https://docs.example/guide","title":""}]}]},
            {"selected":1,"tabs":[
               {"entries":[{"url":"https://shop.example/cart","title":"Shop & cart"}]}]}],
            "_closedWindows":[]})";
    }

private:
    QTemporaryDir m_home;
    QString m_folder;
};

} // namespace rr::test
