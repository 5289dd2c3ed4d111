#include "media/dibsection.h"

#include <gtest/gtest.h>

using namespace rr;

TEST(DIBSection, scanLinesArePaddedToFourBytesAndCreateWithoutPixelsLeavesItEmpty)
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
}

TEST(DIBSection, pictureCopyIsBottomUpBgrWithZeroFill)
{
    // Top row red, green; bottom row blue, white.
    QImage picture(2, 2, QImage::Format_RGB32);
    picture.setPixel(0, 0, qRgb(200, 10, 20));
    picture.setPixel(1, 0, qRgb(30, 210, 40));
    picture.setPixel(0, 1, qRgb(50, 60, 220));
    picture.setPixel(1, 1, qRgb(255, 254, 253));

    cDIBSection dib;
    ASSERT_TRUE(dib.CreateFromPicture(picture));
    ASSERT_EQ(dib.BytesPerScanLine(), 8);
    const uchar expected[16] = {220, 60, 50,  253, 254, 255, 0, 0, // bottom row first
                                20,  10, 200, 40,  210, 30,  0, 0};
    EXPECT_EQ(QByteArray(reinterpret_cast<const char *>(dib.DIBSectionBitsPtr()), 16),
              QByteArray(reinterpret_cast<const char *>(expected), 16));
    EXPECT_EQ(dib.scanLineFromTop(0)[2], 200);
}

TEST(DIBSection, anyPictureFormatBecomes24Bit)
{
    QImage indexed(3, 1, QImage::Format_Indexed8);
    indexed.setColorTable({qRgb(1, 2, 3), qRgb(250, 251, 252)});
    indexed.setPixel(0, 0, 1);
    indexed.setPixel(1, 0, 0);
    indexed.setPixel(2, 0, 1);

    cDIBSection dib;
    ASSERT_TRUE(dib.CreateFromPicture(indexed));
    const uchar *row = dib.DIBSectionBitsPtr();
    EXPECT_EQ(QByteArray(reinterpret_cast<const char *>(row), 9),
              QByteArray("\xFC\xFB\xFA\x03\x02\x01\xFC\xFB\xFA", 9));
}
