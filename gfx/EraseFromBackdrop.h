#pragma once

#include <cstdint>

#include "common/Arena.h"
#include "gfx/PaddedBackdrop.h"
#include "gfx/Surface.h"

namespace qx {

// The arena rectangle that erasing a w x h sprite centred at (x, y) restores:
// the sprite's rectangle with a margin of 3 units on every side.
Box EraseBox(int32_t x, int32_t y, int32_t w, int32_t h);

// Paints the backdrop over the arena rectangle `box`, scaled onto the client
// area.
void EraseFromBackdrop(Surface& dc, Rect clientRect, const PaddedBackdrop& backdrop,
                       const Box& box);

}  // namespace qx
