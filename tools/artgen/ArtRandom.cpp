#include "ArtRandom.h"

namespace artgen {

ArtRandom::ArtRandom(uint64_t seed) : state_(seed * 0x9E3779B97F4A7C15ull + 0x2545F4914F6CDD1Dull) {
    if (state_ == 0) state_ = 1;
    for (int i = 0; i < 4; ++i) Next();
}

uint32_t ArtRandom::Next() {
    state_ ^= state_ >> 12;
    state_ ^= state_ << 25;
    state_ ^= state_ >> 27;
    return static_cast<uint32_t>((state_ * 0x2545F4914F6CDD1Dull) >> 32);
}

int ArtRandom::Below(int n) {
    if (n <= 1) return 0;
    return static_cast<int>(Next() % static_cast<uint32_t>(n));
}

int ArtRandom::Between(int lo, int hi) {
    return lo + Below(hi - lo + 1);
}

float ArtRandom::Unit() {
    return static_cast<float>(Next() >> 8) / 16777215.0f;
}

float ArtRandom::Range(float lo, float hi) {
    return lo + (hi - lo) * Unit();
}

}  // namespace artgen
