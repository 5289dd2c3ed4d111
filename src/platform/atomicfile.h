#pragma once
#include <QByteArray>
#include <QString>

namespace rr {

// Writes the whole file through a temporary file in the same folder, flushed to
// disk and renamed over the target. On failure the old file is left untouched and
// the reason is returned in error.
bool writeFileAtomically(const QString &path, const QByteArray &data, QString *error = nullptr);

}  // namespace rr
