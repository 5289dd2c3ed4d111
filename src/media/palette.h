#pragma once
// A list of RGB colours numbered from 1, with the octree quantiser that picks the
// colours of a thumbnail and the nearest-colour lookup.
#include <QString>
#include <array>
#include <cstdint>
#include <vector>

namespace rr
{

class cDIBSection;

class cPalette
{
public:
    void Add(std::uint8_t red, std::uint8_t green, std::uint8_t blue);
    // The entry nearest by the sum of channel differences; the first of equally near
    // entries wins, an exact match at once. 0 when the palette is empty or every
    // entry is as far away as a colour can be.
    int ClosestIndex(int red, int green, int blue) const;
    int Count() const { return int(m_entries.size()); }
    // Components of entry 1 .. Count(); any other number gives 0.
    std::uint8_t Red(int entry) const { return valid(entry) ? m_entries[entry - 1].red : 0; }
    std::uint8_t Green(int entry) const { return valid(entry) ? m_entries[entry - 1].green : 0; }
    std::uint8_t Blue(int entry) const { return valid(entry) ? m_entries[entry - 1].blue : 0; }

    // Replaces the entries by at most maxColours representative colours of the
    // bitmap. levels is the depth of the colour tree (6 for thumbnails). Below eight
    // colours the tree's first level cannot always be merged: such a pixel keeps its
    // own colour, and the count of those pixels comes back (0 when the limit held).
    int CreateOptimal(const cDIBSection &dib, int maxColours, int levels);
    void Clear() { m_entries.clear(); }

    // Palette file: at the byte offset (below 1: the start) a 32-bit little-endian
    // count, then count entries of red, green, blue and a spare byte. Load accepts
    // 1 .. 4097 entries, keeps the entries unless it read them all, and moves offset
    // past what it read.
    bool Load(const QString &fileName, qint32 &offset);
    bool Save(const QString &fileName, qint32 offset) const;

    void CreateWebSafe();

private:
    struct Entry {
        std::uint8_t red = 0;
        std::uint8_t green = 0;
        std::uint8_t blue = 0;
        std::uint8_t spare = 0;
    };

    // One record of the colour tree. Nodes are numbered from 1 (the root); 0 means
    // "none" in children, next and the list heads.
    struct Node {
        bool isLeaf = false;
        bool listed = false;
        // Wider than the pixel sums of any picture GIF can describe.
        std::int64_t sumRed = 0;
        std::int64_t sumGreen = 0;
        std::int64_t sumBlue = 0;
        // Leaf: pixels in it; inner node: children made under it.
        std::int64_t count = 0;
        std::array<std::int32_t, 8> children{};
        std::int32_t next = 0;
    };

    struct Range {
        int min = 0;
        int max = 255;
    };

    bool valid(int entry) const { return entry >= 1 && entry <= Count(); }

    void startTree();
    void addColour(std::int32_t node, int level, Range red, Range green, Range blue, int r, int g, int b);
    bool reduceNodes();
    std::int32_t newNode();
    void freeNode(std::int32_t node);
    int capacity() const { return int(m_nodes.size()) - 1; }

    std::vector<Entry> m_entries;

    std::vector<Node> m_nodes; // index 0 unused, so node numbers index directly
    std::int32_t m_nodeCount = 0;
    std::int32_t m_freeHead = 0;
    std::int32_t m_leafCount = 0;
    int m_levels = 0;
    std::array<std::int32_t, 8> m_reducible{};
};

} // namespace rr
