#include "media/palette.h"

#include "media/dibsection.h"
#include "platform/atomicfile.h"
#include "platform/plainfile.h"

#include <QFile>
#include <QtEndian>
#include <cmath>
#include <cstdlib>

namespace rr
{
namespace
{

constexpr int kInitialNodes = 50;
constexpr int kMaxLoadCount = 4097;

// Graphics code rounds halves to the even neighbour (2.5 -> 2, 127.5 -> 128).
int roundHalfEven(double value)
{
    return int(std::nearbyint(value));
}

// min / 2 + max / 2 rounded half to even, in whole numbers: the tree walk does this
// three times a level for every pixel.
int midPoint(int min, int max)
{
    const int sum = min + max;
    const int half = sum >> 1;
    return (sum & 1) ? half + (half & 1) : half;
}

std::uint8_t meanOf(std::int64_t sum, std::int64_t count)
{
    return std::uint8_t(roundHalfEven(double(sum) / count));
}

} // namespace

void cPalette::Add(std::uint8_t red, std::uint8_t green, std::uint8_t blue)
{
    m_entries.push_back({red, green, blue, 0});
}

int cPalette::ClosestIndex(int red, int green, int blue) const
{
    int best = 0;
    int bestDistance = 3 * 255;
    for (int i = 0; i < Count(); ++i) {
        const Entry &e = m_entries[i];
        const int distance = std::abs(red - e.red) + std::abs(green - e.green) + std::abs(blue - e.blue);
        if (distance == 0)
            return i + 1;
        if (distance < bestDistance) {
            bestDistance = distance;
            best = i + 1;
        }
    }
    return best;
}

int cPalette::CreateOptimal(const cDIBSection &dib, int maxColours, int levels)
{
    const int height = dib.Height();
    const int width = dib.Width();
    const int lineBytes = dib.BytesPerScanLine();
    const uchar *bits = dib.DIBSectionBitsPtr();

    // One reducible list per parent level, so the tree can be at most eight deep.
    m_levels = qBound(1, levels, int(m_reducible.size()));
    startTree();

    int unmerged = 0;
    for (int y = 0; y < height && bits; ++y) {
        const uchar *pixel = bits + qsizetype(y) * lineBytes;
        for (int x = 0; x < width; ++x, pixel += 3) {
            addColour(1, 1, Range(), Range(), Range(), pixel[2], pixel[1], pixel[0]);
            while (m_leafCount > maxColours) {
                if (reduceNodes())
                    continue;
                // Only a limit below eight colours can get here: the root's children
                // cannot be merged. The pixel keeps its own colour.
                ++unmerged;
                break;
            }
        }
    }

    Clear();
    for (int i = 1; i <= capacity(); ++i) {
        const Node &node = m_nodes[i];
        if (node.isLeaf)
            Add(meanOf(node.sumRed, node.count), meanOf(node.sumGreen, node.count), meanOf(node.sumBlue, node.count));
    }
    return unmerged;
}

void cPalette::startTree()
{
    m_nodes.assign(kInitialNodes + 1, Node());
    m_freeHead = 0;
    m_nodeCount = 1;
    m_leafCount = 0;
    m_reducible.fill(0);
}

void cPalette::addColour(std::int32_t node, int level, Range red, Range green, Range blue, int r, int g, int b)
{
    // Each channel picks its half of the node's cube; the mid-point itself belongs
    // to the lower half.
    const auto split = [](Range &range, int value) {
        const int mid = midPoint(range.min, range.max);
        if (value <= mid) {
            range.max = mid;
            return 0;
        }
        range.min = mid;
        return 1;
    };
    const int slot = split(red, r) + 2 * split(green, g) + 4 * split(blue, b);

    std::int32_t child = m_nodes[node].children[slot];
    if (child == 0) {
        child = newNode(); // may grow the array: index afresh afterwards
        m_nodes[node].children[slot] = child;
        ++m_nodes[node].count;
        Node &fresh = m_nodes[child];
        fresh.isLeaf = (level == m_levels);
        fresh.sumRed = fresh.sumGreen = fresh.sumBlue = 0;
        fresh.count = 0;
        fresh.next = 0;
    }

    Node &c = m_nodes[child];
    if (c.isLeaf) {
        if (c.count == 0)
            ++m_leafCount;
        ++c.count;
        c.sumRed += r;
        c.sumGreen += g;
        c.sumBlue += b;
        return;
    }
    if (!c.listed) {
        c.next = m_reducible[level - 1];
        m_reducible[level - 1] = child;
        c.listed = true;
    }
    addColour(child, level + 1, red, green, blue, r, g, b);
}

bool cPalette::reduceNodes()
{
    int list = m_levels - 1;
    while (list >= 0 && m_reducible[list] == 0)
        --list;
    if (list < 0)
        return false;

    // Last in, first out: the inner node listed most recently at that depth.
    const std::int32_t number = m_reducible[list];
    m_reducible[list] = m_nodes[number].next;

    std::int64_t red = 0, green = 0, blue = 0, count = 0;
    for (std::int32_t &child : m_nodes[number].children) {
        if (child == 0)
            continue;
        const Node &c = m_nodes[child];
        red += c.sumRed;
        green += c.sumGreen;
        blue += c.sumBlue;
        count += c.count;
        freeNode(child);
        --m_leafCount;
        child = 0;
    }
    Node &merged = m_nodes[number];
    merged.sumRed = red;
    merged.sumGreen = green;
    merged.sumBlue = blue;
    merged.count = count;
    merged.isLeaf = true;
    ++m_leafCount;
    return true;
}

std::int32_t cPalette::newNode()
{
    ++m_nodeCount;
    if (m_freeHead == 0) {
        const std::int32_t number = m_nodeCount;
        if (number > capacity())
            m_nodes.resize(std::size_t(roundHalfEven(number * 1.1)) + 1);
        return number;
    }
    const std::int32_t number = m_freeHead;
    m_freeHead = m_nodes[number].next;
    m_nodes[number].children.fill(0);
    return number;
}

void cPalette::freeNode(std::int32_t node)
{
    Node &n = m_nodes[node];
    n.next = m_freeHead;
    m_freeHead = node;
    n.isLeaf = false;
    n.listed = false;
    --m_nodeCount;
}

bool cPalette::Load(const QString &fileName, qint32 &offset)
{
    QFile file(fileName);
    QString reason;
    if (!openPlainFile(file, &reason))
        return false;
    const qint64 start = offset < 1 ? 0 : offset;
    if (!file.seek(start))
        return false;
    quint32 stored = 0;
    if (file.read(reinterpret_cast<char *>(&stored), 4) != 4)
        return false;
    const qint32 count = qint32(qFromLittleEndian(stored));
    if (count < 1 || count > kMaxLoadCount)
        return false;
    const QByteArray data = file.read(qint64(count) * 4);
    if (data.size() != qsizetype(count) * 4)
        return false;

    m_entries.clear();
    for (qint32 i = 0; i < count; ++i) {
        const auto *e = reinterpret_cast<const uchar *>(data.constData()) + 4 * i;
        m_entries.push_back({e[0], e[1], e[2], e[3]});
    }
    offset = qint32(start + 4 + data.size());
    return true;
}

bool cPalette::Save(const QString &fileName, qint32 offset) const
{
    QByteArray data(offset < 1 ? 0 : offset, '\0');
    const quint32 count = qToLittleEndian(quint32(Count()));
    data.append(reinterpret_cast<const char *>(&count), 4);
    for (const Entry &e : m_entries) {
        const char bytes[4] = {char(e.red), char(e.green), char(e.blue), char(e.spare)};
        data.append(bytes, 4);
    }
    return writeFileAtomically(fileName, data);
}

void cPalette::CreateWebSafe()
{
    m_entries.assign(256, Entry());
    const auto set = [this](int entry, int r, int g, int b) {
        m_entries[entry - 1] = {std::uint8_t(r), std::uint8_t(g), std::uint8_t(b), 0};
    };

    // The dark standard colours and silver; entry 1 stays black.
    set(2, 128, 0, 0);
    set(3, 0, 128, 0);
    set(4, 128, 128, 0);
    set(5, 0, 0, 128);
    set(6, 128, 0, 128);
    set(7, 0, 128, 128);
    set(8, 192, 192, 192);

    // The 6 x 6 x 6 cube without its eight corners, which the bright standard
    // colours at the end already hold.
    int entry = 9;
    for (int b = 0; b <= 255; b += 51) {
        for (int g = 0; g <= 255; g += 51) {
            for (int r = 0; r <= 255; r += 51) {
                const bool corner = (r % 255 == 0) && (g % 255 == 0) && (b % 255 == 0);
                if (!corner)
                    set(entry++, r, g, b);
            }
        }
    }

    for (int grey = 8; grey <= 248; grey += 8)
        set(entry++, grey, grey, grey);

    // Grey and the bright standard colours; entry 256 stays black.
    set(248, 128, 128, 128);
    set(249, 255, 0, 0);
    set(250, 0, 255, 0);
    set(251, 255, 255, 0);
    set(252, 0, 0, 255);
    set(253, 255, 0, 255);
    set(254, 0, 255, 255);
    set(255, 255, 255, 255);
}

} // namespace rr
