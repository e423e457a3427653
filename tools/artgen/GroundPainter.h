#pragma once

#include "Canvas.h"

// The grey rocky ground along the bottom of the backdrop, with a far range
// of dark hills behind it.
namespace artgen {

class GroundPainter {
  public:
    static void Paint(Canvas& canvas);
    // The first row of ground in column x.
    static int Surface(int x);
};

}  // namespace artgen
