#pragma once

#include <cstdint>

// The game's one source of chance: the classic linear congruential generator
// (state * 214013 + 2531011, value = bits 16..30 of the state). Runs depend on
// its exact sequence (the first meteor of every run comes from seed 1), so it
// must never be swapped for another generator.
namespace qx {

// Draws one value from 0 to 32767.
int RandomNext();

// Sets the generator's state (the state is 1 when the program starts).
void RandomSeed(uint32_t seed);

// The current 32-bit state, for traces and tests.
uint32_t RandomState();

// Draws exactly one value and maps it to 0..n-1 by buckets of width 32767 / n;
// the last bucket also takes the remainder up to 32767. n must be at least 1.
int RandomBelow(int n);

}  // namespace qx
