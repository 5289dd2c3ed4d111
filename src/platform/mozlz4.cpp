#include "platform/mozlz4.h"
#include "platform/plainfile.h"

#include <QFile>
#include <QtEndian>

#include <cstring>
#include <limits>

#include <lz4.h>

namespace rr::mozlz4
{
namespace
{

constexpr char kMagic[] = "mozLz40"; // and its terminating NUL: 8 bytes
constexpr int kHeaderBytes = 8 + 4;

bool fail(QString *error, const QString &reason)
{
    if (error)
        *error = reason;
    return false;
}

} // namespace

bool decompress(const QByteArray &fileBytes, QByteArray *text, QString *error)
{
    if (fileBytes.size() < kHeaderBytes || std::memcmp(fileBytes.constData(), kMagic, 8) != 0)
        return fail(error, QStringLiteral("not a compressed Firefox file"));
    const quint32 size = qFromLittleEndian<quint32>(fileBytes.constData() + 8);
    if (size > kMaxBytes)
        return fail(error, QStringLiteral("the content is too large"));
    QByteArray out(qsizetype(size), Qt::Uninitialized);
    const qsizetype compressed = fileBytes.size() - kHeaderBytes;
    if (compressed > std::numeric_limits<int>::max())
        return fail(error, QStringLiteral("the file is too large"));
    const int got = LZ4_decompress_safe(fileBytes.constData() + kHeaderBytes, out.data(), int(compressed), int(size));
    if (got < 0 || quint32(got) != size)
        return fail(error, QStringLiteral("the compressed content is damaged"));
    *text = out;
    return true;
}

bool readFile(const QString &path, QByteArray *text, QString *error)
{
    QFile file(path);
    QString reason;
    if (!openPlainFile(file, &reason))
        return fail(error, reason);
    if (file.size() > kMaxBytes)
        return fail(error, QStringLiteral("the file is too large"));
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        return fail(error, file.errorString());
    return decompress(bytes, text, error);
}

QByteArray compress(const QByteArray &text)
{
    QByteArray out(kHeaderBytes + LZ4_compressBound(int(text.size())), Qt::Uninitialized);
    std::memcpy(out.data(), kMagic, 8);
    qToLittleEndian<quint32>(quint32(text.size()), out.data() + 8);
    const int written = LZ4_compress_default(text.constData(), out.data() + kHeaderBytes, int(text.size()),
                                             int(out.size()) - kHeaderBytes);
    out.resize(kHeaderBytes + std::max(written, 0));
    return out;
}

} // namespace rr::mozlz4
