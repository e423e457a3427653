#pragma once

#include "Canvas.h"
#include "Shape.h"

// Shading steps shared by the ship painters: round bodies lit from above,
// darkened silhouettes and seams where one part meets another.
namespace artgen {

class ShipShading {
  public:
    // Shades each column of `region` as a lit cylinder: the top pixel of the
    // column takes stops[0], the bottom one stops[count - 1].
    static void Cylinder(Canvas& canvas, const Shape& region, const Rgb* stops, int count);
    // Same, across rows instead of columns (for parts that run up and down).
    static void CylinderAcross(Canvas& canvas, const Shape& region, const Rgb* stops, int count);
    // Darkens the silhouette's border pixels by factor k, except those in `keep`.
    static void Outline(Canvas& canvas, const Shape& silhouette, const Shape& keep, float k);
    // Darkens the pixels of `lower` whose upper neighbour is in `upper`: the
    // shadow a part casts on the part below it.
    static void SeamBelow(Canvas& canvas, const Shape& lower, const Shape& upper, float k);
    // Multiplies the region's colours by k.
    static void Darken(Canvas& canvas, const Shape& region, float k);
};

}  // namespace artgen
