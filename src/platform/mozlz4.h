#pragma once
// The compressed JSON files that Firefox keeps in a profile (bookmark backups
// "bookmarkbackups/*.jsonlz4", the session "sessionstore-backups/recovery.jsonlz4"):
// the magic "mozLz40\0", the decompressed size as 4 bytes little-endian, then one
// LZ4 block.
//
// Rules kept here so no caller has to remember them:
// - The declared size is checked against a limit before anything is allocated, and
//   the block is decompressed with the bounds-checked decoder, so a damaged or hostile
//   file gives an error, never a crash or an endless allocation.
// - The decompressed text must be exactly the declared size.
#include <QByteArray>
#include <QString>

namespace rr::mozlz4
{

// Files and texts larger than this are refused.
inline constexpr qint64 kMaxBytes = 256 * 1024 * 1024;

// The decompressed content of a mozLz4 file's bytes; false with the reason.
bool decompress(const QByteArray &fileBytes, QByteArray *text, QString *error = nullptr);
// Reads and decompresses a file.
bool readFile(const QString &path, QByteArray *text, QString *error = nullptr);
// The file bytes for text (used to write test fixtures and backups).
QByteArray compress(const QByteArray &text);

} // namespace rr::mozlz4
