#include "platform/textutil.h"

namespace rr
{

QString escapeMnemonic(const QString &text)
{
    QString result = text;
    result.replace(QLatin1Char('&'), QStringLiteral("&&"));
    return result;
}

QString stripMnemonic(const QString &caption)
{
    QString result;
    result.reserve(caption.size());
    for (qsizetype i = 0; i < caption.size(); ++i) {
        if (caption.at(i) == QLatin1Char('&')) {
            if (i + 1 < caption.size() && caption.at(i + 1) == QLatin1Char('&')) {
                result += QLatin1Char('&');
                ++i;
            }
            continue;
        }
        result += caption.at(i);
    }
    return result;
}

QString toolTipText(const QString &text)
{
    // Only a tag makes Qt read a tool tip as markup; entities alone show as typed.
    if (!text.contains(QLatin1Char('<')))
        return text;
    return QStringLiteral("<p style='white-space:pre'>") + text.toHtmlEscaped() + QStringLiteral("</p>");
}

bool sameText(const QString &a, const QString &b)
{
    return a.compare(b, Qt::CaseInsensitive) == 0;
}

} // namespace rr
