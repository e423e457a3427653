#include <gtest/gtest.h>

#include "gfx/PaddedBackdrop.h"

using namespace qx;

namespace {

// A 3 x 2 picture whose pixels name their own position.
Surface Tiny() {
    Surface s(3, 2);
    for (int y = 0; y < 2; ++y) {
        for (int x = 0; x < 3; ++x) s.SetPixel(x, y, 0x100000u * (y + 1) + 0x10u * (x + 1));
    }
    return s;
}

}  // namespace

TEST(PaddedBackdrop, BoxesPastThePictureRepeatItsEdges) {
    const PaddedBackdrop backdrop(Tiny());
    Surface out(7, 6, 0xABCDEF);
    backdrop.CopyTo(out, 0, 0, {-2, -2, 7, 6});
    // Inside: the picture itself.
    EXPECT_EQ(out.Pixel(2, 2), Tiny().Pixel(0, 0));
    EXPECT_EQ(out.Pixel(4, 3), Tiny().Pixel(2, 1));
    // Outside: the nearest edge pixel, never black.
    EXPECT_EQ(out.Pixel(0, 0), Tiny().Pixel(0, 0));
    EXPECT_EQ(out.Pixel(6, 5), Tiny().Pixel(2, 1));
    EXPECT_EQ(out.Pixel(0, 5), Tiny().Pixel(0, 1));
    EXPECT_EQ(out.Pixel(6, 0), Tiny().Pixel(2, 0));
}

TEST(PaddedBackdrop, StretchOfTheWholePictureIsThePictureScaled) {
    const PaddedBackdrop backdrop(Tiny());
    Surface out(6, 4);
    backdrop.StretchTo(out, 0, 0, 6, 4, {0, 0, 3, 2});
    for (int y = 0; y < 4; ++y) {
        for (int x = 0; x < 6; ++x) EXPECT_EQ(out.Pixel(x, y), Tiny().Pixel(x / 2, y / 2));
    }
}

TEST(PaddedBackdrop, FarBeyondTheMarginStaysInsideMemory) {
    const PaddedBackdrop backdrop(Tiny());
    Surface out(4, 4, 0x123456);
    backdrop.CopyTo(out, 0, 0, {-100000, 100000, 4, 4});  // reads as black, no crash
    EXPECT_EQ(out.Pixel(0, 0), 0u);
    const PaddedBackdrop empty{Surface()};
    empty.CopyTo(out, 0, 0, {0, 0, 4, 4});
    EXPECT_EQ(out.Pixel(3, 3), 0u);
}
