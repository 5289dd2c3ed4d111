#pragma once
// Small databases written into a folder beside the installed DTD.
#include "platform/paths.h"
#include "support/testenv.h"

#include <QStringEncoder>

#include <iconv.h>

namespace rr::test
{

inline QString writeDatabase(const QString &folder, const QString &name, const QByteArray &body)
{
    QDir().mkpath(folder);
    QFile::copy(paths::installedDataFolder() + "/DeVivozoda/Vardecks.dtd", folder + "/Vardecks.dtd");
    writeBytes(folder + "/" + name, "<?xml version='1.0'?>\r\n<!DOCTYPE FOLDERS SYSTEM 'Vardecks.dtd'>\r\n" + body);
    return folder + "/" + name;
}

inline QByteArray folderXml(const QByteArray &tid, const QByteArray &name, const QByteArray &vardecks = {},
                            const QByteArray &subfolders = {})
{
    return "<FOLDER TID=\"" + tid + "\"><NAME>" + name + "</NAME><VARDECKS>" + vardecks + "</VARDECKS><SUBFOLDERS>" +
           subfolders + "</SUBFOLDERS></FOLDER>";
}

inline QByteArray vardeckXml(const QString &wid, const QString &name, const QString &address = "http://a.example/")
{
    return "<VARDECK WID=\"" + wid.toUtf8() + "\"><NAME>" + name.toUtf8() + "</NAME><ADDRESS>" + address.toUtf8() +
           "</ADDRESS><CREATED_DATE>06 Dec 2026</CREATED_DATE><DESCRIPTION>d</DESCRIPTION><KEYWORD1>k</KEYWORD1>"
           "<NOTES>n</NOTES><KEYWORD2></KEYWORD2><FILESIZE>12</FILESIZE><HITS>1</HITS><FAV>FALSE</FAV></VARDECK>";
}

// A text that starts "<?xml version='1.0'" in the given encoding: UTF-8 as it is;
// UTF-16 whole, after a byte-order mark; any other with the declaration in ASCII
// naming the encoding and the rest, from its "?>" on, in that encoding.
inline QByteArray declaredAs(const char *encoding, const QByteArray &text)
{
    if (qstrcmp(encoding, "UTF-8") == 0)
        return text;
    if (QByteArray(encoding).startsWith("UTF-16")) {
        QStringEncoder encoder(encoding, QStringConverter::Flag::WriteBom);
        return encoder(QString::fromUtf8(text));
    }
    const QByteArray declaration = "<?xml version='1.0'";
    QByteArray rest = text.mid(declaration.size());
    QByteArray out(rest.size() * 8 + 16, Qt::Uninitialized);
    char *in = rest.data();
    char *to = out.data();
    size_t inLeft = size_t(rest.size());
    size_t outLeft = size_t(out.size());
    const iconv_t converter = ::iconv_open(encoding, "UTF-8");
    ::iconv(converter, &in, &inLeft, &to, &outLeft);
    ::iconv(converter, nullptr, nullptr, &to, &outLeft); // ends the last run of UTF-7
    ::iconv_close(converter);
    out.truncate(to - out.data());
    return declaration + " encoding='" + encoding + "'" + out;
}

} // namespace rr::test
