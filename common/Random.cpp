#include "common/Random.h"

namespace qx {

int Random::RandomNext() {
    state_ = state_ * 214013u + 2531011u;
    return static_cast<int>((state_ >> 16) & 0x7FFFu);
}

int Random::RandomBelow(int n) {
    const int r = RandomNext();
    if (n <= 1) return 0;
    const int step = 32767 / n;
    if (step == 0) return n - 1;  // n above 32767: every draw is in the last bucket
    // r < (i + 1) * step for the smallest i <= n - 2, else the last bucket.
    const int bucket = r / step;
    return bucket < n - 1 ? bucket : n - 1;
}

}  // namespace qx
