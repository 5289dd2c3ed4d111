#pragma once
// Small databases written into a folder beside the installed DTD.
#include "platform/paths.h"
#include "support/testenv.h"

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

} // namespace rr::test
