#include "finding/textsearch.h"

#include <cstring>

namespace rr {

TextFinder::TextFinder(QStringView word) : m_word(word.toString())
{
    const qsizetype n = m_word.size();
    m_skip.fill(n);
    for (qsizetype i = 0; i + 1 < n; ++i)
        m_skip[m_word.at(i).unicode() & 0xFF] = n - 1 - i;
}

qsizetype TextFinder::find(QStringView text, qsizetype from) const
{
    const qsizetype n = m_word.size();
    if (from < 0 || from >= text.size())
        return -1;
    if (n == 0)
        return from;
    if (n == 1)
        return text.indexOf(m_word.at(0), from);
    const char16_t *hay = reinterpret_cast<const char16_t *>(text.utf16());
    const char16_t *word = reinterpret_cast<const char16_t *>(m_word.utf16());
    const char16_t last = word[n - 1];
    const qsizetype end = text.size() - n;
    for (qsizetype at = from; at <= end;) {
        const char16_t c = hay[at + n - 1];
        if (c == last && std::memcmp(hay + at, word, size_t(n - 1) * sizeof(char16_t)) == 0)
            return at;
        at += m_skip[c & 0xFF];
    }
    return -1;
}

}  // namespace rr
