#pragma once
// buku, the peer the search benchmarks compare with: the same Vardecks exported as a
// bookmarks.html (name, address, keywords as tags, description) and imported once with
// `buku --import` into a buku database in a temporary home. Its search is what
// `buku --deep -s WORD --np --nc` runs, searchdb(deep) on its open database, timed
// inside its own process so that the interpreter's start-up is left out as the
// program's is; the whole command can be timed too, for reference.
#include "benchtime.h"
#include "platform/xmldocument.h"

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QString>

#include <cstdio>
#include <memory>

namespace rr::bench
{

// The collection as a bookmark file that buku imports: one link per Vardeck, its
// keywords as tags and its description in the <DD> inside the link's <DT>.
inline void writeBookmarkFile(const XmlDocument &doc, const QString &path)
{
    QByteArray out = "<!DOCTYPE NETSCAPE-Bookmark-file-1>\n"
                     "<META HTTP-EQUIV=\"Content-Type\" CONTENT=\"text/html; charset=UTF-8\">\n"
                     "<TITLE>Bookmarks</TITLE>\n<H1>Bookmarks</H1>\n<DL><p>\n";
    for (const XmlNode &vd : doc.documentElement().getElementsByTagName(QStringLiteral("VARDECK"))) {
        auto field = [&](const char *name) { return vd.childText(QLatin1String(name)).toHtmlEscaped().toUtf8(); };
        out += "<DT><A HREF=\"" + field("ADDRESS") + "\" TAGS=\"" + field("KEYWORD1").replace(' ', ',') + "\">" +
               field("NAME") + "</A><DD>" + field("DESCRIPTION") + "</DD></DT>\n";
    }
    out += "</DL><p>\n";
    QFile file(path);
    if (file.open(QIODevice::WriteOnly))
        file.write(out);
}

// Runs buku's own search in a Python process of its own, one request per line:
// "first WORD" opens the database anew and searches it once, "warm WORD" searches the
// database opened at the start; each answer is the search's milliseconds and count.
inline const char *const kBukuDriver = R"PY(
import importlib.machinery, importlib.util, sys, time
loader = importlib.machinery.SourceFileLoader('buku', sys.argv[1])
spec = importlib.util.spec_from_loader('buku', loader)
buku = importlib.util.module_from_spec(spec)
loader.exec_module(buku)
db = sys.argv[2]
kept = buku.BukuDb(dbfile=db, colorize=False)
kept.searchdb(['warm up'], False, True)
print('ready', flush=True)
for line in sys.stdin:
    kind, word = line.rstrip('\n').split(' ', 1)
    bdb = buku.BukuDb(dbfile=db, colorize=False) if kind == 'first' else kept
    start = time.perf_counter()
    found = bdb.searchdb([word], False, True)
    print('%.4f %d' % ((time.perf_counter() - start) * 1e3, len(found)), flush=True)
    if bdb is not kept:
        bdb.close()
)PY";

class BukuPeer
{
public:
    // Null when buku or its interpreter is missing or the import fails; why is printed.
    static std::unique_ptr<BukuPeer> start(const XmlDocument &doc, const QString &folder)
    {
        const QString buku = QStringLiteral("/usr/bin/buku");
        QFile script(buku);
        if (!script.open(QIODevice::ReadOnly)) {
            std::printf("buku is not installed: the peer is missing, the figures below compare with the naive walk "
                        "only\n");
            return nullptr;
        }
        // The interpreter buku names on its first line, with the modules it needs.
        const QByteArray interpreter = script.readLine().mid(2).trimmed();
        auto peer = std::unique_ptr<BukuPeer>(new BukuPeer);
        peer->m_buku = buku;
        peer->m_home = folder + QStringLiteral("/buku-home");
        QDir().mkpath(peer->m_home);
        peer->m_env = QProcessEnvironment::systemEnvironment();
        peer->m_env.insert(QStringLiteral("HOME"), peer->m_home);
        peer->m_env.insert(QStringLiteral("XDG_DATA_HOME"), peer->m_home + QStringLiteral("/share"));
        const QString html = folder + QStringLiteral("/bookmarks.html");
        writeBookmarkFile(doc, html);

        const auto importStart = std::chrono::steady_clock::now();
        QProcess import;
        import.setProcessEnvironment(peer->m_env);
        import.setStandardOutputFile(QProcess::nullDevice());
        import.setStandardErrorFile(QProcess::nullDevice());
        import.start(buku, {QStringLiteral("--nostdin"), QStringLiteral("--import"), html});
        // "n": no parent folders as tags, nothing appended to existing ones.
        import.write(QByteArray("n\n").repeated(8));
        import.closeWriteChannel();
        const bool imported = import.waitForFinished(30 * 60 * 1000) && import.exitCode() == 0;
        const QString db = peer->m_home + QStringLiteral("/share/buku/bookmarks.db");
        if (!imported || !QFileInfo::exists(db)) {
            std::printf("buku could not import the bookmark file: the peer is missing\n");
            return nullptr;
        }
        peer->m_driver.setProcessEnvironment(peer->m_env);
        peer->m_driver.setStandardErrorFile(QProcess::nullDevice());
        peer->m_driver.start(QString::fromLocal8Bit(interpreter),
                             {QStringLiteral("-W"), QStringLiteral("ignore"), QStringLiteral("-c"),
                              QString::fromUtf8(kBukuDriver), buku, db});
        if (!peer->m_driver.waitForStarted() || peer->readAnswer() != "ready") {
            std::printf("buku's search could not be run in %s: the peer is missing\n", interpreter.constData());
            return nullptr;
        }
        std::printf("peer: buku 4.7 (database of the same Vardecks imported in %.1f s)\n", msSince(importStart) / 1000);
        return peer;
    }

    ~BukuPeer()
    {
        m_driver.closeWriteChannel();
        if (!m_driver.waitForFinished(5000))
            m_driver.kill();
        m_driver.waitForFinished();
    }

    // The milliseconds of one search, the first after its database is opened or one
    // on the database it keeps open; the count of what it found in *found.
    double search(bool first, const QString &word, int *found)
    {
        m_driver.write((first ? "first " : "warm ") + word.toUtf8() + '\n');
        const QList<QByteArray> answer = readAnswer().split(' ');
        *found = answer.size() == 2 ? answer[1].toInt() : -1;
        return answer.size() == 2 ? answer[0].toDouble() : -1;
    }

    // The whole command, interpreter start-up included.
    double wholeCommand(const QString &word)
    {
        QProcess run;
        run.setProcessEnvironment(m_env);
        run.setStandardOutputFile(QProcess::nullDevice());
        run.setStandardErrorFile(QProcess::nullDevice());
        return timeMs([&] {
            run.start(m_buku, {QStringLiteral("--nostdin"), QStringLiteral("--deep"), QStringLiteral("-s"), word,
                               QStringLiteral("--np"), QStringLiteral("--nc")});
            run.waitForFinished(60000);
        });
    }

private:
    BukuPeer() = default;

    QByteArray readAnswer()
    {
        while (!m_driver.canReadLine())
            if (!m_driver.waitForReadyRead(120000))
                return {};
        return m_driver.readLine().trimmed();
    }

    QString m_buku;
    QString m_home;
    QProcessEnvironment m_env;
    QProcess m_driver;
};

} // namespace rr::bench
