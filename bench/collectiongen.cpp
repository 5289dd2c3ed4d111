#include "collectiongen.h"

#include <QDir>
#include <QFile>
#include <QStringList>

#include <random>
#include <vector>

#ifndef RR_DATA_SOURCE_DIR_BENCH
#define RR_DATA_SOURCE_DIR_BENCH ""
#endif

namespace rr::bench
{
namespace
{

const char *const kWords[] = {"news",    "recipe",  "Zürich", "café",   "AT&T",  "docs",  "python", "garden",
                              "travel",  "München", "music",  "piano",  "naïve", "linux", "kernel", "bike",
                              "maps",    "weather", "søk",    "Ελλάδα", "shop",  "books", "film",   "review",
                              "science", "space",   "health", "school", "forum", "blog"};
constexpr int kWordCount = int(sizeof(kWords) / sizeof(kWords[0]));

QByteArray escape(const QByteArray &s)
{
    QByteArray out;
    out.reserve(s.size() + 8);
    for (char c : s) {
        switch (c) {
        case '&':
            out += "&amp;";
            break;
        case '<':
            out += "&lt;";
            break;
        case '>':
            out += "&gt;";
            break;
        default:
            out += c;
        }
    }
    return out;
}

class Generator
{
public:
    explicit Generator(const CollectionShape &shape) : m_shape(shape), m_rng(shape.seed) {}

    QByteArray run()
    {
        const int folders = countFolders(1);
        m_perFolder = std::max(1, m_shape.vardecks / std::max(1, folders));
        QByteArray out = "<?xml version='1.0'?>\r\n<!DOCTYPE FOLDERS SYSTEM 'Vardecks.dtd'>\r\n<FOLDERS>";
        out.reserve(m_shape.vardecks * 600);
        for (int i = 0; i < m_shape.topFolders; ++i)
            folder(out, 1);
        // Whatever the even split left over goes into one last folder.
        if (m_nextWid <= m_shape.vardecks)
            folder(out, m_shape.depth, m_shape.vardecks - m_nextWid + 1);
        out += "</FOLDERS>\r\n";
        return out;
    }

private:
    int countFolders(int level) const
    {
        if (level > m_shape.depth)
            return 0;
        int n = 1 + m_shape.subfoldersPerFolder * countFolders(level + 1);
        return level == 1 ? n * m_shape.topFolders : n;
    }

    QByteArray words(int n)
    {
        QByteArray out;
        for (int i = 0; i < n; ++i) {
            if (i)
                out += ' ';
            out += kWords[m_rng() % kWordCount];
        }
        return out;
    }

    void folder(QByteArray &out, int level, int vardeckCount = -1)
    {
        out +=
            "<FOLDER TID=\"T" + QByteArray::number(m_nextTid++) + "\"><NAME>" + escape(words(2)) + "</NAME><VARDECKS>";
        const int count = vardeckCount >= 0 ? vardeckCount : m_perFolder;
        for (int i = 0; i < count && m_nextWid <= m_shape.vardecks; ++i)
            vardeck(out);
        out += "</VARDECKS><SUBFOLDERS>";
        if (level < m_shape.depth && vardeckCount < 0)
            for (int i = 0; i < m_shape.subfoldersPerFolder; ++i)
                folder(out, level + 1);
        out += "</SUBFOLDERS></FOLDER>";
    }

    void vardeck(QByteArray &out)
    {
        const int wid = m_nextWid++;
        const QByteArray host = QByteArray(kWords[m_rng() % kWordCount]).toLower();
        out += "<VARDECK WID=\"W" + QByteArray::number(wid) + "\">";
        out += "<NAME>" + escape(words(3 + m_rng() % 4)) + "</NAME>";
        QByteArray address = "https://www." + host.toPercentEncoding() + ".example/" + words(1).toPercentEncoding() +
                             "/page" + QByteArray::number(wid) + ".html?a=1&b=2";
        // A share of Vardecks repeats an earlier address, with another scheme or a
        // trailing "/" now and then, as collections gathered over years do.
        if (m_shape.duplicatePercent > 0 && !m_addresses.empty() && int(m_rng() % 100) < m_shape.duplicatePercent) {
            address = m_addresses[m_rng() % m_addresses.size()];
            if (m_rng() % 2)
                address.replace("https://", "http://");
            if (m_rng() % 3 == 0)
                address += '/';
        }
        // The draw comes only with a share of paths, so collections without them stay
        // the same for every seed.
        if (m_shape.pathPercent > 0 && int(m_rng() % 100) < m_shape.pathPercent)
            address =
                "/home/user/Documents/" + words(2) + "/#" + QByteArray::number(wid) + " 100% " + words(1) + ".pdf";
        m_addresses.push_back(address);
        out += "<ADDRESS>" + escape(address) + "</ADDRESS>";
        out += "<CREATED_DATE>0" + QByteArray::number(1 + m_rng() % 9) + " Dec 2026</CREATED_DATE>";
        out += "<DESCRIPTION>" + escape(words(8 + m_rng() % 10)) + "</DESCRIPTION>";
        out += "<KEYWORD1>" + escape(words(3)) + "</KEYWORD1>";
        out += "<NOTES>" + escape(words(5) + "\n" + words(m_rng() % 20)) + "</NOTES>";
        out += "<KEYWORD2>0" + QByteArray::number(1 + m_rng() % 9) + " Nov 2026 10:1" +
               QByteArray::number(m_rng() % 10) + " AM</KEYWORD2>";
        out += "<FILESIZE>" + QByteArray::number(m_rng() % 300) + "</FILESIZE>";
        out += "<HITS>" + QByteArray::number(1 + m_rng() % 50) + "</HITS>";
        out += QByteArray("<FAV>") + (m_rng() % 10 == 0 ? "TRUE" : "FALSE") + "</FAV></VARDECK>";
    }

    CollectionShape m_shape;
    std::mt19937 m_rng;
    std::vector<QByteArray> m_addresses;
    int m_perFolder = 1;
    int m_nextTid = 1;
    int m_nextWid = 1;
};

} // namespace

QByteArray generateCollection(const CollectionShape &shape)
{
    return Generator(shape).run();
}

QString writeCollection(const QString &folder, const QString &fileName, const CollectionShape &shape)
{
    QDir().mkpath(folder);
    const QString dtd = QDir(folder).filePath(QStringLiteral("Vardecks.dtd"));
    QFile::remove(dtd);
    QFile::copy(QStringLiteral(RR_DATA_SOURCE_DIR_BENCH "/DeVivozoda/Vardecks.dtd"), dtd);
    const QString path = QDir(folder).filePath(fileName);
    QFile f(path);
    if (f.open(QIODevice::WriteOnly | QIODevice::Truncate))
        f.write(generateCollection(shape));
    return path;
}

} // namespace rr::bench
