#include "exchange/exchangenames.h"

#include <QFileInfo>
#include <QStringDecoder>

namespace rr
{
namespace
{

// Windows-1252 bytes 0x80..0x9F; 0 where the code page has no character (those
// bytes decode as the C1 control of the same number, as Latin-1 would).
constexpr char16_t kHighControls[32] = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0,      0x017D, 0,      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178,
};

bool refusedInName(char32_t c)
{
    if (c < 0x20 || (c >= 0x7F && c < 0xA0))
        return true;
    switch (c) {
    case '/':
    case '\\':
    case ':':
    case '*':
    case '?':
    case '"':
    case '<':
    case '>':
    case '|':
        return true;
    default:
        return false;
    }
}

} // namespace

QString safePathComponent(const QString &name)
{
    QString out;
    out.reserve(name.size());
    int bytes = 0;
    for (char32_t c : name.toUcs4()) {
        if (refusedInName(c) || (c >= 0xD800 && c <= 0xDFFF))
            c = '_';
        const int width = c < 0x80 ? 1 : c < 0x800 ? 2 : c < 0x10000 ? 3 : 4;
        if (bytes + width > kMaxComponentBytes)
            break;
        bytes += width;
        out += QString::fromUcs4(&c, 1);
    }
    if (out.isEmpty() || out == QLatin1String(".") || out == QLatin1String(".."))
        return QStringLiteral("_");
    return out;
}

QString uniqueEntryName(const QString &folder, const QString &stem, const QString &extension, QSet<QString> &taken)
{
    const QString dir = folder.endsWith(QLatin1Char('/')) ? folder : folder + QLatin1Char('/');
    for (int n = 1;; ++n) {
        const QString name = n == 1 ? stem + extension : stem + QStringLiteral(" (%1)").arg(n) + extension;
        const QString key = name.toCaseFolded();
        // exists() follows links; a dangling link still occupies the name.
        const QFileInfo entry(dir + name);
        if (!taken.contains(key) && !entry.exists() && !entry.isSymLink()) {
            taken.insert(key);
            return name;
        }
    }
}

QString decodeLegacyCodePage(const QByteArray &bytes)
{
    QString out;
    out.reserve(bytes.size());
    for (char b : bytes) {
        const auto u = static_cast<unsigned char>(b);
        if (u >= 0x80 && u < 0xA0 && kHighControls[u - 0x80] != 0)
            out += QChar(kHighControls[u - 0x80]);
        else
            out += QChar(u);
    }
    return out;
}

bool encodeLegacyCodePage(const QString &text, QByteArray *bytes)
{
    QByteArray out;
    out.reserve(text.size());
    for (QChar ch : text) {
        const char16_t c = ch.unicode();
        if (c < 0x80 || (c >= 0xA0 && c <= 0xFF)) {
            out += char(c);
            continue;
        }
        int found = -1;
        for (int i = 0; i < 32; ++i) {
            if (kHighControls[i] == c)
                found = i;
        }
        if (found < 0)
            return false;
        out += char(0x80 + found);
    }
    *bytes = out;
    return true;
}

QString decodeShortcutText(const QByteArray &bytes)
{
    QByteArray body = bytes;
    if (body.startsWith("\xEF\xBB\xBF"))
        body.remove(0, 3);
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    const QString text = utf8(body);
    if (!utf8.hasError())
        return text;
    return decodeLegacyCodePage(body);
}

} // namespace rr
