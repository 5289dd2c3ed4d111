#pragma once
// Exact substring search over the lower-cased UTF-8 texts of the word search, faster
// than a general-purpose search on the long, repeatedly searched texts: a single byte
// uses the library's vectorised byte scan; a longer word is looked for sixteen
// positions at a time by its first and last byte, and only where both agree are the
// bytes between compared. UTF-8 never starts a character inside another, so a valid
// word found in valid text always starts at a character of it.
#include <QByteArray>
#include <QByteArrayView>

namespace rr
{

class TextFinder
{
public:
    explicit TextFinder(QByteArrayView word) : m_word(word.toByteArray()) {}
    // The first position at or after from where the word starts, or -1. An empty word
    // is found at from when from lies inside the text.
    qsizetype find(QByteArrayView text, qsizetype from = 0) const;
    bool isEmpty() const { return m_word.isEmpty(); }
    qsizetype size() const { return m_word.size(); }
    QByteArrayView word() const { return m_word; }

private:
    QByteArray m_word;
};

// The same search for a word of ASCII only, in text whose ASCII letters may be of
// either case: a byte of the text matches a letter of the word in either case, and
// any other byte of the word only itself. So the word is found where it would be in
// the text with its ASCII letters lowered, at the same places, and bytes beyond ASCII
// are never part of a find.
class FoldedFinder
{
public:
    // word: non-empty, of ASCII bytes only, its letters small.
    explicit FoldedFinder(QByteArrayView word);
    qsizetype find(QByteArrayView text, qsizetype from = 0) const;
    qsizetype size() const { return m_word.size(); }

private:
    bool sameAt(const char *at) const;

    QByteArray m_word;
    // 0x20 for each letter of the word, which a byte's letter case may differ by; else 0.
    QByteArray m_fold;
};

} // namespace rr
