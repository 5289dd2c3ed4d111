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

private:
    QByteArray m_word;
};

} // namespace rr
