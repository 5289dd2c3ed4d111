#pragma once
// The case folding of UTF-8 text as Qt's QString::toCaseFolded gives it, without
// converting the text to UTF-16: what the word search keeps of each Vardeck, and how it
// compares the words typed with the texts, letter case aside in every script (final
// sigma as sigma, the Kelvin sign as k, ẞ as ß). The folding is Unicode's simple one:
// each character folds to one character, so a match never covers part of a character
// (ß stays ß and is not ss; the Turkish İ and ı are letters of their own).
#include <QtGlobal>

namespace rr
{

// A byte order mark, which Qt reads at the very start of a text as no character.
inline constexpr char kByteOrderMark[] = "\xEF\xBB\xBF";

// Folds well-formed UTF-8 from p to end into o, which has room for twice as many
// bytes. Returns the end of what was written, or null for malformed bytes: Qt then
// folds the whole text, with its replacement characters. A byte order mark at p is
// folded as any character.
char *foldFast(const uchar *p, const uchar *end, char *o);

// Whether UTF-8 text from p to end holds one of the two characters beyond ASCII whose
// folded form is ASCII: U+017F LATIN SMALL LETTER LONG S (s) and U+212A KELVIN SIGN
// (k). Without them the ASCII bytes of the text's folded form are the text's own ASCII
// bytes with their capitals lowered, in the same runs: every other character beyond
// ASCII folds to a character beyond ASCII, and a malformed byte becomes U+FFFD on its
// own, taking no ASCII byte with it.
bool foldsToAscii(const uchar *p, const uchar *end);

} // namespace rr
