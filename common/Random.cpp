#include "common/Random.h"

namespace qx {
namespace {
uint32_t state = 1;
}

int RandomNext() {
    state = state * 214013u + 2531011u;
    return static_cast<int>((state >> 16) & 0x7FFFu);
}

void RandomSeed(uint32_t seed) {
    state = seed;
}

uint32_t RandomState() {
    return state;
}

int RandomBelow(int n) {
    const int r = RandomNext();
    if (n <= 1) return 0;
    const int step = 32767 / n;
    if (step == 0) return n - 1;  // n above 32767: every draw is in the last bucket
    // r < (i + 1) * step for the smallest i <= n - 2, else the last bucket.
    const int bucket = r / step;
    return bucket < n - 1 ? bucket : n - 1;
}

}  // namespace qx
