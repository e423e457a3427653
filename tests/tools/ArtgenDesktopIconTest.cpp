// The large desktop icons: the ship's design painted at each size, with
// smooth edges, not the 32 px art enlarged.
#include <gtest/gtest.h>

#include <png.h>

#include <cmath>

#include "DesktopIcons.h"
#include "IconArt.h"

namespace artgen {
namespace {

uint32_t Alpha(uint32_t argb) {
    return argb >> 24;
}

int ChannelDistance(uint32_t a, uint32_t b) {
    int most = 0;
    for (int shift : {0, 8, 16}) {
        most = std::max(most, std::abs(static_cast<int>((a >> shift) & 0xFF) -
                                       static_cast<int>((b >> shift) & 0xFF)));
    }
    return most;
}

TEST(ArtgenDesktopIcon, EachSizeIsTheSameShipWithSmoothEdges) {
    const Shape design = IconArt::Silhouette(32);
    for (const int size : DesktopIcons::kSizes) {
        const std::vector<uint32_t> icon = IconArt::DesktopShip(size);
        ASSERT_EQ(icon.size(), static_cast<size_t>(size * size));
        const auto at = [&](int x, int y) { return icon[static_cast<size_t>(y) * size + x]; };
        EXPECT_EQ(Alpha(at(0, 0)), 0u) << size;
        EXPECT_EQ(Alpha(at(size - 1, size - 1)), 0u) << size;
        EXPECT_EQ(Alpha(at(size / 2, size / 2)), 255u) << size;
        // Edges are partly covered pixels, not steps of whole pixels.
        int partial = 0;
        for (uint32_t p : icon) partial += Alpha(p) > 0 && Alpha(p) < 255;
        EXPECT_GT(partial, size) << size;
        // Seen at 32 px, the outline is the 32 px icon's.
        const int cell = size / 32;
        int agree = 0;
        for (int y = 0; y < 32; ++y)
            for (int x = 0; x < 32; ++x) {
                uint32_t cover = 0;
                for (int dy = 0; dy < cell; ++dy)
                    for (int dx = 0; dx < cell; ++dx)
                        cover += Alpha(at(x * cell + dx, y * cell + dy));
                agree += (cover >= 128u * cell * cell) == design.At(x, y);
            }
        EXPECT_GE(agree, 32 * 32 * 95 / 100) << size;
    }
}

TEST(ArtgenDesktopIcon, NotThe32PixelArtEnlarged) {
    const Canvas small = IconArt::Ship(32);
    const std::vector<uint32_t> icon = IconArt::DesktopShip(64);
    int opaque = 0, differ = 0;
    for (int y = 0; y < 64; ++y)
        for (int x = 0; x < 64; ++x) {
            const uint32_t p = icon[static_cast<size_t>(y) * 64 + x];
            if (Alpha(p) != 255) continue;
            ++opaque;
            differ += ChannelDistance(p, small.Packed(x / 2, y / 2)) > 12;
        }
    ASSERT_GT(opaque, 1000);
    EXPECT_GT(differ, opaque / 5);
    // The 32 px painting itself is the game's icon, unchanged by the sizes.
    const Canvas again = IconArt::Ship();
    for (int y = 0; y < 32; ++y)
        for (int x = 0; x < 32; ++x) ASSERT_EQ(again.Packed(x, y), small.Packed(x, y));
}

TEST(ArtgenDesktopIcon, WrittenAsPngWithTransparency) {
    const std::vector<uint8_t> png = DesktopIcons::EncodePng(IconArt::DesktopShip(64), 64);
    ASSERT_GT(png.size(), 33u);
    EXPECT_EQ(png_sig_cmp(png.data(), 0, 8), 0);
    EXPECT_EQ(png[24], 8);  // bit depth
    EXPECT_EQ(png[25], PNG_COLOR_TYPE_RGB_ALPHA);
    EXPECT_TRUE(DesktopIcons::EncodePng({1, 2, 3}, 64).empty());
}

}  // namespace
}  // namespace artgen
