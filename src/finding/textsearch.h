#pragma once
// Exact substring search over UTF-16 text, faster than a general-purpose search on
// the long, repeatedly searched texts of the word search: a single character uses
// the library's vectorised character scan, longer words a Horspool skip table keyed
// on each code unit's low byte (a shared bucket only shortens skips, never misses).
#include <QString>
#include <QStringView>

#include <array>

namespace rr {

class TextFinder {
public:
    explicit TextFinder(QStringView word);
    // The first position at or after from where the word starts, or -1. An empty word
    // is found at from when from lies inside the text.
    qsizetype find(QStringView text, qsizetype from = 0) const;

private:
    QString m_word;
    std::array<qsizetype, 256> m_skip{};
};

}  // namespace rr
