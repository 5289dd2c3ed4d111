#pragma once
// Reading the LZ4-compressed JSON files a running Firefox keeps in its profile
// (the session file among them). Traps kept here so no caller meets them:
// - The file is untrusted: it is read only up to a size cap, and the size its header
//   claims is checked against a cap before any memory is taken for it.
// - The header is "mozLz40\0" and a 4-byte little-endian decompressed size, then one
//   raw LZ4 block (no frame): only LZ4_decompress_safe, which never writes past the
//   buffer, reads it, and it must fill the claimed size exactly.
// - Firefox replaces the file while it runs: a half-written or vanished file is an
//   ordinary failure, never a crash.
#include <QByteArray>
#include <QString>

namespace rr::mozlz4
{

enum class Status { Ok, NotExist, ExceedSize, Malformed, Failed };

struct Result {
    Status status = Status::Failed;
    QByteArray data; // the decompressed bytes when status is Ok
};

inline constexpr qint64 kDefaultMaxFile = 32 * 1024 * 1024;
inline constexpr qint64 kDefaultMaxData = 128 * 1024 * 1024;

// Decompresses bytes in the format above.
Result decode(const QByteArray &bytes, qint64 maxData = kDefaultMaxData);
// Reads and decompresses the file at path.
Result readFile(const QString &path, qint64 maxFile = kDefaultMaxFile, qint64 maxData = kDefaultMaxData);
// The format above around data; for writing fixtures and for symmetry with decode.
QByteArray encode(const QByteArray &data);

} // namespace rr::mozlz4
