#include "exchange/csvexport.h"

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
    static const char *const kColumns[] = {"NAME",     "ADDRESS",  "DESCRIPTION", "CREATED_DATE",
                                           "KEYWORD2", "KEYWORD1", "FILESIZE",    "NOTES"};
    QString text = QStringLiteral("NAME,ADDRESS,DESCRIPTION,CREATED DATE,LAST VISITED,KEYWORDS,FILE SIZE,NOTES\r\n");
    for (const XmlNode &vardeck : doc.getElementsByTagName(QStringLiteral("VARDECK"))) {
        QStringList fields;
        for (const char *column : kColumns)
            fields << csvField(vardeck.childText(QLatin1String(column)));
        text += fields.join(QLatin1Char(',')) + QLatin1String("\r\n");
    }
    return text.toUtf8();
}

} // namespace rr
