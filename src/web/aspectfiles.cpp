#include "web/aspectfiles.h"

#include "platform/atomicfile.h"
#include "platform/paths.h"
#include "platform/textutil.h"
#include "platform/xmldocument.h"
#include "platform/xslttransform.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>

#include <libxml/tree.h>

namespace rr::aspectfiles
{
namespace
{

const char kInstructionTarget[] = "xml-stylesheet";

QStringList supportFiles()
{
    return viewStylesheets() + QStringList{QStringLiteral("VD_plain.xsl"),     QStringLiteral("VDAll_plain.xsl"),
                                           QStringLiteral("VDFavs_plain.xsl"), QStringLiteral("VDStyle.css"),
                                           QStringLiteral("VD_plain.css"),     QStringLiteral("VD_courier.css"),
                                           QStringLiteral("VD_comic.css"),     QStringLiteral("VD_verdana.css")};
}

// Whether an instruction's data names an XSL stylesheet: "type='text/xsl'" or
// "type="text/xsl"" at its start, in any letter case.
bool isXslInstruction(const QString &data)
{
    QString head = data.trimmed().left(15).toLower();
    head.replace(QLatin1Char('"'), QLatin1Char('\''));
    return head == QLatin1String("type='text/xsl'");
}

// Digests (xslt::stylesheetFingerprint, the search text emptied) of the stylesheets
// that earlier versions of the program put beside a database. A copy that is one of
// them was never changed by its user, and the installed stylesheet takes its place;
// any other copy is the user's and is kept. When a stylesheet of the installed data
// changes, the digest of the version it follows is added here.
const QHash<QString, QStringList> &earlierStylesheets()
{
    static const QHash<QString, QStringList> digests = {
        {QStringLiteral("VD.xsl"),
         {QStringLiteral("b0fea5af5c269dca162f1ac2ce289696305a869a46ed61b45f4e70645ced3ff9"),
          QStringLiteral("4e42753bba06629a13566e49eaa4931a1965b661ef6f93b4f2c97a1eafa5a31c")}},
        {QStringLiteral("VD_plain.xsl"),
         {QStringLiteral("37690ab65bc6056b45675fc6bfbe0e63c24187495598be30153913e4f0a372a4"),
          QStringLiteral("2fe21779666b09b228d520d9989393af39655bc72744327db6ca8883fd882645"),
          QStringLiteral("4b113001880924ab5db44fb53dc4a2a61ba7cdff12db5f01ccc60cf9ffcc9f17")}},
        {QStringLiteral("VDAll.xsl"),
         {QStringLiteral("3c40155419553fed1081a321169222e640f44d1a6154839c3481d77e463cb48e")}},
        {QStringLiteral("VDAll_plain.xsl"),
         {QStringLiteral("7d79c2588b8972dfae6a838d5e5a936f812ce245747f8a40dcc39abf7d96d203"),
          QStringLiteral("3eb93191829f9d29ae0e648b4ed9f04d7ec25a86089e32b821e5594da9fa8e10")}},
        {QStringLiteral("VDFavs.xsl"),
         {QStringLiteral("4ce8eb184093b86dd18d32cf1693da5f7c69b55c1840fbf74bd5bd98786e7255")}},
        {QStringLiteral("VDFavs_plain.xsl"),
         {QStringLiteral("a1397135dcbdbaaf75a9c1640aaef2dc0764801dd548940ceeeee300c6998581"),
          QStringLiteral("3600d531f88c06962c18c4518749637f14ae60c4f6216dc015aecd380881d8c7")}},
        {QStringLiteral("VDHits.xsl"),
         {QStringLiteral("3d26d700ddee69beb297f47dd500aa58e0aec1895bfbb6a969e4fff3fbbfe91d")}},
        {QStringLiteral("VDSearch.xsl"),
         {QStringLiteral("68d987d76697af0daf0ed5298180607da07177f437cf2a6216ef818aed81f987"),
          QStringLiteral("25cb6a8bbf423442dcdbb83e9e6d1b2bbdd980880c455d3dcb0d9c8d03ad7402")}},
    };
    return digests;
}

QByteArray readWhole(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// Whether the copy at target is one an earlier version of the program left unchanged.
bool isEarlierStylesheet(const QString &name, const QString &target)
{
    const auto earlier = earlierStylesheets().constFind(name);
    return earlier != earlierStylesheets().constEnd() &&
           earlier->contains(QString::fromLatin1(xslt::stylesheetFingerprint(target, QStringLiteral("search"))));
}

} // namespace

QStringList viewStylesheets()
{
    return {QStringLiteral("VD.xsl"), QStringLiteral("VDAll.xsl"), QStringLiteral("VDFavs.xsl"),
            QStringLiteral("VDHits.xsl"), QStringLiteral("VDSearch.xsl")};
}

QString safeViewStylesheet(const QString &stored)
{
    for (const QString &name : viewStylesheets()) {
        if (sameText(name, stored.trimmed()))
            return name;
    }
    return QStringLiteral("VD.xsl");
}

QString pagePath(const QString &folder, const QString &pageName)
{
    return folder + QStringLiteral("Vardecks") + pageName + QStringLiteral(".htm");
}

bool bringUpToDate(const QString &folder, QString *error)
{
    const QString source = paths::installedDataFolder() + QStringLiteral("/DeVivozoda/");
    for (const QString &name : supportFiles()) {
        const QString target = QDir(folder).filePath(name);
        if (!QFileInfo::exists(target) || !isEarlierStylesheet(name, target))
            continue;
        QFile in(source + name);
        QString reason;
        const QByteArray installed = in.open(QIODevice::ReadOnly) ? in.readAll() : QByteArray();
        // A copy that already is the installed one (older installed data) is not written again.
        if (in.isOpen() && installed == readWhole(target))
            continue;
        if (!in.isOpen() || !writeFileAtomically(target, installed, &reason)) {
            if (error)
                *error = QStringLiteral("%1 in %2 could not be brought up to date: %3")
                             .arg(name, folder, reason.isEmpty() ? in.errorString() : reason);
            return false;
        }
    }
    return true;
}

bool restoreMissing(const QString &folder, QString *error)
{
    if (!bringUpToDate(folder, error))
        return false;
    const QString source = paths::installedDataFolder() + QStringLiteral("/DeVivozoda/");
    for (const QString &name : supportFiles()) {
        const QString target = QDir(folder).filePath(name);
        if (QFileInfo::exists(target))
            continue;
        QFile in(source + name);
        if (!in.copy(target)) {
            if (error)
                *error = QStringLiteral("%1 could not be copied to %2: %3").arg(name, folder, in.errorString());
            return false;
        }
        // The installed data may be read-only; the options rewrite the user's copy.
        QFile::setPermissions(target, QFile::permissions(target) | QFileDevice::WriteOwner);
        paths::keepPrivate(target);
    }
    return true;
}

void setStylesheetInstruction(XmlDocument &document, const QString &xsl)
{
    xmlDocPtr doc = document.raw();
    if (!doc)
        return;
    for (xmlNodePtr node = doc->children; node;) {
        xmlNodePtr next = node->next;
        if (node->type == XML_PI_NODE && xmlStrEqual(node->name, BAD_CAST kInstructionTarget) &&
            isXslInstruction(QString::fromUtf8(reinterpret_cast<const char *>(node->content)))) {
            xmlUnlinkNode(node);
            xmlFreeNode(node);
        }
        node = next;
    }
    document.insertProcessingInstruction(QLatin1String(kInstructionTarget),
                                         QStringLiteral("type='text/xsl' href='%1'").arg(safeViewStylesheet(xsl)));
}

} // namespace rr::aspectfiles
