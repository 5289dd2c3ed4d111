#include "exchange/internetshortcut.h"

#include "exchange/exchangenames.h"
#include "platform/atomicfile.h"
#include "platform/textutil.h"

#include <QFile>
#include <QFileInfo>

namespace rr
{
namespace
{

int base64Value(QChar c)
{
    const char16_t u = c.unicode();
    if (u >= 'A' && u <= 'Z')
        return u - 'A';
    if (u >= 'a' && u <= 'z')
        return u - 'a' + 26;
    if (u >= '0' && u <= '9')
        return u - '0' + 52;
    if (u == '+')
        return 62;
    if (u == '/')
        return 63;
    return -1;
}

// The UTF-7 text of the Unicode section: "+" starts base64 of UTF-16 units, ended by
// "-" (dropped) or any other character; "+-" is a plus sign.
QString decodeUtf7(QStringView text)
{
    QString out;
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] != QLatin1Char('+')) {
            out += text[i];
            continue;
        }
        if (i + 1 < text.size() && text[i + 1] == QLatin1Char('-')) {
            out += QLatin1Char('+');
            ++i;
            continue;
        }
        quint32 bits = 0;
        int count = 0;
        qsizetype j = i + 1;
        for (; j < text.size() && base64Value(text[j]) >= 0; ++j) {
            bits = (bits << 6) | quint32(base64Value(text[j]));
            count += 6;
            if (count >= 16) {
                count -= 16;
                out += QChar(char16_t((bits >> count) & 0xFFFF));
            }
        }
        if (j < text.size() && text[j] == QLatin1Char('-'))
            ++j;
        i = j - 1;
    }
    return out;
}

} // namespace

bool shortcutAddress(const QByteArray &fileBytes, QString *address)
{
    const QString text = decodeShortcutText(fileBytes);
    bool found = false;
    bool unicodeSection = false;
    qsizetype start = 0;
    while (start <= text.size()) {
        qsizetype end = start;
        while (end < text.size() && text[end] != QLatin1Char('\r') && text[end] != QLatin1Char('\n'))
            ++end;
        const QStringView line = QStringView(text).mid(start, end - start);
        if (line.startsWith(QLatin1Char('[')))
            unicodeSection = sameText(line.trimmed().toString(), QLatin1String("[InternetShortcut.W]"));
        const qsizetype at = line.indexOf(QLatin1String("URL="));
        if (at >= 0 && !line.contains(QLatin1String("BASEURL="))) {
            // Windows repeats an address that its code page cannot hold in this
            // section, in UTF-7.
            *address = unicodeSection ? decodeUtf7(line.mid(at + 4)) : line.mid(at + 4).toString();
            found = true;
        }
        if (end >= text.size())
            break;
        // CR LF is one line end.
        start =
            end +
            ((text[end] == QLatin1Char('\r') && end + 1 < text.size() && text[end + 1] == QLatin1Char('\n')) ? 2 : 1);
    }
    return found;
}

ShortcutRead readShortcutFile(const QString &path, QString *address, QString *error)
{
    const QFileInfo info(path);
    QFile file(path);
    QString reason;
    if (!info.isFile())
        reason = QStringLiteral("not a readable file");
    else if (info.size() > kMaxShortcutFileBytes)
        reason = QStringLiteral("too large for a shortcut");
    else if (!file.open(QIODevice::ReadOnly))
        reason = file.errorString();
    if (reason.isEmpty()) {
        const QByteArray bytes = file.read(kMaxShortcutFileBytes + 1);
        if (file.error() != QFileDevice::NoError) {
            reason = file.errorString();
        } else {
            return shortcutAddress(bytes, address) ? ShortcutRead::Address : ShortcutRead::NoAddress;
        }
    }
    if (error)
        *error = path + QStringLiteral(": ") + reason;
    return ShortcutRead::Unreadable;
}

QByteArray shortcutFileBytes(const QString &address)
{
    QString clean = address;
    clean.remove(QLatin1Char('\r'));
    clean.remove(QLatin1Char('\n'));
    QByteArray encoded;
    if (!encodeLegacyCodePage(clean, &encoded))
        encoded = clean.toUtf8();
    return QByteArrayLiteral("[InternetShortcut]\r\nURL=") + encoded + QByteArrayLiteral("\r\n");
}

bool writeShortcutFile(const QString &path, const QString &address, QString *error)
{
    return writeFileAtomically(path, shortcutFileBytes(address), error);
}

QString nameFromFileName(const QString &fileName)
{
    return fileName.size() > 4 ? fileName.left(fileName.size() - 4) : QString();
}

bool fileNameEndsWith(const QString &fileName, const QString &suffix)
{
    return fileName.endsWith(suffix, Qt::CaseInsensitive);
}

} // namespace rr
