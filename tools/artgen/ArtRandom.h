#pragma once

#include <cstdint>

// The generator's own pseudo-random numbers (xorshift64*), seeded with fixed
// values so every run paints the same pictures. It is deliberately separate
// from the game's generator, whose sequence the game itself depends on.
namespace artgen {

class ArtRandom {
  public:
    explicit ArtRandom(uint64_t seed);

    uint32_t Next();
    // 0 .. n-1 (n >= 1).
    int Below(int n);
    // lo .. hi inclusive.
    int Between(int lo, int hi);
    // 0 .. 1.
    float Unit();
    // lo .. hi.
    float Range(float lo, float hi);

  private:
    uint64_t state_;
};

}  // namespace artgen
