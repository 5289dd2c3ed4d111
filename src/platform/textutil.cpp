#include "platform/textutil.h"

#include "platform/htmlnamedrefs.h"

#include <algorithm>
#include <cstring>

namespace rr
{
namespace
{

// The characters that browsers put in place of the numeric references 128 to 159,
// those of the Windows-1252 bytes; 0 where that code page has none (the number then
// stands for itself).
constexpr char16_t kWindows1252High[32] = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0,      0x017D, 0,      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178,
};

// The longest name of a named reference, ";" included.
constexpr qsizetype kLongestReferenceName = 32;

bool isAsciiAlphanumeric(QChar c)
{
    const char16_t u = c.unicode();
    return (u >= '0' && u <= '9') || (u >= 'a' && u <= 'z') || (u >= 'A' && u <= 'Z');
}

const HtmlNamedReference *findReference(const QByteArray &name)
{
    const auto table = htmlNamedReferences();
    const auto less = [](const HtmlNamedReference &entry, const char *key) { return std::strcmp(entry.name, key) < 0; };
    const auto found = std::lower_bound(table.begin(), table.end(), name.constData(), less);
    return found != table.end() && name == found->name ? &*found : nullptr;
}

void appendCodePoint(QString &out, char32_t c)
{
    out += QString::fromUcs4(&c, 1);
}

// A numeric reference at text[at] ("&#…"): appends what it stands for and returns the
// length it takes, or 0 when no digit follows (then it is no reference).
qsizetype decodeNumericReference(QStringView text, qsizetype at, QString &out)
{
    qsizetype i = at + 2;
    const bool hex = i < text.size() && (text[i] == QLatin1Char('x') || text[i] == QLatin1Char('X'));
    if (hex)
        ++i;
    const qsizetype digitsStart = i;
    char32_t value = 0;
    for (; i < text.size(); ++i) {
        const char16_t u = text[i].unicode();
        int digit = -1;
        if (u >= '0' && u <= '9')
            digit = u - '0';
        else if (hex && u >= 'a' && u <= 'f')
            digit = u - 'a' + 10;
        else if (hex && u >= 'A' && u <= 'F')
            digit = u - 'A' + 10;
        if (digit < 0)
            break;
        // Past U+10FFFF the exact number no longer matters.
        value = std::min<char32_t>(value * (hex ? 16 : 10) + char32_t(digit), 0x110000);
    }
    if (i == digitsStart)
        return 0;
    if (i < text.size() && text[i] == QLatin1Char(';'))
        ++i;
    if (value == 0 || value > 0x10FFFF || (value >= 0xD800 && value <= 0xDFFF))
        value = 0xFFFD;
    else if (value >= 0x80 && value <= 0x9F && kWindows1252High[value - 0x80] != 0)
        value = kWindows1252High[value - 0x80];
    appendCodePoint(out, value);
    return i - at;
}

// A named reference at text[at] ("&name"): appends what it stands for and returns the
// length it takes, or 0 when it is to stay as written.
qsizetype decodeNamedReference(QStringView text, qsizetype at, HtmlRefContext context, QString &out)
{
    qsizetype end = at + 1;
    while (end < text.size() && end - at <= kLongestReferenceName && isAsciiAlphanumeric(text[end]))
        ++end;
    QByteArray name = text.mid(at + 1, end - at - 1).toLatin1();
    // Every name that ends in ";" is letters and digits before it, so the longest
    // match is either the whole run with its ";" or an old name the run begins with.
    const HtmlNamedReference *found = nullptr;
    if (end < text.size() && text[end] == QLatin1Char(';'))
        found = findReference(name + ';');
    if (found) {
        name += ';';
    } else {
        while (!name.isEmpty() && !(found = findReference(name)))
            name.chop(1);
    }
    if (!found)
        return 0;
    const qsizetype after = at + 1 + name.size();
    if (context == HtmlRefContext::Attribute && !name.endsWith(';') && after < text.size() &&
        (text[after] == QLatin1Char('=') || isAsciiAlphanumeric(text[after])))
        return 0;
    appendCodePoint(out, found->first);
    if (found->second)
        appendCodePoint(out, found->second);
    return after - at;
}

} // namespace

char16_t windows1252Character(unsigned char byte)
{
    if (byte >= 0x80 && byte <= 0x9F && kWindows1252High[byte - 0x80] != 0)
        return kWindows1252High[byte - 0x80];
    return byte;
}

int windows1252Byte(char16_t character)
{
    if (character < 0x80 || (character >= 0xA0 && character <= 0xFF))
        return character;
    for (int i = 0; i < 32; ++i) {
        if (kWindows1252High[i] == character)
            return 0x80 + i;
    }
    return -1;
}

QString singleLineText(const QString &text)
{
    QString out;
    out.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        switch (text[i].unicode()) {
        case '\r':
            // CR LF is one line break.
            if (i + 1 < text.size() && text[i + 1] == QLatin1Char('\n'))
                ++i;
            Q_FALLTHROUGH();
        case '\n':
        case '\t':
        case '\v':
        case '\f':
        case 0x85:
        case 0x2028:
        case 0x2029:
            out += QLatin1Char(' ');
            break;
        default:
            out += text[i];
        }
    }
    return out;
}

QString escapeMnemonic(const QString &text)
{
    QString result = text;
    result.replace(QLatin1Char('&'), QStringLiteral("&&"));
    return result;
}

QString shownText(const QString &text, Qt::TextElideMode mode, qsizetype letters)
{
    if (text.size() <= letters || mode == Qt::ElideNone)
        return text;
    // A cut never splits a character written as two UTF-16 units.
    const auto head = [&text](qsizetype n) {
        if (n > 0 && text.at(n - 1).isHighSurrogate())
            --n;
        return text.left(n);
    };
    const auto tail = [&text](qsizetype n) {
        qsizetype from = text.size() - n;
        if (from > 0 && from < text.size() && text.at(from).isLowSurrogate())
            ++from;
        return text.mid(from);
    };
    const QChar dots(0x2026);
    switch (mode) {
    case Qt::ElideLeft:
        return dots + tail(letters);
    case Qt::ElideMiddle:
        return head(letters / 2) + dots + tail(letters - letters / 2);
    default:
        return head(letters) + dots;
    }
}

QString toolTipText(const QString &whole)
{
    const QString text = shownText(whole);
    // Only a tag makes Qt read a tool tip as markup; entities alone show as typed.
    if (!text.contains(QLatin1Char('<')))
        return text;
    return QStringLiteral("<p style='white-space:pre'>") + text.toHtmlEscaped() + QStringLiteral("</p>");
}

QString decodeHtmlCharacterReferences(QStringView text, HtmlRefContext context)
{
    QString out;
    out.reserve(text.size());
    qsizetype i = 0;
    while (i < text.size()) {
        const qsizetype amp = text.indexOf(QLatin1Char('&'), i);
        if (amp < 0) {
            out += text.mid(i);
            break;
        }
        out += text.mid(i, amp - i);
        qsizetype taken = 0;
        if (amp + 1 < text.size() && text[amp + 1] == QLatin1Char('#'))
            taken = decodeNumericReference(text, amp, out);
        else if (amp + 1 < text.size() && isAsciiAlphanumeric(text[amp + 1]))
            taken = decodeNamedReference(text, amp, context, out);
        if (taken == 0) {
            out += QLatin1Char('&');
            taken = 1;
        }
        i = amp + taken;
    }
    return out;
}

} // namespace rr
