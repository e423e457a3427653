#include <gtest/gtest.h>

#include "gfx/DirtyRegion.h"

using qx::Box;
using qx::DirtyRegion;

TEST(DirtyRegion, MergesOverlappingBoxesAndKeepsDistantOnesApart) {
    // A sprite erased, masked and drawn in the same box, a step further; a
    // shot far away.
    const std::vector<Box> writes{
        {10, 10, 20, 20}, {10, 10, 20, 20}, {12, 10, 20, 20}, {300, 200, 4, 2}};
    const std::vector<Box> region = DirtyRegion::Merge(writes, 600, 400);
    EXPECT_EQ(region, (std::vector<Box>{{10, 10, 22, 20}, {300, 200, 4, 2}}));
}

TEST(DirtyRegion, ClipsToTheScreenAndDropsEmptyBoxes) {
    const std::vector<Box> writes{
        {-5, -5, 10, 10}, {590, 395, 50, 50}, {700, 0, 5, 5}, {0, 0, 0, 9}};
    EXPECT_EQ(DirtyRegion::Merge(writes, 600, 400),
              (std::vector<Box>{{0, 0, 5, 5}, {590, 395, 10, 5}}));
    EXPECT_TRUE(DirtyRegion::Merge(writes, 0, 0).empty());
}

TEST(DirtyRegion, ManyBoxesBecomeTheirBoundingBox) {
    std::vector<Box> writes;
    for (int i = 0; i <= static_cast<int>(DirtyRegion::kMaxBoxes); ++i) {
        writes.push_back({i * 8, i * 4, 2, 2});
    }
    const int last = static_cast<int>(DirtyRegion::kMaxBoxes);
    EXPECT_EQ(DirtyRegion::Merge(writes, 1000, 1000),
              (std::vector<Box>{{0, 0, last * 8 + 2, last * 4 + 2}}));
}
