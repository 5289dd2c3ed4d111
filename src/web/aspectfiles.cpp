#include "web/aspectfiles.h"

#include "platform/paths.h"
#include "platform/textutil.h"
#include "platform/xmldocument.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

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

bool restoreMissing(const QString &folder, QString *error)
{
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
