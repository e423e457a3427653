#include <gtest/gtest.h>

#include "gfx/Blit.h"

using namespace qx;

TEST(SurfaceWrites, RasterOperationsNoteTheClippedRectangleTheyWrote) {
    Surface dst(100, 50);
    const Surface src(20, 20, 0xFFFFFF);
    Blit(dst, 5, 5, 10, 10, src, 0, 0, RasterOp::Copy);
    EXPECT_TRUE(dst.TakeWrites().empty());  // not tracking yet

    dst.TrackWrites(true);
    Blit(dst, -5, 40, 20, 20, src, 0, 0, RasterOp::Or);
    StretchBlit(dst, 90, -10, 40, 40, src, 0, 0, 20, 20);
    Blit(dst, 200, 200, 10, 10, src, 0, 0, RasterOp::Copy);  // wholly outside: nothing
    const std::vector<Box> writes = dst.TakeWrites();
    ASSERT_EQ(writes.size(), 2u);
    EXPECT_EQ(writes[0], (Box{0, 40, 15, 10}));
    EXPECT_EQ(writes[1], (Box{90, 0, 10, 30}));
    EXPECT_TRUE(dst.TakeWrites().empty());  // taken
}

TEST(SurfaceWrites, ManySmallWritesAreMergedIntoTheirBoundingBox) {
    Surface dst(400, 400);
    dst.TrackWrites(true);
    const Surface src(1, 1, 0x123456);
    for (int i = 0; i < 65; ++i) Blit(dst, i * 5, i, 1, 1, src, 0, 0, RasterOp::Copy);
    const std::vector<Box> writes = dst.TakeWrites();
    ASSERT_EQ(writes.size(), 1u);
    EXPECT_EQ(writes[0], (Box{0, 0, 64 * 5 + 1, 65}));
    // Tracking does not make two surfaces with the same pixels differ.
    Surface other(400, 400);
    for (int i = 0; i < 65; ++i) Blit(other, i * 5, i, 1, 1, src, 0, 0, RasterOp::Copy);
    EXPECT_EQ(dst, other);
}
