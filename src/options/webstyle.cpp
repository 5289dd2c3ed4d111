#include "options/webstyle.h"

#include "platform/atomicfile.h"
#include "platform/plainfile.h"

#include <QFile>
#include <QFileInfo>

#include <libxml/parser.h>
#include <libxml/tree.h>

#include <memory>

namespace rr::webstyle
{
namespace
{

// Stylesheets are small; anything larger is not one of ours.
constexpr qint64 kMaxStylesheetBytes = 4 << 20;

struct DocFree {
    void operator()(xmlDoc *doc) const { xmlFreeDoc(doc); }
};

// The first element named exactly "LINK", in document order.
xmlNode *firstLink(xmlNode *node)
{
    for (; node; node = node->next) {
        if (node->type != XML_ELEMENT_NODE)
            continue;
        if (xmlStrcmp(node->name, BAD_CAST "LINK") == 0)
            return node;
        if (xmlNode *found = firstLink(node->children))
            return found;
    }
    return nullptr;
}

// Rewrites one stylesheet; false with the reason when it was left as it was.
// *changed says whether the file was written.
bool rewrite(const QString &path, const QByteArray &css, bool *changed, QString *reason)
{
    *changed = false;
    QFile file(path);
    if (!openPlainFile(file, reason))
        return false;
    if (file.size() > kMaxStylesheetBytes) {
        *reason = QStringLiteral("the file is too large to be a stylesheet");
        return false;
    }
    const QByteArray bytes = file.readAll();
    // No DTD, no entity expansion, no network: the stylesheet is only edited.
    std::unique_ptr<xmlDoc, DocFree> doc(xmlReadMemory(bytes.constData(), int(bytes.size()), nullptr, nullptr,
                                                       XML_PARSE_NONET | XML_PARSE_NOWARNING | XML_PARSE_NOERROR));
    if (!doc) {
        const xmlError *error = xmlGetLastError();
        *reason = error && error->message ? QString::fromUtf8(error->message).trimmed()
                                          : QStringLiteral("it is not well-formed XML");
        return false;
    }
    xmlNode *link = firstLink(xmlDocGetRootElement(doc.get()));
    if (!link) {
        *reason = QStringLiteral("it has no LINK element");
        return false;
    }
    xmlAttr *second = link->properties ? link->properties->next : nullptr;
    if (!second) {
        *reason = QStringLiteral("its LINK element has no second attribute");
        return false;
    }
    xmlChar *current = xmlNodeListGetString(doc.get(), second->children, 1);
    const bool same = current && css == reinterpret_cast<const char *>(current);
    xmlFree(current);
    if (same)
        return true;
    xmlSetNsProp(link, second->ns, second->name, BAD_CAST css.constData());

    xmlChar *out = nullptr;
    int length = 0;
    xmlDocDumpMemoryEnc(doc.get(), &out, &length, "UTF-8");
    if (!out) {
        *reason = QStringLiteral("it could not be written out");
        return false;
    }
    const QByteArray data(reinterpret_cast<const char *>(out), length);
    xmlFree(out);
    if (!writeFileAtomically(path, data, reason))
        return false;
    *changed = true;
    return true;
}

} // namespace

QStringList stylesheetNames()
{
    return {QStringLiteral("VD.xsl"), QStringLiteral("VDAll.xsl"), QStringLiteral("VDFavs.xsl"),
            QStringLiteral("VDHits.xsl"), QStringLiteral("VDSearch.xsl")};
}

Result changeWebStyle(const QString &folder, const QString &cssFile)
{
    Result result;
    QString base = folder;
    if (!base.endsWith(QLatin1Char('/')))
        base += QLatin1Char('/');
    const QByteArray css = cssFile.toUtf8();
    for (const QString &name : stylesheetNames()) {
        const QString path = base + name;
        if (!QFileInfo::exists(path))
            continue;
        bool changed = false;
        QString reason;
        if (!rewrite(path, css, &changed, &reason))
            result.failures << name + QStringLiteral(": ") + reason;
        else if (changed)
            result.rewritten << name;
    }
    return result;
}

} // namespace rr::webstyle
