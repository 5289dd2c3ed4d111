#pragma once
// Whether a file is a plain file, the only kind the program reads as a document: a
// named pipe would keep an open waiting for a writer for ever, and opening a device
// may do something.
#include <QString>

#include <sys/types.h>

namespace rr
{

// Why a file of this type is not read ("it is a named pipe, not a file."), or "" for a
// plain file.
QString whyNotAPlainFile(mode_t mode);
// The same for the file a path leads to; "" too when there is none (opening it says why).
QString whyNotAPlainFile(const QString &path);

} // namespace rr
