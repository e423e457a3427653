#include <gtest/gtest.h>

#include "app/DesktopIcon.h"
#include "gfx/ResourceLibrary.h"

TEST(DesktopIcon, BlackAroundThePictureTurnsTransparentAndBlackInsideStays) {
    // A white ring on black with a black centre.
    qx::Surface art(5, 5, 0);
    for (int i = 1; i <= 3; ++i) {
        for (int j : {1, 3}) art.SetPixel(i, j, 0xFFFFFF), art.SetPixel(j, i, 0xFFFFFF);
    }
    const QImage cutout = DesktopIcon::Cutout(art);
    EXPECT_EQ(qAlpha(cutout.pixel(0, 0)), 0);
    EXPECT_EQ(cutout.pixel(2, 2), 0xFF000000u);
    EXPECT_EQ(cutout.pixel(1, 1), 0xFFFFFFFFu);
    // Doubled, each pixel is a 2 x 2 block; at 1.5 times, blocks are averaged.
    const QImage doubled = DesktopIcon::Render(art, 10);
    EXPECT_EQ(doubled.pixel(4, 5), 0xFF000000u);
    EXPECT_EQ(doubled.pixel(3, 3), 0xFFFFFFFFu);
    const QImage between = DesktopIcon::Render(art, 15);
    ASSERT_EQ(between.size(), QSize(15, 15));
    EXPECT_EQ(qAlpha(between.pixel(0, 0)), 0);
}

// The small sizes come from the 32 px art (the art generator paints the
// large ones); at 32 px the icon is the art itself, pixel for pixel.
TEST(DesktopIcon, TheGamesIconAtEverySmallInstalledSize) {
    const qx::Surface art = qx::LoadIconResource(DesktopIcon::kArtIcon);
    for (int size : DesktopIcon::kSmallSizes) {
        const QImage icon = DesktopIcon::Render(art, size);
        EXPECT_EQ(icon.size(), QSize(size, size));
        EXPECT_EQ(qAlpha(icon.pixel(0, 0)), 0) << size;
        EXPECT_EQ(qAlpha(icon.pixel(size / 2, size / 2)), 255) << size;
    }
    EXPECT_EQ(DesktopIcon::Render(art, 32), DesktopIcon::Cutout(art));
}
