#include "common/ArenaToClient.h"

#include <gtest/gtest.h>

namespace qx {
namespace {

Rect Client(int32_t w, int32_t h) {
    return {0, 0, w, h};
}

TEST(ArenaToClient, ScalesOriginAndSizeSeparately) {
    EXPECT_EQ(ArenaToClient({35, 25, 68, 39}, Client(300, 200)), (Box{17, 12, 34, 19}));
    EXPECT_EQ(ArenaToClient({35, 25, 68, 39}, Client(600, 400)), (Box{35, 25, 68, 39}));
    EXPECT_EQ(ArenaToClient({136, 181, 68, 39}, Client(1200, 800)), (Box{272, 362, 136, 78}));
    // Meteor erase box (87, 187, 26, 26) in an 800 x 600 client.
    EXPECT_EQ(ArenaToClient({87, 187, 26, 26}, Client(800, 600)), (Box{116, 280, 34, 39}));
}

TEST(ArenaToClient, TruncatesTowardZero) {
    EXPECT_EQ(ArenaToClientX(-5, Client(800, 600)), -6);
    EXPECT_EQ(ArenaToClientX(-23, Client(700, 400)), -26);  // -26.83
    EXPECT_EQ(ArenaToClientY(-1, Client(600, 399)), 0);
    for (int32_t v : {-600, -1, 0, 1, 599, 600, 12345})
        EXPECT_EQ(ArenaToClientX(v, Client(600, 400)), v);
}

}  // namespace
}  // namespace qx
