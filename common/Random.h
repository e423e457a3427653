#pragma once

#include <cstdint>

// The game's one source of chance: the classic linear congruential generator
// (state * 214013 + 2531011, value = bits 16..30 of the state). Runs depend on
// its exact sequence (the first meteor of every run comes from state 1), so it
// must never be swapped for another generator. It is a plain value: the game's
// state carries its own generator, so a copy of the state replays the same
// draws.
namespace qx {

class Random {
  public:
    // A program starts with the state 1.
    static constexpr uint32_t kStartState = 1;

    Random() = default;
    explicit Random(uint32_t state) : state_(state) {}

    // Draws one value from 0 to 32767.
    int RandomNext();

    // Draws exactly one value and maps it to 0..n-1 by buckets of width
    // 32767 / n; the last bucket also takes the remainder up to 32767. n must
    // be at least 1.
    int RandomBelow(int n);

    void Seed(uint32_t state) { state_ = state; }
    uint32_t State() const { return state_; }

    bool operator==(const Random&) const = default;

  private:
    uint32_t state_ = kStartState;
};

}  // namespace qx
