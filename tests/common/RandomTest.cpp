#include "common/Random.h"

#include <gtest/gtest.h>

namespace qx {
namespace {

// The state whose next draw yields r: the generator step run backwards from
// the state r << 16 (the multiplier is odd, so it has an inverse mod 2^32).
uint32_t StateBefore(int r) {
    uint32_t inverse = 214013u;
    for (int i = 0; i < 5; ++i) inverse *= 2u - 214013u * inverse;
    return ((static_cast<uint32_t>(r) << 16) - 2531011u) * inverse;
}

TEST(Random, ReproducesTheClassicSequence) {
    Random rng;
    EXPECT_EQ(rng.RandomNext(), 41);
    EXPECT_EQ(rng.RandomNext(), 18467);
    EXPECT_EQ(rng.RandomNext(), 6334);
    Random copy = rng;  // a copy draws the same numbers
    EXPECT_EQ(copy.RandomNext(), rng.RandomNext());
    rng.Seed(1);
    rng.RandomNext();
    EXPECT_EQ(rng.State(), 1u * 214013u + 2531011u);
}

TEST(Random, RandomBelowFillsBucketsAndAlwaysDrawsOnce) {
    const struct {
        int n, r, expected;
    } cases[] = {
        {3, 0, 0},     {3, 10921, 0},         {3, 10922, 1},         {3, 21843, 1}, {3, 21844, 2},
        {3, 32767, 2}, {2, 16382, 0},         {2, 16383, 1},         {2, 32767, 1}, {1, 32767, 0},
        {1, 0, 0},     {32767, 32766, 32766}, {32767, 32767, 32766},
    };
    for (const auto& c : cases) {
        const uint32_t state = StateBefore(c.r);
        Random rng(state);
        EXPECT_EQ(rng.RandomBelow(c.n), c.expected) << "n " << c.n << " r " << c.r;
        EXPECT_EQ(rng.State(), state * 214013u + 2531011u);
        rng.Seed(state);
        EXPECT_EQ(rng.RandomNext(), c.r);
    }
}

}  // namespace
}  // namespace qx
