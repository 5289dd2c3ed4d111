#pragma once
// The document type of a database as the database writer puts it out: the name, the
// public and system identifiers and the internal subset with its declarations, so
// that what is saved reads back as it was read. The library's own writer puts an
// attribute's default value out unescaped ("<" breaks the declaration) and loses the
// character references of blanks in it; here they are written as references.
#include "platform/xmloutput.h"

struct _xmlDtd;

namespace rr::xmloutput
{

// Whether writeDoctype knows all the document type holds (entity declarations are left
// to the library; a database never has any: they are refused as the file is read).
bool knowsDoctype(const _xmlDtd *dtd);
// Writes "<!DOCTYPE …>", with its internal subset when it has one.
void writeDoctype(Output &out, const _xmlDtd *dtd);

} // namespace rr::xmloutput
