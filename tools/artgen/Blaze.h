#pragma once

#include <cstdint>

#include "Canvas.h"
#include "Shape.h"

// The stages of a ship burning up: a hull catching fire from one point,
// flames licking up from it, a fireball, a fireball burning out from the
// centre and embers flying apart.
namespace artgen {

class Blaze {
  public:
    // Sets fire to the hull around (fx, fy): pixels within `reach` burn,
    // those just beyond it are scorched. Returns nothing; paints in place.
    static void BurnHull(Canvas& canvas, const Shape& hull, float fx, float fy, float reach,
                         uint32_t seed);
    // Flames rising up to `height` pixels above every burning top edge of the
    // hull (burning = within `reach` of (fx, fy)); they lie outside the hull.
    static void Tongues(Canvas& canvas, const Shape& hull, float fx, float fy, float reach,
                        int height, uint32_t seed);
    // An elliptic fireball. hollow = 0 is solid and hottest in the middle;
    // hollow near 1 leaves a thin burning ring around a burnt-out centre.
    static void Ball(Canvas& canvas, float cx, float cy, float rx, float ry, float hollow,
                     float strength, uint32_t seed);
    // Dark smoke over the given pixels that lie inside the ellipse.
    static void Smoke(Canvas& canvas, const Shape& where, float cx, float cy, float rx, float ry,
                      uint32_t seed);
    // `count` embers thrown out from (cx, cy) to a distance of up to `spread`
    // (relative to rx, ry); `heat` 0..1 sets how bright they still are.
    static void Embers(Canvas& canvas, float cx, float cy, float rx, float ry, int count,
                       float spread, float heat, uint32_t seed);
};

}  // namespace artgen
