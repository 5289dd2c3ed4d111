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

// Whether UTF-8 text from p to end holds one of the two characters beyond ASCII whose
// lower case holds an ASCII character: U+0130 (i and a combining dot above) and
// U+212A KELVIN SIGN (k). Without them the ASCII bytes of the text's lower case are
// the text's own ASCII bytes with their capitals lowered, in the same runs: every
// other character beyond ASCII lowers to characters beyond ASCII, and a malformed
// byte becomes U+FFFD on its own, taking no ASCII byte with it.
bool lowersToAscii(const uchar *p, const uchar *end);

} // namespace rr
