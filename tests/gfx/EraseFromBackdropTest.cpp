// EraseFromBackdrop: the sprite's rectangle with a margin of 3, restored from
// the backdrop and scaled onto the client area.
#include <gtest/gtest.h>

#include "gfx/EraseFromBackdrop.h"
#include "tests/gfx/PixelProbe.h"

namespace qx {
namespace {

TEST(EraseBox, AddsAMarginOfThreeAroundTheSprite) {
    EXPECT_EQ(EraseBox(100, 200, 20, 20), (Box{87, 187, 26, 26}));
    EXPECT_EQ(EraseBox(300, 100, 20, 10), (Box{287, 92, 26, 16}));
    EXPECT_EQ(EraseBox(100, 200, 21, 21), (Box{87, 187, 27, 27}));
    EXPECT_EQ(EraseBox(-10, 200, 20, 20), (Box{-23, 187, 26, 26}));
}

TEST(EraseFromBackdrop, RestoresOneToOneAt600x400) {
    const Surface backdrop = test::PositionBackdrop();
    Surface screen(600, 400, test::kMarker);
    EraseFromBackdrop(screen, test::ClientOf(600, 400), backdrop, EraseBox(300, 100, 20, 10));
    EXPECT_EQ(test::ChangedBounds(screen), (Box{287, 92, 26, 16}));
    EXPECT_TRUE(test::ShowsBackdrop(screen, backdrop, {287, 92, 26, 16}));
    EXPECT_EQ(test::CountChanged(screen), 26 * 16);
}

TEST(EraseFromBackdrop, ScaledOriginAndSizeAt800x600) {
    const Surface backdrop = test::PositionBackdrop();
    Surface screen(800, 600, test::kMarker);
    EraseFromBackdrop(screen, test::ClientOf(800, 600), backdrop, EraseBox(100, 200, 20, 20));
    EXPECT_EQ(test::ChangedBounds(screen), (Box{116, 280, 34, 39}));
    EXPECT_EQ(test::CountChanged(screen), 34 * 39);
    // Only backdrop pixels of the erased rectangle land there.
    for (int y = 280; y < 280 + 39; ++y) {
        for (int x = 116; x < 116 + 34; ++x) {
            const uint32_t p = screen.Pixel(x, y);
            ASSERT_GE(static_cast<int>(p >> 10), 87);
            ASSERT_LT(static_cast<int>(p >> 10), 87 + 26);
            ASSERT_GE(static_cast<int>(p & 1023), 187);
            ASSERT_LT(static_cast<int>(p & 1023), 187 + 26);
        }
    }
}

TEST(EraseFromBackdrop, NegativeOriginTruncatesTowardZero) {
    const Surface backdrop = test::PositionBackdrop();
    Surface screen(700, 400, test::kMarker);
    // L = -23 lands at -26 (not -27) with width 30: columns 0 to 3 change.
    EraseFromBackdrop(screen, test::ClientOf(700, 400), backdrop, EraseBox(-10, 200, 20, 20));
    EXPECT_EQ(test::ChangedBounds(screen), (Box{0, 187, 4, 26}));
}

TEST(EraseFromBackdrop, BeyondTheClientAreaChangesNothing) {
    const Surface backdrop = test::PositionBackdrop();
    Surface screen(600, 400, test::kMarker);
    EraseFromBackdrop(screen, test::ClientOf(600, 400), backdrop, EraseBox(700, 0, 20, 10));
    EraseFromBackdrop(screen, test::ClientOf(600, 400), backdrop, EraseBox(300, 450, 20, 20));
    EXPECT_EQ(test::CountChanged(screen), 0);
}

}  // namespace
}  // namespace qx
