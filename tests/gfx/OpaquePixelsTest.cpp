// Stored pixels are 0xFFRRGGBB: whatever writes them (the decoder, a fill,
// every raster operation, also where it reads past its source) keeps the
// alpha byte 0xFF, while colours go in and come out as 0xRRGGBB.
#include <gtest/gtest.h>

#include "BmpFixture.h"
#include "gfx/BitmapDecoder.h"
#include "gfx/Blit.h"

namespace qx {
namespace {

int TransparentWords(const Surface& s) {
    int count = 0;
    for (int y = 0; y < s.Height(); ++y)
        for (int x = 0; x < s.Width(); ++x) count += (s.Row(y)[x] & kOpaque) != kOpaque;
    return count;
}

TEST(OpaquePixels, ColoursGoInAndComeOutWithoutAlpha) {
    Surface s(3, 2, 0x00112233);
    EXPECT_EQ(s.Data()[0], 0xFF112233u);
    s.SetPixel(1, 1, 0x12ABCDEF);
    EXPECT_EQ(s.Row(1)[1], 0xFFABCDEFu);
    EXPECT_EQ(s.Pixel(1, 1), 0xABCDEFu);
    s.Fill(0);
    EXPECT_EQ(s.Data()[5], kOpaqueBlack);
    s.Reset(4, 1);
    EXPECT_EQ(TransparentWords(s), 0);
}

TEST(OpaquePixels, DecodedBitmapsOfEveryDepth) {
    for (uint16_t bits : {1, 4, 8, 24, 32}) {
        const bool indexed = bits <= 8;
        const std::vector<uint8_t> file = bmp::MakeBmp(bmp::Layout(
            2, 2, bits,
            indexed ? std::vector<uint32_t>{0x000000, 0xFFFFFF} : std::vector<uint32_t>{},
            indexed ? std::vector<uint32_t>{0, 1, 1, 0}
                    : std::vector<uint32_t>{0, 0x123456, 0xFFFFFF, 0},
            indexed ? 2 : 0));
        const DecodedBitmap d = DecodeBitmap(file.data(), file.size());
        ASSERT_TRUE(d.ok) << d.error;
        EXPECT_EQ(TransparentWords(d.surface), 0) << bits << " bpp";
        EXPECT_EQ(d.surface.Pixel(1, 0), indexed ? 0xFFFFFFu : 0x123456u) << bits << " bpp";
    }
}

// Rectangles that reach past the source on every side, wide enough for the
// stretch's 8-pixel blocks.
TEST(OpaquePixels, RasterOperationsAlsoWhereTheyReadPastTheSource) {
    Surface src(40, 12);
    for (int y = 0; y < src.Height(); ++y)
        for (int x = 0; x < src.Width(); ++x)
            src.SetPixel(x, y, 0x010101u * static_cast<uint32_t>(x + y));
    for (RasterOp op : {RasterOp::Copy, RasterOp::And, RasterOp::Or}) {
        Surface dst(64, 30, 0x5A5A5A);
        Blit(dst, 0, 0, 64, 30, src, -5, -4, op);
        EXPECT_EQ(TransparentWords(dst), 0) << static_cast<int>(op);
    }
    for (int dw : {64, 37, 200}) {
        Surface dst(200, 50, 0x5A5A5A);
        StretchBlit(dst, -3, -2, dw, 50, src, -6, -3, 52, 18);
        EXPECT_EQ(TransparentWords(dst), 0) << dw;
    }
}

}  // namespace
}  // namespace qx
