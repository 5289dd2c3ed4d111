#include "exchange/internetshortcut.h"

#include "exchange/exchangenames.h"
#include "platform/atomicfile.h"

#include <QFile>
#include <QFileInfo>

namespace rr
{

bool shortcutAddress(const QByteArray &fileBytes, QString *address)
{
    const QString text = decodeShortcutText(fileBytes);
    bool found = false;
    qsizetype start = 0;
    while (start <= text.size()) {
        qsizetype end = start;
        while (end < text.size() && text[end] != QLatin1Char('\r') && text[end] != QLatin1Char('\n'))
            ++end;
        const QStringView line = QStringView(text).mid(start, end - start);
        const qsizetype at = line.indexOf(QLatin1String("URL="));
        if (at >= 0 && !line.contains(QLatin1String("BASEURL="))) {
            *address = line.mid(at + 4).toString();
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
