#pragma once

#include <cstdint>

#include "common/Arena.h"

namespace qx {

// The x that marks a shot slot as free.
constexpr int32_t kInactiveShotX = 700;

// One projectile slot of a ship. A slot is free exactly when x is 700; a
// freed slot keeps its other fields until the next launch overwrites them.
struct Shot {
    int32_t x = kInactiveShotX;
    int32_t y = 0;
    int32_t prevX = 0;  // where the shot was last drawn
    int32_t prevY = 0;
    int32_t dx = 0;
    int32_t dy = 0;
    int32_t width = 0;
    int32_t height = 0;
    int32_t spriteIndex = 0;  // column of the image in the ship's shot table
    int32_t maskIndex = 0;
    int32_t damageX = 0;
    int32_t damageY = 0;

    bool IsActive() const { return x != kInactiveShotX; }
    bool operator==(const Shot&) const = default;
};

// The arena box a shot is drawn in: its picture with a margin of 2, grown
// back along its step when it has moved since it was last drawn.
Box ShotBox(const Shot& shot);

}  // namespace qx
