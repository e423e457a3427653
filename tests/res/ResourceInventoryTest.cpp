// The compiled-in pictures against the inventory: every picture is there,
// decodes, has its stated size and depth and follows the image/mask rules
// that make sprites draw cleanly over the backdrop.
#include <gtest/gtest.h>

#include <algorithm>
#include <span>
#include <string>

#include "ResourceTestSupport.h"
#include "gfx/PictureCatalogue.h"

namespace qx {
namespace {

using restest::Decode;

uint32_t ImageBackground(int bitsPerPixel) {
    return bitsPerPixel == 8 ? kImageBackground8 : kImageBackground4;
}

std::span<const uint8_t> Bytes(ResourceKind kind, int id) {
    return FindResource(kind, id);
}

uint32_t Read32(std::span<const uint8_t> b, size_t at) {
    return b[at] | (b[at + 1] << 8) | (b[at + 2] << 16) | (static_cast<uint32_t>(b[at + 3]) << 24);
}

TEST(ResourceInventory, EveryPictureIsCompiledInWithItsSizeAndDepth) {
    for (bool icons : {false, true}) {
        const ResourceKind kind = icons ? ResourceKind::Icon : ResourceKind::Bitmap;
        for (const PictureEntry& entry : icons ? IconInventory() : BitmapInventory()) {
            SCOPED_TRACE((icons ? "icon " : "bitmap ") + std::to_string(entry.id));
            const DecodedBitmap d = Decode(kind, entry.id);
            ASSERT_TRUE(d.ok) << d.error;
            EXPECT_EQ(d.surface.Width(), entry.width);
            EXPECT_EQ(d.surface.Height(), entry.height);
            EXPECT_EQ(d.bitsPerPixel, entry.bitsPerPixel);
        }
    }
}

TEST(ResourceInventory, FilesAreBottomUpUncompressedWithAColourTable) {
    for (const PictureEntry& entry : BitmapInventory()) {
        SCOPED_TRACE(entry.id);
        const auto b = Bytes(ResourceKind::Bitmap, entry.id);
        ASSERT_GE(b.size(), 54u);
        EXPECT_EQ(b[0], 'B');
        EXPECT_EQ(b[1], 'M');
        EXPECT_EQ(Read32(b, 2), b.size());
        EXPECT_EQ(Read32(b, 14), 40u);                                 // BITMAPINFOHEADER
        EXPECT_EQ(static_cast<int32_t>(Read32(b, 22)), entry.height);  // positive: bottom-up
        EXPECT_EQ(Read32(b, 30), 0u);                                  // BI_RGB
        EXPECT_GT(Read32(b, 10), 54u);  // a colour table follows the header
    }
}

TEST(ResourceInventory, MasksArePureBlackAndWhite) {
    for (const PictureEntry& entry : BitmapInventory()) {
        if (entry.role != PictureRole::Mask) continue;
        SCOPED_TRACE(entry.id);
        const DecodedBitmap d = Decode(ResourceKind::Bitmap, entry.id);
        ASSERT_TRUE(d.ok);
        for (int y = 0; y < d.surface.Height(); ++y)
            for (int x = 0; x < d.surface.Width(); ++x) {
                const uint32_t p = d.surface.Pixel(x, y);
                ASSERT_TRUE(p == 0 || p == 0xFFFFFF) << x << "," << y;
            }
    }
    const DecodedBitmap clear = Decode(ResourceKind::Bitmap, 162);
    ASSERT_TRUE(clear.ok);
    EXPECT_EQ(restest::CountBlack(clear.surface), 0) << "162 is wholly transparent";
}

TEST(ResourceInventory, SpriteImagesHaveTheDarkBackgroundInEveryCorner) {
    for (const PictureEntry& entry : BitmapInventory()) {
        if (entry.role != PictureRole::Image) continue;
        SCOPED_TRACE(entry.id);
        const DecodedBitmap d = Decode(ResourceKind::Bitmap, entry.id);
        ASSERT_TRUE(d.ok);
        const Surface& s = d.surface;
        const uint32_t bg = ImageBackground(entry.bitsPerPixel);
        EXPECT_EQ(s.Pixel(0, 0), bg);
        EXPECT_EQ(s.Pixel(s.Width() - 1, 0), bg);
        EXPECT_EQ(s.Pixel(0, s.Height() - 1), bg);
        EXPECT_EQ(s.Pixel(s.Width() - 1, s.Height() - 1), bg);
    }
    for (const PictureEntry& entry : IconInventory()) {
        const DecodedBitmap d = Decode(ResourceKind::Icon, entry.id);
        ASSERT_TRUE(d.ok);
        EXPECT_EQ(d.surface.Pixel(0, 0), 0u) << "icons are drawn on black";
    }
}

// Where a mask is white the image is ORed onto the backdrop, so anything but
// the background there would tint the scene around the sprite; where the
// mask is black the image must have its shape, or the hole shows dark.
TEST(ResourceInventory, ImagesLieWithinTheBlackOfTheirMasks) {
    for (const auto& [imageId, maskId] : restest::DrawnPairs()) {
        SCOPED_TRACE(std::to_string(imageId) + " over " + std::to_string(maskId));
        const DecodedBitmap image = Decode(ResourceKind::Bitmap, imageId);
        const DecodedBitmap mask = Decode(ResourceKind::Bitmap, maskId);
        ASSERT_TRUE(image.ok && mask.ok);
        ASSERT_EQ(image.surface.Width(), mask.surface.Width());
        ASSERT_EQ(image.surface.Height(), mask.surface.Height());
        const uint32_t bg = ImageBackground(image.bitsPerPixel);
        int outside = 0;
        for (int y = 0; y < image.surface.Height(); ++y)
            for (int x = 0; x < image.surface.Width(); ++x)
                if (image.surface.Pixel(x, y) != bg && mask.surface.Pixel(x, y) != 0) ++outside;
        EXPECT_EQ(outside, 0);
    }
}

TEST(ResourceInventory, EmptyExplosionFramesShowNothing) {
    for (int id : {144, 151}) {
        const DecodedBitmap d = Decode(ResourceKind::Bitmap, id);
        ASSERT_TRUE(d.ok);
        for (int y = 0; y < d.surface.Height(); ++y)
            for (int x = 0; x < d.surface.Width(); ++x)
                ASSERT_EQ(d.surface.Pixel(x, y), kImageBackground8) << id;
    }
}

TEST(ResourceInventory, BackdropTopStripIsDarkSkyUnderTheGauges) {
    const DecodedBitmap d = Decode(ResourceKind::Bitmap, 127);
    ASSERT_TRUE(d.ok);
    for (int y = 0; y < 20; ++y)
        for (int x = 0; x < 600; ++x) {
            const uint32_t p = d.surface.Pixel(x, y);
            const int brightest = std::max({p >> 16, (p >> 8) & 0xFF, p & 0xFF});
            ASSERT_LE(brightest, 64) << x << "," << y;
        }
}

}  // namespace
}  // namespace qx
