#pragma once

#include <cstdint>

#include "Canvas.h"
#include "IndexedPicture.h"

// Turns a painted canvas into a palette picture of at most 2^bitsPerPixel
// colours. The background colour always gets index 0 and keeps its exact
// value, so a sprite's surroundings stay exactly 4,4,4 (or black); the other
// colours are reduced by median cut when there are too many.
namespace artgen {

class Quantizer {
  public:
    static IndexedPicture Quantize(const Canvas& canvas, int bitsPerPixel, uint32_t background);
};

}  // namespace artgen
