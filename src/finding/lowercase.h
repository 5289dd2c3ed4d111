#pragma once
// The lower case of UTF-8 text as Qt gives it, without converting the text to UTF-16:
// what the word search keeps of each Vardeck.
#include <QtGlobal>

namespace rr
{

// A byte order mark, which Qt reads at the very start of a text as no character.
inline constexpr char kByteOrderMark[] = "\xEF\xBB\xBF";

// Lower-cases well-formed UTF-8 from p to end into o, which has room for twice as many
// bytes. Returns the end of what was written, or null for malformed bytes and for a
// letter whose lower case is longer than one character: Qt then lower-cases the whole
// text. A byte order mark at p is lowered as any character.
char *lowerFast(const uchar *p, const uchar *end, char *o);

} // namespace rr
