#pragma once
// Putting user data (folder and Vardeck names, addresses) into captions and tool
// tips: menus and tab captions read "&" as an access letter, and tool tips read
// markup, so a name must be escaped before it becomes either. And the other way:
// names and addresses that come out of HTML files with their character references.
#include <QString>
#include <QStringView>
#include <Qt>

namespace rr
{

// The text with every "&" doubled, so that a caption shows it literally.
QString escapeMnemonic(const QString &text);
// The most letters of one text that any place of the window shows: more than a line
// of the widest screen holds in the narrowest font.
inline constexpr qsizetype kMostShownLetters = 4096;

// The text cut to at most letters characters where the mode elides (its end, its
// middle or its start), with "…" in place of what is cut; a shorter text comes back
// whole. Qt lays out the whole of a text it measures, elides or draws: a text of
// millions of letters read from a file would take seconds at each look, and crash it
// at a hundred million. Every text of the user's data is cut so before Qt sees it.
QString shownText(const QString &text, Qt::TextElideMode mode = Qt::ElideRight, qsizetype letters = kMostShownLetters);

// A tool tip that shows text literally: text without markup characters comes back
// as it is; otherwise it is escaped and wrapped so that blanks are kept. A text past
// kMostShownLetters is cut first (shownText).
QString toolTipText(const QString &text);

// A name or an address holds one line: each line break (CR LF, CR, LF, a vertical tab,
// a form feed, U+0085, U+2028, U+2029) and each tab becomes one blank, whether the
// text was typed, pasted, captured or imported.
QString singleLineText(const QString &text);

// Letter case set aside, in every script: Unicode's simple case folding, character by
// character, as Qt's QString::toCaseFolded gives it. "ΟΔΟΣ" and "οδος" fold alike (the
// final sigma folds to σ), so do "STRAẞE" and "straße" and the Kelvin sign and k; ß
// stays ß (it is not "ss"), and the Turkish İ and ı stay letters of their own. The word
// search folds its texts by the same rule (finding/casefold.h).
inline QString caseFolded(const QString &text)
{
    return text.toCaseFolded();
}

// The one text comparison that ignores letter case: of names, search texts,
// identifiers, modes, captions, file name endings and setting values. caselessCompare
// orders (<0, 0, >0) as the lists sort: as the two texts' folded forms compare (Qt's
// case-insensitive comparison folds each character so, without making the copies);
// sameText is its "equal but for letter case".
inline int caselessCompare(const QString &a, const QString &b)
{
    return QString::compare(a, b, Qt::CaseInsensitive);
}
inline bool sameText(const QString &a, const QString &b)
{
    return caselessCompare(a, b) == 0;
}

// The character a byte of the Windows-1252 code page stands for: bytes 0x80 to 0x9F
// are "€", "“", "”" and their kind where the code page has one, every other byte the
// character of the same number.
char16_t windows1252Character(unsigned char byte);
// The Windows-1252 byte of a character, or -1 when the code page has none for it.
int windows1252Byte(char16_t character);

// Where a character reference stands. In an attribute value browsers leave an old
// reference without ";" alone when a letter, a digit or "=" follows it ("&copy=2" in
// an address stays as written); in text they decode it ("&copy 2024" reads "© 2024").
enum class HtmlRefContext { Text, Attribute };
// The text with its HTML character references decoded as browsers decode them:
// every named reference ("&amp;", "&NotEqual;"), the old names also without ";"
// ("&copy", "&amp", "&eacute"), decimal and hexadecimal references with or without
// ";". The numbers 128 to 159 stand for the Windows-1252 characters of those bytes
// ("&#128;" is "€", "&#147;" is "“"); 0, surrogates and numbers past U+10FFFF give
// U+FFFD. Anything else, a lone "&" included, stays as written.
QString decodeHtmlCharacterReferences(QStringView text, HtmlRefContext context = HtmlRefContext::Text);

} // namespace rr
