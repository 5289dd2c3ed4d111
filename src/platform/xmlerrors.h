#pragma once
// What the user reads when a file is refused: a sentence of the program's own for
// each kind of error the XML library reports, with the line and column where the
// library found it, never the library's own words.
#include <QString>

struct _xmlError;

namespace rr
{

// The sentence for one error of the library, followed by " (line L, column C)" where
// the library knows the place.
QString xmlErrorSentence(const _xmlError &error);

} // namespace rr
