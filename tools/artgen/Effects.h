#pragma once

#include <cstdint>

#include "Canvas.h"
#include "Shape.h"

// Fire, lightning and sparks, painted over sprites. A clip shape, when given,
// limits the effect to its pixels (a hit mark stays on the hull).
namespace artgen {

class Effects {
  public:
    // Colour of fire at heat 0 (dull red) to 1 (white hot).
    static Rgb Fire(float heat);
    // A star-shaped burst of flame with a scorched rim.
    static void Burst(Canvas& canvas, const Shape* clip, float cx, float cy, float radius,
                      uint32_t seed);
    // A jagged bolt from (x0, y0) to (x1, y1) with a white core and a glow of
    // `glow`; `branches` forks leave it on the way.
    static void Lightning(Canvas& canvas, const Shape* clip, float x0, float y0, float x1, float y1,
                          Rgb glow, int branches, uint32_t seed);
    // A glowing point: a bright centre and a faint halo around it.
    static void Spark(Canvas& canvas, const Shape* clip, int x, int y, Rgb color, float halo);
};

}  // namespace artgen
