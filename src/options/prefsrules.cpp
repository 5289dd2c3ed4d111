#include "options/prefsrules.h"

#include "platform/textutil.h"

#include <QDir>
#include <QRegularExpression>

#include <cmath>

namespace rr::prefs
{

const QList<BrowserEntry> &browserTable()
{
    // browserExePaths holds firefox, Mozilla, Opera, Netscape, Netscape 6, Internet
    // Explorer in that order.
    static const QList<BrowserEntry> table = {
        {QStringLiteral("Desktop default browser"), QStringLiteral("Win"), -1},
        {QStringLiteral("Internet Explorer"), QStringLiteral("IE"), 5},
        {QStringLiteral("Firefox"), QStringLiteral("FF"), 0},
        {QStringLiteral("Mozilla"), QStringLiteral("Moz"), 1},
        {QStringLiteral("Netscape v4"), QStringLiteral("N4"), 3},
        {QStringLiteral("Netscape v6 or later"), QStringLiteral("N6"), 4},
        {QStringLiteral("Opera"), QStringLiteral("Op"), 2},
    };
    return table;
}

QString browserTextForCode(const QString &code)
{
    if (code.isEmpty() || code == QLatin1String("0"))
        return browserTable().first().text;
    for (const BrowserEntry &entry : browserTable())
        if (entry.code == code)
            return entry.text;
    return QString();
}

QString browserCodeForText(const QString &text)
{
    for (const BrowserEntry &entry : browserTable())
        if (entry.text == text)
            return entry.code;
    return QString();
}

QStringList styleEntries()
{
    return {QStringLiteral("Vardecks default"), QStringLiteral("Plain"), QStringLiteral("Comic"),
            QStringLiteral("Courier"), QStringLiteral("Verdana")};
}

QString styleSheetForEntry(const QString &entry)
{
    static const QStringList files = {QStringLiteral("VDStyle.css"), QStringLiteral("VD_plain.css"),
                                      QStringLiteral("VD_comic.css"), QStringLiteral("VD_courier.css"),
                                      QStringLiteral("VD_verdana.css")};
    const int i = styleEntries().indexOf(entry);
    return i < 0 ? QString() : files.at(i);
}

ListSize checkListSize(const QString &text)
{
    static const QRegularExpression number(QStringLiteral("^\\s*([+-]?)(\\d+)(?:\\.(\\d*))?\\s*$"));
    const auto match = number.match(text);
    ListSize size;
    if (!match.hasMatch()) {
        size.resetText = QStringLiteral("15");
        return size;
    }
    // Whole part beyond any list size needs no exact value: keep it within reach.
    const QString digits = match.captured(2);
    const double whole = digits.size() > 9 ? 1e9 : digits.toDouble();
    const double value =
        whole + (match.captured(3).isEmpty() ? 0.0 : (QStringLiteral("0.") + match.captured(3)).toDouble());
    double rounded = std::nearbyint(value); // the default rounding mode: halves to even
    if (match.captured(1) == QLatin1String("-"))
        rounded = -rounded;
    if (rounded < 1) {
        size.verdict = ListSize::Verdict::TooSmall;
        size.resetText = QStringLiteral("1");
    } else if (rounded > 50) {
        size.verdict = ListSize::Verdict::TooLarge;
        size.resetText = QStringLiteral("50");
    } else {
        size.verdict = ListSize::Verdict::Ok;
        size.value = int(rounded);
    }
    return size;
}

QStringList databaseFiles(const QString &folder)
{
    QStringList out;
    const QDir dir(folder);
    for (const QString &name : dir.entryList(QDir::Files | QDir::Hidden, QDir::Unsorted))
        if (sameText(name.right(3), QLatin1String("xml")))
            out << name;
    return out;
}

bool followsLastDatabase(bool dbDefault, const QString &dbToOpen, const QStringList &databases)
{
    return dbDefault || !databases.contains(dbToOpen);
}

} // namespace rr::prefs
