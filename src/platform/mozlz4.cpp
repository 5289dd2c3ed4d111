#include "platform/mozlz4.h"

#include <QFile>
#include <cstring>
#include <limits>
#include <lz4.h>

namespace rr::mozlz4
{
namespace
{

constexpr char kMagic[8] = {'m', 'o', 'z', 'L', 'z', '4', '0', '\0'};
constexpr int kHeader = 12;

} // namespace

Result decode(const QByteArray &bytes, qint64 maxData)
{
    if (bytes.size() < kHeader || memcmp(bytes.constData(), kMagic, sizeof kMagic) != 0)
        return {Status::Malformed, {}};
    const auto *p = reinterpret_cast<const unsigned char *>(bytes.constData()) + sizeof kMagic;
    const quint32 claimed = quint32(p[0]) | quint32(p[1]) << 8 | quint32(p[2]) << 16 | quint32(p[3]) << 24;
    if (qint64(claimed) > maxData || claimed > quint32(std::numeric_limits<int>::max()))
        return {Status::ExceedSize, {}};
    const qint64 compressed = bytes.size() - kHeader;
    if (compressed > std::numeric_limits<int>::max())
        return {Status::ExceedSize, {}};
    QByteArray out(int(claimed), Qt::Uninitialized);
    const int written = LZ4_decompress_safe(bytes.constData() + kHeader, out.data(), int(compressed), int(claimed));
    if (written < 0 || quint32(written) != claimed)
        return {Status::Malformed, {}};
    return {Status::Ok, out};
}

Result readFile(const QString &path, qint64 maxFile, qint64 maxData)
{
    QFile file(path);
    if (!file.exists())
        return {Status::NotExist, {}};
    if (!file.open(QIODevice::ReadOnly))
        return {Status::Failed, {}};
    // Read one byte past the cap: the size on disk may change while Firefox rewrites it.
    const QByteArray bytes = file.read(maxFile + 1);
    if (bytes.size() > maxFile)
        return {Status::ExceedSize, {}};
    return decode(bytes, maxData);
}

QByteArray encode(const QByteArray &data)
{
    const int bound = LZ4_compressBound(int(data.size()));
    QByteArray out(kHeader + bound, Qt::Uninitialized);
    memcpy(out.data(), kMagic, sizeof kMagic);
    const quint32 n = quint32(data.size());
    for (int i = 0; i < 4; ++i)
        out[8 + i] = char((n >> (8 * i)) & 0xff);
    const int written = LZ4_compress_default(data.constData(), out.data() + kHeader, int(data.size()), bound);
    out.resize(kHeader + qMax(written, 0));
    return out;
}

} // namespace rr::mozlz4
