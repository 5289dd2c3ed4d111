#include "exchange/csvexport.h"
#include "storage/record.h"

namespace rr
{

QString csvField(const QString &text)
{
    QString field = text;
    for (QChar &c : field) {
        if (c == QLatin1Char('\r') || c == QLatin1Char('\n') || c == QLatin1Char(','))
            c = QLatin1Char(' ');
    }
    if (!field.isEmpty() && QStringLiteral("=+-@\t").contains(field.front()))
        field.prepend(QLatin1Char('\''));
    if (field.contains(QLatin1Char('"')))
        field = QLatin1Char('"') + field.replace(QLatin1Char('"'), QLatin1String("\"\"")) + QLatin1Char('"');
    return field;
}

QByteArray csvText(const XmlDocument &doc)
{
    static constexpr QLatin1String kColumns[] = {tag::Name,     tag::Address,  tag::Description, tag::CreatedDate,
                                                 tag::Keyword2, tag::Keyword1, tag::FileSize,    tag::Notes};
    QString text = QStringLiteral("NAME,ADDRESS,DESCRIPTION,CREATED DATE,LAST VISITED,KEYWORDS,FILE SIZE,NOTES\r\n");
    for (const XmlNode &vardeck : doc.getElementsByTagName(tag::Vardeck)) {
        QStringList fields;
        for (const QLatin1String column : kColumns)
            fields << csvField(vardeck.childText(column));
        text += fields.join(QLatin1Char(',')) + QLatin1String("\r\n");
    }
    return text.toUtf8();
}

} // namespace rr
