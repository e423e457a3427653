#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "Shape.h"

// A small sprite laid out pixel by pixel as named parts: each pixel holds a
// letter (hull, canopy, wing, engine...) or '.' for empty. Painters shade each
// part on its own and the silhouette of all parts becomes the mask.
namespace artgen {

class PartMap {
  public:
    PartMap(int width, int height);

    int Width() const { return width_; }
    int Height() const { return height_; }
    char At(int x, int y) const;
    // Marks pixels x0..x1 (inclusive) of row y as `part`.
    void Paint(int y, int x0, int x1, char part);
    // The pixels of any of the given parts.
    Shape Region(std::string_view parts) const;
    // Every pixel that belongs to some part.
    Shape Silhouette() const;
    PartMap Mirrored() const;
    // One line per row, for looking at a layout while designing it.
    std::string Dump() const;

  private:
    int width_;
    int height_;
    std::vector<char> cells_;
};

}  // namespace artgen
