#pragma once

#include "gfx/Surface.h"

// Draws a sprite the way the game does: AND its mask into the destination,
// then OR its image. A mask smaller than its image (the 50 x 20 all-white one
// under a 50 x 21 frame) leaves the rows it lacks untouched, as the game pads
// such masks with white.
namespace artgen {

class SpriteComposer {
  public:
    static void Compose(qx::Surface& dst, int x, int y, const qx::Surface& image,
                        const qx::Surface& mask);
    // A box of backdrop around a sprite centred at (cx, cy) (sprite top-left
    // at cx - w/2, cy - h/2) with `margin` on every side, sprite composed in.
    static qx::Surface Box(const qx::Surface& backdrop, int cx, int cy, int margin,
                           const qx::Surface& image, const qx::Surface& mask);
};

}  // namespace artgen
