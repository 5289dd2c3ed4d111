#include "media/gifwriter.h"

#include "media/dibsection.h"
#include "media/palette.h"
#include "platform/atomicfile.h"

#include <QFileInfo>
#include <algorithm>
#include <array>
#include <climits>
#include <cstdint>
#include <cstdlib>
#include <vector>

namespace rr
{
namespace
{

constexpr int kPaletteColours = 236; // the rest of the 256 stay black
constexpr int kTreeLevels = 6;
constexpr int kTableEntries = 256;

constexpr int kClearCode = 256;
constexpr int kEndCode = 257;
constexpr int kFirstFreeCode = 258;
// Codes 258 .. 510, so that every code, and the next one a decoder expects, fits 9 bits.
constexpr int kMaxStrings = 253;
constexpr int kCodeBits = 9;
constexpr int kSubBlockSize = 255;

bool sizeFitsGif(int width, int height)
{
    return width >= 1 && height >= 1 && width <= kMaxGifSide && height <= kMaxGifSide;
}

// Table index (0-based) of the entry nearest to each colour, by the palette's own
// measure: the sum of channel differences, the first of equally near entries. The
// entries are searched in order of red outwards from the colour's red, stopping where
// the red difference alone exceeds the best distance; answers are cached, since page
// captures repeat their colours.
class NearestColour
{
public:
    explicit NearestColour(const cPalette &palette)
    {
        const int count = std::min(palette.Count(), kTableEntries);
        for (int i = 1; i <= count; ++i)
            m_entries.push_back({palette.Red(i), palette.Green(i), palette.Blue(i), i - 1});
        std::stable_sort(m_entries.begin(), m_entries.end(),
                         [](const Entry &a, const Entry &b) { return a.red < b.red; });
        int at = 0;
        for (int red = 0; red < 256; ++red) {
            while (at < count && m_entries[at].red < red)
                ++at;
            m_firstWithRed[red] = at;
        }
        m_cache.assign(kCacheSlots, kEmptySlot);
    }

    std::uint8_t indexOf(int red, int green, int blue)
    {
        const std::uint32_t rgb = std::uint32_t(red) << 16 | std::uint32_t(green) << 8 | std::uint32_t(blue);
        std::uint32_t &slot = m_cache[(rgb * 2654435761u) >> (32 - kCacheBits)];
        if (slot != kEmptySlot && (slot >> 8) == rgb)
            return std::uint8_t(slot);
        const std::uint8_t index = search(red, green, blue);
        slot = rgb << 8 | index;
        return index;
    }

private:
    struct Entry {
        int red, green, blue, index;
    };

    static constexpr int kCacheBits = 16;
    static constexpr std::size_t kCacheSlots = std::size_t(1) << kCacheBits;
    // No colour is stored with index 255: at most 236 entries.
    static constexpr std::uint32_t kEmptySlot = 0xFFFFFFFFu;

    std::uint8_t search(int red, int green, int blue) const
    {
        // Distance and index in one key: the smallest key is the first nearest entry.
        int best = INT32_MAX;
        const auto consider = [&](const Entry &e) {
            const int distance = std::abs(red - e.red) + std::abs(green - e.green) + std::abs(blue - e.blue);
            best = std::min(best, distance << 8 | e.index);
        };
        // An entry whose red alone differs by more than the best distance cannot win;
        // one differing by exactly that much may still tie with a smaller index.
        const int count = int(m_entries.size());
        const int start = m_firstWithRed[red];
        for (int i = start; i < count && (m_entries[i].red - red) <= (best >> 8); ++i)
            consider(m_entries[i]);
        for (int i = start - 1; i >= 0 && (red - m_entries[i].red) <= (best >> 8); --i)
            consider(m_entries[i]);
        return best == INT32_MAX ? 0 : std::uint8_t(best & 0xFF);
    }

    std::vector<Entry> m_entries; // by red
    std::array<int, 256> m_firstWithRed{};
    std::vector<std::uint32_t> m_cache;
};

// Packs 9-bit codes least significant bit first into a byte stream.
class CodeWriter
{
public:
    void put(int code)
    {
        m_pending |= std::uint32_t(code) << m_pendingBits;
        m_pendingBits += kCodeBits;
        while (m_pendingBits >= 8) {
            m_bytes.push_back(char(m_pending & 0xFF));
            m_pending >>= 8;
            m_pendingBits -= 8;
        }
    }
    QByteArray finish()
    {
        if (m_pendingBits > 0)
            m_bytes.push_back(char(m_pending & 0xFF));
        m_pending = 0;
        m_pendingBits = 0;
        return std::move(m_bytes);
    }

private:
    QByteArray m_bytes;
    std::uint32_t m_pending = 0;
    int m_pendingBits = 0;
};

// The LZW string table, keyed by (prefix code, pixel index). Only the slots used
// since the last reset are cleared, so restarting it on every row stays cheap.
class RowCoder
{
public:
    RowCoder() : m_table(std::size_t(kFirstFreeCode + kMaxStrings) * kTableEntries, 0) { m_used.reserve(kMaxStrings); }

    void codeRow(const std::uint8_t *pixels, int width, CodeWriter &out)
    {
        clear(out);
        int prefix = pixels[0];
        for (int x = 1; x < width; ++x) {
            const int pixel = pixels[x];
            const std::size_t key = std::size_t(prefix) * kTableEntries + pixel;
            if (m_table[key] != 0) {
                prefix = m_table[key];
                continue;
            }
            out.put(prefix);
            if (int(m_used.size()) < kMaxStrings) {
                m_table[key] = std::uint16_t(kFirstFreeCode + m_used.size());
                m_used.push_back(std::uint32_t(key));
            } else {
                clear(out);
            }
            prefix = pixel;
        }
        out.put(prefix);
    }

private:
    void clear(CodeWriter &out)
    {
        for (std::uint32_t key : m_used)
            m_table[key] = 0;
        m_used.clear();
        out.put(kClearCode);
    }

    std::vector<std::uint16_t> m_table;
    std::vector<std::uint32_t> m_used;
};

void appendWord(QByteArray &out, int value)
{
    out.append(char(value & 0xFF));
    out.append(char((value >> 8) & 0xFF));
}

QByteArray colourTable(const cPalette &palette)
{
    QByteArray table(3 * kTableEntries, '\0');
    const int count = std::min(palette.Count(), kTableEntries);
    for (int i = 0; i < count; ++i) {
        table[3 * i] = char(palette.Red(i + 1));
        table[3 * i + 1] = char(palette.Green(i + 1));
        table[3 * i + 2] = char(palette.Blue(i + 1));
    }
    return table;
}

// First table entry of the colour, searched over all 256 (the black ones past the
// palette included); 0 when none matches.
int transparentIndex(const QByteArray &table, QRgb colour)
{
    for (int i = 0; i < kTableEntries; ++i) {
        if (uchar(table[3 * i]) == qRed(colour) && uchar(table[3 * i + 1]) == qGreen(colour) &&
            uchar(table[3 * i + 2]) == qBlue(colour))
            return i;
    }
    return 0;
}

QByteArray codePixels(const cDIBSection &dib, const cPalette &palette)
{
    NearestColour nearest(palette);
    RowCoder coder;
    CodeWriter out;
    const int width = dib.Width();
    std::vector<std::uint8_t> row(width);
    for (int y = 0; y < dib.Height(); ++y) {
        const uchar *pixel = dib.scanLineFromTop(y);
        for (int x = 0; x < width; ++x, pixel += 3)
            row[x] = nearest.indexOf(pixel[2], pixel[1], pixel[0]);
        coder.codeRow(row.data(), width, out);
    }
    out.put(kEndCode);
    return out.finish();
}

void appendSubBlocks(QByteArray &out, const QByteArray &data)
{
    for (qsizetype at = 0; at < data.size(); at += kSubBlockSize) {
        const qsizetype length = std::min<qsizetype>(kSubBlockSize, data.size() - at);
        out.append(char(length));
        out.append(data.constData() + at, length);
    }
    out.append('\0');
}

} // namespace

QByteArray encodeGIF(const cDIBSection &dib, bool transparent, QRgb transparentColour)
{
    const int width = dib.Width();
    const int height = dib.Height();
    if (dib.isEmpty() || !sizeFitsGif(width, height))
        return {};

    // With eight colours or more every pixel finds its place in the palette.
    static_assert(kPaletteColours >= 8);
    cPalette palette;
    palette.CreateOptimal(dib, kPaletteColours, kTreeLevels);
    const QByteArray table = colourTable(palette);
    const QByteArray data = codePixels(dib, palette);

    QByteArray out;
    out.reserve(6 + 7 + table.size() + 8 + 11 + data.size() + data.size() / kSubBlockSize + 3);
    out.append(transparent ? "GIF89a" : "GIF87a");
    appendWord(out, width);
    appendWord(out, height);
    out.append(char(0xF7)); // global table of 2^(7+1) entries, 8-bit colour resolution
    out.append('\0');       // background colour index
    out.append('\0');       // pixel aspect ratio
    out.append(table);
    if (transparent) {
        const char control[] = {0x21, char(0xF9), 4, 0x09, 0, 0, char(transparentIndex(table, transparentColour)), 0};
        out.append(control, sizeof control);
    }
    out.append(char(0x2C));
    appendWord(out, 0);
    appendWord(out, 0);
    appendWord(out, width);
    appendWord(out, height);
    out.append(char(0x07)); // no local table, not interlaced
    out.append(char(8));    // minimum code size
    appendSubBlocks(out, data);
    out.append(char(0x3B));
    return out;
}

QByteArray encodeGIF(const QImage &picture, bool transparent, QRgb transparentColour)
{
    if (picture.isNull() || !sizeFitsGif(picture.width(), picture.height()))
        return {};
    cDIBSection dib;
    if (!dib.CreateFromPicture(picture))
        return {};
    return encodeGIF(dib, transparent, transparentColour);
}

bool SaveGIF(const QImage &picture, const QString &fileName, bool transparent, QRgb transparentColour, QString *error)
{
    const QByteArray gif = encodeGIF(picture, transparent, transparentColour);
    if (gif.isEmpty()) {
        if (error)
            *error = QStringLiteral("%1 was not written: the picture has no pixels or is larger than %2 pixels a side")
                         .arg(QFileInfo(fileName).fileName())
                         .arg(kMaxGifSide);
        return false;
    }
    return writeFileAtomically(fileName, gif, error);
}

} // namespace rr
