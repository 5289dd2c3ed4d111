#include "finding/casefold.h"
#include "finding/searchtext.h"

#include <QChar>
#include <QString>

#include <array>
#include <bit>
#include <cstring>

#ifdef __SSE2__
#include <emmintrin.h>
#endif

namespace rr
{
namespace
{

inline uchar foldAscii(uchar c)
{
    return c | uchar(uchar(c - 'A') < 26 ? 0x20 : 0);
}

// The characters of two UTF-8 bytes (Latin, Greek, Cyrillic, ...) are looked up. Each
// folds to one character, of two bytes or three (Ⱥ to ⱥ).
const std::array<char16_t, 0x800> &twoByteFold()
{
    static const std::array<char16_t, 0x800> table = [] {
        std::array<char16_t, 0x800> t{};
        for (char32_t ch = 0x80; ch < 0x800; ++ch)
            t[ch] = char16_t(QChar::toCaseFolded(ch));
        return t;
    }();
    return table;
}

// Folds eight ASCII bytes at once: a byte's high bit is set by +0x3F from 'A' on
// and by +0x25 from '[' on: the two differ exactly for 'A' to 'Z', which gain 0x20. In
// a word that holds other bytes too, the ASCII bytes before the first of them come out
// right: a carry only goes towards later bytes.
inline quint64 foldAscii8(quint64 v)
{
    constexpr quint64 kHigh = 0x8080808080808080ull;
    return v | ((((v + 0x3F3F3F3F3F3F3F3Full) ^ (v + 0x2525252525252525ull)) & kHigh) >> 2);
}

// The UTF-8 form of ch at o; the end of what was written.
inline char *putUtf8(char32_t ch, char *o)
{
    if (ch < 0x80) {
        *o++ = char(ch);
    } else if (ch < 0x800) {
        *o++ = char(0xC0 | (ch >> 6));
        *o++ = char(0x80 | (ch & 0x3F));
    } else if (ch < 0x10000) {
        *o++ = char(0xE0 | (ch >> 12));
        *o++ = char(0x80 | ((ch >> 6) & 0x3F));
        *o++ = char(0x80 | (ch & 0x3F));
    } else {
        *o++ = char(0xF0 | (ch >> 18));
        *o++ = char(0x80 | ((ch >> 12) & 0x3F));
        *o++ = char(0x80 | ((ch >> 6) & 0x3F));
        *o++ = char(0x80 | (ch & 0x3F));
    }
    return o;
}

inline int utf8Size(char32_t ch)
{
    return ch < 0x80 ? 1 : ch < 0x800 ? 2 : ch < 0x10000 ? 3 : 4;
}

// The character of two to four bytes whose lead byte is at p, checked to be well
// formed, or -1; its size in *size.
inline qint32 decodeBeyondAscii(const uchar *p, const uchar *end, int *size)
{
    const uchar c = *p;
    char32_t ch = 0;
    if (c >= 0xC2 && c <= 0xDF) {
        *size = 2;
        ch = c & 0x1F;
    } else if (c >= 0xE0 && c <= 0xEF) {
        *size = 3;
        ch = c & 0x0F;
    } else if (c >= 0xF0 && c <= 0xF4) {
        *size = 4;
        ch = c & 0x07;
    } else {
        return -1;
    }
    if (end - p < *size)
        return -1;
    for (int i = 1; i < *size; ++i) {
        if ((p[i] & 0xC0) != 0x80)
            return -1;
        ch = (ch << 6) | (p[i] & 0x3F);
    }
    if ((*size == 3 && (ch < 0x800 || (ch >= 0xD800 && ch <= 0xDFFF))) ||
        (*size == 4 && (ch < 0x10000 || ch > 0x10FFFF)))
        return -1;
    return qint32(ch);
}

// The folded form of a character beyond ASCII.
inline char32_t foldOf(char32_t ch, const std::array<char16_t, 0x800> &twoBytes)
{
    return ch < 0x800 ? twoBytes[ch] : QChar::toCaseFolded(ch);
}

// Folds the one character at p, which is before end, to o; advances both, or returns
// false for malformed bytes.
inline bool foldOne(const uchar *&p, const uchar *end, char *&o, const std::array<char16_t, 0x800> &twoBytes)
{
    if (*p < 0x80) {
        *o++ = char(foldAscii(*p++));
        return true;
    }
    int size = 0;
    const qint32 ch = decodeBeyondAscii(p, end, &size);
    if (ch < 0)
        return false;
    o = putUtf8(foldOf(char32_t(ch), twoBytes), o);
    p += size;
    return true;
}

#ifdef __SSE2__
// Lowers the ASCII capitals of sixteen bytes and leaves every other byte: in the
// signed compares, a byte from 0x80 on is negative and so never a capital.
inline __m128i foldAscii16(__m128i v)
{
    const __m128i capital =
        _mm_and_si128(_mm_cmpgt_epi8(v, _mm_set1_epi8('A' - 1)), _mm_cmplt_epi8(v, _mm_set1_epi8('Z' + 1)));
    return _mm_or_si128(v, _mm_and_si128(capital, _mm_set1_epi8(0x20)));
}

// Whether the characters beyond ASCII among sixteen bytes v are well formed, of two
// bytes each, and from the runs of small letters and signs that are their own folded
// form: U+0080 to U+00BF but the micro sign (µ folds to Greek μ), U+00E0 to U+00FF (à
// to ÿ), U+03AC to U+03CE (Greek small letters) but the final sigma (ς folds to σ),
// U+0430 to U+045F (Cyrillic small letters), the usual ones of Latin, Greek and
// Cyrillic text. Then the sixteen bytes, with only their ASCII lowered, are their own
// folded form, and the count of bytes taken is returned: sixteen, or fifteen when a
// character's second byte lies beyond them. Else 0. next holds the bytes after v's
// first; high and leads mark v's bytes from 0x80 and from 0xC0.
inline int ownFoldsOnly(__m128i v, __m128i next, unsigned high, unsigned leads)
{
    const __m128i top3 = _mm_set1_epi8(char(0xE0));
    const auto twoByteLeads =
        unsigned(_mm_movemask_epi8(_mm_cmpeq_epi8(_mm_and_si128(v, top3), _mm_set1_epi8(char(0xC0)))));
    const unsigned continuations = high & ~leads;
    if (twoByteLeads != leads || continuations != ((leads << 1) & 0xFFFF))
        return 0;
    auto is = [&v](uchar lead) { return _mm_cmpeq_epi8(v, _mm_set1_epi8(char(lead))); };
    auto from = [&next](uchar low) { return _mm_cmpeq_epi8(_mm_max_epu8(next, _mm_set1_epi8(char(low))), next); };
    auto upTo = [&next](uchar high) { return _mm_cmpeq_epi8(_mm_min_epu8(next, _mm_set1_epi8(char(high))), next); };
    auto isNot = [&next](uchar second) {
        return _mm_xor_si128(_mm_cmpeq_epi8(next, _mm_set1_epi8(char(second))), _mm_set1_epi8(char(0xFF)));
    };
    const __m128i own = _mm_or_si128(
        _mm_or_si128(_mm_or_si128(_mm_and_si128(is(0xC2), isNot(0xB5)), _mm_and_si128(is(0xC3), from(0xA0))),
                     _mm_or_si128(_mm_and_si128(is(0xCE), from(0xAC)),
                                  _mm_and_si128(_mm_and_si128(is(0xCF), upTo(0x8E)), isNot(0x82)))),
        _mm_or_si128(_mm_and_si128(is(0xD0), from(0xB0)), _mm_and_si128(is(0xD1), upTo(0x9F))));
    if (unsigned(_mm_movemask_epi8(own)) != leads)
        return 0;
    return leads & 0x8000 ? 15 : 16;
}

// Folds sixteen bytes at p to o, ASCII and the characters beyond it whose folded form
// is as long as they are, and says how many bytes it took: fewer than sixteen when a
// character runs past them or changes its length, or is malformed; that character,
// at the place returned, is left to foldOne. The bytes are first copied with their
// ASCII lowered, so a character beyond ASCII that is its own folded form, the usual
// one, costs nothing more.
inline int foldChunk(const uchar *p, bool more, char *o, const std::array<char16_t, 0x800> &twoBytes)
{
    const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i *>(p));
    _mm_storeu_si128(reinterpret_cast<__m128i *>(o), foldAscii16(v));
    // No test for bytes beyond ASCII alone: in text with letters beyond ASCII, half
    // of the chunks hold some, and a branch on it would be mispredicted as often.
    const auto high = unsigned(_mm_movemask_epi8(v));
    const __m128i top2 = _mm_set1_epi8(char(0xC0));
    const auto leads = unsigned(_mm_movemask_epi8(_mm_cmpeq_epi8(_mm_and_si128(v, top2), top2)));
    if (const int taken = ownFoldsOnly(
            v, more ? _mm_loadu_si128(reinterpret_cast<const __m128i *>(p + 1)) : _mm_srli_si128(v, 1), high, leads))
        return taken;
    // The continuation bytes the leads call for, which must be exactly those there are.
    unsigned expected = 0;
    int taken = 16;
    for (unsigned left = leads; left; left &= left - 1) {
        const int at = std::countr_zero(left);
        // Two bytes (Latin, Greek, Cyrillic, ...), the usual case: its second byte is
        // checked with the rest below, and a character that is its own folded form
        // stays as copied.
        if (p[at] >= 0xC2 && p[at] <= 0xDF && at < 15 && (p[at + 1] & 0xC0) == 0x80) {
            const char32_t ch = char32_t((p[at] & 0x1F) << 6) | (p[at + 1] & 0x3F);
            if (twoBytes[ch] == ch) {
                expected |= 1u << (at + 1);
                continue;
            }
        }
        const int size = p[at] < 0xE0 ? 2 : p[at] < 0xF0 ? 3 : 4;
        if (at + size > 16) {
            taken = at;
            break;
        }
        int checked = 0;
        const qint32 ch = decodeBeyondAscii(p + at, p + 16, &checked);
        const char32_t folded = ch < 0 ? 0 : foldOf(char32_t(ch), twoBytes);
        if (ch < 0 || utf8Size(folded) != size) {
            taken = at;
            break;
        }
        expected |= ((1u << (size - 1)) - 1) << (at + 1);
        if (folded != char32_t(ch))
            putUtf8(folded, o + at);
    }
    // A continuation byte no lead calls for: foldOne finds it malformed.
    const unsigned before = (1u << taken) - 1;
    const unsigned stray = high & ~leads & before & ~expected;
    return stray ? std::countr_zero(stray) : taken;
}
#endif

} // namespace

// Folds well-formed UTF-8 from p to end into out, which has room for twice as many
// bytes (no character's folded form takes more than twice its bytes), one character
// at a time: sixteen bytes at a time where the processor has the instructions, up to
// the first character that changes its length; then ASCII eight bytes at a time (up
// to the first other character of the eight); other characters through their folded
// form. Qt folds each character on its own, so the result is Qt's. Returns the end of
// what was written, or null for malformed bytes: Qt then folds the whole text.
char *foldFast(const uchar *p, const uchar *const end, char *o)
{
    constexpr quint64 kHigh = 0x8080808080808080ull;
    const uchar *const start = p;
    const std::array<char16_t, 0x800> &twoBytes = twoByteFold();
#ifdef __SSE2__
    while (end - p >= 16) {
        const int taken = foldChunk(p, end - p > 16, o, twoBytes);
        p += taken;
        o += taken;
        if (taken < 16 && !foldOne(p, end, o, twoBytes))
            return nullptr;
    }
#endif
    while (p < end) {
        if (end - p >= 8) {
            quint64 v;
            std::memcpy(&v, p, 8);
            const quint64 lowered = foldAscii8(v);
            std::memcpy(o, &lowered, 8);
            const quint64 high = v & kHigh;
            if (!high) {
                p += 8;
                o += 8;
                continue;
            }
            // Only the bytes before the first other one are kept.
            if constexpr (std::endian::native == std::endian::little) {
                const int ascii = std::countr_zero(high) / 8;
                p += ascii;
                o += ascii;
            }
        } else if (end - start >= 8) {
            // A short end of ASCII is folded with the eight bytes that end the text:
            // those before it are ASCII too, written one for one, and are written again.
            quint64 v;
            std::memcpy(&v, end - 8, 8);
            if (!(v & kHigh)) {
                const quint64 lowered = foldAscii8(v);
                std::memcpy(o - (8 - (end - p)), &lowered, 8);
                o += end - p;
                break;
            }
        }
        if (!foldOne(p, end, o, twoBytes))
            return nullptr;
    }
    return o;
}

bool foldsToAscii(const uchar *p, const uchar *const end)
{
    auto startsAt = [end](const uchar *q) {
        return (end - q >= 2 && q[0] == 0xC5 && q[1] == 0xBF) ||
               (end - q >= 3 && q[0] == 0xE2 && q[1] == 0x84 && q[2] == 0xAA);
    };
#ifdef __SSE2__
    // Their lead bytes, sixteen bytes at a time; most texts hold neither.
    const __m128i leadS = _mm_set1_epi8(char(0xC5));
    const __m128i leadK = _mm_set1_epi8(char(0xE2));
    for (; end - p >= 16; p += 16) {
        const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i *>(p));
        for (auto leads = unsigned(_mm_movemask_epi8(_mm_or_si128(_mm_cmpeq_epi8(v, leadS), _mm_cmpeq_epi8(v, leadK))));
             leads; leads &= leads - 1)
            if (startsAt(p + std::countr_zero(leads)))
                return true;
    }
#endif
    for (; p < end; ++p)
        if (startsAt(p))
            return true;
    return false;
}

void appendFoldedUtf8(QByteArrayView text, QByteArray &out)
{
    const qsizetype start = out.size();
    out.resize(start + 2 * text.size());
    const auto *bytes = reinterpret_cast<const uchar *>(text.data());
    if (char *end = foldFast(bytes, bytes + text.size(), out.data() + start)) {
        out.truncate(end - out.constData());
        if (out.mid(start).startsWith(kByteOrderMark))
            out.remove(start, 3);
        return;
    }
    out.truncate(start);
    out += QString::fromUtf8(text).toCaseFolded().toUtf8();
}

} // namespace rr
