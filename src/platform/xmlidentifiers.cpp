// Which identifier numbers the elements of a document hold, so that a new identifier
// is found without probing every number in use: a count of holders per number (an
// identifier may be used twice in a file that was not written here) and one bit per
// number that is held at all, searched a word at a time.
#include "platform/xmldocument.h"

#include <libxml/tree.h>

#include <algorithm>
#include <bit>
#include <utility>

namespace rr
{

namespace
{

// The kind (0 "T", 1 "W") and number of an identifier of the form the program
// hands out, or a number of 0.
std::pair<int, int> identifierNumber(const xmlChar *value)
{
    if (!value || (value[0] != 'T' && value[0] != 'W') || value[1] < '1' || value[1] > '9')
        return {0, 0};
    int n = 0;
    for (const xmlChar *p = value + 1; *p; ++p) {
        if (*p < '0' || *p > '9')
            return {0, 0};
        n = n * 10 + (*p - '0');
        if (n > kMaxIdentifierNumber)
            return {0, 0};
    }
    return {value[0] == 'T' ? 0 : 1, n};
}

} // namespace

void XmlDocument::noteIdentifier(const unsigned char *value, int sign)
{
    const auto [kind, n] = identifierNumber(value);
    if (n == 0 || m_holders[kind].empty())
        return;
    qint32 &holders = m_holders[kind][n];
    holders = std::max(0, holders + sign);
    quint64 &word = m_held[kind][n / 64];
    const quint64 bit = quint64(1) << (n % 64);
    word = holders > 0 ? word | bit : word & ~bit;
}

void XmlDocument::identifierChanged(const unsigned char *before, const unsigned char *after)
{
    noteIdentifier(before, -1);
    noteIdentifier(after, +1);
}

int XmlDocument::nextUnheldNumber(int kind, int from, int to) const
{
    if (from > to)
        return 0;
    const std::vector<quint64> &held = m_held[kind];
    if (held.empty())
        return from;
    for (int word = from / 64; word <= to / 64; ++word) {
        quint64 free = ~held[size_t(word)];
        if (word == from / 64)
            free &= ~quint64(0) << (from % 64);
        if (free) {
            const int n = word * 64 + std::countr_zero(free);
            return n <= to ? n : 0;
        }
    }
    return 0;
}

int XmlDocument::firstFreeIdentifierNumber(const QString &prefix, int from) const
{
    const int kind = prefix == QLatin1String("T") ? 0 : prefix == QLatin1String("W") ? 1 : -1;
    if (kind < 0 || !m_doc)
        return 0;
    // An element outside the tree that is not yet freed still answers the ID lookup:
    // the lookup has the last word.
    const auto firstFreeIn = [&](int low, int high) {
        for (int n = nextUnheldNumber(kind, low, high); n != 0; n = nextUnheldNumber(kind, n + 1, high))
            if (!nodeFromID(prefix + QString::number(n)))
                return n;
        return 0;
    };
    if (from < 1 || from > kMaxIdentifierNumber)
        from = 1;
    if (const int n = firstFreeIn(from, kMaxIdentifierNumber))
        return n;
    return firstFreeIn(1, from - 1);
}

} // namespace rr
