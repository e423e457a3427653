#pragma once

// Helpers for putting a ship into an exact situation.
#include <cstdint>

#include "common/Random.h"
#include "ships/Ship.h"

namespace qx::test {

// A place for the other ship far enough away never to block or be hit.
constexpr int32_t kFarX = 560;
constexpr int32_t kFarY = 60;

// A ship ready for play (work surface made, reset) flown by a person.
inline void Prepare(Ship& ship) {
    ship.CreateWorkBitmap();
    ship.Reset();
    ship.computer = false;
}

// Puts the ship at (x, y) with its target on the spot, so it stands still.
inline void Park(Ship& ship, int32_t x, int32_t y) {
    ship.x = ship.targetX = x;
    ship.y = ship.targetY = y;
}

// A shot with explicit values; prevX/prevY as if drawn where it is now.
inline Shot MakeShot(int32_t x, int32_t y, int32_t dx, int32_t dy, int32_t width, int32_t height,
                     int32_t damageX, int32_t damageY) {
    Shot s;
    s.x = s.prevX = x;
    s.y = s.prevY = y;
    s.dx = dx;
    s.dy = dy;
    s.width = width;
    s.height = height;
    s.damageX = damageX;
    s.damageY = damageY;
    return s;
}

// The three kinds of shot as the weapons fill them.
inline Shot ForwardShot(int32_t x, int32_t y, int32_t dx = 10) {
    Shot s = MakeShot(x, y, dx, 0, 20, 10, 75, 25);
    s.spriteIndex = 0;
    s.maskIndex = 1;
    return s;
}

inline Shot UpwardShot(int32_t x, int32_t y) {
    Shot s = MakeShot(x, y, 0, -10, 20, 20, 40, 40);
    s.spriteIndex = 2;
    s.maskIndex = 3;
    return s;
}

inline Shot DownwardShot(int32_t x, int32_t y) {
    Shot s = MakeShot(x, y, 0, 10, 20, 10, 45, 35);
    s.spriteIndex = 4;
    s.maskIndex = 5;
    return s;
}

inline int ActiveShots(const Ship& ship) {
    int n = 0;
    for (const Shot& s : ship.shots) n += s.IsActive();
    return n;
}

// The generator's state after `draws` further draws from `from`, leaving the
// generator itself where it was.
inline uint32_t StateAfterDraws(uint32_t from, int draws) {
    const uint32_t saved = RandomState();
    RandomSeed(from);
    for (int i = 0; i < draws; ++i) RandomNext();
    const uint32_t result = RandomState();
    RandomSeed(saved);
    return result;
}

}  // namespace qx::test
