// The art generator's storage path: palette reduction and BMP writing, read
// back through the game's own decoder.
#include <gtest/gtest.h>

#include <set>

#include "BmpWriter.h"
#include "Canvas.h"
#include "IndexedPicture.h"
#include "Quantizer.h"
#include "gfx/BitmapDecoder.h"

namespace artgen {
namespace {

qx::DecodedBitmap RoundTrip(const IndexedPicture& p) {
    const std::vector<uint8_t> bytes = BmpWriter::Encode(p);
    return qx::DecodeBitmap(bytes.data(), bytes.size());
}

// Odd widths exercise the row padding of every depth.
TEST(ArtgenBmpWriter, EveryDepthDecodesBackToTheSameColours) {
    for (int bpp : {1, 4, 8}) {
        for (int width : {1, 7, 13, 33}) {
            SCOPED_TRACE("bpp " + std::to_string(bpp) + " width " + std::to_string(width));
            IndexedPicture p;
            p.width = width;
            p.height = 5;
            p.bitsPerPixel = bpp;
            const int colours = 1 << bpp;
            for (int i = 0; i < colours; ++i)
                p.palette.push_back((0x010203u * (i + 1) + 0x400000u * (i % 3)) & 0xFFFFFFu);
            for (int i = 0; i < width * 5; ++i)
                p.pixels.push_back(static_cast<uint8_t>((i * 7 + i / width) % colours));
            const qx::DecodedBitmap d = RoundTrip(p);
            ASSERT_TRUE(d.ok) << d.error;
            EXPECT_EQ(d.bitsPerPixel, bpp);
            ASSERT_EQ(d.surface.Width(), width);
            for (int y = 0; y < 5; ++y)
                for (int x = 0; x < width; ++x) ASSERT_EQ(d.surface.Pixel(x, y), p.Color(x, y));
        }
    }
}

TEST(ArtgenBmpWriter, MaskTableIsBlackThenWhite) {
    Shape s(9, 3);
    s.AddSpan(1, 2, 5);
    const IndexedPicture mask = IndexedPicture::FromMask(s, 1);
    const std::vector<uint8_t> bytes = BmpWriter::Encode(mask);
    ASSERT_GE(bytes.size(), 62u);
    for (int i = 0; i < 4; ++i) EXPECT_EQ(bytes[54 + i], 0) << "entry 0 is black";
    for (int i = 0; i < 3; ++i) EXPECT_EQ(bytes[58 + i], 0xFF) << "entry 1 is white";
    const qx::DecodedBitmap d = RoundTrip(mask);
    ASSERT_TRUE(d.ok);
    EXPECT_EQ(d.surface.Pixel(3, 1), 0u);
    EXPECT_EQ(d.surface.Pixel(3, 0), 0xFFFFFFu);
}

TEST(ArtgenQuantizer, FewColoursAreKeptExactlyWithTheBackgroundFirst) {
    Canvas c(4, 2, Hex(0x040404));
    c.Set(1, 0, Hex(0xFF0000));
    c.Set(2, 1, Hex(0x00FF80));
    const IndexedPicture p = Quantizer::Quantize(c, 8, 0x040404);
    EXPECT_EQ(p.palette[0], 0x040404u);
    EXPECT_EQ(p.Color(0, 0), 0x040404u);
    EXPECT_EQ(p.Color(1, 0), 0xFF0000u);
    EXPECT_EQ(p.Color(2, 1), 0x00FF80u);
    EXPECT_EQ(p.palette.size(), 3u);
}

// A smooth ramp of thousands of colours must fit the table, and no painted
// pixel may turn into the background (which would punch a dark hole into a
// sprite).
TEST(ArtgenQuantizer, ManyColoursAreReducedWithoutTouchingTheBackground) {
    for (int bpp : {4, 8}) {
        Canvas c(64, 64, Hex(0));
        for (int y = 0; y < 64; ++y)
            for (int x = 1; x < 64; ++x) c.Set(x, y, {x * 4.0f, y * 4.0f, (x + y) * 2.0f});
        const IndexedPicture p = Quantizer::Quantize(c, bpp, 0);
        EXPECT_LE(p.palette.size(), static_cast<size_t>(1 << bpp));
        std::set<uint8_t> used(p.pixels.begin(), p.pixels.end());
        EXPECT_GT(used.size(), static_cast<size_t>((1 << bpp) / 2));
        for (int y = 0; y < 64; ++y) {
            EXPECT_EQ(p.Color(0, y), 0u);
            for (int x = 1; x < 64; ++x) {
                if (c.Packed(x, y) == 0) continue;
                ASSERT_NE(p.pixels[static_cast<size_t>(y) * 64 + x], 0) << x << "," << y;
            }
        }
    }
}

}  // namespace
}  // namespace artgen
