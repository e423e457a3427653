#include "gfx/Surface.h"

#include <gtest/gtest.h>

#include <climits>

namespace qx {
namespace {

TEST(Surface, SizesBelowZeroBecomeZero) {
    for (const auto& [w, h] : {std::pair{-1, 5}, {5, -1}, {INT_MIN, INT_MIN}, {0, 0}}) {
        Surface s(w, h, 7);
        EXPECT_TRUE(s.Empty());
        EXPECT_GE(s.Width(), 0);
        EXPECT_GE(s.Height(), 0);
        EXPECT_EQ(s.Pixel(0, 0), 0u);
        s.SetPixel(0, 0, 1);  // ignored, nothing to write to
    }
    EXPECT_TRUE(Surface().Empty());
}

TEST(Surface, RowsAreContiguousWithStrideEqualToWidth) {
    Surface s(3, 2, 0x112233);
    EXPECT_EQ(s.Pixel(2, 1), 0x112233u);
    s.SetPixel(1, 1, 0xABCDEF);
    EXPECT_EQ(s.Data()[1 * 3 + 1], 0xFFABCDEFu);
    EXPECT_EQ(s.Row(1), s.Data() + 3);
    s.Fill(5);
    EXPECT_EQ(s.Pixel(1, 1), 5u);
    s.Reset(4, 1, 9);
    EXPECT_EQ(s.Width(), 4);
    EXPECT_EQ(s.Height(), 1);
    EXPECT_EQ(s, Surface(4, 1, 9));
}

TEST(Surface, OutsideReadsBlackAndIgnoresWrites) {
    Surface s(4, 3, 0xFFFFFF);
    const Surface before = s;
    const int outside[][2] = {{-1, 0},     {0, -1}, {4, 0}, {0, 3}, {4, 3}, {INT_MIN, INT_MAX},
                              {INT_MAX, 1}};
    for (const auto& p : outside) {
        EXPECT_EQ(s.Pixel(p[0], p[1]), 0u);
        s.SetPixel(p[0], p[1], 0x123456);
    }
    EXPECT_EQ(s, before);
    EXPECT_EQ(s.Pixel(3, 2), 0xFFFFFFu);
}

}  // namespace
}  // namespace qx
