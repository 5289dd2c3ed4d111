#pragma once
// Whether a file is a plain file, the only kind the program reads as a document: a
// named pipe would keep an open waiting for a writer for ever, and opening a device
// may do something.
#include <QString>

class QFile;

#include <sys/types.h>

namespace rr
{

// Why a file of this type is not read ("it is a named pipe, not a file."), or "" for a
// plain file.
QString whyNotAPlainFile(mode_t mode);
// The same for the file a path leads to; "" too when there is none (opening it says why).
QString whyNotAPlainFile(const QString &path);
// Opens file (named, not yet open) for reading only when it is a plain file. The type is
// read from the opened file itself, opened without waiting, so that a pipe put in its
// place after a look at the path cannot hold the read up. On failure reason says why
// ("No such file or directory", "it is a named pipe, not a file.").
bool openPlainFile(QFile &file, QString *reason);

} // namespace rr
