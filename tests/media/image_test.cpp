// The thumbnail image code: bitmap, palette and GIF encoder.
#include "media/dibsection.h"
#include "media/gifwriter.h"
#include "media/palette.h"
#include "support/failingdisk.h"
#include "support/testenv.h"

#include <QBuffer>
#include <QFile>
#include <QImageReader>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <tuple>
#include <vector>

using namespace rr;

namespace
{

// The parts of a written file, read back independently of the encoder.
struct GifParts {
    QByteArray signature;
    int screenWidth = 0, screenHeight = 0;
    QByteArray table;      // 768 bytes
    QByteArray control;    // graphic control extension, when present
    QByteArray descriptor; // the 10 bytes from the image separator on
    int minimumCodeSize = 0;
    std::vector<int> blockSizes; // data sub-blocks
    QByteArray data;             // their bytes joined
    bool endsProperly = false;   // block terminator, trailer, nothing after
};

GifParts parse(const QByteArray &gif)
{
    GifParts p;
    p.signature = gif.left(6);
    p.screenWidth = uchar(gif[6]) | uchar(gif[7]) << 8;
    p.screenHeight = uchar(gif[8]) | uchar(gif[9]) << 8;
    EXPECT_EQ(gif.mid(10, 3), QByteArray("\xF7\0\0", 3));
    p.table = gif.mid(13, 768);
    int at = 13 + 768;
    if (uchar(gif[at]) == 0x21) {
        p.control = gif.mid(at, 8);
        at += 8;
    }
    p.descriptor = gif.mid(at, 10);
    at += 10;
    p.minimumCodeSize = uchar(gif[at++]);
    while (at < gif.size() && gif[at] != 0) {
        const int size = uchar(gif[at]);
        p.blockSizes.push_back(size);
        p.data.append(gif.mid(at + 1, size));
        at += 1 + size;
    }
    p.endsProperly = gif.mid(at) == QByteArray("\0;", 2);
    return p;
}

std::vector<int> codesOf(const QByteArray &data)
{
    std::vector<int> codes;
    const qsizetype bits = data.size() * 8;
    for (qsizetype at = 0; at + 9 <= bits; at += 9) {
        int code = 0;
        for (int i = 0; i < 9; ++i)
            code |= ((uchar(data[(at + i) / 8]) >> ((at + i) % 8)) & 1) << i;
        codes.push_back(code);
        if (code == 257)
            break;
    }
    return codes;
}

QImage decode(const QByteArray &gif)
{
    QBuffer buffer;
    buffer.setData(gif);
    QImageReader reader(&buffer, "gif");
    QImage image = reader.read();
    EXPECT_FALSE(image.isNull()) << qPrintable(reader.errorString());
    return image.convertToFormat(QImage::Format_ARGB32);
}

quint32 lcg(quint32 &seed)
{
    seed = seed * 1664525u + 1013904223u;
    return seed >> 8;
}

// A page-like picture: a gradient, noise and dark text-like blocks.
QImage capture(int width, int height)
{
    QImage picture(width, height, QImage::Format_RGB32);
    quint32 seed = 7;
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const int noise = int(lcg(seed) % 9) - 4;
            int r = 255 * x / width + noise, g = 180 + 60 * y / height + noise, b = 230 - 100 * x / width;
            if ((y / 6) % 3 == 1 && (x / 4) % 5 != 4)
                r = g = b = 30 + noise;
            picture.setPixel(x, y, qRgb(qBound(0, r, 255), qBound(0, g, 255), qBound(0, b, 255)));
        }
    }
    return picture;
}

// Colours far enough apart to keep their exact values, in a pseudo-random order.
QImage fewColours(int width, int height, int colours, quint32 seed)
{
    QImage picture(width, height, QImage::Format_RGB32);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const int c = int(lcg(seed) % colours);
            picture.setPixel(x, y, qRgb(50 * (c % 6), 50 * (c / 6 % 6), 50 * (c / 36)));
        }
    }
    return picture;
}

using Rgb = std::tuple<int, int, int>;

std::vector<Rgb> entriesOf(const cPalette &palette)
{
    std::vector<Rgb> out;
    for (int i = 1; i <= palette.Count(); ++i)
        out.emplace_back(palette.Red(i), palette.Green(i), palette.Blue(i));
    return out;
}

// The optimal palette of a bitmap whose rows are given from the top of the picture down;
// unmerged gets the count of pixels that kept their own colour past the limit.
cPalette optimal(const std::vector<std::vector<QRgb>> &rows, int maxColours, int *unmerged = nullptr)
{
    QImage picture(int(rows.front().size()), int(rows.size()), QImage::Format_RGB32);
    for (int y = 0; y < picture.height(); ++y)
        for (int x = 0; x < picture.width(); ++x)
            picture.setPixel(x, y, rows[y][x]);
    cDIBSection dib;
    EXPECT_TRUE(dib.CreateFromPicture(picture));
    cPalette palette;
    const int count = palette.CreateOptimal(dib, maxColours, 6);
    if (unmerged)
        *unmerged = count;
    return palette;
}

} // namespace

TEST(GifWriter, fewColoursDecodeToThemselves)
{
    const QImage picture = fewColours(40, 30, 200, 99);
    const QByteArray gif = encodeGIF(picture);
    const GifParts parts = parse(gif);
    EXPECT_EQ(parts.signature, "GIF87a");
    EXPECT_EQ(parts.screenWidth, 40);
    EXPECT_EQ(parts.screenHeight, 30);
    EXPECT_TRUE(parts.control.isEmpty());
    EXPECT_EQ(parts.descriptor, QByteArray("\x2C\0\0\0\0\x28\0\x1E\0\x07", 10));
    EXPECT_EQ(parts.minimumCodeSize, 8);
    EXPECT_TRUE(parts.endsProperly);
    EXPECT_EQ(decode(gif), picture.convertToFormat(QImage::Format_ARGB32));
}

TEST(GifWriter, manyColoursDecodeToTheNearestPaletteColour)
{
    const QImage picture = capture(120, 90);
    cDIBSection dib;
    ASSERT_TRUE(dib.CreateFromPicture(picture));
    cPalette palette;
    palette.CreateOptimal(dib, 236, 6);
    ASSERT_GT(palette.Count(), 100);
    ASSERT_LE(palette.Count(), 236);

    const QByteArray gif = encodeGIF(picture);
    const GifParts parts = parse(gif);
    for (int i = 0; i < 256; ++i) {
        const int entry = i + 1; // past Count() the palette answers 0: black
        ASSERT_EQ(uchar(parts.table[3 * i]), palette.Red(entry)) << i;
        ASSERT_EQ(uchar(parts.table[3 * i + 1]), palette.Green(entry)) << i;
        ASSERT_EQ(uchar(parts.table[3 * i + 2]), palette.Blue(entry)) << i;
    }
    EXPECT_EQ(parts.table.mid(3 * palette.Count()), QByteArray(768 - 3 * palette.Count(), '\0'));
    // Long data goes in full sub-blocks of 255 bytes, only the last one shorter.
    ASSERT_GT(parts.blockSizes.size(), 2u);
    for (size_t i = 0; i + 1 < parts.blockSizes.size(); ++i)
        ASSERT_EQ(parts.blockSizes[i], 255) << i;
    EXPECT_TRUE(parts.endsProperly);

    const QImage decoded = decode(gif);
    for (int y = 0; y < picture.height(); ++y) {
        for (int x = 0; x < picture.width(); ++x) {
            const QRgb c = picture.pixel(x, y);
            const int entry = palette.ClosestIndex(qRed(c), qGreen(c), qBlue(c));
            ASSERT_EQ(decoded.pixel(x, y), qRgb(palette.Red(entry), palette.Green(entry), palette.Blue(entry)))
                << x << "," << y;
        }
    }
}

TEST(GifWriter, onePixelRowIsClearThenPixelThenEnd)
{
    QImage picture(1, 1, QImage::Format_RGB32);
    picture.fill(qRgb(10, 20, 30));
    const QByteArray gif = encodeGIF(picture);
    const GifParts parts = parse(gif);
    EXPECT_EQ(parts.table.left(3), QByteArray("\x0A\x14\x1E"));
    EXPECT_EQ(codesOf(parts.data), (std::vector<int>{256, 0, 257}));
    EXPECT_EQ(gif.right(7), QByteArray("\x04\x00\x01\x04\x04\x00\x3B", 7));
    EXPECT_EQ(decode(gif), picture.convertToFormat(QImage::Format_ARGB32));

    // A column: every row starts afresh with a clear code.
    picture = QImage(1, 3, QImage::Format_RGB32);
    picture.setPixel(0, 0, qRgb(0, 0, 0));
    picture.setPixel(0, 1, qRgb(255, 255, 255));
    picture.setPixel(0, 2, qRgb(0, 0, 0));
    const GifParts column = parse(encodeGIF(picture));
    // The bottom row is read first, so black is entry 0.
    EXPECT_EQ(codesOf(column.data), (std::vector<int>{256, 0, 256, 1, 256, 0, 257}));
}

TEST(GifWriter, longVariedRowRestartsTheTable)
{
    const QImage picture = fewColours(3000, 2, 12, 5);
    const QByteArray gif = encodeGIF(picture);
    const std::vector<int> codes = codesOf(parse(gif).data);
    ASSERT_GT(codes.size(), 300u);
    EXPECT_EQ(codes.front(), 256);
    EXPECT_EQ(codes.back(), 257);
    // From a clear code, 253 strings are added by the next 254 codes, the last of
    // which finds the table full: a clear code follows and codes start over at 258.
    EXPECT_EQ(codes[255], 256);
    int clears = 0, highest = 0;
    for (int code : codes) {
        clears += code == 256;
        highest = std::max(highest, code);
    }
    EXPECT_GT(clears, 4);
    EXPECT_LE(highest, 510);
    EXPECT_EQ(decode(gif), picture.convertToFormat(QImage::Format_ARGB32));
}

TEST(GifWriter, transparentHeaderNamesTheFirstMatchingEntry)
{
    // Bottom row first: red is entry 0, blue entry 1.
    QImage picture(2, 2, QImage::Format_RGB32);
    picture.fill(qRgb(0, 0, 255));
    picture.setPixel(0, 1, qRgb(255, 0, 0));

    const auto controlFor = [&](QRgb colour) {
        const QByteArray gif = encodeGIF(picture, true, colour);
        EXPECT_EQ(gif.left(6), "GIF89a");
        return parse(gif).control;
    };
    EXPECT_EQ(controlFor(qRgb(0, 0, 255)), QByteArray("\x21\xF9\x04\x09\0\0\x01\0", 8));
    EXPECT_EQ(controlFor(qRgb(0, 255, 0)), QByteArray("\x21\xF9\x04\x09\0\0\0\0", 8));
    // Black is not in the palette, but the first unused entry is black.
    EXPECT_EQ(controlFor(qRgb(0, 0, 0)), QByteArray("\x21\xF9\x04\x09\0\0\x02\0", 8));

    const QImage decoded = decode(encodeGIF(picture, true, qRgb(0, 0, 255)));
    EXPECT_EQ(qAlpha(decoded.pixel(1, 0)), 0);
    EXPECT_EQ(decoded.pixel(0, 1), qRgb(255, 0, 0));
}

TEST(GifWriter, picturesGifCannotHoldAreRefusedAndAFailedWriteKeepsTheOldThumbnail)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("thumb.gif");
    QString error;
    EXPECT_FALSE(SaveGIF(QImage(), path, false, 0, &error));
    EXPECT_FALSE(error.isEmpty());
    EXPECT_FALSE(SaveGIF(QImage(65536, 1, QImage::Format_RGB32), path));
    EXPECT_FALSE(SaveGIF(QImage(1, 65536, QImage::Format_RGB32), path));
    EXPECT_FALSE(QFile::exists(path));

    QImage widest(65535, 1, QImage::Format_RGB32);
    widest.fill(qRgb(1, 2, 3));
    ASSERT_TRUE(SaveGIF(widest, path));
    const QByteArray before = test::readBytes(path);
    EXPECT_EQ(parse(before).screenWidth, 65535);

    error.clear();
    {
        test::FailingDisk disk;
        EXPECT_FALSE(SaveGIF(capture(64, 48), path, false, 0, &error));
    }
    EXPECT_FALSE(error.isEmpty());
    EXPECT_EQ(test::readBytes(path), before);
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{"thumb.gif"});
}

TEST(PaletteOptimal, distinctColoursKeepExactValuesInBitmapOrder)
{
    // 216 colours in leaves of their own; the bottom row is read first, so it comes first.
    std::vector<QRgb> top, bottom;
    for (int b = 0; b < 6; ++b)
        for (int g = 0; g < 6; ++g)
            for (int r = 0; r < 6; ++r)
                (b < 3 ? bottom : top).push_back(qRgb(r * 50, g * 50, b * 50));
    std::vector<Rgb> expected;
    for (const std::vector<QRgb> *row : {&bottom, &top})
        for (QRgb c : *row)
            expected.emplace_back(qRed(c), qGreen(c), qBlue(c));
    EXPECT_EQ(entriesOf(optimal({top, bottom}, 236)), expected);
}

TEST(PaletteOptimal, leafMeanRoundsHalvesToEvenAndTheMostRecentlyListedNodeMergesFirst)
{
    const QRgb c = qRgb(17, 99, 201);
    EXPECT_EQ(entriesOf(optimal({{c, c, c}, {c, c, c}}, 236)), (std::vector<Rgb>{{17, 99, 201}}));
    // 2 and 3 share a leaf: 2.5 gives 2. 127 and 128 share one too: 127.5 gives 128.
    EXPECT_EQ(entriesOf(optimal({{qRgb(2, 0, 0), qRgb(3, 0, 0)}}, 236)), (std::vector<Rgb>{{2, 0, 0}}));
    EXPECT_EQ(entriesOf(optimal({{qRgb(127, 127, 127), qRgb(128, 128, 128)}}, 236)),
              (std::vector<Rgb>{{128, 128, 128}}));
    // 129 is in the upper half of the first split.
    EXPECT_EQ(optimal({{qRgb(128, 128, 128), qRgb(129, 129, 129)}}, 236).Count(), 2);

    // Room for three: the later pair merges into its rounded mean (252.5 -> 252) in its node's place.
    const std::vector<QRgb> row = {qRgb(0, 0, 0), qRgb(8, 0, 0), qRgb(253, 255, 255), qRgb(252, 255, 255)};
    EXPECT_EQ(entriesOf(optimal({row}, 3)), (std::vector<Rgb>{{0, 0, 0}, {8, 0, 0}, {252, 255, 255}}));

    // With only two, the first pair merges too.
    EXPECT_EQ(entriesOf(optimal({row}, 2)), (std::vector<Rgb>{{4, 0, 0}, {252, 255, 255}}));
}

TEST(PaletteOptimal, anUnmergeableTreeCountsThePixelsThatKeepTheirColourAndAsksNothing)
{
    // A limit of one colour cannot be met by two colours in different octants.
    const QRgb a = qRgb(0, 0, 0), c = qRgb(255, 255, 255);
    test::ScriptedPrompts prompts;
    int unmerged = -1;
    const cPalette palette = optimal({{a, c, a, c}}, 1, &unmerged);
    EXPECT_EQ(unmerged, 3); // every pixel after the first one
    EXPECT_EQ(entriesOf(palette), (std::vector<Rgb>{{0, 0, 0}, {255, 255, 255}}));
    EXPECT_TRUE(prompts.messages().empty());
    optimal({{a, c, a, c}}, 8, &unmerged);
    EXPECT_EQ(unmerged, 0);
}

TEST(Palette, closestIndexTakesFirstNearestAndZeroForNoneAndTheWebSafeLayout)
{
    cPalette palette;
    EXPECT_EQ(palette.ClosestIndex(1, 2, 3), 0);
    palette.Add(255, 255, 255);
    EXPECT_EQ(palette.ClosestIndex(0, 0, 0), 0); // as far as colours go
    EXPECT_EQ(palette.ClosestIndex(0, 0, 1), 1);

    palette.Clear();
    palette.Add(10, 0, 0);
    palette.Add(0, 10, 0);
    palette.Add(5, 5, 0);
    EXPECT_EQ(palette.ClosestIndex(5, 5, 1), 3);
    EXPECT_EQ(palette.ClosestIndex(0, 0, 0), 1); // tie of all three: the first
    EXPECT_EQ(palette.ClosestIndex(0, 9, 0), 2);
    EXPECT_EQ(palette.Red(0), 0);
    EXPECT_EQ(palette.Red(4), 0);

    palette.CreateWebSafe();
    ASSERT_EQ(palette.Count(), 256);
    const auto at = [&](int i) { return Rgb(palette.Red(i), palette.Green(i), palette.Blue(i)); };
    EXPECT_EQ(at(1), Rgb(0, 0, 0));
    EXPECT_EQ(at(9), Rgb(51, 0, 0));  // red fastest, black left out
    EXPECT_EQ(at(13), Rgb(0, 51, 0)); // 255,0,0 is a corner
    EXPECT_EQ(at(217), Rgb(8, 8, 8));
    EXPECT_EQ(at(255), Rgb(255, 255, 255));
    EXPECT_EQ(at(256), Rgb(0, 0, 0));
}

TEST(PaletteFile, saveThenLoadAtOffsetsAndFailedSavesOrBadFilesChangeNothing)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("colours.pal");
    cPalette saved;
    saved.Add(1, 2, 3);
    saved.Add(250, 128, 0);

    ASSERT_TRUE(saved.Save(path, 0));
    const QByteArray twoEntries("\x02\0\0\0\x01\x02\x03\0\xFA\x80\0\0", 12);
    EXPECT_EQ(test::readBytes(path), twoEntries);

    cPalette loaded;
    qint32 offset = -5;
    ASSERT_TRUE(loaded.Load(path, offset));
    EXPECT_EQ(offset, 12);
    EXPECT_EQ(entriesOf(loaded), entriesOf(saved));

    // A failed save keeps the old file.
    cPalette web;
    web.CreateWebSafe();
    {
        test::FailingDisk disk;
        EXPECT_FALSE(web.Save(path, 0));
    }
    EXPECT_EQ(test::readBytes(path), twoEntries);

    ASSERT_TRUE(saved.Save(path, 10));
    offset = 10;
    cPalette again;
    ASSERT_TRUE(again.Load(path, offset));
    EXPECT_EQ(offset, 22);
    EXPECT_EQ(entriesOf(again), entriesOf(saved));

    // Bad files leave the entries alone.
    cPalette palette;
    palette.Add(9, 8, 7);
    const auto write = [&](const QString &name, const QByteArray &bytes) {
        EXPECT_TRUE(test::writeBytes(dir.filePath(name), bytes));
        return dir.filePath(name);
    };
    QByteArray tooMany("\x02\x10\0\0", 4); // 4098
    tooMany.append(QByteArray(4098 * 4, '\x11'));
    const QString paths[] = {write("toomany.pal", tooMany), write("zero.pal", QByteArray(8, '\0')),
                             write("short.pal", QByteArray("\x03\0\0\0\1\2\3\0", 8)),
                             write("stub.pal", QByteArray("\x01\0", 2)), dir.filePath("missing.pal")};
    for (const QString &bad : paths) {
        offset = 0;
        EXPECT_FALSE(palette.Load(bad, offset)) << qPrintable(bad);
        EXPECT_EQ(entriesOf(palette), (std::vector<Rgb>{{9, 8, 7}})) << qPrintable(bad);
        EXPECT_EQ(offset, 0);
    }

    // 4097 is the largest count taken.
    QByteArray largest("\x01\x10\0\0", 4);
    largest.append(QByteArray(4097 * 4, '\x11'));
    offset = 0;
    EXPECT_TRUE(palette.Load(write("largest.pal", largest), offset));
    EXPECT_EQ(palette.Count(), 4097);
}

TEST(DIBSection, scanLinesArePaddedEmptyCreatesFailAndPicturesCopyBottomUpAsBgr)
{
    cDIBSection dib;
    const std::pair<int, int> cases[] = {{1, 4}, {2, 8}, {4, 12}, {5, 16}, {200, 600}};
    for (const auto &[width, bytes] : cases) {
        ASSERT_TRUE(dib.Create(width, 3)) << width;
        EXPECT_EQ(dib.BytesPerScanLine(), bytes) << width;
        EXPECT_EQ(dib.Width(), width);
        EXPECT_EQ(dib.Height(), 3);
    }
    EXPECT_FALSE(dib.Create(0, 0));
    EXPECT_TRUE(dib.isEmpty());
    EXPECT_EQ(dib.DIBSectionBitsPtr(), nullptr);
    EXPECT_EQ(dib.Width(), 0);
    EXPECT_FALSE(dib.Create(3, -1));
    EXPECT_FALSE(dib.CreateFromPicture(QImage()));
    EXPECT_TRUE(dib.isEmpty());
    dib.ClearUp();
    EXPECT_TRUE(dib.isEmpty());

    // A picture is copied bottom row first, as BGR with zero fill. Top row red, green; bottom blue, white.
    QImage picture(2, 2, QImage::Format_RGB32);
    picture.setPixel(0, 0, qRgb(200, 10, 20));
    picture.setPixel(1, 0, qRgb(30, 210, 40));
    picture.setPixel(0, 1, qRgb(50, 60, 220));
    picture.setPixel(1, 1, qRgb(255, 254, 253));
    ASSERT_TRUE(dib.CreateFromPicture(picture));
    ASSERT_EQ(dib.BytesPerScanLine(), 8);
    const uchar expected[16] = {220, 60, 50,  253, 254, 255, 0, 0, // bottom row first
                                20,  10, 200, 40,  210, 30,  0, 0};
    EXPECT_EQ(QByteArray(reinterpret_cast<const char *>(dib.DIBSectionBitsPtr()), 16),
              QByteArray(reinterpret_cast<const char *>(expected), 16));
    EXPECT_EQ(dib.scanLineFromTop(0)[2], 200);

    // Any picture format becomes 24-bit.
    QImage indexed(3, 1, QImage::Format_Indexed8);
    indexed.setColorTable({qRgb(1, 2, 3), qRgb(250, 251, 252)});
    indexed.setPixel(0, 0, 1);
    indexed.setPixel(1, 0, 0);
    indexed.setPixel(2, 0, 1);
    ASSERT_TRUE(dib.CreateFromPicture(indexed));
    EXPECT_EQ(QByteArray(reinterpret_cast<const char *>(dib.DIBSectionBitsPtr()), 9),
              QByteArray("\xFC\xFB\xFA\x03\x02\x01\xFC\xFB\xFA", 9));
}
