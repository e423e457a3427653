#include "gfx/BitmapDecoder.h"

#include <gtest/gtest.h>

#include <climits>
#include <functional>

#include "tests/gfx/BmpFixture.h"

namespace qx {
namespace {

using bmp::BmpSpec;
using bmp::MakeBmp;

DecodedBitmap Decode(const std::vector<uint8_t>& bytes) {
    return DecodeBitmap(bytes.data(), bytes.size());
}

Surface Expected(int w, int h, const std::vector<uint32_t>& colours) {
    Surface s(w, h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) s.SetPixel(x, y, colours[static_cast<size_t>(y * w + x)]);
    return s;
}

std::vector<uint32_t> Lookup(const std::vector<uint32_t>& palette,
                             const std::vector<uint32_t>& indices) {
    std::vector<uint32_t> out;
    for (uint32_t i : indices) out.push_back(palette[i]);
    return out;
}

// A 10 x 3 one-bit mask (rows of 2 bytes padded to 4) with the table [black, white].
BmpSpec Mask() {
    return bmp::Layout(10, 3, 1, {0x000000, 0xFFFFFF}, {1, 1, 1, 1, 1, 1, 1, 1, 1, 1,  //
                                                        1, 0, 0, 0, 0, 0, 0, 0, 0, 1,  //
                                                        0, 1, 0, 1, 0, 1, 0, 1, 0, 1});
}

TEST(BitmapDecoder, DecodesIndexedDepthsBothRowOrdersAndBothContainers) {
    std::vector<uint32_t> palette16;
    for (uint32_t i = 0; i < 16; ++i) palette16.push_back(i * 0x110000 + 0x000102 * i);
    const std::vector<uint32_t> palette3 = {0x040404, 0xFF0000, 0x00FF80};
    std::vector<BmpSpec> specs = {
        Mask(),
        bmp::Layout(5, 2, 4, palette16, {0, 15, 7, 8, 1, 2, 3, 4, 5, 6}),
        bmp::Layout(3, 2, 8, palette3, {0, 1, 2, 2, 1, 0}, 3),
    };
    for (const BmpSpec& base : specs) {
        const Surface want = Expected(base.width, base.height, Lookup(base.palette, base.pixels));
        for (int variant = 0; variant < 8; ++variant) {
            BmpSpec s = base;
            if (variant & 1) s.height = -s.height;
            if (variant & 2) s.fileHeader = false;
            if (variant & 4) s.headerSize = 124;
            SCOPED_TRACE(testing::Message() << base.bitsPerPixel << " bpp, variant " << variant);
            const DecodedBitmap d = Decode(MakeBmp(s));
            ASSERT_TRUE(d.ok) << d.error;
            EXPECT_TRUE(d.error.empty());
            EXPECT_EQ(d.bitsPerPixel, base.bitsPerPixel);
            EXPECT_EQ(d.surface, want);
        }
    }
}

TEST(BitmapDecoder, DecodesDirectColourAndHonoursThePixelOffset) {
    const std::vector<uint32_t> colours = {0x123456, 0xABCDEF, 0x000000,
                                           0xFFFFFF, 0x808080, 0x010203};
    for (uint16_t bits : {24, 32}) {
        const DecodedBitmap d = Decode(MakeBmp(bmp::Layout(3, 2, bits, {}, colours)));
        ASSERT_TRUE(d.ok) << d.error;
        EXPECT_EQ(d.bitsPerPixel, bits);
        EXPECT_EQ(d.surface, Expected(3, 2, colours));
    }
    // A gap before the pixel data, and bytes after it, are allowed in a file.
    std::vector<uint8_t> bytes = MakeBmp(Mask());
    bytes.insert(bytes.begin() + bmp::kPalette + 8, 6, 0xEE);
    bytes.insert(bytes.end(), 5, 0xEE);
    bmp::Put32(bytes, bmp::kOffBits, bmp::kPalette + 8 + 6);
    const DecodedBitmap d = Decode(bytes);
    ASSERT_TRUE(d.ok) << d.error;
    EXPECT_EQ(d.surface, Decode(MakeBmp(Mask())).surface);
}

TEST(BitmapDecoder, RejectsMalformedHeaders) {
    using Edit = std::function<void(std::vector<uint8_t>&)>;
    auto put32 = [](size_t at, uint32_t v) -> Edit {
        return [=](std::vector<uint8_t>& b) { bmp::Put32(b, at, v); };
    };
    auto put16 = [](size_t at, uint32_t v) -> Edit {
        return [=](std::vector<uint8_t>& b) { bmp::Put16(b, at, v); };
    };
    auto cut = [](size_t n) -> Edit { return [=](std::vector<uint8_t>& b) { b.resize(n); }; };
    const struct {
        Edit edit;
        const char* error;
    } cases[] = {
        {cut(0), "truncated bitmap header"},
        {cut(2), "truncated file header"},
        {cut(12), "truncated file header"},
        {cut(40), "truncated bitmap header"},
        {put32(bmp::kInfo, 12), "header size 12"},
        {put32(bmp::kInfo, 0xFFFFFFFF), "header size"},
        {put32(bmp::kWidth, 0), "width 0 is not positive"},
        {put32(bmp::kWidth, 0x80000000u), "is not positive"},
        {put32(bmp::kHeight, 0), "height is zero"},
        {put32(bmp::kHeight, 0x80000000u), "height -2147483648 is invalid"},
        {put32(bmp::kWidth, 16385), "too large"},
        {put32(bmp::kHeight, static_cast<uint32_t>(-16385)), "too large"},
        {[](auto& b) {
             bmp::Put32(b, bmp::kWidth, 16384);
             bmp::Put32(b, bmp::kHeight, 16384);
         },
         "too large"},
        {put32(bmp::kWidth, 10000), "truncated pixel data"},
        {put16(bmp::kPlanes, 2), "plane count 2"},
        {put16(bmp::kBitCount, 16), "depth of 16"},
        {put16(bmp::kBitCount, 0), "depth of 0"},
        {put32(bmp::kCompression, 1), "compression 1"},
        {put32(bmp::kCompression, 3), "compression 3"},
        {put32(bmp::kClrUsed, 3), "colour table of 3 entries is larger than 2"},
        {put32(bmp::kClrUsed, 0xFFFFFFFF), "larger than 2"},
        {cut(bmp::kPalette + 4), "truncated colour table"},
        {put32(bmp::kOffBits, 20), "lies inside the headers"},
        {put32(bmp::kOffBits, 100), "past the end"},
        {put32(bmp::kOffBits, 0xFFFFFFFF), "past the end"},
        {[](auto& b) { b.pop_back(); }, "truncated pixel data: 12 bytes needed, 11 present"},
    };
    for (const auto& c : cases) {
        std::vector<uint8_t> bytes = MakeBmp(Mask());
        c.edit(bytes);
        const DecodedBitmap d = Decode(bytes);
        EXPECT_FALSE(d.ok) << c.error;
        EXPECT_NE(d.error.find(c.error), std::string::npos) << d.error << " / " << c.error;
        EXPECT_TRUE(d.surface.Empty());
        EXPECT_EQ(d.bitsPerPixel, 0);
    }
}

TEST(BitmapDecoder, RejectsPaletteIndicesPastAShortTable) {
    const DecodedBitmap d8 = Decode(MakeBmp(bmp::Layout(3, 1, 8, {1, 2}, {0, 1, 2}, 2)));
    EXPECT_FALSE(d8.ok);
    EXPECT_EQ(d8.error, "palette index 2 is past the 2-entry colour table");
    const DecodedBitmap d4 = Decode(MakeBmp(bmp::Layout(2, -2, 4, {1, 2, 3}, {0, 1, 2, 15}, 3)));
    EXPECT_FALSE(d4.ok);
    EXPECT_EQ(d4.error, "palette index 15 is past the 3-entry colour table");
}

TEST(BitmapDecoder, EveryTruncationFailsCleanly) {
    for (bool file : {true, false}) {
        BmpSpec s = Mask();
        s.fileHeader = file;
        const std::vector<uint8_t> bytes = MakeBmp(s);
        for (size_t n = 0; n < bytes.size(); ++n) {
            // A copy of exactly n bytes, so a sanitizer sees any read past them.
            const std::vector<uint8_t> prefix(bytes.begin(),
                                              bytes.begin() + static_cast<ptrdiff_t>(n));
            const DecodedBitmap d = DecodeBitmap(prefix.data(), prefix.size());
            EXPECT_FALSE(d.ok) << n;
            EXPECT_FALSE(d.error.empty()) << n;
        }
    }
    EXPECT_FALSE(DecodeBitmap(nullptr, 100).ok);
}

}  // namespace
}  // namespace qx
