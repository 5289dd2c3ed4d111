#include "storage/record.h"

namespace rr
{

XmlNode newVardeck(XmlDocument &doc, const QString &wid, const NewVardeckFields &fields)
{
    XmlNode vardeck = doc.createElement(tag::Vardeck);
    vardeck.setAttribute(tag::Wid, wid);
    const std::pair<QLatin1String, QString> children[] = {
        {tag::Name, fields.name},
        {tag::Address, fields.address},
        {tag::CreatedDate, fields.createdDate},
        {tag::Description, fields.description},
        {tag::Keyword1, fields.keywords},
        {tag::Notes, fields.notes},
        {tag::Keyword2, QString()},
        {tag::FileSize, fields.fileSize},
        {tag::Hits, QStringLiteral("1")},
        {tag::Fav, fields.favorite ? QStringLiteral("TRUE") : QStringLiteral("FALSE")},
    };
    for (const auto &[name, text] : children)
        vardeck.appendChild(doc.createTextElement(name, text));
    return vardeck;
}

XmlNode childOrNew(XmlDocument &doc, XmlNode element, const QString &name)
{
    XmlNode child = element.child(name);
    if (!child)
        child = element.appendChild(doc.createElement(name));
    return child;
}

QString identifierOf(const QString &text)
{
    return text.trimmed();
}

QString tidOf(const XmlNode &folder)
{
    return identifierOf(folder.attribute(tag::Tid));
}

QString widOf(const XmlNode &vardeck)
{
    return identifierOf(vardeck.attribute(tag::Wid));
}

} // namespace rr
