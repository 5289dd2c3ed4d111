#include "exchange/exchangenames.h"

#include "platform/textutil.h"

#include <QFileInfo>
#include <QStringDecoder>

namespace rr
{
namespace
{

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
    for (char b : bytes)
        out += QChar(windows1252Character(static_cast<unsigned char>(b)));
    return out;
}

bool encodeLegacyCodePage(const QString &text, QByteArray *bytes)
{
    QByteArray out;
    out.reserve(text.size());
    for (QChar ch : text) {
        const int byte = windows1252Byte(ch.unicode());
        if (byte < 0)
            return false;
        out += char(byte);
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
