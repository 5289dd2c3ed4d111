#include "finding/textsearch.h"

#include <cstring>

#ifdef __SSE2__
#include <emmintrin.h>
#endif
#ifdef __x86_64__
#include <immintrin.h>
#endif

namespace rr
{
namespace
{

#ifdef __x86_64__
// Thirty-two places at a time where the processor has the instructions (most made
// since 2013): the kept texts of a large collection are searched from end to end at
// each search, twice as fast so. Moves at to the first place it did not look at, and
// returns the first place found, or -1.
__attribute__((target("avx2"))) qsizetype findWide(const char *hay, qsizetype &at, qsizetype last, const char *word,
                                                   qsizetype n)
{
    const __m256i first = _mm256_set1_epi8(word[0]);
    const __m256i final = _mm256_set1_epi8(word[n - 1]);
    for (; at + 31 <= last; at += 32) {
        const __m256i starts = _mm256_loadu_si256(reinterpret_cast<const __m256i *>(hay + at));
        const __m256i ends = _mm256_loadu_si256(reinterpret_cast<const __m256i *>(hay + at + n - 1));
        auto candidates = unsigned(
            _mm256_movemask_epi8(_mm256_and_si256(_mm256_cmpeq_epi8(starts, first), _mm256_cmpeq_epi8(ends, final))));
        while (candidates) {
            const int offset = __builtin_ctz(candidates);
            if (std::memcmp(hay + at + offset + 1, word + 1, size_t(n - 2)) == 0)
                return at + offset;
            candidates &= candidates - 1;
        }
    }
    return -1;
}

const bool kWide = __builtin_cpu_supports("avx2");
#endif

} // namespace

qsizetype TextFinder::find(QByteArrayView text, qsizetype from) const
{
    const qsizetype n = m_word.size();
    if (from < 0 || from >= text.size())
        return -1;
    if (n == 0)
        return from;
    const char *hay = text.data();
    const char *word = m_word.constData();
    if (n == 1) {
        const void *at = std::memchr(hay + from, word[0], size_t(text.size() - from));
        return at ? static_cast<const char *>(at) - hay : -1;
    }
    // The last position where the word still fits.
    const qsizetype last = text.size() - n;
    qsizetype at = from;
#ifdef __x86_64__
    if (kWide)
        if (const qsizetype found = findWide(hay, at, last, word, n); found >= 0)
            return found;
#endif
#ifdef __SSE2__
    const __m128i first = _mm_set1_epi8(word[0]);
    const __m128i final = _mm_set1_epi8(word[n - 1]);
    for (; at + 15 <= last; at += 16) {
        const __m128i starts = _mm_loadu_si128(reinterpret_cast<const __m128i *>(hay + at));
        const __m128i ends = _mm_loadu_si128(reinterpret_cast<const __m128i *>(hay + at + n - 1));
        auto candidates =
            unsigned(_mm_movemask_epi8(_mm_and_si128(_mm_cmpeq_epi8(starts, first), _mm_cmpeq_epi8(ends, final))));
        while (candidates) {
            const int offset = __builtin_ctz(candidates);
            if (std::memcmp(hay + at + offset + 1, word + 1, size_t(n - 2)) == 0)
                return at + offset;
            candidates &= candidates - 1;
        }
    }
#endif
    for (; at <= last; ++at)
        if (hay[at] == word[0] && hay[at + n - 1] == word[n - 1] &&
            std::memcmp(hay + at + 1, word + 1, size_t(n - 2)) == 0)
            return at;
    return -1;
}

FoldedFinder::FoldedFinder(QByteArrayView word) : m_word(word.toByteArray()), m_fold(word.size(), '\0')
{
    Q_ASSERT(!word.isEmpty());
    for (qsizetype i = 0; i < word.size(); ++i)
        if (word[i] >= 'a' && word[i] <= 'z')
            m_fold[i] = 0x20;
}

bool FoldedFinder::sameAt(const char *at) const
{
    for (qsizetype i = 0; i < m_word.size(); ++i)
        if (char(at[i] | m_fold[i]) != m_word[i])
            return false;
    return true;
}

qsizetype FoldedFinder::find(QByteArrayView text, qsizetype from) const
{
    const qsizetype n = m_word.size();
    if (from < 0 || from >= text.size())
        return -1;
    const char *hay = text.data();
    const qsizetype last = text.size() - n;
    qsizetype at = from;
#ifdef __SSE2__
    // As TextFinder: sixteen places at a time by the first and the last byte, each
    // with its letter case set aside.
    const __m128i first = _mm_set1_epi8(m_word[0]);
    const __m128i firstFold = _mm_set1_epi8(m_fold[0]);
    const __m128i final = _mm_set1_epi8(m_word[n - 1]);
    const __m128i finalFold = _mm_set1_epi8(m_fold[n - 1]);
    for (; at + 15 <= last; at += 16) {
        const __m128i starts = _mm_or_si128(_mm_loadu_si128(reinterpret_cast<const __m128i *>(hay + at)), firstFold);
        const __m128i ends =
            _mm_or_si128(_mm_loadu_si128(reinterpret_cast<const __m128i *>(hay + at + n - 1)), finalFold);
        auto candidates =
            unsigned(_mm_movemask_epi8(_mm_and_si128(_mm_cmpeq_epi8(starts, first), _mm_cmpeq_epi8(ends, final))));
        while (candidates) {
            const int offset = __builtin_ctz(candidates);
            if (sameAt(hay + at + offset))
                return at + offset;
            candidates &= candidates - 1;
        }
    }
#endif
    for (; at <= last; ++at)
        if (sameAt(hay + at))
            return at;
    return -1;
}

} // namespace rr
